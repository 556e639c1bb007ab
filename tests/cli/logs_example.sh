#!/usr/bin/env bash
# The log list and the rows of one log, through zelkon-cli, on the bundled example contest and on
# bad input.
# Usage: logs_example.sh ZELKON_CLI SOURCE_DIR
set -u
cli=$1
contest=$2/examples/contest
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$cli" list "$contest" > "$tmp/list" || fail "list failed"
[ "$(wc -l < "$tmp/list")" = 14 ] || fail "14 logs expected"
grep -q $'^Q9MZ.CBR\t-\t-\t-\tlog$' "$tmp/list" || fail "q9mz.cbr is listed upper-cased with dashes"
grep -q $'^Q5GOT.CBR\t-\t-\t-\tlog-without-callsign$' "$tmp/list" || fail "Q5GOT.CBR has no callsign"
[ "$(cut -f5 "$tmp/list" | grep -c '^log$')" = 13 ] || fail "13 logs with a callsign"

"$cli" show "$contest" q8plo.cbr > "$tmp/show" || fail "show failed"
head -n 1 "$tmp/show" | grep -q '^Caption: Q8PLO ' || fail "header caption starts with the upper-cased owner"
grep -q $'^Status: QSO Record(s) : 24$' "$tmp/show" || fail "status shows the contact count"
grep -q $'^CALLSIGN:\tq8plo\t\tcallsign$' "$tmp/show" || fail "CALLSIGN: row keeps its case"
grep -q $'^1\t[0-9]*\tCW\t2026-02-14\t' "$tmp/show" || fail "mode is upper-cased in the QSO rows"
[ "$(grep -c $'\t-\t\tunchecked$' "$tmp/show")" = 24 ] || fail "every QSO row is unchecked with Score -"

"$cli" show "$contest" Q5GOT.CBR | sed -n 4p | grep -q $'^CALLSIGN:\t\tнет обязательного тэга\tmissing-tag$' \
  || fail "missing CALLSIGN: row inserted at the top"
"$cli" show "$contest" Q1HH.CBR | grep -q $'^CATEGORY-OPERATOR:\t.*\tнеизвестный тэг\terror$' || fail "unknown tag"
"$cli" show "$contest" Q1HH.CBR --cp1251 | grep -q $'\xed\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xfb\xe9' \
  || fail "--cp1251 writes Windows-1251 bytes"

# Bad input: a folder that does not exist, a mask that matches nothing, a file named like the mask
# that is a folder, a binary log.
[ -z "$("$cli" list "$tmp/none")" ] || fail "a missing folder lists nothing"
mkdir -p "$tmp/c/dir.cbr"
head -c 100000 /dev/urandom > "$tmp/c/binary.cbr"
printf 'CALLSIGN: Q1AA\r\nQSO: 3510 CW 2026-02-14 1200 Q1AA 599 1 Q2BB 599 1\r\n' > "$tmp/c/q1aa.cbr"
"$cli" list "$tmp/c" > "$tmp/c.list" || fail "list of odd entries"
[ "$(wc -l < "$tmp/c.list")" = 2 ] || fail "a folder named like the mask is no log"
"$cli" show "$tmp/c" binary.cbr > /dev/null || fail "a binary log loads"
"$cli" show "$tmp/c" dir.cbr 2>/dev/null; [ $? = 1 ] || fail "a folder named like the mask is not found as a log"
[ -z "$("$cli" list "$tmp/c" --set FilesMask='*.XYZ')" ] || fail "a mask that matches nothing"
"$cli" show "$tmp/c" nosuch.cbr 2> "$tmp/err"; [ $? = 1 ] || fail "unknown log exits 1"
grep -q '^Error: ' "$tmp/err" || fail "errors start with Error:"
"$cli" list 2>/dev/null; [ $? = 1 ] || fail "usage error exits 1"
"$cli" nosuch 2>/dev/null; [ $? = 1 ] || fail "unknown command exits 1"

[ $failures = 0 ] && echo "all passed"
exit $((failures > 0))
