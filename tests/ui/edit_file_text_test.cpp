// The log editor's work on the text: the colouring table and its switch, and the find and replace
// dialogs with their buttons.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/edit_file.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

// One mark per character of a line: '.' no format, 'n' navy, 'p' purple, 'r' red, upper case when bold.
QString Marks(const QTextBlock& block) {
    QString marks;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        char16_t mark = u'.';
        if (format.hasProperty(QTextFormat::ForegroundBrush)) {
            const QColor c = format.foreground().color();
            mark = c == QColor(0, 0, 128)     ? u'n'
                   : c == QColor(128, 0, 128) ? u'p'
                   : c == QColor(255, 0, 0)   ? u'r'
                                              : u'?';
        }
        if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::Bold)
            mark = mark == u'.' ? u'B' : QChar(mark).toUpper().unicode();
        marks += QString(fragment.length(), QChar(mark));
    }
    return marks;
}

struct Line {
    const char* text;
    QString marks;
};

QString Repeat(char mark, int count) {
    return QString(count, QChar::fromLatin1(mark));
}

// The colouring table on lines that match it, lines that nearly do, and lines that do not.
const std::vector<Line>& ColouredLines() {
    static const std::vector<Line> lines = {
        {"START-OF-LOG: 3.0", Repeat('r', 12) + Repeat('.', 5)},
        {"CALLSIGN: Q1AA", Repeat('.', 9) + Repeat('N', 5)},
        {"callsign: q1aa", Repeat('.', 9) + Repeat('N', 5)},
        {"OPERATORS: Q1AA Q2BB", Repeat('.', 10) + Repeat('N', 10)},
        {"NAME: Иван", Repeat('.', 5) + Repeat('N', 5)},
        {"NAME:", Repeat('.', 5)},
        {"CONTEST: TEST", Repeat('.', 8) + Repeat('p', 5)},
        {"SOAPBOX: ok", Repeat('.', 8) + Repeat('n', 3)},
        {"CLUB: Клуб", Repeat('.', 5) + Repeat('n', 5)},
        {"QSO: 3510 CW", Repeat('p', 3) + Repeat('.', 9)},
        {"qso: 1", Repeat('p', 3) + Repeat('.', 3)},
        {"END-OF-LOG:", Repeat('r', 10) + Repeat('.', 1)},
        {" CALLSIGN: Q1AA", Repeat('.', 15)},
        {"CALLSIGNS: X", Repeat('.', 12)},
        {"X-QTH: Москва", Repeat('.', 13)},
        {"", ""},
    };
    return lines;
}

std::string ColouredLog(const TempFolder& folder) {
    std::string text;
    for (const Line& line : ColouredLines())
        text += std::string(line.text) + "\n";
    return folder.Write("COLOUR.CBR", text);
}

bool TableShown(QPlainTextEdit* view) {
    const auto& lines = ColouredLines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (Marks(view->document()->findBlockByNumber(static_cast<int>(i))) != lines[i].marks) return false;
    return true;
}

void CompareTable(QPlainTextEdit* view) {
    const auto& lines = ColouredLines();
    for (size_t i = 0; i < lines.size(); ++i)
        QCOMPARE(Marks(view->document()->findBlockByNumber(static_cast<int>(i))), lines[i].marks);
}

bool NothingColoured(QPlainTextEdit* view) {
    for (QTextBlock b = view->document()->begin(); b.isValid(); b = b.next())
        if (Marks(b) != Repeat('.', static_cast<int>(b.text().size()))) return false;
    return true;
}

struct Editor {
    TfmEditFile Window;
    template <class T> T* Child(QObject* in, const char* name) {
        return in->findChild<T*>(QString::fromLatin1(name));
    }
    QAction* Action(const char* name) { return Child<QAction>(&Window, name); }
    QPlainTextEdit* View() { return Child<QPlainTextEdit>(&Window, "reView"); }
    QDialog* Dialog(const char* name) { return Child<QDialog>(&Window, name); }
    QString Selected() { return View()->textCursor().selectedText(); }
    int SelectionStart() { return View()->textCursor().selectionStart(); }
    void Type(const QString& keys) { QTest::keyClicks(View(), keys); }
    void Click(const char* dialog, const char* button) {
        Child<QPushButton>(Dialog(dialog), button)->click();
    }
    void SetField(const char* dialog, const char* field, const QString& text) {
        Child<QLineEdit>(Dialog(dialog), field)->setText(text);
    }
    void PlaceCaret(int position) {
        QTextCursor c = View()->textCursor();
        c.setPosition(position);
        View()->setTextCursor(c);
    }
};

} // namespace

