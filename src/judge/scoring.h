// Scoring one log of the contest without touching the window's lists, and the set of distinct
// multiplier criteria both checks count.
#pragma once

#include "logs/text.h"

#include <set>
#include <string>

namespace zelk {

class TZelkCheckRun;
class TZelkScript;

struct TCaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

// Distinct non-empty criteria, letter case ignored.
class TCriteria {
  public:
    void Add(const std::string& criterion) {
        if (!criterion.empty()) set_.insert(criterion);
    }
    int Count() const { return static_cast<int>(set_.size()); }

  private:
    std::set<std::string, TCaseInsensitiveLess> set_;
};

struct TLogScore {
    int Score = 0;
    int Multi = 0;
    int Total = 0;
};

// Judges every contact of the log at `path` as the contest-wide run does: a missing file or an empty
// CALLSIGN: scores 0 and 0; only contacts with more than 0 points add their criterion.
TLogScore ScoreLog(const std::string& path, TZelkCheckRun& run, TZelkScript& scripts);

} // namespace zelk
