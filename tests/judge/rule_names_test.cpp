// The script names that contest rules are written with - Accepted2, Reason, MaxMinutesDifference,
// MyCall/MyCall2 and Tx/Tx2 - give the same verdicts in every place a log is judged: the log check, the
// contest-wide run, the UBN report, the printed check report and the QSO viewer.
#include "judge/cross_check.h"
#include "judge/judge.h"
#include "judge/qso_search.h"
#include "judge/scoring.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/report_sources.h"
#include "reports/ubn_report.h"
#include "script/judging_scripts.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zelk;
using namespace zelk::test;

namespace {

using Lines = std::vector<std::string>;

// "score|comment" of one verdict, the comment in UTF-8.
std::string VerdictText(const TRecordVerdict& v) {
    return (v.Rejected ? std::string("-") : std::to_string(v.Points)) + "|" + ToUtf8(v.Comment);
}

class RuleNamesTest : public ContestFixture {
  protected:
    void Settings(const std::string& keys) { folder.Write("zelk.ini", "[Settings]\r\n" + keys); }

    void OpenCounted(const std::string& name) {
        Open(name);
        CountNoFileMentions(contest, settings.Judging(), contest.NoFileCalls, nullptr);
    }

    // The log check's rows and its SCORE/MULTI/CLAIMED.
    Lines LogCheck(const std::string& name) {
        OpenCounted(name);
        CheckAllRecords(contest, Judging());
        Lines rows;
        for (const auto& row : contest.QSOs)
            rows.push_back(row.Cell(7) + "|" + ToUtf8(row.Cell(8)));
        rows.push_back(contest.Status[spScore] + "/" + contest.Status[spMulti] + "/" +
                       contest.Status[spTotal]);
        return rows;
    }

    // The contest-wide run's verdicts of the log and the results it writes into the log's row.
    Lines ContestWide(const std::string& name) {
        OpenCounted(name);
        const TJudging judging = Judging();
        CheckAllFiles(contest, judging, nullptr);
        TLogJudge judge(contest.Model, judging, &contest.NoFileCalls);
        TLogVerdict verdict;
        ScoreLog(judge, contest.LogAt(contest.SelectedLog), verdict);
        Lines rows;
        for (const auto& v : verdict.Records)
            rows.push_back(VerdictText(v));
        const TLogRow& row = contest.Logs[static_cast<size_t>(contest.SelectedLog)];
        rows.push_back(row.Cell(0) + "/" + row.Cell(1) + "/" + row.Cell(2));
        return rows;
    }

    // The UBN report as saved: the score cell and the comment of each QSO line, then its results.
    Lines UBN(const std::string& name) {
        OpenCounted(name);
        const std::string file = folder.File("report.UBN");
        SaveUBNReport(contest, Judging(), file);
        std::istringstream text(ToUtf8(ReadFileBytes(file)));
        Lines rows;
        std::string line, score, multi, total;
        int separators = 0;
        while (std::getline(text, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("===", 0) == 0) {
                ++separators;
            } else if (separators == 1) {
                // Number, Freq, Mode, Date, Time, Call, two pieces sent, two received, then Score; the
                // comment is what follows the Score cell.
                std::istringstream cells(line);
                std::string cell;
                for (int i = 0; i < 11; ++i)
                    cells >> cell;
                std::string comment;
                std::getline(cells, comment);
                comment.erase(0, comment.find_first_not_of(' '));
                rows.push_back(cell + "|" + comment);
            } else if (line.rfind("SCORE:", 0) == 0) {
                score = Trim(line.substr(6));
            } else if (line.rfind("MULTIPLIER:", 0) == 0) {
                multi = Trim(line.substr(11));
            } else if (separators == 2 && line.rfind("CLAIMED-SCORE:", 0) == 0) {
                total = Trim(line.substr(14));
            }
        }
        rows.push_back(score + "/" + multi + "/" + total);
        return rows;
    }

    // The printed check report's QSO_SCORE|QSO_COMMENT rows and SCORE/MULTI/CLAIMED_SCORE, after the
    // log check as the report dialog runs it.
    Lines Printed(const std::string& name) {
        OpenCounted(name);
        CheckAllRecords(contest, Judging());
        TZelkCalcSource source(contest, Scripts());
        ScriptValue v;
        const auto text = [&](const char* variable) {
            EXPECT_TRUE(source.Variable(variable, v)) << variable;
            return v.AsText();
        };
        Lines rows;
        for (source.First(); !source.Eof(); source.Next())
            rows.push_back(text("QSO_SCORE") + "|" + ToUtf8(text("QSO_COMMENT")));
        rows.push_back(text("SCORE") + "/" + text("MULTI") + "/" + text("CLAIMED_SCORE"));
        return rows;
    }

