// The main window's commands, layout, menus, tool bars and pop-up menus. Each action is made once and
// shared by the menus, the tool bars and the pop-up menus.
#include "ui/explorer.h"

#include "settings/global_vars.h"
#include "ui/column_fit.h"
#include "ui/command_guard.h"
#include "ui/options_dialog.h"
#include "ui/progress_panel.h"
#include "ui/report_view.h"
#include "ui/row_model.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelk::ui {
namespace {

// Designed sizes of the window's parts, in pixels; the stored sizes replace them at start.
constexpr int kLeftPanelWidth = 250;
constexpr int kLeftPanelMin = 125;
constexpr int kHeaderHeight = 130;
constexpr int kHeaderMin = 50;
constexpr int kStripHeight = 20;
constexpr std::array<int, 7> kPanelWidths = {170, 150, 150, 50, 50, 50, 50};

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const char* image = nullptr,
                    const QString& hint = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(u'&') : hint);
    action->setStatusTip(action->toolTip());
    if (image) action->setIcon(TZelkResources::Image(QString::fromLatin1(image)));
    return action;
}

QFrame* MakeStrip(const char* name, QWidget* parent) {
    auto* strip = new QFrame(parent);
    strip->setObjectName(QString::fromLatin1(name));
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Sunken);
    strip->setFixedHeight(kStripHeight);
    return strip;
}

// A read-only report-style list: grid lines, whole-row selection, small icons, fixed row height so that
// even 100 000 rows scroll at once; the selection stays visible when the list loses the focus.
TReportView* MakeReportView(const char* name, TRowListModel* model, QWidget* parent) {
    auto* view = new TReportView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->setIconSize(QSize(12, 12));
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsMovable(false);
    view->horizontalHeader()->setMinimumSectionSize(8);
    QPalette palette = view->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
    return view;
}

// Numbers stand right-aligned, so that their digits line up.
std::vector<TColumnSpec> FileColumns() {
    return {{QStringLiteral("File"), Qt::AlignLeft},
            {QStringLiteral("Score"), Qt::AlignRight},
            {QStringLiteral("Multi"), Qt::AlignRight},
            {QStringLiteral("ClaimedScore"), Qt::AlignRight}};
}

std::vector<TColumnSpec> HeaderColumns() {
    return {{QStringLiteral("Tag"), Qt::AlignLeft},
            {QStringLiteral("Value"), Qt::AlignLeft},
            {QStringLiteral("Comment"), Qt::AlignLeft}};
}

std::vector<TColumnSpec> QSOColumns() {
    return {
        {QStringLiteral("QSO:"), Qt::AlignRight},         {QStringLiteral("Freq"), Qt::AlignRight},
        {QStringLiteral("Mode"), Qt::AlignHCenter},       {QStringLiteral("Date (y-m-d)"), Qt::AlignHCenter},
        {QStringLiteral("Time (m:s)"), Qt::AlignHCenter}, {QStringLiteral("Call"), Qt::AlignLeft},
        {QStringLiteral("Send"), Qt::AlignLeft},          {QStringLiteral("Received"), Qt::AlignLeft},
        {QStringLiteral("Score"), Qt::AlignRight},        {QStringLiteral("Comment"), Qt::AlignLeft}};
}

} // namespace

