#!/usr/bin/env bash
# Logs as they arrive judge as the same logs cleaned by hand: zelkgen writes a contest with every form a
# participant's program gives a log (mixed extensions, UTF-16 and UTF-8, tabs and no-break spaces, files
# named CALL_p.CBR or with a blank before the dot, a second copy) and every exchange fault (a piece left
# out, three-piece exchanges), and its cleaned copy. Judged with FilesMask=*.LOG;*.CBR,
# FindLogByCallSign=1 and QSOSplitTabs=1, the arrived folder gives byte for byte the UBN reports and the
# standings that the cleaned folder gives with the documented settings. A clean contest judges the same
# with the new keys absent, set to their defaults or turned on.
# Usage: bash arrival_judging.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -uo pipefail
export LC_ALL=C
cli=$1
contest=$2/examples/contest
source "$(dirname "$0")/lib/zelkgen_setup.bash"
arrived=(--set 'FilesMask=*.LOG;*.CBR' --set FindLogByCallSign=1 --set QSOSplitTabs=1)

# The name each arrived file has in the cleaned folder. A second copy of a log is judged and ranked as a
# log of its own (two logs with one callsign: the one named after the call is the station's log, the
# other is listed and scored like any log), so the cleaned folder gets it too, as the judge would keep
# it: the cleaned log of the original under the name CALL_.CBR. Both folders then hold the same logs.
cleaned_names() { # $1: fault list, $2: arrived folder, $3: cleaned folder
  local f name cleaned original
  for f in "$2"/*; do
    name=$(basename "$f")
    cleaned=$(awk -F '\t' -v n="$name" '$1 == n && $2 == "-" && $4 ~ /; cleaned: / { sub(/.*; cleaned: /, "", $4); print $4; exit }' "$1")
    original=$(awk -F '\t' -v n="$name" '$1 == n && $3 == "duplicate" { sub(/^a second copy of /, "", $4); print $4 }' "$1")
    if [ -n "$original" ]; then
      cleaned=$(awk -F '\t' -v n="$original" '$1 == n && $2 == "-" && $4 ~ /; cleaned: / { sub(/.*; cleaned: /, "", $4); print $4; exit }' "$1")
      [ -n "$cleaned" ] || cleaned=$original
      cp "$3/$cleaned" "$3/${cleaned%.*}_.CBR"
      cleaned=${cleaned%.*}_.CBR
    fi
    printf '%s\t%s\n' "$name" "${cleaned:-$name}"
  done
}

# Judges the arrived folder $1 with the new settings and the cleaned folder $2 with the documented ones
# (the extra arguments go to both) and compares their UBN reports and standings.
compare() { # $1 arrived, $2 cleaned, $3 names, $4 label, extra --set arguments
  local raw=$1 clean=$2 names=$3 label=$4 rc name cleaned
  shift 4
  mkdir -p "$tmp/$label.ubn-raw" "$tmp/$label.ubn-clean"
  "$cli" ubn "$raw" --out "$tmp/$label.ubn-raw" "${arrived[@]}" "$@" > /dev/null 2> "$tmp/$label.raw.err"; rc=$?
  echo $rc > "$tmp/$label.raw.rc"
  "$cli" ubn "$clean" --out "$tmp/$label.ubn-clean" "$@" > /dev/null 2> "$tmp/$label.clean.err"; rc=$?
  echo $rc > "$tmp/$label.clean.rc"
  cmp -s "$tmp/$label.raw.rc" "$tmp/$label.clean.rc" ||
    fail "$label: ubn gives status $(cat "$tmp/$label.raw.rc") on the arrived logs, $(cat "$tmp/$label.clean.rc") on the cleaned"
  [ "$(ls "$tmp/$label.ubn-raw" | wc -l)" -eq "$(ls "$raw" | wc -l)" ] || fail "$label: not every arrived log got its report"
  [ "$(ls "$tmp/$label.ubn-clean" | wc -l)" -eq "$(ls "$raw" | wc -l)" ] || fail "$label: not every cleaned log got its report"
  while IFS=$'\t' read -r name cleaned; do
    cmp -s "$tmp/$label.ubn-raw/${name%.*}.UBN" "$tmp/$label.ubn-clean/${cleaned%.*}.UBN" ||
      fail "$label: the UBN report of $name differs from that of $cleaned"
  done < "$names"
  # The standings with the arrived file names put as the cleaned folder has them.
  "$cli" standings "$raw" --format csv "${arrived[@]}" "$@" 2>/dev/null |
    awk -F, -v OFS=, 'NR == FNR { split($0, p, "\t"); map[toupper(p[1])] = toupper(p[2]); next }
                      FNR > 1 && ($2 in map) { $2 = map[$2] } { print }' "$names" - > "$tmp/$label.standings-raw"
  "$cli" standings "$clean" --format csv "$@" 2>/dev/null > "$tmp/$label.standings-clean"
  [ "$(wc -l < "$tmp/$label.standings-clean")" -eq $(($(ls "$raw" | wc -l) + 1)) ] ||
    fail "$label: the standings should rank every log"
  diff "$tmp/$label.standings-raw" "$tmp/$label.standings-clean" > "$tmp/$label.diff" ||
    { fail "$label: the standings differ"; cat "$tmp/$label.diff"; }
}

# 1. The documented exchange, every arrival form, a piece left out, logs without CALLSIGN:.
"$gen" --out "$tmp/raw" --clean "$tmp/clean" --faults "$tmp/raw.tsv" --seed 11 --logs 30 --qsos 40 --portable 6 \
  --no-callsign 2 --missing-piece 1 --mixed-ext 20 --utf16 15 --utf8 15 --tabs 20 --odd-names 30 --duplicates 2 \
  > /dev/null
for v in mixed-ext odd-name encoding tabs duplicate no-callsign; do
  grep -q $'\t'"$v"$'\t' "$tmp/raw.tsv" || fail "seed 11 should give $v"
done
grep -q 'left out the first piece' "$tmp/raw.tsv" || fail "seed 11 should leave a piece out"
cleaned_names "$tmp/raw.tsv" "$tmp/raw" "$tmp/clean" > "$tmp/raw.names"
compare "$tmp/raw" "$tmp/clean" "$tmp/raw.names" documented
# The two logs without CALLSIGN: cannot be judged: status 2, each named once on standard error.
[ "$(cat "$tmp/documented.raw.rc")" = 2 ] || fail "ubn of logs without CALLSIGN: gives status $(cat "$tmp/documented.raw.rc"), not 2"
for f in $(awk -F '\t' '$3 == "no-callsign" { print $1 }' "$tmp/raw.tsv"); do
  [ "$(grep -c "^$(echo "$f" | tr a-z A-Z): " "$tmp/documented.raw.err")" = 1 ] || fail "ubn should name $f once"
done
[ "$(grep -c . "$tmp/documented.raw.err")" = 2 ] || fail "ubn should print one message per log without CALLSIGN:"
# Without the new settings the arrived folder does not judge as the cleaned one: the test has teeth.
"$cli" standings "$tmp/raw" --format csv --set 'FilesMask=*.LOG;*.CBR' 2>/dev/null |
  awk -F, -v OFS=, 'NR == FNR { split($0, p, "\t"); map[toupper(p[1])] = toupper(p[2]); next }
                    FNR > 1 && ($2 in map) { $2 = map[$2] } { print }' "$tmp/raw.names" - |
  cmp -s - "$tmp/documented.standings-clean" && fail "the arrived logs judge as the cleaned ones without the new settings"

# 2. Three-piece exchanges (RST, serial, region) with a piece left out: both folders need the template.
"$gen" --out "$tmp/raw3" --clean "$tmp/clean3" --faults "$tmp/raw3.tsv" --seed 5 --logs 14 --qsos 30 \
  --exchange rst-serial-region --missing-piece 3 --mixed-ext 20 --utf16 20 --utf8 20 --tabs 30 --odd-names 30 \
  --duplicates 1 > /dev/null
grep -q $'\tduplicate\t' "$tmp/raw3.tsv" && grep -q 'left out the first piece' "$tmp/raw3.tsv" ||
  fail "seed 5 should give a second copy and a piece left out"
cleaned_names "$tmp/raw3.tsv" "$tmp/raw3" "$tmp/clean3" > "$tmp/raw3.names"
compare "$tmp/raw3" "$tmp/clean3" "$tmp/raw3.names" region \
  --set 'QSOTemplate=freq mode date time mycall sent sent sent call rcvd rcvd rcvd tx'
# All three pieces are what was received: an exchange copied wrong is still an error of reception.
grep -q "$(printf 'ошибка приёма' | iconv -f UTF-8 -t CP1251)" "$tmp"/region.ubn-clean/* ||
  fail "no busted exchange was rejected with three pieces"

# 3. The serial alone.
"$gen" --out "$tmp/raw1" --clean "$tmp/clean1" --faults "$tmp/raw1.tsv" --seed 3 --logs 10 --qsos 25 \
  --exchange serial --tabs 40 --utf16 30 --odd-names 30 > /dev/null
cleaned_names "$tmp/raw1.tsv" "$tmp/raw1" "$tmp/clean1" > "$tmp/raw1.names"
compare "$tmp/raw1" "$tmp/clean1" "$tmp/raw1.names" serial --set 'QSOTemplate=freq mode date time mycall sent call rcvd tx'
[ "$(cat "$tmp/serial.raw.rc")" = 0 ] || fail "a contest whose logs all judge gives status $(cat "$tmp/serial.raw.rc")"

# 4. A log that cannot be read: every command names it and exits 2; the other logs are still judged,
# and it gets no report. (/proc/self/mem opens like a regular file and fails on reading.)
cp -r "$tmp/clean1" "$tmp/unreadable"
ln -s /proc/self/mem "$tmp/unreadable/Q0ZZ.CBR"
serial=(--set 'QSOTemplate=freq mode date time mycall sent call rcvd tx')
mkdir "$tmp/unreadable.ubn"
"$cli" ubn "$tmp/unreadable" --out "$tmp/unreadable.ubn" "${serial[@]}" > /dev/null 2> "$tmp/unreadable.err"; rc=$?
[ $rc = 2 ] || fail "ubn with an unreadable log gives status $rc, not 2"
[ "$(ls "$tmp/unreadable.ubn" | wc -l)" -eq "$(ls "$tmp/clean1" | wc -l)" ] && [ ! -e "$tmp/unreadable.ubn/Q0ZZ.UBN" ] ||
  fail "ubn should write the report of every log but the unreadable one"
grep -q '^Q0ZZ.CBR: .*Q0ZZ.CBR' "$tmp/unreadable.err" || fail "ubn should name the unreadable log: $(cat "$tmp/unreadable.err")"
"$cli" standings "$tmp/unreadable" --format csv "${serial[@]}" > "$tmp/unreadable.csv" 2> "$tmp/unreadable.err"; rc=$?
[ $rc = 2 ] || fail "standings with an unreadable log give status $rc, not 2"
[ "$(grep -c . "$tmp/unreadable.err")" = 1 ] && grep -q '^Q0ZZ.CBR: ' "$tmp/unreadable.err" ||
  fail "standings should name the unreadable log once: $(cat "$tmp/unreadable.err")"
[ "$(tail -n 1 "$tmp/unreadable.csv" | cut -d, -f1,2)" = "-,Q0ZZ.CBR" ] || fail "the unreadable log should stand last without a place"
diff <(grep -v Q0ZZ "$tmp/unreadable.csv") "$tmp/serial.standings-clean" > /dev/null ||
  fail "an unreadable log should change no other log's result"
"$cli" check "$tmp/unreadable" Q0ZZ.CBR "${serial[@]}" > "$tmp/unreadable.out" 2>/dev/null; rc=$?
[ $rc = 2 ] && [ ! -s "$tmp/unreadable.out" ] || fail "check of an unreadable log gives status $rc and prints no report"

# 5. A clean contest judges the same with the new keys absent, set to their defaults, or turned on.
mkdir "$tmp/example"
cp "$contest"/* "$tmp/example/"
results() { # the standings, every UBN report and the stations without a log
  local out=$tmp/example.out.$1
  shift
  mkdir -p "$out"
  "$cli" standings "$tmp/example" --format csv "$@" 2>/dev/null
  "$cli" ubn "$tmp/example" --out "$out" "$@" > /dev/null 2>&1
  cat "$out"/*
  "$cli" absent "$tmp/example" "$@"
  "$cli" search "$tmp/example" Q2 "$@"
}
results absent > "$tmp/example.absent"
results defaults --set FindLogByCallSign=0 --set QSOSplitTabs=0 \
  --set 'QSOTemplate=freq mode date time mycall sent sent call rcvd rcvd' > "$tmp/example.defaults"
results on "${arrived[@]}" > "$tmp/example.on"
[ "$(grep -c 'CLAIMED-SCORE' "$tmp/example.absent")" -gt 20 ] || fail "the example gave no reports"
cmp -s "$tmp/example.absent" "$tmp/example.defaults" || fail "the new keys at their defaults change the example's results"
cmp -s "$tmp/example.absent" "$tmp/example.on" || fail "the new settings change the results of the clean example"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "arrival judging: all checks passed"
