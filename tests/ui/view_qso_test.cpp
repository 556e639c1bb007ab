// The QSO viewer: the viewed row, the test against the correspondent's log, the failure cases, its
// keys and placement, and how the main window opens it.
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/contest.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "ui/desktop_judging.h"
#include "ui/explorer.h"
#include "ui/view_qso.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;

namespace {

// Q1AA's first contact is confirmed by Q2BB one minute later; the second is with a station without a log.
const char* kQ1AA = "CALLSIGN: Q1AA\n"
                    "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n"
                    "QSO: 7020 CW 2005-02-12 1230 Q1AA 599 002 Q9ZZ 599 016 0\n";
const char* kQ2BB = "CALLSIGN: Q2BB\n"
                    "QSO: 3510 CW 2005-02-12 1202 Q2BB 599 015 Q1AA 599 001 0\n";
const char* kNoCall = "NAME: Nobody\n"
                      "QSO: 3510 CW 2005-02-12 1203 Q5EE 599 001 Q2BB 599 009 0\n";

struct Contest {
    TempFolder folder;
    TZelkContest contest;
    Contest() {
        folder.Write("Q1AA.CBR", kQ1AA);
        folder.Write("Q2BB.CBR", kQ2BB);
        folder.Write("Q5EE.CBR", kNoCall);
        Vars().CurrentFolder = folder.Text();
    }
    void Open(const char* name) {
        ListLogs(contest);
        QVERIFY(contest.SelectLogByName(name));
        contest.LoadLog(contest.SelectedLogPath());
    }
};

QString Box(QWidget* w, const char* name) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}

QStringList Column(QWidget* w, const char* prefix) {
    QStringList texts;
    for (const char* field :
         {"FileName", "QSOIndex", "Freq", "Mode", "Date", "Time", "Call", "Send", "Receive"})
        texts << Box(w, (std::string(prefix) + field).c_str());
    return texts;
}

const QRect kMain(100, 50, 800, 600);

} // namespace

class ViewQSOTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { ResetScripts(); }

    void OpeningShowsTheRowAndLeavesTheRightColumnEmpty() {
        TestSettings settings;
        Contest c;
        c.Open("Q1AA.CBR");
        c.contest.QSOs[0].SetCell(7, "1");
        c.contest.QSOs[0].SetCell(8, FromUtf8("ошибка приёма; "));
        TfmViewQSO w(c.contest, 0, kMain);
        QCOMPARE(Column(&w, "ed"),
                 (QStringList{"", "1", "3510", "CW", "2005-02-12", "12:01", "Q2BB", "599 001", "599 015"}));
        QCOMPARE(Column(&w, "ed2"), QStringList(9, QString()));
        QCOMPARE(Box(&w, "edScore"), QStringLiteral("1"));
        auto* comment = w.findChild<QPlainTextEdit*>(QStringLiteral("meComment"));
        QCOMPARE(comment->toPlainText(), QStringLiteral("ошибка приёма;"));
        // The designed client area, and below it the analysis of the contact.
        QCOMPARE(w.size(), QSize(406, 476));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        auto* test = w.findChild<QPushButton*>(QStringLiteral("btnTest"));
        QVERIFY(test->isDefault());
    }

    void TheViewerIsCentredOverTheMainWindowAndNeverAboveOrLeftOfTheScreen() {
        TestSettings settings;
        Contest c;
        c.Open("Q1AA.CBR");
        const struct {
            QRect main;
            QPoint at;
        } cases[] = {
            {kMain, {100 + 400 - 203, 50 + 300 - 238}},
            {QRect(20, 10, 200, 100), {20, 10}}, // both would be negative
            {QRect(0, 300, 1000, 100), {500 - 203, 300 + 50 - 238}},
        };
        for (const auto& k : cases) {
            TfmViewQSO w(c.contest, 1, k.main);
            QCOMPARE(w.pos(), k.at);
        }
    }

    void TestShowsTheConfirmingRecordWithTheMinutesAndLeavesTheListsAlone() {
        TestSettings settings;
        Contest c;
        c.Open("Q1AA.CBR");
        TfmViewQSO w(c.contest, 0, kMain);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Enter presses the default button.
        QTest::keyClick(w.findChild<QLineEdit*>(QStringLiteral("edCall")), Qt::Key_Return);
        QCOMPARE(Column(&w, "ed2"), (QStringList{"Q2BB.CBR", "1", "3510", "CW", "2005-02-12",
                                                 "12:02  [ 1 мин ]", "Q1AA", "599 015", "599 001"}));
        QCOMPARE(Box(&w, "edFileName"), QStringLiteral("Q1AA.CBR"));
        QCOMPARE(Box(&w, "edQSOIndex"), QStringLiteral("1"));
        QCOMPARE(Box(&w, "edScore"), QStringLiteral("-"));
        QVERIFY(w.isVisible());
        QCOMPARE(c.contest.QSOs[0].Cell(7), std::string("-"));
        QCOMPARE(c.contest.QSOs[0].ImageIndex, int(imgQSOUnchecked));
        QVERIFY(settings.Boxes.Boxes.empty());

        // A contact with a station that sent no log: dashes on the right, the correspondent's file named.
        TfmViewQSO other(c.contest, 1, kMain);
        other.Test();
        QCOMPARE(Column(&other, "ed2"), (QStringList{"Q9ZZ.CBR", "-", "-", "-", "-", "-  ", "-", "-", "-"}));
        QCOMPARE(Box(&other, "edQSOIndex"), QStringLiteral("2"));
        // Below: the class of the rejected contact; the first, accepted, shows the partner's nearest records.
        const auto analysis = [](TfmViewQSO* v) {
            return v->findChild<QPlainTextEdit*>(QStringLiteral("meAnalysis"))->toPlainText();
        };
        QVERIFY2(
            analysis(&other).startsWith(QStringLiteral("UNIQUE - позывной есть только в этом журнале\n")) ||
                analysis(&other).startsWith(QStringLiteral("NO-LOG - нет журнала корреспондента\n")),
            qPrintable(analysis(&other)));
        const QStringList lines = analysis(&w).split(u'\n');
        QVERIFY2(lines.size() >= 3, qPrintable(analysis(&w)));
        QCOMPARE(lines[1], QStringLiteral("Ближайшие записи Q2BB.CBR:"));
        QVERIFY2(lines[2].startsWith(QStringLiteral("QSO 1  3510 12:02  Q1AA  599 015 / 599 001  [+1 мин]")),
                 qPrintable(lines[2]));
    }

    void ALogWithoutCallsignGivesTheErrorBoxAndDashes() {
        TestSettings settings;
        Contest c;
        c.Open("Q5EE.CBR");
        TfmViewQSO w(c.contest, 0, kMain);
        w.findChild<QPushButton*>(QStringLiteral("btnTest"))->click();
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QCOMPARE(settings.Boxes.Boxes[0].Caption, std::string("Ошибка структуры файла"));
        QCOMPARE(settings.Boxes.Boxes[0].Text,
                 std::string("Нет или пустой тэг CALLSIGN:, обработка файла невозможна."));
        QCOMPARE(Column(&w, "ed2"), (QStringList{"Q2BB.CBR", "-", "-", "-", "-", "-  ", "-", "-", "-"}));
        QCOMPARE(Box(&w, "edFileName"), QStringLiteral("Q5EE.CBR"));
    }

    void AnUnreadableCorrespondentLogShowsTheErrorAndTheViewerStaysOpen() {
        TestSettings settings;
        Contest c;
        QFile::remove(c.folder.Path() + QStringLiteral("/Q2BB.CBR"));
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), c.folder.Path() + QStringLiteral("/Q2BB.CBR")));
        c.Open("Q1AA.CBR");
        TfmViewQSO w(c.contest, 0, kMain);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QPushButton*>(QStringLiteral("btnTest"))->click();
        QCOMPARE(settings.Boxes.Boxes.size(), size_t(1));
        QCOMPARE(settings.Boxes.Boxes[0].Kind, std::string("error"));
        QVERIFY(settings.Boxes.Boxes[0].Text.find("Q2BB.CBR") != std::string::npos);
        QVERIFY(w.isVisible());
        QCOMPARE(Box(&w, "edCall"), QStringLiteral("Q2BB"));
    }

    void EscapeAndCloseEndTheViewerAndRestoreTheCursor() {
        TestSettings settings;
        Contest c;
        c.Open("Q1AA.CBR");
        for (const char* how : {"escape", "button", "close box"}) {
            TfmViewQSO w(c.contest, 0, kMain);
            test::OnNextModal([&](QWidget* modal) {
                if (modal != &w) return false;
                QApplication::setOverrideCursor(Qt::WaitCursor);
                if (QByteArray(how) == "escape")
                    QTest::keyClick(&w, Qt::Key_Escape);
                else if (QByteArray(how) == "button")
                    w.findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
                else
                    w.close();
                return true;
            });
            QCOMPARE(w.exec(), int(QDialog::Rejected));
            QVERIFY2(QApplication::overrideCursor() == nullptr, how);
        }
    }

    void TheMainWindowOpensTheViewerForTheSelectedContactOnly() {
        TestSettings settings;
        Contest c;
        TfmExplorer explorer;
        explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&explorer));
        explorer.OpenFolder(c.folder.Text());
        explorer.findChild<QAction*>(QStringLiteral("actSortByN"))->trigger();
        auto* files = explorer.findChild<QTableView*>(QStringLiteral("lvFiles"));
        files->setCurrentIndex(files->model()->index(0, 0));
        explorer.LoadSelected();
        auto* qsos = explorer.findChild<QTableView*>(QStringLiteral("lvQSODetail"));
        QCOMPARE(qsos->model()->rowCount(), 2);
        QAction* view = explorer.findChild<QAction*>(QStringLiteral("actViewQSO"));
        QVERIFY(view->isEnabled());

        // Without a selected contact nothing opens.
        bool opened = false;
        QTimer::singleShot(50, [&opened] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                modal->close();
            }
        });
        view->trigger();
        QTest::qWait(100);
        QVERIFY(!opened);

        // Enter, a double-click and the command each open it on the selected row.
        QStringList indexes;
        const auto record = [&indexes](QWidget* modal) {
            if (!qobject_cast<TfmViewQSO*>(modal)) return false;
            indexes << Box(modal, "edQSOIndex");
            modal->close();
            return true;
        };
        qsos->setCurrentIndex(qsos->model()->index(1, 0));
        test::OnNextModal(record);
        QTest::keyClick(qsos, Qt::Key_Return);
        test::OnNextModal(record);
        const QPoint first = qsos->visualRect(qsos->model()->index(0, 2)).center();
        QTest::mouseClick(qsos->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(qsos->viewport(), Qt::LeftButton, {}, first);
        test::OnNextModal(record);
        view->trigger();
        QCOMPARE(indexes, (QStringList{"2", "1", "1"}));
    }
};

ZELK_UI_TEST(ViewQSOTest)
#include "view_qso_test.moc"
