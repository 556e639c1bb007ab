#!/usr/bin/env bash
# Builds everything and runs every test; exits non-zero on any failure.
# It builds into build (g++, warnings as errors) with every setting given here, so it never shares a
# build folder or a cached setting with scripts/run-example.sh.
# With ZELK_SANITIZE=1 it builds into build-asan with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, so that CI exercises both compilers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
dir=build
settings=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_SANITIZE=OFF -DCMAKE_CXX_COMPILER=g++)
if [ "${ZELK_SANITIZE:-0}" = 1 ]; then
  dir=build-asan
  settings=(-DCMAKE_BUILD_TYPE=Debug -DZELK_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++)
fi
cmake -S . -B "$dir" -G Ninja -DZELK_WERROR=ON -DZELK_BUILD_FUZZ=OFF -DZELK_BUILD_BENCH=OFF "${settings[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
