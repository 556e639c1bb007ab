#!/usr/bin/env bash
# Judges the bundled example contest end to end with zelkon-cli and compares the results with the
# example's own fault list and result tables, which the generator worked out independently.
# Usage: judge_example.sh ZELKON_CLI SOURCE_DIR
set -u
cli=$1
src=$2
contest=$src/examples/contest
readme=$src/examples/README.md
faults=$src/examples/faults.tsv
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Expected standings from the README table: FILE SCORE MULTI TOTAL (default) and the same with credit.
awk -F'|' 'NF == 10 && /^\| [A-Za-z0-9]+\.(CBR|cbr) \|/ {
    f=toupper($2); gsub(/ /,"",f)
    for (i=4;i<=9;i++) gsub(/ /,"",$i)
    if ($4=="notchecked") { print f, 0, 0, 0 > "'$tmp/expect-default'"; print f, 0, 0, 0 > "'$tmp/expect-credit'" }
    else { print f, $4, $5, $6 > "'$tmp/expect-default'"; print f, $7, $8, $9 > "'$tmp/expect-credit'" }
}' "$readme"
[ -s "$tmp/expect-default" ] || fail "no result table found in the example README"

standings() { # prints FILE SCORE MULTI TOTAL sorted by file
  "$cli" standings "$contest" --format csv "$@" | tail -n +2 | awk -F, '{print $2, $3, $4, $5}' | sort
}
standings > "$tmp/got-default" || fail "standings failed"
sort "$tmp/expect-default" | diff - "$tmp/got-default" > "$tmp/diff" || { fail "default standings differ"; cat "$tmp/diff"; }
standings --set NoFileIncludeResults=1 --set NoFileMinMentionCount=3 > "$tmp/got-credit"
sort "$tmp/expect-credit" | diff - "$tmp/got-credit" > "$tmp/diff" || { fail "standings with credit differ"; cat "$tmp/diff"; }

# Standings are sorted by total, highest first; equal totals share a place and the places they take are
# skipped; the log without CALLSIGN: comes last without a place.
"$cli" standings "$contest" --format csv | tail -n +2 > "$tmp/standings.csv"
awk -F, 'NR>1 && $5>prev && $1!="-" {bad=1} {prev=$5} END {exit bad}' "$tmp/standings.csv" \
  || fail "standings are not sorted by total"
awk -F, '$1!="-" {n++; if ($5!=prev) place=n; if ($1!=place) bad=1; prev=$5} END {exit bad}' "$tmp/standings.csv" \
  || fail "places are not 1, 2, 2, 4 for equal totals"
awk -F, '$5==312 {print $1}' "$tmp/standings.csv" | sort -u | wc -l | grep -qx 1 \
  || fail "Q2QV and Q8PLO score 312 both and should share a place"
[ "$(tail -n 1 "$tmp/standings.csv" | cut -d, -f1,2)" = "-,Q5GOT.CBR" ] \
  || fail "the log without CALLSIGN: should come last without a place"

# Every listed fault is rejected with its word, and every other contact of a checked log is accepted.
declare -A word=([repeat]="повтор" [no-file]="нет файла" [not-confirmed]="нет подтв.связи"
                 [receive-error]="ошибка приёма" [time-mismatch]="время не совпадает")
for log in $(awk -F'\t' 'NR>1 && $2 ~ /^[0-9]+$/ {print $1}' "$faults" | sort -u); do
  "$cli" check "$contest" "$log" > "$tmp/ubn" || { fail "check $log failed"; continue; }
  # Table lines start with the QSO number padded to 4.
  while IFS=$'\t' read -r file qso verdict detail; do
    [ "$file" = "$log" ] || continue
    [[ $qso =~ ^[0-9]+$ ]] || continue
    line=$(grep -a -E "^$qso +[0-9]" "$tmp/ubn" | head -n 1)
    [[ $line == *"${word[$verdict]}; "* ]] || fail "$log QSO $qso: expected '${word[$verdict]}' in: $line"
  done < "$faults"
  listed=$(awk -F'\t' -v f="$log" '$1==f && $2 ~ /^[0-9]+$/ {print $2}' "$faults" | tr '\n' ' ')
  while read -r n rest; do
    [[ " $listed " == *" $n "* ]] && continue
    [[ $rest == *" 1  "* && $rest != *";"* ]] || fail "$log QSO $n should be accepted: $rest"
  done < <(grep -a -E '^[0-9]+ +[0-9]' "$tmp/ubn")
done

