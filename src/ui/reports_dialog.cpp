// The report output dialog: its controls, the choice of report, and the preparation of the chosen
// report's data before the engine previews or designs it.
#include "ui/reports_dialog.h"

#include "judge/analysis.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/text.h"
#include "reports/category_standings.h"
#include "reports/lcr_report.h"
#include "reports/report_catalogue.h"
#include "reports/report_data.h"
#include "settings/global_vars.h"
#include "ui/command_guard.h"
#include "ui/desktop_judging.h"
#include "ui/explorer_progress.h"
#include "ui/explorer_reports.h"
#include "ui/progress_panel.h"
#include "ui/wait_cursor.h"
#include "ui/window_place.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zelk::ui {

TfmReports::TfmReports(TExplorerReports& reports, TZelkContest& contest, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), reports_(reports), contest_(contest) {
    setObjectName(QStringLiteral("fmReports"));
    setWindowTitle(QStringLiteral("Формирование отчёта"));
    setModal(true);
    CreateControls();
    reports_.BindFilesList(frReport_);
    frReport_.SetDataset(kNoFileDataset, &mtReport_);
    frReport_.SetDataset(kCategoriesDataset, &mtReport_);
    frReport_.SetDataset(kLogCheckDataset, &mtReport_);
}

TfmReports::~TfmReports() = default;