void TfmExplorer::CreateActions() {
    auto guarded = [this](QAction* action, void (TfmExplorer::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunCommand([&] { (this->*handler)(); }); });
    };

    actOpen = MakeAction(this, "actOpen", QStringLiteral("Открыть папку соревнования..."), "open");
    actOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    guarded(actOpen, &TfmExplorer::actOpenExecute);
    actFilesRefresh =
        MakeAction(this, "actFilesRefresh", QStringLiteral("Обновить список файлов"), "files-refresh");
    guarded(actFilesRefresh, &TfmExplorer::actFilesRefreshExecute);
    actCalcAllFiles = MakeAction(this, "actCalcAllFiles", QStringLiteral("Проверить все файлы"), "calc-all");
    actCalcAllFiles->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    guarded(actCalcAllFiles, &TfmExplorer::actCalcAllFilesExecute);
    actFindQSO = MakeAction(this, "actFindQSO", QStringLiteral("Найти связи"), "find");
    actFindQSO->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    guarded(actFindQSO, &TfmExplorer::actFindQSOExecute);
    actExit = MakeAction(this, "actExit", QStringLiteral("Закрыть"), "exit", QStringLiteral("Выход"));
    actExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(actExit, &QAction::triggered, this, &QWidget::close);

    actFilesEdit = MakeAction(this, "actFilesEdit", QStringLiteral("&Редактировать файл"), "edit");
    guarded(actFilesEdit, &TfmExplorer::actFilesEditExecute);
    actFilesDelete = MakeAction(this, "actFilesDelete", QStringLiteral("&Удалить файл"), "delete");
    guarded(actFilesDelete, &TfmExplorer::actFilesDeleteExecute);
    actRefresh = MakeAction(this, "actRefresh", QStringLiteral("Обновить"), "refresh",
                            QStringLiteral("Перечитать текущий файл"));
    guarded(actRefresh, &TfmExplorer::actRefreshExecute);
    actCalcQSO = MakeAction(this, "actCalcQSO", QStringLiteral("Проверить все записи"), "calc-qso");
    actCalcQSO->setShortcut(QKeySequence(Qt::Key_F9));
    guarded(actCalcQSO, &TfmExplorer::actCalcQSOExecute);
    actViewQSO = MakeAction(this, "actViewQSO", QStringLiteral("Свойства"), "view");
    guarded(actViewQSO, &TfmExplorer::actViewQSOExecute);
    actSaveCalcReport =
        MakeAction(this, "actSaveCalcReport", QStringLiteral("Создать файл отчёта"), "save-report");
    actSaveCalcReport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    actSaveLCRReport = MakeAction(this, "actSaveLCRReport",
                                  QStringLiteral("Создать отчёт о проверке журнала"), "save-report");
    actSaveLCRReport->setToolTip(
        QStringLiteral("Записать рядом с файлами UBN, почему не засчитана каждая связь выбранного файла"));
    guarded(actSaveLCRReport, &TfmExplorer::actSaveLCRReportExecute);
    actPrintCalcReport =
        MakeAction(this, "actPrintCalcReport", QStringLiteral("Печатать отчёт"), "print-report");
    actDesignCalcReport =
        MakeAction(this, "actDesignCalcReport", QStringLiteral("Дизайнер отчёта"), "design");
    actPrint = MakeAction(this, "actPrint", QStringLiteral("Печатать список"), "print-report");
    actDesign = MakeAction(this, "actDesign", QStringLiteral("Дизайнер отчёта"), "design");
    actRepOut = MakeAction(this, "actRepOut", QStringLiteral("Отчёт"), "report");
    actRepFilesExists =
        MakeAction(this, "actRepFilesExists", QStringLiteral("Присланные файлы"), "rep-files");
    actRepNoFile = MakeAction(this, "actRepNoFile", QStringLiteral("Отсутствующие файлы"), "rep-nofile");
    actRepTournament =
        MakeAction(this, "actRepTournament", QStringLiteral("Турнирная таблица"), "rep-tournament");
    actFilesOptions = MakeAction(this, "actFilesOptions", QStringLiteral("Параметры..."), "options");
    connect(actFilesOptions, &QAction::triggered, this,
            [this] { RunCommand([this] { OptionsExecute(TfmOptions::pgFiles); }); });
    actQSOOptions = MakeAction(this, "actQSOOptions", QStringLiteral("Настройки..."), "qso-options");
    connect(actQSOOptions, &QAction::triggered, this,
            [this] { RunCommand([this] { OptionsExecute(TfmOptions::pgQSO); }); });
    actSortByN = MakeAction(this, "actSortByN", QStringLiteral("по позывным"), "sort-name");
    connect(actSortByN, &QAction::triggered, this, [this] { RunCommand([this] { SortBy(0); }); });
    actSortByS = MakeAction(this, "actSortByS", QStringLiteral("по количеству очков"), "sort-score");
    connect(actSortByS, &QAction::triggered, this, [this] { RunCommand([this] { SortBy(3); }); });

    guarded(actSaveCalcReport, &TfmExplorer::actSaveCalcReportExecute);
    guarded(actPrintCalcReport, &TfmExplorer::actPrintCalcReportExecute);
    guarded(actDesignCalcReport, &TfmExplorer::actDesignCalcReportExecute);
    guarded(actPrint, &TfmExplorer::actPrintExecute);
    guarded(actDesign, &TfmExplorer::actDesignExecute);
    const std::pair<QAction*, int> dialogReports[] = {
        {actRepFilesExists, rkFilesExists}, {actRepNoFile, rkNoFile}, {actRepTournament, rkTournament}};
    for (const auto& report : dialogReports) {
        const int kind = report.second;
        connect(report.first, &QAction::triggered, this,
                [this, kind] { RunCommand([this, kind] { OpenReportsDialog(kind); }); });
    }
    connect(actRepOut, &QAction::triggered, this,
            [this] { RunCommand([this] { OpenReportsDialog(Vars().QLastReport); }); });

    for (QAction* a : findChildren<QAction*>()) {
        ShowKeyInToolTip(a);
        addAction(a); // shortcuts work wherever the focus is in the window
    }
}

