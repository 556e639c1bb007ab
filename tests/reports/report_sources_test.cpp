// The row sources and variables of the printed reports, the report dialog's catalogue and its data step:
// on small contests made in a temporary folder and on the example contest.
#include "judge/judge.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/report_catalogue.h"
#include "reports/report_data.h"
#include "reports/report_sources.h"
#include "script/judging_scripts.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelk;
using namespace zelk::test;

namespace {

class CountingProgress : public IProgress {
  public:
    int started = -1, finished = 0;
    std::vector<int> steps;
    void Start(int count) override { started = count; }
    void Step(int position) override { steps.push_back(position); }
    void Finish() override { ++finished; }
};

std::string Text(TZelkFilesListSource& source, const std::string& name) {
    ScriptValue v;
    EXPECT_TRUE(source.Variable(name, v)) << name;
    return v.AsText();
}

std::string Text(TZelkCalcSource& source, const std::string& name) {
    ScriptValue v;
    EXPECT_TRUE(source.Variable(name, v)) << name;
    return v.AsText();
}

// Every row of the log list as the layouts see it: "FILE CALLSIGN QSO SCORE/MULTIPLIER/CLAIMED_SCORE".
std::vector<std::string> FilesListRows(TZelkFilesListSource& source) {
    std::vector<std::string> rows;
    for (source.First(); !source.Eof(); source.Next())
        rows.push_back(Text(source, "FILE") + " " + Text(source, "CALLSIGN") + " " + Text(source, "QSO") +
                       " " + Text(source, "SCORE") + "/" + Text(source, "MULTIPLIER") + "/" +
                       Text(source, "CLAIMED_SCORE"));
    return rows;
}

class ReportSourcesTest : public ContestFixture {
  protected:
    void WriteContest() {
        WriteLog("Q1AA.CBR", {"CALLSIGN: q1aa", "NAME: Иван Петров"_cp, "CLUB: Клуб «Эфир»"_cp},
                 {"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0",
                  "3510 CW 2005-02-12 1230 Q1AA 599 002 Q9ZZ 599 016 0",
                  "7020 CW 2005-02-12 1300 Q1AA 599 003 Q2BB 599 017 0"});
        WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB", "NAME: first", "NAME: second"},
                 {"3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0",
                  "7020 CW 2005-02-12 1300 Q2BB 599 017 Q1AA 599 003 0"});
        WriteLog("NOCALL.CBR", {"NAME: Nobody"}, {"3510 CW 2005-02-12 1203 Q5EE 599 001 Q1AA 599 009 0"});
    }
};

// The example contest of the repository (the source folder comes from the build, since __FILE__ may be
// relative under a compiler cache).
std::string ExampleContest() {
    return TextFromPath(std::filesystem::path(ZELK_SOURCE_DIR) / "examples" / "contest");
}

} // namespace

