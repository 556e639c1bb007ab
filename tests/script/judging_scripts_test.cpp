// The six judging scripts: default texts and files, entry points, result conversion, caches and the
// failure marks.
#include "logs/cabrillo_file.h"
#include "logs/error.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

using namespace zelk;
using namespace zelk::test;

namespace {

class ScriptsTest : public ContestFixture {
  protected:
    TQSORecord own{"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015"};
    TQSORecord theirs{"3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001"};
    int Runs() const { return static_cast<int>(messages.PlainTexts().size()); }
};

} // namespace

TEST_F(ScriptsTest, ItemsInOrderWithCaptionsFilesAndTopics) {
    const auto& items = Scripts().Items();
    ASSERT_EQ(items.size(), 6u);
    const char* files[] = {"CalcQSO.txt",        "CalcMultiplier.txt", "CalcTotal.txt",
                           "IsConfirmative.txt", "IsValidReceive.txt", "IsDuplicate.txt"};
    const std::string captions[] = {
        "Расчёт очков для QSO-записи"_cp, "Критерий для расчёта множителя"_cp, "Расчёт итога"_cp,
        "Подтверждение QSO-записи"_cp,    "Подтверждение приёма"_cp,           "Проверка на повтор"_cp};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i]->GetCaption(), captions[i]);
        EXPECT_EQ(items[i]->GetFileName(), scripts.File(files[i]));
        EXPECT_EQ(items[i]->GetHelpTopic(),
                  "script_" + std::string(files[i]).substr(0, std::string(files[i]).size() - 4));
    }
    // The program's own script folder is "script" beside the program.
    const TZelkScript program(TScriptFiles(settings.Paths()), messages);
    EXPECT_EQ(program.Items()[0]->GetFileName(), exe.Text() + "/script/CalcQSO.txt");
    EXPECT_EQ(Scripts().FindItem(TScriptKind::IsDuplicate), items[5].get());
}

TEST_F(ScriptsTest, DefaultTextsAreTheBuiltInOnes) {
    TZelkScriptItem* calcTotal = Scripts().FindItem(TScriptKind::CalcTotal);
    EXPECT_EQ(calcTotal->GetDefaultText(), "// Внутренние переменные (количество очков и множитель):\r\n"
                                           "// Score, Multi: Integer;\r\n"
                                           "// Результат должен быть помещён в переменную\r\n"
                                           "// Result: Integer;\r\n"
                                           "begin\r\n"
                                           "  Result := Score * Multi;\r\n"
                                           "end;"_cp);
    EXPECT_EQ(calcTotal->GetText(), calcTotal->GetDefaultText() + "\r\n");
    const std::string confirm = Scripts().FindItem(TScriptKind::IsConfirmative)->GetDefaultText();
    const std::string receive = Scripts().FindItem(TScriptKind::IsValidReceive)->GetDefaultText();
    // The two share their first eleven lines.
    EXPECT_EQ(confirm.substr(0, confirm.find("  Result")), receive.substr(0, receive.find("  Result")));
    EXPECT_NE(confirm.find("// CallSign: String; позывной владельца проверяемого файла\r\n"_cp),
              std::string::npos);
    EXPECT_EQ(receive.substr(receive.find("  Result")), "  Result := (Receive = Send2);\r\nend;");
    const std::string dup = Scripts().FindItem(TScriptKind::IsDuplicate)->GetDefaultText();
    EXPECT_EQ(dup.substr(dup.find("begin")), "begin\r\n  Result := (\r\n    (Freq = Freq2) and\r\n    (Mode "
                                             "= Mode2) and\r\n    (Call = Call2)\r\n  )\r\nend;");
    for (const auto& item : Scripts().Items()) {
        const std::string text = item->GetDefaultText();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n') + 1, static_cast<long>(item->Lines().size()));
    }
}

