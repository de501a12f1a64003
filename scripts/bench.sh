#!/usr/bin/env bash
# The benchmark command: builds what is needed and prints every benchmark table in one run,
# natively (the portable core, an optimised build) and under Wine (the program on a virtual
# display). Figures only: nothing here passes or fails. Hold the build lock on a shared machine.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$VP_ROOT"
started=$(date +%s)

vp_ensure_packages || { echo "could not install the packages needed"; exit 1; }
bench_native=$VP_ROOT/build/native-bench
vp_log "native build for benchmarks (Release)"
if [ ! -f "$bench_native/CMakeCache.txt" ]; then
    cmake -S "$VP_ROOT" -B "$bench_native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_COMPILER=g++ >/dev/null || exit 1
fi
cmake --build "$bench_native" -j "$VP_JOBS" --target vp_native_bench || exit 1
vp_log "Windows build (mingw-w64)"
vp_build_win || exit 1

vp_wine_env
bench_home=$(mktemp -d)
export HOME=$bench_home
export WINEPREFIX=$VP_WIN_BUILD/wineprefix-bench
cleanup() {
    vp_kill_prefix "$WINEPREFIX"
    vp_stop_xvfb
    rm -rf "$bench_home" "$WINEPREFIX"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
vp_ensure_prefix "$VP_WIN_BUILD/wineprefix-template"
vp_clone_prefix "$VP_WIN_BUILD/wineprefix-template" "$WINEPREFIX"
# Always a virtual display of its own: the figures of one run share one display.
unset DISPLAY
vp_start_xvfb || exit 1

section() { printf '\n\033[1m%s\033[0m\n' "$*"; }
wine_bench() { "$WINE" "$VP_WIN_BUILD/$1.exe" "${@:2}" 2>/dev/null | tr -d '\r'; }

section "Native: duplicate test, text encodings and the pad search (Google Benchmark, Release)"
"$bench_native/vp_native_bench" --benchmark_min_time=0.2 2>&1 | grep -v '^\*\*\*'

section "Wine: start to window and resident memory, returning user, beside its window tree made bare and a bare window"
wine_bench vp_win_startup_bench 5
section "Wine: each step of a start, timed inside one process"
wine_bench vp_win_startup_parts_bench
section "Wine: one copy collected into a small pad, against copy size"
wine_bench vp_win_copy_size_bench
section "Wine: one small capture against pad size, and peak memory at a 50 M-unit pad"
wine_bench vp_win_capture_bench
section "Wine: one capture into a 1 MB pad with the look at its file on disk, and without"
wine_bench vp_win_disk_check_bench
section "Wine: memory a save of a 50 M-unit pad needs beside the pad"
wine_bench vp_win_save_memory_bench
section "Wine: opening a category of 50 M units, beside a bare edit control given the text"
wine_bench vp_win_load_memory_bench
section "Wine: appending 1 KB to the pad control"
wine_bench vp_win_memo_append_bench
section "Wine: saving a window's settings to the INI file"
wine_bench vp_win_ini_bench
section "Wine: Find next in a 50 M-unit pad beside the edit control's select and scroll; find in all categories"
wine_bench vp_win_find_bench

echo
echo "benchmark command took $(( $(date +%s) - started )) s"
