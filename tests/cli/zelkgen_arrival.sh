#!/usr/bin/env bash
# zelkgen's logs as they arrive: --out holds them as the participants send them (mixed extensions, odd
# names, second copies, UTF-8 and UTF-16, tabs), --clean the same contest as a judge cleans it by hand.
# Every arrived log, decoded and re-spaced, is its cleaned log; "zelkon-cli problems" finds each form the
# fault list names, and the settings it names leave only what no setting mends.
# Usage: bash zelkgen_arrival.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -euo pipefail
export LC_ALL=C
cli=$1
source "$(dirname "$0")/lib/zelkgen_setup.bash"

"$gen" --out "$tmp/raw" --clean "$tmp/clean" --faults "$tmp/f.tsv" --seed 11 --logs 30 --qsos 40 --portable 6 \
  --no-callsign 2 --missing-piece 1 --mixed-ext 20 --utf16 15 --utf8 15 --tabs 20 --odd-names 30 --duplicates 2 >/dev/null
faults=$tmp/f.tsv
for v in mixed-ext odd-name encoding tabs duplicate; do
  [ "$(awk -F '\t' -v v=$v '$3 == v' "$faults" | wc -l)" -gt 0 ] || fail "no $v in the fault list"
done
grep -q $'\tencoding\tUTF-16 BE' "$faults" && grep -q $'\tencoding\tUTF-8 with BOM' "$faults" ||
  fail "UTF-16 BE and UTF-8 with a byte-order mark should both be there with seed 11"
grep -q $'_p.CBR\t-\todd-name' "$faults" || fail "no /P station named CALL_p.CBR with seed 11"
grep -q $' .[A-Za-z]*\t-\todd-name' "$faults" || fail "no log with a blank before the dot with seed 11"

# The cleaned name of every arrived file ("-" for a second copy) and its encoding, "=" where the fault
# list has nothing to say (an empty field would vanish between two tabs).
awk -F '\t' '$2 != "-" { next }
             { all[$1] = 1 }
             $4 ~ /; cleaned: / { c = $4; sub(/.*; cleaned: /, "", c); clean[$1] = c }
             $3 == "duplicate" { clean[$1] = "-" }
             $3 == "encoding" { enc[$1] = $4 }
             END { for (f in all) print f "\t" (f in clean ? clean[f] : "=") "\t" (f in enc ? enc[f] : "=") }' \
  "$faults" > "$tmp/names"
logs=$(ls "$tmp/clean" | wc -l)
[ "$logs" -eq 30 ] || fail "30 cleaned logs wanted, $logs written"
[ "$(ls "$tmp/raw" | wc -l)" -eq 32 ] || fail "30 logs and 2 copies wanted in --out"

