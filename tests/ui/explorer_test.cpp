// The main window on contest folders made in temporary directories: listing, selection and delayed
// loading, sorting, deleting, the splitters and status panels, the stored geometry and column widths,
// commands and keys, and errors that leave the window usable.
#include "explorer_fixture.h"
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/file_io.h"
#include "logs/list_rows.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/delete_dialog.h"
#include "ui/edit_file.h"
#include "ui/explorer.h"
#include "ui/find_dialog.h"
#include "ui/progress_panel.h"
#include "ui/report_view.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

const char* kQ1AA = "START-OF-LOG: 3.0\n"
                    "CALLSIGN: Q1AA\n"
                    "NAME: Иван\n"
                    "CLUB: Клуб\n"
                    "X-QTH: Москва\n"
                    "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n"
                    "QSO: 3510 CW 2005-02-12 1230 Q1AA 599 002 Q2BB 599 016 0\n"
                    "QSO: 7020 CW 2005-02-12 1300 Q1AA 599 003 Q3CC 599 007 0\n"
                    "END-OF-LOG:\n";
const char* kQ2BB = "START-OF-LOG: 3.0\n"
                    "CALLSIGN: Q2BB\n"
                    "QSO: 3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0\n"
                    "QSO: 3510 CW 2005-02-12 1231 Q2BB 599 016 Q1AA 599 002 0\n";
const char* kNoCall = "NAME: Nobody\n"
                      "QSO: 3510 CW 2005-02-12 1203 Q5EE 599 001 Q1AA 599 009 0\n";

using Window = test::ExplorerWindow;

} // namespace

class ExplorerTest : public QObject {
    Q_OBJECT

    // Each test's world, made anew by init() and dropped by cleanup(): fresh settings, a contest folder
    // and, once the test asks for it, the main window.
    std::optional<TestSettings> settings;
    std::optional<TempFolder> contest;
    std::unique_ptr<Window> window;

    using TLogs = std::initializer_list<std::pair<const char*, const char*>>;

    // Logs written into the contest folder: file name and UTF-8 text.
    void WriteLogs(TLogs logs) {
        for (const auto& [name, text] : logs)
            contest->Write(QString::fromUtf8(name), text);
    }
    // The main window as the program makes it; shown (with its first listing done) when `show` is set.
    Window& Make(bool show = true) {
        window.reset();
        window = std::make_unique<Window>();
        if (show) window->ShowAndWait();
        return *window;
    }
    // The logs written, the window shown empty, then the contest folder opened in it.
    Window& Open(TLogs logs) {
        WriteLogs(logs);
        Window& w = Make();
        w.Explorer.OpenFolder(contest->Text());
        return w;
    }
    // The logs written and the program started with the contest folder in its settings and `lastCall`
    // as the log loaded last.
    Window& Start(const char* lastCall, TLogs logs) {
        WriteLogs(logs);
        settings->Exe.Write(QStringLiteral("zelk.ini"), "[Settings]\nCurrentFolder=" + contest->Text() +
                                                            "\nQLastCall=" + std::string(lastCall) + "\n");
        return Make();
    }

  private slots:
    void init() {
        TfmIfDelete::AnimationMs = 30;
        settings.emplace();
        contest.emplace();
    }
    void cleanup() {
        window.reset();
        contest.reset();
        settings.reset();
    }

