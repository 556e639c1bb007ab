// Times "Проверить все файлы" on a contest folder with the default scripts and prints the contacts
// judged per second and the peak memory of the process. With --plain the check reads the
// correspondent's log again for every contact, as a reading record by record would: the baseline.
//   check_bench FOLDER [--plain]
#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/judging_settings.h"
#include "settings/platform.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

using namespace zelk;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: check_bench FOLDER [--plain]\n");
        return 2;
    }
    const bool plain = argc > 2 && std::strcmp(argv[2], "--plain") == 0;
    StderrMessages messages;
    TZelkScript scripts("/nonexistent-zelk-bench-scripts", messages);
    const TJudging judging{TZelkJudgingSettings(), scripts, messages};
    SetPlainCheckRuns(plain);

    TZelkContest contest;
    contest.ListLogs(FromUtf8(argv[1]), judging.Settings.FilesMask);
    long contacts = 0;
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        TZelkCurrentFile summary;
        summary.ReadSummary(contest.LogPathAt(static_cast<int>(i)));
        contacts += summary.QSOCount;
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const double cpuBefore = before.ru_utime.tv_sec + before.ru_utime.tv_usec / 1e6 + before.ru_stime.tv_sec +
                             before.ru_stime.tv_usec / 1e6;
    const auto start = std::chrono::steady_clock::now();
    CheckAllFiles(contest, judging, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // CPU time too: on a busy machine the wall clock also counts the time other processes ran.
    const double cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                       usage.ru_stime.tv_usec / 1e6 - cpuBefore;
    std::printf("%s logs=%zu contacts=%ld wall_s=%.2f cpu_s=%.2f contacts_per_cpu_s=%.0f peak_rss_mb=%.1f\n",
                plain ? "plain " : "cached", contest.Logs.size(), contacts, seconds, cpu, contacts / cpu,
                usage.ru_maxrss / 1024.0);
    return 0;
}
