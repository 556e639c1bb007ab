// The contest fixture of the judging tests.
#include "support/contest_fixture.h"

#include "judge/judge.h"

namespace zelk::test {

std::vector<std::string> RecordingMessages::PlainTexts() const {
    std::vector<std::string> r;
    for (const auto& b : boxes)
        if (b.kind == "plain") r.push_back(b.text);
    return r;
}

TestContest::TestContest() : settings(exe.Text()) {
    settings.CurrentFolder = folder.Text();
}

TZelkScript& TestContest::Scripts() {
    if (!scriptSet_) scriptSet_ = std::make_unique<TZelkScript>(scripts.Text(), messages);
    return *scriptSet_;
}

std::string TestContest::WriteLog(const std::string& name, const std::vector<std::string>& header,
                                  const std::vector<std::string>& contacts) {
    std::string text;
    for (const auto& h : header)
        text += h + "\r\n";
    for (const auto& c : contacts)
        text += "QSO: " + c + "\r\n";
    return folder.Write(name, text);
}

void TestContest::WriteScript(const std::string& file, const std::string& text) {
    scripts.Write(file, text);
    Scripts().Load(scripts.Text());
}

void TestContest::ListLogs() {
    settings.LoadContestSettings();
    contest.ListLogs(settings.CurrentFolder, settings.Reading());
}

void TestContest::RebuildLogList() {
    settings.LoadContestSettings();
    ListContest(contest, settings.CurrentFolder, settings.Judging(), nullptr);
    if (contest.SelectInitialLog(settings.QLastCall)) LoadSelectedLog();
}

void TestContest::LoadSelectedLog() {
    if (contest.SelectedLog < 0) return;
    contest.LoadLog(contest.SelectedLogPath());
    if (!contest.LoadedName.empty()) settings.QLastCall = contest.LoadedName;
}

void TestContest::Open(const std::string& name) {
    ListLogs();
    ASSERT_TRUE(contest.SelectLogByName(name)) << name;
    LoadSelectedLog();
}

} // namespace zelk::test
