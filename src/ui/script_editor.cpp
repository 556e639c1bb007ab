// The script editor window: its commands, layout and menus, the text's way between the editor, the script
// item and the files, the check with its result panel and error line, and the stored geometry.
#include "ui/script_editor.h"

#include "logs/file_io.h"
#include "logs/text.h"
#include "script/fr_interpretator.h"
#include "script/judging_scripts.h"
#include "script/zelk_script_engine.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/command_guard.h"
#include "ui/help_topic.h"
#include "ui/qt_text.h"
#include "ui/replace_question.h"
#include "ui/script_editor_completion.h"
#include "ui/script_editor_lexer.h"
#include "ui/script_editor_text.h"
#include "ui/window_place.h"
#include "ui/zelk_resources.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace zelk::ui {
namespace {

using Sci = QsciScintillaBase;

const QString kScriptFilter = QStringLiteral("Файлы скриптов/текстовые|*.txt; *.pas|Все файлы|*.*");
constexpr int kCheckPanelMin = 40;
constexpr int kCheckPanelHeight = 70;
constexpr int kCaretPanelWidth = 50;
// The indicator that underlines characters a Windows-1251 file cannot hold.
constexpr int kUnencodableIndicator = 8;

QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const char* image,
                    const QKeySequence& shortcut = {}, const QString& hint = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(u'&') : hint);
    if (image) action->setIcon(TZelkResources::Image(QString::fromLatin1(image)));
    action->setShortcut(shortcut);
    return action;
}

// Points a shared file dialog at the script's folder and file for one use, and gives it back as it was
// found afterwards, since the log editor uses the same dialog.
class TScriptFileDialog {
  public:
    TScriptFileDialog(QFileDialog* dialog, const QString& title, const std::string& file)
        : dialog_(dialog), title_(dialog->windowTitle()), filters_(dialog->nameFilters()),
          folder_(dialog->directory()), options_(dialog->options()) {
        dialog_->setWindowTitle(title);
        dialog_->setNameFilters(DialogFilters(kScriptFilter));
        // A folder that does not exist would leave the dialog wherever it was, with a wrong path in it.
        const QString folder = Qs(ExtractFilePath(file));
        if (QDir(folder).exists()) dialog_->setDirectory(folder);
        dialog_->selectFile(Qs(ExtractFileName(file)));
        // The editor asks its own replace question.
        dialog_->setOption(QFileDialog::DontConfirmOverwrite, true);
    }
    ~TScriptFileDialog() {
        dialog_->setWindowTitle(title_);
        dialog_->setNameFilters(filters_);
        dialog_->setDirectory(folder_);
        dialog_->setOptions(options_);
    }
    TScriptFileDialog(const TScriptFileDialog&) = delete;
    TScriptFileDialog& operator=(const TScriptFileDialog&) = delete;

    // The chosen file as program text, or empty text when the judge cancelled.
    std::string Choose() {
        if (dialog_->exec() != QDialog::Accepted) return {};
        const QStringList files = dialog_->selectedFiles();
        return files.isEmpty() ? std::string() : FromUtf8(files.first().toStdString());
    }

  private:
    QFileDialog* dialog_;
    QString title_;
    QStringList filters_;
    QDir folder_;
    QFileDialog::Options options_;
};

// The script folder of a first save does not exist yet; a folder that cannot be made shows up as the
// write error of the save.
void MakeFolderOf(const std::string& file) {
    std::error_code ignored;
    std::filesystem::create_directories(PathFromText(ExtractFilePath(file)), ignored);
}

} // namespace

TfmScriptEditor::TfmScriptEditor(TZelkScriptItem& item, QWidget* parent) : QDialog(parent), item_(item) {
    setObjectName(QStringLiteral("fmScriptEditor"));
    setWindowIcon(TZelkResources::AppIcon());
    setWindowFlags((windowFlags() | Qt::WindowMinMaxButtonsHint) & ~Qt::WindowContextHelpButtonHint);
    resize(640, 480);
    CreateActions();
    CreateLayout();
    CreateMenus();
    ApplyStoredGeometry();

    errorLine_ = -1;
    std::vector<TCompletionEntry> entries;
    TZelkScriptEngine().FillCompletion(entries);
    synCompletion_->SetEntries(entries);
    setWindowTitle(QStringLiteral("Zelkon::ScriptEditor"));
    modified_ = false;
    paCheckResult_->hide();
    OpenItem();
}