void TfmReports::CreateControls() {
    cbReport_ = new QComboBox(this);
    cbReport_->setObjectName(QStringLiteral("cbReport"));
    cbReport_->addItems({QStringLiteral("Список присланных файлов"),
                         QStringLiteral("Список отсутствующих файлов"), QStringLiteral("Турнирная таблица"),
                         QStringLiteral("Турнирная таблица по категориям"),
                         QStringLiteral("Отчёт о проверке выбранного файла")});
    cbReport_->setCurrentIndex(-1);
    cbReport_->setMinimumWidth(260);

    nbReportParameters_ = new QStackedWidget(this);
    nbReportParameters_->setObjectName(QStringLiteral("nbReportParameters"));
    nbReportParameters_->setFrameShape(QFrame::StyledPanel);
    nbReportParameters_->setFrameShadow(QFrame::Sunken);

    np_NoParam_ = new QWidget(nbReportParameters_);
    np_NoParam_->setObjectName(QStringLiteral("np_NoParam"));

    np_Tournament_ = new QWidget(nbReportParameters_);
    np_Tournament_->setObjectName(QStringLiteral("np_Tournament"));
    cbRecalcAll_ = new QCheckBox(QStringLiteral("Пересчитать результаты всех участников"), np_Tournament_);
    cbRecalcAll_->setObjectName(QStringLiteral("cbRecalcAll"));
    auto* tournament = new QVBoxLayout(np_Tournament_);
    tournament->addStretch(1);
    tournament->addWidget(cbRecalcAll_);
    tournament->addStretch(1);

    nbReportParameters_->addWidget(np_NoParam_);
    nbReportParameters_->addWidget(np_Tournament_);
    nbReportParameters_->setFixedHeight(64);

    // The progress of the standings' scoring and of the count of the stations without a log.
    paProgress_ = new TProgressPanel(QStringLiteral("pbProgress"), this);
    lbStopped_ = new QLabel(this);
    lbStopped_->setObjectName(QStringLiteral("lbStopped"));
    lbStopped_->setWordWrap(true);
    lbStopped_->hide();

    btnPreview_ = new QPushButton(QStringLiteral("&Просмотр/Печатать"), this);
    btnPreview_->setObjectName(QStringLiteral("btnPreview"));
    btnPreview_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Закрыть"), this);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnPreview_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbReport_);
    layout->addWidget(nbReportParameters_);
    layout->addWidget(paProgress_);
    layout->addWidget(lbStopped_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    pmRepOut_ = new QMenu(this);
    pmRepOut_->setObjectName(QStringLiteral("pmRepOut"));
    QAction* print = pmRepOut_->addAction(QStringLiteral("Просмотр / Печать отчёта"));
    print->setObjectName(QStringLiteral("piRepPrint"));
    QAction* design = pmRepOut_->addAction(QStringLiteral("Дизайнер отчёта"));
    design->setObjectName(QStringLiteral("piRepDesign"));

    connect(cbReport_, &QComboBox::currentIndexChanged, this, [this] { OnSelectionChanged(); });
    connect(btnPreview_, &QPushButton::clicked, this, [this] { RunCommand([this] { RunReport(false); }); });
    connect(print, &QAction::triggered, this, [this] { RunCommand([this] { RunReport(false); }); });
    connect(design, &QAction::triggered, this, [this] { RunCommand([this] { RunReport(true); }); });
    connect(btnCancel_, &QPushButton::clicked, this, &TfmReports::reject);
}

QPoint TfmReports::PlaceOver(const QRect& mainFrame, const QSize& dialog) {
    int top = mainFrame.top() + mainFrame.height() / 2 - dialog.height() / 2;
    int left = mainFrame.left() + mainFrame.width() / 2 - dialog.width() / 2;
    if (top < 0) top = mainFrame.top();
    if (left < 0) left = mainFrame.left();
    return {left, top};
}

void TfmReports::Execute(int kind, const QRect& mainFrame) {
    SelectKind(kind);
    adjustSize();
    move(PlaceOver(mainFrame, frameGeometry().size()));
    KeepWholeOnScreen(this, mainFrame);
    exec();
}

void TfmReports::SelectKind(int kind) {
    {
        const QSignalBlocker quiet(cbReport_);
        cbReport_->setCurrentIndex(DialogEntryForKind(kind, cbReport_->currentIndex()));
    }
    OnSelectionChanged();
}

int TfmReports::SelectedKind() const {
    return KindOfDialogEntry(cbReport_->currentIndex());
}

// The parameters of the selected report; the choice is remembered for the next dialog and the next run.
void TfmReports::OnSelectionChanged() {
    const int kind = SelectedKind();
    const bool standings = kind == rkTournament || kind == rkCategories;
    nbReportParameters_->setCurrentWidget(standings ? np_Tournament_ : np_NoParam_);
    cbRecalcAll_->setChecked(Vars().RecalcAll);
    Vars().QLastReport = static_cast<std::uint8_t>(kind);
}

void TfmReports::RunReport(bool design) {
    const int kind = SelectedKind();
    if (kind == rkNone) return;
    Vars().RecalcAll = cbRecalcAll_->isChecked();
    lbStopped_->hide();
    lbStopped_->clear();
    if (!PrepareData(kind)) {
        lbStopped_->setText(QStringLiteral("Подготовка отчёта остановлена (%1 из %2): отчёт не показан")
                                .arg(paProgress_->Done())
                                .arg(paProgress_->Total()));
        lbStopped_->show();
        return;
    }
    if (design)
        DesignReport(frReport_, kind, false, this);
    else
        PreviewReport(frReport_, kind, this);
}

QString TfmReports::StoppedText() const {
    return lbStopped_->text();
}

// False when the judge stopped the preparation. The rows the standings scored before a stop or an error
// keep their new cells and the others show "-", so the main window shows them again on every path.
bool TfmReports::PrepareData(int kind) {
    TWaitCursor wait;
    try {
        if (kind == rkNoFile) {
            FillNoFileTable();
            return true;
        }
        if (kind == rkLogCheck) {
            FillLogCheckTable();
            return true;
        }
        if (kind == rkCategories) {
            if (Vars().RecalcAll) MarkLogsUnscored(contest_);
            try {
                FillCategoryTable();
            } catch (...) {
                emit LogListChanged();
                throw;
            }
            emit LogListChanged();
            return true;
        }
        if (kind == rkTournament && Vars().RecalcAll) MarkLogsUnscored(contest_);
        TNoFileRows unused;
        try {
            PrepareReportData(contest_, Judging(), kind, Vars().RecalcAll, {paProgress_, nullptr}, unused);
        } catch (...) {
            if (kind == rkTournament) emit LogListChanged();
            throw;
        }
        if (kind == rkTournament) emit LogListChanged();
    } catch (const TZelkCancelled&) {
        return false;
    }
    return true;
}

// The absent-log table: one record per station without a log, with the number of logs that mention it.
void TfmReports::FillNoFileTable() {
    mtReport_.Close();
    mtReport_.AddField({"CALLSIGN", rep::TfrMemoryTable::TFieldKind::String, 20});
    mtReport_.AddField({"CNT", rep::TfrMemoryTable::TFieldKind::Integer, 0});
    mtReport_.Open();
    TNoFileRows rows;
    PrepareReportData(contest_, Judging(), rkNoFile, Vars().RecalcAll, {nullptr, paProgress_}, rows);
    for (const auto& [call, count] : rows)
        mtReport_.Append({ScriptValue::Text(call), ScriptValue::Integer(count)});
}

// The standings by category: one record per log in the order of the tables, HEAD holding the category on
// the first record of each.
void TfmReports::FillCategoryTable() {
    using K = rep::TfrMemoryTable::TFieldKind;
    mtReport_.Close();
    for (const char* name : {"CATEGORY", "HEAD", "PLACE", "FILE", "CALLSIGN", "NAME", "CLUB", "SCORE",
                             "MULTIPLIER", "CLAIMED_SCORE", "ACCURACY"})
        mtReport_.AddField({name, K::String, 200});
    mtReport_.AddField({"CONFIRMED", K::Integer, 0});
    mtReport_.AddField({"QSO", K::Integer, 0});
    mtReport_.Open();
    const std::vector<TCategoryEntry> entries =
        CategoryStandings(contest_, Judging(), Vars().RecalcAll, paProgress_);
    const auto text = [](const std::string& s) { return ScriptValue::Text(s); };
    for (size_t i = 0; i < entries.size(); ++i) {
        const TCategoryEntry& e = entries[i];
        const std::string category = e.Category.empty() ? "(без категории)"_cp : e.Category;
        const bool head = i == 0 || entries[i - 1].Category != e.Category;
        const TLogRow& row = contest_.Logs[static_cast<size_t>(e.Row)];
        TZelkCurrentFile summary;
        const TContestLog* log = contest_.LogAt(e.Row);
        summary.TakeSummary(log && log->Exists() ? log->Content() : TLogContent());
        mtReport_.Append({text(category), text(head ? category : std::string()),
                          text(e.Place > 0 ? std::to_string(e.Place) : std::string("-")), text(row.Caption),
                          text(summary.CallSign), text(summary.Name), text(summary.Club), text(row.Cell(0)),
                          text(row.Cell(1)), text(row.Cell(2)), text(e.AccuracyText),
                          ScriptValue::Integer(e.Confirmed), ScriptValue::Integer(summary.QSOCount)});
    }
}

// The log checking report of the selected log, one record per line of its text.
void TfmReports::FillLogCheckTable() {
    mtReport_.Close();
    mtReport_.AddField({"TEXT", rep::TfrMemoryTable::TFieldKind::String, 1000});
    mtReport_.Open();
    const TContestLog* log = contest_.LogAt(contest_.SelectedLog);
    if (!log) return;
    contest_.Model.Refresh();
    const TJudging judging = Judging();
    TContestAnalyser analyser(contest_.Model, judging, &contest_.NoFileCalls);
    const std::string text =
        BuildLCRReport(analyser.Analyse(*log, log->DiskName()), judging.Settings.MaxMinutesDifference);
    for (const std::string& line : SplitString(text, '\n'))
        if (!line.empty()) mtReport_.Append({ScriptValue::Text(TrimRight(line))});
}

// "Закрыть", the Escape key and the close box: the state of the check box is kept for this run.
void TfmReports::reject() {
    if (paProgress_->Running()) {
        paProgress_->Cancel();
        return;
    }
    Vars().RecalcAll = cbRecalcAll_->isChecked();
    QDialog::reject();
}

void TfmReports::contextMenuEvent(QContextMenuEvent* event) {
    pmRepOut_->popup(event->globalPos());
}

} // namespace zelk::ui
