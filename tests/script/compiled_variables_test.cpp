// Compiled variables: a script's variables are known when it is compiled, and an entry point defines
// only the inputs the script can read. Nothing a script can observe changes by that.
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "script/zelk_script_engine.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zelk;
using namespace zelk::test;

namespace {

// The variables a script can read, sorted, or "any".
std::string Reads(const std::string& text) {
    TZelkScriptEngine engine;
    TfrScript script;
    std::vector<std::string> errors;
    engine.CompileScript({text}, script, errors);
    EXPECT_TRUE(errors.empty()) << text;
    const TfrReads reads = engine.ScriptReads(script);
    if (reads.Any) return "any";
    std::vector<std::string> names = reads.Names;
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : " ") + n;
    return out;
}

// Every input of IsConfirmative written into one message: the record, the candidate and the owner.
const char* kShowEveryInput =
    "ShowMessage(CallSign + '|' + Freq + Mode + SDate + STime + Call + Send + Receive + "
    "Score + Comment + '|' + FormatDateTime('yyyy-mm-dd hh:nn', DateTime) + '|' + "
    "Freq2 + Mode2 + SDate2 + STime2 + Call2 + Send2 + Receive2 + Score2 + Comment2 + "
    "'|' + FormatDateTime('yyyy-mm-dd hh:nn', DateTime2))";

