// Judging holds no process-wide state: two contests, each with its own settings, scripts and message
// boxes, judged in turns in one process, give what each gives alone.
#include "judge/cross_check.h"
#include "judge/judge.h"
#include "judge/scoring.h"
#include "logs/file_io.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

using namespace zelk;
using namespace zelk::test;

namespace {

// Q1AA and Q2BB logged their contact five minutes apart; Q1AA also worked X9X, who sent no log.
void WriteContest(TestContest& c) {
    c.WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"},
               {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 001",
                "3510 CW 2005-02-12 1210 Q1AA 599 002 X9X 599 001"});
    c.WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"}, {"3510 CW 2005-02-12 1205 Q2BB 599 001 Q1AA 599 001"});
}

// A: the default settings, and a CalcTotal that does not compile.
void SetUpA(TestContest& a) {
    WriteContest(a);
    a.WriteScript("CalcTotal.txt", "begin Result := ( end");
}

// B: a wide time tolerance, conditional credit for a station that one log mentions, and two points a
// contact with a message for each.
void SetUpB(TestContest& b) {
    WriteContest(b);
    b.settings.MaxMinutesDifference = 10;
    b.settings.NoFileIncludeResults = true;
    b.settings.NoFileMinMentionCount = 1;
    b.WriteScript("CalcQSO.txt", "begin ShowMessage('B ' + Call); Result := 2 end");
}

// The window's commands in order: list the folder, "Проверить все файлы", "Проверить все записи" on Q1AA.
std::vector<std::function<void()>> Commands(TestContest& c) {
    return {[&c] {
                c.RebuildLogList();
                c.contest.SortLogs(0);
            },
            [&c] { CheckAllFiles(c.contest, c.Judging(), nullptr); },
            [&c] {
                ASSERT_TRUE(c.contest.SelectLogByName("Q1AA.CBR"));
                c.LoadSelectedLog();
                CheckAllRecords(c.contest, c.Judging());
            }};
}

// The log rows, Q1AA's QSO rows and the first line of every box shown.
std::vector<std::string> Results(const TestContest& c) {
    std::vector<std::string> out;
    for (const auto& row : c.contest.Logs)
        out.push_back(row.Caption + " " + row.Cell(0) + "/" + row.Cell(1) + "/" + row.Cell(2));
    for (const auto& row : c.contest.QSOs)
        out.push_back(row.Cell(7) + "|" + ToUtf8(row.Cell(8)));
    for (const auto& box : c.messages.boxes)
        out.push_back(box.kind + ":" + ToUtf8(box.text.substr(0, box.text.find('\r'))));
    return out;
}

std::vector<std::string> Alone(void (*setUp)(TestContest&)) {
    TestContest c;
    setUp(c);
    for (const auto& command : Commands(c))
        command();
    return Results(c);
}

} // namespace

TEST(JudgingContext, TwoContestsJudgedInTurnsDoNotAffectEachOther) {
    const auto aloneA = Alone(SetUpA);
    const auto aloneB = Alone(SetUpB);
    const std::string totalError = "plain:Ошибка в скрипте [Расчёт итога]:";
    EXPECT_EQ(aloneA, (std::vector<std::string>{"Q1AA.CBR 0/0/0", "Q2BB.CBR 0/0/0", "-|время не совпадает; ",
                                                "-|нет файла; ", totalError, totalError}));
    EXPECT_EQ(aloneB, (std::vector<std::string>{"Q1AA.CBR 4/2/8", "Q2BB.CBR 2/1/2", "2|", "2|условно зачет; ",
                                                "plain:B Q2BB", "plain:B X9X", "plain:B Q1AA", "plain:B Q2BB",
                                                "plain:B X9X"}));

    TestContest a, b;
    SetUpA(a);
    SetUpB(b);
    const auto commandsA = Commands(a);
    const auto commandsB = Commands(b);
    for (size_t i = 0; i < commandsA.size(); ++i) {
        commandsB[i]();
        commandsA[i]();
    }
    EXPECT_EQ(Results(a), aloneA);
    EXPECT_EQ(Results(b), aloneB);
}

// A clone of a script set judges as its original does, with failure marks and texts of its own from then
// on: the set a worker thread would get.
TEST(JudgingContext, ACloneOfTheScriptSetJudgesAsItsOriginal) {
    TestContest b;
    SetUpB(b);
    auto clone = b.Scripts().Clone();
    b.Scripts().FindItem(TScriptKind::CalcQSO)->SetText("begin Result := 5 end");
    TQSORecord record("3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 001");
    EXPECT_EQ(clone->CalcQSO(record), 2);
    EXPECT_EQ(b.Scripts().CalcQSO(record), 5);
    EXPECT_EQ(b.messages.PlainTexts(), std::vector<std::string>{"B Q2BB"});
    clone->FindItem(TScriptKind::CalcTotal)->Failed = true;
    EXPECT_EQ(clone->CalcTotal(2, 3), 0);
    EXPECT_EQ(b.Scripts().CalcTotal(2, 3), 6);
}

// The model is shared read-only: two threads, each with a judge and a script set of its own, score the
// logs of one model at once (reading them as they go) and find what one thread finds.
TEST(JudgingContext, TwoThreadsJudgeTheLogsOfOneModelAtOnce) {
    TestContest c;
    c.settings.CurrentFolder = TextFromPath(std::filesystem::path(ZELK_SOURCE_DIR) / "examples" / "contest");
    c.ListLogs();
    CheckAllFiles(c.contest, c.Judging(), nullptr);
    std::vector<std::string> expected;
    for (const auto& row : c.contest.Logs)
        expected.push_back(row.Cell(0) + "/" + row.Cell(1) + "/" + row.Cell(2));

    c.ListLogs(); // the folder opened anew: nothing read yet
    const auto readBefore = c.contest.Model.LogsRead();
    const auto score = [&c](TZelkScript& scripts, std::vector<std::string>& out) {
        const TJudging judging{c.settings.Judging(), scripts, c.messages};
        TLogJudge judge(c.contest.Model, judging, &c.contest.NoFileCalls);
        for (size_t i = 0; i < c.contest.Logs.size(); ++i) {
            TLogVerdict verdict;
            ScoreLog(judge, c.contest.LogAt(static_cast<int>(i)), verdict);
            out.push_back(std::to_string(verdict.Score) + "/" + std::to_string(verdict.Multi) + "/" +
                          std::to_string(verdict.Total));
        }
    };
    const auto scriptsA = c.Scripts().Clone();
    const auto scriptsB = c.Scripts().Clone();
    std::vector<std::string> a, b;
    std::thread first(score, std::ref(*scriptsA), std::ref(a));
    std::thread second(score, std::ref(*scriptsB), std::ref(b));
    first.join();
    second.join();
    EXPECT_EQ(a, expected);
    EXPECT_EQ(b, expected);
    // Each log was read once, by whichever thread came first.
    EXPECT_EQ(c.contest.Model.LogsRead() - readBefore, c.contest.Logs.size());
    EXPECT_TRUE(c.messages.boxes.empty());
}
