// The script editor window on script folders made in temporary directories: opening a script with and
// without its file, saving with the replace question and the failures of a save, opening another file,
// the check with its result panel and error line, closing, the stored geometry, the completion list, the
// characters a Windows-1251 file cannot hold, help and the keys.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/file_io.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "script/zelk_script_engine.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/explorer.h"
#include "ui/help_topic.h"
#include "ui/qt_text.h"
#include "ui/script_editor.h"
#include "ui/script_editor_completion.h"
#include "ui/script_editor_lexer.h"
#include "ui/zelk_resources.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TestSettings;

namespace {

using Sci = QsciScintillaBase;

// The editor on one script of a fresh script set.
struct Editor {
    TZelkScriptItem& Item;
    TfmScriptEditor W;
    explicit Editor(TScriptKind kind = TScriptKind::CalcQSO) : Item(*Scripts().FindItem(kind)), W(Item) {
        W.show();
        W.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W));
    }

    template <class T> T* Child(const char* name) { return W.findChild<T*>(QString::fromLatin1(name)); }
    QsciScintilla* Syn() { return Child<QsciScintilla>("synEdit"); }
    TScriptCompletion* Completion() { return Child<TScriptCompletion>("synCompletion"); }
    // While the completion list is open it takes the keys.
    QTreeWidget* CompletionKeys() {
        return Completion()->findChild<QTreeWidget*>(QStringLiteral("lvCompletion"));
    }
    QAction* Action(const char* name) { return Child<QAction>(name); }
    QString Text() { return Syn()->text(); }
    QString Panel(int i) {
        return Child<QLabel>(QStringLiteral("stPanel%1").arg(i).toLatin1().constData())->text();
    }
    bool CheckShown() { return Child<QWidget>("paCheckResult")->isVisible(); }
    QString CheckText() { return Child<QPlainTextEdit>("meCheckResult")->toPlainText(); }
    // The style of every character of a 1-based line.
    QSet<int> LineStyles(int line) {
        Colourise();
        QSet<int> styles;
        const long start = Syn()->SendScintilla(Sci::SCI_POSITIONFROMLINE, line - 1);
        const long end = Syn()->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line - 1);
        for (long p = start; p < end; ++p)
            styles << static_cast<int>(Syn()->SendScintilla(Sci::SCI_GETSTYLEAT, p));
        return styles;
    }
    // The editor colours what it is about to paint; a test without painting asks for it.
    void Colourise() { Syn()->SendScintilla(Sci::SCI_COLOURISE, 0L, -1L); }
    int StyleAt(qsizetype pos) {
        Colourise();
        return static_cast<int>(Syn()->SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<long>(pos)));
    }
    // The character after the caret.
    QString AtCaret() {
        const long pos = Syn()->SendScintilla(Sci::SCI_GETCURRENTPOS);
        return QString::fromUtf8(Syn()->bytes(static_cast<int>(pos), static_cast<int>(pos) + 2)).left(1);
    }
    void Type(const QString& text) {
        Syn()->setFocus();
        QTest::keyClicks(Syn(), text);
    }
    void GoToEnd() { Syn()->SendScintilla(Sci::SCI_DOCUMENTEND); }
};

QString FileText(const std::string& path) {
    QFile file(Qs(path));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("<missing>");
    return Qs(file.readAll().toStdString());
}

void WriteFile(const std::string& path, const std::string& utf8) {
    QDir().mkpath(Qs(ExtractFilePath(path)));
    QFile file(Qs(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(FromUtf8(utf8)));
}

std::string ScriptFile(const char* name) {
    return Vars().AppPath(std::string("/script/") + name);
}

// What the next file dialog showed; `choose` is the file to accept there, or empty text to cancel.
struct FileDialogSeen {
    QString Title, Folder, Selected;
    QStringList Filters;
    bool Seen = false;
};
void AnswerNextFileDialog(FileDialogSeen& seen, const std::string& choose) {
    test::OnNextModal([&seen, choose](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        seen = {dialog->windowTitle(), dialog->directory().absolutePath(), dialog->selectedFiles().value(0),
                dialog->nameFilters(), true};
        if (choose.empty()) {
            dialog->reject();
        } else {
            // As the judge types a whole path into the name box.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Qs(choose));
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, which reads the name box
        }
        return true;
    });
}

// What the next message box showed, closed with `button`.
struct BoxSeen {
    QString Title, Text;
    QMessageBox::StandardButtons Buttons;
    bool Seen = false;
};
void AnswerNextBox(BoxSeen& seen, QMessageBox::StandardButton button) {
    test::OnNextModal([&seen, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        seen = {box->windowTitle(), box->text(), box->standardButtons(), true};
        box->button(button)->click();
        return true;
    });
}

const char* kErrorOnLine3 = "begin\r\nx := 1;\r\na:= 2 z := 3;\r\nend;\r\n";

} // namespace

