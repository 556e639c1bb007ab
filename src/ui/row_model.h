// A table model over rows of the core (caption, cells, image index), so the window's report-style lists
// show the contest's rows as they stand without copying them; only visible rows are converted to text.
#pragma once

#include "logs/list_rows.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <functional>
#include <vector>

namespace zelk::ui {

struct TColumnSpec {
    QString Title;
    Qt::Alignment Alignment = Qt::AlignLeft;
};

class TRowListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using TCount = std::function<int()>;
    using TRowAt = std::function<const TListRow&(int)>;

    // `icons` is the shared small-image list, indexed by a row's image index.
    TRowListModel(std::vector<TColumnSpec> columns, TCount count, TRowAt rowAt,
                  const std::vector<QIcon>& icons, QObject* parent = nullptr);

    const std::vector<TColumnSpec>& Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The rows were replaced (loaded, listed, sorted, removed).
    void Reset();
    // Cells or images of existing rows changed; the number of rows is the same.
    void RowsChanged();
    void RowChanged(int row);

  private:
    std::vector<TColumnSpec> columns_;
    TCount count_;
    TRowAt rowAt_;
    const std::vector<QIcon>& icons_;
};

} // namespace zelk::ui
