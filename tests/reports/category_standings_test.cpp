// The standings by category: the category a log's header gives, the order and places within each
// category, the tie-break by accuracy, and the figures the contest gives every log.
#include "reports/category_standings.h"

#include "logs/log_content.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

using namespace zelk;
using namespace zelk::test;

namespace {

TLogContent WithTags(const std::vector<std::pair<std::string, std::string>>& tags) {
    TLogContent content;
    for (const auto& [tag, value] : tags)
        content.Tags.push_back({tag, value});
    return content;
}

TCategoryEntry Entry(int row, std::string category, std::optional<int> total,
                     std::optional<double> accuracy = {}) {
    TCategoryEntry e;
    e.Row = row;
    e.Category = std::move(category);
    e.Total = total;
    e.Accuracy = accuracy;
    return e;
}

// "row:place" in the order ranked.
std::string Ranked(std::vector<TCategoryEntry> entries, bool tieBreak) {
    RankByCategory(entries, tieBreak);
    std::string out;
    for (const auto& e : entries)
        out += (out.empty() ? "" : " ") + std::to_string(e.Row) + ":" + std::to_string(e.Place);
    return out;
}

const char* kDefaultTags = "CATEGORY-OPERATOR CATEGORY-BAND CATEGORY-MODE CATEGORY-POWER";

} // namespace

TEST(LogCategory, ValuesOfTheNamedTagsInTheSettingsOrder) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> tags;
        const char* setting;
        const char* category;
    };
    const Case cases[] = {
        {{{"CATEGORY-POWER:", "high"}, {"CATEGORY-OPERATOR:", "SINGLE-OP"}, {"CATEGORY-BAND:", "ALL"}},
         kDefaultTags,
         "SINGLE-OP ALL HIGH"},
        {{{"CATEGORY-OPERATOR:", " MULTI-OP "}, {"CATEGORY-MODE:", ""}}, kDefaultTags, "MULTI-OP"},
        // The Cabrillo 2.0 tag is one of its own: the default setting does not read it.
        {{{"CATEGORY:", "SINGLE-OP ALL LOW"}}, kDefaultTags, ""},
        {{{"CATEGORY:", "SINGLE-OP  ALL LOW"}}, "category", "SINGLE-OP ALL LOW"},
        {{{"CATEGORY-OPERATOR:", "SINGLE-OP"}, {"CATEGORY-OPERATOR:", "MULTI-OP"}},
         "Category-Operator:",
         "SINGLE-OP"},
        {{{"CATEGORY-OPERATOR:", "SINGLE-OP"}}, "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogCategory(WithTags(c.tags), c.setting), c.category) << c.setting;
}

TEST(RankByCategory, PlacesCountWithinEachCategory) {
    // Categories in alphabetical order, the empty one last; equal totals share a place; logs without a
    // total come last without a place.
    EXPECT_EQ(Ranked({Entry(0, "B", 10), Entry(1, "A", 5), Entry(2, "", 50), Entry(3, "B", 20),
                      Entry(4, "B", 10), Entry(5, "B", std::nullopt), Entry(6, "A", 7)},
                     false),
              "6:1 1:2 3:1 0:2 4:2 5:0 2:1");
}

TEST(RankByCategory, AccuracyBreaksTiesOnlyWhenAsked) {
    const std::vector<TCategoryEntry> entries = {Entry(0, "A", 10, 90.0), Entry(1, "A", 10, 95.0),
                                                 Entry(2, "A", 10, 95.04), Entry(3, "A", 12, 50.0),
                                                 Entry(4, "A", 10, std::nullopt)};
    EXPECT_EQ(Ranked(entries, false), "3:1 0:2 1:2 2:2 4:2");
    // 95.0 and 95.04 show as 95.0: they share a place.
    EXPECT_EQ(Ranked(entries, true), "3:1 1:2 2:2 0:4 4:5");
}

TEST_F(ContestFixture, CategoryStandingsTakeTotalsConfirmedAndAccuracyOfEveryLog) {
    WriteLog("Q1AA.CBR", {"START-OF-LOG: 3.0", "CALLSIGN: Q1AA", "CATEGORY-OPERATOR: SINGLE-OP"},
             {"3510 CW 2026-02-14 1200 Q1AA 599 001 Q2BB 599 001 0",
              "3520 CW 2026-02-14 1210 Q1AA 599 002 Q2BB 599 009 0"});
    WriteLog("Q2BB.CBR", {"START-OF-LOG: 3.0", "CALLSIGN: Q2BB", "CATEGORY-OPERATOR: SINGLE-OP"},
             {"3510 CW 2026-02-14 1200 Q2BB 599 001 Q1AA 599 001 0",
              "3520 CW 2026-02-14 1210 Q2BB 599 002 Q1AA 599 002 0"});
    WriteLog("Q3CC.CBR", {"START-OF-LOG: 3.0", "CALLSIGN: Q3CC", "CATEGORY-OPERATOR: MULTI-OP"}, {});
    ListLogs();
    const std::vector<TCategoryEntry> entries = CategoryStandings(contest, Judging(), true, nullptr);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Category, "MULTI-OP");
    EXPECT_EQ(entries[0].Place, 1);
    EXPECT_EQ(entries[0].AccuracyText, "-");
    EXPECT_EQ(entries[1].Category, "SINGLE-OP");
    EXPECT_EQ(contest.Logs[static_cast<size_t>(entries[1].Row)].Caption, "Q2BB.CBR");
    EXPECT_EQ(entries[1].Total, 2); // 2 points, 1 multiplier
    EXPECT_EQ(entries[1].Confirmed, 2);
    EXPECT_EQ(entries[1].AccuracyText, "100.0");
    EXPECT_EQ(entries[2].Total, 1);
    EXPECT_EQ(entries[2].Confirmed, 1);
    EXPECT_EQ(entries[2].AccuracyText, "50.0");
    EXPECT_EQ(entries[2].Place, 2);
}
