// The main window of the window tests, as the program makes it: TfmExplorer with its find-in-list
// dialog, and the look-ups the tests use on it (lists, cells, actions, status panels).
#pragma once

#include "logs/contest.h"
#include "ui/explorer.h"
#include "ui/find_dialog.h"
#include "ui/report_view.h"

#include <QAction>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace zelk::test {

struct ExplorerWindow {
    ui::TfmExplorer Explorer;
    ui::TfmFind Find{&Explorer};
    ExplorerWindow() { Explorer.SetFindDialog(&Find); }

    template <class T> T* Child(const char* name) {
        return Explorer.findChild<T*>(QString::fromLatin1(name));
    }
    QTableView* List(const char* name) { return Child<QTableView>(name); }
    ui::TReportView* View(const char* name) { return Child<ui::TReportView>(name); }
    QAction* Action(const char* name) { return Child<QAction>(name); }
    QString Panel(int i) {
        return Child<QLabel>(QStringLiteral("stPanel%1").arg(i).toLatin1().constData())->text();
    }
    QString Cell(const char* list, int row, int column) {
        return List(list)->model()->index(row, column).data().toString();
    }
    int Image(const char* list, int row) {
        const TZelkContest& c = Explorer.Contest();
        const QByteArray which(list);
        const auto i = static_cast<size_t>(row);
        if (which == "lvFiles") return c.Logs.at(i).ImageIndex;
        if (which == "lvQSOHeader") return c.Header.at(i).ImageIndex;
        return c.QSOs.at(i).ImageIndex;
    }
    int RowOf(const QString& caption) {
        QTableView* view = List("lvFiles");
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString() == caption) return r;
        return -1;
    }
    QString HeaderCaption() { return Child<QLabel>("lbHeaderCaption")->text(); }
    // Shows the window and waits for its first listing of the contest folder.
    void ShowAndWait() {
        Explorer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Explorer));
        QTRY_VERIFY(!Child<QTimer>("tmrFileSelect")->isActive() || !Explorer.Contest().Logs.empty() ||
                    !Panel(0).isEmpty());
        QTest::qWait(20);
    }
    void SelectRow(int row) {
        QTableView* view = List("lvFiles");
        view->setCurrentIndex(view->model()->index(row, 0));
    }
};

} // namespace zelk::test
