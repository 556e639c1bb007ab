// The QSO search window: its commands, the result list, the progress gauge shown while the logs are
// read, and the hand-over of the chosen log to the main window.
#include "ui/find_qso.h"

#include "judge/qso_search.h"
#include "logs/contest.h"
#include "logs/error.h"
#include "logs/list_rows.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/command_guard.h"
#include "ui/help_topic.h"
#include "ui/progress_panel.h"
#include "ui/qt_text.h"
#include "ui/wait_cursor.h"
#include "ui/window_place.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace zelk::ui {
namespace {

constexpr int kFileNameRole = Qt::UserRole; // the row's file name as Windows-1251 bytes

QLabel* StatusPanel(int index, QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(QStringLiteral("stPanel%1").arg(index));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setFixedWidth(50);
    return panel;
}

} // namespace

// The progress panel as the search's progress: it replaces the result panel while the logs are read.
class TfmFindQSO::TProgress : public IProgress {
  public:
    explicit TProgress(TfmFindQSO& window) : w_(window) {}
    void Start(int count) override {
        w_.panels_->setCurrentWidget(w_.paProgress_);
        w_.gaProgress_->Start(count);
    }
    void Step(int position) override { w_.gaProgress_->Step(position); }
    void Finish() override { w_.gaProgress_->Finish(); }
    bool Cancelled() const override { return w_.gaProgress_->Cancelled(); }

  private:
    TfmFindQSO& w_;
};

