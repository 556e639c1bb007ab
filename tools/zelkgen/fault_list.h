// The list of what was put into a generated contest on purpose: every record the default judging
// rules reject and why, and the logs of unusual form, so that tests and demonstrations can find them.
#pragma once

#include "contest.h"
#include "log_form.h"

#include <string>

namespace zelk::gen {

// Tab-separated lines "file, QSO number or -, verdict, detail", sorted by file and QSO number, after a
// comment line naming the columns; files by the names the logs arrive under. The verdicts of records:
// receive-error, time-mismatch, repeat, not-confirmed, no-file; the remarks on logs: no-callsign,
// portable, lower-case, lf-only, unknown-tag, and for logs as they arrive mixed-ext, odd-name (both with
// the cleaned name), encoding, tabs and duplicate (on the copy); and no-log for each station that sent
// none (its callsign in the file column).
std::string FaultList(const TGenOptions& o, const TGenContest& contest,
                      const std::vector<TGenLogForm>& forms);

} // namespace zelk::gen
