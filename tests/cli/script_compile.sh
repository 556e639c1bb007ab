#!/bin/bash
# zelkon-cli compile: the compiled lines of a script file, or its error line with status 1.
CLI="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { # file expected-stdout expected-status
    local got rc
    got=$("$CLI" compile "$1" 2>&1)
    rc=$?
    if [[ "$got" != "$2" || $rc != "$3" ]]; then
        printf 'FAIL: compile %s:\n%s\n(status %s), want:\n%s\n(status %s)\n' "$1" "$got" "$rc" "$2" "$3"
        fail=1
    fi
}

# The default confirmation script with its Russian comments, in Windows-1251 with CR LF.
printf '// \xc2\xed\xf3\xf2\xf0\xe5\xed\xed\xe8\xe5 \xef\xe5\xf0\xe5\xec\xe5\xed\xed\xfb\xe5:\r\nbegin\r\n  Result := ((Call2 = CallSign) and\r\n             (Mode2 = Mode) and\r\n             (Freq2 = Freq));\r\nend;\r\n' >"$dir/confirm.txt"
check "$dir/confirm.txt" "0: Result := Call2 CallSign = Mode2 Mode = and Freq2 Freq = and" 0

printf 'begin x := 1 y := 2 end\n' >"$dir/e1.txt"
check "$dir/e1.txt" 'Line 1/14: Need ";" or "end" here' 1

printf '{ comment\n  two lines }  begin\n  if x > 1 then A := 1 else A := 2;\n  goto 10;\n  10: exit\nend\n' >"$dir/flow.txt"
check "$dir/flow.txt" "0: if not (x 1 >) goto 3
1: A := 1
2: goto 4
3: A := 2
4: goto 5
5: exit" 0

printf 'begin goto 7 end\n' >"$dir/label.txt"
check "$dir/label.txt" 'Line 1/12: Undefined label "7"' 1

printf 'begin\n  x := \xef\xf0\xe8\xe2\xe5\xf2\nend\n' >"$dir/cyr.txt"
check "$dir/cyr.txt" 'Line 2/8: Need an operand here' 1

printf 'begin ShowMessage('"'"'x'"'"' end\n' >"$dir/unclosed.txt"
check "$dir/unclosed.txt" 'Line 1/23: Need "," or ")" here' 1

# A misspelt function is named on its line, as the script editor's check names it; compiling for a run
# does not look at names (see script_run.sh).
printf 'begin\n  Result := Bnad(Freq) = Band(Freq2)\nend\n' >"$dir/misspelt.txt"
check "$dir/misspelt.txt" "Line 2/13: Неизвестная функция : BNAD" 1

: >"$dir/empty.txt"
check "$dir/empty.txt" "" 0

"$CLI" compile "$dir/missing.txt" >/dev/null 2>&1; [[ $? == 1 ]] || { echo "FAIL: missing file"; fail=1; }
exit $fail