void TfmExplorer::CreateLayout() {
    filesModel_ = new TRowListModel(
        FileColumns(), [this] { return static_cast<int>(contest_.Logs.size()); },
        [this](int i) -> const TListRow& { return contest_.Logs[static_cast<size_t>(i)]; },
        ZelkResources().ListImages(), this);
    // The log's problems come first, where the judge sees them without scrolling.
    headerModel_ = new TRowListModel(
        HeaderColumns(),
        [this] { return static_cast<int>(contest_.ProblemRows.size() + contest_.Header.size()); },
        [this](int i) -> const TListRow& {
            const size_t problems = contest_.ProblemRows.size();
            const size_t row = static_cast<size_t>(i);
            return row < problems ? contest_.ProblemRows[row] : contest_.Header[row - problems];
        },
        ZelkResources().ListImages(), this);
    qsoModel_ = new TRowListModel(
        QSOColumns(), [this] { return static_cast<int>(contest_.QSOs.size()); },
        [this](int i) -> const TListRow& { return contest_.QSOs[static_cast<size_t>(i)]; },
        ZelkResources().ListImages(), this);

    splitterMain_ = new QSplitter(Qt::Horizontal, this);
    splitterMain_->setObjectName(QStringLiteral("splMain"));
    splitterMain_->setChildrenCollapsible(false);

    leftPanel_ = new QWidget(splitterMain_);
    leftPanel_->setObjectName(QStringLiteral("paLeft"));
    leftPanel_->setMinimumWidth(kLeftPanelMin);
    auto* left = new QVBoxLayout(leftPanel_);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    left->addWidget(CreateToolBar(QStringLiteral("tbFiles")));
    paFileCaption_ = MakeStrip("paFileCaption", leftPanel_);
    auto* panel = new TProgressPanel(QStringLiteral("pbProgress"), paFileCaption_);
    auto* strip = new QHBoxLayout(paFileCaption_);
    strip->setContentsMargins(1, 1, 1, 1);
    strip->addWidget(panel);
    left->addWidget(paFileCaption_);
    lvFiles_ = MakeReportView("lvFiles", filesModel_, leftPanel_);
    left->addWidget(lvFiles_, 1);
    progress_ = std::make_unique<TExplorerProgress>(panel, paFileCaption_);
    // The row of each log a pass has handled shows its new cells at once.
    connect(panel, &TProgressPanel::Advanced, this, [this](int done) {
        if (done > 0) filesModel_->RowChanged(done - 1);
    });

    rightPanel_ = new QWidget(splitterMain_);
    rightPanel_->setObjectName(QStringLiteral("paRight"));
    auto* right = new QVBoxLayout(rightPanel_);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addWidget(CreateToolBar(QStringLiteral("tbHeader")));
    auto* caption = MakeStrip("paHeaderCaption", rightPanel_);
    paHeaderCaption_ = new QLabel(caption);
    paHeaderCaption_->setObjectName(QStringLiteral("lbHeaderCaption"));
    auto* captionLayout = new QHBoxLayout(caption);
    captionLayout->setContentsMargins(2, 0, 2, 0);
    captionLayout->addWidget(paHeaderCaption_);
    right->addWidget(caption);

    splitterLog_ = new QSplitter(Qt::Vertical, rightPanel_);
    splitterLog_->setObjectName(QStringLiteral("splLog"));
    splitterLog_->setChildrenCollapsible(false);
    lvQSOHeader_ = MakeReportView("lvQSOHeader", headerModel_, splitterLog_);
    lvQSOHeader_->setMinimumHeight(kHeaderMin);
    auto* qsoPanel = new QWidget(splitterLog_);
    qsoPanel->setObjectName(QStringLiteral("paQSO"));
    auto* qso = new QVBoxLayout(qsoPanel);
    qso->setContentsMargins(0, 0, 0, 0);
    qso->setSpacing(0);
    qso->addWidget(CreateToolBar(QStringLiteral("tbQSO")));
    lvQSODetail_ = MakeReportView("lvQSODetail", qsoModel_, qsoPanel);
    qso->addWidget(lvQSODetail_, 1);
    splitterLog_->addWidget(lvQSOHeader_);
    splitterLog_->addWidget(qsoPanel);
    splitterLog_->setStretchFactor(0, 0);
    splitterLog_->setStretchFactor(1, 1);
    splitterLog_->setSizes({kHeaderHeight, 300});
    right->addWidget(splitterLog_, 1);

    splitterMain_->addWidget(leftPanel_);
    splitterMain_->addWidget(rightPanel_);
    splitterMain_->setStretchFactor(0, 0);
    splitterMain_->setStretchFactor(1, 1);
    splitterMain_->setSizes({kLeftPanelWidth, 467});
    setCentralWidget(splitterMain_);
    connect(splitterMain_, &QSplitter::splitterMoved, this, [this] { judgeSplit_ = true; });

    filesFit_ = new TColumnFit(lvFiles_, "lvFiles");
    headerFit_ = new TColumnFit(lvQSOHeader_, "lvQSOHeader");
    qsoFit_ = new TColumnFit(lvQSODetail_, "lvQSODetail");
    connect(filesFit_, &TColumnFit::Fitted, this, &TfmExplorer::FitLeftPanel);

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(true);
    statusBar()->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("stPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(kPanelWidths[i]);
        if (i >= 2) panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel);
        statusPanels_[i] = panel;
    }
    // What the last command did or why it stopped; a long text is cut here and shown whole as a tooltip.
    stMessage_ = new QLabel(statusBar());
    stMessage_->setObjectName(QStringLiteral("stMessage"));
    stMessage_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    stMessage_->setIndent(4);
    statusBar()->addWidget(stMessage_, 1);

    tmrFileSelect_ = new QTimer(this);
    tmrFileSelect_->setObjectName(QStringLiteral("tmrFileSelect"));
    tmrFileSelect_->setSingleShot(true);
    tmrFileSelect_->setInterval(500);
    connect(tmrFileSelect_, &QTimer::timeout, this, [this] { RunCommand([this] { LoadSelected(); }); });

    connect(lvFiles_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfmExplorer::OnFilesSelectionChanged);
    connect(lvFiles_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfmExplorer::OnFilesSelectionChanged);
    connect(lvFiles_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { RunCommand([&] { SortBy(column); }); });
    lvFiles_->horizontalHeader()->setSectionsClickable(true);
    for (QTableView* view : {lvFiles_, lvQSOHeader_, lvQSODetail_})
        view->installEventFilter(this);
    leftPanel_->installEventFilter(this);
}

