// The kinds of printed report, as the setting QLastReport stores them and the report catalogue lists them.
#pragma once

namespace zelk {

// Report kinds: 0 none, 1 log printout, 2 standings, 3 logs received, 4 check report of one log,
// 5 logs not received, 6 standings by category, 7 log checking report of the selected log.
enum TReportKind : int {
    rkNone = 0,
    rkEditFile,
    rkTournament,
    rkFilesExists,
    rkQSOCalc,
    rkNoFile,
    rkCategories,
    rkLogCheck,
    rkLastKind = rkLogCheck
};

} // namespace zelk
