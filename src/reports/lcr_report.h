// The log checking report: a text file per log, beside its UBN report, that tells the participant why
// each contact failed - the log's figures, then every rejected or remarked contact with its class, the
// partner's record, the minutes between and the suggested call. Windows-1251, CR LF line ends.
#pragma once

#include <string>

namespace zelk {

class TZelkContest;
struct TJudging;
struct TLogAnalysis;

// The report text of one analysed log; `tolerance` is MaxMinutesDifference, named beside a clock offset
// that exceeds it.
std::string BuildLCRReport(const TLogAnalysis& log, int tolerance);

// The report's file name for the log `logFileName` in `folder`: the log's name with the extension of
// `lcrExt` (the setting LCRExt, ".LCR"; a mask "*.LCR" is taken the same way).
std::string LCRFileName(const std::string& folder, const std::string& logFileName, const std::string& lcrExt);

// Writes the report through a temporary file, so that a failed write leaves an existing report as it was;
// errors raise TZelkError naming the file.
void SaveLCRReport(const TLogAnalysis& log, int tolerance, const std::string& fileName);

// Analyses the selected log of `contest` afresh and writes its report into `folder` (where the UBN reports
// go), named by LCRFileName with the setting LCRExt; returns the path written, or empty text without a
// selected log. The judgement of the contest's rows is left as it stands.
std::string SaveSelectedLCRReport(TZelkContest& contest, const TJudging& judging, const std::string& folder);

} // namespace zelk
