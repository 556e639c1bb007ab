// Stations without a log, conditional credit, the contest-wide run and its standings.
#include "judge/judge.h"
#include "judge/qso_search.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

using namespace zelk;
using namespace zelk::test;

namespace {

class ContestWideTest : public ContestFixture {
  protected:
    // A log of `call` with one contact per entry of `calls`, all on 3510 CW at 12:00 + i minutes; an
    // empty entry is a line too short to hold a correspondent.
    void Log(const std::string& call, const std::vector<std::string>& calls) {
        std::vector<std::string> contacts;
        for (size_t i = 0; i < calls.size(); ++i) {
            const std::string start =
                "3510 CW 2005-02-12 12" + std::string(i < 10 ? "0" : "") + std::to_string(i) + " " + call;
            contacts.push_back(calls[i].empty() ? start : start + " 599 001 " + calls[i] + " 599 001");
        }
        WriteLog(call + ".CBR", {"CALLSIGN: " + call}, contacts);
    }
    std::vector<std::pair<std::string, int>> Mentions() {
        ListLogs();
        std::vector<std::pair<std::string, int>> out;
        CountNoFileMentions(contest, settings.Judging(), out, nullptr);
        return out;
    }
    std::string Row(const std::string& caption) {
        for (const auto& r : contest.Logs)
            if (r.Caption == caption) return r.Cell(0) + "/" + r.Cell(1) + "/" + r.Cell(2);
        return "missing";
    }
};

struct CountingProgress : IProgress {
    std::vector<int> steps;
    int started = -1, finished = 0;
    void Start(int count) override { started = count; }
    void Step(int position) override { steps.push_back(position); }
    void Finish() override { ++finished; }
};

using MentionList = std::vector<std::pair<std::string, int>>;

} // namespace

TEST_F(ContestWideTest, MentionCountsPerLogInAlphabeticalOrder) {
    Log("Q1AA", {"X9X", "X9X", "X9X", "X9X", "X9X", "Y9Y"});
    Log("Q2BB", {"X9X", "Q1AA"});
    Log("Q3CC", {"x9x"});
    settings.NoFileMinMentionCount = 1;
    EXPECT_EQ(Mentions(), (MentionList{{"X9X", 3}, {"Y9Y", 1}}));
    settings.NoFileMinMentionCount = 2;
    EXPECT_EQ(Mentions(), (MentionList{{"X9X", 3}}));
    settings.NoFileMinMentionCount = 0;
    EXPECT_EQ(Mentions().size(), 2u);
}

TEST_F(ContestWideTest, PortableCallsAreCountedApartAndEmptyCallsCount) {
    Log("Q1AA", {"Q9AB/P", ""});
    Log("Q2BB", {"Q9AB/P", ""});
    Log("Q3CC", {"Q9AB"});
    Log("Q4DD", {"Q9AB"});
    Log("Q5EE", {""});
    settings.NoFileMinMentionCount = 3;
    EXPECT_EQ(Mentions(), (MentionList{{"", 3}}));
    folder.Write(".CBR", "CALLSIGN: X\r\n");
    EXPECT_TRUE(Mentions().empty());
}

// A control character next to a piece of a QSO line (here a NUL before the call) is dropped alike by the
// contest-wide run, the count of the stations without a log and the log check, which reads the records
// back from the QSO list.
TEST_F(ContestWideTest, ControlCharactersAroundAPieceAreDroppedByEveryRun) {
    Log("Q1AA", {std::string("\0Q9ZZ", 5), "Q2BB"});
    Log("Q2BB", {"Q1AA", "Q9ZZ\x01"});
    settings.NoFileIncludeResults = true;
    settings.NoFileMinMentionCount = 2;
    EXPECT_EQ(Mentions(), (MentionList{{"Q9ZZ", 2}}));
    RebuildLogList();
    CheckAllFiles(contest, Judging(), nullptr);
    const std::string wide = Row("Q1AA.CBR");
    EXPECT_EQ(wide, "2/2/4"); // Q9ZZ credited without a log, Q2BB confirmed
    contest.SelectLogByName("Q1AA.CBR");
    LoadSelectedLog();
    EXPECT_EQ(contest.QSOs[0].Cell(4), "Q9ZZ");
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(Row("Q1AA.CBR"), wide);
    EXPECT_EQ(contest.QSOs[0].Cell(8), "условно зачет; "_cp);
}

