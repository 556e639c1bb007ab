#!/usr/bin/env bash
# Judges contests made by zelkgen with a small independent re-statement of the default judging rules
# (confirmation by Call, Mode and Freq; received exchange against what the other sent; times within 3
# minutes; a repeat is an earlier record with the same Freq, Mode and Call; no log file means "no file")
# and checks that exactly the records listed in the fault list are rejected, each for the listed reason.
# Also checks the form of the logs: header and end lines, serials counting up, line ends.
# Usage: bash zelkgen_faults.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -euo pipefail
export LC_ALL=C
cli=$1
src=$2
source "$(dirname "$0")/lib/zelkgen_setup.bash"

# Prints "file<TAB>qso<TAB>verdict<TAB>call" for every record of every log that has a CALLSIGN: line;
# the verdict is "ok" or the reasons joined by "+".
judge() {
  awk '
    function trim(s) { sub(/^[ \t\r]+/, "", s); sub(/[ \t\r]+$/, "", s); return s }
    function days(y, m, d) { if (m <= 2) { y--; m += 12 } return 365 * y + int(y / 4) - int(y / 100) + int(y / 400) + int((153 * (m - 3) + 2) / 5) + d }
    function moment(date, time) {
      return days(substr(date, 1, 4) + 0, substr(date, 6, 2) + 0, substr(date, 9, 2) + 0) * 1440 + substr(time, 1, 2) * 60 + substr(time, 3, 2)
    }
    function apart(a, b) { return a > b ? a - b : b - a }
    FNR == 1 {
      nf++; name = FILENAME; sub(/.*\//, "", name); file[nf] = name
      key = toupper(name); sub(/\.CBR$/, "", key); byKey[key] = nf; owner[nf] = ""; n[nf] = 0
    }
    {
      line = trim($0); if (line == "") next
      u = toupper(line)
      if (substr(u, 1, 4) == "QSO:") {
        k = ++n[nf]; split(substr(line, 5), p, " ")
        F[nf, k] = toupper(p[1]); M[nf, k] = toupper(p[2]); C[nf, k] = toupper(p[8])
        S[nf, k] = toupper(p[6] " " p[7]); R[nf, k] = toupper(p[9] " " p[10]); T[nf, k] = moment(p[3], p[4])
      } else if (owner[nf] == "" && substr(u, 1, 9) == "CALLSIGN:") {
        owner[nf] = toupper(trim(substr(line, 10)))
      }
    }
    END {
      for (f = 1; f <= nf; f++) {
        if (owner[f] == "") continue
        for (k = 1; k <= n[f]; k++) {
          base = C[f, k]; sub(/\/.*/, "", base)
          if (!(base in byKey)) { print file[f] "\t" k "\tno-file\t" C[f, k]; continue }
          g = byKey[base]; kept = 0; found = 0
          for (j = 1; j <= n[g] && !found; j++) {
            if (C[g, j] != owner[f] || M[g, j] != M[f, k] || F[g, j] != F[f, k]) continue
            kept = j
            found = R[f, k] == S[g, j] && apart(T[f, k], T[g, j]) <= 3
          }
          if (!kept) { print file[f] "\t" k "\tnot-confirmed\t" C[f, k]; continue }
          v = ""
          if (!found) {
            if (R[f, k] != S[g, kept]) v = v "+receive-error"
            if (apart(T[f, k], T[g, kept]) > 3) v = v "+time-mismatch"
          }
          for (j = 1; j < k; j++)
            if (F[f, j] == F[f, k] && M[f, j] == M[f, k] && C[f, j] == C[f, k]) { v = v "+repeat"; break }
          print file[f] "\t" k "\t" (v == "" ? "ok" : substr(v, 2)) "\t" C[f, k]
        }
      }
    }' "$1"/*
}

# Compares the verdicts with the fault list: unlisted records must be accepted. Fails when any differs.
compare() {
  local dir=$1 faults=$2 label=$3
  judge "$dir" > "$tmp/verdicts"
  awk -F '\t' -v label="$label" '
    FILENAME == ARGV[1] { if ($1 !~ /^#/ && $2 != "-") { want[$1 "\t" $2] = $3; listed++ } next }
    { key = $1 "\t" $2; w = (key in want) ? want[key] : "ok"; seen += (key in want)
      if ($3 != w) { print "FAIL: " label ": " $1 " QSO " $2 " judged " $3 ", expected " w; bad++ } }
    END { if (seen != listed) { print "FAIL: " label ": " listed - seen " listed records were not judged"; bad++ } exit bad > 0 }
  ' "$faults" "$tmp/verdicts"
}

# Number of faults of one verdict in a fault list.
count() { awk -F '\t' -v v="$2" '$3 == v { c++ } END { print c + 0 }' "$1"; }

# The form of every log: START-OF-LOG first, END-OF-LOG last, sent serials rising, line ends as listed.
check_form() {
  local dir=$1 faults=$2 label=$3
  awk -v label="$label" -v faults="$faults" '
    FILENAME == faults { if ($3 == "lf-only") lf[$1] = 1; next }
    function finish() {
      if (name == "") return
      if (first != "START-OF-LOG: 3.0") problem("does not start with START-OF-LOG: 3.0")
      if (last != "END-OF-LOG:") problem("does not end with END-OF-LOG:")
      if (falling) problem("has sent serials that do not count up")
      if ((name in lf) ? cr > 0 : cr < lines) problem((name in lf) ? "is listed as LF only but has CR" : "has lines without CR LF")
    }
    function problem(what) { print "FAIL: " label ": " name " " what; bad++ }
    FNR == 1 { finish(); name = FILENAME; sub(/.*\//, "", name); lines = 0; cr = 0; prev = 0; falling = 0 }
    {
      lines++; line = $0; if (sub(/\r$/, "", line)) cr++
      if (FNR == 1) first = line
      last = line
      # The sent serial follows the RST, or stands first where a line left the RST out.
      if (line ~ /^QSO:/) { split(line, p, " "); sent = p[7] == "599" ? p[8] : p[7]; if (sent + 0 <= prev) falling = 1; prev = sent + 0 }
    }
    END { finish(); exit bad > 0 }' FS='\t' "$faults" FS=' ' "$dir"/* || failures=$((failures + 1))
}

# The mention counts of stations without a log agree with the logs.
check_mentions() {
  local dir=$1 faults=$2 label=$3 call want got
  while IFS=$'\t' read -r call _ _ detail; do
    want=$(sed -E 's/.* in ([0-9]+) logs?$/\1/' <<<"$detail")
    got=$(grep -lEi "^QSO:.* ${call}(/P)? +599 " "$dir"/* | wc -l)
    [ "$got" -eq "$want" ] || fail "$label: $call is listed as worked in $want logs, the logs show $got"
  done < <(awk -F '\t' '$3 == "no-log"' "$faults")
}

# The bundled example: every kind of fault is there, and the judging agrees with its list.
ex=$src/examples
compare "$ex/contest" "$ex/faults.tsv" example || failures=$((failures + 1))
check_form "$ex/contest" "$ex/faults.tsv" example
check_mentions "$ex/contest" "$ex/faults.tsv" example
for v in receive-error time-mismatch repeat not-confirmed no-file no-callsign portable lower-case lf-only unknown-tag; do
  [ "$(count "$ex/faults.tsv" $v)" -gt 0 ] || fail "example: no $v in the fault list"
done
awk -F '\t' '$3 == "no-log" && $4 ~ / in ([3-9]|[1-9][0-9]+) logs$/ { ok = 1 } END { exit !ok }' "$ex/faults.tsv" ||
  fail "example: no station without a log is worked by 3 or more logs"

# examples/README.md tells the same: its table of rejected records is the fault list, and its results
# (score, multipliers, total; without and with conditional credit from 3 mentions) follow from the verdicts.
judge "$ex/contest" >"$tmp/example.verdicts"
awk -F '|' 'NF == 6 && $3 ~ /^ *[0-9]+ *$/ && $4 ~ /`.*; `/ { w = $4; gsub(/^ *`|; ` *$/, "", w); f = $2; q = $3; gsub(/ /, "", f); gsub(/ /, "", q); print f "\t" q "\t" w }' \
  "$ex/README.md" | sort >"$tmp/readme.rejected"
awk -F '\t' 'BEGIN { word["receive-error"] = "ошибка приёма"; word["time-mismatch"] = "время не совпадает"
                      word["repeat"] = "повтор"; word["not-confirmed"] = "нет подтв.связи"; word["no-file"] = "нет файла" }
              $2 != "-" && ($3 in word) { print $1 "\t" $2 "\t" word[$3] }' "$ex/faults.tsv" | sort >"$tmp/list.rejected"
diff "$tmp/readme.rejected" "$tmp/list.rejected" >/dev/null || fail "example: README's rejected records differ from faults.tsv"
awk -F '\t' '
  FILENAME == ARGV[1] { if ($3 == "no-log" && $4 ~ / in ([3-9]|[1-9][0-9]+) logs$/) credited[$1] = 1; next }
  FILENAME == ARGV[2] {
    ok = $3 == "ok"; cond = ok || ($3 == "no-file" && ($4 in credited))
    if (ok) { s[$1]++; if (!(($1, $4) in m)) { m[$1, $4] = 1; mu[$1]++ } }
    if (cond) { s2[$1]++; if (!(($1, $4) in m2)) { m2[$1, $4] = 1; mu2[$1]++ } }
    files[$1] = 1; next
  }
  NF == 10 && $2 ~ /\.(CBR|cbr)/ {
    f = $2; gsub(/ /, "", f); if (!(f in files)) next; rows++
    want = (s[f] + 0) "/" (mu[f] + 0) "/" (s[f] * mu[f]) "/" (s2[f] + 0) "/" (mu2[f] + 0) "/" (s2[f] * mu2[f])
    got = ($4 + 0) "/" ($5 + 0) "/" ($6 + 0) "/" ($7 + 0) "/" ($8 + 0) "/" ($9 + 0)
    if (got != want) { print "FAIL: example: README results of " f " are " got ", the verdicts give " want; bad++ }
  }
  END { n = 0; for (f in files) n++; if (rows != n) { print "FAIL: example: README has results for " rows " of " n " checked logs"; bad++ }
        exit bad > 0 }' "$ex/faults.tsv" "$tmp/example.verdicts" FS='|' "$ex/README.md" || failures=$((failures + 1))

# The comparison notices a fault the list does not name: one accepted record's exchange changed by hand.
cp -r "$ex/contest" "$tmp/tampered"
read -r victim qso < <(judge "$tmp/tampered" | awk -F '\t' '$3 == "ok" { print $1, $2; exit }')
awk -v n="$qso" '/^QSO:/ && ++k == n { sub(/599 [0-9]+ +0\r?$/, "599 999    0") } { print }' \
  "$ex/contest/$victim" > "$tmp/tampered/$victim"
compare "$tmp/tampered" "$ex/faults.tsv" tampered >/dev/null && fail "tampered: QSO $qso of $victim changed unnoticed"

# Larger contests with high fault rates, one over midnight on more bands.
"$gen" --out "$tmp/big" --faults "$tmp/big.tsv" --seed 99 --logs 60 --qsos 80 --absent 6 --rare 3 \
  --busted 5 --time-shift 4 --dupes 3 --nil 4 --no-callsign 3 --portable 4 --lower 20 --lf-only 30 >/dev/null
compare "$tmp/big" "$tmp/big.tsv" big || failures=$((failures + 1))
check_form "$tmp/big" "$tmp/big.tsv" big
check_mentions "$tmp/big" "$tmp/big.tsv" big
"$gen" --out "$tmp/night" --faults "$tmp/night.tsv" --seed 5 --logs 30 --qsos 60 --start 2230 --hours 3 \
  --bands 1.8,3.5,7,14,21,28 --busted 3 --time-shift 5 >/dev/null
compare "$tmp/night" "$tmp/night.tsv" night || failures=$((failures + 1))
grep -q ' 2026-02-15 ' "$tmp/night"/* || fail "night: no contact after midnight"

# Miscopied calls and clocks off by whole minutes: the default judging rejects what the list says.
"$gen" --out "$tmp/clocks" --faults "$tmp/clocks.tsv" --seed 8 --logs 40 --qsos 60 --portable 3 \
  --busted-call 5 --clock-offsets 5 >/dev/null
compare "$tmp/clocks" "$tmp/clocks.tsv" clocks || failures=$((failures + 1))
grep -q $'\tno-file\tmiscopied ' "$tmp/clocks.tsv" || fail "clocks: no miscopied call in the fault list"
grep -q $'\ttime-mismatch\tthe clocks of ' "$tmp/clocks.tsv" || fail "clocks: no clocks far apart in the fault list"

# With every rate 0 nothing is rejected except contacts with stations that sent no log.
"$gen" --out "$tmp/clean" --faults "$tmp/clean.tsv" --seed 3 --logs 25 --qsos 50 --absent 0 \
  --busted 0 --time-shift 0 --dupes 0 --nil 0 >/dev/null
judge "$tmp/clean" | awk -F '\t' '$3 != "ok" { print "FAIL: clean: " $1 " QSO " $2 " judged " $3; bad++ } END { exit bad > 0 }' ||
  failures=$((failures + 1))
[ "$(grep -vc '^#' "$tmp/clean.tsv" || true)" -eq "$(awk -F '\t' '$2 == "-"' "$tmp/clean.tsv" | wc -l)" ] ||
  fail "clean: the fault list names records although every rate is 0"

# Logs as they arrive, with exchange pieces left out: the cleaned copy judges as the fault list says, once
# its file names are those of the cleaned logs and the second copies are gone.
"$gen" --out "$tmp/arrived" --clean "$tmp/cleaned" --faults "$tmp/arrived.tsv" --seed 21 --logs 30 --qsos 50 \
  --portable 4 --no-callsign 2 --missing-piece 3 --mixed-ext 30 --odd-names 30 --duplicates 2 --utf16 20 --tabs 20 >/dev/null
awk -F '\t' 'NR == FNR { if ($2 == "-" && $4 ~ /; cleaned: /) { c = $4; sub(/.*; cleaned: /, "", c); to[$1] = c }
                          if ($3 == "duplicate") gone[$1] = 1; next }
              ($1 in gone) || $3 ~ /^(mixed-ext|odd-name|encoding|tabs|duplicate)$/ { next }
              { if ($1 in to) $1 = to[$1]; print }' OFS='\t' "$tmp/arrived.tsv" "$tmp/arrived.tsv" > "$tmp/cleaned.tsv"
compare "$tmp/cleaned" "$tmp/cleaned.tsv" cleaned || failures=$((failures + 1))
check_form "$tmp/cleaned" "$tmp/cleaned.tsv" cleaned
[ "$(awk -F '\t' '$3 == "no-file" && $4 ~ /^left out/' "$tmp/cleaned.tsv" | wc -l)" -gt 0 ] ||
  fail "cleaned: no exchange piece left out"

# The other exchange layouts: turned into RST and serial (a region is never miscopied), the logs judge as
# their fault list says; the lines hold the pieces their template names.
for layout in serial rst-serial-region; do
  "$gen" --out "$tmp/$layout" --faults "$tmp/$layout.tsv" --seed 8 --logs 25 --qsos 50 --exchange $layout \
    --busted 4 --time-shift 2 --nil 2 >/dev/null
  mkdir "$tmp/$layout.rst"
  for f in "$tmp/$layout"/*; do
    awk -v layout=$layout '!/^QSO:/ { print; next }
      layout == "serial" { print $1, $2, $3, $4, $5, $6, "599", $7, $8, "599", $9, $10; next }
      { print $1, $2, $3, $4, $5, $6, $7, $8, $10, $11, $12, $14 }' "$f" > "$tmp/$layout.rst/$(basename "$f")"
  done
  want=$([ $layout = serial ] && echo 10 || echo 14)
  awk -v want=$want '/^QSO:/ && NF != want { bad++ } END { exit bad > 0 }' "$tmp/$layout"/* ||
    fail "$layout: QSO lines without $want pieces"
  compare "$tmp/$layout.rst" "$tmp/$layout.tsv" $layout || failures=$((failures + 1))
done
grep -q $'receive-error\tcopied 599 [0-9]* [A-Z][A-Z] from' "$tmp/rst-serial-region.tsv" ||
  fail "rst-serial-region: the fault list writes exchanges as the logs do"

# The counts follow the rates: 5 % of some 2000 contacts are about 100 busted exchanges.
busted=$(count "$tmp/big.tsv" receive-error)
{ [ "$busted" -ge 60 ] && [ "$busted" -le 140 ]; } || fail "big: $busted busted exchanges for a rate of 5 %"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "zelkgen faults: all checks passed"
