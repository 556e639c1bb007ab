// The analysis beside the judgement: calls one mistake apart, bands, the class of each rejected contact
// with the partner's record behind it, the figures of a log and its clock offset, and the log checking
// report.
#include "judge/analysis.h"
#include "judge/call_variant.h"
#include "judge/judge.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/lcr_report.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

using namespace zelk;
using namespace zelk::test;

namespace {

class AnalysisTest : public ContestFixture {
  protected:
    TLogAnalysis Analyse(const std::string& name) {
        ListLogs();
        judging_ = std::make_unique<TJudging>(Judging());
        TContestAnalyser analyser(contest.Model, *judging_, &contest.NoFileCalls);
        return analyser.Analyse(*contest.Model.Log(name), name);
    }
    // "CLASS DETAIL" of every contact, "-" for the accepted ones.
    static std::vector<std::string> Classes(const TLogAnalysis& log) {
        std::vector<std::string> out;
        for (const auto& c : log.Records)
            out.push_back(c.Rejected ? std::string(FaultClassCode(c.Class)) + " " + FaultDetail(c) : "-");
        return out;
    }

    std::unique_ptr<TJudging> judging_;
};

std::vector<std::string> Header(const std::string& call) {
    return {"START-OF-LOG: 3.0", "CALLSIGN: " + call};
}

// One contest with one contact of each kind in Q1AA's log.
void WriteMixedContest(TestContest& t) {
    t.WriteLog("Q1AA.CBR", Header("Q1AA"),
               {"3510 CW 2026-02-14 1200 Q1AA 599 001 Q2BB 599 001 0",   // confirmed
                "3510 CW 2026-02-14 1210 Q1AA 599 002 Q2BX 599 002 0",   // Q2BB miscopied
                "7010 CW 2026-02-14 1210 Q1AA 599 003 Q3CC 599 001 0",   // not in Q3CC's log
                "7020 CW 2026-02-14 1220 Q1AA 599 004 Q3CC 599 003 0",   // Q3CC sent 002
                "14010 CW 2026-02-14 1230 Q1AA 599 005 Q2BB 599 004 0",  // Q2BB wrote Q1AZ
                "3520 CW 2026-02-14 1240 Q1AA 599 006 Q2BB 599 005 0",   // Q2BB logged 1250
                "3530 CW 2026-02-14 1300 Q1AA 599 007 Q9ZZ 599 001 0",   // only here
                "3530 CW 2026-02-14 1301 Q1AA 599 008 Q8YY 599 001 0",   // Q2BB has it too
                "3510 CW 2026-02-14 1203 Q1AA 599 009 Q2BB 599 001 0"}); // repeat of the first
    t.WriteLog("Q2BB.CBR", Header("Q2BB"),
               {"3510 CW 2026-02-14 1200 Q2BB 599 001 Q1AA 599 001 0",
                "3510 CW 2026-02-14 1210 Q2BB 599 002 Q1AA 599 002 0",
                "14010 CW 2026-02-14 1230 Q2BB 599 004 Q1AZ 599 005 0",
                "3520 CW 2026-02-14 1250 Q2BB 599 005 Q1AA 599 006 0",
                "3530 CW 2026-02-14 1310 Q2BB 599 006 Q8YY 599 002 0"});
    t.WriteLog("Q3CC.CBR", Header("Q3CC"), {"7020 CW 2026-02-14 1220 Q3CC 599 002 Q1AA 599 004 0"});
}

} // namespace

