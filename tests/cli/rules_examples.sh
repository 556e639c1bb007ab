#!/usr/bin/env bash
# The contests of examples/rules are what the zelkgen command in their README makes, byte for byte, and
# their scripts compile with the script editor's check.
# Usage: bash rules_examples.sh PATH-TO-ZELKON-CLI SOURCE-DIR
set -euo pipefail
export LC_ALL=C
cli=$1
src=$2
source "$(dirname "$0")/lib/zelkgen_setup.bash"

for name in serial region; do
  dir=examples/rules/$name
  cmdline=$(grep -m1 -E "^[^ ]*zelkgen --out $dir/contest " "$src/$dir/README.md" || true)
  [ -n "$cmdline" ] || { fail "$dir/README.md shows no 'zelkgen --out $dir/contest ...' line"; continue; }
  read -r -a args <<<"${cmdline#*zelkgen }"
  for i in "${!args[@]}"; do
    [ "${args[$i]}" = "$dir/contest" ] && args[$i]=$tmp/$name
  done
  "$gen" "${args[@]}" >/dev/null
  for f in "$src/$dir/contest"/*; do
    base=$(basename "$f")
    [ "$base" = zelk.ini ] && continue
    cmp -s "$f" "$tmp/$name/$base" || fail "$dir/contest/$base differs from what the README's command makes"
  done
  [ "$(ls "$tmp/$name" | wc -l)" -eq "$(ls "$src/$dir/contest" | grep -vc '^zelk.ini$')" ] ||
    fail "$dir/contest does not hold the logs the README's command makes"
  grep -q '^QSOTemplate=' "$src/$dir/contest/zelk.ini" || fail "$dir/contest/zelk.ini sets no QSOTemplate"
  for script in "$src/$dir/scripts"/*.txt; do
    "$cli" compile "$script" >/dev/null || fail "$(basename "$script") of $dir does not compile"
  done
done

[ "$failures" -eq 0 ] || exit 1
echo "rules_examples: ok"
