// Times "Проверить все файлы" on a contest folder with the default scripts and prints the contacts
// judged per second and the peak memory of the process. The timed run reads and parses every log (once)
// and judges every contact.
//   check_bench FOLDER
#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/judging_settings.h"
#include "settings/platform.h"

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

using namespace zelk;

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: check_bench FOLDER\n");
        return 2;
    }
    StderrMessages messages;
    // Scripts come from a folder that holds none, so the built-in defaults apply.
    TZelkScript scripts("/nonexistent-zelk-bench-scripts", messages);
    const TJudging judging{TZelkJudgingSettings(), scripts, messages};

    TZelkContest contest;
    contest.ListLogs(FromUtf8(argv[1]), judging.Settings.Reading());
    const double cpuBefore = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    CheckAllFiles(contest, judging, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // CPU time too: on a busy machine the wall clock also counts the time other processes ran.
    const double cpu = CpuSeconds() - cpuBefore;
    long contacts = 0;
    for (size_t i = 0; i < contest.Logs.size(); ++i)
        if (const TContestLog* log = contest.LogAt(static_cast<int>(i)))
            contacts += static_cast<long>(log->Records().size());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("logs=%zu contacts=%ld logs_read=%llu wall_s=%.2f cpu_s=%.2f contacts_per_cpu_s=%.0f "
                "peak_rss_mb=%.1f\n",
                contest.Logs.size(), contacts, static_cast<unsigned long long>(contest.Model.LogsRead()),
                seconds, cpu, contacts / cpu, usage.ru_maxrss / 1024.0);
    return 0;
}