class ScriptEditorTest : public QObject {
    Q_OBJECT
  private slots:
    void AScriptWithoutItsFileShowsTheDefaultReadyToSave() {
        TestSettings settings;
        Editor e;
        QCOMPARE(e.Text(), Qs(e.Item.GetText()));
        QVERIFY(e.Text().contains(QStringLiteral("Result := 1;")));
        QVERIFY(e.Action("actSave")->isEnabled());
        QVERIFY(!e.W.IsModified());
        QCOMPARE(e.W.ErrorLine(), -1);
        QCOMPARE(e.W.windowTitle(), QStringLiteral("Zelkon::ScriptEditor CALCQSO.TXT"));
        QCOMPARE(e.W.CurrentFileName(), ScriptFile("CalcQSO.txt"));
        QVERIFY(!e.CheckShown());
        QCOMPARE(e.Panel(0), QStringLiteral("      1:  1 "));
        // Nothing was edited, so closing asks nothing.
        e.W.close();
        QVERIFY(!e.W.isVisible());
        QVERIFY(settings.Boxes.Boxes.empty());
    }

    void AScriptWithItsFileCanBeSavedOnlyAfterAnEdit() {
        TestSettings settings;
        WriteFile(ScriptFile("CalcTotal.txt"), "begin\r\n  Result := Score;\r\nend;\r\n");
        ResetScripts();
        Editor e(TScriptKind::CalcTotal);
        QCOMPARE(e.Text(), QStringLiteral("begin\r\n  Result := Score;\r\nend;\r\n"));
        QVERIFY(!e.Action("actSave")->isEnabled());
        QVERIFY(!e.Action("actUndo")->isEnabled());
        e.GoToEnd();
        e.Type(QStringLiteral("x"));
        QVERIFY(e.W.IsModified());
        QVERIFY(e.Action("actSave")->isEnabled());
        // Undoing is an edit too: the flag stays.
        e.Action("actUndo")->trigger();
        QCOMPARE(e.Text(), QStringLiteral("begin\r\n  Result := Score;\r\nend;\r\n"));
        QVERIFY(e.W.IsModified());
        QTRY_COMPARE(e.Panel(0), QStringLiteral("      4:  1 "));
    }

    void SavingWritesTheFileAndTheNextCheckUsesIt() {
        TestSettings settings;
        Editor e;
        e.Item.Failed = true;
        QVERIFY(!QDir(Qs(Vars().AppPath("script"))).exists());
        e.Syn()->setText(e.Text().replace(QStringLiteral("Result := 1;"), QStringLiteral("Result := 7;")));
        FileDialogSeen seen;
        AnswerNextFileDialog(seen, ScriptFile("CalcQSO.txt"));
        e.Action("actSave")->trigger();

        QVERIFY(seen.Seen);
        QCOMPARE(seen.Title, QStringLiteral("Сохранить файл"));
        QCOMPARE(seen.Filters,
                 DialogFilters(QStringLiteral("Файлы скриптов/текстовые|*.txt; *.pas|Все файлы|*.*")));
        QCOMPARE(seen.Folder, QDir(Qs(Vars().AppPath("script"))).absolutePath());
        QCOMPARE(seen.Selected, Qs(ScriptFile("CalcQSO.txt")));
        const QString written = FileText(ScriptFile("CalcQSO.txt"));
        QVERIFY(written.endsWith(QStringLiteral("begin\r\n  Result := 7;\r\nend;\r\n")));
        QCOMPARE(Qs(e.Item.GetText()), written);
        QVERIFY(!e.Item.Failed);
        QVERIFY(!e.W.IsModified());
        QVERIFY(!e.Action("actSave")->isEnabled());
        QVERIFY(settings.Boxes.Boxes.empty()); // a new file needs no replace question

        // The check of a log uses the saved text at once.
        TQSORecord record;
        QCOMPARE(Scripts().CalcQSO(record), 7);
        e.W.close();
        QVERIFY(!e.W.isVisible());
    }

