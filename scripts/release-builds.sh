#!/usr/bin/env bash
# Builds the Release configuration with warnings as errors under g++ and under clang, each in a build
# folder of its own (build-release-g++, build-release-clang++), with the benchmarks, and runs every test
# in both: optimised code and NDEBUG bring warnings and faults that the debug builds do not show.
# Usage: scripts/release-builds.sh [COMPILER...]   (default: g++ clang++)
# Not part of CI, which builds the Release configuration with g++ only; run it after a toolchain or
# warning change.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
compilers=("$@")
[ ${#compilers[@]} -gt 0 ] || compilers=(g++ clang++)
for cxx in "${compilers[@]}"; do
  dir="build-release-$cxx"
  echo "== Release with $cxx in $dir"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$cxx" -DZELK_WERROR=ON \
    -DZELK_SANITIZE=OFF -DZELK_BUILD_FUZZ=OFF -DZELK_BUILD_BENCH=ON >/dev/null
  cmake --build "$dir" -j"$(nproc)"
  ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
done
