#!/usr/bin/env bash
# Generates contests of 50, 200 and 800 logs of 300 contacts and times "Проверить все файлы" on each,
# with the default scripts and with a band-aware rule set in the guarded form; every line also gives the
# read-and-parse-only floor measured in the same process and the run's ratio to it. Each run is its own
# process, so the peak memory is that run's own.
#   bench/run-check-bench.sh [SIZES...]        (default: 50 200 800)
#   FULL_SCAN=1 bench/run-check-bench.sh 50    (the baseline path as well: every candidate, one thread)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELK_BUILD_BENCH=ON >/dev/null
cmake --build build-bench --target check_bench zelkgen >/dev/null
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 200 800)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
for n in "${sizes[@]}"; do
  build-bench/tools/zelkgen --out "$work/c$n" --logs "$n" --qsos 300 --absent $((n / 20 + 1)) --seed 1 \
    --busted 2 --time-shift 1 --dupes 1 >/dev/null
  for rules in default band; do
    build-bench/bench/check_bench "$work/c$n" --rules "$rules"
    if [ "${FULL_SCAN:-0}" = 1 ]; then build-bench/bench/check_bench "$work/c$n" --rules "$rules" --full-scan; fi
  done
done
