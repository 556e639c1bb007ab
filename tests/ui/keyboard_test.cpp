// The program at the keyboard and on the screen: the keys of the checks and the report (shown in the tool
// bar's tooltips), F10 for the menus, a visible focus on every control Tab reaches, Escape in every find
// and replace dialog, and dialogs and the help window that open whole on the main window's screen.
#include "explorer_fixture.h"
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "settings/global_vars.h"
#include "ui/about_dialog.h"
#include "ui/edit_file.h"
#include "ui/find_qso.h"
#include "ui/help_topic.h"
#include "ui/help_viewer.h"
#include "ui/help_window.h"
#include "ui/options_dialog.h"
#include "ui/qt_text.h"
#include "ui/reports_dialog.h"
#include "ui/view_qso.h"
#include "ui/zelk_resources.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>

#include <map>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;
using Window = zelk::test::ExplorerWindow;

namespace {

const char* kQ1AA = "CALLSIGN: Q1AA\n"
                    "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n"
                    "QSO: 3510 CW 2005-02-12 1230 Q1AA 599 002 Q3CC 599 016 0\n";
const char* kQ2BB = "CALLSIGN: Q2BB\n"
                    "QSO: 3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0\n";

// A main window on a two-log contest with Q1AA loaded.
struct Contest {
    TempFolder Folder;
    Window W;
    explicit Contest(TestSettings& settings) {
        Folder.Write("Q1AA.CBR", kQ1AA);
        Folder.Write("Q2BB.CBR", kQ2BB);
        settings.Exe.Write(QStringLiteral("zelk.ini"),
                           "[Settings]\nCurrentFolder=" + Folder.Text() + "\nQLastCall=Q1AA.CBR\n");
        Vars().LoadSettings();
        W.ShowAndWait();
        QTRY_COMPARE(W.List("lvQSODetail")->model()->rowCount(), 2);
        QTRY_VERIFY(!W.Child<QTimer>("tmrFileSelect")->isActive());
        QApplication::setActiveWindow(&W.Explorer);
        QTRY_VERIFY(W.Explorer.isActiveWindow());
    }
};

// Presses Tab from the focused control until the focus comes round again. `reached` counts the controls
// on the way; the result names those whose look does not change when they get the focus.
QStringList ControlsWithoutVisibleFocus(int& reached) {
    // The focus shows once the judge moves it with the keyboard: one Tab there and back.
    if (QWidget* start = QApplication::focusWidget()) {
        QTest::keyClick(start, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    }
    std::map<QWidget*, QImage> focused;
    QList<QWidget*> order;
    for (int i = 0; i < 60; ++i) {
        QWidget* current = QApplication::focusWidget();
        if (!current || order.contains(current)) break;
        order << current;
        focused[current] = current->grab().toImage();
        QTest::keyClick(current, Qt::Key_Tab);
    }
    reached = static_cast<int>(order.size());
    QStringList without;
    for (QWidget* control : order) {
        if (control->hasFocus()) QTest::keyClick(control, Qt::Key_Tab);
        if (control->grab().toImage() == focused[control])
            without << control->metaObject()->className() + QStringLiteral(" ") + control->objectName();
    }
    return without;
}

// Presses a key on `target` with its window made the active one first: a window's keys work only while it
// is active, and a window of an earlier test may still be handing the activation over.
void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* window = target->window();
    QApplication::setActiveWindow(window);
    QTRY_VERIFY(window->isActiveWindow());
    QTest::keyClick(target, key, modifiers);
}

// Offers the next modal dialog of type T to `look`, then closes it.
template <class T> void LookAtNextModal(const std::function<void(T*)>& look, bool* seen) {
    test::OnNextModal(
        [look](QWidget* modal) {
            auto* dialog = qobject_cast<T*>(modal);
            if (!dialog) return false;
            look(dialog);
            dialog->close();
            return true;
        },
        seen);
}

bool Whole(const QWidget* window, const QRect& area) {
    return area.contains(window->frameGeometry());
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
  private slots:
    // F9 checks the selected log, Ctrl+F9 every log, Ctrl+R writes the report; the tool bar tells the keys.
    void TheKeysRunTheChecksAndTheReport() {
        TestSettings settings;
        Contest c(settings);
        Window& w = c.W;
        Press(w.List("lvFiles"), Qt::Key_F9);
        QCOMPARE(w.Panel(2), QStringLiteral(" SCORE/MULTI/CLAIMED"));
        QCOMPARE(w.Cell("lvQSODetail", 1, 9), QStringLiteral("нет файла; "));
        QCOMPARE(w.Cell("lvFiles", w.RowOf("Q2BB.CBR"), 3), QStringLiteral("-"));
        Press(w.List("lvQSODetail"), Qt::Key_F9, Qt::ControlModifier);
        QCOMPARE(w.Cell("lvFiles", w.RowOf("Q2BB.CBR"), 3), QStringLiteral("1"));
        QCOMPARE(w.Explorer.Message(), QStringLiteral("Проверены все файлы: 2"));

        bool opened = false;
        LookAtNextModal<QFileDialog>(
            [](QFileDialog* dialog) { QCOMPARE(dialog->objectName(), QStringLiteral("dlgSaveCalc")); },
            &opened);
        Press(w.List("lvQSODetail"), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(opened);

        const struct {
            const char* bar;
            const char* action;
            const char* tip;
        } tips[] = {{"tbQSO", "actCalcQSO", "Проверить все записи (F9)"},
                    {"tbQSO", "actSaveCalcReport", "Создать файл отчёта (Ctrl+R)"},
                    {"tbFiles", "actCalcAllFiles", "Проверить все файлы (Ctrl+F9)"},
                    {"tbFiles", "Help", "Вызов справки (F1)"}};
        for (const auto& t : tips) {
            QAction* action = QByteArray(t.action) == "Help" ? ZelkResources().Help() : w.Action(t.action);
            QCOMPARE(w.Child<QToolBar>(t.bar)->widgetForAction(action)->toolTip(), QString::fromUtf8(t.tip));
        }
        // The menus that hold the commands show their keys beside them.
        QVERIFY(w.Child<QMenu>("mnData")->actions().contains(w.Action("actCalcAllFiles")));
        QVERIFY(w.Child<QMenu>("pmQSODetail")->actions().contains(w.Action("actCalcQSO")));
        QVERIFY(w.Child<QMenu>("pmQSODetail")->actions().contains(w.Action("actSaveCalcReport")));
    }

    // F10 opens the first menu of the main window, of the log editor and of the QSO search; Escape
    // closes it again.
    void F10OpensTheMenus() {
        TestSettings settings;
        Contest c(settings);
        const auto opensFirstMenu = [](QWidget* window, QMenuBar* bar) {
            QMenu* first = bar->actions().first()->menu();
            Press(window, Qt::Key_F10);
            QTRY_VERIFY(first->isVisible());
            QTest::keyClick(first, Qt::Key_Escape);
            QTRY_VERIFY(!first->isVisible());
        };
        opensFirstMenu(&c.W.Explorer, c.W.Explorer.menuBar());

        TfmEditFile editor(&c.W.Explorer);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QApplication::setActiveWindow(&editor);
        QTRY_VERIFY(editor.isActiveWindow());
        opensFirstMenu(&editor, editor.menuBar());
        editor.close();

        TfmFindQSO search(c.W.Explorer.Contest(), &c.W.Explorer);
        bool seen = false;
        test::OnNextModal(
            [&](QWidget* modal) {
                if (modal != &search) return false;
                opensFirstMenu(&search, search.findChild<QMenuBar*>());
                search.reject();
                return true;
            },
            &seen);
        search.Execute();
        QVERIFY(seen);
    }

    // Every control that Tab reaches changes its look when it gets the focus: the lists of the main
    // window, and every control of the settings dialog, its script links included.
    void EveryControlTabReachesShowsTheFocus() {
        TestSettings settings;
        Contest c(settings);
        int reached = 0;
        c.W.List("lvFiles")->setFocus(Qt::TabFocusReason);
        QCOMPARE(ControlsWithoutVisibleFocus(reached), QStringList());
        QVERIFY(reached >= 3);

        for (int page : {TfmOptions::pgFiles, TfmOptions::pgQSO}) {
            TfmOptions options(page, &c.W.Explorer);
            options.show();
            QVERIFY(QTest::qWaitForWindowExposed(&options));
            QApplication::setActiveWindow(&options);
            QTRY_VERIFY(options.isActiveWindow());
            auto* tabs = options.findChild<QTabWidget*>();
            for (int tab = 0; tab < tabs->count(); ++tab) {
                tabs->setCurrentIndex(tab);
                tabs->tabBar()->setFocus(Qt::TabFocusReason);
                const QStringList without = ControlsWithoutVisibleFocus(reached);
                QVERIFY2(without.isEmpty(), qPrintable(without.join(u';')));
                QVERIFY(reached >= 3);
            }
        }
    }

    // Escape closes the log editor's find and replace dialogs, the find-in-list dialog and the QSO search.
    void EscapeClosesEveryFindAndReplaceDialog() {
        TestSettings settings;
        Contest c(settings);
        // The editor is modal, as the main window shows it.
        TfmEditFile editor(&c.W.Explorer);
        editor.setWindowModality(Qt::ApplicationModal);
        editor.show();
        const struct {
            const char* action;
            const char* dialog;
        } finds[] = {{"actFind", "dlgFind"}, {"actFindAndReplace", "dlgReplace"}};
        for (const auto& f : finds) {
            editor.findChild<QAction*>(QString::fromLatin1(f.action))->trigger();
            auto* dialog = editor.findChild<QDialog*>(QString::fromLatin1(f.dialog));
            QVERIFY(dialog && dialog->isVisible());
            QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("edFindText")), Qt::Key_Escape);
            QVERIFY2(!dialog->isVisible(), f.dialog);
        }
        editor.close();

        c.W.Find.Open(c.W.List("lvFiles"), QChar(u'Q'), c.W.Explorer.frameGeometry());
        QVERIFY(c.W.Find.isVisible());
        QTest::keyClick(c.W.Find.findChild<QLineEdit*>(QStringLiteral("edFindStr")), Qt::Key_Escape);
        QVERIFY(!c.W.Find.isVisible());

        TfmFindQSO search(c.W.Explorer.Contest(), &c.W.Explorer);
        test::OnNextModal([&](QWidget* modal) {
            if (modal != &search) return false;
            QTest::keyClick(search.findChild<QLineEdit*>(QStringLiteral("edCall")), Qt::Key_Escape);
            return true;
        });
        QVERIFY(!search.Execute());
        QVERIFY(!search.isVisible());
    }

