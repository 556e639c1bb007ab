// Logs as the participants send them, judged through the contest model with the reading settings: several
// masks and a wildcard mask, the lookup by callsign (base calls, second copies), tabs and templates,
// logs in UTF-16 and UTF-8; the absent-station count, the search and the viewer follow the same lookup;
// the window's check keeps what the template read; logs with problems are marked.
#include "judge/judge.h"
#include "judge/qso_search.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/log_problems.h"
#include "logs/text.h"
#include "reports/ubn_report.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelk;
using namespace zelk::test;

namespace {

class RealLogsTest : public ContestFixture {
  protected:
    // A log of `call` with one contact per worked call, all on 3510 CW at 12:00, exchanges 599 001.
    void Log(const std::string& name, const std::string& call, const std::vector<std::string>& worked) {
        std::vector<std::string> contacts;
        for (const std::string& w : worked)
            contacts.push_back("3510 CW 2005-02-12 1200 " + call + " 599 001 " + w + " 599 001");
        WriteLog(name, {"CALLSIGN: " + call}, contacts);
    }
    // Checks `name` as the window does and returns the comment of each contact ("" when accepted).
    std::vector<std::string> Verdicts(const std::string& name) {
        Open(name);
        CheckAllRecords(contest, Judging());
        std::vector<std::string> r;
        for (const auto& row : contest.QSOs)
            r.push_back(ToUtf8(row.Cell(8)));
        return r;
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> r;
        for (const auto& row : contest.Logs)
            r.push_back(row.DiskName);
        std::sort(r.begin(), r.end());
        return r;
    }
    void UseSettings(const std::string& ini) { folder.Write("zelk.ini", "[Settings]\r\n" + ini); }
};

using Texts = std::vector<std::string>;

// The UTF-16 LE bytes, with a byte-order mark, of ASCII text.
std::string Utf16(const std::string& text) {
    std::string r = "\xFF\xFE";
    for (char c : text)
        r += std::string(1, c) + '\0';
    return r;
}

} // namespace

TEST_F(RealLogsTest, SeveralMasksFindTheCorrespondentByEachExtensionInTheirOrder) {
    Log("Q1AA.CBR", "Q1AA", {"Q2BB", "Q3CC", "Q4DD"});
    Log("q2bb.log", "Q2BB", {"Q1AA"});
    // Two logs of one station by name: the first mask's extension wins.
    Log("Q3CC.CBR", "Q3CC", {"Q1AA"});
    Log("Q3CC.LOG", "Q3CC", {"Q9ZZ"});
    Log("Q4DD.TXT", "Q4DD", {"Q1AA"});
    UseSettings("FilesMask=*.CBR;*.LOG\r\n");
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"", "", "нет файла; "}));
    EXPECT_EQ(Listed(), (Texts{"Q1AA.CBR", "Q3CC.CBR", "Q3CC.LOG", "q2bb.log"}));
    UseSettings("FilesMask=*.LOG;*.CBR\r\n");
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"", "нет подтв.связи; ", "нет файла; "}));
    // The documented single mask: only the .CBR logs.
    UseSettings("FilesMask=*.CBR\r\n");
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"нет файла; ", "", "нет файла; "}));
}

TEST_F(RealLogsTest, AWildcardMaskListsOnlyLogsAndFindsThemByName) {
    Log("Q1AA.CBR", "Q1AA", {"Q2BB", "Q5EE", "Q3CC", "Q4DD"});
    Log("Q2BB.log", "Q2BB", {"Q1AA"});
    Log("Q4DD", "Q4DD", {"Q1AA"});
    folder.Write("Q1AA.UBN", "CALLSIGN: Q3CC\r\n");
    folder.MakeDir("Q5EE.CBR");
    UseSettings("FilesMask=*.*\r\n");
    // Neither zelk.ini nor the reports (UBNExt) nor folders are logs, whatever the mask; a log without
    // an extension is found as it is listed.
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"", "нет файла; ", "нет файла; ", ""}));
    EXPECT_EQ(Listed(), (Texts{"Q1AA.CBR", "Q2BB.log", "Q4DD"}));
    UseSettings("FilesMask=*.*\r\nFindLogByCallSign=1\r\n");
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"", "нет файла; ", "нет файла; ", ""}));
}

