#!/bin/bash
# zelkon-cli eval: one expression, its value as "Kind: text", errors on standard error with status 1.
CLI="$1"
fail=0
check() { # expected-stdout expected-status args...
    local want="$1" status="$2"
    shift 2
    local got rc
    got=$("$CLI" eval "$@" 2>/dev/null)
    rc=$?
    if [[ "$got" != "$want" || $rc != "$status" ]]; then
        echo "FAIL: eval ${*:0:3}: got '${got:0:200}' (status $rc), want '$want' (status $status)"
        fail=1
    fi
}
check_err() { # expected-stderr expected-status args...
    local want="$1" status="$2"
    shift 2
    local got rc
    got=$("$CLI" eval "$@" 2>&1 >/dev/null)
    rc=$?
    if [[ "$got" != "$want" || $rc != "$status" ]]; then
        echo "FAIL: eval ${*:0:3}: stderr '${got:0:200}' (status $rc), want '$want' (status $status)"
        fail=1
    fi
}

check "Integer: 0" 0 ""
check "Double: 14" 0 "2 + 3 * 4"
check "Integer: 1" 0 "(1 = 1) AND (2 = 2)"
check "Boolean: True" 0 "true"
check "Boolean: False" 0 "TRUE and FALSE"
check "Null:" 0 "Result + 1"
check "String: it's" 0 "'it''s'"
check "String: bcd" 0 "Copy('abcdef', 2, 3)"
check "String: XY1Z" 0 "UpperCase('xY1z')"
check "Int64: -2" 0 "Trunc(-2.7)"
check "Date: 12.02.2005" 0 "StrToDate('12.02.2005')"
check "Double: 1.5" 0 "1,5"
check "Double: 2.567" 0 "Round(x,2)" --var x=2.567
check "Double: 7" 0 "a + b" --var a=3 --var b=a+1
check "String: ПРИВЕТ" 0 "UpperCase('привет')"
check "Integer: 6" 0 "Length(s)" --var "s='привет'"
check "Double: 1,5" 0 "3 / 2" --decimal-separator ,
check "Double: 3" 0 "1.5 + 1,5" --decimal-separator ,
# The functions for contest rules, in any letter case.
check "String: 80" 0 "Band(Freq)" --var "Freq='3550'"
check "String: 1.2G" 0 "BAND('1.2g')"
check "String: 7" 0 "nozeros(Word(r, 2))" --var "r='599 007'"
check "Integer: 30" 0 "Minutes(StrToTime('12:00'), StrToTime('12:30'))"
check "Integer: 1" 0 "IsCall('Q1AB/P')"

check_err "Error: '1E' is not a valid floating point value" 1 "1E-5"
check_err "Error: '1,2,3' is not a valid floating point value" 1 "1.2.3" --decimal-separator ,
check_err "Error: Неизвестная функция : FOO" 1 "Foo(1)"
check_err "Error: Missing operand" 1 "1 +"
check_err "Error: " 1 "F("
check_err "Error: Expression is nested too deeply" 1 "$(printf 'Trim(%.0s' {1..300})'x'$(printf ')%.0s' {1..300})"

# Invalid UTF-8 becomes "?" and stays an ordinary name or text.
check "String: a?b" 0 "$(printf "'a\xffb'")"
# Deeply nested parentheses need no deep call stack.
check "Double: 2" 0 "$(printf '(%.0s' {1..30000})2$(printf ')%.0s' {1..30000})"
# Bad usage is status 1.
"$CLI" eval >/dev/null 2>&1; [[ $? == 1 ]] || { echo "FAIL: eval without EXPR"; fail=1; }
"$CLI" eval 1 --var novalue >/dev/null 2>&1; [[ $? == 1 ]] || { echo "FAIL: --var without ="; fail=1; }
"$CLI" eval 1 --decimal-separator 5 >/dev/null 2>&1; [[ $? == 1 ]] || { echo "FAIL: digit as separator"; fail=1; }
exit $fail
