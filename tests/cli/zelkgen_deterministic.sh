#!/usr/bin/env bash
# zelkgen makes the same folder from the same options and seed, a different one from another seed,
# keeps its random streams apart (a fault rate changes nothing but the faulty records), and the
# command written in examples/README.md makes examples/contest and examples/faults.tsv byte for byte.
# Usage: bash zelkgen_deterministic.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -euo pipefail
export LC_ALL=C
cli=$1
src=$2
source "$(dirname "$0")/lib/zelkgen_setup.bash"

opts=(--logs 40 --qsos 60 --absent 4 --rare 2 --no-callsign 2 --portable 2 --busted 4 --time-shift 3 --dupes 3 --nil 3)
"$gen" --out "$tmp/a" --faults "$tmp/a.tsv" --seed 42 "${opts[@]}" >/dev/null
"$gen" --out "$tmp/b" --faults "$tmp/b.tsv" --seed 42 "${opts[@]}" >/dev/null
"$gen" --out "$tmp/c" --faults "$tmp/c.tsv" --seed 43 "${opts[@]}" >/dev/null
[ "$(ls "$tmp/a" | wc -l)" -eq 40 ] || fail "40 logs wanted, $(ls "$tmp/a" | wc -l) written"
diff -r "$tmp/a" "$tmp/b" >/dev/null || fail "the same seed gave different logs"
cmp -s "$tmp/a.tsv" "$tmp/b.tsv" || fail "the same seed gave different fault lists"
diff -r "$tmp/a" "$tmp/c" >/dev/null && fail "seeds 42 and 43 gave the same logs"
cmp -s "$tmp/a.tsv" "$tmp/c.tsv" && fail "seeds 42 and 43 gave the same fault lists"

# A seed beyond 32 bits is taken whole, not cut down.
"$gen" --out "$tmp/s1" --seed 4294967338 --logs 5 --qsos 20 >/dev/null
"$gen" --out "$tmp/s2" --seed 42 --logs 5 --qsos 20 >/dev/null
diff -r "$tmp/s1" "$tmp/s2" >/dev/null && fail "seed 4294967338 behaved like seed 42"

# Raising the busted-exchange rate changes received exchanges only, and exactly in the listed records.
"$gen" --out "$tmp/b0" --faults "$tmp/b0.tsv" --seed 42 "${opts[@]}" --busted 0 >/dev/null
"$gen" --out "$tmp/b9" --faults "$tmp/b9.tsv" --seed 42 "${opts[@]}" --busted 9 >/dev/null
changed=0
for f in "$tmp/b0"/*; do
  name=$(basename "$f")
  [ -f "$tmp/b9/$name" ] || { fail "--busted renamed $name"; continue; }
  # Lines that differ, with the received serial blanked out, must be equal.
  if ! diff <(sed -E 's/599 [0-9]+ +0(\r?)$/599 ### 0\1/' "$f") \
            <(sed -E 's/599 [0-9]+ +0(\r?)$/599 ### 0\1/' "$tmp/b9/$name") >/dev/null; then
    fail "--busted changed more than received exchanges in $name"
  fi
  changed=$((changed + $(diff "$f" "$tmp/b9/$name" | grep -c '^>' || true)))
done
extra=$(( $(grep -c $'\treceive-error\t' "$tmp/b9.tsv" || true) - $(grep -c $'\treceive-error\t' "$tmp/b0.tsv" || true) ))
[ "$changed" -gt 0 ] || fail "--busted 9 changed nothing"
[ "$changed" -eq "$extra" ] || fail "--busted 9 changed $changed lines but lists $extra more busted exchanges"

# The example as documented.
cmdline=$(grep -m1 -E '^[^ ]*zelkgen --out examples/contest ' "$src/examples/README.md" || true)
[ -n "$cmdline" ] || { fail "examples/README.md shows no 'zelkgen --out examples/contest ...' line"; exit 1; }
read -r -a args <<<"${cmdline#*zelkgen }"
for i in "${!args[@]}"; do
  case "${args[$i]}" in
    examples/contest) args[$i]=$tmp/example ;;
    examples/faults.tsv) args[$i]=$tmp/example.tsv ;;
  esac
done
"$gen" "${args[@]}" >/dev/null
diff -r "$src/examples/contest" "$tmp/example" || fail "the documented command does not make examples/contest"
cmp "$src/examples/faults.tsv" "$tmp/example.tsv" || fail "the documented command does not make examples/faults.tsv"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "zelkgen determinism: all checks passed"
