// The core's judging commands as the window calls them. While the judging library is not part of the
// build, listing and loading still work and the checking commands report that they are missing.
#pragma once

namespace zelk {
class TZelkContest;
class IProgress;
} // namespace zelk

namespace zelk::ui {

#ifdef ZELK_HAVE_JUDGE
inline constexpr bool kJudgeAvailable = true;
#else
inline constexpr bool kJudgeAvailable = false;
#endif

void RebuildLogList(TZelkContest& contest, IProgress* progress);
void LoadSelectedLog(TZelkContest& contest);
void CheckAllRecords(TZelkContest& contest);
void CheckAllFiles(TZelkContest& contest, IProgress* progress);

} // namespace zelk::ui
