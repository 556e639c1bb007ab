#!/usr/bin/env bash
# Installs what is missing, builds the programs and opens the bundled example contest in the desktop
# program; without a display it judges the contest on the terminal instead.
# It builds into build-example with every setting given here, so it never shares a build folder (or a
# cached setting) with scripts/test.sh; the two can run in either order, as often as wanted.
# ZELK_WERROR=1 treats warnings as errors (CI uses it to keep the Release build warning-free).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build-example
werror=OFF
[ "${ZELK_WERROR:-0}" = 1 ] && werror=ON
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELK_WERROR="$werror" -DZELK_SANITIZE=OFF \
  -DZELK_BUILD_FUZZ=OFF -DZELK_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "./$dir/src/app/zelkon" examples/contest
fi
echo "No display (DISPLAY is not set): showing the standings of examples/contest on the terminal instead."
echo "Under Xvfb: Xvfb :99 -screen 0 1280x800x24 & DISPLAY=:99 ./$dir/src/app/zelkon examples/contest"
# The example contest holds a log without CALLSIGN: on purpose: the standings name it and exit 2.
status=0
"./$dir/src/zelkon-cli" standings examples/contest || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 2 ]
