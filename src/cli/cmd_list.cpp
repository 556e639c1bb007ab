// "list" and "show": the log list of a contest folder and the rows of one log, as the main window
// shows them.
#include "cli/command.h"
#include "cli/contest_setup.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/text.h"

#include <string>

namespace zelk::cli {
namespace {

std::string Row(const TListRow& row) {
    std::string line = row.Caption;
    for (const auto& cell : row.Cells)
        line += "\t" + cell;
    return line + "\t" + ImageRole(row.ImageIndex) + "\n";
}

int RunList(std::vector<std::string>& args) {
    const TContestOptions options = TakeContestOptions(args);
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError{"expects one argument, the contest folder"};
    TCliRun run(args[0], options);
    TZelkContest contest;
    contest.ListLogs(run.Settings.CurrentFolder, run.Settings.Reading());
    std::string out;
    for (const auto& row : contest.Logs)
        out += Row(row);
    PrintText(out);
    return 0;
}

int RunShow(std::vector<std::string>& args) {
    const bool raw = TakeFlag(args, "cp1251");
    const TContestOptions options = TakeContestOptions(args);
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError{"expects two arguments, the contest folder and the log"};
    TCliRun run(args[0], options);
    TZelkContest contest;
    contest.ListLogs(run.Settings.CurrentFolder, run.Settings.Reading());
    const std::string name = FromUtf8(args[1]);
    int found = -1;
    for (size_t i = 0; i < contest.Logs.size() && found < 0; ++i)
        if (SameText(contest.Logs[i].Caption, name)) found = static_cast<int>(i);
    if (found < 0) throw TZelkError(FormatText("Файл не найден %s"_cp, name));
    contest.SelectedLog = found;
    contest.LoadLog(contest.SelectedLogPath());
    std::string out = "Caption:" + contest.HeaderCaption + "\n";
    out += "Status:" + contest.Status[1] + "\n[header]\n";
    for (const auto& row : contest.Header)
        out += Row(row);
    out += "[qso]\n";
    for (const auto& row : contest.QSOs)
        out += Row(row);
    PrintText(out, raw);
    return 0;
}

const CommandRegistrar kList{{"list", "list FOLDER",
                              "Lists the logs of a contest folder in the order the file system gives them:\n"
                              "file name, Score, Multi, ClaimedScore and the icon role, tab-separated.",
                              RunList}};
const CommandRegistrar kShow{
    {"show", "show FOLDER LOG [--cp1251]",
     "Loads one log (its file name, letter case ignored) as the main window does and\n"
     "prints the header caption, the status text, the header rows (tag, value, comment,\n"
     "icon role) and the QSO rows (number, nine cells, icon role), tab-separated.\n"
     "--cp1251 writes the Windows-1251 bytes instead of UTF-8.",
     RunShow}};

} // namespace
} // namespace zelk::cli
