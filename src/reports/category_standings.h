// The standings by category: a log's category from the header tags the setting CategoryTags names, and
// one table per category with the places in it, the confirmed contacts and the accuracy beside the
// judged totals; equal totals may be told apart by accuracy (the setting TieBreakByAccuracy). Shared by
// the command line and the printed standings by category.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelk {

class IProgress;
class TZelkContest;
struct TJudging;
struct TLogContent;

// The values of the tags `categoryTags` names (blank-separated, with or without their colon, letter case
// ignored), in that order, upper-cased and joined by blanks; a missing or empty tag adds nothing. The
// Cabrillo 2.0 tag CATEGORY: is a tag of its own, not made of the others.
std::string LogCategory(const TLogContent& content, const std::string& categoryTags);

struct TCategoryEntry {
    int Row = -1; // the log-list row
    std::string Category;
    std::optional<int> Total; // the judged total; none for a log that cannot be judged
    int Confirmed = 0;
    std::optional<double> Accuracy;
    std::string AccuracyText; // "97.5" or "-"
    int Place = 0;            // within the category; 0 without a total
};

// Orders `entries` by category (alphabetically, the empty category last), then by total, highest first,
// then by accuracy when `tieBreakByAccuracy`, keeping the given order among equals; logs without a total
// come last in their category. Places count within each category: equal totals (and equal accuracy with
// the tie-break) share a place and the places they take are skipped.
void RankByCategory(std::vector<TCategoryEntry>& entries, bool tieBreakByAccuracy);

// The entries of every listed log as they stand after the contest-wide scoring (run here when
// `recalculate`; the log list is then sorted by total) and the analysis of every log: category, total
// from the ClaimedScore cell, confirmed contacts and accuracy; ranked. One progress step per log of each
// run.
std::vector<TCategoryEntry> CategoryStandings(TZelkContest& contest, const TJudging& judging,
                                              bool recalculate, IProgress* progress);

} // namespace zelk
