// Writing the log checking report of one analysed log.
#include "reports/lcr_report.h"

#include "judge/analysis.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"

#include <cstdlib>

namespace zelk {

namespace {

constexpr const char* kCRLF = "\r\n";
const std::string kRule(60, '=');

void Line(std::string& out, const std::string& text) {
    out += text;
    out += kCRLF;
}

void Field(std::string& out, const std::string& label, const std::string& value) {
    std::string line = label;
    if (line.size() < 22) line.append(22 - line.size(), ' ');
    Line(out, line + value);
}

std::string Minutes(int minutes) {
    return (minutes > 0 ? "+" : "") + std::to_string(minutes) + " мин"_cp;
}

// Freq, mode, date, time, call, sent and received of a record, blank-separated.
std::string RecordText(const TQSORecord& r) {
    return CollapseSpaces(r.Freq + " " + r.Mode + " " + r.SDate + " " + r.STime + " " + r.Call + " " +
                          r.Send + " " + r.Receive);
}

void Figures(std::string& out, const TLogAnalysis& log, int tolerance) {
    Field(out, "Связей:"_cp, std::to_string(log.Contacts));
    if (!log.Judged()) {
        Line(out, "Нет или пустой тэг CALLSIGN:, журнал не проверялся."_cp);
        return;
    }
    Field(out, "Подтверждено:"_cp, std::to_string(log.Confirmed));
    Field(out, "Точность:"_cp, AccuracyText(log) + (log.Accuracy() ? " %" : ""));
    std::string offset = "нет подтверждённых связей"_cp;
    if (log.ClockOffset) {
        offset = Minutes(*log.ClockOffset);
        if (log.ClockFlagged) offset += FormatText(" - больше допуска %d мин"_cp, tolerance);
    }
    Field(out, "Сдвиг часов:"_cp, offset);
    const int rejected = log.Contacts - log.Confirmed;
    Field(out, "Отклонено:"_cp, std::to_string(rejected));
    for (int c = 1; c < kFaultClassCount; ++c) {
        const int count = log.ByClass[static_cast<size_t>(c)];
        if (count == 0) continue;
        const auto cls = static_cast<TFaultClass>(c);
        Line(out, "  " + std::string(FaultClassCode(cls)) + " (" + FaultClassWord(cls) +
                      "): " + std::to_string(count));
    }
}

void Contact(std::string& out, const TContactAnalysis& c) {
    Line(out, "QSO " + std::to_string(c.QSO) + ": " + RecordText(c.Own));
    std::string verdict = "  ";
    if (c.Rejected) verdict += std::string(FaultClassCode(c.Class)) + ": ";
    verdict += FaultClassWord(c.Class);
    if (c.Class == TFaultClass::BustedCall) verdict += "; вероятно "_cp + c.Suggestion;
    if (c.Class == TFaultClass::BustedByPartner) verdict += "; в его журнале "_cp + c.Suggestion;
    Line(out, verdict);
    if (!c.Comment.empty()) Line(out, "  Проверка: "_cp + Trim(c.Comment));
    if (c.HasPartner) {
        const TQSORecord& p = c.Partner;
        Line(out, "  " + c.PartnerFile + ", QSO " + std::to_string(p.QSOIndex) + ": " + RecordText(p));
        Line(out, "  Время "_cp + p.STime + ", разница "_cp + Minutes(c.Minutes) + "; передано "_cp +
                      CollapseSpaces(p.Send) + ", принято "_cp + CollapseSpaces(p.Receive));
    } else if (c.Rejected && (c.Class == TFaultClass::NotInLog || c.Class == TFaultClass::NoLog ||
                              c.Class == TFaultClass::Unique)) {
        Line(out, "  Запись корреспондента не найдена"_cp);
    }
}

} // namespace

std::string BuildLCRReport(const TLogAnalysis& log, int tolerance) {
    std::string out;
    Line(out, "Отчёт о проверке журнала "_cp + log.FileName);
    Field(out, "CALLSIGN:", log.OwnerCall);
    Line(out, kRule);
    Figures(out, log, tolerance);
    Line(out, kRule);
    for (const TContactAnalysis& c : log.Records)
        if (c.Rejected || !c.Comment.empty()) Contact(out, c);
    Line(out, kRule);
    return out;
}

std::string LCRFileName(const std::string& folder, const std::string& logFileName,
                        const std::string& lcrExt) {
    std::string_view ext = lcrExt;
    if (!ext.empty() && ext.front() == '*') ext.remove_prefix(1);
    return JoinPath(folder, ChangeFileExt(logFileName, ext));
}

void SaveLCRReport(const TLogAnalysis& log, int tolerance, const std::string& fileName) {
    WriteFileAtomic(fileName, BuildLCRReport(log, tolerance));
}

std::string SaveSelectedLCRReport(TZelkContest& contest, const TJudging& judging, const std::string& folder) {
    contest.Model.Refresh();
    const TContestLog* log = contest.LogAt(contest.SelectedLog);
    if (!log) return {};
    judging.Scripts.ResetFailed();
    TContestAnalyser analyser(contest.Model, judging, &contest.NoFileCalls);
    const std::string path = LCRFileName(folder, log->DiskName(), judging.Settings.LCRExt);
    SaveLCRReport(analyser.Analyse(*log, log->DiskName()), judging.Settings.MaxMinutesDifference, path);
    return path;
}

} // namespace zelk
