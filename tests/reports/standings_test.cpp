// Places in the standings: shared places for equal totals, no place for logs that cannot be judged, and
// the PLACE variable of the printed standings over a scored log list.
#include "judge/judge.h"
#include "logs/list_rows.h"
#include "reports/report_data.h"
#include "reports/report_sources.h"
#include "reports/standings.h"
#include "settings/global_vars.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

using namespace zelk;
using namespace zelk::test;

namespace {

TLogRow Row(int image, const char* total) {
    TLogRow row;
    row.ImageIndex = image;
    row.Cells = {"-", "-", total};
    return row;
}

} // namespace

TEST(StandingsPlaces, EqualTotalsSharePlacesAndTheNextPlacesAreSkipped) {
    using T = std::optional<int>;
    const struct {
        std::vector<T> totals;
        std::vector<int> places;
    } cases[] = {
        {{}, {}},
        {{T(5)}, {1}},
        {{T(30), T(20), T(20), T(10)}, {1, 2, 2, 4}},
        {{T(10), T(20), T(30), T(20)}, {4, 2, 1, 2}}, // any order
        {{T(7), T(7), T(7)}, {1, 1, 1}},
        {{T(3), std::nullopt, T(-2), T(0)}, {1, 0, 3, 2}},
        {{std::nullopt, std::nullopt}, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandingsPlaces(c.totals), c.places) << ::testing::PrintToString(c.places);
}

TEST(StandingsPlaces, OnlyScoredLogsWithACallsignHaveATotal) {
    EXPECT_EQ(StandingsTotal(Row(imgLog, "312")), std::optional<int>(312));
    EXPECT_EQ(StandingsTotal(Row(imgLog, "-4")), std::optional<int>(-4));
    EXPECT_EQ(StandingsTotal(Row(imgLog, "-")), std::nullopt);
    EXPECT_EQ(StandingsTotal(Row(imgLogNoCall, "0")), std::nullopt);
    EXPECT_EQ(StandingsTotal(TLogRow()), std::nullopt);
}

class StandingsSourceTest : public ContestFixture {};

TEST_F(StandingsSourceTest, PrintedStandingsGiveTiesOnePlaceAndTheLogWithoutCallsignNone) {
    // Q1AA and Q2BB confirm each other's one contact and tie; Q3CC's contact has no log to match.
    WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"}, {"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0"});
    WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"}, {"3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0"});
    WriteLog("Q3CC.CBR", {"CALLSIGN: Q3CC"}, {"3510 CW 2005-02-12 1250 Q3CC 599 001 Q8YY 599 009 0"});
    WriteLog("NOCALL.CBR", {"NAME: Nobody"}, {"3510 CW 2005-02-12 1203 Q5EE 599 001 Q1AA 599 009 0"});
    ListLogs();
    contest.SortLogs(0);
    TNoFileRows unused;
    PrepareReportData(contest, Judging(), rkTournament, true, {}, unused);

    TZelkFilesListSource source(contest);
    std::vector<std::string> rows;
    for (source.First(); !source.Eof(); source.Next()) {
        ScriptValue place, file;
        ASSERT_TRUE(source.Variable("Place", place));
        ASSERT_TRUE(source.Variable("FILE", file));
        rows.push_back(place.AsText() + " " + file.AsText());
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"1 Q1AA.CBR", "1 Q2BB.CBR", "3 Q3CC.CBR", " NOCALL.CBR"}));
    ScriptValue place;
    source.First();
    ASSERT_TRUE(source.Variable("PLACE", place));
    EXPECT_EQ(place.Kind(), TValueKind::Integer);
}