    void CommandsHaveTheirCaptionsKeysAndAvailability() {
        Window& w = Make(false);
        struct Case {
            const char* name;
            QString caption, hint;
            QKeySequence key;
            bool enabled;
        };
        const Case cases[] = {
            {"actOpen", "Открыть папку соревнования...", "", QKeySequence(Qt::CTRL | Qt::Key_O), true},
            {"actFilesRefresh", "Обновить список файлов", "", {}, true},
            {"actCalcAllFiles", "Проверить все файлы", "", QKeySequence(Qt::CTRL | Qt::Key_F9), true},
            {"actFindQSO", "Найти связи", "", QKeySequence(Qt::CTRL | Qt::Key_F), true},
            {"actExit", "Закрыть", "Выход", QKeySequence(Qt::CTRL | Qt::Key_F4), true},
            {"actFilesEdit", "&Редактировать файл", "", {}, true},
            {"actFilesDelete", "&Удалить файл", "", {}, true},
            {"actRefresh", "Обновить", "Перечитать текущий файл", {}, true},
            {"actCalcQSO", "Проверить все записи", "", QKeySequence(Qt::Key_F9), true},
            {"actViewQSO", "Свойства", "", {}, true},
            {"actSaveCalcReport", "Создать файл отчёта", "", QKeySequence(Qt::CTRL | Qt::Key_R), true},
            {"actPrintCalcReport", "Печатать отчёт", "", {}, true},
            {"actDesignCalcReport", "Дизайнер отчёта", "", {}, true},
            {"actPrint", "Печатать список", "", {}, true},
            {"actDesign", "Дизайнер отчёта", "", {}, true},
            {"actRepOut", "Отчёт", "", {}, true},
            {"actRepFilesExists", "Присланные файлы", "", {}, true},
            {"actRepNoFile", "Отсутствующие файлы", "", {}, true},
            {"actRepTournament", "Турнирная таблица", "", {}, true},
            {"actFilesOptions", "Параметры...", "", {}, true},
            {"actQSOOptions", "Настройки...", "", {}, true},
            {"actSortByN", "по позывным", "", {}, true},
            {"actSortByS", "по количеству очков", "", {}, true},
        };
        for (const auto& c : cases) {
            QAction* a = w.Action(c.name);
            QVERIFY2(a, c.name);
            QCOMPARE(a->text(), c.caption);
            // A tool bar button tells the key as the menus do.
            const QString hint = c.hint.isEmpty() ? QString(c.caption).remove(u'&') : c.hint;
            QCOMPARE(a->toolTip(), c.key.isEmpty() ? hint
                                                   : QStringLiteral("%1 (%2)").arg(
                                                         hint, c.key.toString(QKeySequence::NativeText)));
            QCOMPARE(a->shortcut(), c.key);
            QVERIFY2(a->isEnabled() == c.enabled, c.name);
            QVERIFY2(!a->icon().isNull(), c.name);
        }
        QList<QString> menus;
        for (QAction* m : w.Explorer.menuBar()->actions())
            menus << m->text();
        QCOMPARE(menus, (QList<QString>{"&Данные", "&Правка", "&Отчёты", "С&ервис", "&Справка"}));
        auto* help = w.Explorer.findChild<QMenu*>(QStringLiteral("mnHelp"));
        QCOMPARE(help->actions()[0]->text(), QStringLiteral("Вызов справки"));
        QCOMPARE(help->actions()[0]->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(help->actions()[2]->text(), QStringLiteral("О программе..."));
    }

    void PopupMenusHaveTheirDefaultItems() {
        Window& w = Make(false);
        QCOMPARE(w.Child<QMenu>("pmFiles")->defaultAction(), w.Action("actFilesEdit"));
        QCOMPARE(w.Child<QMenu>("pmQSOHeader")->defaultAction(), w.Action("actFilesEdit"));
        QCOMPARE(w.Child<QMenu>("pmQSODetail")->defaultAction(), w.Action("actViewQSO"));
        const QList<QAction*> sort = w.Child<QMenu>("pmSort")->actions();
        QCOMPARE(sort, (QList<QAction*>{w.Action("actSortByN"), w.Action("actSortByS")}));
    }

    void OpeningAFolderListsItsLogsAndLoadsOne() {
        WriteLogs({{"q1aa.cbr", kQ1AA},
                   {"Q2BB.CBR", kQ2BB},
                   {"nocall.cbr", kNoCall},
                   {"notes.txt", "CALLSIGN: Q9ZZ\n"}});
        Window& w = Make();
        QCOMPARE(w.Panel(0), QStringLiteral(" *.CBR"));
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 0);

        w.Explorer.OpenFolder(contest->Text());
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 3);
        QCOMPARE(w.Panel(0), QStringLiteral(" 3 file(s)"));
        const int q1 = w.RowOf("Q1AA.CBR");
        QVERIFY(q1 >= 0);
        QCOMPARE(w.Cell("lvFiles", q1, 1), QStringLiteral("-"));
        QCOMPARE(w.Image("lvFiles", w.RowOf("NOCALL.CBR")), int(imgLogNoCall));
        QCOMPARE(w.Image("lvFiles", q1), int(imgLog));
        QVERIFY(!w.List("lvFiles")->model()->index(q1, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        // The UBN folder follows the contest folder while it names no existing folder.
        QCOMPARE(Vars().CurrentUBNFolder, contest->Text());

        w.SelectRow(q1);
        w.Explorer.LoadSelected();
        QCOMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
        QCOMPARE(w.Panel(1), QStringLiteral(" QSO Record(s) : 3"));
        QCOMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QCOMPARE(w.Cell("lvQSODetail", 0, 0), QStringLiteral("1"));
        QCOMPARE(w.Cell("lvQSODetail", 0, 5), QStringLiteral("Q2BB"));
        QCOMPARE(w.Cell("lvQSODetail", 0, 8), QStringLiteral("-"));
        QCOMPARE(w.Image("lvQSODetail", 0), int(imgQSOUnchecked));
        QCOMPARE(w.Cell("lvQSOHeader", 4, 0), QStringLiteral("X-QTH:"));
        QCOMPARE(w.Cell("lvQSOHeader", 4, 1), QStringLiteral("Москва"));
        QCOMPARE(w.Cell("lvQSOHeader", 4, 2), QStringLiteral("неизвестный тэг"));
        QCOMPARE(w.Image("lvQSOHeader", 4), int(imgBadTag));
        QCOMPARE(w.Image("lvQSOHeader", 1), int(imgCallSign));
        QCOMPARE(w.Image("lvQSOHeader", 2), int(imgTag));
        QCOMPARE(w.List("lvQSODetail")->model()->headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Date (y-m-d)"));
    }

    // A log whose file name does not give its callsign and whose QSO lines are separated by tabs: marked in
    // the log list, its problems (each naming the setting that helps) shown above its tags when loaded.
    void LogsWithProblemsAreMarkedAndTheirProblemsShownWithTheHeader() {
        WriteLogs({{"Q1AA.CBR", kQ1AA},
                   {"Q2BB_p.CBR", "CALLSIGN: Q2BB/P\n"
                                  "QSO:\t3510\tCW\t2005-02-12\t1201\tQ2BB\t599\t015\tQ1AA\t599\t001\t0\n"}});
        Window& w = Make();
        w.Explorer.OpenFolder(contest->Text());
        const int q1 = w.RowOf("Q1AA.CBR"), q2 = w.RowOf("Q2BB_P.CBR");
        QCOMPARE(w.Image("lvFiles", q1), int(imgLog));
        QCOMPARE(w.Image("lvFiles", q2), int(imgLogProblem));
        const auto icon = [&](const char* list, int row) {
            return w.List(list)->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>();
        };
        QVERIFY(!icon("lvFiles", q2).isNull());
        QVERIFY(icon("lvFiles", q2).cacheKey() != icon("lvFiles", q1).cacheKey());

        w.SelectRow(q2);
        w.Explorer.LoadSelected();
        const int tags = static_cast<int>(w.Explorer.Contest().Header.size());
        QCOMPARE(w.List("lvQSOHeader")->model()->rowCount(), tags + 2);
        QCOMPARE(w.Cell("lvQSOHeader", 0, 0), QStringLiteral("Проблема"));
        QVERIFY(w.Cell("lvQSOHeader", 0, 2).endsWith(QStringLiteral("поможет FindLogByCallSign=1")));
        QVERIFY(w.Cell("lvQSOHeader", 1, 2).endsWith(QStringLiteral("поможет QSOSplitTabs=1")));
        QCOMPARE(w.Cell("lvQSOHeader", 2, 0), QStringLiteral("CALLSIGN:"));
        QVERIFY(!icon("lvQSOHeader", 0).isNull());

        // A log without problems shows only its tags.
        w.SelectRow(q1);
        w.Explorer.LoadSelected();
        QCOMPARE(w.List("lvQSOHeader")->model()->rowCount(),
                 static_cast<int>(w.Explorer.Contest().Header.size()));
        // With the settings that help, the window looks again and the marks go.
        contest->Write(QStringLiteral("zelk.ini"), "[Settings]\nFindLogByCallSign=1\nQSOSplitTabs=1\n");
        w.Action("actFilesRefresh")->trigger();
        QTRY_COMPARE(w.Image("lvFiles", w.RowOf("Q2BB_P.CBR")), int(imgLog));
    }

    void ChoosingAFolderListsItAndAMissingOneIsCreatedOnConsent() {
        TempFolder parent;
        WriteLogs({{"Q1AA.CBR", kQ1AA}});
        Window& w = Make();
        const std::string missing = parent.Text() + "/new";
        struct Case {
            const char* what;
            std::string typed; // empty: the dialog is cancelled
            bool consent;
            std::string folder; // CurrentFolder afterwards
            bool created;
            const char* files;
        };
        const Case cases[] = {
            {"existing", contest->Text(), true, contest->Text(), false, " 1 file(s)"},
            {"missing, refused", missing, false, contest->Text(), false, " 1 file(s)"},
            {"cancelled", "", true, contest->Text(), false, " 1 file(s)"},
            {"missing, created", missing, true, missing, true, " *.CBR"},
        };
        for (const Case& c : cases) {
            settings->Boxes.Boxes.clear();
            settings->Boxes.Answer = c.consent;
            QString title;
            bool handled = false;
            test::OnNextModal(
                [&](QWidget* modal) {
                    auto* dialog = qobject_cast<QFileDialog*>(modal);
                    if (!dialog || dialog->objectName() != QStringLiteral("dlgFolder")) return false;
                    title = dialog->windowTitle();
                    if (c.typed.empty()) {
                        dialog->reject();
                    } else {
                        // Typed into the name box; done() passes over the dialog's own check that
                        // the folder exists, so that the window's own question is reached.
                        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                            ->setText(QString::fromStdString(ToUtf8(c.typed)));
                        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
                    }
                    return true;
                },
                &handled);
            w.Action("actOpen")->trigger();
            QVERIFY2(handled, c.what);
            QCOMPARE(title, QStringLiteral("Открыть папку соревнования..."));
            QVERIFY2(Vars().CurrentFolder == c.folder, c.what);
            QVERIFY2(QDir(QString::fromStdString(ToUtf8(missing))).exists() == c.created, c.what);
            QVERIFY2(w.Panel(0) == QString::fromLatin1(c.files), c.what);
            const bool asked = c.typed == missing;
            QVERIFY2(settings->Boxes.Boxes.size() == (asked ? 1u : 0u), c.what);
            if (asked)
                QCOMPARE(settings->Boxes.Boxes[0].Text,
                         std::string("The specified directory does not exist. Create it?"));
        }
    }

    void FirstShowSelectsTheLogLoadedLastAndLoadsIt() {
        Window& w = Start("Q2BB.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q2BB  "));
        const QModelIndexList selected = w.List("lvFiles")->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected[0].data().toString(), QStringLiteral("Q2BB.CBR"));
        QCOMPARE(w.Panel(1), QStringLiteral(" QSO Record(s) : 2"));
    }

