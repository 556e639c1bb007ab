// The log editor on logs written into temporary folders: loading and the open dialog, the byte-exact
// round trip, Save As with its replace question and failures, the modified flag, closing, the code-page
// conversion, the font, the stored settings, and the main window's edit command.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/editor_text.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "logs/text_encoding.h"
#include "settings/global_vars.h"
#include "ui/edit_file.h"
#include "ui/explorer.h"
#include "ui/help_topic.h"
#include "ui/zelk_resources.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

const char* kLog = "START-OF-LOG: 3.0\n"
                   "CALLSIGN: Q1AA\n"
                   "NAME: Иван\n"
                   "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n"
                   "END-OF-LOG:\n";

std::string WriteBytes(const TempFolder& folder, const QString& name, const std::string& bytes) {
    QFile file(folder.Path() + u'/' + name);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return folder.File(name);
}

// The editor window with access to its parts by their names.
struct Editor {
    TfmEditFile Window;
    template <class T> T* Child(const char* name) { return Window.findChild<T*>(QString::fromLatin1(name)); }
    QAction* Action(const char* name) { return Child<QAction>(name); }
    QPlainTextEdit* View() { return Child<QPlainTextEdit>("reView"); }
    QString Panel(int i) { return Child<QLabel>(i == 0 ? "stPanel0" : "stPanel1")->text(); }
    QString Text() { return View()->toPlainText(); }
    void Type(const QString& keys) { QTest::keyClicks(View(), keys); }
};

// Answers the next shared file dialog (open or save) with `path`, or cancels it when `path` is empty;
// `seen` receives the dialog's title, filters, folder and proposed file.
struct FileDialogSeen {
    QString Title, Folder, Proposed;
    QStringList Filters;
};
void AnswerFileDialog(QFileDialog* which, const std::string& path, bool* handled = nullptr,
                      FileDialogSeen* seen = nullptr) {
    test::OnNextModal(
        [=](QWidget* modal) {
            if (modal != which) return false;
            if (seen && seen->Title.isEmpty()) {
                seen->Title = which->windowTitle();
                seen->Folder = which->directory().absolutePath();
                seen->Proposed = which->selectedFiles().value(0);
                seen->Filters = which->nameFilters();
            }
            if (path.empty()) {
                which->reject();
                return true;
            }
            // Typed into the name box, as the judge would; typing there ends the selection of a listed file,
            // which the dialog would otherwise prefer to the typed name. While the dialog still reads its
            // folder it may select the proposed file again; then the next round types once more.
            const QString typed = QString::fromStdString(ToUtf8(path));
            which->findChild<QAbstractItemView*>(QStringLiteral("listView"))->selectionModel()->clear();
            which->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
            if (which->selectedFiles() != QStringList{typed}) return false;
            static_cast<QDialog*>(which)->accept();
            return true;
        },
        handled);
}

void AnswerSave(const std::string& path, bool* handled = nullptr, FileDialogSeen* seen = nullptr) {
    AnswerFileDialog(ZelkResources().dlgSave(), path, handled, seen);
}

void AnswerOpen(const std::string& path, bool* handled = nullptr, FileDialogSeen* seen = nullptr) {
    AnswerFileDialog(ZelkResources().dlgOpen(), path, handled, seen);
}

// Answers the next message box with `button`; `seen` receives its caption, text and buttons.
struct BoxSeen {
    QString Title, Text;
    QMessageBox::StandardButtons Buttons;
    bool Seen = false;
};
void AnswerBox(BoxSeen& seen, QMessageBox::StandardButton button) {
    test::OnNextModal([&seen, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        seen = {box->windowTitle(), box->text(), box->standardButtons(), true};
        box->button(button)->click();
        return true;
    });
}

// The bytes a save would write.
std::string Saved(const TfmEditFile& editor) {
    return JoinEditorLines(editor.Lines());
}

const QStringList kLogFilters = {"Файлы CABRILLO (*.cbr)", "Файлы протоколов/текстовые (*.log *.txt)",
                                 "Все файлы (*)"};

QString ActionNames(const QList<QAction*>& actions) {
    QStringList names;
    for (QAction* a : actions)
        names << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    return names.join(u' ');
}

// Notes whether a log editor window is shown while it exists.
class ShowWatch : public QObject {
  public:
    bool EditorShown = false;
    ShowWatch() { qApp->installEventFilter(this); }
    ~ShowWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<TfmEditFile*>(watched)) EditorShown = true;
        return false;
    }
};

} // namespace

