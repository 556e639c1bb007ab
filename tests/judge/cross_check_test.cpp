// Checking one log: confirmation, receive and time tests, repeats, absent logs, totals, and the order
// in which the scripts are asked.
#include "judge/cross_check.h"
#include "judge/judge.h"
#include "logs/error.h"
#include "logs/log_lookup.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zelk;
using namespace zelk::test;

namespace {

class CheckTest : public ContestFixture {
  protected:
    // Checks `name` and returns its rows as "score|comment" texts.
    std::vector<std::string> Check(const std::string& name) {
        Open(name);
        CheckAllRecords(contest, Judging());
        std::vector<std::string> r;
        for (const auto& row : contest.QSOs)
            r.push_back(row.Cell(7) + "|" + ToUtf8(row.Cell(8)));
        return r;
    }
    std::string Results() const {
        return contest.Status[spScore] + "/" + contest.Status[spMulti] + "/" + contest.Status[spTotal];
    }
};

const std::vector<std::string> kQ1AAHeader = {"START-OF-LOG: 3.0", "CALLSIGN: Q1AA"};
const std::vector<std::string> kQ2BBHeader = {"START-OF-LOG: 3.0", "CALLSIGN: Q2BB"};

} // namespace

TEST(CorrespondentFileName, CutsAtTheSlashAndAppendsTheMaskExtension) {
    struct Case {
        const char *call, *mask, *name;
    };
    const Case cases[] = {{"Q1AB/P", "*.CBR", "Q1AB.CBR"},
                          {" Q1AB ", "*.CBR", "Q1AB.CBR"},
                          {"Q2/Q1AB", "*.CBR", "Q2.CBR"},
                          {"", "*.CBR", ".CBR"},
                          {"/", "*.CBR", ".CBR"},
                          {"Q1AB", "*.log", "Q1AB.log"},
                          {"Q1AB/P", "*.CBR;*.LOG", "Q1AB.CBR"},
                          {"Q1AB", "", "Q1AB"}};
    for (const auto& c : cases)
        EXPECT_EQ(CorrespondentFileName(c.call, c.mask), c.name) << c.call;
}

TEST_F(CheckTest, WorkedExample) {
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0",
              "3510 CW 2005-02-12 1230 Q1AA 599 002 Q2BB 599 016 0",
              "7020 CW 2005-02-12 1300 Q1AA 599 003 Q3CC 599 007 0"});
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0",
              "3510 CW 2005-02-12 1231 Q2BB 599 016 Q1AA 599 002 0"});
    EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{"1|", "-|повтор; ", "-|нет файла; "}));
    EXPECT_EQ(contest.QSOs[0].ImageIndex, imgQSOAccepted);
    EXPECT_EQ(contest.QSOs[1].ImageIndex, imgQSORejected);
    EXPECT_EQ(contest.QSOs[2].ImageIndex, imgQSORejected);
    EXPECT_EQ(Results(), "1/1/1");
    EXPECT_EQ(contest.Status[spResultLabel], " SCORE/MULTI/CLAIMED");
    const auto& logRow = contest.Logs[static_cast<size_t>(contest.SelectedLog)];
    EXPECT_EQ(logRow.Cells, (std::vector<std::string>{"1", "1", "1"}));
    EXPECT_EQ(contest.Current.Score, 1);
    EXPECT_EQ(contest.Current.Multi, 1);
}

