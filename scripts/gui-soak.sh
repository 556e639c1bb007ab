#!/usr/bin/env bash
# Runs the desktop program's test suite many times in a row while every core is kept busy, to show that
# no GUI test depends on timing. Stops at the first failing run and keeps its output.
#
# Usage: scripts/gui-soak.sh [RUNS]   (default 20; builds `build` as scripts/test.sh does first)
# Output of each run goes to build/gui-soak/run-N.log; the exit status is that of the first failing run.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
cmake -S . -B build -G Ninja -DZELK_WERROR=ON -DZELK_BUILD_FUZZ=OFF -DZELK_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_SANITIZE=OFF -DCMAKE_CXX_COMPILER=g++ >/dev/null
cmake --build build --target zelk_ui_tests
logs=build/gui-soak
mkdir -p "$logs"

# One busy loop per core for as long as the runs last.
busy=()
stop_busy() { ((${#busy[@]})) && kill "${busy[@]}" 2>/dev/null; wait 2>/dev/null || true; }
trap stop_busy EXIT
for _ in $(seq "$(nproc)"); do
  (while :; do :; done) &
  busy+=($!)
done

for run in $(seq "$runs"); do
  log="$logs/run-$run.log"
  if ! (cd build && QT_QPA_PLATFORM=offscreen tests/ui/zelk_ui_tests) >"$log" 2>&1; then
    echo "run $run of $runs failed; see $log"
    grep -E "^FAIL!|Loc:" "$log" | head -20 || true
    exit 1
  fi
  echo "run $run of $runs passed ($(grep -Eo 'Totals: [0-9]+ passed' "$log" | head -1))"
done
