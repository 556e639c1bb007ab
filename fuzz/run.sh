#!/bin/bash
# Builds the fuzz targets with clang and libFuzzer and runs each of them for a bounded time. Exits
# non-zero when a fuzzer finds a fault; its reproducer is left in build-fuzz/findings.
#
# Usage: fuzz/run.sh [--each] [--jobs N] [SECONDS] [TARGET...]
#   --each    SECONDS is the time of every target, not of all of them together
#   --jobs N  run N targets side by side (default 1: one after the other); give each one a core of its
#             own, or it gets fewer inputs in the same time
#   SECONDS   the time for all the targets together (default 60), shared out evenly
#   TARGET    only these (script, cabrillo, settings, judging, layout, prepared); default all that were built
# An hour for every target: fuzz/run.sh --each 3600 (on two cores: fuzz/run.sh --each --jobs 2 3600)
# The report targets (layout, prepared) need Qt 6 and are built only when the GUI is on.
set -euo pipefail
each=0
jobs=1
while [[ $# -gt 0 ]]; do
    case "$1" in
    --each) each=1; shift ;;
    --jobs) jobs="$2"; shift 2 ;;
    *) break ;;
    esac
done
[[ "$jobs" =~ ^[1-9][0-9]*$ ]] || { echo "fuzz/run.sh: --jobs wants a positive number, not '$jobs'" >&2; exit 1; }
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
# Side by side, the time of all of them together is shared out per round of N targets.
rounds=$(((${#targets[@]} + jobs - 1) / jobs))
[[ $each == 1 ]] || per=$((seconds / rounds))
((per > 0)) || per=1
mkdir -p "$build/findings" "$build/logs"

fuzz_one() {
    local t="$1"
    # The working corpus grows in the build folder; the checked-in seeds stay as they are.
    local corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    cd "$build/findings" &&
        "$build/fuzz/fuzz_$t" "$corpus" "$root/fuzz/corpus/$t" -max_total_time="$per" -max_len=4096 \
            -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$t-"
}

status=0
if [[ $jobs == 1 ]]; then
    for t in "${targets[@]}"; do
        echo "== fuzz_$t for ${per}s"
        (fuzz_one "$t") || status=1
    done
    exit $status
fi

# Side by side each fuzzer writes to build-fuzz/logs/<target>.log; the last lines are shown when it ends.
declare -A running=()
finish_one() {
    local pid t t_status=0
    wait -n -p pid || t_status=$?
    t="${running[$pid]}"
    unset "running[$pid]"
    echo "== fuzz_$t ended (exit $t_status)"
    tail -n 12 "$build/logs/$t.log"
    [[ $t_status == 0 ]] || status=1
}
for t in "${targets[@]}"; do
    while [[ ${#running[@]} -ge $jobs ]]; do finish_one; done
    echo "== fuzz_$t for ${per}s, output in $build/logs/$t.log"
    (fuzz_one "$t") >"$build/logs/$t.log" 2>&1 &
    running[$!]="$t"
done
while [[ ${#running[@]} -gt 0 ]]; do finish_one; done
exit $status
