// The desktop program's edge of the judging core: its one script set (a documented single instance, like
// the settings object Vars()), the judging context that every command builds from the settings object,
// and the listing and loading steps that also keep the window's own settings (QLastCall, LogEdited,
// AutoCalcQSO).
#pragma once

#include "judge/judging.h"

#include <string>

namespace zelk {
class IProgress;
class TZelkContest;
class TZelkScript;
} // namespace zelk

namespace zelk::ui {

// The desktop program's script set: the scripts of the program's script folders (or of the folder given
// to SetScriptFolder), with errors and ShowMessage in the installed message boxes. Made on first use.
TZelkScript& Scripts();
// Reads the six scripts again from the script folder, as a restart of the program would.
void ResetScripts();
// Where Scripts() reads from from the next ResetScripts on; empty means the program's script folders.
void SetScriptFolder(const std::string& folder);

// The judging context of a command: the judging keys of Vars(), Scripts() and the installed message boxes.
TJudging Judging();

// Brings the contest folder's own settings into force and lists the folder by the files mask, the logs
// with problems marked.
void ListLogs(TZelkContest& contest);
// Lists the contest folder with its own settings, counts the stations without a log while
// NoFileIncludeResults is on (one progress step per log), marks the logs with problems, selects the log
// loaded last (QLastCall) or the first one, and loads it at once.
void RebuildLogList(TZelkContest& contest, IProgress* progress);
// Loads the selected log (nothing without a selection), remembers it as QLastCall, clears LogEdited, and
// checks it when AutoCalcQSO is on.
void LoadSelectedLog(TZelkContest& contest);

} // namespace zelk::ui
