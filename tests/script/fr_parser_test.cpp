// The expression evaluator: postfix form, precedence, literals, the built-in calls, lazy arguments,
// the callbacks, and faulty or hostile expressions.
#include "script/fr_parser.h"
#include "script/fr_postfix.h"
#include "script/user_locale.h"
#include "script/zelk_script_engine.h"

#include "logs/error.h"
#include "logs/text.h"

#include <gtest/gtest.h>

#include <map>

using namespace zelk;

namespace {

// "Kind: text" as the command line shows a value.
std::string Show(const ScriptValue& v) {
    std::string s = KindName(v.Kind());
    s += ':';
    if (v.Kind() == TValueKind::Boolean) return s + (v.AsBoolean() ? " True" : " False");
    if (!v.IsEmpty() && !v.IsNull()) s += " " + v.AsText();
    return s;
}

// The evaluation, or "Error: message" when it raises.
std::string EvalShow(TfrParser& parser, std::string_view expr) {
    try {
        return Show(parser.Evaluate(expr));
    } catch (const TZelkError& e) {
        return std::string("Error: ") + e.what();
    }
}

// Records every callback; variables come from a map, functions count their calls and evaluate their
// first argument as often as `times` says.
struct RecordingHost : TfrParserHost {
    std::map<std::string, ScriptValue> vars;
    std::vector<std::string> reads, calls, argTexts;
    TfrParser* parser = nullptr;
    void ReadVariable(std::string_view name, ScriptValue& value) override {
        reads.emplace_back(name);
        if (auto it = vars.find(std::string(name)); it != vars.end()) value = it->second;
    }
    void CallFunction(const std::string& name, const TfrArgs& args, ScriptValue& result) override {
        calls.push_back(name);
        for (int i = 0; i < 3; ++i)
            argTexts.push_back(args.Text(i).AsText());
        if (name == "TWICE") {
            args.Value(0);
            result = args.Value(0);
        } else if (name == "NONE") {
            result = ScriptValue::Integer(7);
        } else if (name == "COUNT") {
            result = ScriptValue::Integer(5);
        }
    }
};

} // namespace