    void AnInstalledProgramSavesTheScriptToTheUsersFolder() {
        TestSettings settings;
        WriteFile(settings.Data.File(QStringLiteral("script/CalcQSO.txt")), "begin Result := 2 end;\r\n");
        settings.RestartInstalled();
        const std::string own = settings.User.File(QStringLiteral("script/CalcQSO.txt"));
        Editor e;
        // The data folder's script is the program's default: it can be saved at once, to the user's copy.
        QCOMPARE(e.Text(), QStringLiteral("begin Result := 2 end;\r\n"));
        QVERIFY(e.Action("actSave")->isEnabled());
        QCOMPARE(e.W.CurrentFileName(), own);
        e.Syn()->setText(QStringLiteral("begin Result := 5 end;"));
        FileDialogSeen seen;
        AnswerNextFileDialog(seen, own);
        e.Action("actSave")->trigger();
        QCOMPARE(seen.Folder, settings.User.Path() + QStringLiteral("/script"));
        QCOMPARE(FileText(own), QStringLiteral("begin Result := 5 end;\r\n"));
        QCOMPARE(FileText(settings.Data.File(QStringLiteral("script/CalcQSO.txt"))),
                 QStringLiteral("begin Result := 2 end;\r\n"));
        QVERIFY(!settings.Exe.Exists(QStringLiteral("script")));
        // The next start reads the user's script.
        settings.RestartInstalled();
        QCOMPARE(Scripts().CalcQSO(TQSORecord()), 5);
    }

