// The contest folder: listing by mask, selection, sorting, and loading a log into rows.
#include "logs/contest.h"
#include "logs/contest_folder.h"
#include "logs/text.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace zelk;

namespace {

class ContestTest : public test::ContestFixture {
  protected:
    std::vector<std::string> Captions() const {
        std::vector<std::string> r;
        for (const auto& row : contest.Logs)
            r.push_back(row.Caption);
        return r;
    }

    std::vector<std::string> SortedCaptions() const {
        auto r = Captions();
        std::sort(r.begin(), r.end());
        return r;
    }
};

const char* kQ1AA = "START-OF-LOG: 3.0\r\n"
                    "CALLSIGN: q1aa\r\n"
                    "NAME: Ivan\r\n"
                    "CLUB: RC\r\n"
                    "X-QTH: Moscow\r\n"
                    "73 TNX\r\n"
                    "\r\n"
                    "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\r\n"
                    "QSO: 3510 CW 2005-02-12 1230 Q1AA 599 002 Q2BB/P 599 016 0\r\n"
                    "END-OF-LOG:\r\n"
                    "QSO: 7020 CW 2005-02-12 1300 Q1AA 599 003 Q3CC 599 007 0\r\n";

} // namespace

TEST(Mask, MatchesWithoutRegardToCase) {
    struct Case {
        const char *name, *mask;
        bool match;
    };
    const Case cases[] = {{"q1aa.cbr", "*.CBR", true},
                          {"Q1AA.CBR", "*.cbr", true},
                          {"q1aa.cbr.bak", "*.CBR", false},
                          {"q1aa.txt", "*.CBR", false},
                          {"readme", "*.*", true},
                          {"a.b", "?.B", true},
                          {"ab.b", "?.B", false},
                          {"q1aa.cbr", "Q*A.*", true},
                          {"q1aa", "Q1AA.*", true},
                          {"q1aab", "Q1AA.*", false},
                          {"q1aa.", "Q1AA.*", true},
                          {"", "*", true},
                          {"x", "", false},
                          {"aaa", "*a*a*a*", true},
                          {"aa", "*a*a*a*", false}};
    for (const auto& c : cases)
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

TEST(Mask, SeveralMasksSeparatedBySemicolons) {
    struct Case {
        const char *name, *mask;
        bool match;
    };
    const Case cases[] = {{"q1aa.log", "*.CBR;*.LOG", true},    {"Q1AA.cbr", "*.cbr; *.log", true},
                          {"Q1AA.Log", " *.CBR ;*.LOG ", true}, {"q1aa.txt", "*.CBR;*.LOG", false},
                          {"q1aa.cbr", "*.CBR;", true},         {"q1aa.cbr", ";", false},
                          {"readme", "*.CBR;*.*", true},        {"q1aa.cbr", "", false}};
    for (const auto& c : cases)
        EXPECT_EQ(MatchesFilesMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
    EXPECT_EQ(SplitMasks(" *.CBR ;; *.LOG;"), (std::vector<std::string>{"*.CBR", "*.LOG"}));
}

TEST(Mask, CorrespondentFileNamesFollowTheMasksInOrder) {
    struct Case {
        const char *call, *mask;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"Q1AB/P", "*.CBR;*.LOG", {"Q1AB.CBR", "Q1AB.LOG"}},
        {"Q1AB", "*.LOG; *.CBR", {"Q1AB.LOG", "Q1AB.CBR"}},
        {" Q2/Q1AB ", "*.CBR", {"Q2.CBR"}},
        {"Q1AB", "*.cbr;*.CBR", {"Q1AB.cbr"}}, // names are compared without regard to case
        {"Q1AB", "*.*", {"Q1AB.*"}},
        {"Q1AB", "", {"Q1AB"}},
        {"", "*.CBR", {".CBR"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CorrespondentFileNames(c.call, c.mask), c.names) << c.call << " " << c.mask;
    EXPECT_TRUE(HasWildcard("Q1AB.*"));
    EXPECT_FALSE(HasWildcard("Q1AB.CBR"));
}

TEST_F(ContestTest, SettingsReportsAndFoldersAreNeverLogs) {
    for (const char* n : {"Q1AA.CBR", "q2bb.log", "Q3CC.Log", "notes.txt", "Q1AA.UBN", "ZELK.INI", "q1aa.lcr"})
        folder.Write(n, "CALLSIGN: X\r\n");
    folder.MakeDir("sub.cbr");
    struct Case {
        const char *mask, *ubnExt;
        std::vector<std::string> logs;
    };
    const Case cases[] = {
        {"*.*", "*.UBN", {"NOTES.TXT", "Q1AA.CBR", "Q2BB.LOG", "Q3CC.LOG"}},
        {"*.CBR;*.LOG", "*.UBN", {"Q1AA.CBR", "Q2BB.LOG", "Q3CC.LOG"}},
        {"*.*", "*.TXT", {"Q1AA.CBR", "Q1AA.UBN", "Q2BB.LOG", "Q3CC.LOG"}},
        // Reports with the logs' own extension cannot be told from logs: the logs stay listed.
        {"*.TXT;*.LOG", "*.txt", {"NOTES.TXT", "Q2BB.LOG", "Q3CC.LOG"}},
        {"*.lcr;*.CBR", "*.UBN", {"Q1AA.CBR", "Q1AA.LCR"}},
    };
    for (const auto& c : cases) {
        folder.Write("zelk.ini",
                     std::string("[Settings]\r\nFilesMask=") + c.mask + "\r\nUBNExt=" + c.ubnExt + "\r\n");
        ListLogs();
        EXPECT_EQ(SortedCaptions(), c.logs) << c.mask << " " << c.ubnExt;
    }
}

TEST_F(ContestTest, ListsMatchingEntriesUpperCasedWithDashes) {
    folder.Write("q1aa.cbr", kQ1AA);
    folder.Write("Q2BB.CBR", "CALLSIGN: Q2BB\n");
    folder.Write("nocall.Cbr", "NAME: x\n");
    folder.Write("notes.txt", "CALLSIGN: Q9ZZ\n");
    folder.MakeDir("folder.cbr");
    ListLogs();
    EXPECT_EQ(SortedCaptions(), (std::vector<std::string>{"NOCALL.CBR", "Q1AA.CBR", "Q2BB.CBR"}));
    for (const auto& row : contest.Logs) {
        EXPECT_EQ(row.Cells, (std::vector<std::string>{"-", "-", "-"}));
        const bool hasCall = row.Caption == "Q1AA.CBR" || row.Caption == "Q2BB.CBR";
        EXPECT_EQ(row.ImageIndex, hasCall ? imgLog : imgLogNoCall) << row.Caption;
    }
    EXPECT_EQ(contest.Status[spFiles], " 3 file(s)");
    // The row keeps the name as stored on disk for opening.
    contest.SelectLogByName("q1aa");
    EXPECT_EQ(contest.SelectedLogPath(), folder.File("q1aa.cbr"));
    EXPECT_EQ(contest.LogPathAt(99), "");
    EXPECT_EQ(contest.LogPathAt(-1), "");
}

TEST_F(ContestTest, EmptyOrMissingFolderShowsTheMask) {
    folder.Write("a.txt", "x");
    ListLogs();
    EXPECT_TRUE(contest.Logs.empty());
    EXPECT_EQ(contest.Status[spFiles], " *.CBR");
    EXPECT_FALSE(contest.SelectInitialLog(settings.QLastCall));
    settings.CurrentFolder = folder.File("does-not-exist");
    ListLogs();
    EXPECT_TRUE(contest.Logs.empty());
    settings.CurrentFolder.clear();
    ListLogs();
    EXPECT_TRUE(contest.Logs.empty());
}

TEST_F(ContestTest, ContestSettingsFileBringsItsMaskIntoForce) {
    folder.Write("q1aa.log", kQ1AA);
    folder.Write("q2bb.cbr", kQ1AA);
    folder.Write("zelk.ini", "[Settings]\r\nFilesMask=*.LOG\r\n");
    ListLogs();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Q1AA.LOG"}));
    EXPECT_EQ(settings.FilesMask, "*.LOG");
}

TEST_F(ContestTest, InitialSelectionPrefersTheLogLoadedLast) {
    // AQ2BB.CBR holds the name of the log loaded last and comes before it: only the name's start counts.
    for (const char* n : {"q1aa.cbr", "aq2bb.cbr", "q2bb.cbr", "q3cc.cbr"})
        folder.Write(n, kQ1AA);
    ListLogs();
    contest.SortLogs(0);
    settings.QLastCall = "Q2BB.CBR";
    ASSERT_TRUE(contest.SelectInitialLog(settings.QLastCall));
    EXPECT_EQ(contest.Logs[static_cast<size_t>(contest.SelectedLog)].Caption, "Q2BB.CBR");
    EXPECT_EQ(contest.FocusedLog, contest.SelectedLog);
    settings.QLastCall = "GONE.CBR";
    contest.SelectedLog = contest.FocusedLog = -1;
    ASSERT_TRUE(contest.SelectInitialLog(settings.QLastCall));
    EXPECT_EQ(contest.SelectedLog, 0);
    EXPECT_EQ(contest.FocusedLog, -1);
}

TEST_F(ContestTest, SortingByNameAscendingAndByNumbersDescending) {
    for (const char* n : {"q2bb.cbr", "Q1AA.CBR", "q3cc.cbr"})
        folder.Write(n, kQ1AA);
    ListLogs();
    auto row = [this](const char* caption) -> TLogRow& {
        return *std::find_if(contest.Logs.begin(), contest.Logs.end(),
                             [&](const TLogRow& r) { return r.Caption == caption; });
    };
    row("Q1AA.CBR").Cells[0] = "12";
    row("Q2BB.CBR").Cells[0] = "-";
    row("Q3CC.CBR").Cells[0] = "30";
    row("Q1AA.CBR").Cells[2] = "-5";
    contest.SelectLogByName("Q2BB");
    contest.SortLogs(1);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Q3CC.CBR", "Q1AA.CBR", "Q2BB.CBR"}));
    EXPECT_EQ(contest.Logs[static_cast<size_t>(contest.SelectedLog)].Caption, "Q2BB.CBR");
    contest.SortLogs(3);
    EXPECT_EQ(contest.Logs.back().Caption, "Q1AA.CBR"); // negative below "-" (0)
    contest.SortLogs(0);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Q1AA.CBR", "Q2BB.CBR", "Q3CC.CBR"}));
    EXPECT_EQ(contest.SortColumn, 0);
}

TEST_F(ContestTest, SortingByNumbersPutsLogsWithoutCallsignAfterTheJudgedOnes) {
    folder.Write("Q1AA.CBR", kQ1AA);
    folder.Write("Q2BB.CBR", kQ1AA);
    folder.Write("NOCALL.CBR",
                 "NAME: Nobody\r\nQSO: 3510 CW 2005-02-12 1201 Q9ZZ 599 001 Q1AA 599 015 0\r\n");
    ListLogs();
    contest.SortLogs(0);
    ASSERT_EQ(Captions(), (std::vector<std::string>{"NOCALL.CBR", "Q1AA.CBR", "Q2BB.CBR"}));
    ASSERT_EQ(contest.Logs[0].ImageIndex, imgLogNoCall);
    contest.Logs[0].Cells = {"0", "0", "0"};
    contest.Logs[1].Cells = {"-3", "1", "-3"};
    contest.Logs[2].Cells = {"4", "1", "4"};
    for (int column : {1, 3})
        contest.SortLogs(column);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Q2BB.CBR", "Q1AA.CBR", "NOCALL.CBR"}));
}

TEST_F(ContestTest, LoadLogMakesHeaderAndQSORows) {
    folder.Write("q1aa.cbr", kQ1AA);
    ListLogs();
    contest.SelectLogByName("Q1AA.CBR");
    contest.Status[spScore] = "9";
    contest.LoadLog(contest.SelectedLogPath());

    ASSERT_EQ(contest.Header.size(), 6u);
    const auto& call = contest.Header[1];
    EXPECT_EQ(call.Caption, "CALLSIGN:");
    EXPECT_EQ(call.Cells, (std::vector<std::string>{"q1aa", ""}));
    EXPECT_EQ(call.ImageIndex, imgCallSign);
    EXPECT_EQ(contest.Header[4].Caption, "X-QTH:");
    EXPECT_EQ(contest.Header[4].Cell(1), "неизвестный тэг"_cp);
    EXPECT_EQ(contest.Header[4].ImageIndex, imgBadTag);
    EXPECT_EQ(contest.Header[5].Caption, "END-OF-LOG:");
    EXPECT_EQ(contest.Header[5].ImageIndex, imgTag);

    ASSERT_EQ(contest.QSOs.size(), 3u); // contact lines after END-OF-LOG: count on
    EXPECT_EQ(contest.QSOs[2].Caption, "3");
    EXPECT_EQ(contest.QSOs[1].Cells, (std::vector<std::string>{"3510", "CW", "2005-02-12", "12:30", "Q2BB/P",
                                                               "599 002", "599 016", "-", ""}));
    EXPECT_EQ(contest.QSOs[1].ImageIndex, imgQSOUnchecked);

    EXPECT_EQ(contest.Current.CallSign, "Q1AA");
    EXPECT_EQ(contest.HeaderCaption, " Q1AA Ivan RC");
    EXPECT_EQ(contest.Status[spRecords], " QSO Record(s) : 3");
    EXPECT_EQ(contest.Status[spScore], "");
    EXPECT_EQ(contest.LoadedName, "Q1AA.CBR");
    EXPECT_EQ(contest.SelectedQSO, -1);
}

TEST_F(ContestTest, LoadLogMarksMissingAndEmptyCallSign) {
    folder.Write("nocall.cbr", "NAME: x\nQSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n");
    folder.Write("empty.cbr", "CALLSIGN:\nCALLSIGN: q9zz\n");
    ListLogs();
    contest.SelectLogByName("NOCALL");
    contest.LoadLog(contest.SelectedLogPath());
    ASSERT_EQ(contest.Header.size(), 2u);
    EXPECT_EQ(contest.Header[0].Caption, "CALLSIGN:");
    EXPECT_EQ(contest.Header[0].Cells,
              (std::vector<std::string>{"", std::string("нет обязательного тэга"_cp)}));
    EXPECT_EQ(contest.Header[0].ImageIndex, imgTagMissing);
    EXPECT_EQ(contest.HeaderCaption, " NOCALL.CBR x ");

    contest.SelectLogByName("EMPTY");
    contest.LoadLog(contest.SelectedLogPath());
    ASSERT_EQ(contest.Header.size(), 2u); // no extra row at the top
    EXPECT_EQ(contest.Header[0].Cell(1), "нет обязательного тэга"_cp);
    EXPECT_EQ(contest.Header[1].ImageIndex, imgCallSign);
    EXPECT_EQ(contest.Current.CallSign, "Q9ZZ"); // the loader uses the last CALLSIGN:
}

TEST_F(ContestTest, LoadLogOfAMissingFileShowsTheErrorRow) {
    contest.HeaderCaption = " Q1AA Ivan RC";
    contest.LoadLog(folder.File("gone.cbr"));
    EXPECT_EQ(contest.HeaderCaption, "");
    ASSERT_EQ(contest.Header.size(), 1u);
    EXPECT_EQ(contest.Header[0].Caption, "Error");
    EXPECT_EQ(contest.Header[0].Cell(0), "File not found");
    EXPECT_EQ(contest.Header[0].Cell(1), "Файл не найден "_cp + folder.File("gone.cbr"));
    EXPECT_EQ(contest.Header[0].ImageIndex, imgBadTag);
    EXPECT_TRUE(contest.QSOs.empty());
}

TEST_F(ContestTest, PendingSearchTextChoosesTheFirstMatchingContact) {
    folder.Write("q1aa.cbr", kQ1AA);
    contest.PendingSearchText = "Q2BB/";
    contest.LoadLog(folder.File("q1aa.cbr"));
    EXPECT_EQ(contest.SelectedQSO, 1);
    EXPECT_EQ(contest.PendingSearchText, "");
    contest.PendingSearchText = "q2bb"; // case-sensitive: no match, stays pending
    contest.LoadLog(folder.File("q1aa.cbr"));
    EXPECT_EQ(contest.SelectedQSO, -1);
    EXPECT_EQ(contest.PendingSearchText, "q2bb");
}

TEST_F(ContestTest, BadInputsLoadWithoutHarm) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37) % 256);
    folder.Write("binary.cbr", binary);
    folder.Write("nul.cbr", std::string("CALLSIGN: Q1AA\0\nQSO: 3510 CW\0 2005-02-12\n", 41));
    folder.Write("oneline.cbr", std::string(10 * 1024 * 1024, 'Q'));
    ListLogs();
    EXPECT_EQ(contest.Logs.size(), 3u);
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        contest.SelectedLog = static_cast<int>(i);
        EXPECT_NO_THROW(contest.LoadLog(contest.SelectedLogPath())) << contest.Logs[i].Caption;
    }
    contest.SelectLogByName("NUL");
    contest.LoadLog(contest.SelectedLogPath());
    EXPECT_EQ(contest.Current.CallSign, "Q1AA");
    ASSERT_EQ(contest.QSOs.size(), 1u);
    EXPECT_EQ(contest.QSOs[0].Cell(1), "CW"); // a NUL ends up trimmed off its piece like a blank
}

TEST_F(ContestTest, FiftyMegabyteLogLoads) {
    std::string text = "CALLSIGN: Q1AA\r\n";
    const std::string filler = std::string(998, 'x') + "\r\n";
    while (text.size() < 50u * 1024 * 1024) {
        text += filler;
        if (text.size() % (1024 * 1024) < filler.size())
            text += "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\r\n";
    }
    folder.Write("huge.cbr", text);
    ListLogs();
    ASSERT_TRUE(contest.SelectLogByName("HUGE"));
    contest.LoadLog(contest.SelectedLogPath());
    EXPECT_EQ(contest.Header.size(), 1u);
    EXPECT_EQ(contest.QSOs.size(), 50u);
    EXPECT_EQ(contest.Logs[0].ImageIndex, imgLog);
}