    void ACommandLineFolderOpensAtStart() {
        WriteLogs({{"Q1AA.CBR", kQ1AA}});
        Window& w = Make(false);
        w.Explorer.SetStartFolder(contest->Text());
        w.ShowAndWait();
        QTRY_COMPARE(w.Panel(0), QStringLiteral(" 1 file(s)"));
        QCOMPARE(Vars().CurrentFolder, contest->Text());
        QCOMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
    }

    void TwoQuickSelectionChangesLoadOnlyTheSecond() {
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}, {"Q5EE.CBR", kNoCall}});
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
        auto* timer = w.Child<QTimer>("tmrFileSelect");
        QTRY_VERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), 500);
        QVERIFY(timer->isSingleShot());

        QSignalSpy loads(w.List("lvQSOHeader")->model(), &QAbstractItemModel::modelReset);
        w.SelectRow(w.RowOf("Q2BB.CBR"));
        QTest::qWait(150);
        w.SelectRow(w.RowOf("Q5EE.CBR"));
        QVERIFY(timer->isActive());
        QTest::qWait(300);
        QCOMPARE(loads.count(), 0);
        QTRY_COMPARE(loads.count(), 1);
        QTest::qWait(600);
        QCOMPARE(loads.count(), 1);
        QCOMPARE(w.HeaderCaption(), QStringLiteral(" Q5EE.CBR Nobody "));
        QCOMPARE(w.Cell("lvQSOHeader", 0, 2), QStringLiteral("нет обязательного тэга"));
        QCOMPARE(w.Image("lvQSOHeader", 0), int(imgTagMissing));
    }

    void SortingByColumnAndCommands() {
        Window& w = Open(
            {{"Q3CC.CBR", "CALLSIGN: X\n"}, {"q1aa.cbr", "CALLSIGN: X\n"}, {"Q2BB.CBR", "CALLSIGN: X\n"}});
        auto& logs = w.Explorer.Contest().Logs;
        logs[static_cast<size_t>(w.RowOf("Q1AA.CBR"))].SetCell(2, "12");
        logs[static_cast<size_t>(w.RowOf("Q2BB.CBR"))].SetCell(2, "-");
        logs[static_cast<size_t>(w.RowOf("Q3CC.CBR"))].SetCell(2, "30");
        w.SelectRow(w.RowOf("Q2BB.CBR"));

        w.Action("actSortByS")->trigger();
        QCOMPARE(w.Explorer.Contest().SortColumn, 3);
        QCOMPARE(w.Cell("lvFiles", 0, 0), QStringLiteral("Q3CC.CBR"));
        QCOMPARE(w.Cell("lvFiles", 1, 0), QStringLiteral("Q1AA.CBR"));
        QCOMPARE(w.Cell("lvFiles", 2, 0), QStringLiteral("Q2BB.CBR"));
        // The selection stays on the same log.
        QCOMPARE(w.List("lvFiles")->selectionModel()->selectedRows().first().data().toString(),
                 QStringLiteral("Q2BB.CBR"));

        w.Action("actSortByN")->trigger();
        QCOMPARE(w.Explorer.Contest().SortColumn, 0);
        QCOMPARE(w.Cell("lvFiles", 0, 0), QStringLiteral("Q1AA.CBR"));
        QCOMPARE(w.Cell("lvFiles", 2, 0), QStringLiteral("Q3CC.CBR"));

        QHeaderView* header = w.List("lvFiles")->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(3) + 5, header->height() / 2));
        QCOMPARE(w.Explorer.Contest().SortColumn, 3);
        QCOMPARE(w.Cell("lvFiles", 0, 0), QStringLiteral("Q3CC.CBR"));
    }

    void RefreshingTheListPutsDashesBack() {
        Window& w = Open({{"Q1AA.CBR", kQ1AA}});
        w.Explorer.Contest().Logs[0].SetCell(0, "7");
        contest->Write("Q2BB.CBR", kQ2BB);
        w.Action("actFilesRefresh")->trigger();
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 2);
        QCOMPARE(w.Cell("lvFiles", w.RowOf("Q1AA.CBR"), 1), QStringLiteral("-"));
        QCOMPARE(w.Panel(0), QStringLiteral(" 2 file(s)"));
    }

    void DeletingAfterConfirmationRemovesFileAndRow() {
        Window& w = Open({{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        const int row = w.RowOf("Q1AA.CBR");
        w.SelectRow(row);

        // Earlier runs of the tests may have left logs of this name in the trash.
        const QString trashFiles = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files");
        const QStringList before = QDir(trashFiles).entryList(QDir::Files);
        bool asked = false;
        QString text, heading, title, fate;
        test::OnNextModal(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<TfmIfDelete*>(modal);
                if (!dialog) return false;
                text = dialog->findChild<QLabel*>(QStringLiteral("lbText"))->text();
                fate = dialog->findChild<QLabel*>(QStringLiteral("lbFate"))->text();
                heading = dialog->findChild<QLabel*>(QStringLiteral("lbHeading"))->text();
                title = dialog->windowTitle();
                dialog->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
                return true;
            },
            &asked);
        QTest::keyClick(w.List("lvFiles"), Qt::Key_Delete);
        QVERIFY(asked);
        QCOMPARE(heading, QStringLiteral("Удалить файл ?"));
        QCOMPARE(title, QStringLiteral("Подтверждение удаления"));
        QCOMPARE(text, QString::fromStdString(ToUtf8(contest->File("Q1AA.CBR"))));
        QCOMPARE(fate, QStringLiteral("Файл будет перемещён в корзину."));
        QVERIFY(!contest->Exists("Q1AA.CBR"));
        QStringList added = QDir(trashFiles).entryList(QDir::Files);
        for (const QString& name : before)
            added.removeOne(name);
        QCOMPARE(added.size(), 1);
        const QString trashedName = added.first();
        // It went to the desktop's trash (the tests' own, under their temporary data folder), whence the
        // judge can take it back.
        const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash");
        QVERIFY(trash.startsWith(QDir::tempPath()));
        QFile trashed(trash + QStringLiteral("/files/") + trashedName);
        QVERIFY(trashed.open(QIODevice::ReadOnly));
        QCOMPARE(trashed.readAll().toStdString(), FromUtf8(kQ1AA));
        QVERIFY(QFile::exists(trash + QStringLiteral("/info/") + trashedName + QStringLiteral(".trashinfo")));
        QCOMPARE(w.Explorer.Message(), QStringLiteral("Файл перемещён в корзину: %1")
                                           .arg(QString::fromStdString(ToUtf8(contest->File("Q1AA.CBR")))));
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 1);
        QCOMPARE(w.Panel(0), QStringLiteral(" 1 file(s)"));
        // The remaining row takes the selection and loads after the delay.
        QCOMPARE(w.Explorer.Contest().SelectedLog, 0);
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q2BB  "));

        // Deleting the last log leaves the mask in the status panel.
        test::OnNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TfmIfDelete*>(modal);
            if (dialog) dialog->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
            return dialog != nullptr;
        });
        w.Action("actFilesDelete")->trigger();
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 0);
        QCOMPARE(w.Panel(0), QStringLiteral(" *.CBR"));
        // The deleted log is no longer shown on the right either.
        QCOMPARE(w.List("lvQSOHeader")->model()->rowCount(), 0);
        QCOMPARE(w.List("lvQSODetail")->model()->rowCount(), 0);
        QCOMPARE(w.HeaderCaption(), QString());
        QCOMPARE(w.Panel(1), QString());
    }

    // Where the file has no trash to go to (here: the user's data folder is missing), the question says
    // so, and the file is deleted for good.
    void WithoutATrashTheQuestionSaysTheFileIsDeletedForGood() {
        TempFolder data;
        contest->Write("Q1AA.CBR", kQ1AA);
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.Path() + QStringLiteral("/missing")));
        Window& w = Make();
        w.Explorer.OpenFolder(contest->Text());
        w.SelectRow(0);
        QString fate;
        bool asked = false;
        test::OnNextModal(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<TfmIfDelete*>(modal);
                if (!dialog) return false;
                fate = dialog->findChild<QLabel*>(QStringLiteral("lbFate"))->text();
                dialog->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
                return true;
            },
            &asked);
        w.Action("actFilesDelete")->trigger();
        qputenv("XDG_DATA_HOME", dataHome);
        QVERIFY(asked);
        QCOMPARE(fate, QStringLiteral("Корзины нет: файл будет удалён навсегда."));
        QVERIFY(!contest->Exists("Q1AA.CBR"));
        QCOMPARE(QDir(data.Path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        QCOMPARE(QDir(QDir::currentPath())
                     .entryList({QStringLiteral("Q1AA.CBR*")}, QDir::AllEntries | QDir::Hidden, QDir::Name),
                 QStringList());
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 0);
        QCOMPARE(
            w.Explorer.Message(),
            QStringLiteral("Файл удалён: %1").arg(QString::fromStdString(ToUtf8(contest->File("Q1AA.CBR")))));
        QVERIFY(settings->Boxes.Boxes.empty());
    }

    // The log checking report goes beside the UBN reports without a question and leaves the lists alone.
    void LogCheckingReportIsWrittenBesideTheUBNReports() {
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        QVERIFY(w.Child<QMenu>("pmQSODetail")->actions().contains(w.Action("actSaveLCRReport")));
        w.Action("actSaveLCRReport")->trigger();
        QVERIFY(QFile::exists(QString::fromStdString(ToUtf8(contest->File("Q1AA.LCR")))));
        QCOMPARE(w.Explorer.Message(), QStringLiteral("Записан отчёт о проверке журнала: %1")
                                           .arg(QString::fromStdString(ToUtf8(contest->File("Q1AA.LCR")))));
        QVERIFY(settings->Boxes.Boxes.empty());
    }

    void AFolderWithoutLogsShowsNoLogOfTheFolderBefore() {
        TempFolder empty;
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        w.Action("actCalcQSO")->trigger();
        QCOMPARE(w.Panel(2), QStringLiteral(" SCORE/MULTI/CLAIMED"));

        w.Explorer.OpenFolder(empty.Text());
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 0);
        QCOMPARE(w.Panel(0), QStringLiteral(" *.CBR"));
        QCOMPARE(w.List("lvQSOHeader")->model()->rowCount(), 0);
        QCOMPARE(w.List("lvQSODetail")->model()->rowCount(), 0);
        QCOMPARE(w.HeaderCaption(), QString());
        for (int panel = 1; panel < 7; ++panel)
            QVERIFY2(w.Panel(panel).isEmpty(), qPrintable(w.Panel(panel)));
        QCOMPARE(w.Explorer.Contest().Current.CallSign, std::string());

        // Back in the contest folder, its log is listed and loaded again.
        w.Explorer.OpenFolder(contest->Text());
        QCOMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QCOMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
    }

    // The empty log list says what to do: open a folder when none is open, change the mask when the
    // folder holds files but no logs; an empty folder needs no advice.
    void AnEmptyLogListSaysHowToFillIt() {
        TempFolder other, empty;
        other.Write("notes.txt", "nothing");
        Window& w = Make();
        TReportView* files = w.View("lvFiles");
        QCOMPARE(files->EmptyText(),
                 QStringLiteral("Откройте папку соревнования: Данные → Открыть папку (Ctrl+O)"));
        const QImage withHint = files->viewport()->grab().toImage();
        w.Explorer.OpenFolder(other.Text());
        QCOMPARE(files->EmptyText(),
                 QStringLiteral("В папке нет файлов по маске *.CBR: измените маску в настройках"));
        Vars().FilesMask = "*.LOG";
        w.Explorer.RebuildList();
        QCOMPARE(files->EmptyText(),
                 QStringLiteral("В папке нет файлов по маске *.LOG: измените маску в настройках"));
        w.Explorer.OpenFolder(empty.Text());
        QCOMPARE(files->EmptyText(), QString());
        QVERIFY(files->viewport()->grab().toImage() != withHint);
        w.Explorer.OpenFolder(empty.Text() + "/gone");
        QCOMPARE(files->EmptyText(),
                 QStringLiteral("Откройте папку соревнования: Данные → Открыть папку (Ctrl+O)"));
    }

    void RefusingTheDeletionKeepsTheFile() {
        Window& w = Open({{"Q1AA.CBR", kQ1AA}});
        w.SelectRow(0);
        for (const char* how : {"button", "escape", "close"}) {
            bool asked = false;
            test::OnNextModal(
                [how](QWidget* modal) {
                    auto* dialog = qobject_cast<TfmIfDelete*>(modal);
                    if (!dialog) return false;
                    if (QByteArray(how) == "button")
                        dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
                    else if (QByteArray(how) == "escape")
                        QTest::keyClick(dialog, Qt::Key_Escape);
                    else
                        dialog->close();
                    return true;
                },
                &asked);
            w.Action("actFilesDelete")->trigger();
            QVERIFY2(asked, how);
            QVERIFY2(contest->Exists("Q1AA.CBR"), how);
            QCOMPARE(w.List("lvFiles")->model()->rowCount(), 1);
        }
    }

    void AnUnreadableLogGivesAnErrorBoxAndTheWindowStaysUsable() {
        // /proc/self/mem opens like a regular file and fails on reading (even for root).
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), contest->Path() + QStringLiteral("/Q9ZZ.CBR")));
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}});
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        settings->Boxes.Boxes.clear();

        w.SelectRow(w.RowOf("Q9ZZ.CBR"));
        QTRY_COMPARE(settings->Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings->Boxes.Boxes[0].Kind, std::string("error"));
        QVERIFY(settings->Boxes.Boxes[0].Text.find("Q9ZZ.CBR") != std::string::npos);
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QCOMPARE(w.List("lvQSODetail")->model()->rowCount(), 0);
        w.SelectRow(w.RowOf("Q1AA.CBR"));
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QCOMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
    }

    void GeometrySplitsAndColumnWidthsSurviveARestart() {
        QRect geometry;
        {
            Window& w = Make();
            w.Explorer.move(40, 60);
            w.Explorer.resize(900, 600);
            QTest::qWait(20);
            auto* main = w.Child<QSplitter>("splMain");
            main->setSizes({300, main->width() - 300});
            auto* log = w.Child<QSplitter>("splLog");
            log->setSizes({170, log->height() - 170});
            w.List("lvFiles")->setColumnWidth(0, 140);
            w.List("lvQSODetail")->setColumnWidth(8, 222);
            w.List("lvQSOHeader")->setColumnWidth(1, 111);
            geometry = QRect(w.Explorer.pos(), w.Explorer.size());
            w.Explorer.close();
        }
        window.reset();
        QCOMPARE(Vars().WExSplit, 300);
        QCOMPARE(Vars().WExHdrHeight, 170);
        settings->Restart();
        Window& w = Make();
        QCOMPARE(QRect(w.Explorer.pos(), w.Explorer.size()), geometry);
        QCOMPARE(w.Child<QWidget>("paLeft")->width(), 300);
        QCOMPARE(w.List("lvQSOHeader")->height(), 170);
        QCOMPARE(w.List("lvFiles")->columnWidth(0), 140);
        QCOMPARE(w.List("lvQSODetail")->columnWidth(8), 222);
        QCOMPARE(w.List("lvQSOHeader")->columnWidth(1), 111);
        // Columns the judge did not size still fit their contents.
        QCOMPARE(w.List("lvFiles")->columnWidth(1), w.View("lvFiles")->ContentWidth(1));
    }

    void FirstStartOpensOnFourFifthsOfTheScreenInItsMiddle() {
        Window& w = Make();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(w.Explorer.size(), QSize(area.width() * 4 / 5, area.height() * 4 / 5));
        // Centred as far as the window frame, unknown before the window is shown, allows.
        const QRect frame = w.Explorer.frameGeometry();
        const QPoint slack(frame.width() - w.Explorer.width() + 1, frame.height() - w.Explorer.height() + 1);
        QVERIFY(qAbs(frame.center().x() - area.center().x()) <= slack.x());
        QVERIFY(qAbs(frame.center().y() - area.center().y()) <= slack.y());
        QCOMPARE(w.Child<QWidget>("paLeft")->width(), 250);
        QCOMPARE(w.List("lvQSOHeader")->height(), 130);
        QCOMPARE(w.Explorer.windowTitle(), QStringLiteral("Zelkon"));
        QCOMPARE(Vars().HelpFile, Vars().AppFolder() + "/help/help.chm");
    }

    void AStoredPositionOffTheScreensComesBack() {
        Vars().WExLeft = 50000;
        Vars().WExTop = 40000;
        Window& w = Make();
        QVERIFY(QGuiApplication::screenAt(w.Explorer.frameGeometry().center()) != nullptr);
    }

    void AWidthThatIsNotANumberIsReportedAndTheOthersStay() {
        Vars().SaveColumnWidths({25, 80}, "lvQSODetail");
        settings->Boxes.Boxes.clear();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk"))
            .setValue(QStringLiteral("lvQSODetail"), QStringLiteral("33,x,44"));
        Window& w = Make(false);
        QCOMPARE(w.List("lvQSODetail")->columnWidth(0), 33);
        for (int column : {1, 2})
            QCOMPARE(w.List("lvQSODetail")->columnWidth(column), w.View("lvQSODetail")->ContentWidth(column));
        QCOMPARE(settings->Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings->Boxes.Boxes[0].Kind, std::string("error"));
    }

    void TheLeftPanelSnapsTo125AndStatusPanelZeroFollows() {
        Window& w = Make();
        auto* main = w.Child<QSplitter>("splMain");
        main->setSizes({60, main->width() - 60});
        QTRY_COMPARE(w.Child<QWidget>("paLeft")->width(), 125);
        QTRY_COMPARE(w.Child<QLabel>("stPanel0")->width(), 125);
        main->setSizes({280, main->width() - 280});
        QTRY_COMPARE(w.Child<QLabel>("stPanel0")->width(), 280);
        auto* log = w.Child<QSplitter>("splLog");
        log->setSizes({10, log->height() - 10});
        QTRY_COMPARE(w.List("lvQSOHeader")->height(), 50);
        const int widths[] = {150, 150, 50, 50, 50, 50};
        for (int i = 1; i < 7; ++i)
            QCOMPARE(w.Child<QLabel>(QStringLiteral("stPanel%1").arg(i).toLatin1().constData())->width(),
                     widths[i - 1]);
    }

    void TypingALetterOpensTheFindDialogAndPunctuationDoesNot() {
        Window& w = Open({{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTableView* files = w.List("lvFiles");
        files->setFocus();
        QTest::keyClicks(files, QStringLiteral(","));
        QVERIFY(!w.Find.isVisible());
        QKeyEvent cyrillic(QEvent::KeyPress, 0x0416, Qt::NoModifier, QStringLiteral("ж"));
        QApplication::sendEvent(files, &cyrillic);
        QVERIFY(w.Find.isVisible());
        QCOMPARE(w.Find.findChild<QLineEdit*>(QStringLiteral("edFindStr"))->text(), QStringLiteral("Ж"));
        w.Find.reject();

        QTest::keyClicks(files, QStringLiteral("q"));
        QVERIFY(w.Find.isVisible());
        auto* edit = w.Find.findChild<QLineEdit*>(QStringLiteral("edFindStr"));
        QCOMPARE(edit->text(), QStringLiteral("Q"));
        QCOMPARE(edit->cursorPosition(), 1);
        QTest::keyClicks(edit, QStringLiteral("2b"));
        QCOMPARE(edit->text(), QStringLiteral("Q2B"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(w.Find.findChild<QLabel*>(QStringLiteral("lbFoundCount"))->text(), QStringLiteral("1"));
        // Enter on the result list chooses; the choice stands and loads after the delay.
        QTest::keyClick(w.Find.findChild<QWidget*>(QStringLiteral("lvFind")), Qt::Key_Return);
        QVERIFY(!w.Find.isVisible());
        QCOMPARE(files->selectionModel()->selectedRows().first().data().toString(),
                 QStringLiteral("Q2BB.CBR"));
        QVERIFY(w.Child<QTimer>("tmrFileSelect")->isActive());
        w.Explorer.activateWindow();
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q2BB  "));
        QCOMPARE(files->selectionModel()->selectedRows().first().data().toString(),
                 QStringLiteral("Q2BB.CBR"));
    }

    void EnterAndDoubleClickOnTheLogAndHeaderListsOpenTheEditor() {
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        const std::string q1 = contest->File(QStringLiteral("Q1AA.CBR"));
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        for (const char* list : {"lvFiles", "lvQSOHeader"}) {
            for (bool doubleClick : {false, true}) {
                std::string opened;
                bool handled = false;
                test::OnNextModal(
                    [&opened](QWidget* modal) {
                        auto* editor = qobject_cast<TfmEditFile*>(modal);
                        if (!editor) return false;
                        opened = editor->FileName();
                        editor->close();
                        return true;
                    },
                    &handled);
                QTableView* view = w.List(list);
                const QModelIndex row =
                    view->model()->index(list == std::string("lvFiles") ? w.RowOf("Q1AA.CBR") : 1, 0);
                if (doubleClick) {
                    const QPoint at = view->visualRect(row).center();
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
                } else {
                    view->setFocus();
                    QTest::keyClick(view, Qt::Key_Return);
                }
                const QByteArray how = QByteArray(list) + (doubleClick ? " double-click" : " Enter");
                QVERIFY2(handled, how.constData());
                QVERIFY2(opened == q1, how.constData());
            }
        }
        // Closed without a save: the log keeps its rows and is not read again.
        QCOMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QVERIFY(settings->Boxes.Boxes.empty());
    }

    void CheckingAllRecordsWritesCellsMarksStatusAndTheLogRow() {
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        w.Action("actCalcQSO")->trigger();

        struct Row {
            const char* score;
            const char* comment;
            int image;
        };
        const Row rows[] = {{"1", "", imgQSOAccepted},
                            {"-", "повтор; ", imgQSORejected},
                            {"-", "нет файла; ", imgQSORejected}};
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(w.Cell("lvQSODetail", r, 8), QString::fromUtf8(rows[r].score));
            QCOMPARE(w.Cell("lvQSODetail", r, 9), QString::fromUtf8(rows[r].comment));
            QCOMPARE(w.Image("lvQSODetail", r), rows[r].image);
        }
        QCOMPARE(w.Panel(2), QStringLiteral(" SCORE/MULTI/CLAIMED"));
        QCOMPARE(w.Panel(3), QStringLiteral("1"));
        QCOMPARE(w.Panel(4), QStringLiteral("1"));
        QCOMPARE(w.Panel(5), QStringLiteral("1"));
        QCOMPARE(w.Panel(6), QString());
        const int row = w.RowOf("Q1AA.CBR");
        QCOMPARE(w.Cell("lvFiles", row, 1), QStringLiteral("1"));
        QCOMPARE(w.Cell("lvFiles", row, 2), QStringLiteral("1"));
        QCOMPARE(w.Cell("lvFiles", row, 3), QStringLiteral("1"));
        QVERIFY(settings->Boxes.Boxes.empty());

        // The results stay: writing them into the log's row does not reload the log.
        QTest::qWait(700);
        QCOMPARE(w.Cell("lvQSODetail", 0, 8), QStringLiteral("1"));

        // Loading the log again puts the dashes back and empties the result panels.
        w.Action("actRefresh")->trigger();
        QCOMPARE(w.Cell("lvQSODetail", 0, 8), QStringLiteral("-"));
        QCOMPARE(w.Panel(2), QString());
    }

    void CheckingALogWithoutCallsignShowsTheStructureError() {
        Window& w = Start("Q5EE.CBR", {{"Q5EE.CBR", kNoCall}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 1);
        w.Action("actCalcQSO")->trigger();
        QCOMPARE(settings->Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings->Boxes.Boxes[0].Caption, std::string("Ошибка структуры файла"));
        QCOMPARE(w.Cell("lvQSODetail", 0, 8), QStringLiteral("-"));
        QCOMPARE(w.Image("lvQSODetail", 0), int(imgQSOUnchecked));
    }

    void CheckingAllFilesScoresEveryRowWithProgress() {
        Window& w = Open({{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}, {"Q5EE.CBR", kNoCall}});
        auto* bar = w.Child<QProgressBar>("pbProgress");
        QList<int> positions;
        bool shownDuringPass = false;
        connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
            positions << v;
            shownDuringPass = shownDuringPass || bar->isVisible();
        });
        w.Action("actCalcAllFiles")->trigger();
        QVERIFY(shownDuringPass);
        QCOMPARE(bar->maximum(), 2);
        QCOMPARE(positions.last(), 2);
        QVERIFY(positions.contains(1));
        QVERIFY(!bar->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const struct {
            const char* log;
            const char* cells[3];
        } expected[] = {
            {"Q1AA.CBR", {"1", "1", "1"}}, {"Q2BB.CBR", {"1", "1", "1"}}, {"Q5EE.CBR", {"0", "0", "0"}}};
        for (const auto& e : expected)
            for (int c = 0; c < 3; ++c)
                QCOMPARE(w.Cell("lvFiles", w.RowOf(e.log), c + 1), QString::fromLatin1(e.cells[c]));
        // The QSO list of the selected log is left as it was.
        QCOMPARE(w.Panel(2), QString());
    }

    // The window keeps the logs it has read between commands; a log that arrived, one saved anew and one
    // deleted from the window since the last command are seen by the next one.
    void TheNextCommandSeesTheLogsAsTheyAreNow() {
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        const auto comments = [&w] {
            w.Action("actCalcQSO")->trigger();
            QStringList texts;
            for (int r = 0; r < 3; ++r)
                texts << w.Cell("lvQSODetail", r, 9);
            return texts;
        };
        QCOMPARE(comments(), (QStringList{"", "повтор; ", "нет файла; "}));

        // Q3CC's log arrives; it is not in the list, but it confirms Q1AA's third contact.
        contest->Write("Q3CC.CBR",
                       "CALLSIGN: Q3CC\nQSO: 7020 CW 2005-02-12 1300 Q3CC 599 007 Q1AA 599 003 0\n");
        QCOMPARE(comments(), (QStringList{"", "повтор; ", ""}));
        QCOMPARE(w.Panel(5), QStringLiteral("4"));

        // Q2BB's log saved anew without its first contact, as the log editor saves.
        WriteFileAtomic(contest->File("Q2BB.CBR"),
                        "CALLSIGN: Q2BB\r\nQSO: 3510 CW 2005-02-12 1231 Q2BB 599 016 Q1AA 599 002 0\r\n");
        QCOMPARE(comments(), (QStringList{"ошибка приёма; время не совпадает; ", "повтор; ", ""}));

        // Q2BB's log deleted from the window.
        w.SelectRow(w.RowOf("Q2BB.CBR"));
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q2BB  "));
        test::OnNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TfmIfDelete*>(modal);
            if (dialog) dialog->findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
            return dialog != nullptr;
        });
        w.Action("actFilesDelete")->trigger();
        QVERIFY(!contest->Exists("Q2BB.CBR"));
        w.SelectRow(w.RowOf("Q1AA.CBR"));
        QTRY_COMPARE(w.HeaderCaption(), QStringLiteral(" Q1AA Иван Клуб"));
        QTRY_VERIFY(!w.Child<QTimer>("tmrFileSelect")->isActive());
        QCOMPARE(comments(), (QStringList{"нет файла; ", "нет файла; ", ""}));
        QVERIFY(settings->Boxes.Boxes.empty());
    }

    void CreatingTheReportFileWritesTheCheckedLog() {
        TempFolder reports;
        Vars().CurrentUBNFolder = reports.Text();
        Window& w = Start("Q1AA.CBR", {{"q1aa.cbr", kQ1AA}, {"Q2BB.CBR", kQ2BB}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        Vars().CurrentUBNFolder = reports.Text();

        QString proposed, title, directory;
        QStringList filters;
        bool handled = false;
        test::OnNextModal(
            [&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                if (!dialog || dialog->objectName() != QStringLiteral("dlgSaveCalc")) return false;
                title = dialog->windowTitle();
                filters = dialog->nameFilters();
                directory = dialog->directory().absolutePath();
                proposed = dialog->selectedFiles().value(0);
                // Typed into the name box, as the judge would.
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                    ->setText(QStringLiteral("q1aa.txt"));
                static_cast<QDialog*>(dialog)->accept();
                return true;
            },
            &handled);
        w.Action("actSaveCalcReport")->trigger();
        QVERIFY(handled);
        QCOMPARE(title, QStringLiteral("Сохранить файл"));
        QCOMPARE(filters.value(0), QStringLiteral("UBN - файлы отчёта (*.ubn)"));
        QCOMPARE(filters.value(2), QStringLiteral("Все файлы (*)"));
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("q1aa.UBN"));
        QCOMPARE(directory, reports.Path());
        QVERIFY2(settings->Boxes.Boxes.empty(),
                 settings->Boxes.Boxes.empty() ? "" : settings->Boxes.Boxes[0].Text.c_str());
        QVERIFY(reports.Exists("q1aa.txt"));
        QFile report(reports.Path() + QStringLiteral("/q1aa.txt"));
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray text = report.readAll();
        QVERIFY(text.startsWith("START-OF-LOG:  3.0\r\nCALLSIGN:      Q1AA\r\nCLAIMED-SCORE: 1\r\n"));
        const qsizetype separator = text.indexOf("====");
        const QByteArray line = text.mid(separator, text.indexOf("\r\n", separator) - separator);
        QVERIFY(
            text.endsWith("SCORE:         1\r\nMULTIPLIER:    1\r\nCLAIMED-SCORE: 1\r\n" + line + "\r\n"));
        // The report checked the log afresh, and the status bar names the file written.
        QCOMPARE(w.Cell("lvQSODetail", 1, 9), QStringLiteral("повтор; "));
        QCOMPARE(w.Explorer.Message(),
                 QStringLiteral("Записан файл отчёта: %1/q1aa.txt").arg(reports.Path()));
        QCOMPARE(Vars().CurrentUBNFolder, reports.Text() + "/");
    }

    void CancellingTheReportDialogChangesNothing() {
        Window& w = Start("Q1AA.CBR", {{"Q1AA.CBR", kQ1AA}});
        QTRY_COMPARE(w.List("lvQSODetail")->model()->rowCount(), 3);
        const std::string ubnFolder = Vars().CurrentUBNFolder;
        bool handled = false;
        test::OnNextModal(
            [](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                if (dialog) dialog->reject();
                return dialog != nullptr;
            },
            &handled);
        w.Action("actSaveCalcReport")->trigger();
        QVERIFY(handled);
        QCOMPARE(w.Cell("lvQSODetail", 0, 8), QStringLiteral("-"));
        QCOMPARE(Vars().CurrentUBNFolder, ubnFolder);
        QCOMPARE(w.Panel(2), QString());
    }

    void ProgressBarShowsAPassAndHidesAfterIt() {
        Window& w = Make();
        auto* bar = w.Child<QProgressBar>("pbProgress");
        auto* strip = w.Child<QFrame>("paFileCaption");
        auto* panel = w.Child<TProgressPanel>("paPassProgress");
        QVERIFY(!bar->isVisible());
        const int stripHeight = strip->height();
        TExplorerProgress progress(panel, strip);
        progress.Start(25);
        QVERIFY(bar->isVisible());
        QVERIFY(w.Child<QPushButton>("btnPassCancel")->isVisible());
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 24);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(progress.StepSize(), 3);
        QCOMPARE(strip->frameShape(), QFrame::NoFrame);
        QVERIFY(strip->height() >= panel->sizeHint().height());
        QCOMPARE(w.Child<QLabel>("lbPassCount")->text(), QStringLiteral("0 из 25"));
        progress.Step(7);
        QCOMPARE(bar->value(), 7);
        QCOMPARE(w.Child<QLabel>("lbPassCount")->text(), QStringLiteral("8 из 25"));
        progress.Finish();
        QCOMPARE(bar->value(), 24);
        QVERIFY(!bar->isVisible());
        QCOMPARE(strip->frameShape(), QFrame::Panel);
        QCOMPARE(strip->frameShadow(), QFrame::Sunken);
        QCOMPARE(strip->height(), stripHeight);
        QCOMPARE(TExplorerProgress::StepFor(1), 1);
        QCOMPARE(TExplorerProgress::StepFor(11), 2);
    }
};

ZELK_UI_TEST(ExplorerTest)
#include "explorer_test.moc"
