// The help window: the compiled help file in a collection of its own, the page pane, the contents and the
// index, and the commands that move between pages.
#include "ui/help_window.h"

#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/help_browser.h"
#include "ui/help_debug.h"
#include "ui/qt_text.h"
#include "ui/window_place.h"

#include <QAction>
#include <QApplication>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLineEdit>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace zelk::ui {
namespace {

const QString kStartPage = QStringLiteral("about.htm");

} // namespace

TfmHelp::TfmHelp(const std::string& helpFile, QWidget* parent) : QMainWindow(parent), helpFile_(helpFile) {
    setObjectName(QStringLiteral("fmHelp"));
    // Closing the main window ends the program even while the help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(920, 640);
    Open();
    CreateActions();
    CreateLayout();
    setWindowTitle(QStringLiteral("Справка %1").arg(Qs(Vars().AppName)));
}

// The contents and index views use the engine's models, so they go before the engine does.
TfmHelp::~TfmHelp() {
    delete tcNavigation_;
}

// The help engine keeps its list of help files in a collection file. The window makes its own for the run
// in a temporary folder and registers the one help file in it: a collection kept between runs would go
// on naming the help file of whichever copy of the program registered it first.
void TfmHelp::Open() {
    const QString file = Qs(helpFile_);
    if (!collectionDir_.isValid()) {
        openError_ =
            QStringLiteral("нет временной папки для сборника справки: %1").arg(collectionDir_.errorString());
        HelpDebug("Окно справки: "_cp + Cp(openError_));
        return;
    }
    engine_ = new QHelpEngine(collectionDir_.filePath(QStringLiteral("zelkon.qhc")), this);
    engine_->setReadOnly(false);
    engine_->setUsesFilterEngine(true);
    HelpDebug("Окно справки: сборник "_cp + Cp(engine_->collectionFile()));
    const QString space = QHelpEngineCore::namespaceName(file);
    if (!engine_->setupData())
        openError_ = engine_->error();
    else if (space.isEmpty())
        openError_ = QStringLiteral("это не файл справки");
    else if (!engine_->registerDocumentation(file))
        openError_ = engine_->error();
    if (!openError_.isEmpty()) {
        HelpDebug("Окно справки: не удалось открыть файл справки "_cp + helpFile_ + ": " + Cp(openError_));
        return;
    }
    for (const QUrl& url : engine_->files(space, QString(), QStringLiteral("htm")))
        pages_.insert(url.fileName(), url);
    home_ = PageUrl(kStartPage);
    if (!home_.isValid() && !pages_.isEmpty()) home_ = pages_.first();
    HelpDebug(FormatText("Окно справки: открыт файл справки %s"_cp, helpFile_) + " (" + Cp(space) + ", " +
              FormatText("страниц: %d)"_cp, static_cast<long long>(pages_.size())));
}

void TfmHelp::CreateActions() {
    QStyle* style = QApplication::style();
    auto make = [this](const char* name, const QIcon& icon, const QString& caption, const QKeySequence& key) {
        auto* action = new QAction(icon, caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        addAction(action);
        return action;
    };
    actBack_ = make("actBack", style->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"),
                    QKeySequence::Back);
    actForward_ = make("actForward", style->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперёд"),
                       QKeySequence::Forward);
    actHome_ = make("actHome", style->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Начало"),
                    QKeySequence(Qt::ALT | Qt::Key_Home));
    actZoomIn_ = make("actZoomIn", QIcon(), QStringLiteral("Крупнее"), QKeySequence::ZoomIn);
    actZoomOut_ = make("actZoomOut", QIcon(), QStringLiteral("Мельче"), QKeySequence::ZoomOut);
    actClose_ = make("actClose", QIcon(), QStringLiteral("Закрыть"), QKeySequence(Qt::Key_Escape));
    actBack_->setEnabled(false);
    actForward_->setEnabled(false);
    actHome_->setToolTip(QStringLiteral("Начальная страница справки"));
    connect(actClose_, &QAction::triggered, this, &QWidget::close);
}

void TfmHelp::CreateLayout() {
    brPage_ = new THelpBrowser(engine_, Qs(helpFile_), this);
    brPage_->setObjectName(QStringLiteral("brPage"));
    brPage_->SetHomeUrl(home_);
    connect(brPage_, &QTextBrowser::sourceChanged, this, &TfmHelp::PageChanged);
    connect(brPage_, &QTextBrowser::backwardAvailable, actBack_, &QAction::setEnabled);
    connect(brPage_, &QTextBrowser::forwardAvailable, actForward_, &QAction::setEnabled);
    connect(brPage_, &QTextBrowser::anchorClicked, this,
            [](const QUrl& url) { HelpDebug("Окно справки: ссылка "_cp + Cp(url.toString())); });
    connect(actBack_, &QAction::triggered, brPage_, &QTextBrowser::backward);
    connect(actForward_, &QAction::triggered, brPage_, &QTextBrowser::forward);
    connect(actHome_, &QAction::triggered, this, [this] { Follow(home_, "начальная страница"_cp); });
    connect(actZoomIn_, &QAction::triggered, brPage_, [this] { brPage_->zoomIn(); });
    connect(actZoomOut_, &QAction::triggered, brPage_, [this] { brPage_->zoomOut(); });
    actHome_->setEnabled(home_.isValid());

    auto* tools = addToolBar(QStringLiteral("Справка"));
    tools->setObjectName(QStringLiteral("tbHelp"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (QAction* action : {actBack_, actForward_, actHome_})
        tools->addAction(action);
    tools->addSeparator();
    tools->addAction(actZoomIn_);
    tools->addAction(actZoomOut_);

    tcNavigation_ = new QTabWidget(this);
    tcNavigation_->setObjectName(QStringLiteral("tcNavigation"));
    if (engine_ && openError_.isEmpty()) {
        QHelpContentWidget* contents = engine_->contentWidget();
        contents->setObjectName(QStringLiteral("tvContents"));
        contents->setHeaderHidden(true);
        connect(contents, &QHelpContentWidget::linkActivated, this,
                [this](const QUrl& url) { Follow(url, "содержание"_cp); });
        // One click on a heading of the contents opens its page, as Enter and a double click do.
        connect(contents, &QAbstractItemView::clicked, this, [this](const QModelIndex& item) {
            if (const QHelpContentItem* entry = engine_->contentModel()->contentItemAt(item))
                Follow(entry->url(), "содержание"_cp);
        });
        connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this, [this, contents] {
            contents->expandAll();
            SelectInContents(brPage_->source());
        });
        tcNavigation_->addTab(contents, QStringLiteral("Содержание"));
        tcNavigation_->addTab(CreateIndexPage(), QStringLiteral("Указатель"));
    }

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("spHelp"));
    splitter->addWidget(tcNavigation_);
    splitter->addWidget(brPage_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 660});
    setCentralWidget(splitter);
}

