# Sourced by the command-line checks that generate contests: finds zelkgen beside the zelkon-cli given
# as `cli`, makes a temporary folder `tmp` removed on exit, and counts failures with `fail`.
gen=""
for g in "$(dirname "$cli")/../tools/zelkgen" "$(dirname "$cli")/../tools/zelkgen/zelkgen"; do
  [ -f "$g" ] && [ -x "$g" ] && gen=$g && break
done
[ -n "$gen" ] || { echo "zelkgen not found beside $cli"; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