TEST(FrPostfix, OperatorsFollowThePrecedenceTable) {
    struct Case {
        std::string_view infix, postfix;
    };
    const Case cases[] = {
        {"(Call2 = CallSign) and (Mode2 = Mode)", "Call2 CallSign =Mode2 Mode =\x05"},
        {"2 + 3 * 4", "2 3 4 *+"},
        {"a - b - c", "a b -c -"},
        {"a < b < c", "a b <c <"},
        {"a = 1 or b = 2", "a 1 b \x04=2 ="},
        {"a and not b", "a b \x0c\x05"},
        {"a * -b", "a b \x09*"},
        {"a >= b <> c <= d", "a b \x01"
                             "c \x03"
                             "d \x02"},
        {"7 mod 2", "7 2 \x0d"},
        {"Round(x,2)", "x ,2 \x0e"},
        {"F(x, (1)) + 1", "F(x, (1))1 +"},
        {"F (x)", "F x "},
        {"'it''s' + [my var] + a[1]", "'it''s' [my var] +a[1] +"},
        {"1 ; 2", "1 "},
        {"1; 2", "1; 2 "}, // ";" inside a word belongs to it
        {"((1)", "1 "},
        {"1)", "1 "},
        {"int(x) + frac(y) + str(z)", "x \x06y \x07+z \x0b+"},
        {"+x", "x \x0a"},
        {"TRUE(1)", "TRUE 1 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fr::ToPostfix(c.infix), c.postfix) << c.infix;
}

TEST(FrPostfix, UnclosedCallRaisesAnEmptyMessage) {
    try {
        fr::ToPostfix("ShowMessage('x' end");
        FAIL() << "no error";
    } catch (const TZelkError& e) {
        EXPECT_STREQ(e.what(), "");
    }
}

TEST(FrParser, ExpressionsEvaluateAsTheLanguageSays) {
    struct Case {
        std::string_view expr, shown;
    };
    const Case cases[] = {
        {"", "Integer: 0"},
        {"   ", "Integer: 0"},
        {"2 + 3 * 4", "Double: 14"},
        {"(2 + 3) * 4", "Double: 20"},
        {"2 - 3 - 4", "Double: -5"},
        {"8 / 4 / 2", "Double: 1"},
        {"-2 + 5", "Double: 3"},
        {"3 * -2", "Double: -6"},
        {"NOT 0", "Integer: 1"},
        {"NOT 5", "Integer: 0"},
        {"1 and not 0", "Integer: 1"},
        {"1 = 1", "Integer: 1"},
        {"(1 = 1) AND (2 = 2)", "Integer: 1"},
        {"(1 = 1) = TRUE", "Integer: 0"},
        {"1 = 1 or 2 = 2", "Integer: 0"}, // 1 = (1 or 2) = 2
        {"INT(2.7)", "Double: 2"},
        {"INT(-2.7)", "Double: -2"},
        {"INT(2.99999999999)", "Double: 3"},
        {"FRAC(2.75)", "Double: 0.75"},
        {"FRAC(2.99999999999)", "Double: 0"},
        {"ROUND(2.5)", "Double: 2"},
        {"ROUND(3.5)", "Double: 4"},
        {"Round(2.7)", "Double: 3"},
        {"STR(undefined)", "String: "},
        {"STR(12)", "String: 12"},
        {"'it''s'", "String: it's"},
        {"''''", "String: '"},
        {"'a''''b'", "String: a''b"},
        {"'x' + 'y'", "String: xy"},
        {"1,5", "Double: 1.5"},
        {"1.5 = 1,5", "Integer: 1"},
        {".5 + ,5", "Double: 1"},
        {"1E5", "Double: 100000"},
        {"1 2", "Double: 1"},
        {"TRUE", "Boolean: True"},
        {"false", "Boolean: False"},
        {"7 mod 2", "Integer: 1"},
        {"Result + 1", "Null:"},
        {"F (x)", "Null:"},
        {"Copy('abcdef', 2, 3)", "String: bcd"},
        {"Copy('abc', 0, 2)", "String: ab"},
        {"Copy('abc', -5, 2)", "String: ab"},
        {"Copy('abc', 5, 1)", "String: "},
        {"Copy('abc', 2, -1)", "String: "},
        {"Copy('abc', 2)", "String: "},
        {"copy('a(b,c)d', 2, 5)", "String: (b,c)"},
        {"IF(1 > 0, 'y', 'n')", "String: y"},
        {"If(0.5, 'y', 'n')", "String: n"},
        {"IF(-1.5, 'y', 'n')", "String: y"},
        {"IF('2', 'y')", "String: y"},
        {"IF(0, 'y')", "Integer: 0"},
        {"StrToDate('12.02.2005') - StrToDate('10.02.2005')", "Double: 2"},
        {"StrToTime('12:00')", "Date: 12:00:00"},
    };
    TfrParser parser;
    TUserLocaleOverride locale(TUserLocale{});
    for (const auto& c : cases)
        EXPECT_EQ(EvalShow(parser, c.expr), c.shown) << c.expr;
}

// Each pair of precedence levels, both ways round, and each level against itself: a change of any level
// in the table changes one of these values. Levels: 0 INT FRAC ROUND STR; 1 * / MOD AND OR NOT; 2 + - and
// the signs; 3 the comparisons.
TEST(FrParser, EveryPairOfPrecedenceLevelsBindsInItsOrder) {
    struct Case {
        const char* levels;
        std::string_view expr, shown;
    };
    const Case cases[] = {
        {"0 over 1", "INT 2.5 * 2", "Double: 4"},     // not INT(5)
        {"0 over 1", "ROUND 2.6 / 2", "Double: 1.5"}, // not ROUND(1.3)
        {"0 over 2", "INT 2.7 + 0.5", "Double: 2.5"}, // not INT(3.2)
        {"0 over 2", "FRAC 2.5 - 1", "Double: -0.5"}, // not FRAC(1.5)
        {"0 over 2", "STR 1 + 2", "Double: 3"},       // '1' + 2, not STR(3)
        {"0 over 3", "INT 2.7 = 2", "Integer: 1"},    // not INT(0)
        {"0 over 3", "STR 5 = '5'", "Integer: 1"},    // not STR(0)
        {"1 over 2", "2 + 3 * 4", "Double: 14"},      // not 20
        {"1 over 2", "2 * 3 + 4", "Double: 10"},      // not 14
        {"1 over 2", "7 mod 4 + 1", "Double: 4"},     // not 7 mod 5
        {"1 over 2", "2 or 1 + 1", "Double: 4"},      // (2 or 1) + 1, not 2 or 2
        {"1 over 2", "1 + 2 and 6", "Double: 3"},     // 1 + (2 and 6), not 3 and 6 = 2
        {"1 over 2", "NOT 0 + 1", "Double: 2"},       // not NOT 1
        {"1 over 3", "2 * 3 = 6", "Integer: 1"},      // not 2 * (3 = 6)
        {"1 over 3", "6 = 2 * 3", "Integer: 1"},      // not (6 = 2) * 3
        {"1 over 3", "3 = 1 or 2", "Integer: 1"},     // 3 = (1 or 2), not (3 = 1) or 2
        {"1 over 3", "NOT 0 = 2", "Integer: 0"},      // (NOT 0) = 2, not NOT (0 = 2)
        {"2 over 3", "5 = 2 + 3", "Integer: 1"},      // not (5 = 2) + 3
        {"2 over 3", "2 + 3 = 5", "Integer: 1"},      // not 2 + (3 = 5)
        {"2 over 3", "4 > 2 - 1", "Integer: 1"},      // not (4 > 2) - 1
        {"2 over 3", "-1 < 0", "Integer: 1"},         // not -(1 < 0)
        {"2 over 3", "1 <> 1 + 0", "Integer: 0"},     // not (1 <> 1) + 0
        {"sign over 2", "-2 + 5", "Double: 3"},       // not -(2 + 5)
        {"sign under 1", "-2 * 3 + 7", "Double: 1"},
        {"1 with itself", "8 / 4 / 2", "Double: 1"},    // not 8 / 2
        {"1 with itself", "2 * 7 mod 4", "Integer: 2"}, // not 2 * 3
        {"1 with itself", "7 mod 4 * 2", "Double: 6"},  // not 7 mod 8
        {"1 with itself", "1 or 2 * 3", "Double: 9"},   // (1 or 2) * 3, not 1 or 6
        {"2 with itself", "2 - 3 - 4", "Double: -5"},   // not 2 - (-1)
        {"3 with itself", "3 > 2 > 1", "Integer: 0"},   // (3 > 2) > 1, not 3 > (2 > 1)
        {"3 with itself", "1 >= 2 <= 0", "Integer: 1"}, // (1 >= 2) <= 0
        {"parentheses", "(5 = 2) + 3", "Double: 3"},
        {"parentheses", "2 * (3 = 6)", "Double: 0"},
    };
    TfrParser parser;
    TUserLocaleOverride locale(TUserLocale{});
    for (const auto& c : cases)
        EXPECT_EQ(EvalShow(parser, c.expr), c.shown) << c.levels << ": " << c.expr;
}

TEST(FrParser, QuirksOfCommasExponentsAndKeywordsAreKept) {
    TZelkScriptEngine engine;
    TUserLocaleOverride locale(TUserLocale{});
    engine.SetVariable("x", ScriptValue::Double(2.567));
    struct Case {
        std::string_view expr, shown;
    };
    const Case cases[] = {
        {"Round(x)", "Double: 3"},
        {"Round(x,2)", "Double: 2.567"}, // ROUND applies to the number ,2
        {"Round(x, 2)", "Error: '.' is not a valid floating point value"},
        {"1E-5", "Error: '1E' is not a valid floating point value"},
        {"1.2.3", "Error: '1.2.3' is not a valid floating point value"},
        {"1,2,3", "Error: '1.2.3' is not a valid floating point value"},
        {"2abc", "Error: '2abc' is not a valid floating point value"},
        {"Frac(x) < 1", "Integer: 1"},
        {"x mod 2", "Integer: 1"},
        {"IF('x', 'y', 'n')", "Error: 'x' is not a valid floating point value"},
        {"IF(TRUE, 'y', 'n')", "Error: 'True' is not a valid floating point value"},
        {"Copy('abc', 'a', 1)", "Error: 'a' is not a valid integer value"},
        {"Copy('abc', 1.5, 1)", "Error: '1.5' is not a valid integer value"},
        {"StrToDate('x')", "Error: 'x' is not a valid date"},
        {"StrToTime('x')", "Error: 'x' is not a valid time"},
        {"F(", "Error: "},
        {"1 +", "Error: Missing operand"},
        {"- ", "Error: Missing operand"},
        {"not", "Error: Missing operand"},
        {"a[1]",
         "Error: \xcd\xe5\xe8\xe7\xe2\xe5\xf1\xf2\xed\xe0\xff \xf4\xf3\xed\xea\xf6\xe8\xff : GETARRAY"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EvalShow(engine.Parser(), c.expr), c.shown) << c.expr;
}

TEST(FrParser, NumberErrorsShowTheUsersSeparator) {
    TUserLocale comma;
    comma.DecimalSeparator = ',';
    TUserLocaleOverride locale(comma);
    TfrParser parser;
    EXPECT_EQ(EvalShow(parser, "1.2.3"), "Error: '1,2,3' is not a valid floating point value");
    EXPECT_EQ(EvalShow(parser, "1.5 + 1,5"), "Double: 3");
    EXPECT_EQ(EvalShow(parser, "IF('0,5', 'y', 'n')"), "String: n");
}

TEST(FrParser, VariableReaderGetsUpperCasedNamesAndBracketedNamesAsWritten) {
    RecordingHost host;
    TfrParser parser;
    parser.SetHost(&host);
    host.vars["CALL"] = ScriptValue::Text(std::string_view("UA1A"));
    host.vars["my Var"] = ScriptValue::Integer(3);
    EXPECT_EQ(Show(parser.Evaluate("call + '/p'")), "String: UA1A/p");
    EXPECT_EQ(Show(parser.Evaluate("[my Var] * 2")), "Double: 6");
    EXPECT_EQ(Show(parser.Evaluate("[MY VAR]")), "Null:");
    EXPECT_EQ(host.reads, (std::vector<std::string>{"CALL", "my Var", "MY VAR"}));
}

TEST(FrParser, FunctionCallerGetsUpperCasedNameAndRawArgumentTexts) {
    RecordingHost host;
    TfrParser parser;
    parser.SetHost(&host);
    EXPECT_EQ(Show(parser.Evaluate("none( 1 + 2 ,'a,b', F(x, y), 4)")), "Integer: 7");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"NONE"}));
    EXPECT_EQ(host.argTexts, (std::vector<std::string>{" 1 + 2 ", "'a,b'", " F(x, y)"}));
    host.argTexts.clear();
    EXPECT_EQ(Show(parser.Evaluate("None()")), "Integer: 7");
    EXPECT_EQ(host.argTexts, (std::vector<std::string>{"", "", ""}));
    // Without a host every variable and function is null.
    TfrParser bare;
    EXPECT_EQ(Show(bare.Evaluate("Foo(1)")), "Null:");
    EXPECT_EQ(Show(bare.Evaluate("x")), "Null:");
}

