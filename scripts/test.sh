#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero on any failure.
# With ZELK_SANITIZE=1 it builds into build-asan with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build
extra=()
if [ "${ZELK_SANITIZE:-0}" = 1 ]; then
  dir=build-asan
  extra=(-DZELK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S . -B "$dir" -G Ninja -DZELK_WERROR=ON "${extra[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
