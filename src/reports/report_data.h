// The data step of the report dialog, run before a report is previewed or designed: the standings score
// (when asked) and sort the log list, the absent-log report counts the stations without a log, and the
// list of logs received takes the log list as it stands.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zelk {

class IProgress;
class TZelkContest;
struct TJudging;

// Stations without a log with the number of logs that mention them, in alphabetical order.
using TNoFileRows = std::vector<std::pair<std::string, int>>;

struct TReportProgress {
    IProgress* ContestWide = nullptr; // the contest-wide scoring of the standings
    IProgress* NoFile = nullptr;      // the count of the stations without a log
};

// Prepares the data of report `kind`: for the standings RecalcAndSortByScore with `recalculate`; for the
// absent logs the mention count into `noFile` (emptied first; no progress with an empty log list); the
// other kinds need nothing.
void PrepareReportData(TZelkContest& contest, const TJudging& judging, int kind, bool recalculate,
                       const TReportProgress& progress, TNoFileRows& noFile);

} // namespace zelk
