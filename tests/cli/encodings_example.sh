#!/usr/bin/env bash
# The example contest with its logs re-encoded as participants' programs save them (UTF-16 little and big
# endian, UTF-8 with and without a byte-order mark) judges exactly as the Windows-1251 original: the
# same standings, UBN reports, stations without a log and log list.
# Usage: encodings_example.sh ZELKON_CLI SOURCE_DIR
set -u
export LC_ALL=C
cli=$1
contest=$2/examples/contest
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mkdir "$tmp/plain" "$tmp/encoded" "$tmp/ubn-plain" "$tmp/ubn-encoded"
cp "$contest"/* "$tmp/plain/"
n=0
for f in "$contest"/*; do
  name=$(basename "$f")
  case $((n % 4)) in
    0) iconv -f CP1251 -t UTF-16 "$f" > "$tmp/encoded/$name" ;; # with a byte-order mark
    1) iconv -f CP1251 -t UTF-16BE "$f" > "$tmp/encoded/$name" ;;
    2) { printf '\xef\xbb\xbf'; iconv -f CP1251 -t UTF-8 "$f"; } > "$tmp/encoded/$name" ;;
    3) iconv -f CP1251 -t UTF-8 "$f" > "$tmp/encoded/$name" ;;
  esac
  n=$((n + 1))
done
cmp -s "$contest/Q1HH.CBR" "$tmp/encoded/Q1HH.CBR" && fail "the logs were not re-encoded"

for set in "" "--set NoFileIncludeResults=1"; do
  diff <("$cli" standings "$tmp/plain" $set) <("$cli" standings "$tmp/encoded" $set) > /dev/null ||
    fail "standings differ ($set)"
done
diff <("$cli" absent "$tmp/plain") <("$cli" absent "$tmp/encoded") > /dev/null || fail "stations without a log differ"
diff <("$cli" list "$tmp/plain") <("$cli" list "$tmp/encoded") > /dev/null || fail "log lists differ"
diff <("$cli" search "$tmp/plain" Q2AAO) <("$cli" search "$tmp/encoded" Q2AAO) > /dev/null || fail "searches differ"
# Status 2 both times: the example's Q5GOT.CBR has no CALLSIGN:.
"$cli" ubn "$tmp/plain" --out "$tmp/ubn-plain" > /dev/null 2>&1; [ $? = 2 ] || fail "ubn of the plain logs failed"
"$cli" ubn "$tmp/encoded" --out "$tmp/ubn-encoded" > /dev/null 2>&1; [ $? = 2 ] || fail "ubn of the encoded logs failed"
[ "$(ls "$tmp/ubn-plain" | wc -l)" -gt 10 ] || fail "UBN reports were not written"
diff -r "$tmp/ubn-plain" "$tmp/ubn-encoded" > /dev/null || fail "UBN reports differ"
grep -l $'\xef\xbb\xbf' "$tmp/ubn-encoded"/* > /dev/null && fail "a byte-order mark reached a report"
[ "$(cat "$tmp/ubn-encoded"/* | tr -cd '\000' | wc -c)" -eq 0 ] || fail "a zero byte reached a report"

[ $failures = 0 ] && echo "all passed"
exit $((failures > 0))