// A line short of its last piece leaves a blank at the end of the received exchange; the contest-wide
// run judges it as the log check does, which reads it back trimmed from the QSO list.
TEST_F(ContestWideTest, AShortLineIsJudgedAlikeByBothRuns) {
    WriteScript("CalcQSO.txt", "begin Result := Length(Receive) end");
    WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"}, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q9ZZ 599"});
    settings.NoFileIncludeResults = true;
    settings.NoFileMinMentionCount = 1;
    RebuildLogList();
    CheckAllFiles(contest, Judging(), nullptr);
    EXPECT_EQ(Row("Q1AA.CBR"), "3/1/3");
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(Row("Q1AA.CBR"), "3/1/3");
    EXPECT_EQ(contest.QSOs[0].Cell(7), "3");
}

TEST_F(ContestWideTest, MentionProgressCountsEveryListedLog) {
    Log("Q1AA", {"X9X"});
    Log("Q2BB", {"X9X"});
    ListLogs();
    std::filesystem::remove(PathFromText(folder.File("Q1AA.CBR")));
    CountingProgress progress;
    MentionList out;
    settings.NoFileMinMentionCount = 1;
    CountNoFileMentions(contest, settings.Judging(), out, &progress);
    EXPECT_EQ(progress.started, 2);
    EXPECT_EQ(progress.steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(out, (MentionList{{"X9X", 1}}));
}

TEST_F(ContestWideTest, ConditionalCreditOnlyWithTheSettingAndEnoughMentions) {
    Log("Q1AA", {"X9X", "X9X", "Y9Y"});
    Log("Q2BB", {"X9X"});
    Log("Q3CC", {"X9X"});
    settings.NoFileMinMentionCount = 3;
    RebuildLogList();
    ASSERT_TRUE(contest.SelectLogByName("Q1AA.CBR"));
    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(contest.QSOs[0].Cell(8), "нет файла; "_cp);

    settings.NoFileIncludeResults = true;
    RebuildLogList();
    EXPECT_EQ(contest.NoFileCalls, (MentionList{{"X9X", 3}}));
    ASSERT_TRUE(contest.SelectLogByName("Q1AA.CBR"));
    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    // Both identical contacts are credited: no repeat test for stations without a log.
    EXPECT_EQ(contest.QSOs[0].Cell(8), "условно зачет; "_cp);
    EXPECT_EQ(contest.QSOs[1].Cell(8), "условно зачет; "_cp);
    EXPECT_EQ(contest.QSOs[0].ImageIndex, imgQSOAccepted);
    EXPECT_EQ(contest.QSOs[2].Cell(8), "нет файла; "_cp);
    EXPECT_EQ(contest.Status[spScore] + "/" + contest.Status[spMulti], "2/1");

    // Turned off again (as the settings dialog does), the credit goes with the next rebuild.
    settings.NoFileIncludeResults = false;
    RebuildLogList();
    EXPECT_TRUE(contest.NoFileCalls.empty());
    ASSERT_TRUE(contest.SelectLogByName("Q1AA.CBR"));
    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(contest.QSOs[0].Cell(8), "нет файла; "_cp);
    EXPECT_EQ(contest.Status[spScore], "0");
}

TEST_F(ContestWideTest, ConditionalCreditNeedsTheSettingEvenWithStationsCounted) {
    Log("Q1AA", {"X9X"});
    ListLogs();
    contest.NoFileCalls = {{"X9X", 3}};
    ASSERT_TRUE(contest.SelectLogByName("Q1AA.CBR"));
    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(contest.QSOs[0].Cell(8), "нет файла; "_cp);
    settings.NoFileIncludeResults = true;
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(contest.QSOs[0].Cell(8), "условно зачет; "_cp);
}

TEST_F(ContestWideTest, CancellingStopsBetweenLogsKeepingTheRowsScored) {
    Log("Q1AA", {"Q2BB"});
    Log("Q2BB", {"Q1AA"});
    Log("Q3CC", {"Q1AA"});
    ListLogs();
    contest.SortLogs(0);
    // Asks to stop once the first log is done.
    struct StopAfterFirst : CountingProgress {
        bool Cancelled() const override { return !steps.empty(); }
    } stop;
    EXPECT_THROW(CheckAllFiles(contest, Judging(), &stop), TZelkCancelled);
    EXPECT_EQ(stop.steps, std::vector<int>{0});
    EXPECT_EQ(stop.finished, 1);
    EXPECT_EQ(Row("Q1AA.CBR"), "1/1/1");
    EXPECT_EQ(Row("Q2BB.CBR"), "-/-/-");
    EXPECT_EQ(Row("Q3CC.CBR"), "-/-/-");

    // A request that comes with the last log changes nothing: the pass is complete.
    struct StopAtLast : CountingProgress {
        bool Cancelled() const override { return steps.size() == 3; }
    } late;
    EXPECT_NO_THROW(CheckAllFiles(contest, Judging(), &late));
    EXPECT_EQ(late.steps.size(), 3u);
    EXPECT_EQ(Row("Q3CC.CBR"), "0/0/0");

    // The absent count and the search stop the same way.
    StopAfterFirst again;
    std::vector<std::pair<std::string, int>> out;
    EXPECT_THROW(CountNoFileMentions(contest, settings.Judging(), out, &again), TZelkCancelled);
    StopAfterFirst search;
    EXPECT_THROW(SearchContacts(contest, "Q1AA", &search), TZelkCancelled);
    EXPECT_EQ(search.finished, 1);
}

TEST_F(ContestWideTest, CheckAllFilesScoresEveryRow) {
    Log("Q1AA", {"Q2BB", "Q3CC", "Q9ZZ"});
    Log("Q2BB", {"Q1AA", "Q3CC"});
    Log("Q3CC", {"Q1AA", "Q2BB"});
    WriteLog("NOCALL.CBR", {"NAME: x"}, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 001"});
    ListLogs();
    CountingProgress progress;
    CheckAllFiles(contest, Judging(), &progress);
    // Times differ by the contact's position in each log; all within three minutes here.
    EXPECT_EQ(Row("Q1AA.CBR"), "2/2/4");
    EXPECT_EQ(Row("Q2BB.CBR"), "2/2/4");
    EXPECT_EQ(Row("Q3CC.CBR"), "2/2/4");
    EXPECT_EQ(Row("NOCALL.CBR"), "0/0/0");
    EXPECT_EQ(progress.started, 4);
    EXPECT_EQ(progress.steps.size(), 4u);
    EXPECT_EQ(progress.finished, 1);
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(ContestWideTest, ZeroPointContactsAddNoMultiplierHereButDoInTheLogCheck) {
    WriteScript("CalcQSO.txt", "begin Result := 0 end");
    Log("Q1AA", {"Q2BB"});
    Log("Q2BB", {"Q1AA"});
    ListLogs();
    CheckAllFiles(contest, Judging(), nullptr);
    EXPECT_EQ(Row("Q1AA.CBR"), "0/0/0");
    contest.SelectLogByName("Q1AA.CBR");
    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(Row("Q1AA.CBR"), "0/1/0");
}

TEST_F(ContestWideTest, EmptyListEndsAtOnceAndSortingFollowsTotals) {
    CountingProgress progress;
    ListLogs();
    CheckAllFiles(contest, Judging(), &progress);
    EXPECT_EQ(progress.started, -1);
    Log("Q1AA", {"Q2BB", "Q3CC"});
    Log("Q2BB", {"Q1AA"});
    Log("Q3CC", {"Q1AA", "Q9ZZ"});
    ListLogs();
    RecalcAndSortByScore(contest, Judging(), true, nullptr);
    EXPECT_EQ(contest.Logs[0].Caption, "Q1AA.CBR");
    EXPECT_EQ(contest.Logs[0].Cell(2), "4");
    EXPECT_EQ(contest.SortColumn, 3);
    contest.Logs[2].Cells[2] = "99";
    RecalcAndSortByScore(contest, Judging(), false, nullptr);
    EXPECT_EQ(contest.Logs[0].Cell(2), "99");
}

TEST_F(ContestWideTest, BrokenScriptIsReportedOncePerRunAndYieldsItsNeutralResult) {
    WriteScript("IsConfirmative.txt", "begin Result := ( end");
    Log("Q1AA", {"Q2BB", "Q2BB"});
    Log("Q2BB", {"Q1AA"});
    ListLogs();
    CheckAllFiles(contest, Judging(), nullptr);
    ASSERT_EQ(messages.PlainTexts().size(), 1u);
    EXPECT_EQ(messages.PlainTexts()[0].rfind("Ошибка в скрипте [Подтверждение QSO-записи]:\r\r"_cp, 0), 0u);
    EXPECT_EQ(Row("Q1AA.CBR"), "0/0/0");
    CheckAllFiles(contest, Judging(), nullptr);
    EXPECT_EQ(messages.PlainTexts().size(), 2u);
}

TEST_F(ContestWideTest, SearchListsOwnerFirstThenContactNumbers) {
    Log("Q1AA", {"Q2BB", "Q9ZZ", "Q2BB/P", "XQ2BBC"});
    Log("Q3CC", {"Q1AA"});
    Log("Q2BB", {"Q1AA"});
    ListLogs();
    CountingProgress progress;
    const auto rows = SearchContacts(contest, "Q2BB", &progress);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].FileName, "Q2BB.CBR");
    EXPECT_EQ(rows[0].Comment, "Владелец файла"_cp);
    EXPECT_TRUE(rows[0].Owner);
    EXPECT_EQ(rows[1].FileName, "Q1AA.CBR");
    EXPECT_EQ(rows[1].Comment, "QSO: 1,3,4");
    EXPECT_EQ(progress.steps.size(), 3u);
    test::TempDir empty;
    settings.CurrentFolder = empty.Text();
    ListLogs();
    EXPECT_TRUE(SearchContacts(contest, "Q2BB", nullptr).empty());
}

// A log that exists but cannot be read ends the search; the rows of the logs read before it stay.
TEST_F(ContestWideTest, SearchKeepsTheRowsFoundBeforeAnUnreadableLog) {
    Log("Q1AA", {"Q2BB"});
    Log("Q2BB", {"Q1AA"});
    // /proc/self/mem opens like a regular file and fails on reading.
    std::filesystem::create_symlink("/proc/self/mem", PathFromText(folder.File("Q3ZZ.CBR")));
    Log("Q4DD", {"Q2BB"});
    ListLogs();
    contest.SortLogs(0);
    CountingProgress progress;
    std::vector<TSearchRow> rows;
    EXPECT_THROW(SearchContacts(contest, "Q2BB", &progress, rows), TZelkError);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].FileName, "Q2BB.CBR");
    EXPECT_TRUE(rows[0].Owner);
    EXPECT_EQ(rows[1].FileName, "Q1AA.CBR");
    EXPECT_EQ(rows[1].Comment, "QSO: 1");
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(ContestWideTest, ViewerTestShowsTheChosenCandidateAndTheMinutes) {
    WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"},
             {"3510 CW 2005-02-12 2359 Q1AA 599 001 Q2BB 599 015",
              "7020 CW 2005-02-12 1200 Q1AA 599 002 Q9ZZ 599 1",
              "14010 CW 2005-02-10 1200 Q1AA 599 003 Q2BB 599 016"});
    WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"},
             {"3510 CW 2005-02-13 0001 Q2BB 599 015 Q1AA 599 001",
              "14010 CW 2005-02-12 1200 Q2BB 599 016 Q1AA 599 003"});
    Open("Q1AA.CBR");
    auto t = TestQSO(contest, Judging(), 0);
    EXPECT_EQ(t.FileName, "Q1AA.CBR");
    EXPECT_EQ(t.CorrespondentFile, "Q2BB.CBR");
    EXPECT_EQ(t.Viewed.QSOIndex, 1);
    EXPECT_EQ(t.Index, "1");
    EXPECT_EQ(t.Freq, "3510");
    EXPECT_EQ(t.Time, "00:01  [ 2 мин ]"_cp);
    t = TestQSO(contest, Judging(), 1);
    EXPECT_EQ(t.Index, "-");
    EXPECT_EQ(t.Call, "-");
    EXPECT_EQ(t.Time, "-  ");
    t = TestQSO(contest, Judging(), 2);
    EXPECT_EQ(t.Index, "2");
    EXPECT_EQ(t.Time, "[ошибка в дате]"_cp);
    // The test changes nothing in the lists.
    EXPECT_EQ(contest.QSOs[0].Cell(7), "-");
}

