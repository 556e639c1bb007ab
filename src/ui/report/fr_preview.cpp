// The preview window: tool bar, page area and status line.
#include "ui/report/fr_preview.h"

#include "logs/error.h"
#include "logs/text.h"
#include "settings/platform.h"
#include "ui/command_guard.h"
#include "ui/help_topic.h"
#include "ui/qt_text.h"
#include "ui/report/fr_icons.h"
#include "ui/report/fr_page_view.h"
#include "ui/report/fr_render.h"
#include "ui/wait_cursor.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace zelk::rep {
namespace {

const QString kPreparedFilter = QStringLiteral("Подготовленный отчёт (*.zrp)");
constexpr double kZoomStep = 1.25;
// Zoom choices of the combo box; negative entries are the two fits.
const std::vector<std::pair<QString, double>> kZoomChoices = {
    {QStringLiteral("50%"), 0.5},
    {QStringLiteral("75%"), 0.75},
    {QStringLiteral("100%"), 1.0},
    {QStringLiteral("150%"), 1.5},
    {QStringLiteral("200%"), 2.0},
    {QStringLiteral("По ширине страницы"), -1},
    {QStringLiteral("Страница целиком"), -2},
};

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const char* image,
                    const QKeySequence& shortcut = {}) {
    auto* action = new QAction(ReportIcon(image), caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(caption, shortcut.toString(QKeySequence::NativeText)));
    }
    return action;
}

} // namespace

TfrPreviewForm::TfrPreviewForm(TfrPreparedReport report, QWidget* parent)
    : QDialog(parent), report_(std::move(report)) {
    setObjectName(QStringLiteral("frPreview"));
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    CreateActions();
    CreateLayout();
    resize(900, 700);
    ShowPage(0);
}

