// TfmExplorer: the main window. It owns the open contest, shows its log list, the selected log's header
// and QSO rows and the status panels, and starts every command; the judging itself is the core's.
#pragma once

#include "logs/contest.h"
#include "ui/explorer_progress.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;
class QTimer;
class QToolBar;

namespace zelk::ui {

class TColumnFit;
class TExplorerReports;
class TfmFind;
class TfmFindQSO;
class TReportView;
class TRowListModel;

class TfmExplorer : public QMainWindow {
    Q_OBJECT
  public:
    // Loads the settings and the column widths and applies the stored geometry. The settings object's
    // per-user store must be set before.
    explicit TfmExplorer(QWidget* parent = nullptr);
    ~TfmExplorer() override;

    // The find-in-list dialog that typing in the log list opens (created after the window).
    void SetFindDialog(TfmFind* find) { fmFind_ = find; }
    // A contest folder given on the command line: opened at the first show as if chosen with actOpen.
    void SetStartFolder(const std::string& folder) { startFolder_ = folder; }

    TZelkContest& Contest() { return contest_; }
    // The report components frFilesList and frCalc with their datasets.
    TExplorerReports& Reports() { return *reports_; }

    // actOpen after the folder was chosen: the folder becomes the contest folder and is listed.
    void OpenFolder(const std::string& folder);
    // Lists the contest folder anew, selects the log loaded last (or the first) and loads it at once.
    void RebuildList();
    // Loads the selected log now (the selection timer's work).
    void LoadSelected();

    // The text of the status bar's message panel: what the last command did or why it stopped.
    QString Message() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateActions();
    void CreateLayout();
    void CreateMenus();
    QToolBar* CreateToolBar(const QString& name);
    void CreatePopupMenus();
    void LoadStoredState();
    void ApplyStoredGeometry();
    void ApplyStoredSplits();
    void KeepOnScreen();
    void FirstShow();
    void FitLeftPanel();

    // Commands.
    void actOpenExecute();
    void actFilesRefreshExecute();
    void actCalcAllFilesExecute();
    void actCalcQSOExecute();
    void actRefreshExecute();
    void actFilesDeleteExecute();
    void actFilesEditExecute();
    void actSaveCalcReportExecute();
    void actSaveLCRReportExecute();
    void actFindQSOExecute();
    void actViewQSOExecute();
    void OptionsExecute(int page);
    void actPrintExecute();
    void actDesignExecute();
    void actPrintCalcReportExecute();
    void actDesignCalcReportExecute();
    void OpenReportsDialog(int kind);
    void SortBy(int column);

    // Display of the contest's data.
    void ShowLogList();
    void ShowSelectedLog();
    void ShowStatus();
    void ShowCheckResults();
    void SyncSelectionToList();
    void OnFilesSelectionChanged();
    void OpenFindDialog(QChar typed);
    void RunPopupDefault(QMenu* menu);
    void ShowMessage(const QString& text);
    void ShowEmptyListHint();

    // Long passes. The stations without a log are counted again before a check when their last count did
    // not finish, so that no log is judged without the conditional credit it is due.
    void CountAbsentIfPending();
    void NoteAbsentCountEnded();
    void LoadWithoutCheck();

    TZelkContest contest_;

    QAction* actOpen;
    QAction* actFilesRefresh;
    QAction* actCalcAllFiles;
    QAction* actFindQSO;
    QAction* actExit;
    QAction* actFilesEdit;
    QAction* actFilesDelete;
    QAction* actRefresh;
    QAction* actCalcQSO;
    QAction* actViewQSO;
    QAction* actSaveCalcReport;
    QAction* actSaveLCRReport;
    QAction* actPrintCalcReport;
    QAction* actDesignCalcReport;
    QAction* actPrint;
    QAction* actDesign;
    QAction* actRepOut;
    QAction* actRepFilesExists;
    QAction* actRepNoFile;
    QAction* actRepTournament;
    QAction* actFilesOptions;
    QAction* actQSOOptions;
    QAction* actSortByN;
    QAction* actSortByS;

    QWidget* leftPanel_;
    QWidget* rightPanel_;
    QSplitter* splitterMain_;
    QSplitter* splitterLog_;
    QFrame* paFileCaption_;
    QLabel* paHeaderCaption_;
    TReportView* lvFiles_;
    TReportView* lvQSOHeader_;
    TReportView* lvQSODetail_;
    TRowListModel* filesModel_;
    TRowListModel* headerModel_;
    TRowListModel* qsoModel_;
    TColumnFit* filesFit_;
    TColumnFit* headerFit_;
    TColumnFit* qsoFit_;
    std::array<QLabel*, 7> statusPanels_{};
    QLabel* stMessage_;
    QMenu* pmFiles_;
    QMenu* pmQSOHeader_;
    QMenu* pmQSODetail_;
    QTimer* tmrFileSelect_;

    std::unique_ptr<TExplorerProgress> progress_;
    std::unique_ptr<TExplorerReports> reports_; // frFilesList, frCalc and their datasets
    TfmFind* fmFind_ = nullptr;
    TfmFindQSO* fmFindQSO_ = nullptr; // made on first use, kept hidden between uses
    std::string startFolder_;
    bool shown_ = false;
    bool busy_ = false;               // a long pass is running
    bool syncingSelection_ = false;   // the window itself is moving the list's selection
    bool absentCountPending_ = false; // the last count of the stations without a log did not finish
    bool closeAsked_ = false;         // the judge closed the window during a pass; it closes after it
    bool judgeSplit_ = false;         // the left panel's width is the judge's (stored or dragged)
};

} // namespace zelk::ui