class EditFileTest : public QObject {
    Q_OBJECT
  private slots:
    void CommandsMenusAndToolBar() {
        TestSettings settings;
        Editor e;
        struct Case {
            const char* name;
            QString caption, hint;
            QKeySequence key;
        };
        const Case cases[] = {
            {"actOpen", "Открыть файл", "Открыть файл...", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"actSave", "Сохранить как...", "", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"actPrintPreview", "Печатать", "", QKeySequence(Qt::CTRL | Qt::Key_P)},
            {"actDesign", "Дизайнер отчёта", "", {}},
            {"actCut", "Вырезать", "", QKeySequence(Qt::CTRL | Qt::Key_X)},
            {"actCopy", "Копировать", "", QKeySequence(Qt::CTRL | Qt::Key_C)},
            {"actPaste", "Вставить", "", QKeySequence(Qt::CTRL | Qt::Key_V)},
            {"actUndo", "Отменить", "", QKeySequence(Qt::CTRL | Qt::Key_Z)},
            {"actSelectAll", "Выделить всё", "", QKeySequence(Qt::CTRL | Qt::Key_A)},
            {"actFind", "Искать...", "", QKeySequence(Qt::CTRL | Qt::Key_F)},
            {"actFindAndReplace", "Искать и заменить...", "", QKeySequence(Qt::CTRL | Qt::Key_R)},
            {"actSelectFont", "Шрифт...", "", {}},
            {"actShowSyntax", "&Выделение цветом", "", {}},
            {"actEncode866", "Кодировка DOS (866) -> WIN (1251)", "", {}},
            {"actHelp", "Вызов справки", "", QKeySequence(Qt::Key_F1)},
            {"actClose", "&Закрыть", "", {}},
        };
        for (const auto& c : cases) {
            QAction* a = e.Action(c.name);
            QVERIFY2(a, c.name);
            QCOMPARE(a->text(), c.caption);
            QCOMPARE(a->toolTip(), c.hint.isEmpty() ? QString(c.caption).remove(u'&') : c.hint);
            QCOMPARE(a->shortcut(), c.key);
            QVERIFY2(!a->icon().isNull(), c.name);
        }
        for (const char* print : {"actPrintPreview", "actDesign"})
            QVERIFY(e.Action(print)->isEnabled());
        QVERIFY(e.Action("actShowSyntax")->isCheckable());

        QStringList menus;
        for (QAction* m : e.Window.menuBar()->actions())
            menus << m->text();
        QCOMPARE(menus, (QStringList{"&Файл", "&Правка", "&Вид", "&Справка"}));
        QCOMPARE(ActionNames(e.Child<QMenu>("mnFile")->actions()),
                 QStringLiteral("actOpen actSave | actPrintPreview actDesign | actClose"));
        QCOMPARE(ActionNames(e.Child<QMenu>("mnEdit")->actions()),
                 QStringLiteral("actCut actCopy actPaste | actSelectAll | actFind actFindAndReplace"));
        QCOMPARE(ActionNames(e.Child<QMenu>("mnView")->actions()),
                 QStringLiteral("actSelectFont actEncode866 actShowSyntax"));
        QCOMPARE(ActionNames(e.Child<QMenu>("mnHelp")->actions()), QStringLiteral("actHelp | About"));
        QCOMPARE(ActionNames(e.Child<QToolBar>("tbEditFile")->actions()).remove(QStringLiteral("| ")),
                 QStringLiteral("actOpen actSave actCut actCopy actPaste actUndo actFind actPrintPreview "
                                "actEncode866 actShowSyntax"));
        QCOMPARE(ActionNames(e.Child<QMenu>("pmEditor")->actions()).remove(QStringLiteral("| ")),
                 QStringLiteral("actCut actCopy actPaste actSelectAll actPrintPreview actSelectFont "
                                "actEncode866 actShowSyntax"));

        // The view: no word wrap, both scroll bars, Courier New 11 pixels high by default.
        QCOMPARE(e.View()->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(e.View()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(e.View()->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(e.View()->font().pixelSize(), 11);

        // Help opens the editor's own topic.
        settings.Exe.Write("help.chm", "");
        Vars().HelpFile = settings.Exe.File("help.chm");
        std::string page;
        const THelpViewer previous =
            SetHelpViewer([&](const std::string&, const std::string& p) { page = p; });
        e.Action("actHelp")->trigger();
        SetHelpViewer(previous);
        QCOMPARE(QString::fromStdString(page), QStringLiteral("editfile.htm"));
    }

    void LoadingShowsTheLinesTheNameAndAnUntouchedText() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("q1aa.cbr", kLog);
        Editor e;
        QVERIFY(e.Window.LoadFile("  " + path + " "));
        QCOMPARE(e.Window.FileName(), path);
        QCOMPARE(e.Window.windowTitle(), QStringLiteral("Zelkon::Editor Q1AA.CBR"));
        QCOMPARE(e.Panel(0), QStringLiteral("5 "));
        QCOMPARE(e.Panel(1), u' ' + QString::fromStdString(ToUtf8(path)));
        QCOMPARE(e.Child<QLabel>("stPanel0")->width(), 50);
        QVERIFY(e.Child<QLabel>("stPanel0")->alignment() & Qt::AlignRight);
        QCOMPARE(e.View()->document()->blockCount(), 5);
        QCOMPARE(e.View()->document()->findBlockByNumber(2).text(), QStringLiteral("NAME: Иван"));
        QCOMPARE(e.View()->textCursor().position(), 0);
        QVERIFY(!e.Window.IsModified());
        QVERIFY(!e.Action("actUndo")->isEnabled());
    }

    void AMissingFileBringsTheOpenDialog() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("Q1AA.CBR", kLog);
        Vars().CurrentFolder = folder.Text();
        Editor e;

        // Cancelled: nothing is loaded.
        bool handled = false;
        FileDialogSeen seen;
        AnswerOpen("", &handled, &seen);
        QVERIFY(!e.Window.LoadFile(folder.File("GONE.CBR")));
        QVERIFY(handled);
        QCOMPARE(seen.Title, QStringLiteral("Открыть файл"));
        QCOMPARE(seen.Filters, kLogFilters);
        QCOMPARE(seen.Folder, folder.Path());
        QVERIFY(e.Window.FileName().empty());

        // Chosen: the chosen file is loaded.
        AnswerOpen(path);
        QVERIFY(e.Window.LoadFile(""));
        QCOMPARE(e.Window.FileName(), path);
        QCOMPARE(e.View()->document()->blockCount(), 5);

        // Through "Открыть файл" unsaved changes bring the close question first; after No, a cancelled
        // dialog leaves the text as it was.
        e.Type(QStringLiteral("x"));
        settings.Boxes.Answer = false;
        handled = false;
        AnswerOpen("", &handled);
        e.Action("actOpen")->trigger();
        QVERIFY(handled);
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(QString::fromStdString(settings.Boxes.Boxes[0].Text),
                 QStringLiteral("Сохранить внесённые изменения?"));
        QVERIFY(e.Text().startsWith(u'x'));
        QCOMPARE(e.Window.FileName(), path);

        // Yes and a cancelled save: no file is opened.
        settings.Boxes.Answer = true;
        handled = false;
        AnswerSave("", &handled);
        e.Action("actOpen")->trigger();
        QVERIFY(handled);
        QVERIFY(e.Text().startsWith(u'x'));

        // A file opened there is coloured at once.
        settings.Boxes.Answer = false;
        const std::string other = folder.Write("Q2BB.CBR", "START-OF-LOG: 3.0\nCALLSIGN: Q2BB\n");
        AnswerOpen(other);
        e.Action("actOpen")->trigger();
        QCOMPARE(e.Window.FileName(), other);
        QVERIFY(!e.Window.IsModified());
        QTextCursor first(e.View()->document());
        first.setPosition(1);
        QCOMPARE(first.charFormat().foreground().color(), QColor(255, 0, 0));
    }

    void EveryByteValueComesBackFromLoadAndSave() {
        TestSettings settings;
        TempFolder folder;
        // Each byte value on its own line, all of them in one line, a CR before the line end, and NUL and
        // Ctrl+Z in the middle of a line: the file must come back byte for byte.
        std::string bytes;
        std::string all;
        for (int b = 0; b < 256; ++b) {
            if (b == '\n') continue;
            const char c = static_cast<char>(b);
            bytes += std::string("<") + c + ">\r\n";
            all += c;
        }
        bytes += all + "\r\n";
        bytes += "CR\r\r\n";
        bytes += std::string("QSO: ") + '\0' + '\x1A' + " end\r\n";
        bytes += "\r\n";
        const std::string original = WriteBytes(folder, "ALL.CBR", bytes);

        Editor e;
        QVERIFY(e.Window.LoadFile(original));
        // Control bytes and the undefined byte are visible in the text, Cyrillic as itself.
        QTextDocument* doc = e.View()->document();
        QCOMPARE(doc->findBlockByNumber(0).text(), QStringLiteral("<\u2400>"));
        QCOMPARE(doc->findBlockByNumber(12).text(), QStringLiteral("<\u240D>"));
        QCOMPARE(doc->findBlockByNumber(0x98 - 1).text(), QStringLiteral("<\uFFFD>"));
        QCOMPARE(doc->findBlockByNumber(0xC0 - 1).text(), QStringLiteral("<А>"));
        QCOMPARE(doc->findBlockByNumber(0xA0 - 1).text(), QStringLiteral("<\u00A0>"));

        const std::string copy = folder.File("COPY.CBR");
        AnswerSave(copy);
        e.Action("actSave")->trigger();
        QCOMPARE(ReadFileBytes(copy), bytes);

        // Saved over itself after the replace question, the log is unchanged as well.
        BoxSeen replace;
        AnswerSave(original);
        AnswerBox(replace, QMessageBox::Yes);
        e.Action("actSave")->trigger();
        QVERIFY(replace.Seen);
        QCOMPARE(ReadFileBytes(original), bytes);
    }

    void ALogInAnotherEncodingIsSavedInItUnlessTheJudgeAgreesToWindows1251() {
        TestSettings settings;
        TempFolder folder;
        // The log with a last line holding a check mark, which Windows-1251 lacks.
        const std::string log = FromUtf8(kLog);
        const std::string saved = JoinEditorLines(SplitEditorLines(log + "S:?\n"));
        const struct {
            TTextEncoding encoding;
            std::string bytes;
        } cases[] = {
            {TTextEncoding::Utf16LEBom,
             EncodeText(log, TTextEncoding::Utf16LEBom) + std::string("S\0:\0\x13\x27\n\0", 8)},
            {TTextEncoding::Utf8, ToUtf8(log) + "S:\xE2\x9C\x93\n"},
        };
        for (const auto& c : cases) {
            const std::string path = WriteBytes(folder, QStringLiteral("Q1AA.CBR"), c.bytes);
            const QString encodingName = QString::fromStdString(ToUtf8(EncodingName(c.encoding)));
            Editor e;
            QVERIFY(e.Window.LoadFile(path));
            QCOMPARE(e.View()->document()->findBlockByNumber(2).text(), QStringLiteral("NAME: Иван"));
            QCOMPARE(e.Window.Encoding(), c.encoding);
            QCOMPARE(e.Child<QLabel>("stPanel2")->text(), u' ' + encodingName + u' ');
            QVERIFY(!e.Window.IsModified());

            // "No": written again in the encoding it came in.
            settings.Boxes.Boxes.clear();
            settings.Boxes.Answer = false;
            const std::string kept = folder.File("KEPT.CBR");
            AnswerSave(kept);
            e.Action("actSave")->trigger();
            QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
            const QString question = QString::fromStdString(settings.Boxes.Boxes[0].Text);
            QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("ask"));
            QVERIFY2(question.contains(encodingName) && question.contains(QStringLiteral("«?»: 1")),
                     qPrintable(question));
            QCOMPARE(ReadFileBytes(kept), EncodeText(saved, c.encoding));
            QCOMPARE(e.Window.Encoding(), c.encoding);

            // "Yes": Windows-1251 from then on, without asking again.
            settings.Boxes.Answer = true;
            const std::string converted = folder.File("CONVERTED.CBR");
            AnswerSave(converted);
            e.Action("actSave")->trigger();
            QCOMPARE(ReadFileBytes(converted), saved);
            QCOMPARE(e.Window.Encoding(), TTextEncoding::Cp1251);
            QCOMPARE(e.Child<QLabel>("stPanel2")->text(), QStringLiteral(" Windows-1251 "));
            const size_t asked = settings.Boxes.Boxes.size();
            AnswerSave(folder.File("AGAIN.CBR"));
            e.Action("actSave")->trigger();
            QCOMPARE(settings.Boxes.Boxes.size(), asked);
            QCOMPARE(ReadFileBytes(folder.File("AGAIN.CBR")), saved);
            for (const char* n : {"KEPT.CBR", "CONVERTED.CBR", "AGAIN.CBR"})
                QFile::remove(folder.Path() + u'/' + QString::fromLatin1(n));
        }
    }

