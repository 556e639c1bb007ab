// TfmReports: the report output dialog "Формирование отчёта". The judge picks one of the contest's
// reports (logs received, absent logs, standings), sets its parameters and previews, prints or redesigns
// it; the dialog prepares the report's data first and stays open afterwards.
#pragma once

#include "ui/report/fr_report.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace zelk {
class TZelkContest;
}

namespace zelk::ui {

class TExplorerReports;
class TProgressPanel;

class TfmReports : public QDialog {
    Q_OBJECT
  public:
    TfmReports(TExplorerReports& reports, TZelkContest& contest, QWidget* parent = nullptr);
    ~TfmReports() override;

    // Preselects the report of `kind`, places the dialog over `mainFrame` and shows it modally.
    void Execute(int kind, const QRect& mainFrame);

    // The dialog's top-left corner centred over the main window; a negative coordinate becomes the main
    // window's own.
    static QPoint PlaceOver(const QRect& mainFrame, const QSize& dialog);

    // Selects the dialog entry of `kind` (0 clears the selection; kinds the dialog does not offer leave
    // it as it is) and shows its parameters.
    void SelectKind(int kind);
    // The report kind selected now, 0 for none.
    int SelectedKind() const;

    // Preview (or designer) of the selected report after its data has been prepared; nothing happens
    // while no report is selected. The standings' scoring and the count of the stations without a log
    // show their progress in the dialog; stopped there, they leave the report unshown and say so.
    void RunReport(bool design);
    // What the last preparation said when it was stopped, or empty text.
    QString StoppedText() const;

    rep::TfrReport& Report() { return frReport_; }
    rep::TfrMemoryTable& NoFileTable() { return mtReport_; }

  signals:
    // The standings have scored or sorted the log list.
    void LogListChanged();

  public slots:
    // Closing while the data is prepared stops the preparation instead.
    void reject() override;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void CreateControls();
    void OnSelectionChanged();
    bool PrepareData(int kind);
    void FillNoFileTable();
    void FillCategoryTable();
    void FillLogCheckTable();

    TExplorerReports& reports_;
    TZelkContest& contest_;
    rep::TfrReport frReport_;
    rep::TfrMemoryTable mtReport_;

    QComboBox* cbReport_;
    QStackedWidget* nbReportParameters_;
    QWidget* np_NoParam_;
    QWidget* np_Tournament_;
    TProgressPanel* paProgress_;
    QLabel* lbStopped_;
    QCheckBox* cbRecalcAll_;
    QPushButton* btnPreview_;
    QPushButton* btnCancel_;
    QMenu* pmRepOut_;
};

} // namespace zelk::ui