TfmScriptEditor::~TfmScriptEditor() = default;

void TfmScriptEditor::CreateActions() {
    auto guarded = [this](QAction* action, void (TfmScriptEditor::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { RunCommand([&] { (this->*handler)(); }); });
    };
    actOpen = MakeAction(this, "actOpen", QStringLiteral("Открыть файл"), "open-file",
                         QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Открыть файл..."));
    guarded(actOpen, &TfmScriptEditor::actOpenExecute);
    actSave = MakeAction(this, "actSave", QStringLiteral("Сохранить"), "save-report",
                         QKeySequence(Qt::CTRL | Qt::Key_S));
    guarded(actSave, &TfmScriptEditor::actSaveExecute);
    actClose =
        MakeAction(this, "actClose", QStringLiteral("&Закрыть"), "exit", QKeySequence(Qt::CTRL | Qt::Key_F4));
    connect(actClose, &QAction::triggered, this, &QWidget::close);

    actCut =
        MakeAction(this, "actCut", QStringLiteral("Вырезать"), "cut", QKeySequence(Qt::CTRL | Qt::Key_X));
    actCopy =
        MakeAction(this, "actCopy", QStringLiteral("Копировать"), "copy", QKeySequence(Qt::CTRL | Qt::Key_C));
    actPaste =
        MakeAction(this, "actPaste", QStringLiteral("Вставить"), "paste", QKeySequence(Qt::CTRL | Qt::Key_V));
    actUndo =
        MakeAction(this, "actUndo", QStringLiteral("Отменить"), "undo", QKeySequence(Qt::CTRL | Qt::Key_Z));
    actSelectAll = MakeAction(this, "actSelectAll", QStringLiteral("Выделить всё"), nullptr,
                              QKeySequence(Qt::CTRL | Qt::Key_A));
    actCheck = MakeAction(this, "actCheck", QStringLiteral("Проверить скрипт"), "check-script");
    guarded(actCheck, &TfmScriptEditor::actCheckExecute);
    actHelp = MakeAction(this, "actHelp", QStringLiteral("Вызов справки"), "help", QKeySequence(Qt::Key_F1),
                         QStringLiteral("Справка"));
    actHelp->setIconText(QStringLiteral("Справка"));
    guarded(actHelp, &TfmScriptEditor::actHelpExecute);

    for (QAction* a :
         {actOpen, actSave, actClose, actCut, actCopy, actPaste, actUndo, actSelectAll, actCheck, actHelp}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a); // shortcuts work wherever the focus is in the window
    }
}

