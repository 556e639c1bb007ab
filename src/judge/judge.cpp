// The judging commands on the open contest: the check of the selected log, the contest-wide run and the
// stations without a log, each presenting its verdicts in the contest's rows.
#include "judge/judge.h"

#include "judge/contest_run.h"
#include "judge/cross_check.h"
#include "judge/judging.h"
#include "judge/key_plan.h"
#include "judge/progress_guard.h"
#include "judge/scoring.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/platform.h"

#include <algorithm>
#include <set>

namespace zelk {

namespace {

void ShowRecordVerdicts(TZelkContest& contest, const TLogVerdict& verdict) {
    for (size_t i = 0; i < verdict.Records.size(); ++i) {
        const TRecordVerdict& v = verdict.Records[i];
        TListRow& row = contest.QSOs[i];
        row.ImageIndex = v.Rejected ? imgQSORejected : imgQSOAccepted;
        row.SetCell(8, v.Comment);
        row.SetCell(7, v.Rejected ? "-" : std::to_string(v.Points));
    }
}

void ShowLogResults(TLogRow& row, int score, int multi, int total) {
    row.SetCell(0, std::to_string(score));
    row.SetCell(1, std::to_string(multi));
    row.SetCell(2, std::to_string(total));
}

// The plan of the judging path: the quiet plan unless the full scan is asked for or it skips nothing.
std::unique_ptr<TKeyPlan> PlanOf(const TJudging& judging, const std::vector<const TContestLog*>& logs = {}) {
    if (judging.Path == TJudgingPath::FullScan) return nullptr;
    std::unique_ptr<TKeyPlan> plan = TKeyPlan::For(judging.Scripts, logs);
    return plan->Plain() ? nullptr : std::move(plan);
}

} // namespace

void ListContest(TZelkContest& contest, const std::string& folder, const TZelkJudgingSettings& settings,
                 IProgress* progress) {
    contest.ListLogs(folder, settings.Reading());
    contest.NoFileCalls.clear();
    if (settings.NoFileIncludeResults && !contest.Logs.empty())
        CountNoFileMentions(contest, settings, contest.NoFileCalls, progress);
}

void CheckAllRecords(TZelkContest& contest, const TJudging& judging) {
    if (contest.SelectedLog < 0) return;
    judging.Scripts.ResetFailed();
    contest.Model.Refresh();
    std::vector<TQSORecord> records(contest.QSOs.size());
    for (size_t i = 0; i < records.size(); ++i)
        records[i] = contest.QSORecord(i);
    const std::unique_ptr<TKeyPlan> plan = PlanOf(judging);
    TLogJudge judge(contest.Model, judging, &contest.NoFileCalls, plan.get());
    TLogVerdict verdict;
    try {
        CheckLogRecords(judge, contest.LogAt(contest.SelectedLog), records, verdict);
    } catch (...) {
        // The rows judged so far keep their new cells; a failing total leaves the results in the
        // descriptor but not on show.
        ShowRecordVerdicts(contest, verdict);
        if (verdict.Judged) {
            contest.Current.SetScore(verdict.Score);
            contest.Current.SetMulti(verdict.Multi);
        }
        throw;
    }
    ShowRecordVerdicts(contest, verdict);
    contest.Current.SetScore(verdict.Score);
    contest.Current.SetMulti(verdict.Multi);
    contest.Current.CachedTotal = verdict.Total;
    contest.Current.TotalKnown = true;
    contest.Status[spResultLabel] = " SCORE/MULTI/CLAIMED";
    contest.Status[spScore] = std::to_string(verdict.Score);
    contest.Status[spMulti] = std::to_string(verdict.Multi);
    contest.Status[spTotal] = std::to_string(verdict.Total);
    ShowLogResults(contest.Logs[static_cast<size_t>(contest.SelectedLog)], verdict.Score, verdict.Multi,
                   verdict.Total);
}

void CheckAllFiles(TZelkContest& contest, const TJudging& judging, IProgress* progress,
                   std::vector<std::pair<int, std::string>>* failures) {
    const int count = static_cast<int>(contest.Logs.size());
    if (count == 0) return;
    TProgressGuard guard(progress, count);
    judging.Scripts.ResetFailed();
    contest.Model.Refresh();
    std::vector<const TContestLog*> logs(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        logs[static_cast<size_t>(i)] = contest.LogAt(i);
    const std::unique_ptr<TKeyPlan> plan = PlanOf(judging, logs);
    const TContestRun run{contest.Model, judging, &contest.NoFileCalls, plan.get()};
    const int workers = judging.Path == TJudgingPath::FullScan ? 1 : JudgingWorkers();
    const auto failed = [&contest, failures](int i, const TZelkError& e) {
        if (!failures) return false;
        contest.Logs[static_cast<size_t>(i)].Cells = {"-", "-", "-"};
        failures->emplace_back(i, e.what());
        return true;
    };
    ScoreLogs(
        run, logs, workers, guard,
        [&contest](int i, const TLogVerdict& verdict) {
            ShowLogResults(contest.Logs[static_cast<size_t>(i)], verdict.Score, verdict.Multi, verdict.Total);
        },
        failed);
}

void RecalcAndSortByScore(TZelkContest& contest, const TJudging& judging, bool recalculate,
                          IProgress* progress) {
    if (recalculate) CheckAllFiles(contest, judging, progress);
    contest.SortLogs(3);
}

void CountNoFileMentions(TZelkContest& contest, const TZelkJudgingSettings& settings,
                         std::vector<std::pair<std::string, int>>& out, IProgress* progress) {
    out.clear();
    if (contest.Logs.empty()) return;
    TProgressGuard guard(progress, static_cast<int>(contest.Logs.size()));
    contest.Model.Refresh();
    std::vector<std::string> mentions;
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        const TContestLog* log = contest.LogAt(static_cast<int>(i));
        if (log && log->Exists()) {
            std::set<std::string, TCaseInsensitiveLess> calls;
            for (const TQSORecord& record : log->Records())
                if (!contest.Model.FindLog(record.Call)) calls.insert(record.Call);
            mentions.insert(mentions.end(), calls.begin(), calls.end());
        }
        guard.Step(static_cast<int>(i));
    }
    std::stable_sort(mentions.begin(), mentions.end(), TCaseInsensitiveLess());
    std::vector<std::pair<std::string, int>> result;
    for (size_t i = 0; i < mentions.size();) {
        size_t j = i;
        while (j < mentions.size() && SameText(mentions[j], mentions[i]))
            ++j;
        const int count = static_cast<int>(j - i);
        if (count >= settings.NoFileMinMentionCount) result.emplace_back(mentions[i], count);
        i = j;
    }
    out = std::move(result);
}

} // namespace zelk
