#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need, when any is missing: the
# toolchain; Qt 6 and QScintilla for the desktop program, with qhelpgenerator (which compiles the help)
# and the Qt Help module with the SQLite driver it reads the help through, and Qt's Russian texts; the
# checkers of the installation's desktop entry, metainfo and manual pages, dpkg-shlibdeps for the Debian
# package's dependencies and setpriv for running the installed program as another user; and Xvfb,
# ImageMagick, a Cyrillic font and pdftoppm for looking at the program and at its PDF reports.
set -euo pipefail
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev clang
  qt6-base-dev qt6-svg-dev libqscintilla2-qt6-dev qt6-tools-dev qt6-documentation-tools libqt6sql6-sqlite
  qt6-translations-l10n
  desktop-file-utils appstream man-db dpkg-dev util-linux
  xvfb xauth imagemagick fonts-dejavu-core poppler-utils)
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
