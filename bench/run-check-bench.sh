#!/usr/bin/env bash
# Generates contests of 50, 200 and 800 logs of about 300 contacts and times "Проверить все файлы" on
# each with the default scripts (every log read and parsed once). Each run is its own process, so the
# peak memory is that run's own.
#   bench/run-check-bench.sh [SIZES...]        (default: 50 200 800)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELK_BUILD_BENCH=ON >/dev/null
cmake --build build-bench --target check_bench zelkgen >/dev/null
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 200 800)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in "${sizes[@]}"; do
  build-bench/tools/zelkgen --out "$work/c$n" --logs "$n" --qsos 300 --absent $((n / 20 + 1)) --seed 1 \
    --busted 2 --time-shift 1 --dupes 1 >/dev/null
  build-bench/bench/check_bench "$work/c$n"
done
