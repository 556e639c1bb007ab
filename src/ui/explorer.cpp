// The main window's own logic: start-up and shutdown, the selection and its delayed loading, the
// splitters and status panels, and the commands on the contest.
#include "ui/explorer.h"

#include "judge/judge.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/lcr_report.h"
#include "reports/ubn_report.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/column_fit.h"
#include "ui/command_guard.h"
#include "ui/delete_dialog.h"
#include "ui/desktop_judging.h"
#include "ui/edit_file.h"
#include "ui/explorer_reports.h"
#include "ui/find_dialog.h"
#include "ui/find_qso.h"
#include "ui/options_dialog.h"
#include "ui/progress_panel.h"
#include "ui/qt_text.h"
#include "ui/report_view.h"
#include "ui/row_model.h"
#include "ui/trash.h"
#include "ui/view_qso.h"
#include "ui/wait_cursor.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QTableView>
#include <QTimer>

#include <filesystem>
#include <system_error>

namespace zelk::ui {
namespace {

// Marks a long pass as running and, on every path, closes the progress display when the pass left it open.
// A close of the window that the judge confirmed during the pass follows once the command has returned.
class TPassGuard {
  public:
    TPassGuard(bool& busy, TExplorerProgress& progress, bool& closeAsked, QWidget* window)
        : busy_(busy), progress_(progress), closeAsked_(closeAsked), window_(window) {
        busy_ = true;
    }
    ~TPassGuard() {
        progress_.Finish();
        busy_ = false;
        if (!closeAsked_) return;
        closeAsked_ = false;
        QTimer::singleShot(0, window_, &QWidget::close);
    }
    TPassGuard(const TPassGuard&) = delete;
    TPassGuard& operator=(const TPassGuard&) = delete;

  private:
    bool& busy_;
    TExplorerProgress& progress_;
    bool& closeAsked_;
    QWidget* window_;
};

// True when the folder holds at least one file, whatever its name.
bool FolderHoldsFiles(const std::string& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(PathFromText(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->is_regular_file(ec)) return true;
    }
    return false;
}

} // namespace

TfmExplorer::TfmExplorer(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fmExplorer"));
    setWindowIcon(TZelkResources::AppIcon());
    reports_ = std::make_unique<TExplorerReports>(contest_);
    CreateActions();
    CreateLayout();
    CreateMenus();
    CreatePopupMenus();
    LoadStoredState();
    setWindowTitle(Qs(Vars().AppName));
    lvFiles_->setFocus();
    Vars().HelpFile = Vars().Paths().DataFile("help/help.chm");
    contest_.SortColumn = -1;
    contest_.PendingSearchText.clear();
    ShowStatus();
}

TfmExplorer::~TfmExplorer() {
    // The views still ask their models for rows while QWidget's destructor removes them, when the
    // contest the models read has already gone: they are detached while it is still here.
    for (QTableView* view : {lvFiles_, lvQSOHeader_, lvQSODetail_})
        view->setModel(nullptr);
}

// Settings, geometry and column widths; a failure of one is shown and the others still apply. Columns
// without a stored width fit their captions at once and their rows whenever the rows change.
void TfmExplorer::LoadStoredState() {
    RunCommand([] { Vars().LoadSettings(); });
    ApplyStoredGeometry();
    for (TColumnFit* fit : {filesFit_, headerFit_, qsoFit_}) {
        RunCommand([fit] { fit->LoadStored(); });
        fit->Fit();
    }
}

// Only stored values greater than 0 replace the first-start placement, each on its own: about four
// fifths of the available screen, in its middle.
void TfmExplorer::ApplyStoredGeometry() {
    const auto& v = Vars();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QSize size(area.width() * 4 / 5, area.height() * 4 / 5);
    if (v.WExHeight > 0) size.setHeight(v.WExHeight);
    if (v.WExWidth > 0) size.setWidth(v.WExWidth);
    resize(size);
    QPoint at(area.left() + (area.width() - size.width()) / 2,
              area.top() + (area.height() - size.height()) / 2);
    if (v.WExTop > 0) at.setY(v.WExTop);
    if (v.WExLeft > 0) at.setX(v.WExLeft);
    move(at);
    if (v.WExTop > 0 || v.WExLeft > 0) KeepOnScreen();
}

// A position stored on a screen that is no longer there brings the window back onto the nearest one,
// shrunk to fit when needed.
void TfmExplorer::KeepOnScreen() {
    const QRect frame(pos(), size());
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen) return;
    screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    resize(size().boundedTo(area.size()));
    QPoint at = frame.topLeft();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    move(at);
}

