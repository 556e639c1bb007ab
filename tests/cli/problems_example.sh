#!/usr/bin/env bash
# "zelkon-cli problems": the bundled example has one log without CALLSIGN: and nothing else wrong; a
# folder of logs as real contests send them shows each problem once, and the settings it names take
# the problem away.
# Usage: problems_example.sh ZELKON_CLI SOURCE_DIR
set -u
export LC_ALL=C
cli=$1
contest=$2/examples/contest
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$cli" problems "$contest" > "$tmp/example" || fail "problems failed on the example"
[ "$(cat "$tmp/example")" = $'Q5GOT.CBR\tнет или пустой тэг CALLSIGN:, лог нельзя проверить' ] ||
  fail "the example has one problem, Q5GOT.CBR without CALLSIGN: ($(cat "$tmp/example"))"

# Logs as they arrive: mixed extensions, a portable call in the file name, a tab-separated log, a
# UTF-16 log, a second copy of a log.
r=$tmp/raw
mkdir -p "$r"
line() { printf 'QSO: 3510 CW 2026-02-14 %s %s 599 %s %s 599 %s 0\r\n' "$@"; }
{ printf 'START-OF-LOG: 3.0\r\nCALLSIGN: Q1AA\r\n'; line 1200 Q1AA 001 Q5O/P 001; } > "$r/Q1AA.CBR"
{ printf 'START-OF-LOG: 3.0\r\nCALLSIGN: Q5O/P\r\n'; line 1200 Q5O/P 001 Q1AA 001; } > "$r/Q5O_p.log"
cp "$r/Q1AA.CBR" "$r/Q1AA_.CBR"
printf 'START-OF-LOG: 3.0\r\nCALLSIGN: Q2BB\r\nQSO:\t3510\tCW\t2026-02-14\t1201\tQ2BB\t599\t002\tQ1AA\t599\t002\t0\r\n' > "$r/Q2BB.CBR"
printf '\xff\xfeC\0A\0L\0L\0S\0I\0G\0N\0:\0 \0Q\0003\0C\0C\0\r\0\n\0' > "$r/Q3CC.CBR"

"$cli" problems "$r" --set 'FilesMask=*.CBR;*.LOG' > "$tmp/raw.out" || fail "problems failed on the raw folder"
want=$'Q1AA_.CBR\tCALLSIGN: Q1AA не совпадает с именем файла, связи с Q1AA не найдут этот лог; поможет FindLogByCallSign=1
Q1AA_.CBR\tтот же CALLSIGN: Q1AA, что в файле Q1AA.CBR: два лога одной станции, оставьте один из них
Q2BB.CBR\tтабуляция или неразрывный пробел внутри строк QSO, поля сливаются: 1 (первая — строка 3); поможет QSOSplitTabs=1
Q3CC.CBR\tкодировка UTF-16 LE с BOM, прочитан как Windows-1251
Q5O_p.log\tCALLSIGN: Q5O/P не совпадает с именем файла, связи с Q5O/P не найдут этот лог; поможет FindLogByCallSign=1'
[ "$(cat "$tmp/raw.out")" = "$want" ] || { fail "raw folder problems"; diff <(echo "$want") "$tmp/raw.out"; }

"$cli" problems "$r" --set 'FilesMask=*.CBR;*.LOG' --set FindLogByCallSign=1 --set QSOSplitTabs=1 > "$tmp/set.out"
[ "$(cut -f1 "$tmp/set.out" | tr '\n' ' ')" = "Q1AA_.CBR Q3CC.CBR " ] ||
  fail "with the settings only the duplicate and the encoding are left ($(cat "$tmp/set.out"))"
# With one mask the .log file is no log of the contest.
"$cli" problems "$r" | grep -q 'Q5O_p.log' && fail "*.CBR alone lists Q5O_p.log"

# A template the program cannot read stops the command with its message.
"$cli" problems "$r" --set 'QSOTemplate=freq mode report call' 2> "$tmp/err" > /dev/null
[ $? = 1 ] || fail "a bad template exits 1"
grep -q 'Шаблон строки QSO: неизвестное поле «report»' "$tmp/err" || fail "a bad template is named ($(cat "$tmp/err"))"
"$cli" problems 2>/dev/null; [ $? = 1 ] || fail "usage error exits 1"

[ $failures = 0 ] && echo "all passed"
exit $((failures > 0))
