#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when any is missing: the
# toolchain, Qt 6 for the desktop program, and Xvfb, ImageMagick, a Cyrillic font and poppler-utils (pdftoppm,
# to turn exported reports into page images) for looking at it.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang
  qt6-base-dev qt6-svg-dev xvfb xauth imagemagick fonts-dejavu-core poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
