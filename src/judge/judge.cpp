// The judging commands on the open contest: the check of the selected log, the contest-wide run, the
// stations without a log, and the rebuild and load steps around them.
#include "judge/judge.h"

#include "judge/cross_check.h"
#include "judge/progress_guard.h"
#include "judge/scoring.h"
#include "logs/cabrillo_file.h"
#include "logs/contest.h"
#include "logs/file_io.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/platform.h"

#include <algorithm>
#include <set>

namespace zelk {

namespace {

bool g_plainRuns = false;

} // namespace

void SetPlainCheckRuns(bool plain) {
    g_plainRuns = plain;
}

void ListContest(TZelkContest& contest, const std::string& folder, const TZelkJudgingSettings& settings,
                 IProgress* progress) {
    contest.ListLogs(folder, settings.FilesMask);
    contest.NoFileCalls.clear();
    if (settings.NoFileIncludeResults && !contest.Logs.empty())
        CountNoFileMentions(contest, settings, contest.NoFileCalls, progress);
}

void CheckAllRecords(TZelkContest& contest, const TJudging& judging) {
    if (contest.SelectedLog < 0) return;
    judging.Scripts.ResetFailed();
    const std::string path = contest.SelectedLogPath();
    const std::string ownCall = OwnerCallSign(path);
    TCriteria criteria;
    int score = 0;
    if (ownCall.empty()) {
        ReportMissingCallSign(judging.Messages);
    } else {
        TZelkCheckRun run(contest.Folder(), judging, &contest.NoFileCalls);
        run.SetCaching(!g_plainRuns);
        TQSORecord record;
        for (size_t i = 0; i < contest.QSOs.size(); ++i) {
            TListRow& row = contest.QSOs[i];
            record.LoadFromRow(&row);
            const TJudgement j = run.JudgeRecord(path, ownCall, record, static_cast<int>(i));
            if (j.Rejected) {
                row.ImageIndex = imgQSORejected;
                row.SetCell(8, j.Comment);
                row.SetCell(7, "-");
            } else {
                criteria.Add(Criterion(judging.Scripts, record));
                row.ImageIndex = imgQSOAccepted;
                row.SetCell(8, j.Comment);
                row.SetCell(7, std::to_string(j.Points));
            }
            score += j.Points;
        }
    }
    contest.Current.SetScore(score);
    contest.Current.SetMulti(criteria.Count());
    const int total = GetTotal(judging.Scripts, contest.Current);
    contest.Status[spResultLabel] = " SCORE/MULTI/CLAIMED";
    contest.Status[spScore] = std::to_string(score);
    contest.Status[spMulti] = std::to_string(criteria.Count());
    contest.Status[spTotal] = std::to_string(total);
    TLogRow& row = contest.Logs[static_cast<size_t>(contest.SelectedLog)];
    row.SetCell(0, std::to_string(score));
    row.SetCell(1, std::to_string(criteria.Count()));
    row.SetCell(2, std::to_string(total));
}

void CheckAllFiles(TZelkContest& contest, const TJudging& judging, IProgress* progress) {
    const int count = static_cast<int>(contest.Logs.size());
    if (count == 0) return;
    TProgressGuard guard(progress, count);
    judging.Scripts.ResetFailed();
    TZelkCheckRun run(contest.Folder(), judging, &contest.NoFileCalls);
    run.SetCaching(!g_plainRuns);
    for (int i = 0; i < count; ++i) {
        const TLogScore s = ScoreLog(contest.LogPathAt(i), run, judging.Scripts);
        TLogRow& row = contest.Logs[static_cast<size_t>(i)];
        row.SetCell(0, std::to_string(s.Score));
        row.SetCell(1, std::to_string(s.Multi));
        row.SetCell(2, std::to_string(s.Total));
        guard.Step(i);
    }
}

void RecalcAndSortByScore(TZelkContest& contest, const TJudging& judging, bool recalculate,
                          IProgress* progress) {
    if (recalculate) CheckAllFiles(contest, judging, progress);
    contest.SortLogs(3);
}

void CountNoFileMentions(const TZelkContest& contest, const TZelkJudgingSettings& settings,
                         std::vector<std::pair<std::string, int>>& out, IProgress* progress) {
    out.clear();
    if (contest.Logs.empty()) return;
    TProgressGuard guard(progress, static_cast<int>(contest.Logs.size()));
    const TFolderIndex index(contest.Folder());
    std::vector<std::string> mentions;
    std::string raw;
    TLogLine line;
    TQSORecord record;
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        const std::string path = contest.LogPathAt(static_cast<int>(i));
        if (FileExists(path)) {
            std::set<std::string, TCaseInsensitiveLess> calls;
            TFileLineReader reader(path);
            while (reader.Next(raw)) {
                ClassifyLogLine(raw, line);
                if (line.Kind != TLineKind::Contact) continue;
                record.ParseQSOLine(line.Text);
                if (!index.FileExists(CorrespondentFileName(record.Call, settings.FilesMask)))
                    calls.insert(record.Call);
            }
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
