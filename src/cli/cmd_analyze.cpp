// The analysis command of zelkon-cli: why each contact failed, and the figures of every log, as log
// checking reports or as tab-separated lines.
#include "cli/command.h"
#include "cli/contest_setup.h"
#include "judge/analysis.h"
#include "judge/judge.h"
#include "judge/progress_guard.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/lcr_report.h"

namespace zelk::cli {
namespace {

// The rows of the named logs, or of every log in file-name order when none is named.
std::vector<int> ChosenRows(TZelkContest& contest, const std::vector<std::string>& args) {
    std::vector<int> rows;
    if (args.size() == 1) {
        contest.SortLogs(0);
        for (size_t i = 0; i < contest.Logs.size(); ++i)
            rows.push_back(static_cast<int>(i));
        return rows;
    }
    for (size_t a = 1; a < args.size(); ++a) {
        const std::string name = FromUtf8(args[a]);
        int found = -1;
        for (size_t i = 0; i < contest.Logs.size() && found < 0; ++i)
            if (SameText(contest.Logs[i].Caption, name)) found = static_cast<int>(i);
        if (found < 0) throw TZelkError(FormatText("Файл не найден %s"_cp, name));
        rows.push_back(found);
    }
    return rows;
}

std::string TsvLines(const std::vector<TLogAnalysis>& logs) {
    std::string out;
    for (const TLogAnalysis& log : logs)
        for (const TContactAnalysis& c : log.Records)
            if (c.Rejected && c.Class != TFaultClass::Repeat)
                out += log.FileName + "\t" + std::to_string(c.QSO) + "\t" + FaultClassCode(c.Class) + "\t" +
                       FaultDetail(c) + "\n";
    for (const TLogAnalysis& log : logs)
        out += log.FileName + "\tSUMMARY\t" + std::to_string(log.Contacts) + "\t" +
               std::to_string(log.Confirmed) + "\t" + AccuracyText(log) + "\t" + OffsetText(log) + "\n";
    return out;
}

int RunAnalyze(std::vector<std::string>& args) {
    const auto out = TakeOption(args, "out");
    const std::string format = TakeOption(args, "format").value_or("lcr");
    if (format != "lcr" && format != "tsv") throw UsageError{"--format is lcr or tsv"};
    const TContestOptions options = TakeContestOptions(args);
    RejectUnknownOptions(args);
    if (args.empty()) throw UsageError{"wrong number of arguments (see --help)"};
    TCliRun run(args[0], options);
    TZelkContest contest;
    {
        auto progress = run.Settings.NoFileIncludeResults ? TerminalProgress("absent") : nullptr;
        ListContest(contest, run.Settings.CurrentFolder, run.Settings.Judging(), progress.get());
    }
    const std::vector<int> rows = ChosenRows(contest, args);
    const TJudging judging = run.Judging();
    judging.Scripts.ResetFailed();
    TContestAnalyser analyser(contest.Model, judging, &contest.NoFileCalls);
    const std::string folder = out ? FromUtf8(*out) : run.Settings.CurrentFolder;
    std::vector<TLogAnalysis> logs;
    std::string written;
    try {
        auto progress = rows.size() > 1 ? TerminalProgress("analyze") : nullptr;
        TProgressGuard guard(progress.get(), static_cast<int>(rows.size()));
        for (size_t k = 0; k < rows.size(); ++k) {
            const TLogRow& row = contest.Logs[static_cast<size_t>(rows[k])];
            if (const TContestLog* log = contest.LogAt(rows[k])) {
                TLogAnalysis analysis = analyser.Analyse(*log, row.DiskName);
                if (format == "lcr") {
                    const std::string path = LCRFileName(folder, row.DiskName, run.Settings.LCRExt);
                    SaveLCRReport(analysis, judging.Settings.MaxMinutesDifference, path);
                    written += path + "\n";
                } else {
                    logs.push_back(std::move(analysis));
                }
            }
            guard.Step(static_cast<int>(k));
        }
    } catch (...) {
        PrintText(written);
        throw;
    }
    PrintText(format == "tsv" ? TsvLines(logs) : written);
    return 0;
}

const CommandRegistrar kAnalyze{
    {"analyze", "analyze FOLDER [LOG...] [--out DIR] [--format lcr|tsv]",
     "Tells why each rejected contact failed, as the judgement stands: NIL (the partner's log\n"
     "holds no such contact), BUSTED-CALL (the call was miscopied; DETAIL the call meant),\n"
     "BUSTED-BY-PARTNER (the partner miscopied the own call; DETAIL what it logged),\n"
     "EXCHANGE-MINE, EXCHANGE-THEIRS or EXCHANGE-BOTH (whose copy of the exchange differs),\n"
     "TIME (DETAIL the minutes to the partner's nearest record), UNIQUE (a call without a log that\n"
     "no other log mentions) or NO-LOG. Writes the log checking report of each named log (all\n"
     "logs when none is named) into DIR (default: the contest folder), named like the log with\n"
     "the LCRExt extension, and prints the paths written. --format tsv prints instead\n"
     "FILE<TAB>QSO<TAB>CLASS<TAB>DETAIL a rejected contact (repeats aside), then\n"
     "FILE<TAB>SUMMARY<TAB>contacts<TAB>confirmed<TAB>accuracy<TAB>offset a log: accuracy in\n"
     "percent, offset the median minutes of own less partner's time over matched contacts.",
     RunAnalyze}};

} // namespace
} // namespace zelk::cli