void TfmExplorer::ApplyStoredSplits() {
    const auto& v = Vars();
    if (v.WExSplit > 0) {
        judgeSplit_ = true;
        const int total = splitterMain_->width() - splitterMain_->handleWidth();
        const int split = std::max(v.WExSplit, leftPanel_->minimumWidth());
        splitterMain_->setSizes({split, std::max(total - split, 1)});
    }
    if (v.WExHdrHeight > 0) {
        const int total = splitterLog_->height() - splitterLog_->handleWidth();
        const int split = std::max(v.WExHdrHeight, lvQSOHeader_->minimumHeight());
        splitterLog_->setSizes({split, std::max(total - split, 1)});
    }
}

void TfmExplorer::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    ApplyStoredSplits();
    FitLeftPanel();
    QTimer::singleShot(0, this, [this] { RunCommand([this] { FirstShow(); }); });
}

// The first showing lists the contest folder and loads the log loaded last; the selection timer then
// starts as for a change of the selected row. Only the first showing does this: becoming the active
// window again (after the find-in-list dialog, say) keeps the list, its results and the row just chosen.
void TfmExplorer::FirstShow() {
    if (!startFolder_.empty()) {
        const std::string folder = std::move(startFolder_);
        startFolder_.clear();
        OpenFolder(folder);
    } else {
        RebuildList();
    }
    tmrFileSelect_->start();
}

// During a pass the judge is asked first; the window closes once the pass has stopped.
void TfmExplorer::closeEvent(QCloseEvent* event) {
    if (progress_->Panel().Running()) {
        event->ignore();
        if (Messages().Ask("Файлы ещё проверяются. Остановить работу и закрыть программу?"_cp)) {
            closeAsked_ = true;
            progress_->Panel().Cancel();
        }
        return;
    }
    auto& v = Vars();
    v.WExTop = y();
    v.WExLeft = x();
    v.WExHeight = height();
    v.WExWidth = width();
    v.WExSplit = leftPanel_->width();
    v.WExHdrHeight = lvQSOHeader_->height();
    RunCommand([] { Vars().SaveSettings(); });
    RunCommand([this] {
        for (const TColumnFit* fit : {filesFit_, headerFit_, qsoFit_})
            fit->SaveStored();
    });
    tmrFileSelect_->stop();
    if (fmFind_) fmFind_->hide();
    event->accept();
}

void TfmExplorer::OpenFolder(const std::string& folder) {
    Vars().CurrentFolder = folder;
    if (!DirectoryExists(Vars().CurrentUBNFolder)) Vars().CurrentUBNFolder = folder;
    RebuildList();
}

