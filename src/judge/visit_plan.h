// Which records the judgement of one record visits: the candidates of the correspondent's log that the
// confirmation search asks the scripts about, and the earlier records of the own log that the repeat test
// asks about. Every plan visits in file order and the judgement keeps its stop rules, so a plan may leave
// out only records for which the scripts would answer false and show nothing.
#pragma once

#include "logs/qso_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

class TContestLog;

// The records one search visits, in file order: the records of `Records` below `Limit`, all of them or
// only the `PickCount` positions that `Picks` lists (ascending).
struct TRecordVisit {
    const std::vector<TQSORecord>* Records = nullptr;
    const std::uint32_t* Picks = nullptr;
    std::size_t PickCount = 0;
    std::size_t Limit = SIZE_MAX;

    // Calls `visit` with each record in turn until it returns true; true when one did.
    template <class F> bool Until(F&& visit) const {
        if (!Records) return false;
        const std::vector<TQSORecord>& records = *Records;
        const std::size_t end = Limit < records.size() ? Limit : records.size();
        if (!Picks) {
            for (std::size_t i = 0; i < end; ++i)
                if (visit(records[i])) return true;
            return false;
        }
        for (std::size_t k = 0; k < PickCount; ++k) {
            if (Picks[k] >= end) break;
            if (visit(records[Picks[k]])) return true;
        }
        return false;
    }
};

// The plain plan: every record of the correspondent's log, and every record of the own log before the
// one under check.
class TVisitPlan {
  public:
    virtual ~TVisitPlan() = default;
    // The candidates of `theirs` for `record` of the log whose owner is `ownCall`. Reads `theirs`, so it
    // may throw its read error.
    virtual TRecordVisit Candidates(const TContestLog& theirs, const TQSORecord& record,
                                    const std::string& ownCall) const;
    // The records of `own` that the repeat test of `record`, at QSO position `index` (from 0), compares
    // it with.
    virtual TRecordVisit Earlier(const TContestLog& own, const TQSORecord& record, int index) const;
};

} // namespace zelk
