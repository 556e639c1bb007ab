// The data the report dialog's reports need before they are built.
#include "reports/report_data.h"

#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "settings/report_kind.h"

namespace zelk {

void PrepareReportData(TZelkContest& contest, const TJudging& judging, int kind, bool recalculate,
                       const TReportProgress& progress, TNoFileRows& noFile) {
    switch (kind) {
    case rkTournament:
        RecalcAndSortByScore(contest, judging, recalculate, progress.ContestWide);
        break;
    case rkNoFile:
        CountNoFileMentions(contest, judging.Settings, noFile, progress.NoFile);
        break;
    default:
        break;
    }
}

} // namespace zelk