// A rebuild stopped while the stations without a log are counted still lists the folder and loads the
// log loaded last; the count is made again before the next check.
void TfmExplorer::RebuildList() {
    if (busy_) return;
    tmrFileSelect_->stop();
    TWaitCursor wait;
    bool stopped = false;
    {
        TPassGuard pass(busy_, *progress_, closeAsked_, this);
        progress_->Panel().Forget();
        try {
            RebuildLogList(contest_, progress_.get());
            absentCountPending_ = false;
        } catch (const TZelkCancelled&) {
            stopped = true;
        } catch (...) {
            NoteAbsentCountEnded();
            ShowLogList();
            throw;
        }
        if (stopped) NoteAbsentCountEnded();
    }
    if (stopped) {
        const bool selected = contest_.SelectInitialLog(Vars().QLastCall);
        ShowLogList();
        ShowMessage(QStringLiteral("Подсчёт станций без отчёта остановлен (%1 из %2): он будет сделан "
                                   "заново перед проверкой")
                        .arg(progress_->Panel().Done())
                        .arg(progress_->Panel().Total()));
        if (selected) LoadWithoutCheck();
        return;
    }
    if (contest_.SelectedLog < 0) contest_.ClearLoadedLog();
    ShowLogList();
    ShowSelectedLog();
}

// After a rebuild that did not finish: while conditional credit is on, a count that did not reach its
// last log is no count at all.
void TfmExplorer::NoteAbsentCountEnded() {
    if (!Vars().NoFileIncludeResults || contest_.Logs.empty() || progress_->Panel().Completed()) return;
    contest_.NoFileCalls.clear();
    absentCountPending_ = true;
}

void TfmExplorer::CountAbsentIfPending() {
    if (!absentCountPending_) return;
    if (!Vars().NoFileIncludeResults) {
        absentCountPending_ = false;
        return;
    }
    {
        TPassGuard pass(busy_, *progress_, closeAsked_, this);
        try {
            CountNoFileMentions(contest_, Vars().Judging(), contest_.NoFileCalls, progress_.get());
        } catch (const TZelkCancelled&) {
            contest_.NoFileCalls.clear();
            ShowMessage(QStringLiteral("Подсчёт станций без отчёта остановлен (%1 из %2): проверка не "
                                       "сделана")
                            .arg(progress_->Panel().Done())
                            .arg(progress_->Panel().Total()));
            throw;
        }
    }
    absentCountPending_ = false;
}

void TfmExplorer::LoadSelected() {
    if (busy_) {
        tmrFileSelect_->start();
        return;
    }
    tmrFileSelect_->stop();
    if (Vars().AutoCalcQSO && absentCountPending_) {
        LoadWithoutCheck();
        ShowMessage(QStringLiteral("Файл загружен без проверки: подсчёт станций без отчёта был остановлен"));
        return;
    }
    TWaitCursor wait;
    try {
        LoadSelectedLog(contest_);
    } catch (...) {
        ShowSelectedLog();
        throw;
    }
    ShowSelectedLog();
    filesModel_->RowChanged(contest_.SelectedLog);
}

// The selected log as loading shows it, without the check that AutoCalcQSO would add.
void TfmExplorer::LoadWithoutCheck() {
    TWaitCursor wait;
    const bool autoCheck = Vars().AutoCalcQSO;
    Vars().AutoCalcQSO = false;
    try {
        LoadSelectedLog(contest_);
    } catch (...) {
        Vars().AutoCalcQSO = autoCheck;
        ShowSelectedLog();
        throw;
    }
    Vars().AutoCalcQSO = autoCheck;
    ShowSelectedLog();
    filesModel_->RowChanged(contest_.SelectedLog);
}

void TfmExplorer::ShowLogList() {
    filesModel_->Reset();
    SyncSelectionToList();
    ShowStatus();
    ShowEmptyListHint();
}

// An empty log list says why it is empty when the judge can do something about it.
void TfmExplorer::ShowEmptyListHint() {
    const std::string& folder = Vars().CurrentFolder;
    QString hint;
    if (folder.empty() || !DirectoryExists(folder))
        hint = QStringLiteral("Откройте папку соревнования: Данные → Открыть папку (Ctrl+O)");
    else if (contest_.Logs.empty() && FolderHoldsFiles(folder))
        hint = QStringLiteral("В папке нет файлов по маске %1: измените маску в настройках")
                   .arg(Qs(Vars().FilesMask));
    lvFiles_->SetEmptyText(hint);
}

