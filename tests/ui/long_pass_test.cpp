// The main window's long passes over the logs ("Проверить все файлы", the count of the stations without a
// log): "n из N" with a bar and "Отмена", a window that lives and holds back other input meanwhile, a
// stop between two logs that leaves the results coherent and says so, and a close that asks first.
#include "explorer_fixture.h"
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "settings/global_vars.h"
#include "ui/progress_panel.h"

#include <QApplication>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>

#include <functional>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;
using Window = zelk::test::ExplorerWindow;

namespace {

// Five logs that work each other in a ring; Q1AA also works Q9ZZ, who sent no log.
void WriteRing(const TempFolder& folder) {
    const char* calls[] = {"Q1AA", "Q2BB", "Q3CC", "Q4DD", "Q5EE"};
    for (int i = 0; i < 5; ++i) {
        const std::string own = calls[i], next = calls[(i + 1) % 5], before = calls[(i + 4) % 5];
        std::string log = "CALLSIGN: " + own + "\n";
        log += "QSO: 3510 CW 2005-02-12 1201 " + own + " 599 001 " + next + " 599 002 0\n";
        log += "QSO: 3510 CW 2005-02-12 1202 " + own + " 599 002 " + before + " 599 001 0\n";
        if (i == 0) log += "QSO: 7020 CW 2005-02-12 1300 Q1AA 599 003 Q9ZZ 599 007 0\n";
        folder.Write(QString::fromStdString(own + ".CBR"), log);
    }
}

// Runs `act` with the window's pass each time it has handled a log (and once at its start).
struct PassWatch {
    TProgressPanel* Panel;
    QStringList Counts;
    QMetaObject::Connection Connection;
    PassWatch(Window& w, std::function<void(int done)> act)
        : Panel(w.Child<TProgressPanel>("paPassProgress")) {
        Connection = QObject::connect(Panel, &TProgressPanel::Advanced, Panel, [this, act](int done) {
            Counts << Panel->CountLabel()->text();
            act(done);
        });
    }
    ~PassWatch() { QObject::disconnect(Connection); }
    void Cancel() { QTest::mouseClick(Panel->CancelButton(), Qt::LeftButton); }
};

QStringList Totals(Window& w) {
    QStringList totals;
    for (int row = 0; row < 5; ++row)
        totals << w.Cell("lvFiles", row, 3);
    return totals;
}

// A window on the ring, sorted by file name, with nothing running.
void OpenRing(Window& w, const TempFolder& folder) {
    w.ShowAndWait();
    w.Explorer.OpenFolder(folder.Text());
    w.Explorer.Contest().SortLogs(0);
    w.Explorer.RebuildList();
}

} // namespace

class LongPassTest : public QObject {
    Q_OBJECT
  private slots:
    // "Отмена" stops the run after the log in hand: those scored keep their new cells, the others show
    // "-" even where an earlier run had left results, and the status bar says how far it got. No error
    // box; the next run goes through.
    void StoppingTheContestWideCheckKeepsTheLogsScoredSoFar() {
        TestSettings settings;
        TempFolder folder;
        WriteRing(folder);
        Window w;
        OpenRing(w, folder);
        w.Action("actCalcAllFiles")->trigger();
        const QStringList full = Totals(w);
        QVERIFY(!full.contains(QStringLiteral("-")));
        QCOMPARE(w.Explorer.Message(), QStringLiteral("Проверены все файлы: 5"));

        w.Explorer.Contest().SortLogs(0);
        {
            // Each log's row shows its new cells as soon as the log is scored.
            QStringList shownDuringRun;
            const auto shown =
                QObject::connect(w.List("lvFiles")->model(), &QAbstractItemModel::dataChanged, &w.Explorer,
                                 [&](const QModelIndex& from, const QModelIndex& to) {
                                     if (from.row() == to.row())
                                         shownDuringRun << from.siblingAtColumn(3).data().toString();
                                 });
            PassWatch watch(w, [&](int done) {
                QVERIFY(watch.Panel->isVisible());
                QVERIFY(watch.Panel->CancelButton()->isVisible());
                if (done == 2) {
                    QCOMPARE(shownDuringRun, (QStringList{full[0], full[1]}));
                    watch.Cancel();
                }
            });
            w.Action("actCalcAllFiles")->trigger();
            QObject::disconnect(shown);
            QCOMPARE(watch.Counts, (QStringList{"0 из 5", "1 из 5", "2 из 5"}));
            QVERIFY(!watch.Panel->isVisible());
        }
        QCOMPARE(Totals(w), (QStringList{full[0], full[1], "-", "-", "-"}));
        QCOMPARE(w.Explorer.Message(),
                 QStringLiteral("Проверка всех файлов остановлена: проверено 2 из 5, у остальных «-»"));
        QVERIFY(settings.Boxes.Boxes.empty());
        QVERIFY(QApplication::overrideCursor() == nullptr);

        w.Action("actCalcAllFiles")->trigger();
        QCOMPARE(Totals(w), full);
    }