TfmFindQSO::TfmFindQSO(TZelkContest& contest, QWidget* parent) : QDialog(parent), contest_(contest) {
    setObjectName(QStringLiteral("fmFindQSO"));
    setWindowTitle(QStringLiteral("Поиск связей"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(200, 200);
    resize(318, 313);
    CreateActions();
    CreateLayout();
    RestoreGeometry();
    edCall_->setText(Qs(Vars().WFindQSOCall));
    panels_->setCurrentWidget(paResult_);
}

TfmFindQSO::~TfmFindQSO() = default;

void TfmFindQSO::CreateActions() {
    auto make = [this](const char* name, const QString& caption, const char* image, QKeySequence key) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(caption);
        if (image) action->setIcon(TZelkResources::Image(QString::fromLatin1(image)));
        action->setShortcut(key);
        addAction(action);
        return action;
    };
    NewSearch_ =
        make("NewSearch", QStringLiteral("Новый поиск"), "new-search", QKeySequence(Qt::CTRL | Qt::Key_N));
    DoSearch_ = make("DoSearch", QStringLiteral("Искать"), "find", {});
    Refresh_ = make("Refresh", QStringLiteral("Обновить"), "refresh", QKeySequence(Qt::Key_F5));
    Help_ = make("Help", QStringLiteral("Вызов справки"), "help", QKeySequence(Qt::Key_F1));
    Close_ = make("Close", QStringLiteral("Закрыть"), "exit", QKeySequence(Qt::CTRL | Qt::Key_F4));

    connect(NewSearch_, &QAction::triggered, this, &TfmFindQSO::NewSearch);
    connect(DoSearch_, &QAction::triggered, this, [this] { RunCommand([this] { DoSearch(); }); });
    connect(Refresh_, &QAction::triggered, this, [this] { RunCommand([this] { DoSearch(); }); });
    connect(Help_, &QAction::triggered, this, [] { RunCommand([] { ShowHelpTopic("findqso"); }); });
    connect(Close_, &QAction::triggered, this, &QDialog::reject);
}

void TfmFindQSO::CreateLayout() {
    auto* menus = new QMenuBar(this);
    menus->setObjectName(QStringLiteral("mmFindQSO"));
    QMenu* search = menus->addMenu(QStringLiteral("Поиск"));
    search->setObjectName(QStringLiteral("mnSearch"));
    search->addAction(NewSearch_);
    search->addSeparator();
    search->addActions({DoSearch_, Refresh_});
    search->addSeparator();
    search->addAction(Close_);
    QMenu* help = menus->addMenu(QStringLiteral("Справка"));
    help->setObjectName(QStringLiteral("mnHelp"));
    help->addAction(Help_);
    help->addSeparator();
    help->addAction(ZelkResources().About());
    OpenMenusWithF10(this, menus);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tbSearch"));
    tools->setIconSize(QSize(16, 16));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    edCall_ = new QLineEdit(tools);
    edCall_->setObjectName(QStringLiteral("edCall"));
    edCall_->setMinimumWidth(90);
    tools->addWidget(edCall_);
    tools->addAction(DoSearch_);
    tools->addSeparator();
    tools->addAction(Refresh_);

    lvResult_ = new QTableWidget(0, 2);
    lvResult_->setObjectName(QStringLiteral("lvResult"));
    lvResult_->setHorizontalHeaderLabels({QStringLiteral("File"), QStringLiteral("Comment")});
    lvResult_->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignCenter);
    lvResult_->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lvResult_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvResult_->setSelectionMode(QAbstractItemView::SingleSelection);
    lvResult_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvResult_->setShowGrid(true);
    lvResult_->setWordWrap(false);
    lvResult_->setTabKeyNavigation(false);
    lvResult_->setIconSize(QSize(12, 12));
    lvResult_->verticalHeader()->hide();
    lvResult_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lvResult_->verticalHeader()->setDefaultSectionSize(lvResult_->fontMetrics().height() + 4);
    lvResult_->horizontalHeader()->setHighlightSections(false);
    lvResult_->horizontalHeader()->setMinimumSectionSize(70);
    lvResult_->horizontalHeader()->setStretchLastSection(false);
    lvResult_->setColumnWidth(0, 100);
    lvResult_->setColumnWidth(1, 200);
    lvResult_->installEventFilter(this);
    connect(lvResult_, &QTableWidget::itemDoubleClicked, this, &TfmFindQSO::Choose);

    paResult_ = new QWidget;
    paResult_->setObjectName(QStringLiteral("paResult"));
    auto* result = new QVBoxLayout(paResult_);
    result->setContentsMargins(0, 0, 0, 0);
    result->addWidget(lvResult_);

    // The gauge sits in the vertical middle of the progress panel whatever its height.
    paProgress_ = new QWidget;
    paProgress_->setObjectName(QStringLiteral("paProgress"));
    gaProgress_ = new TProgressPanel(QStringLiteral("gaProgress"), paProgress_);
    auto* progress = new QVBoxLayout(paProgress_);
    progress->setContentsMargins(8, 0, 8, 0);
    progress->addStretch(1);
    progress->addWidget(gaProgress_);
    progress->addStretch(1);

    panels_ = new QStackedWidget(this);
    panels_->setObjectName(QStringLiteral("paPanels"));
    panels_->addWidget(paResult_);
    panels_->addWidget(paProgress_);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("stbStatus"));
    status->setSizeGripEnabled(false);
    status->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    stCount_ = StatusPanel(0, status);
    stCount_->setAlignment(Qt::AlignCenter);
    status->addWidget(stCount_);
    status->addWidget(StatusPanel(1, status));
    stMessage_ = new QLabel(status);
    stMessage_->setObjectName(QStringLiteral("stMessage"));
    stMessage_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status->addWidget(stMessage_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menus);
    layout->addWidget(tools);
    layout->addWidget(panels_, 1);
    layout->addWidget(status);

    // Typed letters go into the box in upper case, as callsigns are written.
    connect(edCall_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int caret = edCall_->cursorPosition();
        edCall_->setText(upper);
        edCall_->setCursorPosition(caret);
    });
    connect(edCall_, &QLineEdit::returnPressed, DoSearch_, &QAction::trigger);
}

// Each stored value greater than 0 replaces the designed one on its own.
void TfmFindQSO::RestoreGeometry() {
    const auto& v = Vars();
    QSize size = this->size();
    if (v.WFindQSOHeight > 0) size.setHeight(v.WFindQSOHeight);
    if (v.WFindQSOWidth > 0) size.setWidth(v.WFindQSOWidth);
    resize(size.expandedTo(minimumSize()));
    if (v.WFindQSOTop > 0 || v.WFindQSOLeft > 0) {
        QPoint at = pos();
        if (v.WFindQSOTop > 0) at.setY(v.WFindQSOTop);
        if (v.WFindQSOLeft > 0) at.setX(v.WFindQSOLeft);
        move(at);
    }
}

