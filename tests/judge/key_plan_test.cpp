// The visits of the quiet plan: only records whose keys match, in file order, the repeat search below
// the record's own position; scripts that are not quiet or give no keys keep every visit; the parallel
// run is offered only to quiet scripts that compile.
#include "judge/contest_run.h"
#include "judge/key_plan.h"
#include "logs/contest_model.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

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

} // namespace
