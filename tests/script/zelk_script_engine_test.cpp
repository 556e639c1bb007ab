// The judging engine: its variable store, its 24 functions, the completion list and message boxes.
#include "script/zelk_script_engine.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/user_locale.h"
#include "settings/platform.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

std::string Show(const ScriptValue& v) {
    std::string s = KindName(v.Kind());
    s += ':';
    if (v.Kind() == TValueKind::Boolean) return s + (v.AsBoolean() ? " True" : " False");
    if (!v.IsEmpty() && !v.IsNull()) s += " " + v.AsText();
    return s;
}

std::string EvalShow(TZelkScriptEngine& engine, std::string_view expr) {
    try {
        return Show(engine.Parser().Evaluate(expr));
    } catch (const TZelkError& e) {
        return std::string("Error: ") + e.what();
    }
}

const std::string kUnknown = std::string("Неизвестная функция : "_cp);

struct RecordingMessages : IMessages {
    std::vector<std::string> plain;
    void Info(const std::string&, const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool Ask(const std::string&) override { return false; }
    void Plain(const std::string& text) override { plain.push_back(text); }
};

} // namespace

TEST(ZelkScriptEngine, FunctionsGiveTheirResults) {
    TZelkScriptEngine engine;
    TUserLocaleOverride locale(TUserLocale{});
    int days = 0;
    ASSERT_TRUE(calendar::TryDaysFromDate(2005, 2, 12, days));
    engine.SetVariable("DateTime", ScriptValue::Date(days + 0.5));
    engine.SetVariable("SDate", ScriptValue::Text(std::string_view("2005-02-12")));
    engine.SetVariable("Call", ScriptValue::Text(std::string_view("UA1A")));
    struct Case {
        std::string_view expr;
        std::string shown;
    };
    const Case cases[] = {
        {"UpperCase('xY1z')", "String: XY1Z"},
        {"LowerCase('xY1z')", "String: xy1z"},
        {"NameCase('xY1z')", "String: Xy1z"},
        {"NameCase('')", "String: "},
        {"NameCase('q')", "String: Q"},
        {"Length('xY1z')", "Integer: 4"},
        {"Pos('1', 'xY1z')", "Integer: 3"},
        {"Pos('q', 'xY1z')", "Integer: 0"},
        {"Pos('', 'xY1z')", "Integer: 0"},
        {"Copy('xY1z', 1, 3)", "String: xY1"},
        {"UpperCase(Call) = Call", "Integer: 1"},
        {"Call = 'ua1a'", "Integer: 0"},
        {"Trim('  a b \t')", "String: a b"},
        {"IntToStr(2.5)", "String: 2"},
        {"IntToStr(3.5)", "String: 4"},
        {"IntToStr(-7)", "String: -7"},
        {"IntToStr(1E10)", "Error: Overflow while converting variant of type (Double) into type (Integer)"},
        {"Trunc(-2.7)", "Int64: -2"},
        {"Trunc(1E10)", "Int64: 10000000000"},
        {"Trunc(1E300)", "Error: Invalid floating point operation"},
        {"StrToInt('12')", "Integer: 12"},
        {"StrToInt('x')", "Integer: 0"},
        {"MinNum(3, 5)", "Double: 3"},
        {"MinNum(5, '5')", "String: 5"},
        {"MaxNum(5, '5')", "String: 5"},
        {"MinNum('b', 'a')", "String: a"},
        {"MaxNum('b', 'a')", "String: b"},
        {"MinNum(7)", "Integer: 0"},
        {"MaxNum(7)", "Double: 7"},
        {"MinNum(x, 1)", "Null:"},
        {"DayOf(DateTime)", "Integer: 12"},
        {"MonthOf(DateTime)", "Integer: 2"},
        {"YearOf(DateTime)", "Integer: 2005"},
        {"DayOf(StrToDate('01.03.2004'))", "Integer: 1"},
        {"DayOf(SDate)", "Error: Could not convert variant of type (String) into type (Double)"},
        {"FormatFloat('0.00', 3.14159)", "String: 3.14"},
        {"FormatDateTime('yyyy-mm-dd hh:nn', DateTime)", "String: 2005-02-12 12:00"},
        {"Length(x)", "Error: Could not convert variant of type (Null) into type (String)"},
        {"Foo(1)", "Error: " + kUnknown + "FOO"},
        {"foO(1)", "Error: " + kUnknown + "FOO"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EvalShow(engine, c.expr), c.shown) << c.expr;
}

TEST(ZelkScriptEngine, NamesAnsweredByTheEvaluatorMeanTheSameWhenCalledDirectly) {
    TZelkScriptEngine engine;
    // A hand-made postfix text reaches the engine with these names; they behave as the built-ins.
    EXPECT_EQ(Show(engine.Parser().EvalPostfix("FRAC(2.75)")), "Double: 0.75");
    EXPECT_EQ(Show(engine.Parser().EvalPostfix("ROUND(2.5)")), "Double: 2");
    EXPECT_EQ(Show(engine.Parser().EvalPostfix("MOD(7, 2)")), "Integer: 1");
    EXPECT_EQ(Show(engine.Parser().EvalPostfix("Frac(2.75)")), "Double: 0.75");
    EXPECT_EQ(Show(engine.Parser().Evaluate("If(1, 'y', 'n')")), "String: y");
}

TEST(ZelkScriptEngine, EachFunctionEvaluatesItsArgumentsOnce) {
    RecordingMessages boxes;
    TZelkScriptEngine engine(boxes);
    EXPECT_EQ(Show(engine.Parser().Evaluate("Pos(STR(ShowMessage('a')), STR(ShowMessage('b')))")),
              "Integer: 0");
    EXPECT_EQ(boxes.plain, (std::vector<std::string>{"a", "b"}));
}

TEST(ZelkScriptEngine, ShowMessageShowsAPlainBoxAndGivesNull) {
    RecordingMessages boxes;
    TZelkScriptEngine engine(boxes);
    const ScriptValue v = engine.Parser().Evaluate("ShowMessage('Счёт: ' + IntToStr(5))"_cp);
    EXPECT_TRUE(v.IsNull());
    EXPECT_EQ(boxes.plain, (std::vector<std::string>{std::string("Счёт: 5"_cp)}));
}

TEST(TfrVariables, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    TZelkScriptEngine engine;
    engine.SetVariable("Result", ScriptValue::Integer(1));
    engine.SetVariable("RESULT", ScriptValue::Integer(2));
    engine.SetVariable("Позывной"_cp, ScriptValue::Integer(3));
    engine.SetVariable("ПОЗЫВНОЙ"_cp, ScriptValue::Integer(4));
    const TfrVariables& store = engine.Variables();
    ASSERT_EQ(store.Count(), 2u);
    EXPECT_EQ(store.NameAt(0), "Result");
    EXPECT_EQ(store.NameAt(1), "Позывной"_cp);
    EXPECT_EQ(Show(engine.GetVariable("result")), "Integer: 2");
    EXPECT_EQ(Show(engine.GetVariable("позывной"_cp)), "Integer: 4");
}

TEST(TfrVariables, ReadingNeverDefinesAndUndefinedReadsDiffer) {
    TZelkScriptEngine engine;
    EXPECT_EQ(Show(engine.GetVariable("Nothing")), "Integer: 0");
    EXPECT_EQ(Show(engine.Parser().Evaluate("Nothing")), "Null:");
    EXPECT_EQ(engine.Variables().Count(), 0u);
    // A compiled script mentions names without defining them either.
    TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript({"if a = b then c := d"}, script, errors);
    engine.RunScript(script);
    ASSERT_EQ(engine.Variables().Count(), 1u);
    EXPECT_EQ(engine.Variables().NameAt(0), "c");
    EXPECT_TRUE(engine.Variables().ValueAt(0).IsNull());
}

TEST(TfrVariables, ClearingStartsAnEmptyStoreWithNewSpellings) {
    TZelkScriptEngine engine;
    TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript({"begin Result := (Call2 = CallSign) and (Mode2 = Mode); Extra := 1 end"}, script,
                         errors);
    ASSERT_TRUE(errors.empty());
    const int handle = engine.VariableHandle("Mode");
    for (int run = 0; run < 3; ++run) {
        engine.ClearVariables();
        EXPECT_EQ(engine.Variables().Count(), 0u);
        engine.SetVariable("RESULT", ScriptValue::Boolean(false));
        engine.SetVariable("CallSign", ScriptValue::Text(std::string_view("UA1A")));
        engine.SetVariable("call2", ScriptValue::Text(std::string_view(run == 1 ? "UA1A" : "RA3A")));
        engine.SetVariable("Mode2", ScriptValue::Text(std::string_view("CW")));
        engine.SetVariable(handle, "mode", ScriptValue::Text(std::string_view("CW")));
        engine.RunScript(script);
        EXPECT_EQ(Show(engine.GetVariable("Result")), run == 1 ? "Integer: 1" : "Integer: 0");
        ASSERT_EQ(engine.Variables().Count(), 6u);
        EXPECT_EQ(engine.Variables().NameAt(0), "RESULT");
        EXPECT_EQ(engine.Variables().NameAt(4), "mode");
        EXPECT_EQ(engine.Variables().NameAt(5), "Extra");
    }
}

TEST(TfrVariables, ManyNamesStayDistinct) {
    TfrVariables store;
    for (int i = 0; i < 5000; ++i)
        store.Set("v" + std::to_string(i), ScriptValue::Integer(i));
    for (int i = 0; i < 5000; i += 7) {
        const ScriptValue* v = store.Find("V" + std::to_string(i));
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->RawInt(), i);
    }
    EXPECT_EQ(store.Find("v5000"), nullptr);
    EXPECT_EQ(store.Count(), 5000u);
}

