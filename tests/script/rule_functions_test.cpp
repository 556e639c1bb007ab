// The functions contest rules are written with - Band, Minutes, Word, NoZeros and IsCall: their results
// with the edges of every rule, their place in the engine, the completion list and the help, and the
// check that names a misspelt function on its line.
#include "script/rule_functions.h"

#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/format.h"
#include "script/zelk_script_engine.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

std::string Show(const ScriptValue& v) {
    std::string s = KindName(v.Kind());
    s += ':';
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

} // namespace

// The bands as the amateur allocations of the three ITU regions together give them, kept here apart from
// the program's own table so that a wrong edge there shows up.
TEST(RuleFunctions, BandNamesEveryBandInsideItsEdgesAndNothingJustOutside) {
    struct Edges {
        int low, high;
        const char* band;
    };
    const Edges bands[] = {
        {1800, 2000, "160"},   {3500, 4000, "80"},   {5250, 5450, "60"},   {7000, 7300, "40"},
        {10100, 10150, "30"},  {14000, 14350, "20"}, {18068, 18168, "17"}, {21000, 21450, "15"},
        {24890, 24990, "12"},  {28000, 29700, "10"}, {50000, 54000, "6"},  {69900, 70500, "4"},
        {144000, 148000, "2"},
    };
    for (const Edges& b : bands) {
        const std::string low = std::to_string(b.low), high = std::to_string(b.high);
        EXPECT_EQ(BandOfFrequency(low), b.band) << low;
        EXPECT_EQ(BandOfFrequency(high), b.band) << high;
        EXPECT_EQ(BandOfFrequency(std::to_string((b.low + b.high) / 2)), b.band) << b.band;
        EXPECT_EQ(BandOfFrequency(std::to_string(b.low - 1)), "") << b.low - 1;
        EXPECT_EQ(BandOfFrequency(std::to_string(b.high + 1)), "") << b.high + 1;
        EXPECT_EQ(BandOfFrequency(low + ".0"), b.band) << low << ".0";
        EXPECT_EQ(BandOfFrequency(std::to_string(b.low - 1) + ",9"), "") << b.low - 1 << ",9";
        EXPECT_EQ(BandOfFrequency(high + ",1"), "") << high << ",1";
    }
}

