// The find-in-list dialog over a report-style list: opening with a typed character, the search over the
// row texts, the default buttons, clearing, choosing and scrolling to the middle, and a changed list.
#include "ui_test_main.h"

#include "logs/list_rows.h"
#include "logs/text.h"
#include "ui/find_dialog.h"
#include "ui/row_model.h"
#include "ui/zelk_resources.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

using namespace zelk;
using namespace zelk::ui;

namespace {

// A list like the log list: file name and three result cells.
struct TargetList {
    std::vector<TListRow> Rows;
    TRowListModel Model{{{QStringLiteral("File")},
                         {QStringLiteral("Score")},
                         {QStringLiteral("Multi")},
                         {QStringLiteral("ClaimedScore")}},
                        [this] { return static_cast<int>(Rows.size()); },
                        [this](int i) -> const TListRow& { return Rows[static_cast<size_t>(i)]; },
                        ZelkResources().ListImages()};
    QTableView View;

    void Add(const char* caption, std::vector<std::string> cells, int image = imgLog) {
        Rows.push_back({FromUtf8(caption), std::move(cells), image});
        Model.Reset();
    }
    TargetList() {
        View.setModel(&Model);
        View.setSelectionBehavior(QAbstractItemView::SelectRows);
        View.verticalHeader()->setDefaultSectionSize(18);
        View.resize(300, 200);
    }
    void Changed() { Model.Reset(); }
    int SelectedRow() const {
        const QModelIndexList rows = View.selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
};

struct Dialog {
    TfmFind Find;
    QLineEdit* Edit() { return Find.findChild<QLineEdit*>(QStringLiteral("edFindStr")); }
    QPushButton* Button(const char* name) { return Find.findChild<QPushButton*>(QString::fromLatin1(name)); }
    QTreeWidget* Results() { return Find.findChild<QTreeWidget*>(QStringLiteral("lvFind")); }
    QLabel* Label(const char* name) { return Find.findChild<QLabel*>(QString::fromLatin1(name)); }
    QStringList Found() {
        QStringList texts;
        for (int i = 0; i < Results()->topLevelItemCount(); ++i)
            texts << Results()->topLevelItem(i)->text(0);
        return texts;
    }
    void SearchFor(const QString& text) {
        Edit()->setText(text);
        Find.Search();
    }
};

const QRect kMain(100, 100, 717, 467);

} // namespace

class FindDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void OpensWithTheTypedLetterUpperCasedAndCentred() {
        TargetList list;
        list.Add("Q1AA.CBR", {"-", "-", "-"});
        Dialog d;
        d.Find.Open(&list.View, u'u', kMain);
        QVERIFY(d.Find.isVisible());
        QCOMPARE(d.Find.windowTitle(), QStringLiteral("Искать в списке"));
        QCOMPARE(d.Edit()->text(), QStringLiteral("U"));
        QCOMPARE(d.Edit()->cursorPosition(), 1);
        QVERIFY(d.Button("bbFind")->isEnabled());
        QVERIFY(d.Button("bbFind")->isDefault());
        QVERIFY(!d.Button("bbOk")->isEnabled());
        QVERIFY(!d.Label("lbFoundCaption")->isVisible());
        const QRect frame = d.Find.frameGeometry();
        QVERIFY(qAbs(frame.center().x() - kMain.center().x()) <= 1);
        QVERIFY(qAbs(frame.center().y() - kMain.center().y()) <= 1);
        QVERIFY(d.Find.minimumWidth() >= 310 && d.Find.minimumHeight() >= 200);
        // Typing goes on at the end of the search text, and stays in upper case.
        QTest::keyClicks(d.Edit(), QStringLiteral("a1"));
        QCOMPARE(d.Edit()->text(), QStringLiteral("UA1"));
    }

    void ANegativePositionIsReplacedByTheMainWindowsCorner() {
        TargetList list;
        Dialog d;
        d.Find.Open(&list.View, QChar(), QRect(0, 0, 100, 80));
        QCOMPARE(d.Find.frameGeometry().topLeft(), QPoint(0, 0));
    }

    void BlanksOnlyKeepSearchDisabled() {
        TargetList list;
        Dialog d;
        d.Find.Open(&list.View, QChar(), kMain);
        d.Edit()->setText(QStringLiteral("   "));
        QVERIFY(!d.Button("bbFind")->isEnabled());
        d.Edit()->setText(QStringLiteral(" Q "));
        QVERIFY(d.Button("bbFind")->isEnabled());
    }