TEST(ReportCatalogueTest, StoredKindSelectsTheDialogEntry) {
    struct Case {
        int kind, current, entry;
    } cases[] = {
        {rkNone, 2, -1},        {rkEditFile, -1, -1}, {rkEditFile, 1, 1}, {rkTournament, 0, 2},
        {rkFilesExists, -1, 0}, {rkQSOCalc, -1, -1},  {rkQSOCalc, 2, 2},  {rkNoFile, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DialogEntryForKind(c.kind, c.current), c.entry) << c.kind << " " << c.current;
    EXPECT_EQ(KindOfDialogEntry(-1), rkNone);
    EXPECT_EQ(KindOfDialogEntry(0), rkFilesExists);
    EXPECT_EQ(KindOfDialogEntry(1), rkNoFile);
    EXPECT_EQ(KindOfDialogEntry(2), rkTournament);
    EXPECT_EQ(KindOfDialogEntry(3), rkCategories);
    EXPECT_EQ(KindOfDialogEntry(4), rkLogCheck);
    EXPECT_EQ(KindOfDialogEntry(5), rkNone);
    EXPECT_EQ(DialogEntryForKind(rkCategories, -1), 3);
    for (int entry = 0; entry < 5; ++entry)
        EXPECT_EQ(DialogEntryForKind(KindOfDialogEntry(entry), -1), entry);
}

TEST_F(ReportSourcesTest, FilesListReadsEachRowsSummaryInListOrder) {
    WriteContest();
    ListLogs();
    contest.SortLogs(0);
    contest.Logs[1].SetCell(0, "12"); // Q1AA after NOCALL
    TZelkFilesListSource source(contest);
    EXPECT_EQ(
        FilesListRows(source),
        (std::vector<std::string>{"NOCALL.CBR  1 -/-/-", "Q1AA.CBR Q1AA 3 12/-/-", "Q2BB.CBR Q2BB 2 -/-/-"}));
    source.First();
    source.Next();
    EXPECT_EQ(source.Index(), 1);
    EXPECT_EQ(Text(source, "NAME"), "Иван Петров"_cp);
    EXPECT_EQ(Text(source, "CLUB"), "Клуб «Эфир»"_cp);
    EXPECT_EQ(Text(source, "FOLDER"), folder.Text());
    source.Next();
    EXPECT_EQ(Text(source, "NAME"), "second"); // the last NAME: wins
    source.Next();
    EXPECT_TRUE(source.Eof());
    // Past the last row the summary is cleared and the row values are empty.
    EXPECT_EQ(Text(source, "CALLSIGN"), "");
    EXPECT_EQ(Text(source, "FILE"), "");
    EXPECT_EQ(Text(source, "QSO"), "0");
    EXPECT_EQ(Text(source, "FOLDER"), folder.Text());
}

TEST_F(ReportSourcesTest, VariablesAreTypedAndMatchedInAnyCase) {
    WriteContest();
    ListLogs();
    ASSERT_TRUE(contest.SelectLogByName("Q1AA"));
    TZelkFilesListSource files(contest);
    files.First();
    while (!files.Eof() && Text(files, "FILE") != "Q1AA.CBR")
        files.Next();
    ScriptValue upper, mixed;
    for (const char* name : {"callsign", "CallSign", "qso", "Claimed_Score", "folder"}) {
        ASSERT_TRUE(files.Variable(name, mixed)) << name;
        ASSERT_TRUE(files.Variable(UpperCase(name), upper)) << name;
        EXPECT_EQ(mixed.Kind(), upper.Kind()) << name;
        EXPECT_EQ(mixed.AsText(), upper.AsText()) << name;
    }
    ASSERT_TRUE(files.Variable("QSO", upper));
    EXPECT_EQ(upper.Kind(), TValueKind::Integer);
    ASSERT_TRUE(files.Variable("Score", upper));
    EXPECT_EQ(upper.Kind(), TValueKind::String);
    EXPECT_EQ(upper.AsText(), "-");
    // Names of the other set, or of nothing, are left to the engine.
    for (const char* name : {"MULTI", "QSO_CALL", "CNT", "FILES", "", "Файл"})
        EXPECT_FALSE(files.Variable(name, upper)) << name;

    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    TZelkCalcSource calc(contest, Scripts());
    calc.First();
    for (const char* name : {"qso_call", "Qso_Score", "multi", "claimed_score", "File"}) {
        ASSERT_TRUE(calc.Variable(name, mixed)) << name;
        ASSERT_TRUE(calc.Variable(UpperCase(name), upper)) << name;
        EXPECT_EQ(mixed.Kind(), upper.Kind()) << name;
        EXPECT_EQ(mixed.AsText(), upper.AsText()) << name;
    }
    for (const char* name : {"MULTIPLIER", "QSO_RECEIVED", "CNT"})
        EXPECT_FALSE(calc.Variable(name, upper)) << name;
}

TEST_F(ReportSourcesTest, MissingRowLogIsReportedWithItsCells) {
    WriteContest();
    ListLogs();
    contest.SortLogs(0);
    std::filesystem::remove(PathFromText(folder.File("Q1AA.CBR")));
    contest.Logs[1].Cells = {"5", "2", "10"};
    TZelkFilesListSource source(contest);
    EXPECT_EQ(FilesListRows(source)[1], "Q1AA.CBR  0 5/2/10");
    source.First();
    source.Next();
    EXPECT_EQ(Text(source, "NAME"), "");
    EXPECT_EQ(Text(source, "CLUB"), "");
}

TEST_F(ReportSourcesTest, EmptyFolderHasNoRows) {
    ListLogs();
    TZelkFilesListSource files(contest);
    files.First();
    EXPECT_TRUE(files.Eof());
    TZelkCalcSource calc(contest, Scripts());
    calc.First();
    EXPECT_TRUE(calc.Eof());
    ScriptValue v;
    ASSERT_TRUE(calc.Variable("FILE", v));
    EXPECT_EQ(v.AsText(), "");
    ASSERT_TRUE(calc.Variable("QSO_CALL", v));
    EXPECT_EQ(v.AsText(), "");
}

TEST_F(ReportSourcesTest, CheckReportShowsTheLogAndEveryContactAsChecked) {
    WriteContest();
    Open("Q1AA.CBR");
    CheckAllRecords(contest, Judging());
    TZelkCalcSource source(contest, Scripts());
    std::vector<std::string> rows;
    for (source.First(); !source.Eof(); source.Next()) {
        std::string row;
        for (const char* name : {"QSO_FREQ", "QSO_MODE", "QSO_DATE", "QSO_TIME", "QSO_CALL", "QSO_SEND",
                                 "QSO_RECEIVE", "QSO_SCORE", "QSO_COMMENT"})
            row += Text(source, name) + "|";
        rows.push_back(row);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"3510|CW|2005-02-12|12:01|Q2BB|599 001|599 015|1||",
                                              "3510|CW|2005-02-12|12:30|Q9ZZ|599 002|599 016|-|" +
                                                  "нет файла; "_cp + "|",
                                              "7020|CW|2005-02-12|13:00|Q2BB|599 003|599 017|1||"}));
    EXPECT_EQ(Text(source, "QSO_SCORE"), ""); // after the last row
    EXPECT_EQ(Text(source, "FILE"), "Q1AA.CBR");
    EXPECT_EQ(Text(source, "CALLSIGN"), "Q1AA");
    EXPECT_EQ(Text(source, "NAME"), "Иван Петров"_cp);
    EXPECT_EQ(Text(source, "CLUB"), "Клуб «Эфир»"_cp);
    EXPECT_EQ(Text(source, "FOLDER"), folder.Text());
    ScriptValue v;
    const std::pair<const char*, int> numbers[] = {
        {"QSO", 3}, {"SCORE", 2}, {"MULTI", 1}, {"CLAIMED_SCORE", 2}};
    for (const auto& [name, expected] : numbers) {
        ASSERT_TRUE(source.Variable(name, v));
        EXPECT_EQ(v.Kind(), TValueKind::Integer) << name;
        EXPECT_EQ(v.AsInteger(), expected) << name;
    }
}