TEST(ZelkScriptEngine, CompletionListsEveryFunctionInTheEditorsOrder) {
    TZelkScriptEngine engine;
    std::vector<TCompletionEntry> list{{"stale", "stale"}};
    engine.FillCompletion(list);
    ASSERT_EQ(list.size(), 36u);
    EXPECT_EQ(list[0].display, "function\tIntToStr(<value>)");
    EXPECT_EQ(list[0].insert, "IntToStr");
    EXPECT_EQ(list[15].display, "function\tRound(<value>, <digits>)");
    EXPECT_EQ(list[22].insert, "StrToInt");
    EXPECT_EQ(list[23].insert, "ShowMessage");
    EXPECT_EQ(list[23].display, "function\tShowMessage(<text>)");
    // The functions for contest rules follow in the order of their help page.
    const char* rules[] = {"Band(<freq>)", "Minutes(<datetime1>, <datetime2>)", "Word(<string>, <n>)",
                           "NoZeros(<string>)", "IsCall(<string>)"};
    for (size_t i = 0; i < std::size(rules); ++i)
        EXPECT_EQ(list[24 + i].display, std::string("function\t") + rules[i]);
    // The variables of contest rules come last, with their kinds.
    const char* variables[] = {"MaxMinutesDifference: Integer",
                               "MyCall: String",
                               "MyCall2: String",
                               "Tx: String",
                               "Tx2: String",
                               "Reason: String",
                               "Accepted2: Boolean"};
    for (size_t i = 0; i < std::size(variables); ++i) {
        EXPECT_EQ(list[29 + i].display, std::string("variable\t") + variables[i]);
        EXPECT_EQ(list[29 + i].insert + ":",
                  std::string(variables[i]).substr(0, list[29 + i].insert.size() + 1));
    }
    // Every listed function is known to the engine.
    for (const auto& e : list) {
        if (e.display.rfind("function\t", 0) != 0) continue;
        const std::string call = e.insert + "()";
        const std::string shown = EvalShow(engine, call);
        EXPECT_EQ(shown.find(kUnknown), std::string::npos) << call;
    }
}
