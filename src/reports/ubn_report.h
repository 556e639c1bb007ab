// The UBN check report: the selected log's header rows, every QSO row with its points and comment, and
// the totals, as plain Windows-1251 text with CR LF line ends.
#pragma once

#include <string>

namespace zelk {

class TZelkContest;
class TZelkScript;
struct TJudging;

// The report text of what the lists of `contest` hold now (no check is run; CalcTotal of `scripts` runs
// only when the selected log's total is not known yet).
std::string BuildUBNReport(TZelkContest& contest, TZelkScript& scripts);

// The file name proposed for the selected log's report: its path with the extension from `ubnExt` (the
// setting UBNExt, a mask such as "*.UBN").
std::string ProposedUBNFileName(const TZelkContest& contest, const std::string& ubnExt);

// "Создать файл отчёта" after the file was chosen (and its folder remembered as CurrentUBNFolder by the
// caller): checks the selected log afresh and writes the report through a temporary file, so that a
// failed write leaves an existing report untouched. Nothing happens without a selected log.
void SaveUBNReport(TZelkContest& contest, const TJudging& judging, const std::string& fileName);

} // namespace zelk
