// Settings, scripts, messages and progress for the command-line commands that work on a contest folder.
#include "cli/contest_setup.h"

#include "cli/command.h"
#include "logs/list_rows.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"

#include <iostream>
#include <optional>
#include <unistd.h>

namespace zelk::cli {

namespace {

// A one-line bar on a terminal: "label [#####     ] 12/40".
class TerminalBar : public IProgress {
  public:
    explicit TerminalBar(std::string label) : label_(std::move(label)) {}
    void Start(int count) override {
        count_ = count;
        Draw(0);
    }
    void Step(int position) override { Draw(position + 1); }
    void Finish() override { std::cerr << "\r\x1b[K" << std::flush; }

  private:
    void Draw(int done) {
        const int width = 30;
        const int filled = count_ > 0 ? done * width / count_ : width;
        std::cerr << "\r" << label_ << " [" << std::string(static_cast<size_t>(filled), '#')
                  << std::string(static_cast<size_t>(width - filled), ' ') << "] " << done << "/" << count_
                  << std::flush;
    }
    std::string label_;
    int count_ = 0;
};

std::optional<std::string> g_scripts;
std::string g_overrides;

} // namespace

void TakeContestOptions(std::vector<std::string>& args) {
    g_scripts = TakeOption(args, "scripts");
    g_overrides = "[Settings]\r\n";
    for (const auto& s : TakeOptions(args, "set")) {
        if (s.find('=') == std::string::npos) throw UsageError{"--set expects KEY=VALUE, not " + s};
        g_overrides += FromUtf8(s) + "\r\n";
    }
}

void OpenContestSettings(const std::string& folderUtf8) {
    static MemoryUserStore store;
    ResetVars(TZelkGlobalVars());
    Vars().SetUserStore(&store);
    Vars().ReadProgramFile();
    Vars().CurrentFolder = FromUtf8(folderUtf8);
    Vars().SetOverrides(g_overrides);
    Vars().LoadContestSettings();
    SetScriptFolder(g_scripts ? FromUtf8(*g_scripts) : std::string());
    ResetScripts();
}

const char* ImageRole(int imageIndex) {
    switch (imageIndex) {
    case imgLog:
        return "log";
    case imgTag:
        return "tag";
    case imgBadTag:
        return "error";
    case imgLogNoCall:
        return "log-without-callsign";
    case imgQSOUnchecked:
        return "unchecked";
    case imgQSOAccepted:
        return "accepted";
    case imgQSORejected:
        return "rejected";
    case imgTagMissing:
        return "missing-tag";
    case imgCallSign:
        return "callsign";
    default:
        return "-";
    }
}

void UseTerminalMessages() {
    static StderrMessages messages;
    SetMessages(&messages);
}

std::unique_ptr<IProgress> TerminalProgress(const std::string& label) {
    if (!::isatty(STDERR_FILENO)) return nullptr;
    return std::make_unique<TerminalBar>(label);
}

} // namespace zelk::cli
