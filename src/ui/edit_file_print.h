// The log editor's printout component: the log printout layout over the editor's lines.
#pragma once

#include "reports/report_sources.h"
#include "ui/report/fr_report.h"

#include <string>
#include <vector>

namespace zelk::ui {

class TfmEditFile;

class TEditFilePrint {
  public:
    explicit TEditFilePrint(const TfmEditFile& editor);
    TEditFilePrint(const TEditFilePrint&) = delete;
    TEditFilePrint& operator=(const TEditFilePrint&) = delete;

    // Takes the editor's text as it is now; the report reads these lines until the next print.
    void TakeLines();

    rep::TfrUserDataset frUserDataset;
    rep::TfrReport frEditFile;

  private:
    const TfmEditFile& editor_;
    std::vector<std::string> lines_;
    TZelkReportCursor cursor_;
};

} // namespace zelk::ui