// A CALLSIGN: in small letters: the viewer finds the same confirmation as the check.
TEST_F(ContestWideTest, ViewerTakesTheOwnerAsTheCheckDoes) {
    WriteLog("Q1AA.CBR", {"CALLSIGN: q1aa"}, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015"});
    WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"}, {"3510 CW 2005-02-12 1200 Q2BB 599 015 Q1AA 599 001"});
    Open("Q1AA.CBR");
    EXPECT_EQ(TestQSO(contest, Judging(), 0).Index, "1");
    CheckAllRecords(contest, Judging());
    EXPECT_EQ(contest.QSOs[0].Cell(7), "1");
    WriteLog("NOCALL.CBR", {"NAME: x"}, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 015"});
    Open("NOCALL.CBR");
    const auto t = TestQSO(contest, Judging(), 0);
    EXPECT_TRUE(t.OwnCallMissing);
    EXPECT_EQ(t.Time, "-  ");
    ASSERT_FALSE(messages.boxes.empty());
    EXPECT_EQ(messages.boxes.back().caption, "Ошибка структуры файла"_cp);
}

TEST_F(ContestWideTest, TwoThousandLogsAreScoredListedAndSearched) {
    // Each station works the next two in a ring, so every log scores 2 x 2.
    const int n = 2000;
    const auto call = [](int i) { return "Q" + std::to_string(i % n) + "X"; };
    for (int i = 0; i < n; ++i) {
        const std::string me = call(i);
        WriteLog(me + ".CBR", {"CALLSIGN: " + me},
                 {"3510 CW 2005-02-12 1200 " + me + " 599 001 " + call(i + 1) + " 599 001",
                  "3510 CW 2005-02-12 1201 " + me + " 599 001 " + call(i + n - 1) + " 599 001"});
    }
    ListLogs();
    ASSERT_EQ(contest.Logs.size(), static_cast<size_t>(n));
    EXPECT_EQ(contest.Status[spFiles], " 2000 file(s)");
    CheckAllFiles(contest, Judging(), nullptr);
    for (const auto& row : contest.Logs)
        ASSERT_EQ(row.Cells, (std::vector<std::string>{"2", "2", "4"})) << row.Caption;
    EXPECT_TRUE(Mentions().empty());
    const auto rows = SearchContacts(contest, "Q17X", nullptr);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].FileName, "Q17X.CBR");
}