// Until the judge gives the left panel a width of his own, it is as wide as the log list's columns need:
// never below the designed width, never above half the window.
void TfmExplorer::FitLeftPanel() {
    if (judgeSplit_) return;
    const int list = filesFit_->NaturalWidth() + 2 * lvFiles_->frameWidth() +
                     lvFiles_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lvFiles_);
    const int total = splitterMain_->width() - splitterMain_->handleWidth();
    const int wanted = std::clamp(list, kLeftPanelWidth, std::max(kLeftPanelWidth, total / 2));
    if (wanted == leftPanel_->width() || total <= wanted) return;
    splitterMain_->setSizes({wanted, total - wanted});
}

QToolBar* TfmExplorer::CreateToolBar(const QString& name) {
    auto* bar = new QToolBar(this);
    bar->setObjectName(name);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setMovable(false);
    bar->setFloatable(false);
    return bar;
}

void TfmExplorer::CreateMenus() {
    QAction* help = ZelkResources().Help();
    QAction* about = ZelkResources().About();

    QMenu* data = menuBar()->addMenu(QStringLiteral("&Данные"));
    data->setObjectName(QStringLiteral("mnData"));
    data->addActions({actOpen, actFilesRefresh, actCalcAllFiles});
    data->addSeparator();
    data->addAction(actFindQSO);
    data->addSeparator();
    data->addAction(actExit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    edit->setObjectName(QStringLiteral("mnEdit"));
    edit->addActions({actFilesEdit, actFilesDelete});
    edit->addSeparator();
    edit->addAction(actRefresh);

    QMenu* reports = menuBar()->addMenu(QStringLiteral("&Отчёты"));
    reports->setObjectName(QStringLiteral("mnReports"));
    reports->addActions({actRepFilesExists, actRepNoFile});
    reports->addSeparator();
    reports->addAction(actRepTournament);

    QMenu* service = menuBar()->addMenu(QStringLiteral("С&ервис"));
    service->setObjectName(QStringLiteral("mnService"));
    service->addAction(actQSOOptions);

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Справка"));
    helpMenu->setObjectName(QStringLiteral("mnHelp"));
    helpMenu->addAction(help);
    helpMenu->addSeparator();
    helpMenu->addAction(about);
    addAction(help);
    OpenMenusWithF10(this, menuBar());

    auto* files = findChild<QToolBar*>(QStringLiteral("tbFiles"));
    files->addActions({actOpen, actFilesRefresh});
    files->addSeparator();
    files->addAction(actCalcAllFiles);
    files->addSeparator();
    files->addAction(actFindQSO);
    files->addSeparator();
    auto* reportMenu = new QMenu(this);
    reportMenu->setObjectName(QStringLiteral("pmRepDropDown"));
    reportMenu->addActions({actRepFilesExists, actRepNoFile});
    reportMenu->addSeparator();
    reportMenu->addAction(actRepTournament);
    auto* reportButton = new QToolButton(files);
    reportButton->setObjectName(QStringLiteral("tbRepOut"));
    reportButton->setDefaultAction(actRepOut);
    reportButton->setMenu(reportMenu);
    reportButton->setPopupMode(QToolButton::MenuButtonPopup);
    reportButton->setAutoRaise(true);
    files->addWidget(reportButton);
    files->addSeparator();
    files->addAction(actFilesOptions);
    files->addSeparator();
    files->addAction(help);

    auto* header = findChild<QToolBar*>(QStringLiteral("tbHeader"));
    header->addAction(actFilesEdit);
    header->addSeparator();
    header->addAction(actRefresh);

    auto* qso = findChild<QToolBar*>(QStringLiteral("tbQSO"));
    qso->addAction(actCalcQSO);
    qso->addSeparator();
    qso->addAction(actViewQSO);
    qso->addSeparator();
    qso->addActions({actSaveCalcReport, actPrintCalcReport});
}

void TfmExplorer::CreatePopupMenus() {
    pmFiles_ = new QMenu(this);
    pmFiles_->setObjectName(QStringLiteral("pmFiles"));
    pmFiles_->addActions({actFilesEdit, actFilesDelete});
    pmFiles_->addSeparator();
    pmFiles_->addActions({actPrint, actDesign});
    pmFiles_->addSeparator();
    pmFiles_->addAction(actFilesOptions);
    pmFiles_->addSeparator();
    QMenu* sort = pmFiles_->addMenu(QStringLiteral("Отсортировать список"));
    sort->setObjectName(QStringLiteral("pmSort"));
    sort->addActions({actSortByN, actSortByS});
    pmFiles_->addActions({actFilesRefresh, actCalcAllFiles});
    pmFiles_->setDefaultAction(actFilesEdit);

    pmQSOHeader_ = new QMenu(this);
    pmQSOHeader_->setObjectName(QStringLiteral("pmQSOHeader"));
    pmQSOHeader_->addActions({actFilesEdit, actRefresh});
    pmQSOHeader_->setDefaultAction(actFilesEdit);

    pmQSODetail_ = new QMenu(this);
    pmQSODetail_->setObjectName(QStringLiteral("pmQSODetail"));
    pmQSODetail_->addAction(actCalcQSO);
    pmQSODetail_->addSeparator();
    pmQSODetail_->addActions({actSaveCalcReport, actSaveLCRReport});
    pmQSODetail_->addSeparator();
    pmQSODetail_->addActions({actPrintCalcReport, actDesignCalcReport});
    pmQSODetail_->addSeparator();
    pmQSODetail_->addActions({actFilesEdit, actRefresh});
    pmQSODetail_->addSeparator();
    pmQSODetail_->addActions({actQSOOptions, actViewQSO});
    pmQSODetail_->setDefaultAction(actViewQSO);

    const std::pair<QTableView*, QMenu*> popups[] = {
        {lvFiles_, pmFiles_}, {lvQSOHeader_, pmQSOHeader_}, {lvQSODetail_, pmQSODetail_}};
    for (const auto& popup : popups) {
        QTableView* view = popup.first;
        QMenu* menu = popup.second;
        connect(view, &QWidget::customContextMenuRequested, this,
                [view, menu](const QPoint& at) { menu->popup(view->viewport()->mapToGlobal(at)); });
        connect(view, &QAbstractItemView::doubleClicked, this, [this, menu] { RunPopupDefault(menu); });
    }
}

} // namespace zelk::ui
