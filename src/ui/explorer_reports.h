// The main window's printed reports: the report components frFilesList (the list of logs) and frCalc (the
// selected log's check report), the two row sources as the engine's datasets frdsFilesList and frdsCalc
// with their variables, and the steps that load a report kind's layout and preview or design it, which
// the report dialog uses as well.
#pragma once

#include "reports/report_sources.h"
#include "ui/report/fr_report.h"

#include <QString>

class QWidget;

namespace zelk {
class TZelkContest;
}

namespace zelk::ui {

// Loads the layout of report `kind` into `report`. An empty layout path (an empty stored name) loads
// nothing; a missing file keeps the report's current layout. Returns the layout path.
QString LoadReportLayout(rep::TfrReport& report, int kind);

// Loads the layout of `kind` and shows the engine's preview.
void PreviewReport(rep::TfrReport& report, int kind, QWidget* parent);

// Loads the layout of `kind` and opens the designer. With `saveToLayoutFile` the report's file name
// becomes the layout's save path even when that file does not exist yet, so that saving in the designer
// writes the layout there. A layout loaded from the program's data folder is saved to the user's copy.
void DesignReport(rep::TfrReport& report, int kind, bool saveToLayoutFile, QWidget* parent);

class TExplorerReports {
  public:
    explicit TExplorerReports(TZelkContest& contest);
    TExplorerReports(const TExplorerReports&) = delete;
    TExplorerReports& operator=(const TExplorerReports&) = delete;

    // Gives `report` the log-list dataset and the log-list variables (frFilesList, and the report
    // dialog's report for the standings and the logs received).
    void BindFilesList(rep::TfrReport& report);

    TZelkFilesListSource FilesList;
    TZelkCalcSource Calc;
    rep::TfrUserDataset frdsFilesList;
    rep::TfrUserDataset frdsCalc;
    rep::TfrReport frFilesList;
    rep::TfrReport frCalc;
};

} // namespace zelk::ui