// Scripts that say what they are asked about, so that the order of the questions can be compared.
class AskingScriptsTest : public ContestWideTest {
  protected:
    AskingScriptsTest() {
        WriteScript("IsConfirmative.txt",
                    "begin ShowMessage('C ' + CallSign + Call + STime + '/' + STime2); "
                    "Result := (Call2 = CallSign) and (Mode2 = Mode) and (Freq2 = Freq) end");
        WriteScript("IsValidReceive.txt",
                    "begin ShowMessage('R ' + Call + STime + '/' + STime2); Result := Receive = Send2 end");
        WriteScript("IsDuplicate.txt", "begin ShowMessage('D ' + Call + STime + '/' + STime2); "
                                       "Result := (Freq = Freq2) and (Mode = Mode2) and (Call = Call2) end");
        WriteScript("CalcQSO.txt", "begin ShowMessage('P ' + Call + STime); Result := 1 end");
        WriteScript("CalcMultiplier.txt", "begin ShowMessage('M ' + Call); Result := Call end");
    }
    // "Проверить все файлы": the questions asked and the rows' cells.
    std::pair<std::vector<std::string>, std::vector<std::vector<std::string>>> RunAll() {
        messages.boxes.clear();
        CheckAllFiles(contest, Judging(), nullptr);
        std::vector<std::vector<std::string>> cells;
        for (const auto& row : contest.Logs)
            cells.push_back(row.Cells);
        return {messages.PlainTexts(), cells};
    }
};