    void LineEndsBecomeCarriageReturnLineFeed() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        struct Case {
            std::string in, out;
        };
        const Case cases[] = {
            {"A\nB", "A\r\nB\r\n"},
            {"A\n\nB\n\n", "A\r\n\r\nB\r\n\r\n"},
            {"", ""},
            {"\xC0\xFF\n", "\xC0\xFF\r\n"},
        };
        for (const auto& c : cases) {
            const std::string path = WriteBytes(folder, "IN.CBR", c.in);
            QVERIFY(e.Window.LoadFile(path));
            const std::string out = folder.File("OUT.CBR");
            QFile::remove(folder.Path() + "/OUT.CBR");
            AnswerSave(out);
            e.Action("actSave")->trigger();
            QCOMPARE(ReadFileBytes(out), c.out);
        }
    }

    void SaveAsAsksBeforeReplacingAFile() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("Q1AA.CBR", kLog);
        const std::string other = folder.Write("Q2BB.CBR", "CALLSIGN: Q2BB\n");
        Vars().CurrentFolder = folder.Text();
        Editor e;
        QVERIFY(e.Window.LoadFile(path));
        e.Type(QStringLiteral("X-"));
        QVERIFY(e.Window.IsModified());

        // The dialog proposes the current file; "No" or "Cancel" to the question changes nothing.
        for (auto answer : {QMessageBox::No, QMessageBox::Cancel}) {
            FileDialogSeen seen;
            BoxSeen box;
            AnswerSave(other, nullptr, &seen);
            AnswerBox(box, answer);
            e.Action("actSave")->trigger();
            QCOMPARE(seen.Title, QStringLiteral("Сохранить файл"));
            QCOMPARE(seen.Filters, kLogFilters);
            QCOMPARE(seen.Proposed, QString::fromStdString(ToUtf8(path)));
            QVERIFY(box.Seen);
            QCOMPARE(box.Title, QStringLiteral("Подтвердите"));
            QCOMPARE(box.Text,
                     QStringLiteral("Заменить существующий файл ") + QString::fromStdString(ToUtf8(other)));
            QCOMPARE(box.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(ReadFileBytes(other), std::string("CALLSIGN: Q2BB\n"));
            QCOMPARE(e.Window.FileName(), path);
            QVERIFY(e.Window.IsModified());
            QVERIFY(!Vars().LogEdited);
        }

        // "Yes" writes the file and takes its name.
        BoxSeen yes;
        AnswerSave(other);
        AnswerBox(yes, QMessageBox::Yes);
        e.Action("actSave")->trigger();
        QVERIFY(yes.Seen);
        QVERIFY(ReadFileBytes(other).starts_with("X-START-OF-LOG: 3.0\r\nCALLSIGN: Q1AA\r\n"));
        QCOMPARE(e.Window.FileName(), other);
        QCOMPARE(e.Window.windowTitle(), QStringLiteral("Zelkon::Editor Q2BB.CBR"));
        QCOMPARE(e.Panel(1), u' ' + QString::fromStdString(ToUtf8(other)));
        QVERIFY(!e.Window.IsModified());
        QVERIFY(Vars().LogEdited);
        // The shared dialog keeps its own overwrite question for its other users.
        QVERIFY(!ZelkResources().dlgSave()->testOption(QFileDialog::DontConfirmOverwrite));

        // A new name needs no question; a cancelled dialog does nothing.
        const size_t asked = settings.Boxes.Boxes.size();
        const std::string fresh = folder.File("NEW.CBR");
        AnswerSave(fresh);
        e.Action("actSave")->trigger();
        QCOMPARE(settings.Boxes.Boxes.size(), asked);
        QVERIFY(folder.Exists("NEW.CBR"));
        bool handled = false;
        AnswerSave("", &handled);
        e.Action("actSave")->trigger();
        QVERIFY(handled);
        QCOMPARE(e.Window.FileName(), fresh);
    }

    void AFailedSaveKeepsTheTextTheNameAndTheFlag() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("Q1AA.CBR", kLog);
        Editor e;
        QVERIFY(e.Window.LoadFile(path));
        e.Type(QStringLiteral("Z"));
        const std::string unreachable = folder.Text() + "/missing/Q1AA.CBR";
        AnswerSave(unreachable);
        e.Action("actSave")->trigger();
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QVERIFY(settings.Boxes.Boxes[0].Text.find("missing/Q1AA.CBR") != std::string::npos);
        QCOMPARE(e.Window.FileName(), path);
        QCOMPARE(e.Window.windowTitle(), QStringLiteral("Zelkon::Editor Q1AA.CBR"));
        QVERIFY(e.Window.IsModified());
        QVERIFY(!Vars().LogEdited);
        QVERIFY(e.Text().startsWith(QStringLiteral("ZSTART-OF-LOG")));
        QCOMPARE(ReadFileBytes(path), FromUtf8(kLog));
    }

    void EveryChangeOfTheTextAndNothingElseMarksItModified() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("Q1AA.CBR", kLog);
        Editor e;
        QVERIFY(e.Window.LoadFile(path));
        e.Window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e.Window));

        // Moving and selecting change nothing.
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home})
            QTest::keyClick(e.View(), key);
        QTest::keyClick(e.View(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(e.View(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!e.Window.IsModified());
        // Nor do the colouring and the font.
        e.Action("actShowSyntax")->trigger();
        e.Action("actShowSyntax")->trigger();
        QVERIFY(!e.Window.IsModified());

        // A letter typed, then the arrows: still modified.
        e.Type(QStringLiteral("q"));
        QVERIFY(e.Window.IsModified());
        QTest::keyClick(e.View(), Qt::Key_Left);
        QTest::keyClick(e.View(), Qt::Key_Up);
        QVERIFY(e.Window.IsModified());
        // Undoing back to the loaded text clears the mark.
        e.Action("actUndo")->trigger();
        QVERIFY(!e.Window.IsModified());

        // Keys outside the letters and digits change the text as well: punctuation, Enter, Delete.
        for (Qt::Key key : {Qt::Key_Period, Qt::Key_Minus, Qt::Key_Slash, Qt::Key_Return, Qt::Key_Delete}) {
            QVERIFY(e.Window.LoadFile(path));
            QTest::keyClick(e.View(), key);
            QVERIFY2(e.Window.IsModified(), QKeySequence(key).toString().toLatin1());
        }

        // Commands that change the text: paste, cut.
        QVERIFY(e.Window.LoadFile(path));
        QApplication::clipboard()->setText(QStringLiteral("CLUB: Клуб\n"));
        e.Action("actPaste")->trigger();
        QVERIFY(e.Window.IsModified());
        QVERIFY(e.Window.LoadFile(path));
        QVERIFY(!e.Window.IsModified());
        e.Action("actSelectAll")->trigger();
        QVERIFY(e.Action("actCut")->isEnabled());
        e.Action("actCut")->trigger();
        QVERIFY(e.Window.IsModified());
        QCOMPARE(e.Text(), QString());
        QVERIFY(e.Window.Lines().empty());
    }

    void ClosingAsksAboutUnsavedChanges() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("Q1AA.CBR", kLog);

        { // Untouched: no question.
            Editor e;
            QVERIFY(e.Window.LoadFile(path));
            e.Window.show();
            QVERIFY(e.Window.close());
            QVERIFY(settings.Boxes.Boxes.empty());
        }
        { // "No": closes without saving.
            Editor e;
            QVERIFY(e.Window.LoadFile(path));
            e.Window.show();
            e.Type(QStringLiteral("1"));
            settings.Boxes.Answer = false;
            QVERIFY(e.Window.close());
            QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
            QCOMPARE(QString::fromStdString(settings.Boxes.Boxes[0].Text),
                     QStringLiteral("Сохранить внесённые изменения?"));
            QCOMPARE(ReadFileBytes(path), FromUtf8(kLog));
        }
        { // "Yes" and the save dialog cancelled: the window stays open with its text.
            Editor e;
            QVERIFY(e.Window.LoadFile(path));
            e.Window.show();
            e.Type(QStringLiteral("2"));
            settings.Boxes.Answer = true;
            bool handled = false;
            AnswerSave("", &handled);
            QVERIFY(!e.Window.close());
            QVERIFY(handled);
            QVERIFY(e.Window.isVisible());
            QVERIFY(e.Window.IsModified());

            // "Yes" and a save over the log (replace: "Yes"): saved and closed.
            BoxSeen replace;
            AnswerSave(path);
            AnswerBox(replace, QMessageBox::Yes);
            QVERIFY(e.Window.close());
            QVERIFY(replace.Seen);
            QVERIFY(!e.Window.isVisible());
            QVERIFY(ReadFileBytes(path).starts_with("2START-OF-LOG"));
            QVERIFY(Vars().LogEdited);
        }
    }

    void ConvertingFromTheDosCodePageOnce() {
        TestSettings settings;
        TempFolder folder;
        // "NAME: Ёжик Петров" and "SOAPBOX: тест" in code page 866.
        const std::string dos =
            "NAME: \xF0\xA6\xA8\xAA \x8F\xA5\xE2\xE0\xAE\xA2\r\nSOAPBOX: \xE2\xA5\xE1\xE2\r\n";
        const std::string path = WriteBytes(folder, "DOS.CBR", dos);
        const std::string plain = folder.Write("Q1AA.CBR", kLog);
        Editor e;
        QVERIFY(e.Window.LoadFile(path));
        e.Action("actEncode866")->trigger();
        const std::vector<std::string> lines = e.Window.Lines();
        QCOMPARE(lines.size(), size_t(2));
        QCOMPARE(lines[0], "NAME: \xF0" + "жик Петров"_cp);
        QCOMPARE(lines[1], "SOAPBOX: тест"_cp);
        QVERIFY(!e.Action("actEncode866")->isEnabled());
        // The converted text is a change: it is marked, and undo brings the DOS bytes back.
        QVERIFY(e.Window.IsModified());
        e.View()->undo();
        QCOMPARE(Saved(e.Window), dos);

        // Loading another file keeps the command unavailable.
        AnswerOpen(plain);
        e.Action("actOpen")->trigger();
        QCOMPARE(e.Window.FileName(), plain);
        QVERIFY(!e.Action("actEncode866")->isEnabled());
        // A new window has it again.
        Editor next;
        QVERIFY(next.Action("actEncode866")->isEnabled());
    }

    void TheFontTakesNameAndSizeOnly() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = folder.Write("Q1AA.CBR", kLog);
        Editor e;
        QVERIFY(e.Window.LoadFile(path));
        e.Window.show();
        e.Action("actShowSyntax")->trigger(); // flips to off
        e.Action("actShowSyntax")->trigger(); // and on again: coloured
        QString shown;
        test::OnNextModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFontDialog*>(modal);
            if (!dialog) return false;
            shown = dialog->currentFont().family();
            QFont chosen(QStringLiteral("DejaVu Serif"));
            chosen.setPointSize(14);
            chosen.setItalic(true);
            dialog->setCurrentFont(chosen);
            dialog->accept();
            return true;
        });
        e.Action("actSelectFont")->trigger();
        QCOMPARE(shown, QFontInfo(QFont(QStringLiteral("Courier New"))).family());
        QCOMPARE(e.View()->font().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(e.View()->font().pointSize(), 14);
        QVERIFY(!e.View()->font().italic());
        QVERIFY(!e.Window.IsModified());
        // The callsign keeps its colour and weight.
        QTextCursor at(e.View()->document()->findBlockByNumber(1));
        at.setPosition(at.position() + 11);
        QCOMPARE(at.charFormat().foreground().color(), QColor(0, 0, 128));
        QCOMPARE(at.charFormat().fontWeight(), int(QFont::Bold));
    }

    void GeometryColouringAndFontAreStoredAndRestored() {
        TestSettings settings;
        {
            Editor e;
            e.Window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&e.Window));
            e.Window.resize(610, 430);
            e.Window.move(140, 90);
            e.Action("actShowSyntax")->trigger(); // off
            QFont font = e.View()->font();
            font.setFamily(QStringLiteral("DejaVu Sans Mono"));
            font.setPointSize(12);
            e.View()->setFont(font);
            QVERIFY(e.Window.close());
        }
        const auto& v = Vars();
        QCOMPARE(v.WVFWidth, 610);
        QCOMPARE(v.WVFHeight, 430);
        QVERIFY(v.WVFLeft > 0 && v.WVFTop > 0);
        QVERIFY(!v.WVFSyntax);
        QCOMPARE(v.WVFFontName, std::string("DejaVu Sans Mono"));
        QCOMPARE(v.WVFFontSize, 12);

        // Through the per-user store into a new run of the program.
        const int left = v.WVFLeft, top = v.WVFTop;
        Vars().SaveSettings();
        settings.Restart();
        Vars().LoadSettings();
        Editor e;
        QCOMPARE(e.Window.size(), QSize(610, 430));
        QCOMPARE(e.Window.pos(), QPoint(left, top));
        QVERIFY(!e.Action("actShowSyntax")->isChecked());
        QCOMPARE(e.View()->font().family(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(e.View()->font().pointSize(), 12);
    }

    void ZeroSettingsKeepTheDesignedWindowAndFont() {
        TestSettings settings;
        Editor designed;
        auto& v = Vars();
        v.WVFWidth = 0;
        v.WVFHeight = 500;
        v.WVFFontName.clear();
        v.WVFFontSize = 0;
        Editor e;
        QCOMPARE(e.Window.width(), designed.Window.width());
        QCOMPARE(e.Window.height(), 500);
        QCOMPARE(e.View()->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(e.View()->font().pixelSize(), 11);
        QVERIFY(e.Action("actShowSyntax")->isChecked());
        // An untouched font is stored as "the designed size".
        e.Window.show();
        QVERIFY(e.Window.close());
        QCOMPARE(v.WVFFontSize, 0);
        QCOMPARE(v.WVFFontName, std::string("Courier New"));
    }

    void TheMainWindowReloadsTheSelectedLogAfterASave() {
        TestSettings settings;
        TempFolder contest;
        const std::string q1 = contest.Write("Q1AA.CBR", kLog);
        settings.Exe.Write("zelk.ini",
                           "[Settings]\nCurrentFolder=" + contest.Text() + "\nQLastCall=Q1AA.CBR\n");
        TfmExplorer explorer;
        explorer.show();
        auto* caption = explorer.findChild<QLabel*>(QStringLiteral("lbHeaderCaption"));
        QTRY_COMPARE(caption->text(), QStringLiteral(" Q1AA Иван "));
        QAction* edit = explorer.findChild<QAction*>(QStringLiteral("actFilesEdit"));
        QVERIFY(edit->isEnabled());

        // The log is corrected and saved under a new name; meanwhile the log itself changes on disk. The
        // main window then reloads the selected log, not the new file.
        const std::string copy = contest.File("Q1AA-FIXED.CBR");
        QString title, status;
        std::string opened;
        bool modal = false, handled = false;
        test::OnNextModal(
            [&](QWidget* window) {
                auto* editor = qobject_cast<TfmEditFile*>(window);
                if (!editor) return false;
                modal = editor->windowModality() == Qt::ApplicationModal;
                opened = editor->FileName();
                editor->ReplaceAll(QStringLiteral("Иван"), QStringLiteral("Пётр"));
                AnswerSave(copy);
                editor->findChild<QAction*>(QStringLiteral("actSave"))->trigger();
                title = editor->windowTitle();
                status = editor->findChild<QLabel*>(QStringLiteral("stPanel1"))->text();
                contest.Write("Q1AA.CBR", "CALLSIGN: Q1AA\nNAME: Сергей\n");
                editor->close();
                return true;
            },
            &handled);
        edit->trigger();
        QVERIFY(handled);
        QVERIFY(modal);
        QCOMPARE(opened, q1);
        QCOMPARE(title, QStringLiteral("Zelkon::Editor Q1AA-FIXED.CBR"));
        QCOMPARE(status, u' ' + QString::fromStdString(ToUtf8(copy)));
        QVERIFY(ReadFileBytes(copy).find("NAME: Пётр\r\n"_cp) != std::string::npos);
        QCOMPARE(caption->text(), QStringLiteral(" Q1AA Сергей "));
        QVERIFY(!Vars().LogEdited);

        // Closed without a save: no reload.
        contest.Write("Q1AA.CBR", "CALLSIGN: Q1AA\nNAME: Олег\n");
        test::OnNextModal([](QWidget* window) {
            auto* editor = qobject_cast<TfmEditFile*>(window);
            if (editor) editor->close();
            return editor != nullptr;
        });
        edit->trigger();
        QCOMPARE(caption->text(), QStringLiteral(" Q1AA Сергей "));
        QVERIFY(settings.Boxes.Boxes.empty());
    }

    void WithoutASelectedLogTheOpenDialogComesFirst() {
        TestSettings settings;
        TempFolder contest;
        settings.Exe.Write("zelk.ini", "[Settings]\nCurrentFolder=" + contest.Text() + "\n");
        TfmExplorer explorer;
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        QTRY_VERIFY(explorer.Contest().Logs.empty() && explorer.Contest().SelectedLog < 0);
        bool handled = false;
        FileDialogSeen seen;
        AnswerOpen("", &handled, &seen);
        ShowWatch watch;
        explorer.findChild<QAction*>(QStringLiteral("actFilesEdit"))->trigger();
        QVERIFY(handled);
        QCOMPARE(seen.Title, QStringLiteral("Открыть файл"));
        QCOMPARE(seen.Folder, contest.Path());
        QVERIFY(!watch.EditorShown);
        QVERIFY(!Vars().LogEdited);
    }
};

ZELK_UI_TEST(EditFileTest)

#include "edit_file_test.moc"