    // The viewer's judgement of each row of the freshly loaded log, each row tested on its own as
    // "Проверить" does, nothing judged before.
    Lines Viewer(const std::string& name) {
        OpenCounted(name);
        Lines rows;
        for (size_t i = 0; i < contest.QSOs.size(); ++i)
            rows.push_back(VerdictText(TestQSO(contest, Judging(), static_cast<int>(i)).Verdict));
        return rows;
    }

    // Every place must give `expected` (the rows, then the results line, which the viewer lacks).
    void ExpectEverywhere(const std::string& name, const Lines& expected) {
        EXPECT_EQ(LogCheck(name), expected) << "log check";
        EXPECT_EQ(ContestWide(name), expected) << "contest-wide run";
        EXPECT_EQ(UBN(name), expected) << "UBN report";
        EXPECT_EQ(Printed(name), expected) << "printed check report";
        EXPECT_EQ(Viewer(name), Lines(expected.begin(), expected.end() - 1)) << "QSO viewer";
    }
};

const Lines kQ1AAHeader = {"START-OF-LOG: 3.0", "CALLSIGN: Q1AA"};
const Lines kQ2BBHeader = {"START-OF-LOG: 3.0", "CALLSIGN: Q2BB"};

// Q2BB sends 015, 016, 017, 018 on 3510, 3511, 3512, 3513 at 12:00, 12:05, 12:15, 12:40.
void WriteQ2BB(TestContest& c) {
    c.WriteLog("Q2BB.CBR", kQ2BBHeader,
               {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001 0",
                "3511 CW 2005-02-12 1205 Q2BB 599 016 Q1AA 599 002 0",
                "3512 CW 2005-02-12 1215 Q2BB 599 017 Q1AA 599 003 0",
                "3513 CW 2005-02-12 1240 Q2BB 599 018 Q1AA 599 004 0"});
}

} // namespace

TEST_F(RuleNamesTest, RepeatsCountOnlyAgainstCreditedContacts) {
    WriteQ2BB(*this);
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 099 0",
              "3511 CW 2005-02-12 1205 Q1AA 599 002 Q2BB 599 016 0",
              "3512 CW 2005-02-12 1215 Q1AA 599 003 Q2BB 599 017 0",
              "3513 CW 2005-02-12 1240 Q1AA 599 004 Q2BB 599 018 0"});
    WriteScript("IsDuplicate.txt",
                "begin\r\n"
                "  if Accepted2 then\r\n"
                "    Result := (Call = Call2) and ((DateTime - DateTime2) * 1440 < 30);\r\n"
                "end;");
    // 12:00 miscopied, so it is no repeat target: 12:05 is credited. 12:15 repeats the credited 12:05.
    // 12:40 is 35 minutes after 12:05 and 25 after 12:15, which was itself a repeat: credited.
    ExpectEverywhere("Q1AA.CBR", {"-|ошибка приёма; ", "1|", "-|повтор; ", "1|", "2/1/2"});
    // The same script without Accepted2 counts every earlier contact: 12:05 and 12:15 repeat 12:00,
    // 12:40 repeats 12:15.
    WriteScript("IsDuplicate.txt",
                "begin Result := (Call = Call2) and ((DateTime - DateTime2) * 1440 < 30) end");
    EXPECT_EQ(LogCheck("Q1AA.CBR"),
              (Lines{"-|ошибка приёма; ", "-|повтор; ", "-|повтор; ", "-|повтор; ", "0/0/0"}));
}

TEST_F(RuleNamesTest, ViewerJudgesEarlierRowsOnlyForAScriptThatReadsAccepted2) {
    WriteQ2BB(*this);
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015 0",
              "3511 CW 2005-02-12 1205 Q1AA 599 002 Q2BB 599 016 0",
              "3512 CW 2005-02-12 1215 Q1AA 599 003 Q2BB 599 017 0"});
    // Each credit shows its call, so the boxes count the records judged.
    WriteScript("CalcQSO.txt", "begin ShowMessage(STime); Result := 1 end");
    WriteScript("IsDuplicate.txt", "begin Result := (Freq = Freq2) and (Call = Call2) end");
    OpenCounted("Q1AA.CBR");
    EXPECT_EQ(VerdictText(TestQSO(contest, Judging(), 2).Verdict), "1|");
    EXPECT_EQ(messages.PlainTexts(), Lines{"12:15"});

    messages.boxes.clear();
    WriteScript("IsDuplicate.txt", "begin Result := Accepted2 and (Freq = Freq2) and (Call = Call2) end");
    EXPECT_EQ(VerdictText(TestQSO(contest, Judging(), 2).Verdict), "1|");
    EXPECT_EQ(messages.PlainTexts(), (Lines{"12:00", "12:05", "12:15"}));
}

