// TfrReportImpl: what a TfrReport holds - its layout and file name, its datasets and variable callback,
// and the pages of the last preparation - with the exports of those pages. The program's tests reach it
// through TfrReport::Impl() to look at prepared pages without opening a window.
#pragma once

#include "ui/report/fr_export.h"
#include "ui/report/fr_layout.h"
#include "ui/report/fr_prepare.h"
#include "ui/report/fr_prepared.h"

#include <QString>

namespace zelk::rep {

class TfrReportImpl {
  public:
    const TfrLayout& Layout() const { return layout_; }
    void SetLayout(TfrLayout layout);
    const TfrDataSources& Sources() const { return sources_; }
    TfrDataSources& Sources() { return sources_; }

    QString FileName() const { return fileName_; }
    void SetFileName(const QString& path) { fileName_ = path; }
    // Why the last LoadFromFile kept the current layout (empty after a successful load).
    QString LoadError() const { return loadError_; }

    // A layout read from `path` replaces the current one and `path` becomes the file name; a missing or
    // unreadable file changes neither.
    bool Load(const QString& path);
    void Save(const QString& path) const;

    // Prepares the pages from the layout (TZelkError on a failing expression).
    void Prepare(const TfrPrepareOptions& options = {});
    const TfrPreparedReport& Prepared() const { return prepared_; }
    void SetPrepared(TfrPreparedReport report) { prepared_ = std::move(report); }

    // The prepared pages as a text, CSV, ... (see fr_export.h).
    void Export(TfrExportFormat format, const QString& path) const { ExportToFile(prepared_, format, path); }

  private:
    TfrLayout layout_;
    QString fileName_;
    QString loadError_;
    TfrDataSources sources_;
    TfrPreparedReport prepared_;
};

} // namespace zelk::rep