bool TfmFindQSO::Execute() {
    chosen_.clear();
    RestoreGeometry();
    if (QWidget* owner = parentWidget()) {
        if (Vars().WFindQSOTop > 0 || Vars().WFindQSOLeft > 0)
            KeepWholeOnScreen(this, owner->frameGeometry());
        else
            CentreOver(this, owner->frameGeometry());
    }
    if (lvResult_->rowCount() > 0)
        lvResult_->setFocus();
    else
        edCall_->setFocus();
    return exec() == QDialog::Accepted;
}

void TfmFindQSO::NewSearch() {
    lvResult_->setRowCount(0);
    edCall_->clear();
    searched_.clear();
    stCount_->clear();
    edCall_->setFocus();
}

void TfmFindQSO::DoSearch() {
    const std::string text = Trim(Cp(edCall_->text()));
    if (text.empty()) {
        Messages().Info("Введите подстроку для поиска"_cp, "Не задано условие поиска"_cp);
        edCall_->setFocus();
        return;
    }
    searched_ = text;
    TWaitCursor wait;
    lvResult_->setRowCount(0);
    stMessage_->clear();
    TProgress progress(*this);
    std::vector<TSearchRow> rows;
    try {
        SearchContacts(contest_, text, &progress, rows);
    } catch (const TZelkCancelled&) {
        // The logs read before the stop keep their rows, and the status bar says how far it got.
        FillResults(rows);
        ShowResults(lvResult_->rowCount());
        stMessage_->setText(QStringLiteral("Поиск остановлен (просмотрено %1 из %2)")
                                .arg(gaProgress_->Done())
                                .arg(gaProgress_->Total()));
        return;
    } catch (...) {
        // The logs read before the one that failed keep their rows.
        FillResults(rows);
        ShowResults(lvResult_->rowCount());
        throw;
    }
    FillResults(rows);
    if (lvResult_->rowCount() > 0) {
        lvResult_->selectRow(0);
        lvResult_->setFocus();
    }
    ShowResults(lvResult_->rowCount());
}

void TfmFindQSO::FillResults(const std::vector<TSearchRow>& rows) {
    lvResult_->setUpdatesEnabled(false);
    const auto& images = ZelkResources().ListImages();
    lvResult_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < lvResult_->rowCount(); ++i) {
        const TSearchRow& row = rows[static_cast<size_t>(i)];
        auto* file = new QTableWidgetItem(images[static_cast<size_t>(row.Owner ? imgCallSign : imgLog)],
                                          Qs(row.FileName));
        file->setTextAlignment(Qt::AlignCenter);
        file->setData(kFileNameRole, QByteArray::fromStdString(row.FileName));
        lvResult_->setItem(i, 0, file);
        lvResult_->setItem(i, 1, new QTableWidgetItem(Qs(row.Comment)));
    }
    lvResult_->setUpdatesEnabled(true);
}

void TfmFindQSO::ShowResults(int rows) {
    panels_->setCurrentWidget(paResult_);
    stCount_->setText(QString::number(rows));
}

void TfmFindQSO::Choose() {
    const QModelIndexList selected = lvResult_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    chosen_ = lvResult_->item(selected.first().row(), 0)->data(kFileNameRole).toByteArray().toStdString();
    accept();
}

QString TfmFindQSO::Message() const {
    return stMessage_->text();
}

// Closing during a search stops the search instead.
void TfmFindQSO::done(int result) {
    if (gaProgress_->Running()) {
        gaProgress_->Cancel();
        return;
    }
    auto& v = Vars();
    v.WFindQSOTop = y();
    v.WFindQSOLeft = x();
    v.WFindQSOHeight = height();
    v.WFindQSOWidth = width();
    v.WFindQSOCall = Cp(edCall_->text());
    QDialog::done(result);
}

// Enter in the result list chooses the selected row.
bool TfmFindQSO::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lvResult_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Choose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zelk::ui