TEST_F(CheckTest, CandidateRulesReceiveAndTime) {
    // Each own record faces the Q2BB records listed with it; times of the own log are 12:00.
    struct Case {
        std::vector<std::string> theirs;
        const char* expected;
    };
    const Case cases[] = {
        // Second confirming record passes after the first failed the receive test.
        {{"3510 CW 2005-02-12 1200 Q2BB 599 999 Q1AA 599 001",
          "3510 CW 2005-02-12 1201 Q2BB 599 015 Q1AA 599 001"},
         "1|"},
        // First with a wrong exchange, second outside the time window: the last confirming one is kept.
        {{"3510 CW 2005-02-12 1200 Q2BB 599 999 Q1AA 599 001",
          "3510 CW 2005-02-12 1210 Q2BB 599 015 Q1AA 599 001"},
         "-|время не совпадает; "},
        // One record, both wrong.
        {{"3510 CW 2005-02-12 1210 Q2BB 599 999 Q1AA 599 001"}, "-|ошибка приёма; время не совпадает; "},
        // Nothing confirms (other band, other call, other mode).
        {{"7020 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001",
          "3510 CW 2005-02-12 1200 Q2BB 599 015 Q1XX 599 001",
          "3510 PH 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001"},
         "-|нет подтв.связи; "},
        // A difference equal to the tolerance is close enough.
        {{"3510 CW 2005-02-12 1203 Q2BB 599 015 Q1AA 599 001"}, "1|"},
        {{"3510 CW 2005-02-12 1204 Q2BB 599 015 Q1AA 599 001"}, "-|время не совпадает; "},
    };
    for (const auto& c : cases) {
        WriteLog("Q1AA.CBR", kQ1AAHeader, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015"});
        WriteLog("Q2BB.CBR", kQ2BBHeader, c.theirs);
        EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{c.expected})) << c.theirs[0];
    }
}

TEST_F(CheckTest, RepeatsAndMidnight) {
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 2359 Q1AA 599 001 Q2BB 599 015",
              "3510 CW 2005-02-13 0005 Q1AA 599 002 Q2BB 599 999",
              "7020 CW 2005-02-13 0010 Q1AA 599 003 Q2BB 599 017"});
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-13 0001 Q2BB 599 015 Q1AA 599 001",
              "3510 CW 2005-02-13 0006 Q2BB 599 016 Q1AA 599 002",
              "7020 CW 2005-02-13 0011 Q2BB 599 017 Q1AA 599 003"});
    EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{"1|", "-|ошибка приёма; повтор; ", "1|"}));
    EXPECT_EQ(Results(), "2/1/2"); // one distinct criterion, the callsign
}

TEST_F(CheckTest, PortableCallFindsTheBaseLogAndOddCallsStayInsideTheFolder) {
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q1AB/P 599 015",
              "3510 CW 2005-02-12 1201 Q1AA 599 002 ../../x 599 1",
              "3510 CW 2005-02-12 1202 Q1AA 599 003 / 599 1",
              "3510 CW 2005-02-12 1203 Q1AA 599 004 Q1AA\\..\\x 599 1",
              "3510 CW 2005-02-12 1204 Q1AA 599 005 SUBDIR 599 1", "3510 CW 2005-02-12 1205"});
    WriteLog("q1ab.cbr", {"CALLSIGN: Q1AB/P"}, {"3510 CW 2005-02-12 1200 Q1AB/P 599 015 Q1AA 599 001"});
    folder.MakeDir("SUBDIR.CBR");
    exe.Write("x.CBR", "CALLSIGN: X\r\nQSO: 3510 CW 2005-02-12 1201 X 599 1 Q1AA 599 002\r\n");
    const auto rows = Check("Q1AA.CBR");
    EXPECT_EQ(rows[0], "1|"); // confirmed by q1ab.cbr, found without regard to letter case
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(rows[i], "-|нет файла; ") << i;
}

TEST_F(CheckTest, CriteriaIgnoreCaseAndEmptyCriteriaCountNothing) {
    WriteScript("CalcMultiplier.txt", "begin if Freq = '3510' then Result := LowerCase(Call) else "
                                      "if Freq = '7020' then Result := Call else Result := '' end");
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015",
              "7020 CW 2005-02-12 1200 Q1AA 599 002 Q2BB 599 016",
              "14010 CW 2005-02-12 1200 Q1AA 599 003 Q2BB 599 017"});
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001",
              "7020 CW 2005-02-12 1200 Q2BB 599 016 Q1AA 599 002",
              "14010 CW 2005-02-12 1200 Q2BB 599 017 Q1AA 599 003"});
    EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{"1|", "1|", "1|"}));
    EXPECT_EQ(Results(), "3/1/3");
}

