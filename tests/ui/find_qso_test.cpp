// The QSO search window on contest folders made in temporary directories: the search and its result
// rows, the gauge, the failure cases, the window kept between uses with its stored geometry and text,
// and the main window's follow-up to a choice.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/contest.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/explorer.h"
#include "ui/find_dialog.h"
#include "ui/find_qso.h"
#include "ui/help_topic.h"
#include "ui/progress_panel.h"
#include "ui/zelk_resources.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

// Q2BB is worked by Q1AA (contacts 2 and 4, the latter as Q2BB/P) and by Q3CC as part of a longer call.
const char* kQ1AA = "CALLSIGN: Q1AA\n"
                    "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q3CC 599 015 0\n"
                    "QSO: 3510 CW 2005-02-12 1230 Q1AA 599 002 Q2BB 599 016 0\n"
                    "QSO: 7020 CW 2005-02-12 1300 Q1AA 599 003 Q4DD 599 007 0\n"
                    "QSO: 7020 CW 2005-02-12 1310 Q1AA 599 004 Q2BB/P 599 008 0\n";
const char* kQ2BB = "CALLSIGN: Q2BB\n"
                    "QSO: 3510 CW 2005-02-12 1231 Q2BB 599 016 Q1AA 599 002 0\n";
const char* kQ3CC = "CALLSIGN: Q3CC\n"
                    "QSO: 3510 CW 2005-02-12 1202 Q3CC 599 015 Q1AA 599 001 0\n"
                    "QSO: 3510 CW 2005-02-12 1203 Q3CC 599 016 XQ2BBC 599 003 0\n";
const char* kQ4DD = "CALLSIGN: Q4DD\n"
                    "QSO: 7020 CW 2005-02-12 1301 Q4DD 599 007 Q1AA 599 003 0\n";

// A contest with the logs above, listed in the order Q1AA, Q2BB, Q3CC, Q4DD.
struct Contest {
    TempFolder folder;
    TZelkContest contest;
    Contest() {
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        folder.Write("Q3CC.CBR", kQ3CC);
        folder.Write("Q4DD.CBR", kQ4DD);
        Vars().CurrentFolder = folder.Text();
        ListLogs(contest);
        contest.SortLogs(0);
    }
};

template <class T> T* Child(QWidget* w, const char* name) {
    return w->findChild<T*>(QString::fromLatin1(name));
}

QTableWidget* Results(QWidget* w) {
    return Child<QTableWidget>(w, "lvResult");
}

QStringList Row(QWidget* w, int i) {
    QTableWidget* list = Results(w);
    return i < list->rowCount() ? QStringList{list->item(i, 0)->text(), list->item(i, 1)->text()}
                                : QStringList{};
}

QString Count(QWidget* w) {
    return Child<QLabel>(w, "stPanel0")->text();
}

void Search(TfmFindQSO& w, const QString& typed) {
    auto* edit = Child<QLineEdit>(&w, "edCall");
    edit->clear();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
}

bool SameImage(const QIcon& icon, int index) {
    return icon.cacheKey() == ZelkResources().ListImages()[static_cast<size_t>(index)].cacheKey();
}

} // namespace