TEST_F(ScriptsTest, DefaultsJudgeOnePointPerConfirmedContact) {
    EXPECT_TRUE(IsConfirmedBy(Scripts(), own, "Q1AA", theirs));
    EXPECT_FALSE(IsConfirmedBy(Scripts(), own, "q1aa", theirs));
    EXPECT_TRUE(IsReceiveValid(Scripts(), own, "Q1AA", theirs));
    EXPECT_FALSE(IsDuplicateOf(Scripts(), own, theirs));
    EXPECT_TRUE(
        IsDuplicateOf(Scripts(), own, TQSORecord("3510 CW 2005-02-12 1301 Q1AA 599 009 Q2BB 599 099")));
    EXPECT_EQ(Points(Scripts(), own), 1);
    EXPECT_EQ(Criterion(Scripts(), own), "Q2BB");
    TZelkCurrentFile file;
    file.SetScore(7);
    file.SetMulti(3);
    EXPECT_EQ(GetTotal(Scripts(), file), 21);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(ScriptsTest, ScriptFilesReplaceTheDefaultsAndSetTextTakesEffectAtOnce) {
    WriteScript("CalcQSO.txt", "begin\r\n  Result := 3;\r\nend;\r\n");
    EXPECT_EQ(Scripts().CalcQSO(own), 3);
    EXPECT_EQ(Scripts().FindItem(TScriptKind::CalcQSO)->GetText(), "begin\r\n  Result := 3;\r\nend;\r\n");
    Scripts().FindItem(TScriptKind::CalcQSO)->SetText("begin Result := 4 end");
    EXPECT_EQ(Scripts().CalcQSO(own), 4);
    // A file changed behind the program's back is read again only by a new script set.
    scripts.Write("CalcQSO.txt", "begin Result := 5 end");
    EXPECT_EQ(Scripts().CalcQSO(own), 4);
}

TEST_F(ScriptsTest, CachesRunEachScriptOncePerRecordAndTotal) {
    WriteScript("CalcQSO.txt", "begin ShowMessage('points'); Result := 2 end");
    WriteScript("CalcTotal.txt", "begin ShowMessage('total'); Result := Score + Multi end");
    EXPECT_EQ(Points(Scripts(), own), 2);
    EXPECT_EQ(Points(Scripts(), own), 2);
    EXPECT_EQ(Runs(), 1);
    own.ParseQSOLine("7020 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015");
    EXPECT_EQ(Points(Scripts(), own), 2);
    EXPECT_EQ(Runs(), 2);
    TZelkCurrentFile file;
    file.SetScore(5);
    file.SetMulti(2);
    EXPECT_EQ(GetTotal(Scripts(), file), 7);
    EXPECT_EQ(GetTotal(Scripts(), file), 7);
    EXPECT_EQ(Runs(), 3);
    file.SetMulti(3);
    EXPECT_EQ(GetTotal(Scripts(), file), 8);
    EXPECT_EQ(Runs(), 4);
}

TEST_F(ScriptsTest, NegativePointsAreComputedAgainAtEveryCall) {
    WriteScript("CalcQSO.txt", "begin ShowMessage('p'); Result := -1 end");
    EXPECT_EQ(Points(Scripts(), own), -1);
    EXPECT_EQ(Points(Scripts(), own), -1);
    EXPECT_EQ(Runs(), 2);
}

TEST_F(ScriptsTest, ResultConversions) {
    struct Case {
        const char* text;
        int points;
    };
    const Case cases[] = {{"begin end", 0},
                          {"begin Result := '3' end", 3},
                          {"begin Result := 2.5 end", 2},
                          {"begin Result := 3.5 end", 4},
                          {"begin Result := TRUE end", -1},
                          {"begin Result := 1 = 1 end", 1}};
    for (const auto& c : cases) {
        WriteScript("CalcQSO.txt", c.text);
        EXPECT_EQ(Scripts().CalcQSO(own), c.points) << c.text;
    }
    WriteScript("CalcQSO.txt", "begin Result := 'x' end");
    EXPECT_THROW(Scripts().CalcQSO(own), TZelkError);
    WriteScript("CalcQSO.txt", "begin Result := Undefined end");
    try {
        Scripts().CalcQSO(own);
        ADD_FAILURE() << "a null Result converts to nothing";
    } catch (const TZelkError& e) {
        EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (Integer)");
    }
    WriteScript("CalcMultiplier.txt", "begin end");
    EXPECT_EQ(Scripts().CalcMultiplier(own), "");
    WriteScript("IsDuplicate.txt", "begin Result := 'true' end");
    EXPECT_TRUE(Scripts().IsDuplicate(own, theirs));
    WriteScript("IsDuplicate.txt", "begin Result := 0 end");
    EXPECT_FALSE(Scripts().IsDuplicate(own, theirs));
}

TEST_F(ScriptsTest, VariablesEachScriptSees) {
    WriteScript("IsConfirmative.txt", "begin Result := (CallSign = 'Q1AA') and (Call2 = 'Q1AA') and "
                                      "(DayOf(DateTime2) = 12) and (STime = '12:01') and (Score2 = '') end");
    EXPECT_TRUE(Scripts().IsConfirmative("Q1AA", own, theirs));
    // IsDuplicate defines no CallSign: reading it gives null, and comparing null gives 0.
    WriteScript("IsDuplicate.txt", "begin Result := CallSign = '' end");
    EXPECT_FALSE(Scripts().IsDuplicate(own, theirs));
    WriteScript("CalcTotal.txt", "begin Result := Score * 10 + Multi end");
    EXPECT_EQ(Scripts().CalcTotal(4, 2), 42);
}

TEST_F(ScriptsTest, CompileErrorIsReportedOncePerRunUntilResetFailed) {
    WriteScript("IsConfirmative.txt", "begin\r\n  Result := (Call2 = CallSign\r\nend;");
    EXPECT_FALSE(IsConfirmedBy(Scripts(), own, "Q1AA", theirs));
    EXPECT_FALSE(IsConfirmedBy(Scripts(), own, "Q1AA", theirs));
    ASSERT_EQ(Runs(), 1);
    const std::string text = messages.PlainTexts()[0];
    EXPECT_EQ(text.rfind("Ошибка в скрипте [Подтверждение QSO-записи]:\r\rLine "_cp, 0), 0u) << ToUtf8(text);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_TRUE(Scripts().FindItem(TScriptKind::IsConfirmative)->Failed);
    // The other scripts still run.
    EXPECT_TRUE(IsReceiveValid(Scripts(), own, "Q1AA", theirs));
    Scripts().ResetFailed();
    EXPECT_FALSE(IsConfirmedBy(Scripts(), own, "Q1AA", theirs));
    EXPECT_EQ(Runs(), 2);
}

TEST_F(ScriptsTest, RunErrorKeepsWhatWasAssignedThenYieldsTheInitialValue) {
    WriteScript("CalcQSO.txt", "begin Result := 5; Result := 1 / 0 end");
    EXPECT_EQ(Scripts().CalcQSO(own), 5);
    EXPECT_EQ(Scripts().CalcQSO(own), 0);
    EXPECT_EQ(messages.PlainTexts(),
              (std::vector<std::string>{"Ошибка в скрипте [Расчёт очков для QSO-записи]"_cp}));
    WriteScript("CalcQSO.txt", "begin Result := Foo(1) end");
    EXPECT_EQ(Scripts().CalcQSO(own), 0);
    EXPECT_EQ(Runs(), 2);
}

TEST_F(ScriptsTest, ShowMessageShowsOneBoxPerRecordJudged) {
    WriteScript("CalcQSO.txt", "begin ShowMessage('Call: ' + Call); Result := 1 end");
    TQSORecord a("3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015"),
        b("3510 CW 2005-02-12 1201 Q1AA 599 001 Q3CC 599 015");
    Points(Scripts(), a);
    Points(Scripts(), b);
    EXPECT_EQ(messages.PlainTexts(), (std::vector<std::string>{"Call: Q2BB", "Call: Q3CC"}));
}

// The functions for contest rules work in every one of the six scripts.
TEST_F(ScriptsTest, EveryScriptCallsTheFunctionsForContestRules) {
    WriteScript("CalcQSO.txt", "begin if Band(Freq) = '80' then Result := 2 else Result := 1 end");
    WriteScript("CalcMultiplier.txt", "begin Result := Band(Freq) + ' ' + NoZeros(Word(Receive, 2)) end");
    WriteScript("CalcTotal.txt", "begin Result := Score * Multi + IsCall('Q1AA/P') end");
    WriteScript("IsConfirmative.txt",
                "begin Result := (Minutes(DateTime, DateTime2) <= 1) and IsCall(Call2) end");
    WriteScript("IsValidReceive.txt",
                "begin Result := NoZeros(Word(Receive, 2)) = NoZeros(Word(Send2, 2)) end");
    WriteScript("IsDuplicate.txt",
                "begin Result := (Band(Freq) = Band(Freq2)) and (Minutes(DateTime, DateTime2) < 30) end");
    TQSORecord later("3560 CW 2005-02-12 1230 Q1AA 599 001 Q2BB 599 15");
    EXPECT_EQ(Points(Scripts(), own), 2);
    EXPECT_EQ(Criterion(Scripts(), own), "80 15");
    TZelkCurrentFile file;
    file.SetScore(3);
    file.SetMulti(2);
    EXPECT_EQ(GetTotal(Scripts(), file), 7);
    EXPECT_TRUE(IsConfirmedBy(Scripts(), own, "Q1AA", theirs));
    EXPECT_FALSE(IsConfirmedBy(Scripts(), own, "Q1AA", TQSORecord("3510 CW 2005-02-12 1204 Q2BB 599 015 Q1AA 599 001")));
    EXPECT_TRUE(IsReceiveValid(Scripts(), later, "Q1AA", theirs));
    EXPECT_TRUE(IsDuplicateOf(Scripts(), own, TQSORecord("3599 CW 2005-02-12 1230 Q1AA 599 002 Q2BB 599 016")));
    EXPECT_FALSE(IsDuplicateOf(Scripts(), own, TQSORecord("3599 CW 2005-02-12 1231 Q1AA 599 002 Q2BB 599 016")));
    EXPECT_FALSE(IsDuplicateOf(Scripts(), own, TQSORecord("7010 CW 2005-02-12 1202 Q1AA 599 002 Q2BB 599 016")));
    EXPECT_TRUE(messages.boxes.empty());
}
