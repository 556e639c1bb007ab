// "problems": what is wrong with each log of a contest folder, with the setting that would help.
#include "cli/command.h"
#include "cli/contest_setup.h"
#include "logs/contest.h"
#include "logs/log_problems.h"
#include "logs/text.h"
#include "settings/global_vars.h"

#include <algorithm>
#include <string>

namespace zelk::cli {
namespace {

int RunProblems(std::vector<std::string>& args) {
    const TContestOptions contestOptions = TakeContestOptions(args);
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError{"expects one argument, the contest folder"};
    TCliRun run(args[0], contestOptions);
    const TZelkGlobalVars& v = run.Settings;
    // A bad template is an error of the settings, reported before any log is read.
    const TContestReading reading = v.Reading();
    const TLogProblemOptions options{reading.Format, v.FilesMask, v.FindLogByCallSign};
    TZelkContest contest;
    contest.ListLogs(v.CurrentFolder, reading);
    std::vector<std::string> names;
    for (const auto& row : contest.Logs)
        names.push_back(row.DiskName);
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    std::string out;
    for (const TLogProblem& p : FindLogProblems(v.CurrentFolder, names, options))
        out += p.FileName + "\t" + p.Text + "\n";
    PrintText(out);
    return 0;
}

const CommandRegistrar kProblems{
    {"problems", "problems FOLDER",
     "Lists what would keep the logs of a contest folder from being judged as their senders\n"
     "meant, one FILE<TAB>PROBLEM line each, the logs in the order of their names: no or empty\n"
     "CALLSIGN:, a file name the callsign does not give, two logs of one station, an encoding\n"
     "converted to Windows-1251, tabs or no-break spaces in QSO lines, lines with fewer pieces\n"
     "than QSOTemplate or without a callsign in the call piece, dates that are no dates and lines\n"
     "cut at 255 characters; where a setting would help, the problem names it. Nothing is\n"
     "printed for a folder without problems; the exit status is 0 either way.",
     RunProblems}};

} // namespace
} // namespace zelk::cli
