#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees and runs every level
# (native under sanitizers, Windows tests under Wine, end-to-end), then prints one summary.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$VP_ROOT"
started=$(date +%s)

vp_ensure_packages || { echo "could not install the packages needed"; exit 1; }
vp_wine_env

# No test ever writes into a real home folder.
export VP_TEST_HOME
VP_TEST_HOME=$(mktemp -d)
export HOME=$VP_TEST_HOME
export VP_WINEPREFIX=$VP_WIN_BUILD/wineprefix
cleanup() {
    vp_kill_prefix "$VP_WINEPREFIX"
    vp_kill_prefix "$VP_WIN_BUILD/wineprefix-template"
    vp_stop_xvfb
    rm -rf "$VP_TEST_HOME"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

results=$VP_ROOT/build/results
rm -rf "$results"
mkdir -p "$results"
status=0

# The checks of the sources; each leaves one line in checks.txt for the summary.
vp_log "formatting (clang-format)"
if git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror >"$results/format.log" 2>&1; then
    echo "ok: formatting" >>"$results/checks.txt"
else
    echo "FAILED: formatting" >>"$results/checks.txt"
    echo "formatting: these files differ from .clang-format (run clang-format -i on them):"
    grep -oE '^[^:]+\.(cpp|h)' "$results/format.log" | sort -u
    status=1
fi

vp_log "layers (core, platform, ui, app: none includes one above it)"
if python3 "$VP_ROOT/tools/check_layers.py" src >"$results/layers.log" 2>&1; then
    echo "ok: layers" >>"$results/checks.txt"
else
    echo "FAILED: layers" >>"$results/checks.txt"
    echo "layers: these includes reach a layer above their own:"
    cat "$results/layers.log"
    status=1
fi

vp_log "native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
if vp_build_native; then
    vp_log "native tests"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$VP_NATIVE_BUILD" -j "$VP_JOBS" --output-on-failure \
        --output-junit "$results/native.xml" >"$results/native.log" 2>&1 || status=1
    tail -n 3 "$results/native.log"
    [ $status -eq 0 ] || grep -E 'Failed|\*\*\*' "$results/native.log" | head -n 40
else
    echo "native build failed" >"$results/native.failed"
    status=1
fi

if [ -x "$VP_ROOT/scripts/fuzz.sh" ]; then
    vp_log "fuzzers"
    "$VP_ROOT/scripts/fuzz.sh" >"$results/fuzz.log" 2>&1 || { status=1; tail -n 30 "$results/fuzz.log"; }
    grep -E '^fuzz' "$results/fuzz.log" || true
fi

vp_log "Windows build (mingw-w64)"
if vp_build_win; then
    vp_ensure_prefix "$VP_WIN_BUILD/wineprefix-template"
    # A fresh copy each run: what one run leaves in the prefix never reaches the next.
    vp_kill_prefix "$VP_WINEPREFIX"
    rm -rf "$VP_WINEPREFIX"
    vp_clone_prefix "$VP_WIN_BUILD/wineprefix-template" "$VP_WINEPREFIX"
    vp_start_xvfb || status=1
    vp_log "Windows tests under Wine, and end-to-end tests (display $DISPLAY)"
    ctest --test-dir "$VP_WIN_BUILD" --output-on-failure \
        --output-junit "$results/win.xml" \
        >"$results/win.log" 2>&1 || status=1
    grep -E '^(ok|FAILED|screenshot):' "$results/win.log" || true
    tail -n 3 "$results/win.log"
    [ $status -eq 0 ] || grep -E '\[  FAILED  \]|FAILED:|Failure|Error' "$results/win.log" | head -n 60
else
    echo "Windows build failed" >"$results/win.failed"
    status=1
fi

python3 "$VP_ROOT/tools/summarize.py" "$results" || status=1
echo "test command took $(( $(date +%s) - started )) s; logs in $results"
exit $status