// Editors that lose the focus while their window is destroyed report it; by then the window can no
// longer take their signals.
TfrPreviewForm::~TfrPreviewForm() {
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

void TfrPreviewForm::CreateActions() {
    auto guarded = [this](QAction* action, void (TfrPreviewForm::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { ui::RunCommand([&] { (this->*handler)(); }); });
        addAction(action);
    };
    auto simple = [this](QAction* action, auto&& f) {
        connect(action, &QAction::triggered, this, f);
        addAction(action);
    };
    actFirstPage =
        MakeAction(this, "actFirstPage", QStringLiteral("Первая страница"), "first", Qt::CTRL | Qt::Key_Home);
    simple(actFirstPage, [this] { ShowPage(0); });
    actPriorPage =
        MakeAction(this, "actPriorPage", QStringLiteral("Предыдущая страница"), "prior", Qt::Key_PageUp);
    simple(actPriorPage, [this] { ShowPage(page_ - 1); });
    actNextPage =
        MakeAction(this, "actNextPage", QStringLiteral("Следующая страница"), "next", Qt::Key_PageDown);
    simple(actNextPage, [this] { ShowPage(page_ + 1); });
    actLastPage =
        MakeAction(this, "actLastPage", QStringLiteral("Последняя страница"), "last", Qt::CTRL | Qt::Key_End);
    simple(actLastPage, [this] { ShowPage(report_.PageCount() - 1); });
    actZoomIn = MakeAction(this, "actZoomIn", QStringLiteral("Увеличить"), "zoom-in", QKeySequence::ZoomIn);
    simple(actZoomIn, [this] { ZoomBy(kZoomStep); });
    actZoomOut =
        MakeAction(this, "actZoomOut", QStringLiteral("Уменьшить"), "zoom-out", QKeySequence::ZoomOut);
    simple(actZoomOut, [this] { ZoomBy(1 / kZoomStep); });
    actFind = MakeAction(this, "actFind", QStringLiteral("Найти текст..."), "find", QKeySequence::Find);
    guarded(actFind, &TfrPreviewForm::actFindExecute);
    actFindNext = MakeAction(this, "actFindNext", QStringLiteral("Найти далее"), "find", Qt::Key_F3);
    guarded(actFindNext, &TfrPreviewForm::actFindNextExecute);
    actPrint = MakeAction(this, "actPrint", QStringLiteral("Печать..."), "print-report", QKeySequence::Print);
    guarded(actPrint, &TfrPreviewForm::actPrintExecute);
    actOpen = MakeAction(this, "actOpen", QStringLiteral("Открыть подготовленный отчёт..."), "open",
                         QKeySequence::Open);
    guarded(actOpen, &TfrPreviewForm::actOpenExecute);
    actSave = MakeAction(this, "actSave", QStringLiteral("Сохранить подготовленный отчёт..."), "save",
                         QKeySequence::Save);
    guarded(actSave, &TfrPreviewForm::actSaveExecute);
    actExport = MakeAction(this, "actExport", QStringLiteral("Экспорт..."), "export", Qt::CTRL | Qt::Key_E);
    guarded(actExport, &TfrPreviewForm::actExportExecute);
    actHelp = MakeAction(this, "actHelp", QStringLiteral("Справка"), "help", Qt::Key_F1);
    simple(actHelp, [] { ui::RunCommand([] { ui::ShowHelpTopic("report-preview"); }); });
    actClose = MakeAction(this, "actClose", QStringLiteral("Закрыть"), "exit");
    simple(actClose, [this] { accept(); });
}

void TfrPreviewForm::CreateLayout() {
    tbPreview_ = new QToolBar(this);
    tbPreview_->setObjectName(QStringLiteral("tbPreview"));
    tbPreview_->setIconSize(QSize(16, 16));
    tbPreview_->addActions({actPrint, actOpen, actSave, actExport});
    tbPreview_->addSeparator();
    tbPreview_->addActions({actFind, actFindNext});
    tbPreview_->addSeparator();
    tbPreview_->addActions({actZoomOut, actZoomIn});
    cbZoom_ = new QComboBox(tbPreview_);
    cbZoom_->setObjectName(QStringLiteral("cbZoom"));
    cbZoom_->setEditable(true);
    cbZoom_->setInsertPolicy(QComboBox::NoInsert);
    cbZoom_->setMinimumContentsLength(18);
    for (const auto& [caption, zoom] : kZoomChoices)
        cbZoom_->addItem(caption, zoom);
    tbPreview_->addWidget(cbZoom_);
    tbPreview_->addSeparator();
    tbPreview_->addActions({actFirstPage, actPriorPage});
    edPage_ = new QSpinBox(tbPreview_);
    edPage_->setObjectName(QStringLiteral("edPage"));
    edPage_->setKeyboardTracking(false);
    tbPreview_->addWidget(edPage_);
    lbPageCount_ = new QLabel(tbPreview_);
    lbPageCount_->setObjectName(QStringLiteral("lbPageCount"));
    tbPreview_->addWidget(lbPageCount_);
    tbPreview_->addActions({actNextPage, actLastPage});
    tbPreview_->addSeparator();
    tbPreview_->addActions({actHelp, actClose});

    saPage_ = new QScrollArea(this);
    saPage_->setObjectName(QStringLiteral("saPage"));
    saPage_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    saPage_->setBackgroundRole(QPalette::Dark);
    pvPage_ = new TfrPageView(saPage_);
    saPage_->setWidget(pvPage_);
    saPage_->viewport()->installEventFilter(this);

    lbStatus_ = new QLabel(this);
    lbStatus_->setObjectName(QStringLiteral("lbStatus"));
    lbStatus_->setFrameShape(QFrame::Panel);
    lbStatus_->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tbPreview_);
    layout->addWidget(saPage_, 1);
    layout->addWidget(lbStatus_);

    connect(edPage_, &QSpinBox::valueChanged, this, [this](int page) { ShowPage(page - 1); });
    connect(cbZoom_, &QComboBox::activated, this, [this](int index) {
        const double zoom = cbZoom_->itemData(index).toDouble();
        if (zoom == -1)
            SetFit(TFit::PageWidth);
        else if (zoom == -2)
            SetFit(TFit::WholePage);
        else
            SetZoom(zoom);
    });
    connect(cbZoom_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        QString text = cbZoom_->currentText().trimmed();
        text.remove(u'%');
        bool ok = false;
        const double percent = text.toDouble(&ok);
        if (ok && percent > 0) SetZoom(percent / 100);
        UpdateControls();
    });
}

void TfrPreviewForm::ShowPage(int index) {
    page_ = std::clamp(index, 0, std::max(0, report_.PageCount() - 1));
    const TfrPreparedPage* page = report_.Pages.empty() ? nullptr : &report_.Pages[page_];
    const TfrPreparedItem* found = nullptr;
    if (page && foundPage_ == page_) found = &page->Bands[foundBand_].Items[foundItem_];
    pvPage_->SetPage(page, found);
    ApplyFit();
    UpdateControls();
}