class CompiledVariablesTest : public ContestFixture {
  protected:
    TQSORecord own{"3510 cw 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015"};
    TQSORecord theirs{"3510 CW 2005-02-13 0002 Q2BB 599 015 Q1AA 599 001"};
    CompiledVariablesTest() {
        own.Score = "1";
        own.Comment = "повтор; "_cp;
    }
    // The names now defined in the script set's store.
    std::vector<std::string> Defined() {
        const TfrVariables& store = Scripts().Engine().Variables();
        std::vector<std::string> names;
        for (size_t i = 0; i < store.Count(); ++i)
            names.push_back(store.NameAt(i));
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST(ScriptReads, AreTheNamesOfEveryExpressionAndArgument) {
    struct Case {
        const char *script, *reads;
    };
    const Case cases[] = {
        {"begin Result := ((Call2 = CallSign) and (Mode2 = Mode) and (Freq2 = Freq)); end;",
         "CALL2 CALLSIGN FREQ FREQ2 MODE MODE2"},
        {"begin Result := Pos('Q', Call2) > Length(Trim(Send)) end", "CALL2 SEND"},
        {"begin Result := If(Freq = '1', Copy(Send2, 1, n), UpperCase(Receive)) end", "FREQ N RECEIVE SEND2"},
        {"begin x := 1; Result := x + [score] end", "SCORE X"},
        {"begin for i := 1 to Length(Call) do Result := Result + 1 end", "CALL I RESULT"},
        {"begin repeat k := k + 1 until k > MinNum(Multi, 3) end", "K MULTI"},
        {"begin while DayOf(DateTime2) < 3 do ShowMessage(FormatFloat('0', Frac(Score))) end",
         "DATETIME2 SCORE"},
        {"begin if x then y := 1 else y := StrToInt(Comment) end", "COMMENT X"},
        {"begin Result := Pos(STR(ShowMessage('a')), STR(Call)) end", "CALL"},
        {"begin Result := 1; exit; Result := Freq end", "FREQ"},
        {"begin Result := 5 end", ""},
        {"begin end", ""},
        // Functions that could reach a variable the script does not name: anything can be read.
        {"begin Result := a[1] end", "any"},
        {"begin if 0 = 1 then a[Call] := 2; Result := Freq end", "any"},
        {"begin Result := Foo(Call) end", "any"},
        {"begin Result := Trim(Bar(1)) end", "any"},
        {"begin exit(1) end", "any"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Reads(c.script), c.reads) << c.script;
}

TEST_F(CompiledVariablesTest, TheDefaultScriptsGetOnlyWhatTheyRead) {
    EXPECT_TRUE(Scripts().IsConfirmative("Q1AA", own, theirs));
    EXPECT_EQ(Defined(),
              (std::vector<std::string>{"Call2", "CallSign", "Freq", "Freq2", "Mode", "Mode2", "Result"}));
    EXPECT_FALSE(Scripts().IsDuplicate(own, theirs));
    EXPECT_EQ(Defined(),
              (std::vector<std::string>{"Call", "Call2", "Freq", "Freq2", "Mode", "Mode2", "Result"}));
    EXPECT_EQ(Scripts().CalcTotal(3, 2), 6);
    EXPECT_EQ(Defined(), (std::vector<std::string>{"Multi", "Result", "Score"}));
    EXPECT_EQ(Scripts().CalcQSO(own), 1);
    EXPECT_EQ(Defined(), std::vector<std::string>{"Result"});
}

// A script that reads every input sees each as it stands in the records, the same whether it gets only
// what it names or, through a function that could reach anything, every input.
TEST_F(CompiledVariablesTest, AScriptSeesEveryInputItReadsAsItIs) {
    const std::string expected = "Q1AA|3510CW2005-02-1212:01Q2BB599 001599 0151повтор; |2005-02-12 12:01|"
                                 "3510CW2005-02-1300:02Q1AA599 015599 001|2005-02-13 00:02"_cp;
    WriteScript("IsConfirmative.txt", std::string("begin ") + kShowEveryInput + "; Result := 1 end");
    EXPECT_TRUE(Scripts().IsConfirmative("Q1AA", own, theirs));
    WriteScript("IsConfirmative.txt",
                std::string("begin ") + kShowEveryInput + "; if 0 = 1 then Foo(1); Result := 1 end");
    EXPECT_TRUE(Scripts().IsConfirmative("Q1AA", own, theirs));
    EXPECT_EQ(messages.PlainTexts(), (std::vector<std::string>{expected, expected}));
    EXPECT_GT(Defined().size(), 20u);
}

TEST_F(CompiledVariablesTest, AScriptThatReadsNothingStillRuns) {
    WriteScript("IsDuplicate.txt", "begin ShowMessage('ran'); Result := true end");
    WriteScript("CalcMultiplier.txt", "begin Result := 'M' end");
    EXPECT_TRUE(Scripts().IsDuplicate(own, theirs));
    EXPECT_EQ(Scripts().CalcMultiplier(own), "M");
    EXPECT_EQ(messages.PlainTexts(), std::vector<std::string>{"ran"});
    // An input it assigns before reading is its own variable, as it always was.
    WriteScript("IsDuplicate.txt", "begin Call := 'X'; Result := (Call = 'X') and (CallSign = '') end");
    EXPECT_FALSE(Scripts().IsDuplicate(own, theirs));
    WriteScript("IsDuplicate.txt", "begin Call := 'X'; Result := Call = 'X' end");
    EXPECT_TRUE(Scripts().IsDuplicate(own, theirs));
}

// The names of contest rules are defined only for a script that reads them, and only by the entry
// points that have them: Accepted2 by IsDuplicate when a check gives it, Reason (empty) by CalcQSO,
// IsValidReceive and IsDuplicate, MaxMinutesDifference by all six.
TEST_F(CompiledVariablesTest, RuleNamesReachTheScriptsThatReadThem) {
    Scripts().SetMaxMinutesDifference(9);
    own.MyCall = "Q1AA/P";
    own.Tx = "1";
    theirs.MyCall = "Q2BB";
    WriteScript("IsDuplicate.txt",
                "begin Result := Accepted2 and (Reason = '') and (MaxMinutesDifference = 9) "
                "and (MyCall = 'Q1AA/P') and (Tx = '1') and (MyCall2 = 'Q2BB') and (Tx2 = '') end");
    const bool yes = true, no = false;
    std::string reason = "old";
    EXPECT_TRUE(Scripts().IsDuplicate(own, theirs, &yes, &reason));
    EXPECT_EQ(reason, "");
    EXPECT_FALSE(Scripts().IsDuplicate(own, theirs, &no, &reason));
    EXPECT_TRUE(Scripts().IsDuplicateReadsAccepted2());
    EXPECT_EQ(Defined(), (std::vector<std::string>{"Accepted2", "MaxMinutesDifference", "MyCall", "MyCall2",
                                                   "Reason", "Result", "Tx", "Tx2"}));
    // A script that does not name Accepted2 is not given it, and a check keeps no verdicts for it.
    WriteScript("IsDuplicate.txt", "begin Result := Call = Call2 end");
    EXPECT_TRUE(Scripts().IsDuplicate(own, own, &no, &reason));
    EXPECT_FALSE(Scripts().IsDuplicateReadsAccepted2());
    EXPECT_EQ(Defined(), (std::vector<std::string>{"Call", "Call2", "Result"}));

    // Reason starts empty on every run, whatever the run before left in it; the text left is given back.
    WriteScript("CalcQSO.txt",
                "begin if Reason = '' then Result := MaxMinutesDifference; Reason := 'R' + Tx end");
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(Scripts().CalcQSO(own, &reason), 9);
        EXPECT_EQ(reason, "R1");
    }
    // A script that only assigns Reason still gives it back; one that fails gives none.
    WriteScript("IsValidReceive.txt", "begin Reason := 'нет'; Result := MaxMinutesDifference > 5 end"_cp);
    EXPECT_TRUE(Scripts().IsValidReceive("Q1AA", own, theirs, &reason));
    EXPECT_EQ(reason, "нет"_cp);
    WriteScript("IsValidReceive.txt", "begin Reason := 'нет'; Result := Foo(1) end"_cp);
    EXPECT_FALSE(Scripts().IsValidReceive("Q1AA", own, theirs, &reason));
    EXPECT_EQ(reason, "");
    messages.boxes.clear();

    // MaxMinutesDifference in the other three, and a copy of the set keeps the value.
    WriteScript("CalcMultiplier.txt", "begin Result := IntToStr(MaxMinutesDifference) + MyCall end");
    WriteScript("CalcTotal.txt", "begin Result := Score * Multi + MaxMinutesDifference end");
    WriteScript("IsConfirmative.txt",
                "begin Result := (MaxMinutesDifference = 9) and (CallSign = 'Q1AA') end");
    const auto copy = Scripts().Clone();
    for (TZelkScript* set : {&Scripts(), copy.get()}) {
        EXPECT_EQ(set->CalcMultiplier(own), "9Q1AA/P");
        EXPECT_EQ(set->CalcTotal(2, 3), 15);
        EXPECT_TRUE(set->IsConfirmative("Q1AA", own, theirs));
    }
    EXPECT_TRUE(messages.boxes.empty());
}
