// The judging commands of zelkon-cli: check, ubn, standings, absent and search. They judge exactly as
// the desktop program does, with its settings files and scripts.
#include "cli/category_table.h"
#include "cli/command.h"
#include "cli/contest_setup.h"
#include "judge/cross_check.h"
#include "judge/judge.h"
#include "judge/progress_guard.h"
#include "judge/qso_search.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/standings.h"
#include "reports/ubn_report.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

namespace zelk::cli {
namespace {

// Lists the folder and, while conditional credit is on, the stations without a log.
void ListContest(TZelkContest& contest, TCliRun& run) {
    auto progress = run.Settings.NoFileIncludeResults ? TerminalProgress("absent") : nullptr;
    zelk::ListContest(contest, run.Settings.CurrentFolder, run.Settings.Judging(), progress.get());
}

void SelectLog(TZelkContest& contest, const std::string& nameUtf8) {
    const std::string name = FromUtf8(nameUtf8);
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        if (SameText(contest.Logs[i].Caption, name)) {
            contest.SelectedLog = contest.FocusedLog = static_cast<int>(i);
            return;
        }
    }
    throw TZelkError(FormatText("Файл не найден %s"_cp, name));
}

std::unique_ptr<TCliRun> ExpectFolder(std::vector<std::string>& args, size_t positionals, bool more = false) {
    const TContestOptions options = TakeContestOptions(args);
    RejectUnknownOptions(args);
    if (args.size() < positionals || (!more && args.size() != positionals))
        throw UsageError{"wrong number of arguments (see --help)"};
    return std::make_unique<TCliRun>(args[0], options);
}

// Loads the selected log into the lists, as the window does when a log is selected.
void LoadSelected(TZelkContest& contest) {
    contest.LoadLog(contest.SelectedLogPath());
}

// The status of a judging command: 2 when some log could not be judged (its message named it), else 0.
constexpr int kJudged = 0;
constexpr int kLogNotJudged = 2;

// How the check of one log went.
enum class TLogCheck {
    Judged,
    NoCallSign, // no usable CALLSIGN: (the check's own box said so): judged nothing, its report still made
    Failed,     // the log or a correspondent's could not be read, or a script's result not converted
};

// Loads and checks the selected log as the window does, with its file name in every message; a failure
// is reported as it happens.
TLogCheck CheckSelected(TZelkContest& contest, TCliRun& run) {
    const TLogScope scope(run.Messages, contest.Logs[static_cast<size_t>(contest.SelectedLog)].Caption);
    try {
        LoadSelected(contest);
        CheckAllRecords(contest, run.Judging());
        const TContestLog* log = contest.LogAt(contest.SelectedLog);
        return log && !log->OwnerCall().empty() ? TLogCheck::Judged : TLogCheck::NoCallSign;
    } catch (const TZelkError& e) {
        run.Messages.Error(e.what(), {});
        return TLogCheck::Failed;
    }
}

int RunCheck(std::vector<std::string>& args) {
    const bool raw = TakeFlag(args, "cp1251");
    auto run = ExpectFolder(args, 2);
    TZelkContest contest;
    ListContest(contest, *run);
    SelectLog(contest, args[1]);
    const TLogCheck check = CheckSelected(contest, *run);
    if (check != TLogCheck::Failed) PrintText(BuildUBNReport(contest, run->Scripts()), raw);
    return check == TLogCheck::Judged ? kJudged : kLogNotJudged;
}

int RunUbn(std::vector<std::string>& args) {
    const auto out = TakeOption(args, "out");
    auto run = ExpectFolder(args, 1, true);
    TZelkContest contest;
    ListContest(contest, *run);
    std::vector<int> rows;
    if (args.size() == 1) {
        for (size_t i = 0; i < contest.Logs.size(); ++i)
            rows.push_back(static_cast<int>(i));
    } else {
        for (size_t a = 1; a < args.size(); ++a) {
            SelectLog(contest, args[a]);
            rows.push_back(contest.SelectedLog);
        }
    }
    const std::string folder = out ? FromUtf8(*out) : run->Settings.CurrentFolder;
    // The paths written are printed once the progress bar has gone from the terminal, also when a
    // report cannot be written.
    std::string written;
    bool allJudged = true;
    try {
        auto progress = rows.size() > 1 ? TerminalProgress("ubn") : nullptr;
        TProgressGuard guard(progress.get(), static_cast<int>(rows.size()));
        for (size_t k = 0; k < rows.size(); ++k) {
            contest.SelectedLog = contest.FocusedLog = rows[k];
            const TLogCheck check = CheckSelected(contest, *run);
            allJudged = allJudged && check == TLogCheck::Judged;
            // A log without CALLSIGN: gets its report as the window writes it; a failed check gives none.
            if (check != TLogCheck::Failed) {
                const std::string path =
                    JoinPath(folder, ExtractFileName(ProposedUBNFileName(contest, run->Settings.UBNExt)));
                WriteFileAtomic(path, BuildUBNReport(contest, run->Scripts()));
                written += path + "\n";
            }
            guard.Step(static_cast<int>(k));
        }
    } catch (...) {
        PrintText(written);
        throw;
    }
    PrintText(written);
    return allJudged ? kJudged : kLogNotJudged;
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string r = "\"";
    for (char c : s)
        r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

std::string HtmlText(const std::string& s) {
    std::string r;
    for (char c : s) {
        if (c == '<')
            r += "&lt;";
        else if (c == '>')
            r += "&gt;";
        else if (c == '&')
            r += "&amp;";
        else if (c == '"')
            r += "&quot;";
        else
            r += c;
    }
    return r;
}

int RunStandings(std::vector<std::string>& args) {
    const std::string format = TakeOption(args, "format").value_or("text");
    if (format != "text" && format != "csv" && format != "html")
        throw UsageError{"--format is text, csv or html"};
    if (TakeFlag(args, "by-category")) return RunStandingsByCategory(args, format);
    auto run = ExpectFolder(args, 1);
    TZelkContest contest;
    ListContest(contest, *run);
    std::vector<std::pair<int, std::string>> failures;
    {
        auto progress = TerminalProgress("standings");
        CheckAllFiles(contest, run->Judging(), progress.get(), &failures);
    }
    // The logs that could not be judged, each named with why, in the order of the folder.
    bool allJudged = true;
    for (size_t i = 0, f = 0; i < contest.Logs.size(); ++i) {
        const TLogRow& row = contest.Logs[i];
        const TLogScope scope(run->Messages, row.Caption);
        if (f < failures.size() && failures[f].first == static_cast<int>(i)) {
            run->Messages.Error(failures[f++].second, {});
            allJudged = false;
        } else if (!StandingsTotal(row)) {
            ReportMissingCallSign(run->Messages);
            allJudged = false;
        }
    }
    contest.SortLogs(0); // equal totals keep file-name order
    contest.SortLogs(3);

    std::vector<std::optional<int>> totals;
    for (const TLogRow& row : contest.Logs)
        totals.push_back(StandingsTotal(row));
    const std::vector<int> places = StandingsPlaces(totals);
    const std::vector<std::string> titles = {"Place", "File", "Score", "Multi", "ClaimedScore",
                                             "Call",  "Name", "Club",  "QSOs"};
    std::vector<std::vector<std::string>> table;
    for (size_t i = 0; i < contest.Logs.size(); ++i) {
        const TLogRow& row = contest.Logs[i];
        TZelkCurrentFile summary;
        const TContestLog* log = contest.LogAt(static_cast<int>(i));
        try {
            summary.TakeSummary(log ? log->Content() : TLogContent());
        } catch (const TZelkError&) {
            // A log that cannot be read was named above; its row keeps an empty summary.
            summary.TakeSummary(TLogContent());
        }
        const std::string place = places[i] > 0 ? std::to_string(places[i]) : "-";
        table.push_back({place, row.Caption, row.Cell(0), row.Cell(1), row.Cell(2), summary.CallSign,
                         summary.Name, summary.Club, std::to_string(summary.QSOCount)});
    }

    std::string out;
    if (format == "csv") {
        for (size_t c = 0; c < titles.size(); ++c)
            out += (c ? "," : "") + titles[c];
        out += "\n";
        for (const auto& line : table) {
            for (size_t c = 0; c < line.size(); ++c)
                out += (c ? "," : "") + CsvField(line[c]);
            out += "\n";
        }
    } else if (format == "html") {
        out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Standings</title></head><body>\n"
              "<table border=\"1\">\n<tr>";
        for (const auto& t : titles)
            out += "<th>" + t + "</th>";
        out += "</tr>\n";
        for (const auto& line : table) {
            out += "<tr>";
            for (const auto& cell : line)
                out += "<td>" + HtmlText(cell) + "</td>";
            out += "</tr>\n";
        }
        out += "</table>\n</body></html>\n";
    } else {
        std::vector<size_t> widths(titles.size());
        for (size_t c = 0; c < titles.size(); ++c)
            widths[c] = titles[c].size();
        for (const auto& line : table)
            for (size_t c = 0; c < line.size(); ++c)
                widths[c] = std::max(widths[c], line[c].size());
        const auto emit = [&](const std::vector<std::string>& line) {
            for (size_t c = 0; c < line.size(); ++c) {
                out += line[c];
                if (c + 1 < line.size()) out += std::string(widths[c] - line[c].size() + 2, ' ');
            }
            out += "\n";
        };
        emit(titles);
        for (const auto& line : table)
            emit(line);
    }
    PrintText(out);
    return allJudged ? kJudged : kLogNotJudged;
}

int RunAbsent(std::vector<std::string>& args) {
    auto run = ExpectFolder(args, 1);
    TZelkContest contest;
    contest.ListLogs(run->Settings.CurrentFolder, run->Settings.Reading());
    std::vector<std::pair<std::string, int>> mentions;
    auto progress = TerminalProgress("absent");
    CountNoFileMentions(contest, run->Settings.Judging(), mentions, progress.get());
    std::string out;
    for (const auto& [call, count] : mentions)
        out += call + "\t" + std::to_string(count) + "\n";
    PrintText(out);
    return 0;
}

int RunSearch(std::vector<std::string>& args) {
    auto run = ExpectFolder(args, 2);
    const std::string text = UpperCase(Trim(FromUtf8(args[1])));
    if (text.empty()) throw TZelkError("Введите подстроку для поиска"_cp);
    TZelkContest contest;
    contest.ListLogs(run->Settings.CurrentFolder, run->Settings.Reading());
    auto progress = TerminalProgress("search");
    std::string out;
    for (const auto& row : SearchContacts(contest, text, progress.get()))
        out += row.FileName + "\t" + row.Comment + "\n";
    PrintText(out);
    return 0;
}

const CommandRegistrar kCheck{
    {"check", "check FOLDER LOG [--cp1251]",
     "Checks all records of one log as \"Проверить все записи\" does and prints its\n"
     "UBN report (UTF-8; --cp1251 for the report file's own bytes). Exit status 2 when\n"
     "the log could not be judged: without CALLSIGN: the report is still printed, a log that\n"
     "cannot be read or checked gets none.",
     RunCheck}};
const CommandRegistrar kUbn{
    {"ubn", "ubn FOLDER [LOG...] [--out DIR]",
     "Writes the UBN report of each named log (all logs when none is named) into DIR\n"
     "(default: the contest folder), named like the log with the UBNExt extension,\n"
     "and prints the path of each file written, one a line. A log that could not be\n"
     "judged is named on standard error and the exit status is 2; one without CALLSIGN:\n"
     "still gets its report, one that cannot be read or checked gets none.",
     RunUbn}};
const CommandRegistrar kStandings{
    {"standings", "standings FOLDER [--format text|csv|html] [--by-category]",
     "Checks every log as \"Проверить все файлы\" does and prints the standings, highest total\n"
     "first (ties by file name, sharing a place: 1, 2, 2, 4): place, file, Score, Multi,\n"
     "ClaimedScore (the judged total), callsign, name, club and number of contacts. Logs\n"
     "without CALLSIGN:, or that cannot be read or judged, come last with \"-\" as their place;\n"
     "each is named on standard error and the exit status is 2.\n"
     "--by-category prints one table per category (the values of the CategoryTags header\n"
     "tags), places counted within it, with the confirmed contacts and the accuracy; with\n"
     "TieBreakByAccuracy=1 equal totals are ordered and placed by accuracy.",
     RunStandings}};
const CommandRegistrar kAbsent{{"absent", "absent FOLDER",
                                "Prints the stations without a log that at least NoFileMinMentionCount logs\n"
                                "mention, CALLSIGN<TAB>COUNT a line, whatever NoFileIncludeResults says.",
                                RunAbsent}};
const CommandRegistrar kSearch{{"search", "search FOLDER TEXT",
                                "Finds the logs whose contacts' callsigns contain TEXT (upper-cased), the\n"
                                "station's own log first: FILE<TAB>COMMENT a line.",
                                RunSearch}};

} // namespace
} // namespace zelk::cli
