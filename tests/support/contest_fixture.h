// A contest folder in a temporary directory with the test's own settings object, script set and recorded
// message boxes: the ground of the judging tests. The fixture plays the program's edge, handing these
// to the core as the window does.
#pragma once

#include "judge/judging.h"
#include "logs/contest.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zelk::test {

// Message boxes recorded instead of shown; questions answered with `answer`.
class RecordingMessages : public IMessages {
  public:
    struct Box {
        std::string kind, text, caption;
    };
    std::vector<Box> boxes;
    bool answer = false;

    void Info(const std::string& text, const std::string& caption) override {
        boxes.push_back({"info", text, caption});
    }
    void Error(const std::string& text, const std::string& caption) override {
        boxes.push_back({"error", text, caption});
    }
    bool Ask(const std::string& text) override {
        boxes.push_back({"ask", text, ""});
        return answer;
    }
    void Plain(const std::string& text) override { boxes.push_back({"plain", text, ""}); }

    // The texts of the plain (script) boxes, in order.
    std::vector<std::string> PlainTexts() const;
};

// One contest with everything the program's edge would hold for it. Several can live side by side: they
// share nothing.
class TestContest {
  public:
    TestContest();

    // Writes a log file into the contest folder: header lines then "QSO: " + each contact line, CR LF.
    std::string WriteLog(const std::string& name, const std::vector<std::string>& header,
                         const std::vector<std::string>& contacts);
    // Writes a judging script file (Windows-1251) into the scripts folder, e.g. "CalcQSO.txt", and
    // reads the scripts again.
    void WriteScript(const std::string& file, const std::string& text);

    // The test's script set over the scripts folder, made on first use.
    TZelkScript& Scripts();
    // The judging context of a command: the judging keys of `settings`, Scripts() and `messages`.
    TJudging Judging() { return {settings.Judging(), Scripts(), messages}; }

    // The window's steps: the contest folder's own settings into force and the folder listed; the same
    // with the stations without a log counted (NoFileIncludeResults), the log loaded last selected and
    // loaded; the selected log loaded.
    void ListLogs();
    void RebuildLogList();
    void LoadSelectedLog();
    // Lists the folder, selects `name` and loads it.
    void Open(const std::string& name);

    TempDir exe, folder, scripts;
    TZelkGlobalVars settings;
    RecordingMessages messages;
    TZelkContest contest;

  private:
    std::unique_ptr<TZelkScript> scriptSet_;
};

class ContestFixture : public ::testing::Test, public TestContest {};

} // namespace zelk::test