TEST(FrParser, ArgumentsAreEvaluatedOnlyWhenAndAsOftenAsAsked) {
    RecordingHost host;
    TfrParser parser;
    parser.SetHost(&host);
    parser.Evaluate("Twice(Count(1), Count(2))");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"TWICE", "COUNT", "COUNT"}));
    host.calls.clear();
    host.argTexts.clear();
    parser.Evaluate("IF(1, Count(1), Count(2))");
    parser.Evaluate("IF(0, Count(1), Count(2))");
    parser.Evaluate("Copy(Count(3), 1, 1)");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"COUNT", "COUNT", "COUNT"}));
    EXPECT_EQ(host.argTexts[0], "1");
    EXPECT_EQ(host.argTexts[3], "2");
    EXPECT_EQ(host.argTexts[6], "3");
}

TEST(FrParser, CompiledCodeRunsAgainAndAgainWithCurrentValues) {
    RecordingHost host;
    TfrParser parser;
    parser.SetHost(&host);
    const TfrCode code = parser.CompileExpression("(a = 'x') and (b = 2)");
    host.vars["A"] = ScriptValue::Text(std::string_view("x"));
    host.vars["B"] = ScriptValue::Integer(2);
    EXPECT_EQ(Show(parser.Execute(code)), "Integer: 1");
    host.vars["B"] = ScriptValue::Integer(3);
    EXPECT_EQ(Show(parser.Execute(code)), "Integer: 0");
    EXPECT_EQ(Show(parser.EvalPostfix("a 'x' =")), "Integer: 1");
}

