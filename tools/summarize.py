#!/usr/bin/env python3
"""Prints one summary of every test level from the JUnit files that ctest and GoogleTest wrote."""
import glob
import os
import sys
import xml.etree.ElementTree as ET


def junit_cases(path):
    root = ET.parse(path).getroot()
    for case in root.iter('testcase'):
        failed = case.find('failure') is not None or case.find('error') is not None
        skipped = case.find('skipped') is not None or case.get('status') in ('notrun', 'disabled')
        yield case.get('name'), failed, skipped


def gtest_counts(path):
    root = ET.parse(path).getroot()
    tests = int(root.get('tests', 0))
    failures = int(root.get('failures', 0)) + int(root.get('errors', 0))
    skipped = int(root.get('disabled', 0)) + int(root.get('skipped', 0))
    return tests - failures - skipped, failures, skipped


def main(results):
    levels = []  # (name, passed, failed, skipped)
    ok = True
    checks = os.path.join(results, 'checks.txt')
    if os.path.exists(checks):
        lines = open(checks).read().splitlines()
        levels.append(('checks', sum(l.startswith('ok:') for l in lines),
                       sum(l.startswith('FAILED:') for l in lines), 0))
    native = os.path.join(results, 'native.xml')
    if os.path.exists(native):
        cases = list(junit_cases(native))
        levels.append(('native', sum(not f and not s for _, f, s in cases),
                       sum(f for _, f, _ in cases), sum(s for _, _, s in cases)))
    else:
        levels.append(('native', 0, 1, 0))
    win = os.path.join(results, 'win.xml')
    if os.path.exists(win):
        unit = [0, 0, 0]
        e2e = [0, 0, 0]
        for name, failed, skipped in junit_cases(win):
            if name.startswith('e2e_'):
                target = e2e
                target[1 if failed else 2 if skipped else 0] += 1
                continue
            gtest = os.path.join(results, name + '.xml')
            if os.path.exists(gtest):
                p, f, s = gtest_counts(gtest)
                unit[0] += p
                unit[1] += f + (1 if failed and f == 0 else 0)
                unit[2] += s
            else:
                unit[1 if failed else 2 if skipped else 0] += 1
        levels.append(('windows', *unit))
        levels.append(('end-to-end', *e2e))
    else:
        levels.append(('windows', 0, 1, 0))
        levels.append(('end-to-end', 0, 1, 0))
    if os.path.exists(os.path.join(results, 'fuzz.log')):
        text = open(os.path.join(results, 'fuzz.log'), errors='replace').read()
        runs = text.count('fuzz ok:')
        bad = text.count('fuzz FAILED:')
        if runs or bad:
            levels.append(('fuzz', runs, bad, 0))
    print('\nSummary')
    for name, p, f, s in levels:
        print(f'  {name:<11} {p:4d} passed, {f:d} failed' + (f', {s} skipped' if s else ''))
        ok = ok and f == 0 and (p > 0 or name == 'fuzz')
    tp = sum(l[1] for l in levels)
    tf = sum(l[2] for l in levels)
    ts = sum(l[3] for l in levels)
    print(f'{tp} passed, {tf} failed' + (f', {ts} skipped' if ts else ''))
    return 0 if ok and tf == 0 else 1


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