QWidget* TfmHelp::CreateIndexPage() {
    auto* page = new QWidget;
    edIndex_ = new QLineEdit(page);
    edIndex_->setObjectName(QStringLiteral("edIndex"));
    edIndex_->setPlaceholderText(QStringLiteral("Искать слово"));
    edIndex_->setClearButtonEnabled(true);
    QHelpIndexWidget* index = engine_->indexWidget();
    index->setObjectName(QStringLiteral("lvIndex"));
    index->setParent(page);
    connect(edIndex_, &QLineEdit::textChanged, index,
            [index](const QString& text) { index->filterIndices(text); });
    connect(edIndex_, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
    auto open = [this](const QUrl& url, const QString& keyword) {
        Follow(url, "указатель: "_cp + Cp(keyword));
    };
    connect(index, &QHelpIndexWidget::documentActivated, this,
            [open](const QHelpLink& link, const QString& keyword) { open(link.url, keyword); });
    // A word that several pages explain opens the first of them; the others stay a click away in the
    // contents.
    connect(index, &QHelpIndexWidget::documentsActivated, this,
            [open](const QList<QHelpLink>& links, const QString& keyword) {
                if (!links.isEmpty()) open(links.first().url, keyword);
            });
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(edIndex_);
    layout->addWidget(index);
    return page;
}

QUrl TfmHelp::PageUrl(const QString& page) const {
    if (const auto it = pages_.constFind(page); it != pages_.constEnd()) return it.value();
    for (auto it = pages_.constBegin(); it != pages_.constEnd(); ++it)
        if (it.key().compare(page, Qt::CaseInsensitive) == 0) return it.value();
    return {};
}

bool TfmHelp::ShowPage(const QString& page) {
    const QUrl url = PageUrl(page);
    if (url.isValid()) {
        Follow(url, "раздел "_cp + Cp(page));
        return true;
    }
    HelpDebug("Окно справки: в файле справки нет страницы "_cp + Cp(page));
    brPage_->setSource(THelpBrowser::MissingPageUrl(page));
    return false;
}

void TfmHelp::Follow(const QUrl& url, const std::string& how) {
    HelpDebug("Окно справки: переход ("_cp + how + ") " + Cp(url.toString()));
    brPage_->setSource(url);
}

void TfmHelp::PageChanged(const QUrl& url) {
    const QString title = brPage_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Справка %1").arg(Qs(Vars().AppName))
                                   : QStringLiteral("Справка %1: %2").arg(Qs(Vars().AppName), title));
    SelectInContents(url);
    HelpDebug("Окно справки: показана страница "_cp + Cp(url.toString()) + " «"_cp + Cp(title) + "»"_cp);
}

void TfmHelp::SelectInContents(const QUrl& url) {
    if (!engine_ || !openError_.isEmpty() || THelpBrowser::IsMissingPageUrl(url)) return;
    QHelpContentWidget* contents = engine_->contentWidget();
    QUrl page = url;
    page.setFragment(QString());
    const QModelIndex item = contents->indexOf(page);
    if (item.isValid()) contents->setCurrentIndex(item);
}

// A help window that is not showing opens over the window the judge asked from, whole on its screen.
void TfmHelp::Present() {
    QWidget* dialog = QApplication::activeModalWidget();
    QWidget* owner = dialog && dialog != this ? dialog : QApplication::activeWindow();
    const bool wasVisible = isVisible();
    const Qt::WindowModality wanted = dialog ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        // A shown window takes a new modality only when it is shown again.
        hide();
        setWindowModality(wanted);
        HelpDebug(dialog && dialog != this ? "Окно справки: открыто поверх модального окна «"_cp +
                                                 Cp(dialog->windowTitle()) + "»"_cp
                                           : "Окно справки: обычное окно"_cp);
    }
    if (!wasVisible) {
        if (owner && owner != this)
            CentreOver(this, owner->frameGeometry());
        else
            KeepWholeOnScreen(this, frameGeometry());
    }
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

} // namespace zelk::ui