    // With the main window in the far corner of its screen, the dialogs that would stand centred over it,
    // and the help window, still open whole on that screen.
    void DialogsAndTheHelpOpenWholeOnTheMainWindowsScreen() {
        TestSettings settings;
        Contest c(settings);
        Window& w = c.W;
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        w.Explorer.resize(420, 320);
        w.Explorer.move(area.right() - 300, area.bottom() - 200);
        QTRY_COMPARE(w.Explorer.pos(), QPoint(area.right() - 300, area.bottom() - 200));

        bool seen = false;
        LookAtNextModal<TfmReports>([&](TfmReports* dialog) { QVERIFY(Whole(dialog, area)); }, &seen);
        w.Action("actRepTournament")->trigger();
        QVERIFY(seen);

        seen = false;
        LookAtNextModal<TfmViewQSO>([&](TfmViewQSO* dialog) { QVERIFY(Whole(dialog, area)); }, &seen);
        w.List("lvQSODetail")->selectRow(0);
        w.Action("actViewQSO")->trigger();
        QVERIFY(seen);

        seen = false;
        LookAtNextModal<TfmAbout>([&](TfmAbout* dialog) { QVERIFY(Whole(dialog, area)); }, &seen);
        ShowAbout(&w.Explorer);
        QVERIFY(seen);

        w.Find.Open(w.List("lvFiles"), QChar(u'Q'), w.Explorer.frameGeometry());
        QVERIFY(Whole(&w.Find, area));
        w.Find.hide();

        Vars().HelpFile = Cp(QStringLiteral(ZELK_HELP_FILE));
        TZelkHelpViewer viewer;
        QApplication::setActiveWindow(&w.Explorer);
        QTRY_VERIFY(w.Explorer.isActiveWindow());
        ShowHelpTopic("about");
        QVERIFY(viewer.Window() && viewer.Window()->isVisible());
        QVERIFY(Whole(viewer.Window(), area));
        QVERIFY(settings.Boxes.Boxes.empty());
    }
};

ZELK_UI_TEST(KeyboardTest)
#include "keyboard_test.moc"
