// One command-line run over a contest folder: its settings object (the program settings file next to
// the executable, the contest folder's own settings file, "--set KEY=VALUE" over both, an in-memory
// per-user store), its judging script set and its message boxes on standard error; and a progress bar
// on a terminal.
#pragma once

#include "judge/judging.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "settings/platform.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelk::cli {

// The options --scripts DIR and --set KEY=VALUE (repeatable).
struct TContestOptions {
    std::optional<std::string> Scripts; // UTF-8
    std::string Overrides;              // the --set values as ini text
};

// Takes the contest options out of `args`.
TContestOptions TakeContestOptions(std::vector<std::string>& args);

// The message boxes of a run on standard error; while a log is judged (Log not empty) each box begins
// with its file name, so that a message about a log always names it. Script output (Plain) is left as
// the script wrote it.
class TLogMessages : public StderrMessages {
  public:
    std::string Log; // the file name of the log being judged, or empty
    void Info(const std::string& text, const std::string& caption) override;
    void Error(const std::string& text, const std::string& caption) override;
    bool Ask(const std::string& text) override;

  private:
    std::string Named(const std::string& text) const;
};

// Names the log `fileName` in the boxes of `messages` for as long as it lives.
class TLogScope {
  public:
    TLogScope(TLogMessages& messages, std::string fileName) : messages_(messages) {
        messages_.Log = std::move(fileName);
    }
    ~TLogScope() { messages_.Log.clear(); }
    TLogScope(const TLogScope&) = delete;
    TLogScope& operator=(const TLogScope&) = delete;

  private:
    TLogMessages& messages_;
};

class TCliRun {
  public:
    // Loads the program settings file, makes `folderUtf8` the contest folder and reads its own settings
    // file with the --set values over it (they stay on top whenever the contest file is read again),
    // and reads the scripts from --scripts or else the program's script folder.
    TCliRun(const std::string& folderUtf8, const TContestOptions& options);
    TCliRun(const TCliRun&) = delete;
    TCliRun& operator=(const TCliRun&) = delete;

    TZelkGlobalVars Settings;
    // Script messages, script errors and the judging's error boxes; questions are answered No.
    TLogMessages Messages;

    // The script set, read on first use (commands that judge nothing read no script).
    TZelkScript& Scripts();
    TJudging Judging() { return {Settings.Judging(), Scripts(), Messages}; }

  private:
    MemoryUserStore store_;
    TScriptFiles scriptFiles_;
    std::unique_ptr<TZelkScript> scripts_;
};

// The name of an icon role of the list rows ("log", "tag", ...).
const char* ImageRole(int imageIndex);

// A progress bar on standard error when it is a terminal, else nothing (nullptr).
std::unique_ptr<IProgress> TerminalProgress(const std::string& label);

} // namespace zelk::cli
