// Times "Проверить все файлы" on a contest folder and prints one line: the read-and-parse-only floor
// (every log read and parsed, nothing judged), then the contest-wide run on a fresh contest (each log
// read and parsed once and every contact judged), with its wall and CPU time, contacts per second, the
// ratio of its wall time to the floor's and the peak memory of the process.
//   check_bench FOLDER [--rules default|band] [--full-scan]
// --rules band: a band-aware rule set in the guarded form; --full-scan: the baseline (every candidate
// asked, one thread).
#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/judging_settings.h"
#include "settings/platform.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>

using namespace zelk;

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Band-aware rules as a judge writes them: the call and mode must match before the band and the time
// are looked at; repeats count per band and mode; the multiplier is the call per band.
void WriteBandRules(const std::string& folder) {
    std::filesystem::create_directories(folder);
    WriteFileAtomic(JoinPath(folder, "IsConfirmative.txt"),
                    "begin\r\n  Result := false;\r\n  if (Call2 = CallSign) and (Mode2 = Mode) then begin\r\n"
                    "    Result := (Band(Freq2) = Band(Freq)) and (Minutes(DateTime, DateTime2) <= 10);\r\n"
                    "  end;\r\nend;");
    WriteFileAtomic(JoinPath(folder, "IsDuplicate.txt"),
                    "begin\r\n  Result := false;\r\n  if (Call2 = Call) and (Mode2 = Mode) then\r\n"
                    "    Result := Band(Freq2) = Band(Freq);\r\nend;");
    WriteFileAtomic(JoinPath(folder, "IsValidReceive.txt"),
                    "begin\r\n  Result := NoZeros(Receive) = NoZeros(Send2);\r\nend;");
    WriteFileAtomic(JoinPath(folder, "CalcMultiplier.txt"),
                    "begin\r\n  Result := Band(Freq) + Call;\r\nend;");
    WriteFileAtomic(JoinPath(folder, "CalcQSO.txt"),
                    "begin\r\n  if Band(Freq) = '3.5' then Result := 2 else Result := 1;\r\nend;");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: check_bench FOLDER [--rules default|band] [--full-scan]\n");
        return 2;
    }
    std::string rules = "default";
    bool fullScan = false;
    for (int i = 2; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rules") && i + 1 < argc)
            rules = argv[++i];
        else if (!std::strcmp(argv[i], "--full-scan"))
            fullScan = true;
    }
    StderrMessages messages;
    // Default rules come from a folder that holds no scripts, so the built-in defaults apply.
    std::string scriptFolder = "/nonexistent-zelk-bench-scripts";
    if (rules == "band") {
        scriptFolder = (std::filesystem::temp_directory_path() / "zelk-bench-band-rules").string();
        WriteBandRules(scriptFolder);
    }
    TZelkScript scripts(scriptFolder, messages);
    TJudging judging{TZelkJudgingSettings(), scripts, messages};
    if (fullScan) judging.Path = TJudgingPath::FullScan;
    const std::string folder = FromUtf8(argv[1]);

    double floorWall = 0, floorCpu = 0;
    {
        TZelkContest contest;
        const double cpuStart = CpuSeconds();
        const double start = Now();
        contest.ListLogs(folder, judging.Settings.Reading());
        for (size_t i = 0; i < contest.Logs.size(); ++i)
            if (const TContestLog* log = contest.LogAt(static_cast<int>(i))) (void)log->Records();
        floorWall = Now() - start;
        floorCpu = CpuSeconds() - cpuStart;
    }

    TZelkContest contest;
    const double cpuBefore = CpuSeconds();
    const double start = Now();
    contest.ListLogs(folder, judging.Settings.Reading());
    CheckAllFiles(contest, judging, nullptr);
    const double seconds = Now() - start;
    // CPU time too: on a busy machine the wall clock also counts the time other processes ran.
    const double cpu = CpuSeconds() - cpuBefore;
    long contacts = 0;
    for (size_t i = 0; i < contest.Logs.size(); ++i)
        if (const TContestLog* log = contest.LogAt(static_cast<int>(i)))
            contacts += static_cast<long>(log->Records().size());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "rules=%s path=%s logs=%zu contacts=%ld floor_wall_s=%.3f floor_cpu_s=%.3f wall_s=%.3f cpu_s=%.3f "
        "contacts_per_s=%.0f ratio_to_floor=%.1f peak_rss_mb=%.1f\n",
        rules.c_str(), fullScan ? "full-scan" : "planned", contest.Logs.size(), contacts, floorWall, floorCpu,
        seconds, cpu, contacts / seconds, seconds / floorWall, usage.ru_maxrss / 1024.0);
    return 0;
}
