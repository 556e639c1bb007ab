#!/bin/bash
# Mutation testing of the judging core: applies single-line changes one at a time to a scratch copy of the
# tree, builds the core tests, runs them, and reports which changes no test noticed ("survivors").
#
# Usage: tools/mutate/run.sh [--rev REV] [--list FILE] [--check] [ID...]
#   --rev REV    the revision to copy (default HEAD; uncommitted edits are not part of the copy)
#   --list FILE  the list of mutations (default tools/mutate/mutations.txt)
#   --check      only tell which mutations apply to the revision, without building
#   ID...        only these mutations (default: all of the list)
# The scratch copy and its build live under ${TMPDIR:-/tmp} and are removed at the end; the checked-out
# files are never touched. A full run of the default list takes about an hour on two busy cores.
#
# The list (see mutations.txt) holds blocks:
#   @ ID  what the change means
#   FILE            a path from the top of the tree
#   ~ CONTEXT       optional: the change is looked for only after the first line holding CONTEXT
#   - TEXT          the text to replace; the first line after CONTEXT holding it is changed
#   + TEXT          what it becomes (may be empty)
# A block may give several FILE/~/-/+ groups: the first one that applies is used, so that a mutation can
# name the same fault in code that has moved.
#
# Outcome of each mutation: killed (a test failed or timed out), SURVIVED, no-build (the change does not
# compile; not counted) or n/a (no group applies to the revision; not counted). The kill rate is
# killed / (killed + survived). Exit status 0 when every applicable mutation was killed.
set -uo pipefail

root="$(cd "$(dirname "$0")/../.." && pwd)"
rev=HEAD
list="$root/tools/mutate/mutations.txt"
check=0
only=()
while (($#)); do
    case "$1" in
    --rev) rev="$2"; shift 2 ;;
    --list) list="$2"; shift 2 ;;
    --check) check=1; shift ;;
    -h | --help) sed -n '2,/^set /p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) only+=("$1"); shift ;;
    esac
done
[[ -f "$list" ]] || { echo "no list $list" >&2; exit 2; }
list="$(cd "$(dirname "$list")" && pwd)/$(basename "$list")"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/zelk-mutate-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
tree="$scratch/tree"
mkdir -p "$tree"
git -C "$root" archive "$rev" | tar -x -C "$tree" || { echo "cannot copy $rev" >&2; exit 2; }

# Reads the list into parallel arrays: one entry per group, with the block's id and meaning.
ids=() notes=() files=() contexts=() froms=() tos=()
id="" note="" file="" context=""
while IFS= read -r line || [[ -n "$line" ]]; do
    case "$line" in
    "" | "#"*) continue ;;
    "@ "*)
        rest="${line#@ }"
        id="${rest%% *}"
        note="${rest#"$id"}"
        note="${note# }"
        file="" context="" ;;
    "~ "*) context="${line#\~ }" ;;
    "- "*) from="${line#- }" ;;
    "+"*)
        to="${line#+}"
        to="${to# }"
        ids+=("$id") notes+=("$note") files+=("$file") contexts+=("$context") froms+=("$from") tos+=("$to")
        context="" ;;
    *) file="$line" ;;
    esac
done <"$list"

# The line number the group `g` changes in the tree, or nothing when it does not apply.
target_line() {
    local g=$1 path="$tree/${files[$1]}"
    [[ -f "$path" ]] || return
    CONTEXT="${contexts[$g]}" FROM="${froms[$g]}" awk '
        BEGIN { armed = ENVIRON["CONTEXT"] == "" }
        !armed && index($0, ENVIRON["CONTEXT"]) { armed = 1; next }
        armed && index($0, ENVIRON["FROM"]) { print NR; exit }' "$path"
}

# Replaces the group's text on line `n` of its file.
apply() {
    local g=$1 n=$2 path="$tree/${files[$1]}"
    N="$n" FROM="${froms[$g]}" TO="${tos[$g]}" awk '
        NR == ENVIRON["N"] {
            i = index($0, ENVIRON["FROM"])
            $0 = substr($0, 1, i - 1) ENVIRON["TO"] substr($0, i + length(ENVIRON["FROM"]))
        }
        { print }' "$path" >"$path.mutated" && mv "$path.mutated" "$path"
}