    // Between two logs the window repaints and follows a new size; clicks and keys meant for it are held
    // back, except on "Отмена", and Escape stops the run as "Отмена" does.
    void TheWindowLivesAndHoldsBackInputDuringARun() {
        TestSettings settings;
        TempFolder folder;
        WriteRing(folder);
        Window w;
        OpenRing(w, folder);
        const int selected = w.Explorer.Contest().SelectedLog;
        QTableView* files = w.List("lvFiles");
        const QSize resized = w.Explorer.size() + QSize(60, 40);
        int paints = 0;
        struct PaintCounter : QObject {
            int& Count;
            explicit PaintCounter(int& count) : Count(count) {}
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint) ++Count;
                return false;
            }
        } counter(paints);
        files->viewport()->installEventFilter(&counter);
        int paintsAtStart = -1;
        int widthAfterResize = -1;
        PassWatch watch(w, [&](int done) {
            if (done == 0) {
                paintsAtStart = paints;
                QTest::keyClick(files, Qt::Key_Down);
                QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                                  files->visualRect(files->model()->index(4, 0)).center());
                w.Explorer.resize(resized);
            } else if (done == 2) {
                widthAfterResize = w.Explorer.centralWidget()->width();
                QTest::keyClick(files, Qt::Key_Escape);
            }
        });
        w.Action("actCalcAllFiles")->trigger();
        QCOMPARE(watch.Panel->Done(), 2);
        QCOMPARE(widthAfterResize, resized.width());
        QVERIFY(paints > paintsAtStart);
        QCOMPARE(w.Explorer.Contest().SelectedLog, selected);
        QCOMPARE(files->selectionModel()->selectedRows().value(0).row(), selected);
        QVERIFY(settings.Boxes.Boxes.empty());
    }

    // Closing the window during a run asks first: No lets the run finish and the window stay; Yes stops
    // the run and closes the window once it has stopped.
    void ClosingDuringARunAsksFirst() {
        TestSettings settings;
        TempFolder folder;
        WriteRing(folder);
        for (const bool yes : {false, true}) {
            Window w;
            OpenRing(w, folder);
            settings.Boxes.Boxes.clear();
            settings.Boxes.Answer = yes;
            PassWatch watch(w, [&](int done) {
                if (done == 1) w.Explorer.close();
            });
            w.Action("actCalcAllFiles")->trigger();
            QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
            QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("ask"));
            QCOMPARE(settings.Boxes.Boxes[0].Text,
                     std::string("Файлы ещё проверяются. Остановить работу и закрыть программу?"));
            QCOMPARE(watch.Panel->Done(), yes ? 1 : 5);
            if (yes)
                QTRY_VERIFY(!w.Explorer.isVisible());
            else
                QVERIFY(w.Explorer.isVisible());
        }
    }

    // A count of the stations without a log stopped during the listing is no count: the log list and the
    // log loaded last are shown, and the next check counts again first, so that a contact with a station
    // that sent no log gets the conditional credit it is due.
    void AStoppedAbsentCountIsMadeBeforeTheNextCheck() {
        TestSettings settings;
        TempFolder folder;
        WriteRing(folder);
        Vars().NoFileIncludeResults = true;
        Vars().NoFileMinMentionCount = 1;
        Vars().QLastCall = "Q1AA.CBR";
        Window w;
        w.ShowAndWait();
        {
            PassWatch watch(w, [&](int done) {
                if (done == 1) watch.Cancel();
            });
            w.Explorer.OpenFolder(folder.Text());
            QCOMPARE(watch.Panel->Done(), 1);
        }
        QVERIFY(w.Explorer.Contest().NoFileCalls.empty());
        QCOMPARE(w.Explorer.Message(),
                 QStringLiteral("Подсчёт станций без отчёта остановлен (1 из 5): он будет "
                                "сделан заново перед проверкой"));
        QCOMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA  "));
        QVERIFY(settings.Boxes.Boxes.empty());

        QStringList counts;
        {
            PassWatch watch(w, [](int) {});
            w.Action("actCalcQSO")->trigger();
            counts = watch.Counts;
        }
        QCOMPARE(counts.value(0), QStringLiteral("0 из 5"));
        QCOMPARE(counts.size(), 6);
        QCOMPARE(w.Cell("lvQSODetail", 2, 9), QStringLiteral("условно зачет; "));
    }
};

ZELK_UI_TEST(LongPassTest)
#include "long_pass_test.moc"