QString TfmExplorer::Message() const {
    return stMessage_->text();
}

void TfmExplorer::ShowMessage(const QString& text) {
    stMessage_->setText(text);
    stMessage_->setToolTip(text);
}

// The header and QSO lists, the header caption and the status panels of the selected log; the QSO row
// chosen by a pending search text is selected and takes the focus.
void TfmExplorer::ShowSelectedLog() {
    headerModel_->Reset();
    qsoModel_->Reset();
    paHeaderCaption_->setText(Qs(contest_.HeaderCaption));
    ShowStatus();
    if (contest_.SelectedQSO >= 0 && contest_.SelectedQSO < qsoModel_->rowCount()) {
        const QModelIndex index = qsoModel_->index(contest_.SelectedQSO, 0);
        lvQSODetail_->setCurrentIndex(index);
        lvQSODetail_->scrollTo(index);
        lvQSODetail_->setFocus();
    }
}

void TfmExplorer::ShowStatus() {
    for (size_t i = 0; i < statusPanels_.size(); ++i)
        statusPanels_[i]->setText(Qs(contest_.Status[i]));
}

void TfmExplorer::SyncSelectionToList() {
    syncingSelection_ = true;
    QItemSelectionModel* selection = lvFiles_->selectionModel();
    selection->clear();
    const int rows = filesModel_->rowCount();
    if (contest_.FocusedLog >= 0 && contest_.FocusedLog < rows)
        selection->setCurrentIndex(filesModel_->index(contest_.FocusedLog, 0), QItemSelectionModel::NoUpdate);
    if (contest_.SelectedLog >= 0 && contest_.SelectedLog < rows) {
        const QModelIndex index = filesModel_->index(contest_.SelectedLog, 0);
        selection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        lvFiles_->scrollTo(index);
    }
    syncingSelection_ = false;
}

// A change of the selection by the judge (keys, mouse, the find dialog) loads the newly selected log once
// the selection has rested for the timer's interval.
void TfmExplorer::OnFilesSelectionChanged() {
    if (syncingSelection_) return;
    const QModelIndexList rows = lvFiles_->selectionModel()->selectedRows();
    contest_.SelectedLog = rows.isEmpty() ? -1 : rows.first().row();
    const QModelIndex current = lvFiles_->selectionModel()->currentIndex();
    contest_.FocusedLog = current.isValid() ? current.row() : -1;
    tmrFileSelect_->start();
}