wanted() {
    ((${#only[@]} == 0)) && return 0
    local w
    for w in "${only[@]}"; do [[ "$w" == "$1" ]] && return 0; done
    return 1
}

build="$scratch/build"
log="$scratch/log"
# The tests that run the command-line program find it (and zelkgen beside it) as ctest tells them.
export ZELK_CLI="$build/src/zelkon-cli"
# A mutation may make a test loop for ever, so each test step has a time limit: three times what the
# unchanged tree took for it on this machine (at least five minutes), measured by the baseline run.
limit_unit=0
limit_cli=0
build_and_test() {
    cmake --build "$build" --target zelk_tests zelkon-cli zelkgen >"$log" 2>&1 || return 2
    local start=$SECONDS
    timeout_of "$limit_unit" "$build/tests/zelk_tests" --gtest_brief=1 >>"$log" 2>&1 || return 1
    local unit=$((SECONDS - start))
    start=$SECONDS
    (cd "$build" && timeout_of "$limit_cli" ctest -R '^cli_' --output-on-failure) >>"$log" 2>&1 || return 1
    baseline_unit=$unit baseline_cli=$((SECONDS - start))
    return 0
}
# Runs a command under a time limit in seconds; 0 means none (the baseline).
timeout_of() {
    local limit=$1
    shift
    if ((limit == 0)); then "$@"; else timeout "$limit" "$@"; fi
}

if ((check == 0)); then
    launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        # Paths inside the copy do not count, so a later run's copy finds this one's objects.
        export CCACHE_BASEDIR="$scratch" CCACHE_NOHASHDIR=true
    fi
    cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_BUILD_GUI=OFF \
        "${launcher[@]}" >"$log" 2>&1 || { cat "$log"; exit 2; }
    echo "baseline: building and testing $rev unchanged"
    build_and_test || { tail -40 "$log"; echo "the unchanged tree does not pass; nothing to measure" >&2; exit 2; }
    limit_unit=$((baseline_unit * 3 > 300 ? baseline_unit * 3 : 300))
    limit_cli=$((baseline_cli * 3 > 300 ? baseline_cli * 3 : 300))
fi

killed=0 survived=0 skipped=0 failed_build=0
survivors=()
done_ids=" "
for ((g = 0; g < ${#ids[@]}; ++g)); do
    id="${ids[$g]}"
    [[ "$done_ids" == *" $id "* ]] && continue
    wanted "$id" || continue
    # The first group of this id that applies.
    chosen=-1 n=""
    for ((h = g; h < ${#ids[@]}; ++h)); do
        [[ "${ids[$h]}" == "$id" ]] || continue
        n="$(target_line "$h")"
        if [[ -n "$n" ]]; then chosen=$h; break; fi
    done
    done_ids+="$id "
    if ((chosen < 0)); then
        printf '%-5s n/a       %s\n' "$id" "${notes[$g]}"
        ((skipped++))
        continue
    fi
    where="${files[$chosen]}:$n"
    if ((check == 1)); then
        printf '%-5s applies   %s  %s\n' "$id" "$where" "${notes[$g]}"
        continue
    fi
    path="$tree/${files[$chosen]}"
    cp -p "$path" "$scratch/original"
    apply "$chosen" "$n"
    build_and_test
    case $? in
    0) outcome=SURVIVED; ((survived++)); survivors+=("$id $where  ${notes[$g]}") ;;
    1) outcome=killed; ((killed++)) ;;
    *) outcome=no-build; ((failed_build++)) ;;
    esac
    printf '%-5s %-9s %s  %s\n' "$id" "$outcome" "$where" "${notes[$g]}"
    cp -p "$scratch/original" "$path"
    touch "$path"
done

((check == 1)) && exit 0
counted=$((killed + survived))
echo
echo "killed $killed, survived $survived, not building $failed_build, not applying $skipped"
((counted > 0)) && echo "kill rate: $((100 * killed / counted))% ($killed of $counted)"
if ((survived > 0)); then
    echo "survivors:"
    printf '  %s\n' "${survivors[@]}"
    exit 1
fi
exit 0