void TfmScriptEditor::CreateLayout() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("tbScript"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splScript"));
    splitter_->setChildrenCollapsible(false);

    synEdit_ = new QsciScintilla(splitter_);
    synEdit_->setObjectName(QStringLiteral("synEdit"));
    synEdit_->setUtf8(true);
    lexer_ = new TScriptLexer(synEdit_);
    synEdit_->setLexer(lexer_);
    synEdit_->setEolMode(QsciScintilla::EolWindows);
    synEdit_->setMarginType(0, QsciScintilla::NumberMargin);
    synEdit_->setMarginLineNumbers(0, true);
    synEdit_->setMarginsFont(TScriptLexer::EditorFont());
    synEdit_->setMarginWidth(0, QStringLiteral("00000"));
    synEdit_->setMarginWidth(1, 0);
    synEdit_->SendScintilla(Sci::SCI_SETMARGINLEFT, 0UL, 4L);
    // The horizontal scroll bar follows the longest line shown instead of a fixed width.
    synEdit_->SendScintilla(Sci::SCI_SETSCROLLWIDTH, 1UL);
    synEdit_->SendScintilla(Sci::SCI_SETSCROLLWIDTHTRACKING, 1UL);
    synEdit_->setAutoIndent(true);
    synEdit_->setIndentationsUseTabs(false);
    synEdit_->setTabWidth(2);
    synEdit_->setAutoCompletionSource(QsciScintilla::AcsNone);
    synEdit_->setBraceMatching(QsciScintilla::SloppyBraceMatch);
    synEdit_->indicatorDefine(QsciScintilla::SquiggleIndicator, kUnencodableIndicator);
    synEdit_->setIndicatorForegroundColor(Qt::red, kUnencodableIndicator);
    synEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
    synCompletion_ = new TScriptCompletion(synEdit_);

    paCheckResult_ = new QWidget(splitter_);
    paCheckResult_->setObjectName(QStringLiteral("paCheckResult"));
    paCheckResult_->setMinimumHeight(kCheckPanelMin);
    meCheckResult_ = new QPlainTextEdit(paCheckResult_);
    meCheckResult_->setObjectName(QStringLiteral("meCheckResult"));
    meCheckResult_->setReadOnly(true);
    auto* sbCloseCheck = new QToolButton(paCheckResult_);
    sbCloseCheck->setObjectName(QStringLiteral("sbCloseCheck"));
    sbCloseCheck->setToolTip(QStringLiteral("Закрыть"));
    sbCloseCheck->setText(QStringLiteral("×"));
    sbCloseCheck->setAutoRaise(true);
    sbCloseCheck->setFixedSize(16, 16);
    connect(sbCloseCheck, &QToolButton::clicked, paCheckResult_, &QWidget::hide);
    auto* panel = new QHBoxLayout(paCheckResult_);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(1);
    panel->addWidget(meCheckResult_, 1);
    panel->addWidget(sbCloseCheck, 0, Qt::AlignTop);
    splitter_->addWidget(synEdit_);
    splitter_->addWidget(paCheckResult_);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);

    stbStatus_ = new QStatusBar(this);
    stbStatus_->setObjectName(QStringLiteral("stbStatus"));
    stbStatus_->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
    for (size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* label = new QLabel(stbStatus_);
        label->setObjectName(QStringLiteral("stPanel%1").arg(i));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        statusPanels_[i] = label;
    }
    statusPanels_[0]->setFixedWidth(kCaretPanelWidth);
    statusPanels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stbStatus_->addWidget(statusPanels_[0]);
    stbStatus_->addWidget(statusPanels_[1], 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(splitter_, 1);
    layout->addWidget(stbStatus_);

    connect(synEdit_, &QsciScintilla::textChanged, this, &TfmScriptEditor::OnTextChanged);
    connect(synEdit_, &QsciScintilla::cursorPositionChanged, this, &TfmScriptEditor::ShowCaretStatus);
    connect(synEdit_, &QsciScintilla::copyAvailable, actCut, &QAction::setEnabled);
    connect(synEdit_, &QsciScintilla::copyAvailable, actCopy, &QAction::setEnabled);
    connect(actCut, &QAction::triggered, synEdit_, &QsciScintilla::cut);
    connect(actCopy, &QAction::triggered, synEdit_, &QsciScintilla::copy);
    connect(actPaste, &QAction::triggered, synEdit_, &QsciScintilla::paste);
    connect(actUndo, &QAction::triggered, synEdit_, &QsciScintilla::undo);
    connect(actSelectAll, &QAction::triggered, synEdit_, [this] { synEdit_->selectAll(true); });
    actCut->setEnabled(false);
    actCopy->setEnabled(false);
    actUndo->setEnabled(false);
}

void TfmScriptEditor::CreateMenus() {
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("mnScript"));
    layout()->setMenuBar(menuBar);

    QMenu* file = menuBar->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("mnFile"));
    file->addActions({actOpen, actSave});
    file->addSeparator();
    file->addAction(actClose);

    QMenu* edit = menuBar->addMenu(QStringLiteral("&Правка"));
    edit->setObjectName(QStringLiteral("mnEdit"));
    edit->addActions({actCut, actCopy, actPaste});
    edit->addSeparator();
    edit->addAction(actSelectAll);

    QMenu* help = menuBar->addMenu(QStringLiteral("&Справка"));
    help->setObjectName(QStringLiteral("mnHelp"));
    help->addAction(actHelp);
    help->addSeparator();
    help->addAction(ZelkResources().About());
    OpenMenusWithF10(this, menuBar);

    toolBar_->addActions({actOpen, actSave});
    toolBar_->addSeparator();
    toolBar_->addActions({actCut, actCopy, actPaste, actUndo});
    toolBar_->addSeparator();
    toolBar_->addAction(actCheck);
    toolBar_->addSeparator();
    toolBar_->addAction(actHelp);

    pmEditor_ = new QMenu(this);
    pmEditor_->setObjectName(QStringLiteral("pmEditor"));
    pmEditor_->addActions({actCut, actCopy, actPaste});
    pmEditor_->addSeparator();
    pmEditor_->addAction(actSelectAll);
    connect(synEdit_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmEditor_->popup(synEdit_->viewport()->mapToGlobal(at)); });
}

