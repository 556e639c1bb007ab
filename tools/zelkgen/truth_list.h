// The truth of a generated contest for the analysis beside the judgement: the class every rejected
// record should get and why, the figures of every log, and the clocks put off on purpose.
#pragma once

#include "contest.h"
#include "log_form.h"

#include <string>

namespace zelk::gen {

// The lines zelkon-cli analyze --format tsv should print for the --out folder judged with the default
// rules: "FILE<TAB>QSO<TAB>CLASS<TAB>DETAIL" per rejected record (repeats aside), sorted by file and QSO,
// then "FILE<TAB>SUMMARY<TAB>contacts<TAB>confirmed<TAB>accuracy<TAB>offset" per log, then
// "FILE<TAB>CLOCK<TAB>minutes" per log whose clock was put off; after a comment line naming the columns.
std::string TruthList(const TGenOptions& o, const TGenContest& contest,
                      const std::vector<TGenLogForm>& forms);

} // namespace zelk::gen