TEST_F(RealLogsTest, TheLookupByCallSignFindsOddNamesBaseCallsAndTheLogNamedAfterTheCall) {
    Log("Q9ZZ.CBR", "Q9ZZ", {"Q5O/P", "Q5O", "Q3PZ", "Q0AA", "Q1AB"});
    Log("Q5O_p.CBR", "Q5O/P", {"Q9ZZ"});
    Log("Q3PZ .CBR", "Q3PZ", {"Q9ZZ"});
    // A second copy that sorts first by name: the log named after the call is still the station's.
    Log("Q0AA (2).CBR", "Q0AA", {"Q8YY"});
    Log("Q0AA.CBR", "Q0AA", {"Q9ZZ"});
    Log("QRP.CBR", "Q1AB/QRP", {"Q9ZZ"});
    EXPECT_EQ(Verdicts("Q9ZZ.CBR"), (Texts{"нет файла; ", "нет файла; ", "нет файла; ", "", "нет файла; "}));
    UseSettings("FindLogByCallSign=1\r\n");
    EXPECT_EQ(Verdicts("Q9ZZ.CBR"), (Texts{"", "", "", "", ""}));
    // The second copy is a log of its own: judged and ranked like any other.
    CheckAllFiles(contest, Judging(), nullptr);
    contest.SortLogs(0);
    ASSERT_EQ(contest.Logs[0].Caption, "Q0AA (2).CBR");
    EXPECT_EQ(contest.Logs[0].Cell(0), "0");
    EXPECT_EQ(contest.Logs[1].Caption, "Q0AA.CBR");
    EXPECT_EQ(contest.Logs[1].Cell(0), "1");
}

TEST_F(RealLogsTest, TheAbsentCountTheSearchAndTheViewerFollowTheLookup) {
    Log("Q9ZZ.CBR", "Q9ZZ", {"Q5O/P", "Q3PZ", "Q3PZ/M"});
    Log("Q8YY.CBR", "Q8YY", {"Q5O/P", "Q3PZ"});
    Log("Q7XX.CBR", "Q7XX", {"Q5O/P", "Q3PZ"});
    Log("Q5O_p.CBR", "Q5O/P", {"Q9ZZ"});
    Log("Q3PZ .CBR", "Q3PZ", {"Q9ZZ"});
    settings.NoFileMinMentionCount = 1;
    ListLogs();
    std::vector<std::pair<std::string, int>> absent;
    CountNoFileMentions(contest, settings.Judging(), absent, nullptr);
    EXPECT_EQ(absent, (std::vector<std::pair<std::string, int>>{{"Q3PZ", 3}, {"Q3PZ/M", 1}, {"Q5O/P", 3}}));
    auto search = SearchContacts(contest, "Q5O", nullptr);
    EXPECT_FALSE(search.empty() || search[0].Owner);

    UseSettings("FindLogByCallSign=1\r\n");
    ListLogs();
    CountNoFileMentions(contest, settings.Judging(), absent, nullptr);
    EXPECT_TRUE(absent.empty());
    // The station's log is the one its contacts are checked against, whatever its file is called.
    search = SearchContacts(contest, "Q5O", nullptr);
    ASSERT_EQ(search.size(), 4u);
    EXPECT_EQ(search[0].FileName, "Q5O_P.CBR");
    EXPECT_TRUE(search[0].Owner);
    Open("Q9ZZ.CBR");
    const TQSOViewTest t = TestQSO(contest, Judging(), 1);
    EXPECT_EQ(t.CorrespondentFile, "Q3PZ .CBR");
    EXPECT_EQ(t.Index, "1");
    EXPECT_EQ(TestQSO(contest, Judging(), 0).CorrespondentFile, "Q5O_P.CBR");
}

TEST_F(RealLogsTest, TabsNoBreakSpacesAndTemplatesAreJudgedAsTheSettingsRead) {
    WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"},
             {"3510\tCW\t2005-02-12\t1200\tQ1AA\t599\t001\tQ2BB\t599\t001",
              "\xA0"
              "3510 CW 2005-02-12 1200 Q1AA 599 001 Q3CC 599 001"});
    Log("Q2BB.CBR", "Q2BB", {"Q1AA"});
    Log("Q3CC.CBR", "Q3CC", {"Q1AA"});
    // Without the setting the tabbed line is one piece, and the no-break space sticks to the frequency.
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"нет файла; ", "нет подтв.связи; "}));
    UseSettings("QSOSplitTabs=1\r\n");
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{"", ""}));
    EXPECT_EQ(contest.QSOs[0].Cell(4), "Q2BB");

    // Three-piece exchanges with the transmitter number: the window's check keeps the sender's call and
    // the transmitter that the rows do not show.
    WriteLog("Q5EE.CBR", {"CALLSIGN: Q5EE"}, {"7010 CW 2005-02-12 1300 Q5EE 599 001 MO Q4DD 599 007 KR 1"});
    WriteLog("Q4DD.CBR", {"CALLSIGN: Q4DD"}, {"7010 CW 2005-02-12 1300 Q4DD 599 007 KR Q5EE 599 001 MO 0"});
    UseSettings("QSOTemplate=freq mode date time mycall sent sent sent call rcvd rcvd rcvd tx\r\n");
    EXPECT_EQ(Verdicts("Q5EE.CBR"), (Texts{""}));
    EXPECT_EQ(contest.QSOs[0].Cell(5), "599 001 MO");
    const TQSORecord record = contest.QSORecord(0);
    EXPECT_EQ(record.MyCall, "Q5EE");
    EXPECT_EQ(record.Tx, "1");
    EXPECT_EQ(ViewedRecord(contest, 0).Tx, "1");
    // The documented layout reads the region as the call.
    UseSettings("QSOTemplate=\r\n");
    EXPECT_EQ(Verdicts("Q5EE.CBR"), (Texts{"нет файла; "}));
}

