#!/usr/bin/env python3
"""Fails when a layer includes a layer above it: core < platform < ui < app.

The core is built natively as well as for Windows, so it may include only the C++ library
(names without an extension), the C library's headers, the compiler's SIMD intrinsics
(<...mmintrin.h>) and "core/..." itself. That is an allow-list rather than a list of Win32
headers: every Windows SDK header (<windows.h>, <shlobj.h>, <commctrl.h>...) is a ".h" name
outside those, so none slips through because a list missed it. Platform may not include
ui/ or app/, and ui may not include app/.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCES = ('.h', '.hpp', '.c', '.cc', '.cpp', '.inl')
C_LIBRARY = {
    'assert.h', 'complex.h', 'ctype.h', 'errno.h', 'fenv.h', 'float.h', 'inttypes.h',
    'iso646.h', 'limits.h', 'locale.h', 'math.h', 'setjmp.h', 'signal.h', 'stdalign.h',
    'stdarg.h', 'stdatomic.h', 'stdbool.h', 'stddef.h', 'stdint.h', 'stdio.h', 'stdlib.h',
    'stdnoreturn.h', 'string.h', 'tgmath.h', 'threads.h', 'time.h', 'uchar.h', 'wchar.h',
    'wctype.h',
}
INTRINSICS = re.compile(r'^[a-z]*mmintrin\.h$')
# For each layer, the layers it must not reach.
ABOVE = {'platform': ('ui', 'app'), 'ui': ('app',)}


def core_allows(bracket, name):
    if bracket == '"':
        return name.startswith('core/')
    return '.' not in name or name in C_LIBRARY or INTRINSICS.match(name) is not None


def violation(layer, bracket, name):
    # "../ui/x.h" reaches the same place as "ui/x.h".
    path = re.sub(r'^(\.\.?/)+', '', name)
    if layer == 'core':
        if not core_allows(bracket, path):
            return 'the core takes only the C++ library and core/ (Windows headers go to platform/)'
        return None
    for above in ABOVE.get(layer, ()):
        if path.startswith(above + '/'):
            return f'{layer}/ may not include {above}/'
    return None


def main(src):
    faults = 0
    for layer in ('core', *ABOVE):
        for folder, _, files in os.walk(os.path.join(src, layer)):
            for file in sorted(files):
                if not file.endswith(SOURCES):
                    continue
                path = os.path.join(folder, file)
                with open(path, encoding='utf-8', errors='replace') as text:
                    for number, line in enumerate(text, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        bracket, name = match.groups()
                        why = violation(layer, bracket, name)
                        if why:
                            shown = f'<{name}>' if bracket == '<' else f'"{name}"'
                            print(f'{os.path.relpath(path)}:{number}: includes {shown}: {why}')
                            faults += 1
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else 'src'))
