// The judging commands on the open contest: checking the selected log, checking every log, the
// stations without a log, and the rebuild and load steps that run them.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zelk {

class TZelkContest;
class IProgress;

// Lists the contest folder (with its own settings), rebuilds the stations without a log while
// NoFileIncludeResults is on (one progress step per log), selects the log loaded last or the first
// one, and loads it at once.
void RebuildLogList(TZelkContest& contest, IProgress* progress);

// Loads the selected log (nothing without a selection), clears LogEdited, and checks it when
// AutoCalcQSO is on.
void LoadSelectedLog(TZelkContest& contest);

// "Проверить все записи": judges every QSO row of the selected log and writes the Score and Comment
// cells, the row marks, the descriptor's results, the status panels and the log row's result cells.
// Without a selection it does nothing.
void CheckAllRecords(TZelkContest& contest);

// "Проверить все файлы": scores every listed log and writes its row's result cells.
void CheckAllFiles(TZelkContest& contest, IProgress* progress);

// Runs CheckAllFiles when `recalculate`, then sorts the log list by judged total.
void RecalcAndSortByScore(TZelkContest& contest, bool recalculate, IProgress* progress);

// The stations without a log that at least NoFileMinMentionCount logs mention, with their counts.
void CountNoFileMentions(const TZelkContest& contest, std::vector<std::pair<std::string, int>>& out,
                         IProgress* progress);

// With `plain` on, the checks read a correspondent's log anew for every contact instead of once per
// run: the baseline the benchmarks compare against. Off by default.
void SetPlainCheckRuns(bool plain);

} // namespace zelk
