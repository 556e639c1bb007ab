// The desktop program's script set, the judging context of its commands, and the list and load steps.
#include "ui/desktop_judging.h"

#include "judge/judge.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "settings/platform.h"

namespace zelk::ui {
namespace {

// The message boxes installed at the moment a box is shown (the window's, or a test's recording ones),
// so that the script set, made once, follows a change of them.
class TInstalledMessages : public IMessages {
  public:
    void Info(const std::string& text, const std::string& caption) override {
        Messages().Info(text, caption);
    }
    void Error(const std::string& text, const std::string& caption) override {
        Messages().Error(text, caption);
    }
    bool Ask(const std::string& text) override { return Messages().Ask(text); }
    void Plain(const std::string& text) override { Messages().Plain(text); }
};

TInstalledMessages& InstalledMessages() {
    static TInstalledMessages messages;
    return messages;
}

std::string& FolderOverride() {
    static std::string folder;
    return folder;
}

TScriptFiles ScriptFiles() {
    if (FolderOverride().empty()) return TScriptFiles(Vars().Paths());
    return TScriptFiles(FolderOverride());
}

} // namespace

TZelkScript& Scripts() {
    static TZelkScript scripts(ScriptFiles(), InstalledMessages());
    return scripts;
}

void ResetScripts() {
    Scripts().Load(ScriptFiles());
}

void SetScriptFolder(const std::string& folder) {
    FolderOverride() = folder;
}

TJudging Judging() {
    return {Vars().Judging(), Scripts(), InstalledMessages()};
}

void ListLogs(TZelkContest& contest) {
    Vars().LoadContestSettings();
    contest.ListLogs(Vars().CurrentFolder, Vars().Reading());
    contest.MarkLogProblems();
}

void RebuildLogList(TZelkContest& contest, IProgress* progress) {
    Vars().LoadContestSettings();
    try {
        ListContest(contest, Vars().CurrentFolder, Vars().Judging(), progress);
    } catch (const TZelkCancelled&) {
        // A stopped count still leaves the folder listed, and so marked.
        contest.MarkLogProblems();
        throw;
    }
    contest.MarkLogProblems();
    if (contest.SelectInitialLog(Vars().QLastCall)) LoadSelectedLog(contest);
}

void LoadSelectedLog(TZelkContest& contest) {
    if (contest.SelectedLog < 0) return;
    // The log is remembered as soon as its file is found, even when reading it then fails.
    struct TRemember {
        TZelkContest& contest;
        ~TRemember() {
            if (!contest.LoadedName.empty()) Vars().QLastCall = contest.LoadedName;
        }
    };
    {
        TRemember remember{contest};
        contest.LoadLog(contest.SelectedLogPath());
    }
    Vars().LogEdited = false;
    if (Vars().AutoCalcQSO) CheckAllRecords(contest, Judging());
}

} // namespace zelk::ui
