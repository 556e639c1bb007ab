// The log editor's commands, text view, menus, tool bar, status bar and pop-up menu. Each action is made
// once and shared by the menus, the tool bar and the pop-up menu.
#include "ui/edit_file.h"

#include "ui/command_guard.h"
#include "ui/edit_file_find.h"
#include "ui/help_topic.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace zelk::ui {
namespace {

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const char* image,
                    const QKeySequence& key = {}, const QString& hint = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(u'&') : hint);
    action->setStatusTip(action->toolTip());
    if (image) action->setIcon(TZelkResources::Image(QString::fromLatin1(image)));
    if (!key.isEmpty()) action->setShortcut(key);
    return action;
}

} // namespace

void TfmEditFile::CreateLayout() {
    reView_ = new QPlainTextEdit(this);
    reView_->setObjectName(QStringLiteral("reView"));
    reView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    reView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reView_->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(reView_);

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("stPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        statusPanels_[i] = panel;
    }
    statusPanels_[0]->setFixedWidth(50);
    statusPanels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addWidget(statusPanels_[0]);
    statusBar()->addWidget(statusPanels_[1], 1);
    statusPanels_[2]->setToolTip(QStringLiteral("Кодировка файла"));
    statusBar()->addPermanentWidget(statusPanels_[2]);

    tmrSyntax_ = new QTimer(this);
    tmrSyntax_->setObjectName(QStringLiteral("tmrSyntax"));
    tmrSyntax_->setSingleShot(true);
    tmrSyntax_->setInterval(1000);
    connect(tmrSyntax_, &QTimer::timeout, this, [this] {
        if (actShowSyntax->isChecked()) RunCommand([this] { ApplySyntax(); });
    });

    dlgFind_ = new TTextFindDialog(TTextFindDialog::TKind::Find, this);
    connect(dlgFind_, &TTextFindDialog::FindNext, this, [this](const QString& text) { FindNext(text); });
    dlgReplace_ = new TTextFindDialog(TTextFindDialog::TKind::Replace, this);
    connect(dlgReplace_, &TTextFindDialog::FindNext, this, [this](const QString& text) { FindNext(text); });
    connect(dlgReplace_, &TTextFindDialog::Replace, this,
            [this](const QString& text, const QString& replacement) { ReplaceCurrent(text, replacement); });
    connect(dlgReplace_, &TTextFindDialog::ReplaceAll, this,
            [this](const QString& text, const QString& replacement) { ReplaceAll(text, replacement); });
}