TEST(FrParser, ManyPendingValuesGrowTheStack) {
    TfrParser parser;
    std::string many, nested;
    for (int i = 0; i < 10000; ++i)
        many += "1+(";
    many += "1";
    many += std::string(10000, ')');
    EXPECT_EQ(Show(parser.Evaluate(many)), "Double: 10001");
    for (int i = 1; i <= 10000; ++i)
        nested += std::to_string(i) + " ";
    EXPECT_EQ(Show(parser.Evaluate(nested)), "Double: 1");
    EXPECT_EQ(Show(parser.Evaluate(std::string(100000, '(') + "2" + std::string(100000, ')'))), "Double: 2");
}

TEST(FrParser, DeepNestingOfCallsIsAnErrorNotACrash) {
    TZelkScriptEngine engine;
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "Trim(";
    deep += "'x'" + std::string(5000, ')');
    EXPECT_EQ(EvalShow(engine.Parser(), deep), "Error: Expression is nested too deeply");
    std::string fine;
    for (int i = 0; i < 50; ++i)
        fine += "Trim(";
    fine += "'x'" + std::string(50, ')');
    EXPECT_EQ(EvalShow(engine.Parser(), fine), "String: x");
    // The evaluator is usable after the error.
    EXPECT_EQ(EvalShow(engine.Parser(), "1 + 1"), "Double: 2");
}

