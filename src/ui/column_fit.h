// TColumnFit: the column widths of one of the main window's lists. A column the judge has given a width
// (dragged now, or stored from an earlier run) keeps it; every other column is as wide as its caption and
// its widest cell, up to a cap, and follows the rows: fitted anew when the rows are replaced, widened
// when cells change. The last column stretches to the list's edge and is never stored.
#pragma once

#include <QObject>

#include <string>
#include <vector>

namespace zelk::ui {

class TReportView;

class TColumnFit : public QObject {
    Q_OBJECT
  public:
    // `storeName` is the per-user value that keeps the widths ("lvFiles").
    TColumnFit(TReportView* view, std::string storeName);

    // Takes the stored widths: the columns that have one keep it from now on. A stored width that is not
    // a number ends the loading with an error, the columns before it set.
    void LoadStored();
    // Stores the widths of the columns the judge has sized; the others are stored empty.
    void SaveStored() const;

    // Sizes the columns without a width of their own to the list's rows as they are now.
    void Fit();
    // Widens those columns where the cells of rows `first` to `last` need more room: rows that changed
    // one by one (during a run over the logs) cost a look at those rows only.
    void Widen(int first, int last);

    bool IsJudgeSized(int column) const;
    // The widest a fitted column gets.
    int Cap() const;
    // The width the list needs to show every column without cutting: the fitted or judge's widths of
    // all columns but the last, and what the last one's cells need.
    int NaturalWidth() const;

  signals:
    // The columns were fitted anew.
    void Fitted();

  private:
    void OnSectionResized(int column);
    int LastColumn() const;

    TReportView* view_;
    std::string storeName_;
    std::vector<bool> judgeSized_;
    int lastNatural_ = 0; // what the last column's cells need; the column itself stretches
    bool sizing_ = false; // the widths are being set here, not by the judge
};

} // namespace zelk::ui
