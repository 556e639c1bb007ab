// The log editor's own logic: loading and saving, the modified flag, colouring, the code-page conversion,
// the font, find and replace, closing, and the stored window settings.
#include "ui/edit_file.h"

#include "logs/editor_text.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/command_guard.h"
#include "ui/edit_file_find.h"
#include "ui/edit_file_print.h"
#include "ui/edit_file_syntax.h"
#include "ui/qt_text.h"
#include "ui/replace_question.h"
#include "ui/wait_cursor.h"
#include "ui/window_place.h"
#include "ui/zelk_resources.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace zelk::ui {
namespace {

const QString kLogFilters =
    QStringLiteral("Файлы CABRILLO|*.cbr|Файлы протоколов/текстовые|*.log; *.txt|Все файлы|*.*");

QString ScreenText(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 1;
    QString text;
    text.reserve(static_cast<qsizetype>(size));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += u'\n';
        for (char c : lines[i])
            text += QChar(EditorChar(static_cast<unsigned char>(c)));
    }
    return text;
}

// The bytes of one block of the text. A line separator (Shift+Enter, or pasted) shows as a line break,
// so it ends a line here as well; a character that Windows-1251 lacks becomes '?'.
void AppendBlockLines(QStringView block, std::vector<std::string>& lines) {
    std::string line;
    line.reserve(static_cast<size_t>(block.size()));
    for (qsizetype i = 0; i < block.size(); ++i) {
        char32_t ch = block[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < block.size() && block[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(block[i], block[i + 1]);
            ++i;
        }
        if (ch == QChar::LineSeparator) {
            lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        const int byte = EditorByte(ch);
        line += byte < 0 ? '?' : static_cast<char>(byte);
    }
    lines.push_back(std::move(line));
}

// The characters of a block converted from code page 866, byte by byte; characters without a byte stay as
// they are.
QString Converted866(const QString& block) {
    static const std::string converted = [] {
        std::string bytes(256, '\0');
        for (int b = 0; b < 256; ++b)
            bytes[static_cast<size_t>(b)] = static_cast<char>(b);
        return Dos866ToWin1251(bytes);
    }();
    QString out = block;
    for (QChar& ch : out) {
        const int byte = EditorByte(ch.unicode());
        if (byte >= 0)
            ch = QChar(EditorChar(static_cast<unsigned char>(converted[static_cast<size_t>(byte)])));
    }
    return out;
}

// Puts `path` into the name box of a shared file dialog. Whatever its last use left selected is dropped
// first, and an empty path empties the box, which the dialog itself would leave as it was.
void ProposeFile(QFileDialog* dialog, const std::string& path) {
    if (auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView")))
        list->clearSelection();
    if (!path.empty()) {
        dialog->selectFile(Qs(NativePath(path)));
    } else if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        name->clear();
    }
}

// The top left corner that centres a window of `size` on `owner`, kept on the owner's screen so that the
// menu bar stays reachable when the owner is smaller than the window.
QPoint CentredOn(const QRect& owner, const QSize& size) {
    QPoint at = owner.center() - QPoint(size.width() / 2, size.height() / 2);
    const QScreen* screen = QGuiApplication::screenAt(owner.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return at;
    const QRect area = screen->availableGeometry();
    at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    return at;
}

// The open dialog in the contest folder proposing `path`; the chosen file, or `path` when cancelled.
std::string ChooseFileToOpen(const std::string& path) {
    QFileDialog* dialog = ZelkResources().dlgOpen();
    dialog->setWindowTitle(QStringLiteral("Открыть файл"));
    dialog->setNameFilters(DialogFilters(kLogFilters));
    if (DirectoryExists(Vars().CurrentFolder)) dialog->setDirectory(Qs(NativePath(Vars().CurrentFolder)));
    ProposeFile(dialog, path);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return path;
    return Cp(dialog->selectedFiles().first());
}

// Courier New, 11 pixels high, or the nearest fixed-pitch font where it is missing.
QFont DefaultEditorFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    return font;
}

} // namespace

TfmEditFile::TfmEditFile(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("fmEditFile"));
    setWindowIcon(TZelkResources::AppIcon());
    resize(720, 520);
    CreateLayout();
    CreateActions();
    CreateMenus();
    CreatePopupMenu();
    ApplyStoredSettings();
    ShowFileName(0);
}