TEST(FrParser, HostileTextsGiveErrorsOrValuesButNeverCrash) {
    TZelkScriptEngine engine;
    const std::string texts[] = {std::string("a\0b", 3),
                                 std::string("'\0'", 3),
                                 "\x01\x02\x05\x0d",
                                 "((((",
                                 "))))",
                                 "[[[",
                                 "]]]",
                                 "'unclosed",
                                 "[unclosed",
                                 "\"a(b\"",
                                 "F(')",
                                 "1(2)",
                                 "*/<>=",
                                 ";;;",
                                 ",",
                                 ".",
                                 "E",
                                 std::string(1, '\xff') + "\xfe",
                                 "x[",
                                 "x[1",
                                 "(,)",
                                 "a b c d e f",
                                 "--1",
                                 "++1"};
    for (const auto& t : texts) {
        try {
            engine.Parser().Evaluate(t);
        } catch (const TZelkError&) {
        }
        std::size_t pos = 0;
        const std::string postfix = t;
        while (pos < postfix.size())
            fr::NextPostfixElement(postfix, pos);
        try {
            engine.Parser().EvalPostfix(t);
        } catch (const TZelkError&) {
        }
    }
    EXPECT_EQ(EvalShow(engine.Parser(), "--1"), "Double: 1");
}
