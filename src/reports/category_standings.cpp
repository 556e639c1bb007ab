// The standings by category.
#include "reports/category_standings.h"

#include "judge/analysis.h"
#include "judge/judge.h"
#include "judge/judging.h"
#include "judge/progress_guard.h"
#include "logs/contest.h"
#include "logs/log_content.h"
#include "logs/text.h"
#include "reports/standings.h"

#include <algorithm>
#include <cmath>

namespace zelk {

namespace {

std::string TagName(const std::string& word) {
    std::string tag = UpperCase(Trim(word));
    if (!tag.empty() && tag.back() != ':') tag += ':';
    return tag;
}

// Accuracy in tenths of a percent, as the standings show it; -1 without one.
long AccuracyKey(const TCategoryEntry& e) {
    return e.Accuracy ? std::lround(*e.Accuracy * 10) : -1;
}

// Equal for the places: the same total and, with the tie-break, the same accuracy as shown.
bool SameRank(const TCategoryEntry& a, const TCategoryEntry& b, bool byAccuracy) {
    return a.Total == b.Total && (!byAccuracy || AccuracyKey(a) == AccuracyKey(b));
}

} // namespace

std::string LogCategory(const TLogContent& content, const std::string& categoryTags) {
    std::string category;
    for (const std::string& word : SplitString(CollapseSpaces(Trim(categoryTags)), ' ')) {
        const std::string tag = TagName(word);
        if (tag.empty()) continue;
        for (const TLogTag& line : content.Tags) {
            if (line.Tag != tag) continue;
            const std::string value = UpperCase(CollapseSpaces(Trim(line.Value)));
            if (value.empty()) continue;
            category += (category.empty() ? "" : " ") + value;
            break;
        }
    }
    return category;
}

void RankByCategory(std::vector<TCategoryEntry>& entries, bool tieBreakByAccuracy) {
    std::stable_sort(entries.begin(), entries.end(), [&](const TCategoryEntry& a, const TCategoryEntry& b) {
        if (a.Category != b.Category) {
            if (a.Category.empty() || b.Category.empty()) return b.Category.empty();
            return a.Category < b.Category;
        }
        if (a.Total.has_value() != b.Total.has_value()) return a.Total.has_value();
        if (a.Total != b.Total) return *a.Total > *b.Total;
        return tieBreakByAccuracy && AccuracyKey(a) > AccuracyKey(b);
    });
    for (size_t i = 0, first = 0; i < entries.size(); ++i) {
        if (i == 0 || entries[i].Category != entries[i - 1].Category) first = i;
        TCategoryEntry& e = entries[i];
        if (!e.Total) {
            e.Place = 0;
        } else if (i > first && SameRank(e, entries[i - 1], tieBreakByAccuracy)) {
            e.Place = entries[i - 1].Place;
        } else {
            e.Place = static_cast<int>(i - first) + 1;
        }
    }
}

std::vector<TCategoryEntry> CategoryStandings(TZelkContest& contest, const TJudging& judging,
                                              bool recalculate, IProgress* progress) {
    RecalcAndSortByScore(contest, judging, recalculate, progress);
    std::vector<TCategoryEntry> entries;
    TContestAnalyser analyser(contest.Model, judging, &contest.NoFileCalls);
    TProgressGuard guard(progress, static_cast<int>(contest.Logs.size()));
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        TCategoryEntry e;
        e.Row = static_cast<int>(i);
        e.Total = StandingsTotal(contest.Logs[i]);
        e.AccuracyText = "-";
        if (const TContestLog* log = contest.LogAt(e.Row); log && log->Exists()) {
            e.Category = LogCategory(log->Content(), judging.Settings.CategoryTags);
            const TLogAnalysis analysis = analyser.Analyse(*log, log->DiskName());
            e.Confirmed = analysis.Confirmed;
            e.Accuracy = analysis.Accuracy();
            e.AccuracyText = AccuracyText(analysis);
        }
        entries.push_back(std::move(e));
        guard.Step(static_cast<int>(i));
    }
    RankByCategory(entries, judging.Settings.TieBreakByAccuracy);
    return entries;
}

} // namespace zelk
