#!/bin/bash
# Builds the fuzz targets with clang and libFuzzer and runs each of them for a bounded time, one after the
# other. Exits non-zero when a fuzzer finds a fault; its reproducer is left in build-fuzz/findings.
#
# Usage: fuzz/run.sh [SECONDS] [TARGET...]
#   SECONDS  the time for all the targets together (default 60), shared out evenly
#   TARGET   only these (script, cabrillo, settings, judging, layout, prepared); default all that were built
# An hour for every target: fuzz/run.sh --each 3600
# The report targets (layout, prepared) need Qt 6 and are built only when the GUI is on.
set -euo pipefail
each=0
if [[ "${1:-}" == "--each" ]]; then
    each=1
    shift
fi
seconds="${1:-60}"
shift || true
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_BUILD_FUZZ=ON >/dev/null
gui=$(grep -c '^ZELK_BUILD_GUI:BOOL=ON' "$build/CMakeCache.txt" || true)

targets=("$@")
if [[ ${#targets[@]} == 0 ]]; then
    targets=(script cabrillo settings judging)
    [[ $gui == 1 ]] && targets+=(layout prepared)
fi
ninja -C "$build" "${targets[@]/#/fuzz_}"

per=$seconds
[[ $each == 1 ]] || per=$((seconds / ${#targets[@]}))
((per > 0)) || per=1
mkdir -p "$build/findings"
status=0
for t in "${targets[@]}"; do
    # The working corpus grows in the build folder; the checked-in seeds stay as they are.
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    echo "== fuzz_$t for ${per}s"
    (cd "$build/findings" &&
        "$build/fuzz/fuzz_$t" "$corpus" "$root/fuzz/corpus/$t" -max_total_time="$per" -max_len=4096 \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$t-") ||
        status=1
done
exit $status
