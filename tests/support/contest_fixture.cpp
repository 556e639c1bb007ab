// The contest fixture of the judging tests.
#include "support/contest_fixture.h"

#include "judge/judge.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"

namespace zelk::test {

std::vector<std::string> RecordingMessages::PlainTexts() const {
    std::vector<std::string> r;
    for (const auto& b : boxes)
        if (b.kind == "plain") r.push_back(b.text);
    return r;
}

ContestFixture::ContestFixture() {
    ResetVars(TZelkGlobalVars(exe.Text()));
    Vars().CurrentFolder = folder.Text();
    SetScriptFolder(scripts.Text());
    ResetScripts();
    previous_ = SetMessages(&messages);
}

ContestFixture::~ContestFixture() {
    SetMessages(previous_);
    SetScriptFolder("");
    ResetScripts();
}

std::string ContestFixture::WriteLog(const std::string& name, const std::vector<std::string>& header,
                                     const std::vector<std::string>& contacts) {
    std::string text;
    for (const auto& h : header)
        text += h + "\r\n";
    for (const auto& c : contacts)
        text += "QSO: " + c + "\r\n";
    return folder.Write(name, text);
}

void ContestFixture::WriteScript(const std::string& file, const std::string& text) {
    scripts.Write(file, text);
    ResetScripts();
}

void ContestFixture::Open(const std::string& name) {
    contest.ListLogs();
    ASSERT_TRUE(contest.SelectLogByName(name)) << name;
    LoadSelectedLog(contest);
}

} // namespace zelk::test