TEST(EditFileVariablesTest, FileNameAndLineAtTheCursorByExactName) {
    const std::vector<std::string> lines = {"START-OF-LOG: 3.0", "CALLSIGN: Q1AA", ""};
    ScriptValue v;
    ASSERT_TRUE(EditFileVariable("Файл"_cp, "Q1AA.CBR", lines, 0, v));
    EXPECT_EQ(v.AsText(), "Q1AA.CBR");
    ASSERT_TRUE(EditFileVariable("Строка"_cp, "Q1AA.CBR", lines, 1, v));
    EXPECT_EQ(v.AsText(), "CALLSIGN: Q1AA");
    for (int outside : {-1, 3}) {
        ASSERT_TRUE(EditFileVariable("Строка"_cp, "Q1AA.CBR", lines, outside, v));
        EXPECT_EQ(v.AsText(), "");
    }
    for (const std::string& other : {"ФАЙЛ"_cp, "строка"_cp, std::string("FILE"), std::string("LINE")})
        EXPECT_FALSE(EditFileVariable(other, "Q1AA.CBR", lines, 0, v)) << ToUtf8(other);
}

TEST_F(ReportSourcesTest, StandingsWithoutRecalculationOnlySort) {
    WriteContest();
    ListLogs();
    contest.SortLogs(0);
    contest.Logs[0].Cells = {"1", "1", "12"};
    contest.Logs[1].Cells = {"-", "-", "-"};
    contest.Logs[2].Cells = {"3", "10", "30"};
    CountingProgress progress;
    TNoFileRows noFile;
    PrepareReportData(contest, Judging(), rkTournament, false, {&progress, nullptr}, noFile);
    TZelkFilesListSource source(contest);
    // A log without a callsign goes after every log that can be judged, whatever its cells say.
    EXPECT_EQ(FilesListRows(source),
              (std::vector<std::string>{"Q2BB.CBR Q2BB 2 3/10/30", "Q1AA.CBR Q1AA 3 -/-/-",
                                        "NOCALL.CBR  1 1/1/12"}));
    EXPECT_EQ(progress.started, -1); // nothing was scored

    PrepareReportData(contest, Judging(), rkTournament, true, {&progress, nullptr}, noFile);
    // Equal totals keep their order: the sort is the list's own sort by total.
    EXPECT_EQ(
        FilesListRows(source),
        (std::vector<std::string>{"Q2BB.CBR Q2BB 2 2/1/2", "Q1AA.CBR Q1AA 3 2/1/2", "NOCALL.CBR  1 0/0/0"}));
    EXPECT_EQ(progress.started, 3);
    EXPECT_TRUE(noFile.empty());
}

