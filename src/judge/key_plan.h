// TKeyPlan: the visits of quiet pair scripts. When the script set's IsConfirmative or IsDuplicate needs
// equalities between fields of the other record and values of the record under check for every true
// answer, the search visits only the records whose fields hash as those values do, found through an
// index of each log built once per run, in file order. A record that shares the hash but not the values
// is visited as well, which is harmless: the script answers false for it and shows nothing, as it would
// in the full scan. A script without such equalities is asked about every record, as the plain plan
// does.
#pragma once

#include "judge/visit_plan.h"
#include "script/script_shape.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelk {

class TZelkScript;

class TKeyPlan : public TVisitPlan {
  public:
    // `confirmative` and `duplicate`: the equalities of IsConfirmative and IsDuplicate (none for a full
    // scan of that search). `logs`: the logs the run will search, so that finding their indexes needs no
    // lock; other logs are found too, under a lock.
    TKeyPlan(std::vector<TKeyPart> confirmative, std::vector<TKeyPart> duplicate,
             const std::vector<const TContestLog*>& logs = {});
    ~TKeyPlan() override;

    // The plan of `scripts` as their texts stand: a script that is not quiet gets no equalities.
    static std::unique_ptr<TKeyPlan> For(TZelkScript& scripts,
                                         const std::vector<const TContestLog*>& logs = {});

    // True when neither search can skip a record.
    bool Plain() const { return keys_[0].empty() && keys_[1].empty(); }

    TRecordVisit Candidates(const TContestLog& theirs, const TQSORecord& record,
                            const std::string& ownCall) const override;
    TRecordVisit Earlier(const TContestLog& own, const TQSORecord& record, int index) const override;

  private:
    struct TIndex;
    struct TLogIndexes;
    // The index of `log` by the other-record fields of search `search` (0 confirmation, 1 repeat),
    // built on first use; safe from several threads at once.
    const TIndex& IndexOf(const TContestLog& log, int search) const;
    TRecordVisit Visit(const TContestLog& log, int search, std::uint64_t hash, std::size_t limit) const;

    std::vector<TKeyPart> keys_[2];
    std::unordered_map<const TContestLog*, std::unique_ptr<TLogIndexes>> known_; // fixed after construction
    mutable std::mutex mutex_;
    mutable std::unordered_map<const TContestLog*, std::unique_ptr<TLogIndexes>> others_;
};

} // namespace zelk
