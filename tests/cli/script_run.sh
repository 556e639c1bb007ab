#!/bin/bash
# zelkon-cli run: defines the variables, runs a script file and lists the store in its order.
CLI="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() { # expected-stdout expected-stderr expected-status args...
    local want="$1" wanterr="$2" status="$3"
    shift 3
    local got goterr rc
    got=$("$CLI" run "$@" 2>"$dir/stderr")
    rc=$?
    goterr=$(cat "$dir/stderr")
    if [[ "$got" != "$want" || "$goterr" != "$wanterr" || $rc != "$status" ]]; then
        printf 'FAIL: run %s:\n%s\n[%s] (status %s), want:\n%s\n[%s] (status %s)\n' "$*" "$got" "$goterr" "$rc" \
            "$want" "$wanterr" "$status"
        fail=1
    fi
}
T=$'\t'

printf 'begin\r\n  Result := ((Call2 = CallSign) and\r\n    (Mode2 = Mode) and (Freq2 = Freq));\r\nend;\r\n' >"$dir/confirm.txt"
check "Result${T}Integer: 1
CallSign${T}String: UA1A
Call2${T}String: UA1A
Mode${T}String: CW
Mode2${T}String: CW
Freq${T}String: 14000
Freq2${T}String: 14000" "" 0 "$dir/confirm.txt" --var Result=false --var "CallSign='UA1A'" --var "Call2='UA1A'" \
    --var "Mode='CW'" --var "Mode2='CW'" --var "Freq='14000'" --var "Freq2='14000'"

# Undefined variables are null, and null equals null: the records "match".
check "Result${T}Integer: 1" "" 0 "$dir/confirm.txt" --var Result=false

printf 'begin\n  S := 0;\n  for I := 1 to 3 do S := S + I;\n  repeat J := J + 1 until J >= 3;\n  exit;\n  S := 99\nend\n' >"$dir/loops.txt"
check "J${T}Double: 3
S${T}Double: 6
I${T}Double: 4" "" 0 "$dir/loops.txt" --var J=0

printf 'begin x := 5; y := 1 / 0; z := 1 end\n' >"$dir/fail.txt"
check "x${T}Double: 5" "Error: Floating point division by zero" 1 "$dir/fail.txt"

printf 'begin x := 1; x := Foo(x) end\n' >"$dir/unknown.txt"
check "x${T}Double: 1" "Error: Неизвестная функция : FOO" 1 "$dir/unknown.txt"

printf 'begin\n  x := 1\n  y := 2\nend\n' >"$dir/syntax.txt"
check 'Line 3/3: Need ";" or "end" here' "" 1 "$dir/syntax.txt"

printf 'begin Result := 1,5 * 2 end\n' >"$dir/comma.txt"
check 'Line 1/18: Need ";" or "end" here' "" 1 "$dir/comma.txt"


printf 'begin r := 3 / 2 end\n' >"$dir/sep.txt"
check "r${T}Double: 1,5" "" 0 "$dir/sep.txt" --decimal-separator ,
exit $fail
