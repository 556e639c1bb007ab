// The UBN check report: the selected log's header rows, every QSO row with its points and comment, and
// the totals, as plain Windows-1251 text with CR LF line ends.
#pragma once

#include <string>

namespace zelk {

class TZelkContest;

// The report text of what the lists of `contest` hold now (no check is run).
std::string BuildUBNReport(TZelkContest& contest);

// The file name proposed for the selected log's report: its path with the extension from UBNExt.
std::string ProposedUBNFileName(const TZelkContest& contest);

// "Создать файл отчёта" after the file was chosen: remembers its folder in CurrentUBNFolder, checks the
// selected log afresh, and writes the report through a temporary file, so that a failed write leaves
// an existing report untouched. Nothing happens without a selected log.
void SaveUBNReport(TZelkContest& contest, const std::string& fileName);

} // namespace zelk