// Only stored values greater than 0 replace the designed ones, each on its own.
void TfmScriptEditor::ApplyStoredGeometry() {
    const auto& v = Vars();
    QSize size = this->size();
    if (v.WSEHeight > 0) size.setHeight(v.WSEHeight);
    if (v.WSEWidth > 0) size.setWidth(v.WSEWidth);
    resize(size);
    if (v.WSETop > 0 || v.WSELeft > 0) {
        QPoint at = pos();
        if (v.WSETop > 0) at.setY(v.WSETop);
        if (v.WSELeft > 0) at.setX(v.WSELeft);
        move(at);
        KeepWholeOnScreen(this, frameGeometry());
    }
}

void TfmScriptEditor::StoreGeometry() {
    auto& v = Vars();
    v.WSETop = y();
    v.WSELeft = x();
    v.WSEHeight = height();
    v.WSEWidth = width();
}

// The item's text as it stands; a script still running on its built-in default can be saved at once.
void TfmScriptEditor::OpenItem() {
    LoadEditorText(Qs(item_.GetText()));
    fileName_ = item_.GetFileName();
    actSave->setEnabled(!FileExists(fileName_));
    ShowCaption();
}

void TfmScriptEditor::LoadEditorText(const QString& text) {
    loading_ = true;
    synEdit_->setText(text);
    synEdit_->convertEols(QsciScintilla::EolWindows);
    synEdit_->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
    synEdit_->setCursorPosition(0, 0);
    loading_ = false;
    actUndo->setEnabled(false);
    ShowCaretStatus();
    ShowUnencodable();
}

std::vector<std::string> TfmScriptEditor::EditorLines() const {
    return ScriptLines(synEdit_->text());
}

void TfmScriptEditor::OnTextChanged() {
    if (loading_) return;
    modified_ = true;
    actSave->setEnabled(true);
    actUndo->setEnabled(synEdit_->isUndoAvailable());
    paCheckResult_->hide();
    ShowUnencodable();
}

void TfmScriptEditor::ShowCaption() {
    setWindowTitle(Qs(ScriptEditorCaption(fileName_)));
}

void TfmScriptEditor::ShowCaretStatus() {
    const long pos = synEdit_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    const long line = synEdit_->SendScintilla(Sci::SCI_LINEFROMPOSITION, pos);
    const long start = synEdit_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    const long column = synEdit_->SendScintilla(Sci::SCI_COUNTCHARACTERS, start, pos);
    statusPanels_[0]->setText(Qs(CaretStatusText(static_cast<int>(line + 1), static_cast<int>(column + 1))));
}

// Characters that Windows-1251 lacks are underlined and named in the status bar, since a save writes them
// as "?".
void TfmScriptEditor::ShowUnencodable() {
    const QString text = synEdit_->text();
    const QString lacking = UnencodableChars(text);
    synEdit_->clearIndicatorRange(0, 0, synEdit_->lines(), 0, kUnencodableIndicator);
    const long length = synEdit_->SendScintilla(Sci::SCI_GETLENGTH);
    synEdit_->SendScintilla(Sci::SCI_SETINDICATORCURRENT, kUnencodableIndicator);
    synEdit_->SendScintilla(Sci::SCI_INDICATORCLEARRANGE, 0L, length);
    if (lacking.isEmpty()) {
        statusPanels_[1]->clear();
        return;
    }
    long bytes = 0;
    for (const uint code : text.toUcs4()) {
        const auto c = static_cast<char32_t>(code);
        const QString one = QString::fromUcs4(&c, 1);
        const long size = one.toUtf8().size();
        if (lacking.contains(one)) synEdit_->SendScintilla(Sci::SCI_INDICATORFILLRANGE, bytes, size);
        bytes += size;
    }
    statusPanels_[1]->setText(
        QStringLiteral("Знаков «%1» нет в кодировке Windows-1251: при сохранении они станут «?»")
            .arg(lacking));
}

