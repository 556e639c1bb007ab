// Column widths of the main window's lists: stored, dragged or fitted to the rows.
#include "ui/column_fit.h"

#include "settings/global_vars.h"
#include "ui/report_view.h"

#include <QHeaderView>

#include <algorithm>

namespace zelk::ui {

namespace {

// A fitted column is never wider than this many average characters, so that one long header value
// cannot push the other columns out of sight; the tooltip shows the rest.
constexpr int kCapCharacters = 48;

// Sets widths on behalf of the program, so that the header's notices are not taken for the judge's drags.
class TSizingScope {
  public:
    explicit TSizingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TSizingScope() { flag_ = false; }
    TSizingScope(const TSizingScope&) = delete;
    TSizingScope& operator=(const TSizingScope&) = delete;

  private:
    bool& flag_;
};

} // namespace

TColumnFit::TColumnFit(TReportView* view, std::string storeName)
    : QObject(view), view_(view), storeName_(std::move(storeName)),
      judgeSized_(static_cast<size_t>(view->model()->columnCount()), false) {
    QHeaderView* header = view_->horizontalHeader();
    header->setStretchLastSection(true);
    connect(header, &QHeaderView::sectionResized, this, [this](int column) { OnSectionResized(column); });
    QAbstractItemModel* model = view_->model();
    connect(model, &QAbstractItemModel::modelReset, this, &TColumnFit::Fit);
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                Widen(topLeft.row(), bottomRight.row());
            });
    connect(model, &QAbstractItemModel::rowsInserted, this, &TColumnFit::Fit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &TColumnFit::Fit);
}

void TColumnFit::LoadStored() {
    std::vector<int> widths(judgeSized_.size(), -1);
    const auto apply = [this, &widths] {
        TSizingScope sizing(sizing_);
        for (int i = 0; i < LastColumn(); ++i) {
            if (widths[static_cast<size_t>(i)] < 0) continue;
            judgeSized_[static_cast<size_t>(i)] = true;
            view_->setColumnWidth(i, widths[static_cast<size_t>(i)]);
        }
    };
    try {
        Vars().LoadColumnWidths(widths, storeName_);
    } catch (...) {
        apply();
        throw;
    }
    apply();
}

void TColumnFit::SaveStored() const {
    std::vector<int> widths;
    for (size_t i = 0; i < judgeSized_.size(); ++i)
        widths.push_back(judgeSized_[i] ? view_->columnWidth(static_cast<int>(i)) : -1);
    Vars().SaveColumnWidths(widths, storeName_);
}

void TColumnFit::Fit() {
    {
        TSizingScope sizing(sizing_);
        for (int i = 0; i <= LastColumn(); ++i) {
            if (IsJudgeSized(i)) continue;
            const int width = std::min(view_->ContentWidth(i), Cap());
            view_->setColumnWidth(i, width);
            if (i == LastColumn()) lastNatural_ = width;
        }
    }
    emit Fitted();
}

void TColumnFit::Widen(int first, int last) {
    bool wider = false;
    {
        TSizingScope sizing(sizing_);
        for (int i = 0; i <= LastColumn(); ++i) {
            if (IsJudgeSized(i)) continue;
            const int wanted = std::min(view_->ContentWidth(i, first, last), Cap());
            const int now = i == LastColumn() ? lastNatural_ : view_->columnWidth(i);
            if (wanted <= now) continue;
            view_->setColumnWidth(i, wanted);
            if (i == LastColumn()) lastNatural_ = wanted;
            wider = true;
        }
    }
    if (wider) emit Fitted();
}

bool TColumnFit::IsJudgeSized(int column) const {
    return column >= 0 && static_cast<size_t>(column) < judgeSized_.size() &&
           judgeSized_[static_cast<size_t>(column)];
}

int TColumnFit::Cap() const {
    return view_->fontMetrics().averageCharWidth() * kCapCharacters;
}

int TColumnFit::NaturalWidth() const {
    int width = 0;
    for (int i = 0; i < LastColumn(); ++i)
        width += view_->columnWidth(i);
    return width + lastNatural_;
}

// The last column follows the list's width, so its notices are never the judge's.
void TColumnFit::OnSectionResized(int column) {
    if (sizing_ || column >= LastColumn()) return;
    judgeSized_[static_cast<size_t>(column)] = true;
}

int TColumnFit::LastColumn() const {
    return static_cast<int>(judgeSized_.size()) - 1;
}

} // namespace zelk::ui
