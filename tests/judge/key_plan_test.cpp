// The visits of the quiet plan: only records whose keys match, in file order, the repeat search below
// the record's own position; scripts that are not quiet or give no keys keep every visit; the parallel
// run is offered only to quiet scripts that compile.
#include "judge/contest_run.h"
#include "judge/judging.h"
#include "judge/key_plan.h"
#include "judge/progress_guard.h"
#include "logs/contest_model.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <thread>

using namespace zelk;
using namespace zelk::test;

namespace {

class KeyPlanTest : public ContestFixture {
  protected:
    void SetUp() override {
        WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"},
                 {"3510 CW 2005-02-12 1200 Q1AA 599 001 Q2BB 599 001",
                  "3510 CW 2005-02-12 1201 Q1AA 599 002 Q3CC 599 001",
                  "3510 SSB 2005-02-12 1202 Q1AA 59 003 Q2BB 59 002",
                  "3510 CW 2005-02-12 1203 Q1AA 599 004 Q2BB 599 003",
                  "03510 CW 2005-02-12 1204 Q1AA 599 005 Q2BB 599 004"});
        ListLogs();
    }

    // The positions a visit goes through.
    static std::vector<std::size_t> Positions(const TRecordVisit& visit) {
        std::vector<std::size_t> out;
        visit.Until([&](const TQSORecord& r) {
            out.push_back(static_cast<std::size_t>(&r - visit.Records->data()));
            return false;
        });
        return out;
    }

    const TContestLog& Log() { return *contest.Model.Log("Q1AA.CBR"); }
};

TEST_F(KeyPlanTest, RepeatSearchVisitsEarlierRecordsWithTheSameKeyInFileOrder) {
    const auto plan = TKeyPlan::For(Scripts()); // the default IsDuplicate: Freq, Mode and Call
    ASSERT_FALSE(plan->Plain());
    const auto& records = Log().Records();
    EXPECT_EQ(Positions(plan->Earlier(Log(), records[3], 3)), (std::vector<std::size_t>{0}));
    // The leading zero makes another frequency text; the SSB contact another mode.
    EXPECT_TRUE(Positions(plan->Earlier(Log(), records[4], 4)).empty());
    EXPECT_TRUE(Positions(plan->Earlier(Log(), records[2], 2)).empty());
    // Nothing at or after the record's own position.
    EXPECT_TRUE(Positions(plan->Earlier(Log(), records[0], 0)).empty());
}

TEST_F(KeyPlanTest, ConfirmationSearchVisitsTheRecordsWhoseFieldsHoldTheOwnersValues) {
    WriteScript("IsConfirmative.txt", "begin Result := false; if (Call2 = CallSign) and (Mode2 = 'CW') then "
                                      "Result := Freq2 + 0 = Freq + 0; end;");
    const auto plan = TKeyPlan::For(Scripts());
    TQSORecord mine(" 3510 CW 2005-02-12 1200 Q2BB 599 001 Q1AA 599 001");
    EXPECT_EQ(Positions(plan->Candidates(Log(), mine, "Q2BB")), (std::vector<std::size_t>{0, 3, 4}));
    EXPECT_TRUE(Positions(plan->Candidates(Log(), mine, "Q1AA")).empty());
}

TEST_F(KeyPlanTest, ScriptsThatShowOrCompareAsNumbersKeepEveryVisit) {
    WriteScript("IsDuplicate.txt", "begin Result := (Call = Call2) and (Freq2 = Freq + 0); end;");
    WriteScript(
        "IsConfirmative.txt",
        "begin Result := (Call2 = CallSign) and (Mode2 = Mode); if Result then ShowMessage(Call2); end;");
    const auto plan = TKeyPlan::For(Scripts());
    EXPECT_TRUE(plan->Plain());
    const auto& records = Log().Records();
    EXPECT_EQ(Positions(plan->Earlier(Log(), records[4], 4)), (std::vector<std::size_t>{0, 1, 2, 3}));
}

TEST_F(KeyPlanTest, ParallelRunOnlyForQuietScriptsThatCompile) {
    EXPECT_TRUE(ScriptsAllowParallelRun(Judging()));
    WriteScript("CalcQSO.txt", "begin ShowMessage(Call); Result := 1; end;");
    EXPECT_FALSE(ScriptsAllowParallelRun(Judging()));
    WriteScript("CalcQSO.txt", "begin Result := 1; end;");
    WriteScript("CalcTotal.txt", "begin Result := ( end");
    EXPECT_FALSE(ScriptsAllowParallelRun(Judging()));
}

// A progress display that notes what the pass tells it, and from which thread.
struct TWatchingProgress : IProgress {
    std::vector<int> steps;
    int waits = 0;
    bool otherThread = false;
    const std::thread::id caller = std::this_thread::get_id();
    void Start(int) override {}
    void Step(int position) override { steps.push_back(position); }
    void Finish() override {}
    void Wait() override {
        ++waits;
        otherThread = otherThread || std::this_thread::get_id() != caller;
    }
};

} // namespace

// While the workers judge a slow log, the caller's thread keeps the progress display alive instead of
// blocking until the log is done, and still hands the logs on in list order.
TEST_F(KeyPlanTest, TheCallerLetsTheProgressDisplayLiveWhileWorkersJudge) {
    for (const char* call : {"Q2BB", "Q3CC", "Q4DD"})
        WriteLog(std::string(call) + ".CBR", {std::string("CALLSIGN: ") + call},
                 {"3510 CW 2005-02-12 1200 " + std::string(call) + " 599 001 Q1AA 599 001"});
    // Each contact takes a long while to score, far longer than the display waits between two looks.
    WriteScript("CalcQSO.txt", "begin x := 0; for i := 1 to 3000000 do x := x + 1; Result := 1 end");
    ListLogs();
    ASSERT_TRUE(ScriptsAllowParallelRun(Judging()));
    std::vector<const TContestLog*> logs;
    for (int i = 0; i < static_cast<int>(contest.Logs.size()); ++i)
        logs.push_back(contest.LogAt(i));
    TWatchingProgress progress;
    std::vector<int> shown;
    {
        const TJudging judging = Judging();
        const TContestRun run{contest.Model, judging, &contest.NoFileCalls, nullptr};
        TProgressGuard guard(&progress, static_cast<int>(logs.size()));
        ScoreLogs(run, logs, 2, guard, [&](int i, const TLogVerdict& verdict) {
            shown.push_back(i);
            EXPECT_TRUE(verdict.Judged);
        });
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(progress.steps, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_GT(progress.waits, 0);
    EXPECT_FALSE(progress.otherThread);
    EXPECT_TRUE(messages.boxes.empty());
}