TEST_F(RealLogsTest, LogsInUtf16AndUtf8AreJudgedAsTheirText) {
    folder.Write("Q1AA.CBR",
                 "\xEF\xBB\xBF"
                 "START-OF-LOG: 3.0\r\nCALLSIGN: Q1AA\r\nNAME: \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\r\n"
                 "QSO: 3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 001\r\n");
    folder.Write("Q2BB.CBR",
                 Utf16("CALLSIGN: Q2BB\r\nQSO: 3510 CW 2005-02-12 1200 Q2BB 599 001 Q1AA 599 001\r\n"));
    EXPECT_EQ(Verdicts("Q1AA.CBR"), (Texts{""}));
    // The byte-order mark never reaches a tag.
    ASSERT_FALSE(contest.Header.empty());
    EXPECT_EQ(contest.Header[0].Caption, "START-OF-LOG:");
    EXPECT_EQ(contest.Current.Name, "Иван"_cp);
    EXPECT_EQ(Verdicts("Q2BB.CBR"), (Texts{""}));
    EXPECT_EQ(contest.Current.CallSign, "Q2BB");
}

TEST_F(RealLogsTest, LogsWithProblemsAreMarkedAndShowThemWhenLoaded) {
    Log("Q1AA.CBR", "Q1AA", {"Q2BB"});
    WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"}, {"3510\tCW\t2005-02-12\t1200\tQ2BB\t599\t001\tQ1AA\t599\t001"});
    WriteLog("Q3CC.CBR", {"NAME: x"}, {});
    ListLogs();
    contest.MarkLogProblems();
    contest.SortLogs(0);
    ASSERT_EQ(contest.Logs.size(), 3u);
    EXPECT_EQ(contest.Logs[0].ImageIndex, imgLog);
    EXPECT_TRUE(contest.Logs[0].Problems.empty());
    EXPECT_EQ(contest.Logs[1].ImageIndex, imgLogProblem);
    ASSERT_EQ(contest.Logs[1].Problems.size(), 1u);
    EXPECT_NE(contest.Logs[1].Problems[0].find("QSOSplitTabs=1"), std::string::npos);
    // A log without CALLSIGN: keeps its own mark; its header's CALLSIGN: row says what its problem says.
    EXPECT_EQ(contest.Logs[2].ImageIndex, imgLogNoCall);
    EXPECT_EQ(contest.Logs[2].Problems, Texts{NoCallSignProblem()});
    ASSERT_TRUE(contest.SelectLogByName("Q3CC.CBR"));
    contest.LoadLog(contest.SelectedLogPath());
    EXPECT_TRUE(contest.ProblemRows.empty());
    EXPECT_EQ(contest.Header[0].ImageIndex, imgTagMissing);

    ASSERT_TRUE(contest.SelectLogByName("Q2BB.CBR"));
    contest.LoadLog(contest.SelectedLogPath());
    ASSERT_EQ(contest.ProblemRows.size(), 1u);
    EXPECT_EQ(contest.ProblemRows[0].Cell(1), contest.Logs[1].Problems[0]);
    EXPECT_EQ(contest.ProblemRows[0].ImageIndex, imgLogProblem);
    // The problems are the window's comments, no part of the log's report.
    EXPECT_EQ(BuildUBNReport(contest, Scripts()).find("QSOSplitTabs"), std::string::npos);
    ASSERT_TRUE(contest.SelectLogByName("Q1AA.CBR"));
    contest.LoadLog(contest.SelectedLogPath());
    EXPECT_TRUE(contest.ProblemRows.empty());
    // Once the setting is on, the tabs are no problem.
    UseSettings("QSOSplitTabs=1\r\n");
    ListLogs();
    contest.MarkLogProblems();
    contest.SortLogs(0);
    EXPECT_EQ(contest.Logs[1].ImageIndex, imgLog);
    EXPECT_TRUE(contest.Logs[1].Problems.empty());
}

TEST_F(RealLogsTest, TheContestWideRunCanGoOnPastALogThatCannotBeRead) {
    Log("Q1AA.CBR", "Q1AA", {"Q2BB"});
    Log("Q2BB.CBR", "Q2BB", {"Q1AA"});
    // /proc/self/mem opens like a regular file and fails on reading.
    std::filesystem::create_symlink("/proc/self/mem", PathFromText(folder.File("Q1ZZ.CBR")));
    ListLogs();
    contest.SortLogs(0);
    EXPECT_THROW(CheckAllFiles(contest, Judging(), nullptr), TZelkError);
    std::vector<std::pair<int, std::string>> failures;
    CheckAllFiles(contest, Judging(), nullptr, &failures);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].first, 1);
    EXPECT_NE(failures[0].second.find("Q1ZZ.CBR"), std::string::npos);
    EXPECT_EQ(contest.Logs[1].Cell(2), "-");
    EXPECT_EQ(contest.Logs[0].Cell(0), "1");
    EXPECT_EQ(contest.Logs[2].Cell(0), "1");
}
