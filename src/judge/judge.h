// The judging commands on the open contest: listing it, checking the selected log, checking every log and
// the stations without a log. Settings and scripts come in with each command; each command first lets
// the contest model look at the folder again, so a log changed since the last command is read anew. The
// verdicts go into the rows, the descriptor and the status panels of the contest.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zelk {

class TZelkContest;
class IProgress;
struct TJudging;
struct TZelkJudgingSettings;

// Lists `folder` by the files mask and, while NoFileIncludeResults is on, counts the stations without a
// log (one progress step per log); while it is off they are dropped, so that a setting turned off takes
// effect at once. Selecting and loading a log are the caller's next steps.
void ListContest(TZelkContest& contest, const std::string& folder, const TZelkJudgingSettings& settings,
                 IProgress* progress);

// "Проверить все записи": judges every QSO row of the selected log and writes the Score and Comment
// cells, the row marks, the descriptor's results, the status panels and the log row's result cells.
// Without a selection it does nothing.
void CheckAllRecords(TZelkContest& contest, const TJudging& judging);

// "Проверить все файлы": scores every listed log and writes its row's result cells. The first log whose
// judging fails ends the pass; with `failures` given the pass goes on instead, such a log's row shows "-"
// and its row index and the error's message are added to `failures`.
void CheckAllFiles(TZelkContest& contest, const TJudging& judging, IProgress* progress,
                   std::vector<std::pair<int, std::string>>* failures = nullptr);

// Runs CheckAllFiles when `recalculate`, then sorts the log list by judged total.
void RecalcAndSortByScore(TZelkContest& contest, const TJudging& judging, bool recalculate,
                          IProgress* progress);

// The stations without a log that at least NoFileMinMentionCount logs mention, with their counts.
void CountNoFileMentions(TZelkContest& contest, const TZelkJudgingSettings& settings,
                         std::vector<std::pair<std::string, int>>& out, IProgress* progress);

} // namespace zelk
