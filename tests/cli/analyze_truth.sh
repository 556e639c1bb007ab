#!/usr/bin/env bash
# analyze --format tsv on a contest zelkgen made with known faults (not-in-log contacts, calls miscopied
# on either side, exchanges miscopied, time shifts, clocks off by whole minutes, uniques and stations
# without a log): at least 98 % of the faults get the class zelkgen put in, no clean contact is named,
# the figures of every log agree, and every clock offset is recovered to the minute. analyze without
# --format writes one log checking report per log, in Windows-1251 with CR LF line ends.
# Usage: bash analyze_truth.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -euo pipefail
export LC_ALL=C
cli=$1
source "$(dirname "$0")/lib/zelkgen_setup.bash"

check_seed() {
  local seed=$1 dir=$tmp/c$1
  "$gen" --out "$dir" --truth --seed "$seed" --logs 40 --qsos 80 --absent 3 --rare 5 --no-callsign 1 \
    --portable 2 --busted 3 --time-shift 2 --dupes 2 --nil 3 --busted-call 3 --missing-piece 1 \
    --clock-offsets 4 >/dev/null
  "$cli" analyze "$dir" --format tsv >"$tmp/got$seed"
  awk -F '\t' -v seed="$seed" '
    FILENAME == ARGV[1] {
      if ($1 ~ /^#/) next
      if ($2 == "SUMMARY") { wantSum[$1] = $3 "\t" $4 "\t" $5 "\t" $6; next }
      if ($2 == "CLOCK") { clock[$1] = $3; next }
      want[$1 "\t" $2] = $3 "\t" $4; faults++; kinds[$3]++
      next
    }
    $2 == "SUMMARY" { gotSum[$1] = $3 "\t" $4 "\t" $5 "\t" $6; offset[$1] = $6; next }
    {
      key = $1 "\t" $2
      if (!(key in want)) { print "FAIL: seed " seed ": " key " is clean but was classed " $3 " " $4; bad++; next }
      if (want[key] == $3 "\t" $4) right++
      else print "note: seed " seed ": " key " classed " $3 " " $4 ", made as " want[key]
      seen[key] = 1
    }
    END {
      for (k in want) if (!(k in seen)) print "note: seed " seed ": " k " (" want[k] ") not listed"
      for (f in wantSum) {
        if (!(f in gotSum)) { print "FAIL: seed " seed ": no SUMMARY line for " f; bad++ }
        else if (gotSum[f] != wantSum[f]) { print "FAIL: seed " seed ": " f " SUMMARY " gotSum[f] ", expected " wantSum[f]; bad++ }
      }
      for (f in gotSum) if (!(f in wantSum)) { print "FAIL: seed " seed ": SUMMARY for unknown log " f; bad++ }
      nclock = 0
      for (f in clock) {
        nclock++
        if (offset[f] != clock[f]) { print "FAIL: seed " seed ": clock of " f " is " clock[f] " minutes off, found " offset[f]; bad++ }
      }
      for (f in offset) if (!(f in clock) && offset[f] != "0" && offset[f] != "-") { print "FAIL: seed " seed ": " f " has an offset of " offset[f] " but a right clock"; bad++ }
      if (nclock != 4) { print "FAIL: seed " seed ": " nclock " clocks put off, 4 wanted"; bad++ }
      for (k in kinds) if (k != "EXCHANGE-MINE" && k != "NIL" && k != "TIME" && k != "BUSTED-CALL" && k != "BUSTED-BY-PARTNER" && k != "UNIQUE" && k != "NO-LOG") { print "FAIL: unknown class " k " in the truth"; bad++ }
      split("EXCHANGE-MINE NIL TIME BUSTED-CALL BUSTED-BY-PARTNER UNIQUE NO-LOG", all, " ")
      for (i in all) if (!(all[i] in kinds)) { print "FAIL: seed " seed ": the contest has no " all[i] " fault"; bad++ }
      if (faults < 100) { print "FAIL: seed " seed ": only " faults " faults made"; bad++ }
      if (right * 100 < faults * 98) { print "FAIL: seed " seed ": " right " of " faults " faults classed right, below 98 %"; bad++ }
      exit bad > 0
    }' "$dir/truth.tsv" "$tmp/got$seed" || fail "seed $seed"
}

check_seed 7
check_seed 1234

# The reports: one per log, named with LCRExt, beside the UBN reports or in --out.
dir=$tmp/c7
mkdir "$tmp/lcr"
"$cli" analyze "$dir" --out "$tmp/lcr" >"$tmp/written"
logs=$(ls "$dir" | grep -ci '\.cbr$')
[ "$(ls "$tmp/lcr" | grep -c '\.LCR$')" -eq "$logs" ] || fail "not one .LCR report per log"
[ "$(wc -l <"$tmp/written")" -eq "$logs" ] || fail "analyze printed $(wc -l <"$tmp/written") paths for $logs logs"
one=$(ls "$tmp/lcr" | head -1)
grep -q $'\xd2\xee\xf7\xed\xee\xf1\xf2\xfc:' "$tmp/lcr/$one" || fail "$one holds no accuracy line in Windows-1251"
[ "$(grep -c $'\r$' "$tmp/lcr/$one")" -eq "$(wc -l <"$tmp/lcr/$one")" ] || fail "$one has lines without CR LF"
"$cli" analyze "$dir" "$one" --set LCRExt=.TXT --out "$tmp/lcr" >/dev/null 2>&1 && fail "a report name was taken as a log"
first=$(ls "$dir" | grep -i '\.cbr$' | head -1)
"$cli" analyze "$dir" "$first" --set LCRExt=.TXT --out "$tmp/lcr" >/dev/null
[ -f "$tmp/lcr/${first%.*}.TXT" ] || fail "LCRExt=.TXT did not name the report"
"$cli" analyze "$dir" --format xml >/dev/null 2>&1 && fail "--format xml was accepted"

# The standings by category: the totals of the plain standings, the confirmed contacts of the analysis,
# places from 1 in each table.
# The contest has a log without CALLSIGN:, so both exit 2 after printing every table.
status=0
"$cli" standings "$dir" --format csv >"$tmp/plain.csv" 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "standings exited $status, not 2, on a contest with a log without CALLSIGN:"
status=0
"$cli" standings "$dir" --by-category --format csv --set CategoryTags=CATEGORY-ASSISTED >"$tmp/bycat.csv" \
  2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "standings --by-category exited $status, not 2"
awk -F ',' -v dir="$dir" '
  FNR == 1 { file++ }
  file == 1 { if (FNR > 1) total[$2] = $5; next }
  file == 2 { if ($2 == "SUMMARY") confirmed[toupper($1)] = $4; next }
  FNR == 1 { next }
  {
    rows++; cats[$1] = 1
    if (total[$3] != $6) { print "FAIL: by category: " $3 " total " $6 ", plain standings " total[$3]; bad++ }
    if (confirmed[toupper($3)] != $7 && $2 != "-") { print "FAIL: by category: " $3 " confirmed " $7 ", analyze " confirmed[toupper($3)]; bad++ }
    if (!($1 in first)) { first[$1] = $2; if ($2 != "1") { print "FAIL: by category: " $1 " starts at place " $2; bad++ } }
  }
  END {
    n = 0; for (c in cats) n++
    if (n < 2) { print "FAIL: by category: " n " categories, 2 wanted"; bad++ }
    if (rows != 40) { print "FAIL: by category: " rows " rows for 40 logs"; bad++ }
    exit bad > 0
  }' "$tmp/plain.csv" FS='\t' "$tmp/got7" FS=',' "$tmp/bycat.csv" || fail "standings --by-category"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "analyze against the truth: all checks passed"