TEST_F(CheckTest, LogWithoutContactsOrWithoutCallSign) {
    WriteLog("EMPTY.CBR", kQ1AAHeader, {});
    EXPECT_TRUE(Check("EMPTY.CBR").empty());
    EXPECT_EQ(Results(), "0/0/0");
    EXPECT_TRUE(messages.boxes.empty());

    WriteLog("NOCALL.CBR", {"NAME: x"}, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015"});
    EXPECT_EQ(Check("NOCALL.CBR"), (std::vector<std::string>{"-|"}));
    EXPECT_EQ(contest.QSOs[0].ImageIndex, imgQSOUnchecked);
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].kind, "error");
    EXPECT_EQ(messages.boxes[0].caption, "Ошибка структуры файла"_cp);
    EXPECT_EQ(messages.boxes[0].text, "Нет или пустой тэг CALLSIGN:, обработка файла невозможна."_cp);
    EXPECT_EQ(Results(), "0/0/0");
}

TEST_F(CheckTest, ScoreAndCommentCellsFeedTheScriptsOfTheNextCheck) {
    // Points depend on the row's Score cell: "-" before the first check, the points after it.
    WriteScript("CalcQSO.txt", "begin if Score = '-' then Result := 2 else Result := Score + 10 end");
    WriteLog("Q1AA.CBR", kQ1AAHeader, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015"});
    WriteLog("Q2BB.CBR", kQ2BBHeader, {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001"});
    EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{"2|"}));
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(contest.QSOs[0].Cell(7), "12");
}

TEST_F(CheckTest, ScriptsAreAskedAboutThePairsInTheDocumentedOrder) {
    WriteScript("IsConfirmative.txt",
                "begin ShowMessage('C ' + STime + ' ' + STime2); "
                "Result := (Call2 = CallSign) and (Mode2 = Mode) and (Freq2 = Freq) end");
    WriteScript("IsValidReceive.txt",
                "begin ShowMessage('R ' + STime + ' ' + STime2); Result := Receive = Send2 end");
    WriteScript("IsDuplicate.txt", "begin ShowMessage('D ' + STime + ' ' + STime2); "
                                   "Result := (Freq = Freq2) and (Mode = Mode2) and (Call = Call2) end");
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015",
              "3510 CW 2005-02-12 1230 Q1AA 599 002 Q2BB 599 016",
              "7020 CW 2005-02-12 1300 Q1AA 599 003 Q2BB 599 099"});
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001",
              "3510 CW 2005-02-12 1231 Q2BB 599 016 Q1AA 599 002",
              "7020 CW 2005-02-12 1310 Q2BB 599 017 Q1AA 599 003"});
    Check("Q1AA.CBR");
    const std::vector<std::string> expected = {
        // record 1: the first candidate confirms and passes
        "C 12:01 12:02", "R 12:01 12:02",
        // record 2: candidate 1 fails the receive test, candidate 2 passes; then the repeat test
        "C 12:30 12:02", "R 12:30 12:02", "C 12:30 12:31", "R 12:30 12:31", "D 12:30 12:01",
        // record 3: only candidate 3 confirms; wrong exchange so the scan reaches the end, then both
        // tests again on the kept candidate, then the repeat test against both earlier records
        "C 13:00 12:02", "C 13:00 12:31", "C 13:00 13:10", "R 13:00 13:10", "R 13:00 13:10", "D 13:00 12:01",
        "D 13:00 12:30"};
    EXPECT_EQ(messages.PlainTexts(), expected);
}