// The model keeps what it read between runs; a run on it asks what a run that reads every log afresh asks.
TEST_F(AskingScriptsTest, AKeptModelAsksExactlyAsAFreshReadingDoes) {
    Log("Q1AA", {"Q2BB", "Q3CC", "Q2BB", "Q9ZZ", "Q1AA"});
    Log("Q2BB", {"Q1AA", "Q3CC", "Q1AA"});
    Log("Q3CC", {"Q2BB", "Q1AA", "Q2BB"});
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>((i * 131) % 256);
    folder.Write("BIN.CBR", binary);
    ListLogs();
    const auto fresh = RunAll();
    EXPECT_GT(fresh.first.size(), 20u);
    EXPECT_EQ(RunAll(), fresh);
    // Every file written again: each log is read anew.
    for (const char* name : {"Q1AA.CBR", "Q2BB.CBR", "Q3CC.CBR"})
        folder.Write(name, folder.Read(name) + "\r\n");
    EXPECT_EQ(RunAll(), fresh);
    ListLogs();
    EXPECT_EQ(RunAll(), fresh);
    EXPECT_EQ(Row("BIN.CBR"), "0/0/0");
}

// The check of each log asks what the contest-wide run asks about that log and finds its results, when
// the scripts read neither Score nor Comment (the one difference between their records) and every
// accepted contact earns points.
TEST_F(AskingScriptsTest, TheLogCheckAndTheContestWideRunAgree) {
    settings.CurrentFolder = TextFromPath(std::filesystem::path(ZELK_SOURCE_DIR) / "examples" / "contest");
    ListLogs();
    contest.SortLogs(0);
    const auto all = RunAll();
    std::vector<std::string> asked;
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        contest.SelectedLog = static_cast<int>(i);
        LoadSelectedLog();
        messages.boxes.clear();
        const auto before = contest.Logs[i].Cells;
        CheckAllRecords(contest, Judging());
        EXPECT_EQ(contest.Logs[i].Cells, before) << contest.Logs[i].Caption;
        for (const auto& text : messages.PlainTexts())
            asked.push_back(text);
    }
    EXPECT_GT(asked.size(), 500u);
    EXPECT_EQ(asked, all.first);
}