# Each arrived log, decoded and with tabs and no-break spaces as blanks, is its cleaned log.
respace() { sed -e 's/\t/ /g' -e 's/\xa0/ /g' -e 's/  */ /g'; }
decode() {
  case "$2" in
    "UTF-16 LE with BOM") tail -c +3 "$1" | iconv -f UTF-16LE -t CP1251 ;;
    "UTF-16 BE with BOM") tail -c +3 "$1" | iconv -f UTF-16BE -t CP1251 ;;
    "UTF-16 LE") iconv -f UTF-16LE -t CP1251 "$1" ;;
    "UTF-16 BE") iconv -f UTF-16BE -t CP1251 "$1" ;;
    "UTF-8 with BOM") tail -c +4 "$1" | iconv -f UTF-8 -t CP1251 ;;
    "UTF-8") iconv -f UTF-8 -t CP1251 "$1" ;;
    *) cat "$1" ;;
  esac
}
for f in "$tmp/raw"/*; do
  name=$(basename "$f")
  cleaned=$(awk -F '\t' -v n="$name" '$1 == n { print $2 }' "$tmp/names")
  encoding=$(awk -F '\t' -v n="$name" '$1 == n { print $3 }' "$tmp/names")
  [ -n "$cleaned" ] && [ "$cleaned" != "=" ] || cleaned=$name
  if [ "$cleaned" = "-" ]; then
    original=$(awk -F '\t' -v n="$name" '$1 == n && $3 == "duplicate" { sub(/^a second copy of /, "", $4); print $4 }' "$faults")
    cmp -s "$f" "$tmp/raw/$original" || fail "$name is not a copy of $original"
    continue
  fi
  [ -f "$tmp/clean/$cleaned" ] || { fail "$name has no cleaned log $cleaned"; continue; }
  cmp -s <(decode "$f" "$encoding" | respace) <(respace < "$tmp/clean/$cleaned") ||
    fail "$name read as text is not its cleaned log $cleaned"
done
# The cleaned logs are plain: Windows-1251 bytes, blanks only.
grep -lP '\t|\x00|^\xef\xbb\xbf' "$tmp/clean"/* >/dev/null && fail "a cleaned log has tabs, zero bytes or a byte-order mark"

# What "problems" should find for each arrived file: one word per kind, from the fault list.
expected() { # $1: 1 when FindLogByCallSign and QSOSplitTabs are on
  awk -F '\t' -v set="$1" '
    $2 == "-" && $3 == "odd-name" && !set { k[$1 "\tname"] = 1 }
    $2 == "-" && $3 == "encoding" { k[$1 "\tencoding"] = 1 }
    $2 == "-" && $3 == "tabs" && !set { k[$1 "\ttabs"] = 1 }
    $2 == "-" && $3 == "no-callsign" { k[$1 "\tno-callsign"] = 1 }
    $2 != "-" && $3 == "no-file" && $4 ~ /^left out/ { k[$1 "\tnot-a-call"] = 1 }
    $2 == "-" && $3 == "tabs" { tabbed[$1] = 1 }
    $2 == "-" && $3 == "duplicate" { copy[$1] = $4; sub(/^a second copy of /, "", copy[$1]); k[$1 "\tduplicate"] = 1
                                     if (!set) k[$1 "\tname"] = 1 }
    END {
      # In a log whose pieces run together that explains the rest of its lines.
      if (!set) for (f in tabbed) delete k[f "\tnot-a-call"]
      for (c in copy) for (key in k) { split(key, p, "\t"); if (p[1] == copy[c] && p[2] != "name") k[c "\t" p[2]] = 1 }
      for (key in k) print key
    }' "$faults" | sort
}
found() {
  "$cli" problems "$@" | awk -F '\t' '
    $2 ~ /не совпадает с именем файла/ { print $1 "\tname" }
    $2 ~ /^кодировка/ { print $1 "\tencoding" }
    $2 ~ /^табуляция/ { print $1 "\ttabs" }
    $2 ~ /^нет или пустой/ { print $1 "\tno-callsign" }
    $2 ~ /на месте позывного не позывной/ { print $1 "\tnot-a-call" }
    $2 ~ /^тот же CALLSIGN/ { print $1 "\tduplicate" }
    { n++ } END { if (n == 0) print "nothing" }' | sort
}
mask='FilesMask=*.CBR;*.LOG'
diff <(expected 0) <(found "$tmp/raw" --set "$mask") || fail "problems of the arrived logs differ from the fault list"
diff <(expected 1) <(found "$tmp/raw" --set "$mask" --set FindLogByCallSign=1 --set QSOSplitTabs=1) ||
  fail "with the settings only what no setting mends should be left"
diff <(expected 1 | awk -F '\t' '$2 == "no-callsign" || $2 == "not-a-call"' | while IFS=$'\t' read -r f k; do
         c=$(awk -F '\t' -v n="$f" '$1 == n && $2 != "=" { print $2 }' "$tmp/names"); printf '%s\t%s\n' "${c:-$f}" "$k"
       done | grep -v $'^-\t' | sort) \
     <(found "$tmp/clean") || fail "the cleaned logs should have only the logs without CALLSIGN: and the missing pieces"

# Both masks list every arrived file; *.CBR alone leaves the .log and .LOG ones out.
[ "$("$cli" list "$tmp/raw" --set "$mask" | wc -l)" -eq 32 ] || fail "*.CBR;*.LOG lists all 32 files"
[ "$("$cli" list "$tmp/raw" | wc -l)" -eq "$(ls "$tmp/raw" | grep -vic '\.log$')" ] ||
  fail "*.CBR lists the files that are no .log"

# The cleaned copy goes into a folder of its own, and the forms cost no contact: --out without them is
# --clean byte for byte.
set +e
"$gen" --out "$tmp/same" --clean "$tmp/same/" --logs 3 --qsos 5 >/dev/null 2>&1
rc=$?
set -e
[ "$rc" -eq 2 ] || fail "--clean into the --out folder gave exit status $rc, not 2"
"$gen" --out "$tmp/plain" --faults "$tmp/plain.tsv" --seed 11 --logs 30 --qsos 40 --portable 6 --no-callsign 2 \
  --missing-piece 1 >/dev/null
diff -r "$tmp/plain" "$tmp/clean" >/dev/null || fail "the cleaned copy differs from the contest made without arrival forms"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "zelkgen arrival: all checks passed"