TEST(CallVariant, OneMistakeApart) {
    struct Case {
        const char *a, *b;
        bool variant;
    };
    const Case cases[] = {
        {"Q1AB", "Q1AC", true},     {"Q1AB", "Q1ABC", true},   {"Q1ABC", "Q1AC", true},
        {"Q1AB", "Q1BA", true},     {"Q1AB", "Q1AB/P", true},  {"q1ab", "Q1AC", true},
        {"Q1AB", "Q1AB", false},    {"Q1AB", "q1ab", false},   {"Q1AB", "Q2AC", false},
        {"Q1AB", "Q1BAC", false},   {"Q1AB", "", false},       {"Q1ABC", "Q1A", false},
        {"Q1AB/P", "Q1AC/P", true}, {"Q1AB", "Q3/Q1AB", true}, {"599", "Q1AB", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsCallVariant(c.a, c.b), c.variant) << c.a << " " << c.b;
        EXPECT_EQ(IsCallVariant(c.b, c.a), c.variant) << c.b << " " << c.a;
    }
}

TEST(CallVariant, IndexFindsEveryVariantOnce) {
    TCallVariantIndex<int> index;
    const char* calls[] = {"Q1AB", "Q1AC", "Q1BA", "Q1ABC", "Q5XY", "Q1AB/P"};
    for (int i = 0; i < 6; ++i)
        index.Add(calls[i], i);
    EXPECT_EQ(index.Variants("Q1AB"), (std::vector<int>{1, 2, 3, 5}));
    EXPECT_EQ(index.Variants("Q5XZ"), (std::vector<int>{4}));
    EXPECT_TRUE(index.Variants("Q7QQ").empty());
}

TEST(Band, KilohertzGiveTheirBandOtherTextsStand) {
    EXPECT_EQ(BandOf("3510"), BandOf("3799"));
    EXPECT_NE(BandOf("3510"), BandOf("7010"));
    EXPECT_EQ(BandOf(" 14010 "), "20");
    EXPECT_EQ(BandOf("50"), "50");
    EXPECT_EQ(BandOf("1.2g"), "1.2G");
    EXPECT_EQ(BandOf("4500"), "4");
}

TEST_F(AnalysisTest, EveryRejectedContactGetsItsClass) {
    WriteMixedContest(*this);
    const TLogAnalysis log = Analyse("Q1AA.CBR");
    EXPECT_EQ(Classes(log),
              (std::vector<std::string>{"-", "BUSTED-CALL Q2BB", "NIL ", "EXCHANGE-MINE ",
                                        "BUSTED-BY-PARTNER Q1AZ", "TIME 10", "UNIQUE ", "NO-LOG ", "DUPE "}));
    EXPECT_EQ(log.Contacts, 9);
    EXPECT_EQ(log.Confirmed, 1);
    EXPECT_EQ(AccuracyText(log), "11.1");
    EXPECT_EQ(log.ByClass[static_cast<size_t>(TFaultClass::NotInLog)], 1);
    EXPECT_EQ(log.ByClass[static_cast<size_t>(TFaultClass::Repeat)], 1);

    // The partner's records behind the verdicts.
    const TContactAnalysis& busted = log.Records[1];
    ASSERT_TRUE(busted.HasPartner);
    EXPECT_EQ(busted.PartnerFile, "Q2BB.CBR");
    EXPECT_EQ(busted.Partner.QSOIndex, 2);
    const TContactAnalysis& exchange = log.Records[3];
    EXPECT_TRUE(exchange.MineDiffers);
    EXPECT_FALSE(exchange.TheirsDiffers);
    EXPECT_EQ(exchange.Partner.Send, "599 002");
    EXPECT_EQ(log.Records[5].Minutes, -10);
    EXPECT_EQ(log.Records[5].Partner.QSOIndex, 4);
}

TEST_F(AnalysisTest, ThePartnerSideOfEachFault) {
    WriteMixedContest(*this);
    const TLogAnalysis log = Analyse("Q2BB.CBR");
    // Q1AA logged Q2BX in the second contact; Q1AZ has no log and only Q2BB mentions it, but Q1AA's log
    // holds the contact; Q1AA logged the fourth at 12:40.
    EXPECT_EQ(Classes(log), (std::vector<std::string>{"-", "BUSTED-BY-PARTNER Q2BX", "BUSTED-CALL Q1AA",
                                                      "TIME 10", "NO-LOG "}));
}

