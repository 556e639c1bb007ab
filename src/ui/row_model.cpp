// The table model over the core's list rows.
#include "ui/row_model.h"

#include "ui/qt_text.h"

namespace zelk::ui {

TRowListModel::TRowListModel(std::vector<TColumnSpec> columns, TCount count, TRowAt rowAt,
                             const std::vector<QIcon>& icons, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), count_(std::move(count)),
      rowAt_(std::move(rowAt)), icons_(icons) {}

int TRowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_();
}

int TRowListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TRowListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count_()) return {};
    const TListRow& row = rowAt_(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return column == 0 ? Qs(row.Caption) : Qs(row.Cell(static_cast<size_t>(column - 1)));
    case Qt::DecorationRole:
        if (column == 0 && row.ImageIndex >= 0 && static_cast<size_t>(row.ImageIndex) < icons_.size())
            return icons_[static_cast<size_t>(row.ImageIndex)];
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columns_[static_cast<size_t>(column)].Alignment | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TRowListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size()))
        return {};
    if (role == Qt::DisplayRole) return columns_[static_cast<size_t>(section)].Title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[static_cast<size_t>(section)].Alignment | Qt::AlignVCenter);
    return {};
}

void TRowListModel::Reset() {
    beginResetModel();
    endResetModel();
}

void TRowListModel::RowsChanged() {
    const int n = count_();
    if (n > 0) emit dataChanged(index(0, 0), index(n - 1, columnCount() - 1));
}

void TRowListModel::RowChanged(int row) {
    if (row >= 0 && row < count_()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

} // namespace zelk::ui