class EditFileTextTest : public QObject {
    Q_OBJECT
  private slots:
    void ColouringFollowsTheTagTableAfterTheWindowIsShown() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        QVERIFY(e.Window.LoadFile(ColouredLog(folder)));
        QVERIFY(NothingColoured(e.View()));
        auto* timer = e.Window.findChild<QTimer*>(QStringLiteral("tmrSyntax"));
        QCOMPARE(timer->interval(), 1000);
        e.Window.show();
        QVERIFY(timer->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(TableShown(e.View()), 3000);
        CompareTable(e.View());
        QCOMPARE(e.View()->textCursor().position(), 0);
        // Colouring is not a change of the text.
        QVERIFY(!e.Window.IsModified());
        QVERIFY(!e.Action("actUndo")->isEnabled());

        // The switch clears and colours again at once.
        e.Action("actShowSyntax")->trigger();
        QVERIFY(!e.Action("actShowSyntax")->isChecked());
        QVERIFY(NothingColoured(e.View()));
        e.PlaceCaret(40);
        e.Action("actShowSyntax")->trigger();
        CompareTable(e.View());
        QCOMPARE(e.View()->textCursor().position(), 0);
        QVERIFY(!e.Window.IsModified());
    }

    void WithTheSwitchOffNothingIsColoured() {
        TestSettings settings;
        TempFolder folder;
        const std::string path = ColouredLog(folder);
        Vars().WVFSyntax = false;
        Editor e;
        QVERIFY(!e.Action("actShowSyntax")->isChecked());
        QVERIFY(e.Window.LoadFile(path));
        e.Window.show();
        QTest::qWait(1200);
        QVERIFY(NothingColoured(e.View()));
    }

