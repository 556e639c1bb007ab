#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: every file in its place, the desktop entry, the AppStream
# metainfo and the manual pages valid (each checker runs where it is installed), and both programs
# answering --version and --help from there.
# Arguments: the build folder, the source folder, the project's version.
set -euo pipefail
build=$1 source=$2 version=$3
. "$source/tests/install/common.sh"
make_root
prefix="$root/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/zelkon bin/zelkon-cli \
  share/zelkon/help/help.chm share/zelkon/reports/Tournament.frf share/zelkon/reports/FilesExists.frf \
  share/zelkon/reports/NoFile.frf share/zelkon/reports/QSOCalc.frf share/zelkon/reports/EditFile.frf \
  share/applications/zelkon.desktop share/metainfo/org.example.zelkon.metainfo.xml \
  share/icons/hicolor/scalable/apps/zelkon.svg \
  share/man/man1/zelkon.1.gz share/man/man1/zelkon-cli.1.gz \
  share/man/ru/man1/zelkon.1.gz share/man/ru/man1/zelkon-cli.1.gz; do
  [ -f "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/zelkon.png"
  # The PNG header holds the width and the height at bytes 17 to 24.
  [ "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] ||
    fail "$png is not a $size-pixel square PNG"
done

# The default scripts are the built-in ones: a check with them judges as one without any script file.
for name in CalcQSO CalcMultiplier CalcTotal IsConfirmative IsValidReceive IsDuplicate; do
  [ -f "$prefix/share/zelkon/script/$name.txt" ] || fail "script/$name.txt is not installed"
done
diff <("$build/src/zelkon-cli" standings "$source/examples/contest" --scripts "$prefix/share/zelkon/script") \
  <("$build/src/zelkon-cli" standings "$source/examples/contest" --scripts "$root/no-scripts") ||
  fail "the installed default scripts judge differently from the built-in ones"

desktop="$prefix/share/applications/zelkon.desktop"
grep -q '^Exec=zelkon %f$' "$desktop" || fail "the desktop entry does not pass a folder"
grep -q '^Categories=Utility;HamRadio;$' "$desktop" || fail "the desktop entry's categories"
grep -q '^Name\[ru\]=' "$desktop" || fail "the desktop entry has no Russian name"
checked=0
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate"
  checked=$((checked + 1))
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.example.zelkon.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$prefix/share/metainfo/org.example.zelkon.metainfo.xml")"
  checked=$((checked + 1))
fi
if command -v man >/dev/null; then
  for page in "$prefix"/share/man/man1/*.1.gz "$prefix"/share/man/ru/man1/*.1.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
    grep -q "^\.TH .*\"Zelkon $version\"" <<<"$(zcat "$page")" || fail "$page does not carry the version"
  done
  checked=$((checked + 1))
fi
# Every command of zelkon-cli has its entry in both of its manual pages.
commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z]\+\) .*/\1/p' <<<"$("$prefix/bin/zelkon-cli" --help)")
[ -n "$commands" ] || fail "zelkon-cli --help lists no commands"
for page in "$prefix"/share/man/man1/zelkon-cli.1.gz "$prefix"/share/man/ru/man1/zelkon-cli.1.gz; do
  text=$(zcat "$page")
  for command in $commands; do
    grep -Eq "^\.BI (.*[ \"])?$command[ \"]" <<<"$text" || fail "$page does not describe the command $command"
  done
done
[ "$checked" -eq 3 ] || echo "note: only $checked of the 3 checkers (desktop-file-utils, appstream, man) are installed"

# --version and --help need no window system.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/zelkon" --version)
[ "$(sed -n 1p <<<"$out")" = "zelkon $version" ] && sed -n 2p <<<"$out" | grep -Eq '^Qt 6\.[0-9]+\.[0-9]+$' ||
  fail "zelkon --version: $out"
[ "$("$prefix/bin/zelkon-cli" --version)" = "zelkon-cli $version" ] || fail "zelkon-cli --version"
help=$(HOME="$root/home" XDG_CONFIG_HOME="" "$prefix/bin/zelkon" -h)
grep -qF "default judging scripts: $prefix/share/zelkon" <<<"$help" ||
  fail "zelkon --help does not name the data folder"
help=$(HOME="$root/home" XDG_CONFIG_HOME="" "$prefix/bin/zelkon-cli" --help)
grep -qF "script/: $root/home/.config/zelkon" <<<"$help" ||
  fail "zelkon-cli --help does not name the user's folder"
status=0
QT_QPA_PLATFORM=offscreen "$prefix/bin/zelkon" --no-such-option 2>"$root/err" || status=$?
[ "$status" -eq 2 ] && grep -q -- "--no-such-option" "$root/err" || fail "zelkon took an unknown option ($status)"
[ ! -e "$root/home" ] || fail "--help wrote into the user's folder"
echo "installed files: ok"