TEST(RuleFunctions, BandReadsFrequencyFieldsAsLogsWriteThem) {
    struct Case {
        std::string_view freq, band;
    };
    const Case cases[] = {
        // The designators from 50 MHz up give themselves, in any letter case.
        {"50", "50"},
        {"70", "70"},
        {"144", "144"},
        {"222", "222"},
        {"432", "432"},
        {"902", "902"},
        {"1.2G", "1.2G"},
        {"1.2g", "1.2G"},
        {"2.3G", "2.3G"},
        {"3.4G", "3.4G"},
        {"5.7G", "5.7G"},
        {"10G", "10G"},
        {"24G", "24G"},
        {"47G", "47G"},
        {"75G", "75G"},
        {"122G", "122G"},
        {"134G", "134G"},
        {"241G", "241G"},
        {"LIGHT", "LIGHT"},
        {"light", "LIGHT"},
        // What stands before the first digit is skipped; blanks around the field do not count.
        {"F14025", "20"},
        {"kHz3550", "80"},
        {" 7010 ", "40"},
        {"B144", "144"},
        {"-14025", "20"},
        // Anything else is no band.
        {"", ""},
        {"   ", ""},
        {"CW", ""},
        {"14025kHz", ""},
        {"14.025", ""},
        {"14025.", ""},
        {"1.2.3", ""},
        {"1.3G", ""},
        {"050", ""},
        {"136", ""},
        {"475", ""},
        {"222000", ""},
        {"99999999999999999999999", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BandOfFrequency(c.freq), c.band) << "'" << c.freq << "'";
}

TEST(RuleFunctions, WordCountsBlankSeparatedPiecesFromOne) {
    struct Case {
        std::string_view text;
        int n;
        std::string_view word;
    };
    const Case cases[] = {
        {"599 015", 1, "599"}, {"599 015", 2, "015"},       {"599 015", 3, ""},    {"599 015", 0, ""},
        {"599 015", -1, ""},   {"  599   015  ", 2, "015"}, {"a\tb\r\nc", 3, "c"}, {"", 1, ""},
        {"   ", 1, ""},        {"one", 1, "one"},           {"one", 2, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WordOf(c.text, c.n), c.word) << "'" << c.text << "' " << c.n;
}

TEST(RuleFunctions, NoZerosStripsLeadingZerosOfDigitsOnly) {
    struct Case {
        std::string_view text, result;
    };
    const Case cases[] = {
        {"007", "7"}, {"000", "0"},     {"0", "0"},       {"100", "100"},   {"0100", "100"}, {"7", "7"},
        {"", ""},     {"007A", "007A"}, {" 007", " 007"}, {"-007", "-007"}, {"0.5", "0.5"},  {"00 7", "00 7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithoutLeadingZeros(c.text), c.result) << "'" << c.text << "'";
}

TEST(RuleFunctions, TheEngineAnswersTheNewNamesInAnyLetterCase) {
    TZelkScriptEngine engine;
    engine.SetVariable("Freq", ScriptValue::Text(std::string_view("3550")));
    engine.SetVariable("Receive", ScriptValue::Text(std::string_view("599 007")));
    engine.SetVariable("Call", ScriptValue::Text(std::string_view("q1aa/p")));
    struct Case {
        std::string_view expr;
        std::string shown;
    };
    const Case cases[] = {
        {"Band(Freq)", "String: 80"},
        {"BAND('144')", "String: 144"},
        {"band(14025)", "String: 20"},
        {"Band('7500')", "String: "},
        {"Word(Receive, 2)", "String: 007"},
        {"word(Receive, '1')", "String: 599"},
        {"Word(Receive, 2.5)", "String: 007"},
        {"Word(Receive, 3)", "String: "},
        {"Word(Receive)", "String: "},
        {"NoZeros(Word(Receive, 2))", "String: 7"},
        {"NOZEROS('000')", "String: 0"},
        {"NoZeros(7)", "String: 7"},
        {"IsCall(Call)", "Integer: 1"},
        {"iscall('599')", "Integer: 0"},
        {"IsCall('Q2/Q1AA/QRP')", "Integer: 1"},
        {"If(IsCall(Call), 'call', 'no')", "String: call"},
        {"Not IsCall('')", "Integer: 1"},
        {"Band(x)", "Error: Could not convert variant of type (Null) into type (String)"},
        {"Word(Receive, 'x')", "Error: Could not convert variant of type (String) into type (Integer)"},
        {"Bands(Freq)", "Error: " + std::string("Неизвестная функция : "_cp) + "BANDS"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvalShow(engine, c.expr), c.shown) << c.expr;
}

// Minutes must agree with the time rule the cross-check applies to two records.
TEST(RuleFunctions, MinutesCountsAsTheCrossChecksTimeRule) {
    struct Case {
        const char* date1;
        const char* time1;
        const char* date2;
        const char* time2;
        int minutes;
    };
    const Case cases[] = {
        {"2005-02-12", "1201", "2005-02-12", "1201", 0},  {"2005-02-12", "1201", "2005-02-12", "1204", 3},
        {"2005-02-12", "1204", "2005-02-12", "1201", 3},  {"2005-02-12", "2359", "2005-02-13", "0001", 2},
        {"2005-02-13", "0001", "2005-02-12", "2359", 2},  {"2005-02-28", "1200", "2005-03-01", "1200", 1440},
        {"2004-12-31", "2330", "2005-01-01", "0000", 30}, {"2005-02-12", "0000", "2005-02-12", "2359", 1439},
    };
    for (const Case& c : cases) {
        TQSORecord a, b;
        a.SDate = c.date1;
        a.STime = std::string(c.time1).substr(0, 2) + ":" + std::string(c.time1).substr(2);
        b.SDate = c.date2;
        b.STime = std::string(c.time2).substr(0, 2) + ":" + std::string(c.time2).substr(2);
        ASSERT_EQ(TimeDifference(a, b), c.minutes) << c.date1 << " " << c.time1;
        TZelkScriptEngine engine;
        engine.SetVariable("DateTime", ScriptValue::Date(a.DateTime()));
        engine.SetVariable("DateTime2", ScriptValue::Date(b.DateTime()));
        EXPECT_EQ(EvalShow(engine, "Minutes(DateTime, DateTime2)"), "Integer: " + std::to_string(c.minutes))
            << c.date1 << " " << c.time1 << " / " << c.date2 << " " << c.time2;
    }
}

TEST(RuleFunctions, MinutesDropsSecondsAndRefusesWhatIsNoMoment) {
    TZelkScriptEngine engine;
    const double noon = 38395.5; // 2005-02-12 12:00
    const double second = 1.0 / 86400;
    engine.SetVariable("A", ScriptValue::Date(noon + 59 * second));
    engine.SetVariable("B", ScriptValue::Date(noon + 60 * second));
    engine.SetVariable("C", ScriptValue::Date(noon + 119 * second));
    struct Case {
        std::string_view expr;
        std::string shown;
    };
    const std::string notADate = "Error: Could not convert variant of type (Double) into type (Date)";
    const Case cases[] = {
        // 12:00:59 and 12:01:00 lie in two minutes; 12:01:00 and 12:01:59 in one.
        {"Minutes(A, B)", "Integer: 1"},
        {"Minutes(B, C)", "Integer: 0"},
        {"MINUTES(C, A)", "Integer: 1"},
        {"Minutes(A, A + 1)", "Integer: 1440"},
        {"Minutes(0, 1 / 24)", "Integer: 60"},
        {"Minutes(-1.25, -1)", "Integer: 360"},
        {"Minutes(A, 1E300)", notADate},
        {"Minutes(1E300, A)", notADate},
        {"Minutes(A, x)", "Error: Could not convert variant of type (Null) into type (Date)"},
        {"Minutes(A, 'noon')", "Error: Could not convert variant of type (String) into type (Date)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EvalShow(engine, c.expr), c.shown) << c.expr;
    // The widest span the calendar holds does not overflow.
    EXPECT_EQ(EvalShow(engine, "Minutes(-693593, 2958465)"), "Integer: 2147483647");
}

// Removing any of the five from the engine, the completion list or the help breaks this test.
TEST(RuleFunctions, EachNewNameIsInTheEngineTheCompletionListAndTheHelp) {
    const std::string page = ReadFileBytes(std::string(ZELK_SOURCE_DIR) + "/help/script_functions.htm");
    const std::string project = ReadFileBytes(std::string(ZELK_SOURCE_DIR) + "/help/zelkon.qhp");
    TZelkScriptEngine engine;
    std::vector<TCompletionEntry> completion;
    engine.FillCompletion(completion);
    const std::string kUnknown = "Неизвестная функция : "_cp;
    for (const std::string name : {"Band", "Minutes", "Word", "NoZeros", "IsCall"}) {
        EXPECT_TRUE(IsScriptFunction(name)) << name;
        EXPECT_TRUE(IsScriptFunction(UpperCase(name))) << name;
        EXPECT_EQ(EvalShow(engine, name + "()").find(kUnknown), std::string::npos) << name;
        const bool listed = std::any_of(completion.begin(), completion.end(), [&](const TCompletionEntry& e) {
            return e.insert == name && e.display.rfind("function\t" + name + "(", 0) == 0;
        });
        EXPECT_TRUE(listed) << name;
        // A row of the function table with its example, and an index word leading to the page.
        const std::string code = "<code>" + name + "(";
        const std::size_t row = page.find("<tr><td>" + code);
        EXPECT_NE(row, std::string::npos) << name;
        EXPECT_NE(page.find(code, row + code.size() + 8), std::string::npos) << name << ": no example";
        EXPECT_NE(project.find("<keyword name=\"" + name + "\" ref=\"script_functions.htm"),
                  std::string::npos)
            << name;
    }
    // Every function the list offers has its row in the help; every variable of contest rules is described
    // in the help of the scripts and has an index word.
    const std::string scripts = ReadFileBytes(std::string(ZELK_SOURCE_DIR) + "/help/scripts.htm");
    for (const TCompletionEntry& e : completion) {
        if (e.display.rfind("variable\t", 0) == 0) {
            EXPECT_NE(scripts.find("<code>" + e.insert + "</code>"), std::string::npos) << e.insert;
            // MyCall2 and Tx2 are found under MyCall and Tx.
            const std::string base = e.insert.substr(0, e.insert.size() - (e.insert.back() == '2' ? 1 : 0));
            EXPECT_TRUE(project.find("<keyword name=\"" + e.insert + "\"") != std::string::npos ||
                        project.find("<keyword name=\"" + base + "\"") != std::string::npos)
                << e.insert;
            continue;
        }
        EXPECT_NE(page.find("<code>" + e.insert), std::string::npos) << e.insert;
    }
}

// The check of the script editor and of zelkon-cli compile: misspelt function names on their lines.
TEST(ScriptCheck, AnUnknownFunctionIsReportedWhereItIsWritten) {
    struct Case {
        const char* what;
        std::vector<std::string> source;
        std::string error; // empty: the check passes
    };
    const std::string unknown = "Неизвестная функция : "_cp;
    const Case cases[] = {
        {"known names in any case",
         {"begin", "  Result := NoZeros(word(Receive, 2)) = NOZEROS(Word(Send2, 2));", "end"},
         ""},
        {"a misspelt name",
         {"begin", "  x := 1;", "  Result := Bnad(Freq) = '80'", "end"},
         "Line 3/13: " + unknown + "BNAD"},
        {"the first of two", {"begin Foo(1); Bar(2) end"}, "Line 1/7: " + unknown + "FOO"},
        {"inside an argument",
         {"begin", "  x := Word(Trimm(Receive), 1)", "end"},
         "Line 2/13: " + unknown + "TRIMM"},
        {"after a comment that spans lines",
         {"{ one", "  two } begin x := Fo(1) end"},
         "Line 2/20: " + unknown + "FO"},
        {"in a condition", {"begin if IsCal(Call) then x := 1 end"}, "Line 1/10: " + unknown + "ISCAL"},
        {"operator words written as calls",
         {"begin x := Round(1.5) + Int(2) + Frac(3) + Str(4); y := not(x) end"},
         ""},
        {"exit(0) ends the run", {"begin exit(0) end"}, ""},
        {"exit with another argument is a call", {"begin exit(1) end"}, "Line 1/7: " + unknown + "EXIT"},
        {"a name with a blank before its bracket is no call", {"begin x := Foo end"}, ""},
        {"a name inside a literal is text", {"begin x := 'Foo(1)' end"}, ""},
        {"a compile error comes first",
         {"begin x := Foo(1) y := 2 end"},
         "Line 1/19: Need \";\" or \"end\" here"},
    };
    TZelkScriptEngine engine;
    for (const Case& c : cases) {
        TfrScript script;
        std::vector<std::string> errors{"stale"};
        engine.CheckScript(c.source, script, errors);
        if (c.error.empty()) {
            EXPECT_TRUE(errors.empty()) << c.what << ": " << (errors.empty() ? "" : errors[0]);
            EXPECT_TRUE(script.IsValid()) << c.what;
        } else {
            ASSERT_EQ(errors.size(), 1u) << c.what;
            EXPECT_EQ(errors[0], c.error) << c.what;
        }
        // Compiling alone never looks at the names: a call that is not reached does no harm.
        std::vector<std::string> compileErrors;
        engine.CompileScript(c.source, script, compileErrors);
        EXPECT_EQ(compileErrors.empty(), c.error.empty() || c.error.find(unknown) != std::string::npos)
            << c.what;
    }
}
