#!/usr/bin/env bash
# An installation made read-only and used by someone who cannot write it: the desktop program (the
# driver installed_program_test, run from the installation's bin folder as zelkon is) opens the example
# contest, saves an edited script and a report layout, checks a log, writes its UBN report and saves its
# settings; zelkon-cli judges and writes UBN reports. Nothing under the installation changes; the
# settings, script and layout land in the user's folder and judge from there; the contest folder gets its
# own zelk.ini and the reports as always. A program in a read-only folder without installed data keeps
# the user's files in the user's folder too.
# Arguments: the build folder, the source folder, the driver.
set -euo pipefail
build=$1 source=$2 driver=$3
. "$source/tests/install/common.sh"
make_root
prefix="$root/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
cp "$driver" "$prefix/bin/"
chmod -R a-w "$prefix"
make_home
cp -r "$source/examples/contest" "$root/contest"
chown -R "$run_user" "$root/contest"
listing "$prefix" >"$root/before"

# The installed scripts judge as the built-in ones.
diff <(as_user "$prefix/bin/zelkon-cli" standings "$root/contest") \
  <("$build/src/zelkon-cli" standings "$source/examples/contest") || fail "installed zelkon-cli judges differently"

as_user ZELK_CONTEST="$root/contest" "$prefix/bin/$(basename "$driver")" -silent >"$root/driver.log" 2>&1 ||
  { cat "$root/driver.log"; fail "the installed program as $run_user"; }

user="$home/config/zelkon"
grep -q "^CurrentFolder=$root/contest" "$user/zelk.ini" || fail "the settings are not in the user's folder"
grep -q "Result := 2;" "$user/script/CalcQSO.txt" || fail "the edited script is not in the user's folder"
[ -f "$user/reports/FilesExists.frf" ] || fail "the saved layout is not in the user's folder"
[ -f "$root/contest/zelk.ini" ] || fail "the contest folder's settings were not saved"
compgen -G "$root/contest/*.[Uu][Bb][Nn]" >/dev/null || fail "no UBN report in the contest folder"

# zelkon-cli reads the user's saved script: it judges as the build does with that script.
diff <(as_user "$prefix/bin/zelkon-cli" standings "$root/contest") \
  <("$build/src/zelkon-cli" standings "$source/examples/contest" --scripts "$user/script") ||
  fail "installed zelkon-cli does not judge with the user's script"
mkdir "$root/ubn" && chown "$run_user" "$root/ubn"
# Status 2: the example's Q5GOT.CBR has no CALLSIGN: and cannot be judged; its report is still written.
as_user "$prefix/bin/zelkon-cli" ubn "$root/contest" --out "$root/ubn" || [ $? -eq 2 ] || fail "zelkon-cli ubn failed"
[ "$(ls "$root/ubn" | wc -l)" -eq "$(ls "$source/examples/contest" | wc -l)" ] || fail "zelkon-cli ubn"

listing "$prefix" >"$root/after"
diff "$root/before" "$root/after" || fail "something under the installation changed"

# A copy of the program in a read-only folder with no installed data beside it.
if [ "$run_user" != root ]; then
  mkdir "$root/portable"
  cp "$prefix/bin/zelkon-cli" "$root/portable/"
  chmod a-w "$root/portable"
  help=$(as_user "$root/portable/zelkon-cli" --help)
  grep -qF "script/: $user" <<<"$help" ||
    fail "a read-only program folder is taken for the user's folder"
fi
echo "read-only installation as $run_user: ok"