class FindQSOTest : public QObject {
    Q_OBJECT
  private slots:
    void SearchListsTheOwnerFirstThenTheLogsWithTheirContactNumbers() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        Search(w, QStringLiteral("q2bb"));
        QCOMPARE(Child<QLineEdit>(&w, "edCall")->text(), QStringLiteral("Q2BB"));
        QCOMPARE(Results(&w)->rowCount(), 3);
        QCOMPARE(Row(&w, 0), (QStringList{"Q2BB.CBR", "Владелец файла"}));
        QCOMPARE(Row(&w, 1), (QStringList{"Q1AA.CBR", "QSO: 2,4"}));
        QCOMPARE(Row(&w, 2), (QStringList{"Q3CC.CBR", "QSO: 2"}));
        QVERIFY(SameImage(Results(&w)->item(0, 0)->icon(), imgCallSign));
        QVERIFY(SameImage(Results(&w)->item(1, 0)->icon(), imgLog));
        QCOMPARE(Count(&w), QStringLiteral("3"));
        QCOMPARE(Results(&w)->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(Results(&w)->selectionModel()->selectedRows().first().row(), 0);
        QCOMPARE(w.SearchText(), std::string("Q2BB"));

        // "Обновить" searches again with the text in the box; a text without matches empties the list.
        Child<QLineEdit>(&w, "edCall")->setText(QStringLiteral("Q4DD"));
        Child<QAction>(&w, "Refresh")->trigger();
        QCOMPARE(Results(&w)->rowCount(), 2);
        QCOMPARE(Row(&w, 1), (QStringList{"Q1AA.CBR", "QSO: 3"}));
        Search(w, QStringLiteral("Q9"));
        QCOMPARE(Results(&w)->rowCount(), 0);
        QCOMPARE(Count(&w), QStringLiteral("0"));
    }

    void TheGaugeReplacesTheResultsWhileTheLogsAreRead() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        w.show();
        auto* stack = Child<QStackedWidget>(&w, "paPanels");
        auto* gauge = Child<QProgressBar>(&w, "gaProgress");
        QWidget* during = nullptr;
        int maximum = -1;
        // The search lets the window repaint, so a zero timer runs in the middle of it.
        QTimer::singleShot(0, &w, [&] {
            during = stack->currentWidget();
            maximum = gauge->maximum();
        });
        Search(w, QStringLiteral("Q1AA"));
        QCOMPARE(during, Child<QWidget>(&w, "paProgress"));
        QCOMPARE(maximum, 3);
        QCOMPARE(gauge->value(), 3);
        QCOMPARE(stack->currentWidget(), Child<QWidget>(&w, "paResult"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        // The gauge with its count and "Отмена" stays in the vertical middle of its panel.
        auto* progress = Child<QWidget>(&w, "paProgress");
        auto* pass = Child<QWidget>(&w, "paPassProgress");
        QVERIFY(pass->isAncestorOf(gauge));
        stack->setCurrentWidget(progress);
        pass->show();
        progress->layout()->activate();
        QVERIFY(qAbs(pass->y() - (progress->height() - pass->height()) / 2) <= 1);
    }

    // "Отмена" in the progress panel, or closing the window, stops the search after the log in hand: the
    // rows found so far stay and the status bar says how far it got; the window stays open.
    void StoppingTheSearchKeepsTheRowsFoundSoFar() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        w.show();
        auto* panel = Child<TProgressPanel>(&w, "paPassProgress");
        for (const char* how : {"button", "close"}) {
            const auto connection = connect(panel, &TProgressPanel::Advanced, this, [&](int done) {
                if (done != 2) return;
                if (QByteArray(how) == "button")
                    QTest::mouseClick(panel->CancelButton(), Qt::LeftButton);
                else
                    w.close();
            });
            Search(w, QStringLiteral("Q1AA"));
            disconnect(connection);
            QVERIFY2(w.isVisible(), how);
            QCOMPARE(Results(&w)->rowCount(), 2);
            QCOMPARE(Row(&w, 0), (QStringList{"Q1AA.CBR", "Владелец файла"}));
            QCOMPARE(Row(&w, 1), (QStringList{"Q2BB.CBR", "QSO: 1"}));
            QCOMPARE(Count(&w), QStringLiteral("2"));
            QCOMPARE(w.Message(), QStringLiteral("Поиск остановлен (просмотрено 2 из 4)"));
            QCOMPARE(Child<QStackedWidget>(&w, "paPanels")->currentWidget(), Child<QWidget>(&w, "paResult"));
        }
        QVERIFY(settings.Boxes.Boxes.empty());
        // The next search goes through and clears the note.
        Search(w, QStringLiteral("Q1AA"));
        QCOMPARE(Results(&w)->rowCount(), 4);
        QCOMPARE(w.Message(), QString());
    }

