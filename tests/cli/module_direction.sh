#!/usr/bin/env bash
# The core modules include one another in one direction only, logs <- settings <- script <- judge <-
# reports, and none of them includes the command line or the window; the judging modules reach no
# process-wide object of the program's edge (the settings object Vars(), the installed message boxes).
# The check also runs on planted faults, so that it is known to catch them.
# Usage: module_direction.sh ZELKON_CLI SOURCE_DIR
set -u
src=$2/src
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

modules=(logs settings script judge reports)

# Prints every offending line of the tree at $1; exits non-zero when there is one.
check_tree() {
  local root=$1 found=0 rank line
  for rank in "${!modules[@]}"; do
    local module=${modules[$rank]} banned=(cli ui app)
    banned+=("${modules[@]:$((rank + 1))}")
    [ -d "$root/$module" ] || continue
    for other in "${banned[@]}"; do
      while IFS= read -r line; do
        echo "  $module includes $other: $line"
        found=1
      done < <(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]+\"$other/" "$root/$module" \
                 --include='*.h' --include='*.cpp')
    done
  done
  for module in logs script judge reports; do
    [ -d "$root/$module" ] || continue
    while IFS= read -r line; do
      echo "  $module reaches the program's edge: $line"
      found=1
    done < <(grep -rnE '#[[:space:]]*include[[:space:]]+"settings/global_vars\.h"|(^|[^.>[:alnum:]_])(Vars|ResetVars|Messages|SetMessages|Scripts|ResetScripts|SetScriptFolder)[[:space:]]*\(' \
               "$root/$module" --include='*.h' --include='*.cpp' | grep -vE ':[0-9]+:[[:space:]]*//')
  done
  return $found
}

check_tree "$src" || fail "the core's modules break their direction (see above)"

# Planted faults: each must be found.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
plant() {
  local file=$1 text=$2
  rm -rf "$tmp/src"
  mkdir -p "$tmp/src/$(dirname "$file")"
  printf '%s\n' "$text" > "$tmp/src/$file"
  if check_tree "$tmp/src" >/dev/null; then fail "not caught: $file: $text"; fi
}
plant logs/contest.cpp '#include "settings/global_vars.h"'
plant settings/ini_file.cpp '#include "script/script_value.h"'
plant script/x.h '  #include "judge/judge.h"'
plant judge/x.cpp '#include "reports/ubn_report.h"'
plant reports/x.cpp '#include "ui/explorer.h"'
plant judge/x.cpp 'const int m = Vars().MaxMinutesDifference;'
plant script/x.cpp '    Messages().Plain(text);'
plant reports/x.cpp 'GetTotal(Scripts(), file);'
# What the direction allows passes.
rm -rf "$tmp/src"
mkdir -p "$tmp/src/reports" "$tmp/src/settings"
printf '%s\n' '#include "judge/judge.h"' '#include "logs/text.h"' 'judging.Scripts.ResetFailed();' \
  'scripts->Messages();' > "$tmp/src/reports/x.cpp"
printf '%s\n' '#include "logs/text.h"' 'TZelkGlobalVars& Vars();' > "$tmp/src/settings/x.cpp"
check_tree "$tmp/src" >/dev/null || fail "allowed includes and member calls are reported"

[ "$failures" = 0 ] && echo "module direction: all checks passed"
exit "$failures"
