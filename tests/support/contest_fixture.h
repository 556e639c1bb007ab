// A contest folder in a temporary directory with fresh settings, default scripts and recorded message
// boxes: the ground of the judging tests.
#pragma once

#include "logs/contest.h"
#include "settings/platform.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

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

class ContestFixture : public ::testing::Test {
  protected:
    ContestFixture();
    ~ContestFixture() override;

    // Writes a log file into the contest folder: header lines then "QSO: " + each contact line, CR LF.
    std::string WriteLog(const std::string& name, const std::vector<std::string>& header,
                         const std::vector<std::string>& contacts);
    // Writes a judging script file (Windows-1251) into the scripts folder, e.g. "CalcQSO.txt".
    void WriteScript(const std::string& file, const std::string& text);
    // Lists the folder, selects `name` and loads it.
    void Open(const std::string& name);

    TempDir exe, folder, scripts;
    TZelkContest contest;
    RecordingMessages messages;

  private:
    IMessages* previous_ = nullptr;
};

} // namespace zelk::test