TEST_F(ReportSourcesTest, AbsentLogTableAndLogsReceivedLeaveTheListAlone) {
    WriteContest();
    WriteLog("Q3CC.CBR", {"CALLSIGN: Q3CC"}, {"3510 CW 2005-02-12 1205 Q3CC 599 001 Q9ZZ 599 001 0"});
    WriteLog("Q4DD.CBR", {"CALLSIGN: Q4DD"}, {"3510 CW 2005-02-12 1205 Q4DD 599 001 q9zz 599 001 0"});
    ListLogs();
    const auto before = contest.Logs;
    settings.NoFileMinMentionCount = 2;
    CountingProgress progress;
    TNoFileRows noFile = {{"OLD", 9}};
    PrepareReportData(contest, Judging(), rkNoFile, true, {nullptr, &progress}, noFile);
    // Q9ZZ, which sent no log, is mentioned by three logs (letter case ignored).
    ASSERT_EQ(noFile.size(), 1u);
    EXPECT_TRUE(SameText(noFile[0].first, "Q9ZZ"));
    EXPECT_EQ(noFile[0].second, 3);
    EXPECT_EQ(progress.started, 5);
    EXPECT_EQ(progress.steps, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(progress.finished, 1);

    PrepareReportData(contest, Judging(), rkFilesExists, true, {&progress, &progress}, noFile);
    ASSERT_EQ(contest.Logs.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(contest.Logs[i].Caption, before[i].Caption);
        EXPECT_EQ(contest.Logs[i].Cells, before[i].Cells);
    }
    EXPECT_EQ(progress.finished, 1);
}

TEST_F(ReportSourcesTest, AbsentLogTableOfAnEmptyFolderShowsNoProgress) {
    ListLogs();
    CountingProgress progress;
    TNoFileRows noFile = {{"OLD", 9}};
    PrepareReportData(contest, Judging(), rkNoFile, false, {&progress, &progress}, noFile);
    EXPECT_TRUE(noFile.empty());
    EXPECT_EQ(progress.started, -1);
    EXPECT_EQ(progress.finished, 0);
}

TEST_F(ReportSourcesTest, ExampleContestReports) {
    settings.CurrentFolder = ExampleContest();
    ListLogs();
    ASSERT_EQ(contest.Logs.size(), 14u);
    contest.SortLogs(0); // equal totals then keep the order of the file names

    TNoFileRows noFile;
    PrepareReportData(contest, Judging(), rkTournament, true, {}, noFile);
    TZelkFilesListSource files(contest);
    const std::vector<std::string> standings = FilesListRows(files);
    ASSERT_EQ(standings.size(), 14u);
    EXPECT_EQ(standings.front(), "Q9LMZ.CBR Q9LMZ 26 25/13/325");
    EXPECT_EQ(standings[3], "Q2PE.CBR Q2PE 24 23/13/299");
    EXPECT_EQ(standings[12], "Q4LB.CBR Q4LB 23 19/10/190");
    EXPECT_EQ(standings.back(), "Q5GOT.CBR  23 0/0/0"); // no CALLSIGN: line, not checked

    settings.NoFileMinMentionCount = 1;
    PrepareReportData(contest, Judging(), rkNoFile, false, {}, noFile);
    EXPECT_EQ(noFile, (TNoFileRows{{"Q2AAO", 5}, {"Q4PBF", 1}, {"Q5MZ", 4}}));

    ASSERT_TRUE(contest.SelectLogByName("Q4LB"));
    LoadSelectedLog();
    CheckAllRecords(contest, Judging());
    TZelkCalcSource calc(contest, Scripts());
    std::vector<std::string> rejected;
    int rows = 0;
    for (calc.First(); !calc.Eof(); calc.Next(), ++rows)
        if (Text(calc, "QSO_SCORE") == "-")
            rejected.push_back(std::to_string(rows + 1) + " " + Text(calc, "QSO_CALL") + " " +
                               ToUtf8(Text(calc, "QSO_COMMENT")));
    EXPECT_EQ(rows, 23);
    EXPECT_EQ(rejected, (std::vector<std::string>{"2 Q5MZ нет файла; ", "5 Q2YZI ошибка приёма; ",
                                                  "7 Q7UK/P время не совпадает; ", "15 Q1HH повтор; "}));
    EXPECT_EQ(Text(calc, "CLAIMED_SCORE"), "190");
    EXPECT_EQ(Text(calc, "QSO"), "23");
}
