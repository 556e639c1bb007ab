// Places in the standings.
#include "reports/standings.h"

#include "logs/list_rows.h"
#include "logs/text.h"

#include <algorithm>
#include <functional>

namespace zelk {

std::optional<int> StandingsTotal(const TLogRow& row) {
    if (row.ImageIndex == imgLogNoCall) return std::nullopt;
    int total = 0;
    if (!TryStrToInt(row.Cell(2), total)) return std::nullopt;
    return total;
}

std::vector<int> StandingsPlaces(const std::vector<std::optional<int>>& totals) {
    std::vector<int> judged;
    for (const auto& total : totals)
        if (total) judged.push_back(*total);
    std::sort(judged.begin(), judged.end(), std::greater<>());
    std::vector<int> places;
    places.reserve(totals.size());
    for (const auto& total : totals) {
        if (!total) {
            places.push_back(0);
            continue;
        }
        const auto first = std::lower_bound(judged.begin(), judged.end(), *total, std::greater<>());
        places.push_back(static_cast<int>(first - judged.begin()) + 1);
    }
    return places;
}

} // namespace zelk
