// TfrPreviewForm: the preview window of a prepared report. The judge pages through it, zooms, finds a
// text, prints through the system's print dialog, saves or loads a prepared report, exports it, opens
// help and closes it.
#pragma once

#include "ui/report/fr_export.h"
#include "ui/report/fr_prepared.h"

#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolBar;

namespace zelk::rep {

class TfrPageView;

class TfrPreviewForm : public QDialog {
    Q_OBJECT
  public:
    explicit TfrPreviewForm(TfrPreparedReport report, QWidget* parent = nullptr);
    ~TfrPreviewForm() override;

    const TfrPreparedReport& Report() const { return report_; }
    // The name the print job and the proposed file names of save and export take (the layout's name,
    // such as "Tournament"); the window's caption until one is given.
    QString DocumentName() const;
    void SetDocumentName(const QString& name) { documentName_ = name; }

    // The page shown, from 0.
    int PageIndex() const { return page_; }
    void ShowPage(int index);

    enum class TFit { None, PageWidth, WholePage };
    // 1 is the page's real size; setting a zoom ends fitting.
    double Zoom() const;
    void SetZoom(double zoom);
    void SetFit(TFit fit);

    // Looks for `text` (letter case ignored) after the item found last, or from the first page; shows and
    // marks the item found. False when there is none.
    bool Find(const QString& text, bool fromStart);

    // Prints the pages the printer's range asks for (all when it has none).
    void PrintTo(QPrinter& printer) const;
    // Save and load of a prepared report; errors raise TZelkError.
    void SavePrepared(const QString& path) const;
    void LoadPrepared(const QString& path);
    void Export(TfrExportFormat format, const QString& path) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QString documentName_;
    void CreateActions();
    void CreateLayout();
    void UpdateControls();
    void ApplyFit();
    void ZoomBy(double factor);

    void actFindExecute();
    void actFindNextExecute();
    void actPrintExecute();
    void actOpenExecute();
    void actSaveExecute();
    void actExportExecute();

    TfrPreparedReport report_;
    int page_ = 0;
    TFit fit_ = TFit::PageWidth;
    QString findText_;
    int foundPage_ = -1, foundBand_ = -1, foundItem_ = -1;

    QToolBar* tbPreview_;
    QScrollArea* saPage_;
    TfrPageView* pvPage_;
    QSpinBox* edPage_;
    QLabel* lbPageCount_;
    QComboBox* cbZoom_;
    QLabel* lbStatus_;

    QAction* actFirstPage;
    QAction* actPriorPage;
    QAction* actNextPage;
    QAction* actLastPage;
    QAction* actZoomIn;
    QAction* actZoomOut;
    QAction* actFind;
    QAction* actFindNext;
    QAction* actPrint;
    QAction* actOpen;
    QAction* actSave;
    QAction* actExport;
    QAction* actHelp;
    QAction* actClose;
};

} // namespace zelk::rep