# The log without CALLSIGN: cannot be checked: the error, naming the file, goes to stderr, nothing is
# judged, the report is still printed and the status is 2.
"$cli" check "$contest" Q5GOT.CBR > "$tmp/nocall" 2> "$tmp/nocall.err"; rc=$?
[ $rc = 2 ] || fail "check of a log without CALLSIGN: gives status $rc, not 2"
[ "$(cat "$tmp/nocall.err")" = "Q5GOT.CBR: Ошибка структуры файла: Нет или пустой тэг CALLSIGN:, обработка файла невозможна." ] ||
  fail "the CALLSIGN: error should name Q5GOT.CBR: $(cat "$tmp/nocall.err")"
grep -q "^SCORE:         0" "$tmp/nocall" || fail "Q5GOT.CBR should score 0"
# The standings name it too, once, and still rank every other log.
"$cli" standings "$contest" > /dev/null 2> "$tmp/standings.err"; rc=$?
[ $rc = 2 ] || fail "standings with a log that cannot be judged give status $rc, not 2"
[ "$(grep -c . "$tmp/standings.err")" = 1 ] && grep -q "^Q5GOT.CBR: " "$tmp/standings.err" ||
  fail "standings should name Q5GOT.CBR once on stderr: $(cat "$tmp/standings.err")"

# Stations without a log: those at or above the default threshold of 3 mentions.
[ "$("$cli" absent "$contest")" = $'Q2AAO\t5\nQ5MZ\t4' ] || fail "absent list differs"
[ "$("$cli" absent "$contest" --set NoFileMinMentionCount=1 | wc -l)" = 3 ] || fail "absent list with threshold 1"

# UBN files: one per log, named after the log with the UBNExt extension, the same bytes as check --cp1251.
"$cli" ubn "$contest" --out "$tmp/ubn-out" >/dev/null 2>&1; rc=$?
[ $rc = 1 ] || fail "ubn into a missing folder gives status $rc, not 1"
mkdir "$tmp/ubn-out"
"$cli" ubn "$contest" --out "$tmp/ubn-out" > "$tmp/ubn-paths" 2> "$tmp/ubn.err"; rc=$?
[ $rc = 2 ] || fail "ubn with a log that cannot be judged gives status $rc, not 2"
[ "$(grep -c . "$tmp/ubn.err")" = 1 ] && grep -q "^Q5GOT.CBR: " "$tmp/ubn.err" ||
  fail "ubn should name Q5GOT.CBR once on stderr: $(cat "$tmp/ubn.err")"
"$cli" ubn "$contest" Q2QV.CBR --out "$tmp/ubn-out" >/dev/null || fail "ubn of a log that can be judged gives status 0"
[ "$(ls "$tmp/ubn-out" | wc -l)" = 14 ] || fail "expected 14 UBN files"
# Each file written is printed, one path a line.
[ "$(wc -l < "$tmp/ubn-paths")" = 14 ] || fail "ubn should print the 14 paths it wrote"
while read -r path; do
  [ "$(dirname "$path")" = "$tmp/ubn-out" ] && [ -f "$path" ] || fail "ubn printed a path it did not write: $path"
done < "$tmp/ubn-paths"
[ -f "$tmp/ubn-out/q9mz.UBN" ] || fail "q9mz.cbr should give q9mz.UBN"
"$cli" check "$contest" Q2QV.CBR --cp1251 > "$tmp/q2qv.bytes"
cmp -s "$tmp/q2qv.bytes" "$tmp/ubn-out/Q2QV.UBN" || fail "ubn file differs from check --cp1251"
grep -q $'\r$' "$tmp/ubn-out/Q2QV.UBN" || fail "UBN lines end in CR LF"
[ "$("$cli" ubn "$contest" Q2QV.CBR --out "$tmp/ubn-out" --set UBNExt='*.TXT')" = "$tmp/ubn-out/Q2QV.TXT" ] \
  || fail "ubn of one log prints its one path"
[ -f "$tmp/ubn-out/Q2QV.TXT" ] || fail "UBNExt *.TXT gives Q2QV.TXT"

# Search: the owner's log first, then the logs that worked the station, with QSO numbers.
"$cli" search "$contest" q2aao > "$tmp/search"
[ "$(wc -l < "$tmp/search")" = 5 ] || fail "Q2AAO is in 5 logs"
"$cli" search "$contest" q9lmz | head -n 1 | grep -q $'^Q9LMZ.CBR\tВладелец файла$' || fail "owner row first"
"$cli" search "$contest" "  " 2>/dev/null && fail "an empty search text is an error"

# Formats and usage errors.
"$cli" standings "$contest" --format html | grep -q '<table' || fail "html standings"
"$cli" standings "$contest" --format xml 2>/dev/null; [ $? = 1 ] || fail "unknown format gives status 1"
"$cli" check "$contest" NOSUCH.CBR 2>/dev/null; [ $? = 1 ] || fail "unknown log gives status 1"
"$cli" check 2>/dev/null; [ $? = 1 ] || fail "missing arguments give status 1"

[ $failures = 0 ] && echo "all passed"
exit $((failures > 0))