void TfmEditFile::CreateActions() {
    auto guarded = [this](QAction* action, auto handler) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunCommand([&] { (this->*handler)(); }); });
    };

    actOpen = MakeAction(this, "actOpen", QStringLiteral("Открыть файл"), "open",
                         QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Открыть файл..."));
    guarded(actOpen, &TfmEditFile::actOpenExecute);
    actSave = MakeAction(this, "actSave", QStringLiteral("Сохранить как..."), "save",
                         QKeySequence(Qt::CTRL | Qt::Key_S));
    guarded(actSave, &TfmEditFile::actSaveExecute);
    actPrintPreview = MakeAction(this, "actPrintPreview", QStringLiteral("Печатать"), "print-report",
                                 QKeySequence(Qt::CTRL | Qt::Key_P));
    guarded(actPrintPreview, &TfmEditFile::actPrintPreviewExecute);
    actDesign = MakeAction(this, "actDesign", QStringLiteral("Дизайнер отчёта"), "design");
    guarded(actDesign, &TfmEditFile::actDesignExecute);
    actClose = MakeAction(this, "actClose", QStringLiteral("&Закрыть"), "exit");
    connect(actClose, &QAction::triggered, this, &QWidget::close);

    actCut =
        MakeAction(this, "actCut", QStringLiteral("Вырезать"), "cut", QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(actCut, &QAction::triggered, reView_, &QPlainTextEdit::cut);
    actCopy =
        MakeAction(this, "actCopy", QStringLiteral("Копировать"), "copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(actCopy, &QAction::triggered, reView_, &QPlainTextEdit::copy);
    actPaste =
        MakeAction(this, "actPaste", QStringLiteral("Вставить"), "paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    connect(actPaste, &QAction::triggered, reView_, &QPlainTextEdit::paste);
    actUndo =
        MakeAction(this, "actUndo", QStringLiteral("Отменить"), "undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(actUndo, &QAction::triggered, reView_, &QPlainTextEdit::undo);
    actSelectAll = MakeAction(this, "actSelectAll", QStringLiteral("Выделить всё"), "select-all",
                              QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(actSelectAll, &QAction::triggered, reView_, &QPlainTextEdit::selectAll);
    actFind =
        MakeAction(this, "actFind", QStringLiteral("Искать..."), "find", QKeySequence(Qt::CTRL | Qt::Key_F));
    guarded(actFind, &TfmEditFile::actFindExecute);
    actFindAndReplace = MakeAction(this, "actFindAndReplace", QStringLiteral("Искать и заменить..."),
                                   "find-replace", QKeySequence(Qt::CTRL | Qt::Key_R));
    guarded(actFindAndReplace, &TfmEditFile::actFindAndReplaceExecute);

    actSelectFont = MakeAction(this, "actSelectFont", QStringLiteral("Шрифт..."), "font");
    guarded(actSelectFont, &TfmEditFile::actSelectFontExecute);
    actShowSyntax = MakeAction(this, "actShowSyntax", QStringLiteral("&Выделение цветом"), "syntax");
    actShowSyntax->setCheckable(true);
    guarded(actShowSyntax, &TfmEditFile::actShowSyntaxExecute);
    actEncode866 =
        MakeAction(this, "actEncode866", QStringLiteral("Кодировка DOS (866) -> WIN (1251)"), "encode");
    guarded(actEncode866, &TfmEditFile::actEncode866Execute);
    actHelp = MakeAction(this, "actHelp", QStringLiteral("Вызов справки"), "help", QKeySequence(Qt::Key_F1));
    connect(actHelp, &QAction::triggered, this, [] { RunCommand([] { ShowHelpTopic("editfile"); }); });

    actCut->setEnabled(false);
    actCopy->setEnabled(false);
    actUndo->setEnabled(false);
    connect(reView_, &QPlainTextEdit::copyAvailable, actCut, &QAction::setEnabled);
    connect(reView_, &QPlainTextEdit::copyAvailable, actCopy, &QAction::setEnabled);
    connect(reView_, &QPlainTextEdit::undoAvailable, actUndo, &QAction::setEnabled);

    for (QAction* a : findChildren<QAction*>())
        addAction(a); // shortcuts work wherever the focus is in the window
}

void TfmEditFile::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnFile"));
    file->addActions({actOpen, actSave});
    file->addSeparator();
    file->addActions({actPrintPreview, actDesign});
    file->addSeparator();
    file->addAction(actClose);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Правка"));
    edit->setObjectName(QStringLiteral("mnEdit"));
    edit->addActions({actCut, actCopy, actPaste});
    edit->addSeparator();
    edit->addAction(actSelectAll);
    edit->addSeparator();
    edit->addActions({actFind, actFindAndReplace});

    QMenu* view = menuBar()->addMenu(QStringLiteral("&Вид"));
    view->setObjectName(QStringLiteral("mnView"));
    view->addActions({actSelectFont, actEncode866, actShowSyntax});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Справка"));
    help->setObjectName(QStringLiteral("mnHelp"));
    help->addAction(actHelp);
    help->addSeparator();
    help->addAction(ZelkResources().About());
    OpenMenusWithF10(this, menuBar());

    QToolBar* bar = addToolBar(QStringLiteral("tbEditFile"));
    bar->setObjectName(QStringLiteral("tbEditFile"));
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->addActions({actOpen, actSave});
    bar->addSeparator();
    bar->addActions({actCut, actCopy, actPaste, actUndo});
    bar->addSeparator();
    bar->addAction(actFind);
    bar->addSeparator();
    bar->addAction(actPrintPreview);
    bar->addSeparator();
    bar->addActions({actEncode866, actShowSyntax});
}

void TfmEditFile::CreatePopupMenu() {
    pmEditor_ = new QMenu(this);
    pmEditor_->setObjectName(QStringLiteral("pmEditor"));
    pmEditor_->addActions({actCut, actCopy, actPaste});
    pmEditor_->addSeparator();
    pmEditor_->addAction(actSelectAll);
    pmEditor_->addSeparator();
    pmEditor_->addAction(actPrintPreview);
    pmEditor_->addSeparator();
    pmEditor_->addActions({actSelectFont, actEncode866, actShowSyntax});
    connect(reView_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmEditor_->popup(reView_->viewport()->mapToGlobal(at)); });
}

} // namespace zelk::ui
