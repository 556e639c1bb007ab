#!/usr/bin/env bash
# Installs what is missing, builds the program and judges the bundled example contest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
./build/src/zelkon-cli standings examples/contest