TfmEditFile::~TfmEditFile() = default;

// Geometry values count only when greater than 0, each on its own; a window stored off the screens, or
// partly off them, is brought whole onto a screen.
void TfmEditFile::ApplyStoredSettings() {
    const auto& v = Vars();
    QSize size = this->size();
    if (v.WVFHeight > 0) size.setHeight(v.WVFHeight);
    if (v.WVFWidth > 0) size.setWidth(v.WVFWidth);
    resize(size);
    if (v.WVFTop > 0 || v.WVFLeft > 0) {
        QPoint at = pos();
        if (v.WVFTop > 0) at.setY(v.WVFTop);
        if (v.WVFLeft > 0) at.setX(v.WVFLeft);
        move(at);
        KeepWholeOnScreen(this, frameGeometry());
    } else if (parentWidget()) {
        move(CentredOn(parentWidget()->frameGeometry(), frameGeometry().size()));
    }

    QFont font = DefaultEditorFont();
    if (!v.WVFFontName.empty()) font.setFamily(Qs(v.WVFFontName));
    if (v.WVFFontSize > 0) font.setPointSize(v.WVFFontSize);
    reView_->setFont(font);
    actShowSyntax->setChecked(v.WVFSyntax);
}

// The font size is stored in points; 0 stands for the designed size while the font still has it.
void TfmEditFile::StoreSettings() {
    auto& v = Vars();
    v.WVFTop = y();
    v.WVFLeft = x();
    v.WVFHeight = height();
    v.WVFWidth = width();
    v.WVFSyntax = actShowSyntax->isChecked();
    const QFont font = reView_->font();
    v.WVFFontName = Cp(font.family());
    v.WVFFontSize = font.pointSize() > 0 ? font.pointSize() : 0;
}

bool TfmEditFile::LoadFile(const std::string& requested) {
    std::string path = Trim(requested);
    if (!FileExists(path)) path = ChooseFileToOpen(path);
    if (!FileExists(path)) return false;

    TWaitCursor wait;
    const std::string bytes = ReadFileBytes(path);
    const TTextEncoding encoding = DetectTextEncoding(bytes);
    size_t replaced = 0;
    const std::vector<std::string> lines =
        SplitEditorLines(encoding == TTextEncoding::Cp1251 ? bytes : DecodeText(bytes, encoding, &replaced));
    SetLines(lines);
    fileName_ = path;
    encoding_ = encoding;
    replaced_ = replaced;
    ShowFileName(lines.size());
    return true;
}

// Replaces the text, its formats and its undo history; the caret goes to the start. The control would give
// the new text the format at the caret (the colour of a tag), so the caret's format is emptied first.
void TfmEditFile::SetLines(const std::vector<std::string>& lines) {
    QTextCursor caret = reView_->textCursor();
    caret.clearSelection();
    caret.setCharFormat(QTextCharFormat());
    reView_->setTextCursor(caret);
    reView_->setPlainText(ScreenText(lines));
    reView_->document()->setModified(false);
    reView_->moveCursor(QTextCursor::Start);
}

std::vector<std::string> TfmEditFile::Lines() const {
    std::vector<std::string> lines;
    const QTextDocument* document = reView_->document();
    if (document->isEmpty()) return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        AppendBlockLines(block.text(), lines);
    return lines;
}

bool TfmEditFile::IsModified() const {
    return reView_->document()->isModified();
}

void TfmEditFile::ShowFileName(size_t lineCount) {
    statusPanels_[0]->setText(QString::number(lineCount) + u' ');
    statusPanels_[1]->setText(u' ' + Qs(fileName_));
    statusPanels_[2]->setText(u' ' + Qs(EncodingName(encoding_)) + u' ');
    setWindowTitle(QStringLiteral("Zelkon::Editor ") + Qs(UpperCase(ExtractFileName(fileName_))));
}

