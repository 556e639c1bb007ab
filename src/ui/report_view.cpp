// The main window's report-style lists: contents widths, tooltips for cut cells and the empty-list hint.
#include "ui/report_view.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace zelk::ui {

TReportView::TReportView(QWidget* parent) : QTableView(parent) {}

void TReportView::SetEmptyText(const QString& text) {
    if (text == emptyText_) return;
    emptyText_ = text;
    viewport()->update();
}

int TReportView::CellWidth(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    return itemDelegateForIndex(index)->sizeHint(option, index).width();
}

// Every row is measured: the lists hold one contest's logs or one log's contacts, and a number cut in a
// row that was left out would be cut silently. A row is measured by the width of its text; the icon and
// margins the list adds come from the delegate's own measure of the first rows, which costs too much to
// run on each of the thousands of contacts of a large log at every load and check. Half a character
// more keeps the texts of neighbouring columns apart and covers the rounding of text widths.
int TReportView::ContentWidth(int column) const {
    return ContentWidth(column, 0, model() ? model()->rowCount() - 1 : -1);
}

int TReportView::ContentWidth(int column, int firstRow, int lastRow) const {
    constexpr int kSampledRows = 64;
    const QFontMetrics metrics(font());
    const int room = std::max(metrics.averageCharWidth() / 2, 1);
    const int caption = horizontalHeader()->sectionSizeHint(column) + room;
    const int rows = model() ? model()->rowCount() : 0;
    firstRow = std::max(firstRow, 0);
    lastRow = std::min(lastRow, rows - 1);
    if (firstRow > lastRow) return caption;
    int extra = 0;
    for (int row = firstRow; row <= std::min(lastRow, firstRow + kSampledRows - 1); ++row) {
        const QModelIndex index = model()->index(row, column);
        extra = std::max(extra, CellWidth(index) - metrics.horizontalAdvance(index.data().toString()));
    }
    int text = 0;
    for (int row = firstRow; row <= lastRow; ++row)
        text = std::max(text, metrics.horizontalAdvance(model()->index(row, column).data().toString()));
    const int grid = showGrid() ? 1 : 0;
    return std::max(caption, text + extra + room + grid);
}

bool TReportView::IsClipped(const QModelIndex& index) const {
    if (!index.isValid()) return false;
    const int grid = showGrid() ? 1 : 0;
    return CellWidth(index) > columnWidth(index.column()) - grid;
}

bool TReportView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty() && IsClipped(index))
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

void TReportView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    QPainter painter(viewport());
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        painter.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
    }
    if (emptyText_.isEmpty() || (model() && model()->rowCount() > 0)) return;
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().averageCharWidth() * 2;
    const QRect area = viewport()->rect().adjusted(margin, margin, -margin, -margin);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
}

void TReportView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TReportView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

} // namespace zelk::ui