double TfrPreviewForm::Zoom() const {
    return pvPage_->Zoom();
}

void TfrPreviewForm::SetZoom(double zoom) {
    fit_ = TFit::None;
    pvPage_->SetZoom(zoom);
    UpdateControls();
}

void TfrPreviewForm::SetFit(TFit fit) {
    fit_ = fit;
    ApplyFit();
    UpdateControls();
}

void TfrPreviewForm::ZoomBy(double factor) {
    SetZoom(pvPage_->Zoom() * factor);
}

void TfrPreviewForm::ApplyFit() {
    if (fit_ == TFit::None || report_.Pages.empty()) return;
    const TfrPreparedPage& page = report_.Pages[page_];
    const QSize room = saPage_->viewport()->size();
    // The vertical scroll bar takes room from the width when the page is taller than the view.
    const int scrollBar = saPage_->verticalScrollBar()->sizeHint().width();
    double zoom = pvPage_->ZoomToFit(page.Width, room.width() - scrollBar);
    if (fit_ == TFit::WholePage)
        zoom = std::min(pvPage_->ZoomToFit(page.Width, room.width()),
                        pvPage_->ZoomToFit(page.Height, room.height()));
    pvPage_->SetZoom(zoom);
}

void TfrPreviewForm::UpdateControls() {
    const int count = report_.PageCount();
    const QSignalBlocker blockPage(edPage_);
    edPage_->setRange(count ? 1 : 0, count);
    edPage_->setValue(count ? page_ + 1 : 0);
    lbPageCount_->setText(QStringLiteral(" из %1 ").arg(count));
    actFirstPage->setEnabled(page_ > 0);
    actPriorPage->setEnabled(page_ > 0);
    actNextPage->setEnabled(page_ + 1 < count);
    actLastPage->setEnabled(page_ + 1 < count);
    const bool any = count > 0;
    for (QAction* a : {actPrint, actSave, actExport, actFind, actFindNext})
        a->setEnabled(any);
    const QSignalBlocker blockZoom(cbZoom_);
    const int fitIndex = fit_ == TFit::PageWidth ? 5 : fit_ == TFit::WholePage ? 6 : -1;
    if (fitIndex >= 0)
        cbZoom_->setCurrentIndex(fitIndex);
    else
        cbZoom_->setEditText(QStringLiteral("%1%").arg(std::lround(pvPage_->Zoom() * 100)));
    lbStatus_->setText(any ? QStringLiteral("  Страница %1 из %2").arg(page_ + 1).arg(count)
                           : QStringLiteral("  Отчёт пуст"));
}

// Ctrl with the mouse wheel zooms the page; a fit follows the size of the page area.
bool TfrPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == saPage_->viewport() && event->type() == QEvent::Resize) ApplyFit();
    if (watched == saPage_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            ZoomBy(wheel->angleDelta().y() > 0 ? kZoomStep : 1 / kZoomStep);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrPreviewForm::Find(const QString& text, bool fromStart) {
    findText_ = text;
    if (text.isEmpty()) return false;
    // The search starts just after the item found last.
    int p = 0, b = 0, i = 0;
    if (!fromStart && foundPage_ >= 0) p = foundPage_, b = foundBand_, i = foundItem_ + 1;
    for (; p < report_.PageCount(); ++p, b = 0, i = 0) {
        const auto& bands = report_.Pages[p].Bands;
        for (; b < static_cast<int>(bands.size()); ++b, i = 0) {
            for (; i < static_cast<int>(bands[b].Items.size()); ++i) {
                if (!bands[b].Items[i].Text.contains(text, Qt::CaseInsensitive)) continue;
                foundPage_ = p, foundBand_ = b, foundItem_ = i;
                ShowPage(p);
                const QRectF r = bands[b].Items[i].Rect;
                const double px = pvPage_->ScreenPxPerMm() * pvPage_->Zoom();
                saPage_->ensureVisible(static_cast<int>(r.center().x() * px),
                                       static_cast<int>(r.center().y() * px));
                return true;
            }
        }
    }
    foundPage_ = foundBand_ = foundItem_ = -1;
    ShowPage(page_);
    return false;
}

void TfrPreviewForm::actFindExecute() {
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgFind"));
    dialog.setWindowTitle(QStringLiteral("Поиск"));
    dialog.setLabelText(QStringLiteral("Найти текст:"));
    dialog.setTextValue(findText_);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!Find(dialog.textValue(), true) && !dialog.textValue().isEmpty())
        Messages().Info(FormatText("Текст \"%s\" не найден"_cp, ui::Cp(dialog.textValue())), "Поиск"_cp);
}