void TfmEditFile::ShowModal() {
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &TfmEditFile::Closed, &loop, &QEventLoop::quit);
    show();
    loop.exec(QEventLoop::DialogExec);
}

void TfmEditFile::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    tmrSyntax_->start();
}

// Unsaved changes bring the question; Yes saves, and the window stays when the save did not happen.
void TfmEditFile::closeEvent(QCloseEvent* event) {
    if (!ChangesSettled()) {
        event->ignore();
        return;
    }
    tmrSyntax_->stop();
    StoreSettings();
    dlgFind_->hide();
    dlgReplace_->hide();
    event->accept();
    emit Closed();
}

bool TfmEditFile::ChangesSettled() {
    if (!IsModified() || !Messages().Ask("Сохранить внесённые изменения?"_cp)) return true;
    RunCommand([this] { actSaveExecute(); });
    return !IsModified();
}

// Another file replaces the text only after the same question as closing, so unsaved changes are never
// dropped without the judge's word.
void TfmEditFile::actOpenExecute() {
    if (!ChangesSettled()) return;
    if (LoadFile("") && actShowSyntax->isChecked()) ApplySyntax();
}

// Save As: the name is taken over and LogEdited set only when the file was written. The file is written
// through a temporary file, so a failed save leaves the old file as it was.
bool TfmEditFile::actSaveExecute() {
    QFileDialog* dialog = ZelkResources().dlgSave();
    dialog->setWindowTitle(QStringLiteral("Сохранить файл"));
    dialog->setNameFilters(DialogFilters(kLogFilters));
    if (DirectoryExists(Vars().CurrentFolder)) dialog->setDirectory(Qs(NativePath(Vars().CurrentFolder)));
    ProposeFile(dialog, fileName_);
    // The replace question below is the editor's own; the dialog's would come twice.
    const bool confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    const int answer = dialog->exec();
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !confirms);
    if (answer != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return false;
    const std::string path = Cp(dialog->selectedFiles().first());
    if (FileExists(path) && !AskReplaceFile(this, path)) return false;

    const TTextEncoding encoding = EncodingToSave();
    const std::vector<std::string> lines = Lines();
    {
        TWaitCursor wait;
        WriteFileAtomic(path, EncodeText(JoinEditorLines(lines), encoding));
    }
    fileName_ = path;
    encoding_ = encoding;
    replaced_ = 0;
    ShowFileName(lines.size());
    reView_->document()->setModified(false);
    Vars().LogEdited = true;
    return true;
}

// A log read in another encoding is written in it again unless the judge agrees to Windows-1251, the
// encoding every judging tool reads; a plain log is written as it was, without a question.
TTextEncoding TfmEditFile::EncodingToSave() const {
    if (encoding_ == TTextEncoding::Cp1251) return encoding_;
    std::string question = "Файл был в кодировке "_cp + EncodingName(encoding_) + "."_cp;
    if (replaced_ > 0)
        question +=
            " Символов, которых нет в Windows-1251, прочитано как «?»: "_cp + std::to_string(replaced_) + ".";
    question +=
        "\nСохранить его в кодировке Windows-1251? (Нет — сохранить в "_cp + EncodingName(encoding_) + ")";
    return Messages().Ask(question) ? TTextEncoding::Cp1251 : encoding_;
}

template <class F> void TfmEditFile::Reformat(F&& change) {
    QTextDocument* document = reView_->document();
    const bool modified = document->isModified();
    const bool history = document->isUndoAvailable() || document->isRedoAvailable();
    TWaitCursor wait;
    reView_->setUpdatesEnabled(false);
    change(document);
    reView_->setUpdatesEnabled(true);
    if (!history) document->clearUndoRedoStacks();
    document->setModified(modified);
}

void TfmEditFile::ApplySyntax() {
    if (actShowSyntax->isChecked())
        Reformat([](QTextDocument* d) { ColourTags(d); });
    else
        Reformat([](QTextDocument* d) { ClearTagColours(d); });
    reView_->moveCursor(QTextCursor::Start);
}

void TfmEditFile::actShowSyntaxExecute() {
    ApplySyntax();
}

