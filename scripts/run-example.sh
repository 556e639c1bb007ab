#!/usr/bin/env bash
# Installs what is missing, builds the programs and opens the bundled example contest in the desktop
# program; without a display it judges the contest on the terminal instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/src/app/zelkon examples/contest
fi
echo "No display (DISPLAY is not set): showing the standings of examples/contest on the terminal instead."
echo "Under Xvfb: Xvfb :99 -screen 0 1280x800x24 & DISPLAY=:99 ./build/src/app/zelkon examples/contest"
./build/src/zelkon-cli standings examples/contest
