// The columns of the main window's lists: fitted to their captions and cells where the judge has not
// sized them, stored only where he has, the last one stretched to the list's edge, and a cut cell shown
// whole as a tooltip.
#include "explorer_fixture.h"
#include "ui_fixture.h"
#include "ui_test_main.h"

#include "logs/file_io.h"
#include "settings/global_vars.h"
#include "ui/column_fit.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QSettings>
#include <QToolTip>

#include <filesystem>

using namespace zelk;
using namespace zelk::ui;
using zelk::test::TempFolder;
using zelk::test::TestSettings;
using Window = zelk::test::ExplorerWindow;

namespace {

const std::filesystem::path kSourceRoot = ZELK_SOURCE_DIR;

const char* const kLists[] = {"lvFiles", "lvQSOHeader", "lvQSODetail"};

// Every cell and caption of `list` that is cut, as "row:column text".
QStringList ClippedCells(Window& w, const char* list) {
    TReportView* view = w.View(list);
    QStringList cut;
    for (int column = 0; column < view->model()->columnCount(); ++column) {
        if (view->horizontalHeader()->sectionSizeHint(column) > view->columnWidth(column))
            cut << QStringLiteral("%1 caption").arg(list);
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QModelIndex index = view->model()->index(row, column);
            if (view->IsClipped(index))
                cut << QStringLiteral("%1 %2:%3 %4")
                           .arg(list)
                           .arg(row)
                           .arg(column)
                           .arg(index.data().toString());
        }
    }
    return cut;
}

// The tooltip the list shows for the cell, or empty text when it shows none.
QString ToolTipOf(TReportView* view, const QModelIndex& index) {
    QToolTip::hideText(); // hides after a moment of its own
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000)) return QStringLiteral("(not hidden)");
    const QPoint at = view->visualRect(index).center();
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

std::string StoredWidths(const char* list) {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Zelk"))
        .value(QString::fromLatin1(list))
        .toString()
        .toStdString();
}

} // namespace

class ColumnsTest : public QObject {
    Q_OBJECT
  private slots:
    // The example contest at 1920x1080 after "Проверить все файлы" and a check of every log: no caption,
    // total or comment is cut, and the last column of each list reaches the list's right edge.
    void NoCellOfTheExampleContestIsCutAt1920x1080() {
        TestSettings settings;
        Vars().CurrentFolder = TextFromPath(kSourceRoot / "examples" / "contest");
        Window w;
        w.Explorer.resize(1920, 1080);
        w.ShowAndWait();
        QCOMPARE(w.List("lvFiles")->model()->rowCount(), 14);
        w.Action("actCalcAllFiles")->trigger();
        QCOMPARE(ClippedCells(w, "lvFiles"), QStringList());
        for (int row = 0; row < 14; ++row) {
            w.SelectRow(row);
            w.Explorer.LoadSelected();
            w.Action("actCalcQSO")->trigger();
            for (const char* list : {"lvQSOHeader", "lvQSODetail"})
                QCOMPARE(ClippedCells(w, list), QStringList());
        }
        for (const char* list : kLists) {
            QTableView* view = w.List(list);
            const int last = view->model()->columnCount() - 1;
            QCOMPARE(view->columnViewportPosition(last) + view->columnWidth(last), view->viewport()->width());
        }
    }

    // A column the judge made too narrow shows its cut cells whole as tooltips; a cell that fits has none.
    // A column that follows its cells grows when a check writes longer ones, up to the cap.
    void CutCellsShowTooltipsAndFittedColumnsFollowTheirCells() {
        TestSettings settings;
        TempFolder contest;
        const std::string soapbox(200, 'x');
        contest.Write("Q1AA.CBR", "CALLSIGN: Q1AA\nSOAPBOX: " + soapbox +
                                      "\nQSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\n");
        Vars().CurrentFolder = contest.Text();
        Window w;
        w.ShowAndWait();
        TReportView* header = w.View("lvQSOHeader");
        auto* fit = header->findChild<TColumnFit*>();
        QVERIFY(fit);
        QCOMPARE(header->columnWidth(1), fit->Cap()); // the long SOAPBOX: value is capped
        const QModelIndex soapboxValue = header->model()->index(1, 1);
        QVERIFY(header->IsClipped(soapboxValue));
        QCOMPARE(ToolTipOf(header, soapboxValue), QString::fromStdString(soapbox));
        QCOMPARE(ToolTipOf(header, header->model()->index(0, 1)), QString()); // "Q1AA" fits

        TReportView* qsos = w.View("lvQSODetail");
        const int before = qsos->columnWidth(9);
        qsos->setColumnWidth(5, 10); // the judge drags the Call column narrow
        QCOMPARE(ToolTipOf(qsos, qsos->model()->index(0, 5)), QStringLiteral("Q2BB"));
        w.Action("actCalcQSO")->trigger();
        QCOMPARE(qsos->columnWidth(5), 10); // the judge's width stays
        QVERIFY(!qsos->IsClipped(qsos->model()->index(0, 9)));
        QVERIFY(qsos->columnWidth(9) >= before);
        QCOMPARE(w.Cell("lvQSODetail", 0, 9), QStringLiteral("нет файла; "));
    }

    // Only the widths the judge set are stored; the others come back fitted to the rows of the day.
    void OnlyTheJudgesWidthsAreStoredAndTheyWin() {
        TestSettings settings;
        {
            Window w;
            w.ShowAndWait();
            w.List("lvFiles")->setColumnWidth(1, 77);
            w.Explorer.close();
        }
        QCOMPARE(StoredWidths("lvFiles"), std::string(",77,,"));
        QCOMPARE(StoredWidths("lvQSODetail"), std::string(",,,,,,,,,"));
        settings.Restart();
        Window w;
        w.ShowAndWait();
        QCOMPARE(w.List("lvFiles")->columnWidth(1), 77);
        QCOMPARE(w.List("lvFiles")->columnWidth(0), w.View("lvFiles")->ContentWidth(0));
        QVERIFY(w.List("lvFiles")->horizontalHeader()->stretchLastSection());
    }
};

ZELK_UI_TEST(ColumnsTest)
#include "columns_test.moc"