    void OnlyYesInTheReplaceQuestionOverwrites() {
        TestSettings settings;
        const std::string file = ScriptFile("IsDuplicate.txt");
        WriteFile(file, "begin Result := false end;\r\n");
        ResetScripts();
        Editor e(TScriptKind::IsDuplicate);
        const std::string itemText = e.Item.GetText();
        e.Syn()->setText(QStringLiteral("begin Result := true end;\r\n"));

        for (auto answer : {QMessageBox::No, QMessageBox::Cancel}) {
            FileDialogSeen dialog;
            BoxSeen box;
            AnswerNextFileDialog(dialog, file);
            AnswerNextBox(box, answer);
            e.Action("actSave")->trigger();
            QVERIFY(box.Seen);
            QCOMPARE(box.Title, QStringLiteral("Подтвердите"));
            QCOMPARE(box.Text, QStringLiteral("Заменить существующий файл ") + Qs(file));
            QCOMPARE(box.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            QCOMPARE(FileText(file), QStringLiteral("begin Result := false end;\r\n"));
            QCOMPARE(e.Item.GetText(), itemText);
            QVERIFY(e.W.IsModified());
            QVERIFY(e.Action("actSave")->isEnabled());
        }

        FileDialogSeen dialog;
        BoxSeen box;
        AnswerNextFileDialog(dialog, file);
        AnswerNextBox(box, QMessageBox::Yes);
        e.Action("actSave")->trigger();
        QCOMPARE(FileText(file), QStringLiteral("begin Result := true end;\r\n"));
        QVERIFY(!e.W.IsModified());
    }

    void SavingUnderAnotherNameKeepsOfferingTheScriptsFile() {
        TestSettings settings;
        Editor e;
        const std::string other = settings.Exe.File(QStringLiteral("other.pas"));
        e.Syn()->setText(QStringLiteral("begin Result := 3 end;"));
        FileDialogSeen seen;
        AnswerNextFileDialog(seen, other);
        e.Action("actSave")->trigger();
        QCOMPARE(FileText(other), QStringLiteral("begin Result := 3 end;\r\n"));
        QCOMPARE(e.W.windowTitle(), QStringLiteral("Zelkon::ScriptEditor OTHER.PAS"));
        QCOMPARE(e.W.CurrentFileName(), other);
        QCOMPARE(e.Item.GetText(), std::string("begin Result := 3 end;\r\n"));
        QCOMPARE(e.Item.GetFileName(), ScriptFile("CalcQSO.txt"));

        e.Type(QStringLiteral(" "));
        AnswerNextFileDialog(seen, "");
        e.Action("actSave")->trigger();
        QCOMPARE(seen.Selected, Qs(ScriptFile("CalcQSO.txt")));
        QVERIFY(e.W.IsModified()); // cancelled
    }

    void AFailedWriteLeavesTheFlagTheItemAndTheCaption() {
        TestSettings settings;
        Editor e;
        const std::string itemText = e.Item.GetText();
        e.Type(QStringLiteral("x"));
        FileDialogSeen seen;
        AnswerNextFileDialog(seen, settings.Exe.File(QStringLiteral("no-such-folder/x.txt")));
        e.Action("actSave")->trigger();
        QVERIFY(seen.Seen);
        QCOMPARE(settings.Boxes.Boxes.size(), size_t{1});
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QVERIFY(QString::fromStdString(settings.Boxes.Boxes[0].Text).contains(QStringLiteral("x.txt")));
        QVERIFY(e.W.IsModified());
        QVERIFY(e.Action("actSave")->isEnabled());
        QCOMPARE(e.Item.GetText(), itemText);
        QCOMPARE(e.W.windowTitle(), QStringLiteral("Zelkon::ScriptEditor CALCQSO.TXT"));
    }

    void OpeningAFileReplacesTheTextButNotTheItem() {
        TestSettings settings;
        Editor e;
        const std::string itemText = e.Item.GetText();
        const std::string other =
            settings.Exe.Write(QStringLiteral("rules.txt"), "// Правила\r\nbegin end;\r\n");

        // Without a script folder the dialog still offers the script's name; with one, its whole path.
        FileDialogSeen seen;
        AnswerNextFileDialog(seen, "");
        e.Action("actOpen")->trigger();
        QCOMPARE(seen.Title, QStringLiteral("Открыть скрипт"));
        QVERIFY(seen.Selected.endsWith(QStringLiteral("/CalcQSO.txt")));
        QVERIFY(QDir().mkpath(Qs(Vars().AppPath("script"))));
        AnswerNextFileDialog(seen, "");
        e.Action("actOpen")->trigger();
        QCOMPARE(seen.Selected, Qs(ScriptFile("CalcQSO.txt")));
        QCOMPARE(e.Text(), Qs(itemText)); // cancelled

        AnswerNextFileDialog(seen, other);
        e.Action("actOpen")->trigger();
        QCOMPARE(e.Text(), QStringLiteral("// Правила\r\nbegin end;\r\n"));
        QVERIFY(!e.W.IsModified());
        QVERIFY(e.Action("actSave")->isEnabled()); // as before: the item's file is still missing
        QVERIFY(!e.Action("actUndo")->isEnabled());
        QCOMPARE(e.Item.GetText(), itemText);
        QCOMPARE(e.W.windowTitle(), QStringLiteral("Zelkon::ScriptEditor CALCQSO.TXT"));
        e.W.close();
        QVERIFY(!e.W.isVisible());
        QVERIFY(settings.Boxes.Boxes.empty());
    }

    void ACheckWithoutErrorsSaysSoAndLeavesTheItem() {
        TestSettings settings;
        Editor e;
        const std::string itemText = e.Item.GetText();
        e.Syn()->setText(QStringLiteral("begin Result := 2 end"));
        e.Action("actCheck")->trigger();
        QVERIFY(e.CheckShown());
        QCOMPARE(e.CheckText(), QStringLiteral("Ok. Ошибок нет."));
        QCOMPARE(e.W.ErrorLine(), -1);
        QCOMPARE(e.Item.GetText(), itemText);
        QVERIFY(e.W.IsModified());
    }

    void ACheckErrorPaintsItsLineWhiteOnRedUntilACheckSucceeds() {
        TestSettings settings;
        Editor e;
        e.Syn()->setText(QString::fromLatin1(kErrorOnLine3));
        e.Action("actCheck")->trigger();
        QVERIFY(e.CheckShown());
        QCOMPARE(e.CheckText(), QStringLiteral("Line 3/7: Need \";\" or \"end\" here"));
        QCOMPARE(e.W.ErrorLine(), 3);
        QCOMPARE(e.Panel(0), QStringLiteral("      3:  7 "));
        QCOMPARE(e.AtCaret(), QStringLiteral("z"));
        QCOMPARE(e.LineStyles(3), QSet<int>{TScriptLexer::ErrorLineStyle});
        QVERIFY(!e.LineStyles(2).contains(TScriptLexer::ErrorLineStyle));
        auto* lexer = qobject_cast<TScriptLexer*>(e.Syn()->lexer());
        QCOMPARE(lexer->color(TScriptLexer::ErrorLineStyle), QColor(Qt::white));
        QCOMPARE(lexer->paper(TScriptLexer::ErrorLineStyle), QColor(Qt::red));
        QVERIFY(lexer->eolFill(TScriptLexer::ErrorLineStyle));

        // Editing hides the panel; the mark stays.
        e.Syn()->SendScintilla(Sci::SCI_GOTOPOS, 0L);
        e.Type(QStringLiteral(" "));
        QVERIFY(!e.CheckShown());
        QCOMPARE(e.W.ErrorLine(), 3);
        QCOMPARE(e.LineStyles(3), QSet<int>{TScriptLexer::ErrorLineStyle});
        // So does closing the panel.
        e.Action("actCheck")->trigger();
        e.Child<QToolButton>("sbCloseCheck")->click();
        QVERIFY(!e.CheckShown());
        QCOMPARE(e.LineStyles(3), QSet<int>{TScriptLexer::ErrorLineStyle});

        e.Syn()->setText(QStringLiteral("begin\r\nx := 1;\r\na:= 2; z := 3;\r\nend;\r\n"));
        e.Action("actCheck")->trigger();
        QCOMPARE(e.CheckText(), QStringLiteral("Ok. Ошибок нет."));
        QCOMPARE(e.W.ErrorLine(), -1);
        QVERIFY(!e.LineStyles(3).contains(TScriptLexer::ErrorLineStyle));
    }

    void ACheckNamesAMisspeltFunctionOnItsLine() {
        TestSettings settings;
        Editor e;
        e.Syn()->setText(
            QStringLiteral("begin\r\n  x := Word(Receive, 2);\r\n  Result := Bnad(Freq) = '80'\r\nend;"));
        e.Action("actCheck")->trigger();
        QVERIFY(e.CheckShown());
        QCOMPARE(e.CheckText(), QStringLiteral("Line 3/13: Неизвестная функция : BNAD"));
        QCOMPARE(e.W.ErrorLine(), 3);
        QCOMPARE(e.AtCaret(), QStringLiteral("B"));
        QCOMPARE(e.LineStyles(3), QSet<int>{TScriptLexer::ErrorLineStyle});

        // Every new name passes, in any letter case.
        e.Syn()->setText(QStringLiteral(
            "begin Result := (band(Freq) = BAND(Freq2)) and (Minutes(DateTime, DateTime2) < 30) "
            "and IsCall(Call) and (NoZeros(Word(Receive, 2)) = '7') end"));
        e.Action("actCheck")->trigger();
        QCOMPARE(e.CheckText(), QStringLiteral("Ok. Ошибок нет."));
        QCOMPARE(e.W.ErrorLine(), -1);
    }

    void TheErrorColumnCountsCharactersNotBytes() {
        TestSettings settings;
        Editor e;
        // A comment with Cyrillic letters before the error: the compiler counts it back in.
        e.Syn()->setText(QStringLiteral("begin\r\n{ёж} a:= 2 z := 3;\r\nend;\r\n"));
        e.Action("actCheck")->trigger();
        QCOMPARE(e.CheckText(), QStringLiteral("Line 2/12: Need \";\" or \"end\" here"));
        QCOMPARE(e.AtCaret(), QStringLiteral("z"));
        QCOMPARE(e.Panel(0), QStringLiteral("      2: 12 "));
    }

    void TheScriptIsColouredByItsLanguage() {
        TestSettings settings;
        Editor e;
        e.Syn()->setText(QStringLiteral("begin { note }\r\n  s := 'a' + 12; // end\r\nend;"));
        auto styleAt = [&e](qsizetype pos) { return e.StyleAt(pos); };
        const QString text = e.Text();
        QCOMPARE(styleAt(text.indexOf(QStringLiteral("begin"))), int(TScriptLexer::Keyword));
        QCOMPARE(styleAt(text.indexOf(QStringLiteral("note"))), int(TScriptLexer::Comment));
        QCOMPARE(styleAt(text.indexOf(QStringLiteral("'a'"))), int(TScriptLexer::String));
        QCOMPARE(styleAt(text.indexOf(QStringLiteral("12"))), int(TScriptLexer::Number));
        QCOMPARE(styleAt(text.indexOf(QStringLiteral("s :="))), int(TScriptLexer::Default));
        QCOMPARE(styleAt(text.indexOf(QStringLiteral("// end"))), int(TScriptLexer::Comment));
        QCOMPARE(styleAt(text.lastIndexOf(QStringLiteral("end;"))), int(TScriptLexer::Keyword));
        QCOMPARE(e.Syn()->lexer()->color(TScriptLexer::Comment), QColor(0, 0, 128));
        // Calls of built-in functions stand out; a misspelt one does not.
        e.Syn()->setText(QStringLiteral("x := Band(Freq) + Bnad(Freq) + minutes(a, b)"));
        const QString calls = e.Text();
        QCOMPARE(styleAt(calls.indexOf(QStringLiteral("Band"))), int(TScriptLexer::Function));
        QCOMPARE(styleAt(calls.indexOf(QStringLiteral("Bnad"))), int(TScriptLexer::Default));
        QCOMPARE(styleAt(calls.indexOf(QStringLiteral("minutes"))), int(TScriptLexer::Function));
        QVERIFY(e.Syn()->lexer()->color(TScriptLexer::Function) !=
                e.Syn()->lexer()->color(TScriptLexer::Default));
        e.Syn()->setText(QStringLiteral("begin { note }\r\n  s := 'a' + 12; // end\r\nend;"));
        // Opening a brace comment recolours the lines below it.
        e.Syn()->SendScintilla(Sci::SCI_GOTOPOS, e.Syn()->SendScintilla(Sci::SCI_POSITIONFROMLINE, 1L));
        e.Type(QStringLiteral("{"));
        QCOMPARE(styleAt(e.Text().lastIndexOf(QStringLiteral("end;"))), int(TScriptLexer::Comment));
    }

    void ClosingAChangedScriptOffersToSaveFirst() {
        TestSettings settings;
        {
            Editor e;
            e.Type(QStringLiteral("x"));
            settings.Boxes.Answer = true;
            FileDialogSeen seen;
            AnswerNextFileDialog(seen, ""); // the save is cancelled
            e.Action("actClose")->trigger();
            QCOMPARE(settings.Boxes.Boxes.size(), size_t{1});
            QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("ask"));
            QCOMPARE(settings.Boxes.Boxes[0].Text, std::string("Сохранить внесённые изменения?"));
            QVERIFY(seen.Seen);
            QVERIFY(e.W.isVisible());

            // Yes with a successful save still leaves the window open; the next close asks nothing.
            AnswerNextFileDialog(seen, ScriptFile("CalcQSO.txt"));
            e.W.close();
            QVERIFY(e.W.isVisible());
            QVERIFY(!e.W.IsModified());
            e.W.close();
            QVERIFY(!e.W.isVisible());
            QCOMPARE(settings.Boxes.Boxes.size(), size_t{2});
        }
        {
            settings.Boxes.Boxes.clear();
            settings.Boxes.Answer = false;
            Editor e;
            const std::string itemText = e.Item.GetText();
            e.Type(QStringLiteral("y"));
            e.W.close();
            QVERIFY(!e.W.isVisible());
            QCOMPARE(settings.Boxes.Boxes.size(), size_t{1});
            QCOMPARE(e.Item.GetText(), itemText);
        }
    }

