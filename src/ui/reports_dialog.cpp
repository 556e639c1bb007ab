// The report output dialog: its controls, the choice of report, and the preparation of the chosen
// report's data before the engine previews or designs it.
#include "ui/reports_dialog.h"

#include "reports/report_catalogue.h"
#include "reports/report_data.h"
#include "settings/global_vars.h"
#include "ui/command_guard.h"
#include "ui/explorer_reports.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zelk::ui {
namespace {

// The dialog's own progress bar while the absent-log table is built: shown only for the count, and the
// dialog keeps painting while it advances.
class TBarProgress : public IProgress {
  public:
    explicit TBarProgress(QProgressBar* bar) : bar_(bar) {}
    void Start(int count) override {
        bar_->setRange(0, std::max(count - 1, 0));
        bar_->setValue(0);
        bar_->show();
        Repaint();
    }
    void Step(int position) override {
        bar_->setValue(position);
        Repaint();
    }
    void Finish() override {
        bar_->setValue(bar_->maximum());
        Repaint();
        bar_->hide();
    }

  private:
    void Repaint() {
        bar_->repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    QProgressBar* bar_;
};

} // namespace

TfmReports::TfmReports(TExplorerReports& reports, TZelkContest& contest, IProgress* contestProgress,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), reports_(reports), contest_(contest),
      contestProgress_(contestProgress) {
    setObjectName(QStringLiteral("fmReports"));
    setWindowTitle(QStringLiteral("Формирование отчёта"));
    setModal(true);
    CreateControls();
    reports_.BindFilesList(frReport_);
    frReport_.SetDataset(kNoFileDataset, &mtReport_);
}

TfmReports::~TfmReports() = default;

void TfmReports::CreateControls() {
    cbReport_ = new QComboBox(this);
    cbReport_->setObjectName(QStringLiteral("cbReport"));
    cbReport_->addItems({QStringLiteral("Список присланных файлов"),
                         QStringLiteral("Список отсутствующих файлов"), QStringLiteral("Турнирная таблица")});
    cbReport_->setCurrentIndex(-1);
    cbReport_->setMinimumWidth(260);

    nbReportParameters_ = new QStackedWidget(this);
    nbReportParameters_->setObjectName(QStringLiteral("nbReportParameters"));
    nbReportParameters_->setFrameShape(QFrame::StyledPanel);
    nbReportParameters_->setFrameShadow(QFrame::Sunken);

    np_NoParam_ = new QWidget(nbReportParameters_);
    np_NoParam_->setObjectName(QStringLiteral("np_NoParam"));
    pbProgress_ = new QProgressBar(np_NoParam_);
    pbProgress_->setObjectName(QStringLiteral("pbProgress"));
    pbProgress_->setTextVisible(false);
    pbProgress_->hide();
    auto* noParam = new QVBoxLayout(np_NoParam_);
    noParam->addStretch(1);
    noParam->addWidget(pbProgress_);
    noParam->addStretch(1);

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
    nbReportParameters_->setCurrentWidget(kind == rkTournament ? np_Tournament_ : np_NoParam_);
    cbRecalcAll_->setChecked(Vars().RecalcAll);
    Vars().QLastReport = static_cast<std::uint8_t>(kind);
}

void TfmReports::RunReport(bool design) {
    const int kind = SelectedKind();
    if (kind == rkNone) return;
    Vars().RecalcAll = cbRecalcAll_->isChecked();
    {
        TWaitCursor wait;
        if (kind == rkNoFile) {
            FillNoFileTable();
        } else {
            TNoFileRows unused;
            // The rows the standings scored before an error keep their new cells, so the main window
            // shows them again on that path too.
            try {
                PrepareReportData(contest_, kind, Vars().RecalcAll, {contestProgress_, nullptr}, unused);
            } catch (...) {
                if (kind == rkTournament) emit LogListChanged();
                throw;
            }
            if (kind == rkTournament) emit LogListChanged();
        }
    }
    if (design)
        DesignReport(frReport_, kind, false, this);
    else
        PreviewReport(frReport_, kind, this);
}

// The absent-log table: one record per station without a log, with the number of logs that mention it.
void TfmReports::FillNoFileTable() {
    mtReport_.Close();
    mtReport_.AddField({"CALLSIGN", rep::TfrMemoryTable::TFieldKind::String, 20});
    mtReport_.AddField({"CNT", rep::TfrMemoryTable::TFieldKind::Integer, 0});
    mtReport_.Open();
    TBarProgress progress(pbProgress_);
    TNoFileRows rows;
    PrepareReportData(contest_, rkNoFile, Vars().RecalcAll, {nullptr, &progress}, rows);
    for (const auto& [call, count] : rows)
        mtReport_.Append({ScriptValue::Text(call), ScriptValue::Integer(count)});
}

// "Закрыть", the Escape key and the close box: the state of the check box is kept for this run.
void TfmReports::reject() {
    Vars().RecalcAll = cbRecalcAll_->isChecked();
    QDialog::reject();
}

void TfmReports::contextMenuEvent(QContextMenuEvent* event) {
    pmRepOut_->popup(event->globalPos());
}

} // namespace zelk::ui