void TfmScriptEditor::ShowCheckResult(const QString& text) {
    meCheckResult_->setPlainText(text);
    if (!paCheckResult_->isVisible()) {
        paCheckResult_->show();
        const int total = splitter_->height() - splitter_->handleWidth();
        splitter_->setSizes({std::max(total - kCheckPanelHeight, 1), kCheckPanelHeight});
    }
}

// The caret goes to the column, then to the line, of a check's error; a value below 1 means the first
// column or line, a value beyond the text its last column or line.
void TfmScriptEditor::MoveCaret(int line, int column) {
    const long lastLine = std::max(synEdit_->lines() - 1, 0);
    const long l = std::min<long>(std::max(line, 1) - 1, lastLine);
    const long start = synEdit_->SendScintilla(Sci::SCI_POSITIONFROMLINE, l);
    const long end = synEdit_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, l);
    const long chars = synEdit_->SendScintilla(Sci::SCI_COUNTCHARACTERS, start, end);
    const long c = std::min<long>(std::max(column, 1) - 1, chars);
    const long pos = synEdit_->SendScintilla(Sci::SCI_POSITIONRELATIVE, start, c);
    synEdit_->SendScintilla(Sci::SCI_GOTOPOS, pos);
    synEdit_->ensureCursorVisible();
    ShowCaretStatus();
}

void TfmScriptEditor::MarkError(const std::string& errors) {
    const TErrorPosition at = ParseErrorPosition(errors);
    errorLine_ = at.Line;
    MoveCaret(at.Line, at.Column);
    lexer_->SetErrorLine(errorLine_ >= 1 ? errorLine_ - 1 : -1);
}

void TfmScriptEditor::actOpenExecute() {
    const std::string file =
        TScriptFileDialog(ZelkResources().dlgOpen(), QStringLiteral("Открыть скрипт"), item_.GetFileName())
            .Choose();
    if (file.empty() || !FileExists(file)) return;
    LoadEditorText(Qs(ReadFileBytes(file)));
}

void TfmScriptEditor::actSaveExecute() {
    const std::string itemFile = item_.GetFileName();
    MakeFolderOf(itemFile);
    const std::string file =
        TScriptFileDialog(ZelkResources().dlgSave(), QStringLiteral("Сохранить файл"), itemFile).Choose();
    if (file.empty()) return;
    if (FileExists(file) && !AskReplaceFile(this, file)) return;
    const QString lacking = UnencodableChars(synEdit_->text());
    if (!lacking.isEmpty() &&
        !Messages().Ask("В тексте есть знаки, которых нет в кодировке Windows-1251. В файл они будут "
                        "записаны как «?». Сохранить?"_cp))
        return;

    std::string text;
    for (const std::string& line : EditorLines())
        text += line + "\r\n";
    WriteFileAtomic(file, text);
    item_.SetText(text);
    modified_ = false;
    actSave->setEnabled(false);
    fileName_ = file;
    ShowCaption();
}

// Compiles the editor's lines into a scratch form, function names checked; the script item stays as it is.
void TfmScriptEditor::actCheckExecute() {
    TfrScript scratch;
    std::vector<std::string> errors;
    TZelkScriptEngine().CheckScript(EditorLines(), scratch, errors);
    if (errors.empty()) {
        ShowCheckResult(QStringLiteral("Ok. Ошибок нет."));
        errorLine_ = -1;
        lexer_->SetErrorLine(-1);
        return;
    }
    std::string text;
    for (const std::string& e : errors)
        text += (text.empty() ? "" : "\n") + e;
    ShowCheckResult(Qs(text));
    MarkError(text);
    synEdit_->setFocus();
}

void TfmScriptEditor::actHelpExecute() {
    ShowHelpTopic(item_.GetHelpTopic());
}

// A changed text is offered for saving first; a "yes" saves and leaves the window open, so that the judge
// sees the outcome and closes it again.
void TfmScriptEditor::done(int result) {
    if (modified_ && Messages().Ask("Сохранить внесённые изменения?"_cp)) {
        RunCommand([this] { actSaveExecute(); });
        return;
    }
    synCompletion_->hide();
    StoreGeometry();
    QDialog::done(result);
}

// Escape belongs to the editor and its list; it does not close the window.
void TfmScriptEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace zelk::ui