    void GeometryComesFromPositiveStoredValuesAndGoesBackOnClose() {
        TestSettings settings;
        Vars().WSEWidth = 700;
        Vars().WSEHeight = 0;
        Vars().WSETop = 0;
        Vars().WSELeft = -5;
        {
            Editor e;
            QCOMPARE(e.W.width(), 700);
            QCOMPARE(e.W.height(), 480);
            e.W.resize(720, 500);
            e.W.move(40, 30);
            e.W.close();
            QCOMPARE(Vars().WSEWidth, e.W.width());
            QCOMPARE(Vars().WSEHeight, e.W.height());
            QCOMPARE(Vars().WSETop, e.W.y());
            QCOMPARE(Vars().WSELeft, e.W.x());
        }
        Editor again;
        QCOMPARE(again.W.size(), QSize(720, 500));
        QCOMPARE(again.W.pos(), QPoint(40, 30));
    }

    void TheCompletionListFiltersByTheWordAndInsertsTheName() {
        TestSettings settings;
        Editor e;
        e.Syn()->setText(QString());
        TScriptCompletion* list = e.Completion();
        std::vector<TCompletionEntry> entries;
        TZelkScriptEngine().FillCompletion(entries);
        e.Type(QStringLiteral("x := "));
        QTest::keyClick(e.Syn(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(list->isVisible());
        QCOMPARE(list->Offered().size(), qsizetype(entries.size()));
        QCOMPARE(list->Offered().first(), Qs(entries.front().insert));
        QCOMPARE(list->Offered().last(), Qs(entries.back().insert));
        QCOMPARE(list->findChild<QLabel*>(QStringLiteral("lbCompletionTitle"))->text(),
                 QStringLiteral("Список функций"));
        QCOMPARE(list->width(), TScriptCompletion::kWidth);

        // Typing goes on into the editor and narrows the list.
        QWidget* keys = e.CompletionKeys();
        QTest::keyClicks(keys, QStringLiteral("str"));
        QCOMPARE(list->Offered(), (QStringList{"StrToDate", "StrToTime", "StrToInt"}));
        QTest::keyClicks(keys, QStringLiteral("toi"));
        QCOMPARE(list->Offered(), QStringList{"StrToInt"});
        QTest::keyClick(keys, Qt::Key_Backspace);
        QCOMPARE(list->Offered(), (QStringList{"StrToDate", "StrToTime", "StrToInt"}));
        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(list->Current(), QStringLiteral("StrToTime"));
        QTest::keyClick(keys, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QCOMPARE(e.Text(), QStringLiteral("x := StrToTime"));
        QVERIFY(e.W.IsModified());

        // Escape closes without inserting; a word-ending character closes and is typed.
        e.Type(QStringLiteral(" + Po"));
        QTest::keyClick(e.Syn(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(list->Offered(), QStringList{"Pos"});
        QTest::keyClick(e.CompletionKeys(), Qt::Key_Escape);
        QVERIFY(!list->isVisible());
        QVERIFY(e.W.isVisible());
        QTest::keyClick(e.Syn(), Qt::Key_Space, Qt::ControlModifier);
        QTest::keyClicks(e.CompletionKeys(), QStringLiteral("("));
        QVERIFY(!list->isVisible());
        QCOMPARE(e.Text(), QStringLiteral("x := StrToTime + Po("));

        // The functions for contest rules are offered like the others.
        e.Syn()->setText(QString());
        for (const QString name : {"Band", "Minutes", "Word", "NoZeros", "IsCall", "Accepted2", "Reason",
                                   "MaxMinutesDifference", "MyCall2", "Tx2"}) {
            e.Type(name.left(3));
            QTest::keyClick(e.Syn(), Qt::Key_Space, Qt::ControlModifier);
            QVERIFY2(list->Offered().contains(name), qPrintable(name));
            QTest::keyClick(e.CompletionKeys(), Qt::Key_Escape);
            e.Type(QStringLiteral(" "));
        }
        e.Type(QStringLiteral("NoZ"));
        QTest::keyClick(e.Syn(), Qt::Key_Space, Qt::ControlModifier);
        QTest::keyClick(e.CompletionKeys(), Qt::Key_Return);
        QVERIFY(e.Text().endsWith(QStringLiteral(" NoZeros")));

        // A word that no entry begins with opens nothing.
        e.Type(QStringLiteral("Zz"));
        QTest::keyClick(e.Syn(), Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(!list->isVisible());
    }

    void TheCompletionListOpensASecondAfterAPoint() {
        TestSettings settings;
        Editor e;
        e.Syn()->setText(QString());
        auto* timer = e.Completion()->findChild<QTimer*>(QStringLiteral("tmrCompletion"));
        e.Type(QStringLiteral("a."));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        e.Type(QStringLiteral("b"));
        QVERIFY(!timer->isActive()); // typing on cancels it

        e.Type(QStringLiteral("."));
        QVERIFY(!e.Completion()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(e.Completion()->isVisible(), 3000);
        QCOMPARE(e.Completion()->Offered().size(), qsizetype(36));
        QTest::keyClick(e.CompletionKeys(), Qt::Key_Return);
        QCOMPARE(e.Text(), QStringLiteral("a.b.IntToStr"));
    }

    void CharactersWindows1251LacksAreFlaggedAndSavedOnlyWhenConfirmed() {
        TestSettings settings;
        Editor e;
        QVERIFY(e.Panel(1).isEmpty());
        e.Syn()->setText(QStringLiteral("begin Result := 1 end; // 1 → 2"));
        QVERIFY(e.Panel(1).contains(QStringLiteral("«→»")));
        const std::string file = ScriptFile("CalcQSO.txt");

        settings.Boxes.Answer = false;
        FileDialogSeen seen;
        AnswerNextFileDialog(seen, file);
        e.Action("actSave")->trigger();
        QCOMPARE(settings.Boxes.Boxes.size(), size_t{1});
        QVERIFY(
            QString::fromStdString(settings.Boxes.Boxes[0].Text).contains(QStringLiteral("Windows-1251")));
        QVERIFY(!QFile::exists(Qs(file)));
        QVERIFY(e.W.IsModified());

        settings.Boxes.Answer = true;
        AnswerNextFileDialog(seen, file);
        e.Action("actSave")->trigger();
        QCOMPARE(FileText(file), QStringLiteral("begin Result := 1 end; // 1 ? 2\r\n"));

        e.Syn()->setText(QStringLiteral("begin end;"));
        QVERIFY(e.Panel(1).isEmpty());
    }

    void HelpShowsTheScriptsTopic() {
        TestSettings settings;
        WriteFile(Vars().HelpFile, "help");
        std::string page;
        const THelpViewer previous =
            SetHelpViewer([&page](const std::string&, const std::string& p) { page = p; });
        Editor e(TScriptKind::IsValidReceive);
        e.Syn()->setFocus();
        QTest::keyClick(e.Syn(), Qt::Key_F1);
        QCOMPARE(page, std::string("script_IsValidReceive.htm"));
        SetHelpViewer(previous);
    }

    void F1InTheModalEditorOverTheMainWindowShowsTheScriptsTopic() {
        TestSettings settings;
        WriteFile(Vars().HelpFile, "help");
        std::vector<std::string> pages;
        const THelpViewer previous =
            SetHelpViewer([&pages](const std::string&, const std::string& p) { pages.push_back(p); });
        TfmExplorer main; // holds the program's own F1 command
        main.show();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        TfmScriptEditor editor(*Scripts().FindItem(TScriptKind::CalcMultiplier), &main);
        bool pressed = false;
        test::OnNextModal(
            [&editor](QWidget* modal) {
                if (modal != &editor || !editor.isActiveWindow()) return false;
                QTest::keyClick(editor.findChild<QsciScintilla*>(QStringLiteral("synEdit")), Qt::Key_F1);
                editor.close();
                return true;
            },
            &pressed);
        editor.exec();
        QVERIFY(pressed);
        QCOMPARE(pages, std::vector<std::string>{"script_CalcMultiplier.htm"});
        SetHelpViewer(previous);
    }

    void KeysReachTheEditorOrTheCommandsOnce() {
        TestSettings settings;
        Editor e;
        e.Syn()->setText(QString());
        e.Type(QStringLiteral("ab"));
        e.Syn()->SendScintilla(Sci::SCI_GOTOPOS, 0L);
        e.Type(QStringLiteral("c"));
        // Ctrl+Z undoes one step: the editor's own key and the command are not both run.
        QTest::keyClick(e.Syn(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.Text(), QStringLiteral("ab"));

        FileDialogSeen seen;
        AnswerNextFileDialog(seen, "");
        QTest::keyClick(e.Syn(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(seen.Seen);

        // Escape leaves the window open; Ctrl+F4 closes it (after the question, answered No).
        e.W.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e.W));
        settings.Boxes.Answer = false;
        QTest::keyClick(e.Syn(), Qt::Key_Escape);
        QVERIFY(e.W.isVisible());
        QTest::keyClick(e.Syn(), Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!e.W.isVisible());
    }
};

ZELK_UI_TEST(ScriptEditorTest)
#include "script_editor_test.moc"