TEST_F(CheckTest, ConversionErrorEndsTheCheckAndKeepsTheRowsJudgedSoFar) {
    // Points on 7020 cannot be read as a number.
    WriteScript("CalcQSO.txt", "begin if Freq = '7020' then Result := 'x' else Result := 1 end");
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015",
              "7020 CW 2005-02-12 1210 Q1AA 599 002 Q2BB 599 016",
              "14010 CW 2005-02-12 1220 Q1AA 599 003 Q2BB 599 017"});
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001",
              "7020 CW 2005-02-12 1210 Q2BB 599 016 Q1AA 599 002",
              "14010 CW 2005-02-12 1220 Q2BB 599 017 Q1AA 599 003"});
    Open("Q1AA.CBR");
    const auto status = contest.Status;
    EXPECT_THROW(CheckAllRecords(contest, Judging()), TZelkError);
    std::vector<std::string> rows;
    for (const auto& row : contest.QSOs)
        rows.push_back(row.Cell(7) + "|" + ToUtf8(row.Cell(8)));
    EXPECT_EQ(rows, (std::vector<std::string>{"1|", "-|", "-|"}));
    EXPECT_EQ(contest.QSOs[0].ImageIndex, imgQSOAccepted);
    EXPECT_EQ(contest.QSOs[1].ImageIndex, imgQSOUnchecked);
    EXPECT_EQ(contest.Status, status);
    EXPECT_EQ(contest.Logs[static_cast<size_t>(contest.SelectedLog)].Cells,
              (std::vector<std::string>{"-", "-", "-"}));
    EXPECT_EQ(contest.Current.Score, 0);
}

TEST_F(CheckTest, RepeatTestStopsAtTheFirstEarlierRepeat) {
    WriteScript("IsDuplicate.txt", "begin ShowMessage('D ' + STime + ' ' + STime2); "
                                   "Result := (Freq = Freq2) and (Mode = Mode2) and (Call = Call2) end");
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015",
              "3510 CW 2005-02-12 1210 Q1AA 599 002 Q2BB 599 016",
              "3510 CW 2005-02-12 1220 Q1AA 599 003 Q2BB 599 017"});
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001",
              "3510 CW 2005-02-12 1210 Q2BB 599 016 Q1AA 599 002",
              "3510 CW 2005-02-12 1220 Q2BB 599 017 Q1AA 599 003"});
    // The third contact repeats both earlier ones: one word, and no question after the first repeat.
    EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{"1|", "-|повтор; ", "-|повтор; "}));
    EXPECT_EQ(messages.PlainTexts(), (std::vector<std::string>{"D 12:10 12:00", "D 12:20 12:00"}));
}

TEST_F(CheckTest, JudgedTotalIsTheTotalAndNotTheScore) {
    // Three points a contact, a multiplier per callsign: score 6, multiplier 2, total 12.
    WriteScript("CalcQSO.txt", "begin Result := 3 end");
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015",
              "3510 CW 2005-02-12 1201 Q1AA 599 002 Q3CC 599 007"});
    WriteLog("Q2BB.CBR", kQ2BBHeader, {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001"});
    WriteLog("Q3CC.CBR", {"CALLSIGN: Q3CC"}, {"3510 CW 2005-02-12 1201 Q3CC 599 007 Q1AA 599 002"});
    EXPECT_EQ(Check("Q1AA.CBR"), (std::vector<std::string>{"3|", "3|"}));
    EXPECT_EQ(Results(), "6/2/12");
    const auto& row = contest.Logs[static_cast<size_t>(contest.SelectedLog)];
    EXPECT_EQ(row.Cell(0) + "/" + row.Cell(1) + "/" + row.Cell(2), "6/2/12");

    CheckAllFiles(contest, Judging(), nullptr);
    const auto q1aa = std::find_if(contest.Logs.begin(), contest.Logs.end(),
                                   [](const TLogRow& log) { return log.Caption == "Q1AA.CBR"; });
    ASSERT_NE(q1aa, contest.Logs.end());
    EXPECT_EQ(q1aa->Cell(0) + "/" + q1aa->Cell(1) + "/" + q1aa->Cell(2), "6/2/12");
}
