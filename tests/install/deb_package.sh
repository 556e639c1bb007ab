#!/usr/bin/env bash
# `cpack -G DEB` builds zelkon_VERSION_ARCH.deb whose dependencies name the Qt and QScintilla libraries the
# programs link; unpacked into a throw-away root (dpkg -x), its zelkon-cli judges the example contest as
# the build does.
# Arguments: the build folder, the source folder, the project's version.
set -euo pipefail
build=$1 source=$2 version=$3
. "$source/tests/install/common.sh"
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps (dpkg-dev) is not installed"; exit 77; }
make_root
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$root/out" >"$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log"; fail "cpack"; }
deb="$root/out/zelkon_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$root/out")"

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6core6 libqscintilla2-qt6 libstdc++6 qt6-qpa-plugins; do
  grep -q "$package" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)" = "zelkon $version" ] || fail "control fields"

dpkg -x "$deb" "$root/sys"
for f in usr/bin/zelkon usr/bin/zelkon-cli usr/share/zelkon/help/help.chm usr/share/zelkon/script/CalcQSO.txt \
  usr/share/applications/zelkon.desktop usr/share/icons/hicolor/48x48/apps/zelkon.png; do
  [ -f "$root/sys/$f" ] || fail "the package lacks /$f"
done
make_home
cp -r "$source/examples/contest" "$root/contest"
diff <(as_user "$root/sys/usr/bin/zelkon-cli" standings "$root/contest") \
  <("$build/src/zelkon-cli" standings "$source/examples/contest") ||
  fail "the packaged zelkon-cli judges differently from the build"
[ "$(as_user "$root/sys/usr/bin/zelkon" --version | head -1)" = "zelkon $version" ] || fail "packaged zelkon --version"
echo "package $(basename "$deb"): ok"