void TfrPreviewForm::actFindNextExecute() {
    if (findText_.isEmpty()) return actFindExecute();
    if (!Find(findText_, false))
        Messages().Info(FormatText("Текст \"%s\" больше не найден"_cp, ui::Cp(findText_)), "Поиск"_cp);
}

void TfrPreviewForm::PrintTo(QPrinter& printer) const {
    if (report_.Pages.empty()) return;
    int from = printer.fromPage(), to = printer.toPage();
    if (from <= 0) from = 1;
    if (to <= 0 || to > report_.PageCount()) to = report_.PageCount();
    printer.setFullPage(true);
    auto sizeOf = [](const TfrPreparedPage& page) {
        return QPageSize(QSizeF(page.Width, page.Height), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    };
    printer.setPageSize(sizeOf(report_.Pages[from - 1]));
    QPainter painter;
    if (!painter.begin(&printer)) throw TZelkError("Не удалось начать печать"_cp);
    for (int p = from; p <= to; ++p) {
        if (p > from) {
            printer.setPageSize(sizeOf(report_.Pages[p - 1]));
            printer.newPage();
        }
        // A printer that keeps its own paper gets the page made smaller to fit it, never cut off.
        const TfrPreparedPage& page = report_.Pages[p - 1];
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        double pxPerMm = printer.resolution() / 25.4;
        if (paper.width() > 0 && paper.height() > 0)
            pxPerMm *= std::min(
                {1.0, paper.width() / (page.Width * pxPerMm), paper.height() / (page.Height * pxPerMm)});
        PaintPage(painter, page, pxPerMm);
    }
    painter.end();
}

QString TfrPreviewForm::DocumentName() const {
    return documentName_.isEmpty() ? windowTitle() : documentName_;
}

void TfrPreviewForm::actPrintExecute() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(DocumentName());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    dialog.setMinMax(1, report_.PageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
    if (dialog.exec() != QDialog::Accepted) return;
    if (printer.printRange() == QPrinter::CurrentPage) printer.setFromTo(page_ + 1, page_ + 1);
    PrintTo(printer);
}

void TfrPreviewForm::SavePrepared(const QString& path) const {
    const QByteArray xml = PreparedToXml(report_);
    QSaveFile file(path);
    if (!(file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size() && file.commit()))
        throw TZelkError("Не удалось записать файл "_cp + ui::Cp(path) + ": " + ui::Cp(file.errorString()));
}

void TfrPreviewForm::LoadPrepared(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TZelkError("Не удалось открыть файл "_cp + ui::Cp(path) + ": " + ui::Cp(file.errorString()));
    TfrPreparedReport loaded;
    QString error;
    if (!PreparedFromXml(file.readAll(), loaded, error))
        throw TZelkError("Файл "_cp + ui::Cp(path) + " не является подготовленным отчётом: "_cp +
                         ui::Cp(error));
    report_ = std::move(loaded);
    foundPage_ = foundBand_ = foundItem_ = -1;
    ShowPage(0);
}

void TfrPreviewForm::Export(TfrExportFormat format, const QString& path) const {
    ExportToFile(report_, format, path);
}

void TfrPreviewForm::actOpenExecute() {
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Открыть подготовленный отчёт"), QString(),
                                     kPreparedFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty()) LoadPrepared(path);
}

void TfrPreviewForm::actSaveExecute() {
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить подготовленный отчёт"), DocumentName(),
                                     kPreparedFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".zrp");
    SavePrepared(path);
}

void TfrPreviewForm::actExportExecute() {
    QFileDialog dialog(this, QStringLiteral("Экспорт отчёта"));
    dialog.setObjectName(QStringLiteral("dlgExport"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const auto& f : ExportFormats())
        filters << QStringLiteral("%1 (*.%2)").arg(f.Caption, f.Extension);
    dialog.setNameFilters(filters);
    dialog.selectFile(DocumentName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const auto& format =
        ExportFormats()[std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))];
    QString path = dialog.selectedFiles().front();
    if (QFileInfo(path).suffix().isEmpty()) path += u'.' + format.Extension;
    ui::TWaitCursor wait;
    Export(format.Format, path);
}

} // namespace zelk::rep
