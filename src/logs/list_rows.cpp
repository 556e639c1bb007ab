// Cells of the list rows.
#include "logs/list_rows.h"

namespace zelk {

const std::string& TListRow::Cell(size_t i) const {
    static const std::string empty;
    return i < Cells.size() ? Cells[i] : empty;
}

void TListRow::SetCell(size_t i, std::string text) {
    if (Cells.size() <= i) Cells.resize(i + 1);
    Cells[i] = std::move(text);
}

} // namespace zelk