    void AnEmptySearchTextAsksForOneAndSearchesNothing() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        Search(w, QStringLiteral("Q2BB"));
        settings.Boxes.Boxes.clear();
        Search(w, QStringLiteral("   "));
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("info"));
        QCOMPARE(settings.Boxes.Boxes[0].Caption, std::string("Не задано условие поиска"));
        QCOMPARE(settings.Boxes.Boxes[0].Text, std::string("Введите подстроку для поиска"));
        // The previous results and the text handed over stay as they were.
        QCOMPARE(Results(&w)->rowCount(), 3);
        QCOMPARE(w.SearchText(), std::string("Q2BB"));
    }

    void AnUnreadableLogEndsTheSearchWithAnErrorAndKeepsTheRowsFoundBeforeIt() {
        TestSettings settings;
        Contest c;
        // /proc/self/mem opens like a regular file and fails on reading (even for root).
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), c.folder.Path() + QStringLiteral("/Q3ZZ.CBR")));
        ListLogs(c.contest);
        c.contest.SortLogs(0);
        TfmFindQSO w(c.contest);
        Search(w, QStringLiteral("Q1AA"));
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        // The logs read before the unreadable one keep their rows, and the count says so.
        QCOMPARE(Results(&w)->rowCount(), 3);
        QCOMPARE(Row(&w, 0), (QStringList{"Q1AA.CBR", "Владелец файла"}));
        QCOMPARE(Row(&w, 1), (QStringList{"Q2BB.CBR", "QSO: 1"}));
        QCOMPARE(Row(&w, 2), (QStringList{"Q3CC.CBR", "QSO: 1"}));
        QCOMPARE(Count(&w), QStringLiteral("3"));
        QVERIFY(Results(&w)->updatesEnabled());
        QCOMPARE(Child<QStackedWidget>(&w, "paPanels")->currentWidget(), Child<QWidget>(&w, "paResult"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void NewSearchEmptiesTheListAndTheText() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Search(w, QStringLiteral("Q2BB"));
        QCOMPARE(Child<QAction>(&w, "NewSearch")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(Results(&w)->rowCount(), 0);
        QVERIFY(Child<QLineEdit>(&w, "edCall")->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(&w, "edCall"));
    }

    void EnterOnARowChoosesItAndWithoutARowKeepsTheWindowOpen() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        bool chosen = false;
        test::OnNextModal([&](QWidget* modal) {
            if (modal != &w) return false;
            Search(w, QStringLiteral("Q9ZZ"));
            QTest::keyClick(Results(&w), Qt::Key_Return); // nothing to choose: stays open
            if (!w.isVisible()) return true;
            Search(w, QStringLiteral("Q2BB"));
            Results(&w)->selectRow(2);
            QTest::keyClick(Results(&w), Qt::Key_Return);
            return true;
        });
        chosen = w.Execute();
        QVERIFY(chosen);
        QCOMPARE(w.ChosenFileName(), std::string("Q3CC.CBR"));
        QCOMPARE(w.SearchText(), std::string("Q2BB"));

        // A double-click chooses as well.
        test::OnNextModal([&](QWidget* modal) {
            if (modal != &w) return false;
            QTableWidget* list = Results(&w);
            const QRect at = list->visualItemRect(list->item(1, 1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at.center());
            return true;
        });
        QVERIFY(w.Execute());
        QCOMPARE(w.ChosenFileName(), std::string("Q1AA.CBR"));
    }

    void ClosingWithoutAChoiceKeepsTheRowsTextAndGeometryForTheNextOpening() {
        TestSettings settings;
        Contest c;
        TfmFindQSO w(c.contest);
        QCOMPARE(w.size(), QSize(318, 313));
        QCOMPARE(w.minimumSize(), QSize(200, 200));
        for (const char* how : {"close box", "escape", "menu"}) {
            test::OnNextModal([&](QWidget* modal) {
                if (modal != &w) return false;
                Search(w, QStringLiteral("Q2BB"));
                w.move(70, 80);
                w.resize(400, 350);
                QTest::keyClicks(Child<QLineEdit>(&w, "edCall"), QStringLiteral("/p"));
                if (QByteArray(how) == "close box")
                    w.close();
                else if (QByteArray(how) == "escape")
                    QTest::keyClick(Child<QLineEdit>(&w, "edCall"), Qt::Key_Escape);
                else
                    Child<QAction>(&w, "Close")->trigger();
                return true;
            });
            QVERIFY2(!w.Execute(), how);
            QVERIFY2(w.ChosenFileName().empty(), how);
            QVERIFY(!w.isVisible());
            QCOMPARE(Results(&w)->rowCount(), 3);
            QCOMPARE(Vars().WFindQSOCall, std::string("Q2BB/P"));
            QCOMPARE(Vars().WFindQSOLeft, 70);
            QCOMPARE(Vars().WFindQSOTop, 80);
            QCOMPARE(Vars().WFindQSOWidth, 400);
            QCOMPARE(Vars().WFindQSOHeight, 350);
        }
        QCOMPARE(Child<QAction>(&w, "Close")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));

        // The next opening shows the old rows and text where the window was left.
        QStringList seen;
        test::OnNextModal([&](QWidget* modal) {
            if (modal != &w) return false;
            seen << Row(&w, 0) << Child<QLineEdit>(&w, "edCall")->text();
            seen << QString::number(w.x()) << QString::number(w.width());
            w.reject();
            return true;
        });
        w.Execute();
        QCOMPARE(seen, (QStringList{"Q2BB.CBR", "Владелец файла", "Q2BB/P", "70", "400"}));
    }

    void StoredGeometryAndTextComeBackAfterARestartAndZerosKeepTheDesign() {
        TestSettings settings;
        Contest c;
        Vars().WFindQSOLeft = 30;
        Vars().WFindQSOTop = 40;
        Vars().WFindQSOWidth = 500;
        Vars().WFindQSOHeight = 420;
        Vars().WFindQSOCall = "Q1AA";
        Vars().SaveSettings();
        settings.Restart();
        Vars().LoadSettings();
        {
            TfmFindQSO w(c.contest);
            QCOMPARE(w.pos(), QPoint(30, 40));
            QCOMPARE(w.size(), QSize(500, 420));
            QCOMPARE(Child<QLineEdit>(&w, "edCall")->text(), QStringLiteral("Q1AA"));
        }
        Vars().WFindQSOWidth = 0;
        Vars().WFindQSOHeight = 0;
        Vars().WFindQSOLeft = 0;
        TfmFindQSO w(c.contest);
        QCOMPARE(w.size(), QSize(318, 313));
        QCOMPARE(w.y(), 40);
    }

    // Over the main window, whose own F1 shows the program's topic, F1 in the search shows the search's.
    void F1ShowsTheSearchHelpTopic() {
        TestSettings settings;
        std::vector<std::string> pages;
        const THelpViewer previous =
            SetHelpViewer([&](const std::string&, const std::string& topic) { pages.push_back(topic); });
        TfmExplorer explorer;
        Vars().HelpFile = settings.Exe.Write(QStringLiteral("help.chm"), "help");
        explorer.show();
        QVERIFY(QTest::qWaitForWindowActive(&explorer));
        test::OnNextModal([](QWidget* modal) {
            if (!qobject_cast<TfmFindQSO*>(modal) || !modal->isActiveWindow()) return false;
            QTest::keyClick(Child<QLineEdit>(modal, "edCall"), Qt::Key_F1);
            modal->close();
            return true;
        });
        explorer.findChild<QAction*>(QStringLiteral("actFindQSO"))->trigger();
        SetHelpViewer(previous);
        QCOMPARE(pages, std::vector<std::string>{"findqso.htm"});
    }

    void TheMainWindowSelectsTheChosenLogAndItsFirstMatchingContact() {
        TestSettings settings;
        Contest c;
        TfmExplorer explorer;
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.OpenFolder(c.folder.Text());
        explorer.findChild<QAction*>(QStringLiteral("actSortByN"))->trigger();
        auto* files = explorer.findChild<QTableView*>(QStringLiteral("lvFiles"));
        files->setCurrentIndex(files->model()->index(3, 0));
        explorer.LoadSelected();
        QAction* find = explorer.findChild<QAction*>(QStringLiteral("actFindQSO"));
        QVERIFY(find->isEnabled());

        // Closing without a choice changes nothing.
        test::OnNextModal([](QWidget* modal) {
            if (!qobject_cast<TfmFindQSO*>(modal)) return false;
            Search(*static_cast<TfmFindQSO*>(modal), QStringLiteral("Q2BB"));
            modal->close();
            return true;
        });
        find->trigger();
        QCOMPARE(explorer.Contest().SelectedLog, 3);
        QVERIFY(explorer.Contest().PendingSearchText.empty());

        // Choosing Q1AA loads it with its first Q2BB contact selected.
        test::OnNextModal([](QWidget* modal) {
            auto* w = qobject_cast<TfmFindQSO*>(modal);
            if (!w) return false;
            Results(w)->selectRow(1);
            QTest::keyClick(Results(w), Qt::Key_Return);
            return true;
        });
        find->trigger();
        QCOMPARE(explorer.Contest().SelectedLog, 0);
        QCOMPARE(files->selectionModel()->selectedRows().first().data().toString(),
                 QStringLiteral("Q1AA.CBR"));
        auto* qsos = explorer.findChild<QTableView*>(QStringLiteral("lvQSODetail"));
        QCOMPARE(qsos->model()->rowCount(), 4);
        QCOMPARE(qsos->currentIndex().row(), 1);
        QCOMPARE(explorer.focusWidget(), static_cast<QWidget*>(qsos));
        QVERIFY(explorer.Contest().PendingSearchText.empty());

        // The owner's own log holds no contact with itself: the text stays pending for the next load.
        test::OnNextModal([](QWidget* modal) {
            auto* w = qobject_cast<TfmFindQSO*>(modal);
            if (!w) return false;
            QTest::keyClick(Results(w), Qt::Key_Home, Qt::ControlModifier);
            QTest::keyClick(Results(w), Qt::Key_Return);
            return true;
        });
        find->trigger();
        QCOMPARE(files->selectionModel()->selectedRows().first().data().toString(),
                 QStringLiteral("Q2BB.CBR"));
        QCOMPARE(explorer.Contest().PendingSearchText, std::string("Q2BB"));
        QCOMPARE(qsos->model()->rowCount(), 1);
    }

    void AChosenLogThatLeftTheListChangesNothing() {
        TestSettings settings;
        Contest c;
        TfmExplorer explorer;
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.OpenFolder(c.folder.Text());
        QAction* find = explorer.findChild<QAction*>(QStringLiteral("actFindQSO"));
        test::OnNextModal([](QWidget* modal) {
            auto* w = qobject_cast<TfmFindQSO*>(modal);
            if (!w) return false;
            Search(*w, QStringLiteral("Q2BB"));
            w->reject();
            return true;
        });
        find->trigger();
        // The results survive a change of folder; their logs are no longer listed.
        TempFolder other;
        other.Write("Q7GG.CBR", "CALLSIGN: Q7GG\n");
        explorer.OpenFolder(other.Text());
        test::OnNextModal([](QWidget* modal) {
            auto* w = qobject_cast<TfmFindQSO*>(modal);
            if (!w) return false;
            QTest::keyClick(Results(w), Qt::Key_Return);
            return true;
        });
        find->trigger();
        QCOMPARE(explorer.Contest().SelectedLog, 0);
        QVERIFY(explorer.Contest().PendingSearchText.empty());
    }
};

ZELK_UI_TEST(FindQSOTest)
#include "find_qso_test.moc"
