#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and runs each briefly
# from its seed corpus (fuzz/corpus/<target>/). VP_FUZZ_SECONDS is the total budget.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
build=$VP_ROOT/build/fuzz
targets=()
for f in "$VP_ROOT"/fuzz/*.cpp; do [ -f "$f" ] && targets+=("$(basename "$f" .cpp)"); done
[ ${#targets[@]} -eq 0 ] && { echo "fuzz: no targets"; exit 0; }
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$VP_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVP_FUZZ=ON \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang >/dev/null || exit 1
fi
cmake --build "$build" -j "$VP_JOBS" --target "${targets[@]}" || exit 1
budget=${VP_FUZZ_SECONDS:-30}
each=$(( budget / ${#targets[@]} ))
[ $each -lt 5 ] && each=5
status=0
for t in "${targets[@]}"; do
    corpus=$VP_ROOT/fuzz/corpus/$t
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
    if (cd "$work" && "$build/$t" -max_total_time=$each -max_len=65536 -rss_limit_mb=2048 \
            -print_final_stats=0 "$work" >"$build/$t.log" 2>&1); then
        echo "fuzz ok: $t ($each s, $(ls "$work" | wc -l) corpus entries)"
    else
        echo "fuzz FAILED: $t (see $build/$t.log)"
        tail -n 40 "$build/$t.log"
        status=1
    fi
    rm -rf "$work"
done
exit $status