TEST_F(AnalysisTest, ExchangeMiscopiedByThePartnerWhenTheRulesAskBothCopies) {
    WriteScript("IsValidReceive.txt",
                "begin\r\n  Result := (Receive = Send2) and (Receive2 = Send);\r\nend;");
    WriteLog("Q1AA.CBR", Header("Q1AA"),
             {"3510 CW 2026-02-14 1200 Q1AA 599 001 Q2BB 599 001 0",
              "3510 CW 2026-02-14 1210 Q1AA 599 002 Q2BB 599 003 0"});
    // The scripts pair each record with both of the partner's: the nearer one is taken.
    WriteLog("Q2BB.CBR", Header("Q2BB"),
             {"3510 CW 2026-02-14 1200 Q2BB 599 001 Q1AA 599 009 0",
              "3510 CW 2026-02-14 1210 Q2BB 599 002 Q1AA 599 008 0"});
    EXPECT_EQ(Classes(Analyse("Q1AA.CBR")), (std::vector<std::string>{"EXCHANGE-THEIRS ", "EXCHANGE-BOTH "}));
}

TEST_F(AnalysisTest, ClockOffsetIsTheMedianOverMatchedContactsAndFlaggedBeyondTheTolerance) {
    // Q5EE's clock runs 5 minutes fast: its contacts are rejected for time, but still matched.
    WriteLog("Q5EE.CBR", Header("Q5EE"),
             {"3510 CW 2026-02-14 1205 Q5EE 599 001 Q1AA 599 001 0",
              "3511 CW 2026-02-14 1215 Q5EE 599 002 Q2BB 599 001 0",
              "3512 CW 2026-02-14 1226 Q5EE 599 003 Q3CC 599 001 0", // Q3CC's clock is a minute slow
              "3513 CW 2026-02-14 1230 Q5EE 599 004 Q9ZZ 599 001 0"});
    WriteLog("Q1AA.CBR", Header("Q1AA"), {"3510 CW 2026-02-14 1200 Q1AA 599 001 Q5EE 599 001 0"});
    WriteLog("Q2BB.CBR", Header("Q2BB"), {"3511 CW 2026-02-14 1210 Q2BB 599 001 Q5EE 599 002 0"});
    WriteLog("Q3CC.CBR", Header("Q3CC"), {"3512 CW 2026-02-14 1220 Q3CC 599 001 Q5EE 599 003 0"});
    const TLogAnalysis fast = Analyse("Q5EE.CBR");
    ASSERT_TRUE(fast.ClockOffset);
    EXPECT_EQ(*fast.ClockOffset, 5);
    EXPECT_TRUE(fast.ClockFlagged);
    EXPECT_EQ(OffsetText(fast), "5");
    EXPECT_EQ(Classes(fast), (std::vector<std::string>{"TIME 5", "TIME 5", "TIME 6", "UNIQUE "}));
    const TLogAnalysis slow = Analyse("Q1AA.CBR");
    EXPECT_EQ(*slow.ClockOffset, -5);

    settings.MaxMinutesDifference = 6;
    const TLogAnalysis tolerant = Analyse("Q5EE.CBR");
    EXPECT_EQ(tolerant.Confirmed, 3);
    EXPECT_FALSE(tolerant.ClockFlagged);
}

TEST_F(AnalysisTest, LogWithoutCallSignIsCountedButNotJudged) {
    WriteLog("Q1AA.CBR", {"START-OF-LOG: 3.0"}, {"3510 CW 2026-02-14 1200 Q1AA 599 001 Q2BB 599 001 0"});
    const TLogAnalysis log = Analyse("Q1AA.CBR");
    EXPECT_FALSE(log.Judged());
    EXPECT_EQ(log.Contacts, 1);
    EXPECT_TRUE(log.Records.empty());
    EXPECT_EQ(AccuracyText(log), "-");
    EXPECT_EQ(OffsetText(log), "-");
}

