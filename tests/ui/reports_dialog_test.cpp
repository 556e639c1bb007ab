// The report dialog and the main window's report commands: the choice of report and its memory, the
// parameters, the preparation of each report's data (standings, absent logs) and the layouts they load.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/contest.h"
#include "logs/error.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/explorer.h"
#include "ui/explorer_reports.h"
#include "ui/find_dialog.h"
#include "ui/qt_text.h"
#include "ui/report/fr_designer.h"
#include "ui/progress_panel.h"
#include "ui/reports_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

const char* kQ1AA = "CALLSIGN: Q1AA\n"
                    "NAME: Иван\n"
                    "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n"
                    "QSO: 3510 CW 2005-02-12 1230 Q1AA 599 002 Q9ZZ 599 016 0\n";
const char* kQ2BB = "CALLSIGN: Q2BB\n"
                    "QSO: 3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0\n"
                    "QSO: 3510 CW 2005-02-12 1240 Q2BB 599 016 Q9ZZ 599 007 0\n";
const char* kQ3CC = "CALLSIGN: Q3CC\n"
                    "QSO: 3510 CW 2005-02-12 1250 Q3CC 599 001 Q8YY 599 009 0\n";

// Closes every modal window other than the report dialog (the engine's preview and designer) while it
// lives, and counts them.
class TEngineWindowCloser {
  public:
    TEngineWindowCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || qobject_cast<TfmReports*>(modal)) return;
            ++Closed;
            modal->close();
        });
        timer_.start(10);
    }
    int Closed = 0;

  private:
    QTimer timer_;
};

// Counts the times a widget is shown.
class TShowCounter : public QObject {
  public:
    explicit TShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int Shown = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++Shown;
        return false;
    }
};

// A contest opened without a window, with the main window's report components, and a dialog on it.
struct DialogOnContest {
    TZelkContest Contest;
    TExplorerReports Reports{Contest};
    TfmReports Dialog{Reports, Contest};

    explicit DialogOnContest(const std::string& folder) {
        Vars().CurrentFolder = folder;
        ListLogs(Contest);
        Contest.SortLogs(0);
    }
    template <class T> T* Child(const char* name) { return Dialog.findChild<T*>(QString::fromLatin1(name)); }
    QComboBox* Report() { return Child<QComboBox>("cbReport"); }
    QWidget* Page() { return Child<QStackedWidget>("nbReportParameters")->currentWidget(); }
    QCheckBox* RecalcAll() { return Child<QCheckBox>("cbRecalcAll"); }
    std::string Order() const {
        std::string order;
        for (const auto& row : Contest.Logs)
            order += row.Caption.substr(0, 4) + ":" + row.Cell(2) + " ";
        return order;
    }
};

struct Window {
    TfmExplorer Explorer;
    TfmFind Find{&Explorer};
    Window() { Explorer.SetFindDialog(&Find); }
    QAction* Action(const char* name) { return Explorer.findChild<QAction*>(QString::fromLatin1(name)); }
};

} // namespace

class ReportsDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void ControlsCarryTheirNamesAndCaptions() {
        TestSettings settings;
        TempFolder folder;
        DialogOnContest d(folder.Text());
        QCOMPARE(d.Dialog.windowTitle(), QStringLiteral("Формирование отчёта"));
        QStringList entries;
        for (int i = 0; i < d.Report()->count(); ++i)
            entries << d.Report()->itemText(i);
        QCOMPARE(entries, (QStringList{"Список присланных файлов", "Список отсутствующих файлов",
                                       "Турнирная таблица", "Турнирная таблица по категориям",
                                       "Отчёт о проверке выбранного файла"}));
        QCOMPARE(d.Report()->currentIndex(), -1);
        QCOMPARE(d.RecalcAll()->text(), QStringLiteral("Пересчитать результаты всех участников"));
        QVERIFY(d.Child<QWidget>("paPassProgress")->isAncestorOf(d.Child<QProgressBar>("pbProgress")));
        QVERIFY(!d.Child<QWidget>("paPassProgress")->isVisibleTo(&d.Dialog));
        QVERIFY(d.Child<QWidget>("np_Tournament")->isAncestorOf(d.RecalcAll()));
        QCOMPARE(d.Child<QPushButton>("btnPreview")->text(), QStringLiteral("&Просмотр/Печатать"));
        QCOMPARE(d.Child<QPushButton>("btnCancel")->text(), QStringLiteral("Закрыть"));
        QList<QString> items;
        for (QAction* a : d.Child<QMenu>("pmRepOut")->actions())
            items << a->objectName() + "=" + a->text();
        QCOMPARE(items,
                 (QList<QString>{"piRepPrint=Просмотр / Печать отчёта", "piRepDesign=Дизайнер отчёта"}));
    }

    void StoredKindSelectsTheEntryAndItsPage() {
        TestSettings settings;
        TempFolder folder;
        struct Case {
            int kind, entry, stored;
            const char* page;
        } cases[] = {{0, -1, 0, "np_NoParam"}, {1, -1, 0, "np_NoParam"}, {2, 2, 2, "np_Tournament"},
                     {3, 0, 3, "np_NoParam"},  {4, -1, 0, "np_NoParam"}, {5, 1, 5, "np_NoParam"}};
        for (const auto& c : cases) {
            DialogOnContest d(folder.Text());
            Vars().QLastReport = 9;
            d.Dialog.SelectKind(c.kind);
            QCOMPARE(d.Report()->currentIndex(), c.entry);
            QCOMPARE(int(Vars().QLastReport), c.stored);
            QCOMPARE(d.Page()->objectName(), QString::fromLatin1(c.page));
        }
        // A kind the dialog does not offer keeps the selection of a dialog that has one.
        DialogOnContest d(folder.Text());
        d.Dialog.SelectKind(5);
        d.Dialog.SelectKind(4);
        QCOMPARE(d.Report()->currentIndex(), 1);
        // The judge's choice is remembered and shows its page.
        d.Report()->setCurrentIndex(2);
        QCOMPARE(int(Vars().QLastReport), 2);
        QCOMPARE(d.Page()->objectName(), QStringLiteral("np_Tournament"));
    }

    void TheCheckBoxFollowsRecalcAllAndClosingKeepsIt() {
        TestSettings settings;
        TempFolder folder;
        QVERIFY(Vars().RecalcAll);
        for (const char* how : {"button", "escape", "close"}) {
            DialogOnContest d(folder.Text());
            d.Dialog.SelectKind(2);
            QVERIFY(d.RecalcAll()->isChecked());
            d.RecalcAll()->setChecked(false);
            d.Dialog.show();
            if (QByteArray(how) == "button")
                d.Child<QPushButton>("btnCancel")->click();
            else if (QByteArray(how) == "escape")
                QTest::keyClick(&d.Dialog, Qt::Key_Escape);
            else
                d.Dialog.close();
            QVERIFY2(!Vars().RecalcAll, how);
            QVERIFY2(!d.Dialog.isVisible(), how);
            Vars().RecalcAll = true;
        }
        DialogOnContest d(folder.Text());
        Vars().RecalcAll = false;
        d.Dialog.SelectKind(2);
        QVERIFY(!d.RecalcAll()->isChecked());
    }

    void PlacedCentredOverTheMainWindow() {
        struct Case {
            QRect main;
            QSize dialog;
            QPoint at;
        } cases[] = {
            {{100, 50, 700, 500}, {300, 200}, {300, 200}},
            {{0, 0, 200, 100}, {300, 200}, {0, 0}},       // larger than the window: the window's corner
            {{40, 30, 200, 100}, {300, 200}, {40, 30}},   // both would be negative
            {{10, 300, 100, 100}, {300, 200}, {10, 250}}, // only the left would be negative
        };
        for (const auto& c : cases)
            QCOMPARE(TfmReports::PlaceOver(c.main, c.dialog), c.at);
    }

    void NothingSelectedPreviewsNothing() {
        TestSettings settings;
        TempFolder folder;
        folder.Write("Q1AA.CBR", kQ1AA);
        DialogOnContest d(folder.Text());
        d.Dialog.SelectKind(4);
        TEngineWindowCloser closer;
        d.Child<QPushButton>("btnPreview")->click();
        d.Dialog.findChild<QAction*>(QStringLiteral("piRepDesign"))->trigger();
        QTest::qWait(50);
        QCOMPARE(closer.Closed, 0);
        QCOMPARE(int(Vars().QLastReport), 0);
    }

    void StandingsWithoutRecalculationOnlySort() {
        TestSettings settings;
        TempFolder folder;
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        folder.Write("Q3CC.CBR", kQ3CC);
        DialogOnContest d(folder.Text());
        d.Contest.Logs[0].SetCell(2, "5");
        d.Contest.Logs[2].SetCell(2, "40");
        d.Dialog.SelectKind(2);
        d.RecalcAll()->setChecked(false);
        QSignalSpy changed(&d.Dialog, &TfmReports::LogListChanged);
        TEngineWindowCloser closer;
        d.Child<QPushButton>("btnPreview")->click();
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!Vars().RecalcAll);
        QCOMPARE(d.Order(), std::string("Q3CC:40 Q1AA:5 Q2BB:- "));

        d.RecalcAll()->setChecked(true);
        d.Child<QPushButton>("btnPreview")->click();
        QCOMPARE(closer.Closed, 2);
        QVERIFY(Vars().RecalcAll);
        // Q1AA and Q2BB confirm each other's first contact; the rest have no log to match.
        QCOMPARE(d.Order(), std::string("Q1AA:1 Q2BB:1 Q3CC:0 "));
    }

    void StandingsEndedByAnErrorStillShowTheRowsScoredSoFar() {
        TestSettings settings;
        TempFolder folder, scripts;
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        folder.Write("Q3CC.CBR", kQ3CC);
        // Q3CC, scored last, earns nothing, and its total cannot be read as a number.
        scripts.Write("CalcTotal.txt",
                      "begin if Score = 0 then Result := 'x' else Result := Score * Multi end");
        SetScriptFolder(scripts.Text());
        ResetScripts();
        DialogOnContest d(folder.Text());
        d.Dialog.SelectKind(2);
        d.RecalcAll()->setChecked(true);
        QSignalSpy changed(&d.Dialog, &TfmReports::LogListChanged);
        TEngineWindowCloser closer;
        bool failed = false;
        try {
            d.Dialog.RunReport(false);
        } catch (const TZelkError&) {
            failed = true;
        }
        SetScriptFolder("");
        ResetScripts();
        QVERIFY(failed);
        QCOMPARE(closer.Closed, 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(d.Order(), std::string("Q1AA:1 Q2BB:1 Q3CC:- "));
    }

    // The standings' scoring shows its progress in the dialog. Stopped there ("Отмена", or closing the
    // dialog, which stops the work first), it shows no report and says so; the logs scored keep their new
    // cells and the others show "-".
    void StandingsStoppedInTheDialogShowNoReport() {
        TestSettings settings;
        TempFolder folder;
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        folder.Write("Q3CC.CBR", kQ3CC);
        DialogOnContest d(folder.Text());
        d.Contest.Logs[2].SetCell(2, "40"); // an earlier result
        d.Dialog.SelectKind(2);
        d.RecalcAll()->setChecked(true);
        d.Dialog.show();
        auto* panel = d.Child<TProgressPanel>("paPassProgress");
        for (const char* how : {"button", "close"}) {
            QSignalSpy changed(&d.Dialog, &TfmReports::LogListChanged);
            QStringList counts;
            const auto connection = connect(panel, &TProgressPanel::Advanced, this, [&](int done) {
                counts << panel->CountLabel()->text();
                if (done != 2) return;
                if (QByteArray(how) == "button")
                    QTest::mouseClick(panel->CancelButton(), Qt::LeftButton);
                else
                    d.Dialog.close();
            });
            TEngineWindowCloser closer;
            d.Child<QPushButton>("btnPreview")->click();
            disconnect(connection);
            QCOMPARE(closer.Closed, 0);
            QCOMPARE(counts, (QStringList{"0 из 3", "1 из 3", "2 из 3"}));
            QCOMPARE(changed.count(), 1);
            QCOMPARE(d.Order(), std::string("Q1AA:1 Q2BB:1 Q3CC:- "));
            QCOMPARE(d.Dialog.StoppedText(),
                     QStringLiteral("Подготовка отчёта остановлена (2 из 3): отчёт не показан"));
            QVERIFY2(d.Dialog.isVisible(), how);
            QVERIFY(!panel->isVisible());
            d.Contest.SortLogs(0);
        }
        QVERIFY(settings.Boxes.Boxes.empty());
    }

    void AbsentLogTableWithProgress() {
        TestSettings settings;
        TempFolder folder;
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        folder.Write("Q3CC.CBR", kQ3CC);
        Vars().NoFileMinMentionCount = 1;
        DialogOnContest d(folder.Text());
        d.Dialog.SelectKind(5);
        auto* bar = d.Child<QProgressBar>("pbProgress");
        TShowCounter shown(d.Child<TProgressPanel>("paPassProgress"));
        d.Dialog.show();
        TEngineWindowCloser closer;
        d.Dialog.findChild<QAction*>(QStringLiteral("piRepPrint"))->trigger();
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(shown.Shown, 1);
        QVERIFY(!bar->isVisible());
        QCOMPARE(bar->maximum(), 2);
        QCOMPARE(bar->value(), 2);

        rep::TfrMemoryTable& table = d.Dialog.NoFileTable();
        QCOMPARE(table.RecordCount(), 2);
        QStringList rows;
        for (table.First(); !table.Eof(); table.Next()) {
            ScriptValue call, count;
            QVERIFY(table.FieldValue("CALLSIGN", call));
            QVERIFY(table.FieldValue("cnt", count));
            QCOMPARE(count.Kind(), TValueKind::Integer);
            rows << QString::fromStdString(call.AsText() + "=" + count.AsText());
        }
        QCOMPARE(rows, (QStringList{"Q8YY=1", "Q9ZZ=2"}));
        // The log list is left as it was.
        QCOMPARE(d.Order(), std::string("Q1AA:- Q2BB:- Q3CC:- "));
    }

    void AbsentLogTableOfAnEmptyFolderShowsNoProgress() {
        TestSettings settings;
        TempFolder folder;
        DialogOnContest d(folder.Text());
        d.Dialog.NoFileTable().Close();
        d.Dialog.SelectKind(5);
        TShowCounter shown(d.Child<TProgressPanel>("paPassProgress"));
        d.Dialog.show();
        TEngineWindowCloser closer;
        d.Dialog.RunReport(false);
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(shown.Shown, 0);
        QCOMPARE(d.Dialog.NoFileTable().RecordCount(), 0);
        d.Dialog.NoFileTable().First();
        QVERIFY(d.Dialog.NoFileTable().Eof());
    }

    void MainWindowCommandsOpenTheDialogOnTheirReport() {
        TestSettings settings;
        TempFolder folder;
        Window w;
        w.Explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.Explorer));
        for (const char* name : {"actPrint", "actDesign", "actPrintCalcReport", "actDesignCalcReport",
                                 "actRepOut", "actRepFilesExists", "actRepNoFile", "actRepTournament"})
            QVERIFY2(w.Action(name)->isEnabled(), name);
        QList<QAction*> dropDown;
        for (QAction* a : w.Explorer.findChild<QMenu*>(QStringLiteral("pmRepDropDown"))->actions())
            if (!a->isSeparator()) dropDown << a;
        QCOMPARE(dropDown, (QList<QAction*>{w.Action("actRepFilesExists"), w.Action("actRepNoFile"),
                                            w.Action("actRepTournament")}));
        QCOMPARE(w.Explorer.findChild<QToolButton*>(QStringLiteral("tbRepOut"))->defaultAction(),
                 w.Action("actRepOut"));

        struct Case {
            const char* action;
            int lastReport, entry;
        } cases[] = {{"actRepFilesExists", 5, 0}, {"actRepNoFile", 2, 1}, {"actRepTournament", 0, 2},
                     {"actRepOut", 5, 1},         {"actRepOut", 2, 2},    {"actRepOut", 4, -1}};
        for (const auto& c : cases) {
            Vars().QLastReport = static_cast<std::uint8_t>(c.lastReport);
            int entry = -9;
            QRect where;
            test::OnNextModal([&](QWidget* modal) {
                auto* dialog = qobject_cast<TfmReports*>(modal);
                if (!dialog) return false;
                entry = dialog->findChild<QComboBox*>(QStringLiteral("cbReport"))->currentIndex();
                where = dialog->frameGeometry();
                dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
                return true;
            });
            w.Action(c.action)->trigger();
            QCOMPARE(entry, c.entry);
            // Centred over the main window; before the dialog is first shown its frame is not known yet.
            QVERIFY(qAbs(where.center().x() - w.Explorer.frameGeometry().center().x()) <= 4);
            QVERIFY(qAbs(where.center().y() - w.Explorer.frameGeometry().center().y()) <= 16);
            QVERIFY(!QApplication::activeModalWidget());
        }
        QCOMPARE(int(Vars().QLastReport), 0);
    }

    void DesignersOfTheMainWindowSaveToTheLayoutFile() {
        TestSettings settings;
        TempFolder folder;
        Window w;
        TEngineWindowCloser closer;
        w.Action("actDesign")->trigger();
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(w.Explorer.Reports().frFilesList.FileName(),
                 QString::fromStdString(ToUtf8(Vars().ReportLayoutFile(rkFilesExists))));
        w.Action("actDesignCalcReport")->trigger();
        QCOMPARE(closer.Closed, 2);
        QVERIFY(w.Explorer.Reports().frCalc.FileName().endsWith(QStringLiteral("reports/QSOCalc.frf")));
    }

    void DesignersOfAnInstalledProgramSaveChangedLayoutsToTheUsersFolder() {
        TestSettings settings;
        QVERIFY(QDir().mkpath(settings.Data.Path() + QStringLiteral("/reports")));
        for (const QString& name : {QStringLiteral("FilesExists.frf"), QStringLiteral("Tournament.frf")})
            QVERIFY(QFile::copy(QStringLiteral(ZELK_SOURCE_DIR "/reports/") + name,
                                settings.Data.Path() + QStringLiteral("/reports/") + name));
        settings.RestartInstalled();
        const auto saveInDesigner = [] {
            test::OnNextModal([](QWidget* modal) {
                auto* designer = qobject_cast<rep::TfrDesignerForm*>(modal);
                if (!designer) return false;
                designer->findChild<QAction*>(QStringLiteral("actSave"))->trigger();
                designer->close();
                return true;
            });
        };
        const QString own = settings.User.Path() + QStringLiteral("/reports/");
        const QString data = settings.Data.Path() + QStringLiteral("/reports/");

        Window w;
        saveInDesigner();
        w.Action("actDesign")->trigger();
        QVERIFY(QFile::exists(own + QStringLiteral("FilesExists.frf")));
        QCOMPARE(Qs(Vars().ReportLayoutFile(rkFilesExists)), own + QStringLiteral("FilesExists.frf"));

        // The dialog's designer keeps the file the layout came from, which for the data's is the user's copy.
        TempFolder folder;
        DialogOnContest d(folder.Text());
        d.Dialog.SelectKind(2);
        saveInDesigner();
        d.Dialog.RunReport(true);
        QVERIFY(QFile::exists(own + QStringLiteral("Tournament.frf")));
        QVERIFY(settings.Boxes.Boxes.empty());
        QCOMPARE(QDir(data).entryList(QDir::Files), (QStringList{"FilesExists.frf", "Tournament.frf"}));
        QVERIFY(!settings.Exe.Exists(QStringLiteral("reports")));
    }

    void PrintingTheCheckReportChecksTheSelectedLogFirst() {
        TestSettings settings;
        TempFolder folder;
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        Window w;
        w.Explorer.OpenFolder(folder.Text());
        QVERIFY(w.Explorer.Contest().SelectLogByName("Q1AA"));
        w.Explorer.LoadSelected();
        QCOMPARE(w.Explorer.Contest().QSOs[1].Cell(7), std::string("-"));
        TEngineWindowCloser closer;
        w.Action("actPrintCalcReport")->trigger();
        QCOMPARE(closer.Closed, 1);
        QCOMPARE(w.Explorer.Contest().QSOs[0].Cell(7), std::string("1"));
        QCOMPARE(w.Explorer.Contest().QSOs[1].Cell(8), "нет файла; "_cp);
        const auto selected = static_cast<size_t>(w.Explorer.Contest().SelectedLog);
        QCOMPARE(w.Explorer.Contest().Logs[selected].Cell(2), std::string("1"));

        // Without a selected log the command does nothing.
        w.Explorer.Contest().SelectedLog = -1;
        w.Action("actPrintCalcReport")->trigger();
        QCOMPARE(closer.Closed, 1);
    }
};

ZELK_UI_TEST(ReportsDialogTest)
#include "reports_dialog_test.moc"