TEST_F(RuleNamesTest, ScriptReasonsReplaceTheBuiltInWordsAndRejectCredits) {
    Settings("NoFileIncludeResults=1\r\nNoFileMinMentionCount=1\r\n");
    WriteQ2BB(*this);
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 099 0",
              "3511 CW 2005-02-12 1205 Q1AA 599 002 Q2BB 599 016 0",
              "3512 CW 2005-02-12 1215 Q1AA 599 003 Q2BB 599 017 0",
              "3513 CW 2005-02-12 1240 Q1AA 599 004 Q2BB 599 018 0",
              "3514 CW 2005-02-12 1220 Q1AA 599 005 Q9ZZ 599 001 0",
              "3515 CW 2005-02-12 1240 Q1AA 599 006 Q9ZZ 599 002 0"});
    WriteScript("CalcQSO.txt",
                "begin Result := 2; if STime = '12:40' then Reason := 'вне времени тура' end"_cp);
    WriteScript("IsValidReceive.txt",
                "begin\r\n"
                "  Result := Receive = Send2;\r\n"
                "  if not Result then Reason := 'принято ' + Receive + ', передано ' + Send2;\r\n"
                "end;"_cp);
    // Repeats of Q2BB within ten minutes; a script that reads Reason finds it empty.
    WriteScript("IsDuplicate.txt",
                "begin\r\n"
                "  Result := (Call = Call2) and (Minutes(DateTime, DateTime2) <= 10) and (Reason = '');\r\n"
                "  if Result and (Call = 'Q2BB') then Reason := 'повтор QSO ' + STime2;\r\n"
                "end;"_cp);
    // 12:00 miscopied; 12:05 repeats 12:00; 12:15 repeats 12:05; 12:40 is out of the period; Q9ZZ has no
    // log and is credited conditionally at 12:20 but not at 12:40. Credited: 12:20 only.
    ExpectEverywhere("Q1AA.CBR",
                     {"-|принято 599 099, передано 599 015; ", "-|повтор QSO 12:00; ", "-|повтор QSO 12:05; ",
                      "-|вне времени тура; ", "2|условно зачет; ", "-|вне времени тура; ", "2/1/2"});
}

TEST_F(RuleNamesTest, EmptyReasonsKeepTheBuiltInWords) {
    WriteQ2BB(*this);
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 099 0",
              "3511 CW 2005-02-12 1205 Q1AA 599 002 Q2BB 599 016 0",
              "3512 CW 2005-02-12 1215 Q1AA 599 003 Q2BB 599 017 0"});
    WriteScript("CalcQSO.txt", "begin Result := 3; Reason := '' end");
    WriteScript("IsValidReceive.txt", "begin Reason := ''; Result := Receive = Send2 end");
    WriteScript("IsDuplicate.txt", "begin Reason := ''; Result := (Call = Call2) and (STime2 = '12:05') end");
    EXPECT_EQ(LogCheck("Q1AA.CBR"), (Lines{"-|ошибка приёма; ", "3|", "-|повтор; ", "3/1/3"}));
}

TEST_F(RuleNamesTest, SettingAndLinePiecesReachEveryScript) {
    Settings(
        "MaxMinutesDifference=7\r\nQSOTemplate=freq mode date time mycall sent sent call rcvd rcvd tx\r\n");
    WriteLog("Q2BB.CBR", kQ2BBHeader,
             {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001 0",
              "3510 CW 2005-02-12 1205 Q2BB 599 016 Q1AA/P 599 002 0",
              "3510 CW 2005-02-12 1210 Q2BB 599 017 Q1AA 599 003 0"});
    WriteLog("Q1AA.CBR", kQ1AAHeader,
             {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015 1",
              "3510 CW 2005-02-12 1205 Q1AA/P 599 002 Q2BB 599 016 0",
              "3510 CW 2005-02-12 1210 Q1AA 599 003 Q2BB 599 017 1"});
    // MaxMinutesDifference points, ten times that from transmitter 1, one more from the portable call.
    WriteScript("CalcQSO.txt", "begin\r\n"
                               "  Result := MaxMinutesDifference;\r\n"
                               "  if Tx = '1' then Result := Result * 10;\r\n"
                               "  if MyCall = 'Q1AA/P' then Result := Result + 1;\r\n"
                               "end;");
    WriteScript("CalcMultiplier.txt", "begin Result := MyCall + Tx end");
    WriteScript("CalcTotal.txt", "begin Result := Score * Multi + MaxMinutesDifference end");
    WriteScript("IsConfirmative.txt", "begin Result := (Call2 = MyCall) and (Mode2 = Mode) end");
    WriteScript("IsValidReceive.txt", "begin Result := (Receive = Send2) and (MyCall2 = Call) end");
    WriteScript("IsDuplicate.txt", "begin Result := (Call = Call2) and (Tx = Tx2) end");
    // 12:00 from Tx 1: 70 points; 12:05 by Q1AA/P from Tx 0 (no repeat of Tx 1): 8; 12:10 from Tx 1
    // repeats 12:00. Criteria Q1AA1 and Q1AA/P0: 78 * 2 + 7.
    ExpectEverywhere("Q1AA.CBR", {"70|", "8|", "-|повтор; ", "78/2/163"});
}