void TfmExplorer::actOpenExecute() {
    QFileDialog dialog(this, QStringLiteral("Открыть папку соревнования..."));
    dialog.setObjectName(QStringLiteral("dlgFolder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (DirectoryExists(Vars().CurrentFolder)) dialog.setDirectory(Qs(NativePath(Vars().CurrentFolder)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string folder = Cp(dialog.selectedFiles().first());
    if (!DirectoryExists(folder)) {
        if (!Messages().Ask("The specified directory does not exist. Create it?")) return;
        std::error_code ec;
        std::filesystem::create_directories(PathFromText(folder), ec);
        if (ec) throw TZelkError(FromUtf8(ec.message()));
    }
    OpenFolder(folder);
}

void TfmExplorer::actFilesRefreshExecute() {
    RebuildList();
}

// Every row shows "-" until the run reaches it, so a run stopped by the judge or by an error leaves the
// logs it did not score recognisable.
void TfmExplorer::actCalcAllFilesExecute() {
    if (busy_) return;
    CountAbsentIfPending();
    TWaitCursor wait;
    MarkLogsUnscored(contest_);
    filesModel_->RowsChanged();
    bool stopped = false;
    try {
        TPassGuard pass(busy_, *progress_, closeAsked_, this);
        CheckAllFiles(contest_, Judging(), progress_.get());
    } catch (const TZelkCancelled&) {
        stopped = true;
    } catch (...) {
        filesModel_->RowsChanged();
        throw;
    }
    filesModel_->RowsChanged();
    const TProgressPanel& panel = progress_->Panel();
    if (stopped)
        ShowMessage(QStringLiteral("Проверка всех файлов остановлена: проверено %1 из %2, у остальных «-»")
                        .arg(panel.Done())
                        .arg(panel.Total()));
    else
        ShowMessage(QStringLiteral("Проверены все файлы: %1").arg(contest_.Logs.size()));
}

void TfmExplorer::actCalcQSOExecute() {
    if (busy_ || contest_.SelectedLog < 0) return;
    CountAbsentIfPending();
    TWaitCursor wait;
    try {
        CheckAllRecords(contest_, Judging());
    } catch (...) {
        ShowCheckResults();
        throw;
    }
    ShowCheckResults();
}

// The cells and marks of the QSO rows, the status panels and the selected log's row after a check.
void TfmExplorer::ShowCheckResults() {
    qsoModel_->RowsChanged();
    filesModel_->RowChanged(contest_.SelectedLog);
    ShowStatus();
}

// Writes the UBN report of the selected log to the file the judge chooses; the report checks the log
// afresh, so the lists, the status panels and the log's row show the new results as well.
void TfmExplorer::actSaveCalcReportExecute() {
    if (busy_ || contest_.SelectedLog < 0) return;
    QFileDialog dialog(this, QStringLiteral("Сохранить файл"));
    dialog.setObjectName(QStringLiteral("dlgSaveCalc"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(QStringLiteral("UBN"));
    dialog.setNameFilters(
        DialogFilters(QStringLiteral("UBN - файлы отчёта|*.ubn|Текстовый файлы|*.txt|Все файлы|*.*")));
    const std::string proposed = ProposedUBNFileName(contest_, Vars().UBNExt);
    if (DirectoryExists(Vars().CurrentUBNFolder))
        dialog.setDirectory(Qs(NativePath(Vars().CurrentUBNFolder)));
    dialog.selectFile(Qs(ExtractFileName(proposed)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string file = Cp(dialog.selectedFiles().first());
    CountAbsentIfPending();
    TWaitCursor wait;
    try {
        Vars().CurrentUBNFolder = ExtractFilePath(file);
        SaveUBNReport(contest_, Judging(), file);
    } catch (...) {
        ShowCheckResults();
        throw;
    }
    ShowCheckResults();
    ShowMessage(QStringLiteral("Записан файл отчёта: %1").arg(Qs(NativePath(file))));
}

// "Создать отчёт о проверке журнала": the log checking report of the selected log, written without a
// question beside the UBN reports (the folder of the last one); the lists keep what they show.
void TfmExplorer::actSaveLCRReportExecute() {
    if (busy_ || contest_.SelectedLog < 0) return;
    CountAbsentIfPending();
    TWaitCursor wait;
    const std::string folder =
        DirectoryExists(Vars().CurrentUBNFolder) ? Vars().CurrentUBNFolder : contest_.Folder();
    const std::string file = SaveSelectedLCRReport(contest_, Judging(), folder);
    if (!file.empty())
        ShowMessage(QStringLiteral("Записан отчёт о проверке журнала: %1").arg(Qs(NativePath(file))));
}

void TfmExplorer::actRefreshExecute() {
    if (contest_.SelectedLog < 0) return;
    LoadSelected();
}

// Moves the selected log to the desktop's trash after the confirmation, or deletes it for good where
// there is no trash, as the confirmation says; the row that takes the focus mark becomes the selected
// one and loads after the usual delay.
void TfmExplorer::actFilesDeleteExecute() {
    if (busy_) return;
    const int row = contest_.SelectedLog;
    const std::string path = contest_.SelectedLogPath();
    if (row < 0 || path.empty() || !FileExists(path)) return;
    const QString file = Qs(path);
    const bool toTrash = TrashAvailable(file);
    if (!ConfirmDelete(Qs(NativePath(path)), toTrash, this)) return;
    if (toTrash) {
        if (!MoveToTrash(file)) {
            Messages().Error(FormatText("Не удалось переместить файл в корзину: %s"_cp, path), "");
            return;
        }
    } else {
        std::error_code ec;
        if (!std::filesystem::remove(PathFromText(path), ec) || ec) {
            Messages().Error(
                FormatText("Не удалось удалить файл %s"_cp, path) + "\n" + FromUtf8(ec.message()), "");
            return;
        }
    }
    contest_.Logs.erase(contest_.Logs.begin() + row);
    contest_.UpdateFileCount();
    const int next = std::min(row, static_cast<int>(contest_.Logs.size()) - 1);
    contest_.SelectedLog = contest_.FocusedLog = next;
    if (next < 0) {
        contest_.ClearLoadedLog();
        ShowSelectedLog();
    }
    ShowLogList();
    ShowMessage(toTrash ? QStringLiteral("Файл перемещён в корзину: %1").arg(Qs(NativePath(path)))
                        : QStringLiteral("Файл удалён: %1").arg(Qs(NativePath(path))));
    if (next >= 0) tmrFileSelect_->start();
}

// Opens the log editor on the selected log (the open dialog first when none is selected); a save in the
// editor brings the selected log in again.
void TfmExplorer::actFilesEditExecute() {
    if (busy_) return;
    EditLogFile(contest_.SelectedLogPath(), this);
    if (Vars().LogEdited) actRefreshExecute();
}

// The QSO search. A chosen log is selected and loaded at once with the search text pending, so that its
// first matching contact is selected; a name no longer in the list leaves everything as it is.
void TfmExplorer::actFindQSOExecute() {
    if (busy_) return;
    if (!fmFindQSO_) fmFindQSO_ = new TfmFindQSO(contest_, this);
    if (!fmFindQSO_->Execute() || fmFindQSO_->ChosenFileName().empty()) return;
    contest_.PendingSearchText = fmFindQSO_->SearchText();
    if (!contest_.SelectLogByName(fmFindQSO_->ChosenFileName())) {
        contest_.PendingSearchText.clear();
        return;
    }
    SyncSelectionToList();
    LoadSelected();
}

void TfmExplorer::actViewQSOExecute() {
    if (busy_) return;
    const QModelIndexList rows = lvQSODetail_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return;
    CountAbsentIfPending();
    ShowQSOViewer(contest_, rows.first().row(), frameGeometry(), this);
}

// The settings dialog on `page`; OK lists the contest folder anew under the new settings.
void TfmExplorer::OptionsExecute(int page) {
    if (busy_) return;
    if (ShowOptions(page, this)) actFilesRefreshExecute();
}

void TfmExplorer::SortBy(int column) {
    if (busy_) return;
    contest_.SortLogs(column);
    ShowLogList();
}

void TfmExplorer::OpenFindDialog(QChar typed) {
    if (!fmFind_) return;
    fmFind_->Open(lvFiles_, typed, frameGeometry());
}

void TfmExplorer::RunPopupDefault(QMenu* menu) {
    if (QAction* action = menu->defaultAction()) action->trigger();
}

bool TfmExplorer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == leftPanel_ && event->type() == QEvent::Resize) {
        statusPanels_[0]->setFixedWidth(leftPanel_->width());
        return false;
    }
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == lvFiles_) {
        if (enter) return actFilesEdit->trigger(), true;
        if (key->key() == Qt::Key_Delete) return actFilesDelete->trigger(), true;
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            TfmFind::OpensSearch(key->text())) {
            OpenFindDialog(key->text()[0]);
            return true;
        }
    } else if (watched == lvQSOHeader_ && enter) {
        return actFilesEdit->trigger(), true;
    } else if (watched == lvQSODetail_ && enter) {
        return actViewQSO->trigger(), true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zelk::ui
