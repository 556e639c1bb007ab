// The rule sets of examples/rules judged on their own example contests: every record's verdict and the
// standings, worked out by hand from the logs below.
#include "judge/judge.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace zelk;
using namespace zelk::test;

namespace {

using Lines = std::vector<std::string>;

class ExampleRulesTest : public ContestFixture {
  protected:
    // The example's contest folder (logs and zelk.ini) and its scripts in the test's folders.
    void UseExample(const std::string& name) {
        namespace fs = std::filesystem;
        const fs::path root = fs::path(ZELK_SOURCE_DIR) / "examples" / "rules" / name;
        for (const auto& entry : fs::directory_iterator(root / "contest"))
            fs::copy_file(entry.path(), PathFromText(folder.File(entry.path().filename().string())));
        for (const auto& entry : fs::directory_iterator(root / "scripts"))
            fs::copy_file(entry.path(), PathFromText(scripts.File(entry.path().filename().string())));
        Scripts().Load(scripts.Text());
    }
    // The log check of one log: "score|comment" a record.
    Lines Check(const std::string& log) {
        Open(log);
        CheckAllRecords(contest, Judging());
        Lines rows;
        for (const auto& row : contest.QSOs)
            rows.push_back(row.Cell(7) + "|" + ToUtf8(row.Cell(8)));
        return rows;
    }
    // The contest-wide run sorted by total: "FILE score/multi/total" a log, logs of equal totals by name.
    Lines Standings() {
        ListLogs();
        RecalcAndSortByScore(contest, Judging(), true, nullptr);
        std::vector<std::pair<int, std::string>> rows;
        for (const auto& row : contest.Logs)
            rows.emplace_back(std::stoi(row.Cell(2)),
                              row.Caption + " " + row.Cell(0) + "/" + row.Cell(1) + "/" + row.Cell(2));
        for (size_t i = 1; i < rows.size(); ++i)
            EXPECT_GE(rows[i - 1].first, rows[i].first) << rows[i].second;
        std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        Lines lines;
        for (const auto& row : rows)
            lines.push_back(row.second);
        return lines;
    }
};

} // namespace

// Serial + previously received serial, 2 points a contact, tour 12:00-12:59, repeats on a band within 30
// minutes of a credited contact, confirmation within MaxMinutesDifference (3) minutes, no multipliers.
TEST_F(ExampleRulesTest, SerialAndPreviousSerial) {
    UseExample("serial");
    // Q2CSJ: 40 m Q8ORC, Q9SD, Q7HZ, then 80 m Q8ORC (12:54) and Q9SD, all as their logs sent them. 13:01
    // Q8ORC on 80 m is 7 minutes after the credited 12:54: a repeat. 13:02 Q7HZ on 80 m repeats nothing
    // (Q7HZ was worked on 40 m) but lies after the tour. 5 contacts * 2 = 10.
    EXPECT_EQ(Check("Q2CSJ.CBR"),
              (Lines{"2|", "2|", "2|", "2|", "2|", "-|повтор; ", "-|вне времени тура; "}));
    // Q7HZ: 12:28 Q9SD on 80 m is 4 minutes after the credited 12:24: a repeat; 13:02 and 13:04 after
    // the tour. 4 * 2 = 8.
    EXPECT_EQ(Check("Q7HZ.cbr"),
              (Lines{"2|", "-|повтор; ", "2|", "2|", "2|", "-|вне времени тура; ", "-|вне времени тура; "}));
    // Q8ORC: 13:01 Q2CSJ on 80 m repeats the credited 12:54; 13:04 after the tour. 4 * 2 = 8.
    EXPECT_EQ(Check("Q8ORC.CBR"), (Lines{"2|", "2|", "2|", "2|", "-|повтор; ", "-|вне времени тура; "}));
    // Q9SD: 12:24 copied 004 000 where Q7HZ sent 001 000 (the only Q7HZ record within 3 minutes); 12:28
    // works Q7HZ again on 80 m, but the earlier contact was not credited, so it is no repeat and counts.
    // 5 * 2 = 10.
    EXPECT_EQ(Check("Q9SD.CBR"),
              (Lines{"-|принято 004 000, передано 001 000; ", "2|", "2|", "2|", "2|", "2|"}));
    EXPECT_EQ(Standings(),
              (Lines{"Q2CSJ.CBR 10/0/10", "Q9SD.CBR 10/0/10", "Q7HZ.CBR 8/0/8", "Q8ORC.CBR 8/0/8"}));
}

// RST + serial + region, 80 m 2 points and 40 m 1, multipliers = regions per band, one contact a band and
// mode with each station. Regions: Q1EFK SP, Q7JXR SP, Q5DD KR, Q2JP MO, Q6UW (no log) NW.
TEST_F(ExampleRulesTest, RstAndRegion) {
    UseExample("region");
    // Q1EFK: 40 m Q5DD (KR), Q7JXR (SP); 80 m Q7JXR (SP), Q5DD (KR). 1+1+2+2 = 6 points, multipliers
    // 40 KR, 40 SP, 80 SP, 80 KR: 6 * 4 = 24.
    EXPECT_EQ(Check("Q1EFK.cbr"), (Lines{"1|", "1|", "2|", "2|"}));
    // Q2JP: 40 m Q7JXR (SP) and Q5DD (KR): 2 * 2 = 4.
    EXPECT_EQ(Check("Q2JP.cbr"), (Lines{"1|", "1|"}));
    // Q5DD: 40 m Q1EFK (SP); Q7JXR copied 001 where it sent 002; Q2JP (MO); 80 m Q1EFK (SP), Q7JXR (SP)
    // at 12:40 and again at 12:44 (a repeat); Q6UW sent no log. 1+1+2+2 = 6, multipliers 40 SP, 40 MO,
    // 80 SP: 6 * 3 = 18.
    EXPECT_EQ(Check("Q5DD.CBR"),
              (Lines{"1|", "-|ошибка приёма; ", "1|", "2|", "2|", "-|повтор; ", "-|нет файла; "}));
    // Q7JXR: 40 m Q1EFK (SP), Q5DD (KR), Q2JP (MO); 80 m Q1EFK (SP), Q5DD (KR) and Q5DD again (a
    // repeat). 1+1+1+2+2 = 7, multipliers 40 SP, 40 KR, 40 MO, 80 SP, 80 KR: 7 * 5 = 35.
    EXPECT_EQ(Check("Q7JXR.CBR"), (Lines{"1|", "1|", "1|", "2|", "2|", "-|повтор; "}));
    EXPECT_EQ(Standings(),
              (Lines{"Q7JXR.CBR 7/5/35", "Q1EFK.CBR 6/4/24", "Q5DD.CBR 6/3/18", "Q2JP.CBR 2/2/4"}));
}
