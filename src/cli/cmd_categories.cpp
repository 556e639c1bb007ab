// standings --by-category: one table per category with the confirmed contacts and the accuracy.
#include "cli/category_table.h"
#include "cli/command.h"
#include "cli/contest_setup.h"
#include "judge/cross_check.h"
#include "judge/judge.h"
#include "logs/contest.h"
#include "logs/text.h"
#include "reports/category_standings.h"
#include "reports/standings.h"

#include <algorithm>

namespace zelk::cli {
namespace {

const std::vector<std::string> kTitles = {"Place",    "File", "Score", "Multi", "ClaimedScore", "Confirmed",
                                          "Accuracy", "Call", "Name",  "Club",  "QSOs"};

std::string Csv(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string r = "\"";
    for (char c : s)
        r += c == '"' ? std::string("\"\"") : std::string(1, c);
    return r + "\"";
}

std::string Html(const std::string& s) {
    std::string r;
    for (char c : s)
        r += c == '<'   ? "&lt;"
             : c == '>' ? "&gt;"
             : c == '&' ? "&amp;"
             : c == '"' ? "&quot;"
                        : std::string(1, c);
    return r;
}

std::string TextTable(const std::vector<std::vector<std::string>>& table) {
    std::vector<size_t> widths(kTitles.size());
    for (size_t c = 0; c < kTitles.size(); ++c)
        widths[c] = kTitles[c].size();
    for (const auto& line : table)
        for (size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    std::string out;
    const auto emit = [&](const std::vector<std::string>& line) {
        for (size_t c = 0; c < line.size(); ++c) {
            out += line[c];
            if (c + 1 < line.size()) out += std::string(widths[c] - line[c].size() + 2, ' ');
        }
        out += "\n";
    };
    emit(kTitles);
    for (const auto& line : table)
        emit(line);
    return out;
}

} // namespace

int RunStandingsByCategory(std::vector<std::string>& args, const std::string& format) {
    const TContestOptions options = TakeContestOptions(args);
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError{"wrong number of arguments (see --help)"};
    TCliRun run(args[0], options);
    TZelkContest contest;
    {
        auto progress = run.Settings.NoFileIncludeResults ? TerminalProgress("absent") : nullptr;
        ListContest(contest, run.Settings.CurrentFolder, run.Settings.Judging(), progress.get());
    }
    contest.SortLogs(0); // equal totals keep file-name order
    std::vector<TCategoryEntry> entries;
    {
        auto progress = TerminalProgress("standings");
        entries = CategoryStandings(contest, run.Judging(), true, progress.get());
    }
    // The logs that could not be judged are named, as the plain standings name them.
    bool allJudged = true;
    for (const TLogRow& row : contest.Logs) {
        if (StandingsTotal(row)) continue;
        const TLogScope scope(run.Messages, row.Caption);
        ReportMissingCallSign(run.Messages);
        allJudged = false;
    }
    // The tables in order: category, rows.
    std::vector<std::pair<std::string, std::vector<std::vector<std::string>>>> tables;
    for (const TCategoryEntry& e : entries) {
        if (tables.empty() || tables.back().first != e.Category) tables.push_back({e.Category, {}});
        const TLogRow& row = contest.Logs[static_cast<size_t>(e.Row)];
        TZelkCurrentFile summary;
        const TContestLog* log = contest.LogAt(e.Row);
        summary.TakeSummary(log ? log->Content() : TLogContent());
        tables.back().second.push_back({e.Place > 0 ? std::to_string(e.Place) : "-", row.Caption, row.Cell(0),
                                        row.Cell(1), row.Cell(2), std::to_string(e.Confirmed), e.AccuracyText,
                                        summary.CallSign, summary.Name, summary.Club,
                                        std::to_string(summary.QSOCount)});
    }
    const auto title = [](const std::string& category) {
        return category.empty() ? std::string("(no category)") : category;
    };
    std::string out;
    if (format == "csv") {
        out = "Category";
        for (const auto& t : kTitles)
            out += "," + t;
        out += "\n";
        for (const auto& [category, table] : tables)
            for (const auto& line : table) {
                out += Csv(category);
                for (const auto& cell : line)
                    out += "," + Csv(cell);
                out += "\n";
            }
    } else if (format == "html") {
        out =
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Standings by category</title></head>"
            "<body>\n";
        for (const auto& [category, table] : tables) {
            out += "<h2>" + Html(title(category)) + "</h2>\n<table border=\"1\">\n<tr>";
            for (const auto& t : kTitles)
                out += "<th>" + t + "</th>";
            out += "</tr>\n";
            for (const auto& line : table) {
                out += "<tr>";
                for (const auto& cell : line)
                    out += "<td>" + Html(cell) + "</td>";
                out += "</tr>\n";
            }
            out += "</table>\n";
        }
        out += "</body></html>\n";
    } else {
        for (size_t i = 0; i < tables.size(); ++i)
            out += (i ? "\n== " : "== ") + title(tables[i].first) + " ==\n" + TextTable(tables[i].second);
    }
    PrintText(out);
    return allJudged ? 0 : 2;
}

} // namespace zelk::cli
