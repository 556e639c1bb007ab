#!/bin/bash
# Builds the script fuzz target with clang and libFuzzer and runs it for a bounded time.
# Usage: fuzz/run.sh [SECONDS]   (default 60). Exits non-zero when the fuzzer finds a fault.
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_BUILD_FUZZ=ON >/dev/null
ninja -C "$build" fuzz_script
corpus="$build/corpus"
mkdir -p "$corpus"
cd "$build"
./fuzz/fuzz_script "$corpus" "$root/fuzz/corpus" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1
