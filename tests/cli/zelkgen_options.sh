#!/usr/bin/env bash
# The command line of zelkgen: help, refused values with exit status 2, and the output folder rules
# (created when missing, a non-empty one only with --force, which replaces old logs and nothing else).
# Usage: bash zelkgen_options.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -euo pipefail
export LC_ALL=C
cli=$1
source "$(dirname "$0")/lib/zelkgen_setup.bash"

help=$("$gen" --help) || fail "--help exits with an error"
for o in --out --logs --qsos --absent --rare --seed --date --start --hours --bands --contest --busted \
  --time-shift --dupes --nil --no-callsign --portable --lower --lf-only --unknown-tags --faults --force \
  --missing-piece --exchange --mixed-ext --utf16 --utf8 --tabs --odd-names --duplicates --clean; do
  grep -q -- "^  $o " <<<"$help" || fail "--help does not describe $o"
done

# Each line: arguments after --out, and a word the error message must contain.
while IFS='|' read -r args word; do
  [ -n "$args" ] || continue
  set +e
  msg=$("$gen" --out "$tmp/refused" $args 2>&1 >/dev/null)
  rc=$?
  set -e
  [ "$rc" -eq 2 ] || fail "'$args' gave exit status $rc, not 2"
  grep -q -- "$word" <<<"$msg" || fail "'$args' said '$msg', which does not name $word"
  [ ! -e "$tmp/refused" ] || { fail "'$args' wrote a folder"; rm -rf "$tmp/refused"; }
done <<'CASES'
--logs 0|--logs
--logs 20001|--logs
--logs ten|--logs
--qsos -5|--qsos
--busted 100.5|--busted
--busted 12.345|--busted
--busted .5|--busted
--dupes 5%|--dupes
--seed 18446744073709551616|--seed
--date 2026-02-30|--date
--date 14.02.2026|--date
--start 2400|--start
--hours 0|--hours
--bands 3.5,10|--bands
--bands 7,7|--bands
--contest winter|--contest
--no-callsign 5 --logs 4|--no-callsign
--exchange rst|--exchange
--utf16 101|--utf16
--duplicates 4 --logs 4 --no-callsign 1|--duplicates
--whatever 1|--whatever
--logs|--logs
CASES
set +e
"$gen" --logs 3 >/dev/null 2>&1
rc=$?
set -e
[ "$rc" -eq 2 ] || fail "a missing --out gave exit status $rc, not 2"

# Accepted forms: "--name=value", rates with decimals, a nested folder that does not exist yet.
"$gen" --out="$tmp/new/deeper" --logs=3 --qsos 10 --busted 0.25 --date 2024-02-29 --start 23:30 >/dev/null ||
  fail "accepted options were refused"
[ "$(ls "$tmp/new/deeper" | wc -l)" -eq 3 ] || fail "3 logs wanted in a new nested folder"
grep -q ' 2024-03-01 ' "$tmp/new/deeper"/* || fail "a contest from 23:30 on 29 February does not reach 1 March"

# A folder that holds files is used only with --force, which removes old logs and keeps other files.
mkdir -p "$tmp/used"
printf 'old\r\n' >"$tmp/used/Q9ZZZ.CBR"
printf 'old\r\n' >"$tmp/used/q9yyy.cbr"
printf 'keep\n' >"$tmp/used/notes.txt"
set +e
"$gen" --out "$tmp/used" --logs 3 --qsos 10 >/dev/null 2>&1
rc=$?
set -e
[ "$rc" -eq 2 ] || fail "a non-empty folder without --force gave exit status $rc, not 2"
[ -f "$tmp/used/Q9ZZZ.CBR" ] || fail "a refused run removed an old log"
"$gen" --out "$tmp/used" --logs 3 --qsos 10 --force >/dev/null || fail "--force was refused"
[ ! -e "$tmp/used/Q9ZZZ.CBR" ] && [ ! -e "$tmp/used/q9yyy.cbr" ] || fail "--force left old logs behind"
[ -f "$tmp/used/notes.txt" ] || fail "--force removed a file that is no log"
[ "$(ls "$tmp/used" | wc -l)" -eq 4 ] || fail "--force run: 3 logs and notes.txt wanted"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "zelkgen options: all checks passed"