    void SearchMatchesRowTextsAcrossCellsAndShowsTheCount() {
        TargetList list;
        list.Add("Q1AA.CBR", {"12", "3", "36"});
        list.Add("Q2BB.CBR", {"-", "-", "-"}, imgLogNoCall);
        list.Add("NOTES.TXT", {"CBR", "-", "-"});
        list.Add("q3cc.log", {"5", "1", "5"});
        Dialog d;
        d.Find.Open(&list.View, QChar(), kMain);

        struct Case {
            const char* search;
            QStringList found;
        };
        const Case cases[] = {
            {"CBR", {"Q1AA.CBR 12 3 36", "Q2BB.CBR - - -", "NOTES.TXT CBR - -"}},
            {"CBR 12", {"Q1AA.CBR 12 3 36"}}, // across the blank between two cells
            {"Q3CC", {"q3cc.log 5 1 5"}},     // shown as it is, matched upper-cased
            {"  2BB ", {"Q2BB.CBR - - -"}},   // trimmed
            {"ZZZ", {}},
        };
        for (const auto& c : cases) {
            d.SearchFor(QString::fromLatin1(c.search));
            QCOMPARE(d.Found(), c.found);
            QCOMPARE(d.Edit()->text(), QString::fromLatin1(c.search).trimmed());
            QVERIFY(d.Label("lbFoundCaption")->isVisible());
            QCOMPARE(d.Label("lbFoundCaption")->text(), QStringLiteral("Найдено записей:"));
            QCOMPARE(d.Label("lbFoundCount")->text(), QString::number(c.found.size()));
            QCOMPARE(d.Button("bbOk")->isEnabled(), !c.found.isEmpty());
        }
        d.SearchFor(QStringLiteral("2BB"));
        QVERIFY(!d.Results()->topLevelItem(0)->icon(0).isNull());
        QCOMPARE(d.Results()->currentItem(), d.Results()->topLevelItem(0));
        QTRY_VERIFY(d.Results()->hasFocus());
        QVERIFY(d.Button("bbOk")->isDefault());
        d.Edit()->setFocus();
        QTRY_VERIFY(d.Button("bbFind")->isDefault());
    }

    void F2ClearsTheSearchEvenFromTheResultList() {
        TargetList list;
        list.Add("Q1AA.CBR", {"-", "-", "-"});
        Dialog d;
        d.Find.Open(&list.View, u'q', kMain);
        d.Find.Search();
        QTRY_VERIFY(d.Results()->hasFocus());
        QTest::keyClick(d.Results(), Qt::Key_F2);
        QCOMPARE(d.Edit()->text(), QString());
        QVERIFY(d.Edit()->hasFocus());
        d.Edit()->setText(QStringLiteral("X"));
        QTest::keyClick(d.Edit(), Qt::Key_F2);
        QCOMPARE(d.Edit()->text(), QString());
    }

    void ChoosingSelectsTheRowInTheMiddleAndCloses() {
        TargetList list;
        for (int i = 0; i < 300; ++i)
            list.Add(QStringLiteral("R%1.CBR").arg(i, 3, 10, QChar(u'0')).toLatin1().constData(),
                     {"-", "-", "-"});
        list.View.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.View));
        Dialog d;
        d.Find.Open(&list.View, QChar(), kMain);
        d.SearchFor(QStringLiteral("R250"));
        QCOMPARE(d.Found().size(), 1);
        QTest::keyClick(d.Results(), Qt::Key_Return);
        QVERIFY(!d.Find.isVisible());
        QCOMPARE(list.SelectedRow(), 250);
        QCOMPARE(list.View.currentIndex().row(), 250);
        const QRect row = list.View.visualRect(list.Model.index(250, 0));
        const int middle = list.View.viewport()->height() / 2;
        QVERIFY2(qAbs(row.center().y() - middle) <= row.height() * 3 / 2,
                 qPrintable(QString::number(row.center().y())));
        // Closing cleared the results for the next opening.
        QCOMPARE(d.Found().size(), 0);
    }

    void ChoosingAfterTheListChangedFindsTheSameRowOrNone() {
        TargetList list;
        list.Add("Q1AA.CBR", {"-", "-", "-"});
        list.Add("Q2BB.CBR", {"-", "-", "-"});
        Dialog d;
        d.Find.Open(&list.View, QChar(), kMain);
        d.SearchFor(QStringLiteral("Q2BB"));
        std::swap(list.Rows[0], list.Rows[1]);
        list.Changed();
        d.Find.Choose();
        QCOMPARE(list.SelectedRow(), 0);

        d.Find.Open(&list.View, QChar(), kMain);
        d.SearchFor(QStringLiteral("Q1AA"));
        list.Rows.pop_back();
        list.Changed();
        list.View.clearSelection();
        d.Find.Choose();
        QCOMPARE(list.SelectedRow(), -1);
        QVERIFY(!d.Find.isVisible());
    }

    void CancelHidesWithoutTouchingTheList() {
        TargetList list;
        list.Add("Q1AA.CBR", {"-", "-", "-"});
        Dialog d;
        d.Find.Open(&list.View, u'q', kMain);
        d.Find.Search();
        QTest::keyClick(d.Edit(), Qt::Key_Escape);
        QVERIFY(!d.Find.isVisible());
        QCOMPARE(list.SelectedRow(), -1);
        d.Find.Open(&list.View, QChar(), kMain);
        QCOMPARE(d.Edit()->text(), QStringLiteral("Q"));
        QVERIFY(!d.Label("lbFoundCount")->isVisible());
    }

    void TheTypedCharactersThatOpenTheSearch() {
        struct Case {
            QString typed;
            bool opens;
        };
        const Case cases[] = {{"7", true}, {"q", true},   {"Z", true},  {"ж", true},
                              {"Я", true}, {"ё", false},  {",", false}, {" ", false},
                              {"", false}, {"ab", false}, {"é", false}, {"-", false}};
        for (const auto& c : cases)
            QVERIFY2(TfmFind::OpensSearch(c.typed) == c.opens, qPrintable(c.typed));
    }
};

ZELK_UI_TEST(FindDialogTest)
#include "find_dialog_test.moc"
