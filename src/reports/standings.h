// Places in the standings, shared by the printed standings and the command line: equal totals share a
// place and the places they take are skipped ("1, 2, 2, 4"); a log that could not be judged has no place.
#pragma once

#include <optional>
#include <vector>

namespace zelk {

struct TLogRow;

// The judged total of a log-list row for the standings: its ClaimedScore cell as a number, or nothing
// when the log has no owner callsign (it cannot be judged) or has not been scored ("-").
std::optional<int> StandingsTotal(const TLogRow& row);

// The place of each entry of `totals`, in the same order and whatever that order is: 1 + the number of
// totals greater than its own; 0 for an entry without a total.
std::vector<int> StandingsPlaces(const std::vector<std::optional<int>>& totals);

} // namespace zelk