// The conversion changes the text, so it can be undone and marks the text as modified. Only lines that
// change are replaced, last line first; with the colouring that follows it is one step of undo.
void TfmEditFile::actEncode866Execute() {
    TWaitCursor wait;
    QTextDocument* document = reView_->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    ClearTagColours(document);
    for (QTextBlock block = document->lastBlock(); block.isValid(); block = block.previous()) {
        const QString text = block.text();
        const QString converted = Converted866(text);
        if (converted == text) continue;
        cursor.setPosition(block.position());
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        cursor.insertText(converted, QTextCharFormat());
    }
    if (actShowSyntax->isChecked()) ColourTags(document);
    cursor.endEditBlock();
    reView_->moveCursor(QTextCursor::Start);
    actEncode866->setEnabled(false);
}

// Only the name and the size of the chosen font are taken; colours and boldness of the text stay.
void TfmEditFile::actSelectFontExecute() {
    // The dialog shows the font the text is drawn with, which is a substitute where the named one is missing.
    QFont current = reView_->font();
    current.setFamily(QFontInfo(current).family());
    if (current.pointSizeF() <= 0) {
        const double points = current.pixelSize() * 72.0 / std::max(1, reView_->logicalDpiY());
        current.setPointSizeF(std::round(points * 2) / 2);
    }
    QFontDialog dialog(current, this);
    dialog.setObjectName(QStringLiteral("dlgFont"));
    dialog.setWindowTitle(QStringLiteral("Шрифт"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return;
    const QFont chosen = dialog.selectedFont();
    QFont font = reView_->font();
    font.setFamily(chosen.family());
    if (chosen.pointSizeF() > 0)
        font.setPointSizeF(chosen.pointSizeF());
    else if (chosen.pixelSize() > 0)
        font.setPixelSize(chosen.pixelSize());
    TWaitCursor wait;
    reView_->setFont(font);
}

void TfmEditFile::actFindExecute() {
    dlgFind_->Open();
}

void TfmEditFile::actFindAndReplaceExecute() {
    dlgReplace_->Open();
}

bool TfmEditFile::FindNext(const QString& text) {
    const QTextCursor current = reView_->textCursor();
    return FindFrom(current.hasSelection() ? current.selectionEnd() : 0, text);
}

bool TfmEditFile::FindFrom(int position, const QString& text) {
    if (text.isEmpty()) return false;
    const QTextCursor hit = reView_->document()->find(text, position, QTextDocument::FindCaseSensitively);
    if (hit.isNull()) return false;
    reView_->setTextCursor(hit);
    activateWindow();
    reView_->setFocus();
    return true;
}

bool TfmEditFile::ReplaceCurrent(const QString& text, const QString& replacement) {
    if (text.isEmpty()) return false;
    QTextCursor current = reView_->textCursor();
    const QTextCursor hit =
        current.hasSelection()
            ? reView_->document()->find(text, current.selectionStart(), QTextDocument::FindCaseSensitively)
            : QTextCursor();
    const bool isHit = !hit.isNull() && hit.selectionStart() == current.selectionStart() &&
                       hit.selectionEnd() == current.selectionEnd();
    if (!isHit) {
        FindNext(text);
        return false;
    }
    current.insertText(replacement);
    reView_->setTextCursor(current);
    FindFrom(current.position(), text);
    return true;
}

int TfmEditFile::ReplaceAll(const QString& text, const QString& replacement) {
    if (text.isEmpty()) return 0;
    QTextDocument* document = reView_->document();
    QTextCursor step(document);
    int count = 0;
    int from = 0;
    step.beginEditBlock();
    for (;;) {
        QTextCursor hit = document->find(text, from, QTextDocument::FindCaseSensitively);
        if (hit.isNull()) break;
        hit.insertText(replacement);
        from = hit.position();
        ++count;
    }
    step.endEditBlock();
    return count;
}

bool EditLogFile(const std::string& path, QWidget* owner) {
    TfmEditFile editor(owner);
    if (!editor.LoadFile(path)) return false;
    editor.ShowModal();
    return true;
}

} // namespace zelk::ui
