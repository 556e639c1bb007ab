// The data the report dialog's reports need before they are built.
#include "reports/report_data.h"

#include "judge/judge.h"
#include "logs/contest.h"
#include "settings/global_vars.h"

namespace zelk {

void PrepareReportData(TZelkContest& contest, int kind, bool recalculate, const TReportProgress& progress,
                       TNoFileRows& noFile) {
    switch (kind) {
    case rkTournament:
        RecalcAndSortByScore(contest, recalculate, progress.ContestWide);
        break;
    case rkNoFile:
        CountNoFileMentions(contest, noFile, progress.NoFile);
        break;
    default:
        break;
    }
}

} // namespace zelk