TEST_F(ContestWideTest, ConversionErrorEndsTheRunAndKeepsTheRowsScoredSoFar) {
    // Points on 7020 cannot be read as a number; only Q2BB and Q3CC have a contact there.
    WriteScript("CalcQSO.txt", "begin if Freq = '7020' then Result := 'x' else Result := 1 end");
    WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"}, {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 001"});
    WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"},
             {"3510 CW 2005-02-12 1200 Q2BB 599 001 Q1AA 599 001",
              "7020 CW 2005-02-12 1210 Q2BB 599 002 Q3CC 599 001"});
    WriteLog("Q3CC.CBR", {"CALLSIGN: Q3CC"}, {"7020 CW 2005-02-12 1210 Q3CC 599 001 Q2BB 599 002"});
    ListLogs();
    contest.SortLogs(0);
    CountingProgress progress;
    EXPECT_THROW(CheckAllFiles(contest, Judging(), &progress), TZelkError);
    EXPECT_EQ(Row("Q1AA.CBR"), "1/1/1");
    EXPECT_EQ(Row("Q2BB.CBR"), "-/-/-");
    EXPECT_EQ(Row("Q3CC.CBR"), "-/-/-");
    EXPECT_EQ(progress.steps, std::vector<int>{0});
    EXPECT_EQ(progress.finished, 1);
}
