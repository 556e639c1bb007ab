// Settings, scripts, messages and progress for the command-line commands that work on a contest folder.
#include "cli/contest_setup.h"

#include "cli/command.h"
#include "logs/list_rows.h"
#include "logs/text.h"

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

} // namespace

std::string TLogMessages::Named(const std::string& text) const {
    return Log.empty() ? text : Log + ": " + text;
}

void TLogMessages::Info(const std::string& text, const std::string& caption) {
    StderrMessages::Info(text, Named(caption.empty() ? kInfoCaption : caption));
}

void TLogMessages::Error(const std::string& text, const std::string& caption) {
    StderrMessages::Error(text, Named(caption.empty() ? kErrorCaption : caption));
}

bool TLogMessages::Ask(const std::string& text) {
    // The box as StderrMessages writes it, answered No, with the file name in front.
    StderrMessages::Error(text, Named(kAskCaption));
    return false;
}

TContestOptions TakeContestOptions(std::vector<std::string>& args) {
    TContestOptions options;
    options.Scripts = TakeOption(args, "scripts");
    options.Overrides = "[Settings]\r\n";
    for (const auto& s : TakeOptions(args, "set")) {
        if (s.find('=') == std::string::npos) throw UsageError{"--set expects KEY=VALUE, not " + s};
        options.Overrides += FromUtf8(s) + "\r\n";
    }
    return options;
}

TCliRun::TCliRun(const std::string& folderUtf8, const TContestOptions& options) {
    Settings.SetUserStore(&store_);
    Settings.ReadProgramFile();
    Settings.CurrentFolder = FromUtf8(folderUtf8);
    Settings.SetOverrides(options.Overrides);
    Settings.LoadContestSettings();
    scriptFiles_ =
        options.Scripts ? TScriptFiles(FromUtf8(*options.Scripts)) : TScriptFiles(Settings.Paths());
}

TZelkScript& TCliRun::Scripts() {
    if (!scripts_) scripts_ = std::make_unique<TZelkScript>(scriptFiles_, Messages);
    return *scripts_;
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
    case imgLogProblem:
        return "log-with-problems";
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

std::unique_ptr<IProgress> TerminalProgress(const std::string& label) {
    if (!::isatty(STDERR_FILENO)) return nullptr;
    return std::make_unique<TerminalBar>(label);
}

} // namespace zelk::cli
