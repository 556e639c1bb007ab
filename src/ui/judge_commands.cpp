// Forwarding of the window's judging commands to the core.
#include "ui/judge_commands.h"

#include "logs/contest.h"
#include "logs/error.h"
#include "settings/global_vars.h"

#ifdef ZELK_HAVE_JUDGE
#include "judge/judge.h"
#endif

namespace zelk::ui {

#ifdef ZELK_HAVE_JUDGE

void RebuildLogList(TZelkContest& contest, IProgress* progress) {
    zelk::RebuildLogList(contest, progress);
}

void LoadSelectedLog(TZelkContest& contest) {
    zelk::LoadSelectedLog(contest);
}

void CheckAllRecords(TZelkContest& contest) {
    zelk::CheckAllRecords(contest);
}

void CheckAllFiles(TZelkContest& contest, IProgress* progress) {
    zelk::CheckAllFiles(contest, progress);
}

#else

void RebuildLogList(TZelkContest& contest, IProgress*) {
    contest.ListLogs();
    if (contest.SelectInitialLog()) LoadSelectedLog(contest);
}

void LoadSelectedLog(TZelkContest& contest) {
    if (contest.SelectedLog < 0) return;
    contest.LoadLog(contest.SelectedLogPath());
    Vars().LogEdited = false;
}

void CheckAllRecords(TZelkContest&) {
    throw TZelkError("The judging library is not part of this build");
}

void CheckAllFiles(TZelkContest&, IProgress*) {
    throw TZelkError("The judging library is not part of this build");
}

#endif

} // namespace zelk::ui
