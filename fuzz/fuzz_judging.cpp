// libFuzzer target for the whole judging of a contest folder: the input is a handful of logs (separated by
// lines "####"), written into a temporary folder each under the name its CALLSIGN: line gives (or LOGn.CBR),
// with judging settings taken from the input's first byte. The folder is listed, every log scored
// contest-wide, then every log checked on its own and its UBN report built, with the default scripts.
// Scoring the folder twice must give the same cells, and with the default scripts (a point for every
// credited contact) the log check and the contest-wide run must agree on every log's results.
#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/ubn_report.h"
#include "script/judging_scripts.h"
#include "settings/judging_settings.h"
#include "settings/platform.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

class TSilentMessages : public zelk::IMessages {
  public:
    void Info(const std::string&, const std::string&) override {}
    void Error(const std::string&, const std::string&) override {}
    bool Ask(const std::string&) override { return false; }
    void Plain(const std::string&) override {}
};

// A contest folder per fuzzing process, emptied for every input and removed when the process ends.
class TScratchFolder {
  public:
    TScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelk-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    void Clear() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder_, ignored))
            std::filesystem::remove_all(entry.path(), ignored);
    }
    void Write(const std::string& name, std::string_view bytes) const {
        std::ofstream(std::filesystem::path(folder_) / name, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
};

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_judging: %s\n", what);
    std::abort();
}

// The file name of a log: its first CALLSIGN: value when that is a plain name, else LOGn.CBR.
std::string FileNameOf(std::string_view log, size_t n) {
    const auto at = log.find("CALLSIGN:");
    if (at != std::string_view::npos) {
        std::string call;
        for (size_t i = at + 9; i < log.size() && call.size() < 12; ++i) {
            const char c = log[i];
            if (c == ' ' && call.empty()) continue;
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) break;
            call += c;
        }
        if (!call.empty()) return call + ".CBR";
    }
    return "LOG" + std::to_string(n) + ".CBR";
}

std::vector<std::vector<std::string>> Cells(const zelk::TZelkContest& contest) {
    std::vector<std::vector<std::string>> cells;
    for (const auto& row : contest.Logs)
        cells.push_back(row.Cells);
    return cells;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TScratchFolder scratch;
    static TSilentMessages messages;
    static zelk::TZelkScript scripts(zelk::TScriptFiles(scratch.Folder() + "/no-scripts"), messages);
    if (size == 0) return 0;
    scratch.Clear();

    zelk::TZelkJudgingSettings settings;
    const std::uint8_t flags = data[0];
    settings.NoFileIncludeResults = flags & 1;
    settings.NoFileMinMentionCount = 1 + ((flags >> 1) & 1);
    settings.FindLogByCallSign = flags & 4;
    settings.QSOSplitTabs = flags & 8;
    settings.MaxMinutesDifference = (flags >> 4) & 7;
    if (flags & 0x80) settings.FilesMask = "*.CBR;*.LOG";

    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t logs = 0;
    for (size_t start = 0; start <= text.size() && logs < 8;) {
        const size_t end = std::min(text.find("\n####\n", start), text.size());
        const std::string_view log = text.substr(start, end - start);
        scratch.Write(FileNameOf(log, logs), log);
        ++logs;
        start = end + 6;
    }

    const zelk::TJudging judging{settings, scripts, messages};
    zelk::TZelkContest contest;
    try {
        zelk::ListContest(contest, scratch.Folder(), settings, nullptr);
        zelk::CheckAllFiles(contest, judging, nullptr);
        const auto wide = Cells(contest);
        zelk::CheckAllFiles(contest, judging, nullptr);
        Check(Cells(contest) == wide, "scoring the folder twice gives other cells");
        for (size_t i = 0; i < contest.Logs.size(); ++i) {
            contest.SelectedLog = contest.FocusedLog = static_cast<int>(i);
            contest.LoadLog(contest.SelectedLogPath());
            zelk::CheckAllRecords(contest, judging);
            Check(contest.Logs[i].Cells == wide[i], "the log check and the contest-wide run disagree");
            const std::string report = zelk::BuildUBNReport(contest, scripts);
            Check(!report.empty(), "an empty UBN report");
        }
    } catch (const zelk::TZelkError&) {
        // A log that cannot be read is reported with its name; what matters is that nothing else breaks.
    }
    return 0;
}