TEST_F(AnalysisTest, ConditionalCreditStaysConfirmed) {
    settings.NoFileIncludeResults = true;
    settings.NoFileMinMentionCount = 1;
    WriteLog("Q1AA.CBR", Header("Q1AA"), {"3510 CW 2026-02-14 1200 Q1AA 599 001 Q9ZZ 599 001 0"});
    RebuildLogList();
    const TLogAnalysis log = Analyse("Q1AA.CBR");
    EXPECT_EQ(log.Confirmed, 1);
    EXPECT_FALSE(log.Records[0].Rejected);
    EXPECT_FALSE(log.Records[0].Comment.empty());
}

TEST_F(AnalysisTest, CheckingReportNamesClassPartnerMinutesAndSuggestion) {
    WriteMixedContest(*this);
    const TLogAnalysis log = Analyse("Q1AA.CBR");
    const std::string text = BuildLCRReport(log, 3);
    const std::string utf8 = ToUtf8(text);
    EXPECT_NE(utf8.find("Точность:             11.1 %\r\n"), std::string::npos) << utf8;
    EXPECT_NE(utf8.find("QSO 2: 3510 CW 2026-02-14 12:10 Q2BX 599 002 599 002\r\n"
                        "  BUSTED-CALL: позывной корреспондента принят с ошибкой; вероятно Q2BB\r\n"),
              std::string::npos)
        << utf8;
    EXPECT_NE(utf8.find("  Q2BB.CBR, QSO 4: 3520 CW 2026-02-14 12:50 Q1AA 599 005 599 006\r\n"
                        "  Время 12:50, разница -10 мин; передано 599 005, принято 599 006\r\n"),
              std::string::npos)
        << utf8;
    EXPECT_NE(utf8.find("  NIL (нет в журнале корреспондента): 1\r\n"), std::string::npos) << utf8;
    // Only rejected or remarked contacts are listed: the first is neither.
    EXPECT_EQ(utf8.find("\r\nQSO 1:"), std::string::npos);
    EXPECT_NE(utf8.find("\r\nQSO 9:"), std::string::npos);

    EXPECT_EQ(LCRFileName("/out", "q1aa.cbr", ".LCR"), "/out/q1aa.LCR");
    EXPECT_EQ(LCRFileName("/out", "q1aa.cbr", "*.lcr"), "/out/q1aa.lcr");
    const std::string path = folder.File("Q1AA.LCR");
    SaveLCRReport(log, 3, path);
    EXPECT_EQ(ReadFileBytes(path), text);
}

TEST_F(AnalysisTest, SelectedLogsReportIsWrittenBesideTheUBNReportsWithTheLCRExtension) {
    WriteMixedContest(*this);
    settings.LCRExt = "*.txt";
    ListLogs();
    TempDir out;
    EXPECT_EQ(SaveSelectedLCRReport(contest, Judging(), out.Text()), "");
    ASSERT_TRUE(contest.SelectLogByName("Q2BB"));
    const std::string path = SaveSelectedLCRReport(contest, Judging(), out.Text());
    EXPECT_EQ(path, out.File("Q2BB.txt"));
    EXPECT_EQ(out.Read("Q2BB.txt"), BuildLCRReport(Analyse("Q2BB.CBR"), 3));
}

TEST_F(AnalysisTest, AnalysisChangesNoVerdictOfTheJudgement) {
    WriteMixedContest(*this);
    Open("Q1AA.CBR");
    CheckAllRecords(contest, Judging());
    const TLogAnalysis log = Analyse("Q1AA.CBR");
    for (size_t i = 0; i < log.Records.size(); ++i) {
        EXPECT_EQ(log.Records[i].Rejected, contest.QSOs[i].Cell(7) == "-") << i;
        EXPECT_EQ(log.Records[i].Comment, contest.QSOs[i].Cell(8)) << i;
    }
}