    void AnotherFileLoadsWithoutTheColoursOfTheFirst() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        QVERIFY(e.Window.LoadFile(ColouredLog(folder)));
        e.Action("actShowSyntax")->trigger();
        e.Action("actShowSyntax")->trigger();
        CompareTable(e.View());
        QVERIFY(e.Window.LoadFile(folder.Write("PLAIN.CBR", "X-TAG: a\nMORE\n")));
        QVERIFY(NothingColoured(e.View()));
        e.Type(QStringLiteral("typed"));
        QVERIFY(NothingColoured(e.View()));
    }

    void FindNextSelectsEachHitInTurnWithLetterCase() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        QVERIFY(e.Window.LoadFile(folder.Write("F.CBR", "QSO: A\nqso: B\nQSO: C QSO\n")));
        e.Window.show();
        QVERIFY(e.Window.FindNext(QStringLiteral("QSO")));
        QCOMPARE(e.SelectionStart(), 0);
        QVERIFY(e.Window.FindNext(QStringLiteral("QSO")));
        QCOMPARE(e.SelectionStart(), 14);
        QVERIFY(e.Window.FindNext(QStringLiteral("QSO")));
        QCOMPARE(e.SelectionStart(), 21);
        // No further hit: the selection stays and no box appears.
        QVERIFY(!e.Window.FindNext(QStringLiteral("QSO")));
        QCOMPARE(e.SelectionStart(), 21);
        QCOMPARE(e.Selected(), QStringLiteral("QSO"));
        QVERIFY(settings.Boxes.Boxes.empty());
        // Without a selection the search starts at the beginning of the text again.
        e.PlaceCaret(16);
        QVERIFY(e.Window.FindNext(QStringLiteral("QSO")));
        QCOMPARE(e.SelectionStart(), 0);
        // Letter case counts.
        QVERIFY(e.Window.FindNext(QStringLiteral("qso")));
        QCOMPARE(e.SelectionStart(), 7);
        QVERIFY(!e.Window.FindNext(QStringLiteral("Qso")));
        QVERIFY(!e.Window.IsModified());
    }

    void TheFindDialogSearchesWithItsOwnText() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        QVERIFY(e.Window.LoadFile(folder.Write("F.CBR", "CALLSIGN: Q1AA\nQSO: Q2BB\nQSO: Q1AA\n")));
        e.Window.show();
        e.Action("actFind")->trigger();
        QDialog* find = e.Dialog("dlgFind");
        QVERIFY(find->isVisible());
        QVERIFY(!find->isModal());
        QCOMPARE(find->windowTitle(), QStringLiteral("Найти"));
        auto* next = e.Child<QPushButton>(find, "btnFindNext");
        QVERIFY(!next->isEnabled());
        e.SetField("dlgFind", "edFindText", QStringLiteral("Q1AA"));
        QVERIFY(next->isEnabled());
        next->click();
        QCOMPARE(e.SelectionStart(), 10);
        next->click();
        QCOMPARE(e.SelectionStart(), 30);
        QVERIFY(find->isVisible());

        // The replace dialog keeps a text of its own.
        e.Action("actFindAndReplace")->trigger();
        QDialog* replace = e.Dialog("dlgReplace");
        QVERIFY(replace->isVisible());
        QCOMPARE(replace->windowTitle(), QStringLiteral("Заменить"));
        QCOMPARE(e.Child<QLineEdit>(replace, "edFindText")->text(), QString());
        e.SetField("dlgReplace", "edFindText", QStringLiteral("QSO"));
        e.PlaceCaret(0);
        e.Click("dlgReplace", "btnFindNext");
        QCOMPARE(e.SelectionStart(), 15);
        QCOMPARE(e.Child<QLineEdit>(find, "edFindText")->text(), QStringLiteral("Q1AA"));

        // Closing hides the dialogs.
        e.Click("dlgFind", "btnClose");
        QVERIFY(!find->isVisible());
        QTest::keyClick(replace, Qt::Key_Escape);
        QVERIFY(!replace->isVisible());
    }

    void ReplaceTakesTheCurrentHitAndMovesToTheNext() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        QVERIFY(e.Window.LoadFile(folder.Write("R.CBR", "QSO: 599\nQSO: 579 599\n")));
        e.Window.show();
        e.Action("actFindAndReplace")->trigger();
        e.SetField("dlgReplace", "edFindText", QStringLiteral("599"));
        e.SetField("dlgReplace", "edReplaceText", QStringLiteral("59"));

        // Nothing selected: the first press only finds.
        e.Click("dlgReplace", "btnReplace");
        QCOMPARE(e.SelectionStart(), 5);
        QVERIFY(!e.Window.IsModified());
        // Then each press replaces the selected hit and selects the next one.
        e.Click("dlgReplace", "btnReplace");
        QCOMPARE(e.View()->toPlainText(), QStringLiteral("QSO: 59\nQSO: 579 599"));
        QCOMPARE(e.SelectionStart(), 17);
        QCOMPARE(e.Selected(), QStringLiteral("599"));
        QVERIFY(e.Window.IsModified());
        e.Click("dlgReplace", "btnReplace");
        QCOMPARE(e.View()->toPlainText(), QStringLiteral("QSO: 59\nQSO: 579 59"));
        // A selection that is not a hit is not replaced.
        QTextCursor c = e.View()->textCursor();
        c.setPosition(0);
        c.setPosition(3, QTextCursor::KeepAnchor);
        e.View()->setTextCursor(c);
        QVERIFY(!e.Window.ReplaceCurrent(QStringLiteral("599"), QStringLiteral("x")));
        QCOMPARE(e.View()->toPlainText(), QStringLiteral("QSO: 59\nQSO: 579 59"));
        QCOMPARE(e.Window.Lines(), (std::vector<std::string>{"QSO: 59", "QSO: 579 59"}));
    }

    void ReplaceAllTakesEveryHitAsOneStep() {
        TestSettings settings;
        TempFolder folder;
        Editor e;
        QVERIFY(e.Window.LoadFile(folder.Write("R.CBR", "QSO: q1aa Q1AA\nQSO: Q1AA\n")));
        e.Window.show();
        e.Action("actFindAndReplace")->trigger();
        // A replacement that holds the search text does not make the replacing endless.
        e.SetField("dlgReplace", "edFindText", QStringLiteral("Q1AA"));
        e.SetField("dlgReplace", "edReplaceText", QStringLiteral("Q1AA/P Q1AA"));
        e.Click("dlgReplace", "btnReplaceAll");
        QCOMPARE(e.View()->toPlainText(), QStringLiteral("QSO: q1aa Q1AA/P Q1AA\nQSO: Q1AA/P Q1AA"));
        QVERIFY(e.Window.IsModified());
        QCOMPARE(e.Window.ReplaceAll(QStringLiteral("absent"), QStringLiteral("x")), 0);
        e.Action("actUndo")->trigger();
        QCOMPARE(e.View()->toPlainText(), QStringLiteral("QSO: q1aa Q1AA\nQSO: Q1AA"));
        QVERIFY(!e.Window.IsModified());
        QCOMPARE(e.Window.ReplaceAll(QStringLiteral("Q1AA"), QString()), 2);
        QCOMPARE(e.View()->toPlainText(), QStringLiteral("QSO: q1aa \nQSO: "));
    }
};

ZELK_UI_TEST(EditFileTextTest)

#include "edit_file_text_test.moc"
