// TReportView: the report-style list of the main window (log, header and QSO lists). Besides a plain
// table view it tells how wide a column's contents are and whether a cell's text is cut, shows a cut
// text whole as a tooltip, says in the empty list what the judge can do about it, and wears a frame in
// the highlight colour while it has the keyboard focus (its selection looks the same with or without).
#pragma once

#include <QTableView>

namespace zelk::ui {

class TReportView : public QTableView {
    Q_OBJECT
  public:
    explicit TReportView(QWidget* parent = nullptr);

    // The text drawn in the middle of the list while it has no rows; empty text draws nothing.
    void SetEmptyText(const QString& text);
    const QString& EmptyText() const { return emptyText_; }

    // The width that shows the cell whole: text, icon and margins as the list draws them.
    int CellWidth(const QModelIndex& index) const;
    // The width that shows column `column`'s caption and every cell of it whole (grid line included);
    // with a range of rows, the caption and the cells of those rows only.
    int ContentWidth(int column) const;
    int ContentWidth(int column, int firstRow, int lastRow) const;
    // True when the cell's column is too narrow for its text.
    bool IsClipped(const QModelIndex& index) const;

  protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QString emptyText_;
};

} // namespace zelk::ui
