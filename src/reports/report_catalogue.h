// The catalogue of printed reports: which report kinds the report dialog offers and in which order, how a
// stored kind becomes the dialog's selection, and the names under which layouts find their row sources.
#pragma once

#include "settings/report_kind.h"

#include <array>
#include <cstddef>

namespace zelk {

// The entries of the report dialog's list, by position: logs received, absent logs, standings, standings
// by category, the log checking report of the selected log.
inline constexpr std::array<int, 5> kDialogReportKinds = {rkFilesExists, rkNoFile, rkTournament, rkCategories,
                                                          rkLogCheck};

// The dialog entry a report kind selects when the dialog opens: kind 0 selects nothing (-1); the kinds
// the dialog does not offer (the log printout and the check report) leave `current` as it is.
int DialogEntryForKind(int kind, int current);
// The report kind of a dialog entry; rkNone when nothing (or no known entry) is selected.
int KindOfDialogEntry(int entry);

// Dataset names a layout's data band binds to.
inline constexpr const char* kFilesListDataset = "frdsFilesList"; // log-list rows (main window)
inline constexpr const char* kCalcDataset = "frdsCalc";           // QSO rows of the selected log
inline constexpr const char* kNoFileDataset = "frMTDataSet";      // the absent-log table (report dialog)
inline constexpr const char* kEditFileDataset = "frUserDataset";  // editor lines (log editor)
inline constexpr const char* kCategoriesDataset =
    "frCategoryDataSet";                                             // standings by category (report dialog)
inline constexpr const char* kLogCheckDataset = "frLogCheckDataSet"; // lines of the log checking report

} // namespace zelk
