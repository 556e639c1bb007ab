// The hash indexes of the quiet plan and the lookups of the two searches.
#include "judge/key_plan.h"

#include "logs/contest_model.h"
#include "script/judging_scripts.h"

#include <algorithm>
#include <string_view>

namespace zelk {

namespace {

// FNV-1a over the pieces of a key, each with its length, so that no two lists of pieces that differ
// are merely cut differently.
class TKeyHash {
  public:
    void Add(std::string_view piece) {
        Byte(piece.size() & 0xFF);
        Byte((piece.size() >> 8) & 0xFF);
        for (const char c : piece)
            Byte(static_cast<unsigned char>(c));
    }
    std::uint64_t Value() const { return hash_; }

  private:
    void Byte(unsigned char b) {
        hash_ ^= b;
        hash_ *= 0x100000001b3ull;
    }
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

// The hash of the values the other record's fields must hold for the record under check.
std::uint64_t OwnHash(const std::vector<TKeyPart>& keys, const TQSORecord& record,
                      const std::string* ownCall) {
    TKeyHash hash;
    for (const TKeyPart& part : keys) {
        switch (part.Source) {
        case TKeySource::Field:
            hash.Add(RecordText(record, part.Field));
            break;
        case TKeySource::CallSign:
            hash.Add(ownCall ? std::string_view(*ownCall) : std::string_view());
            break;
        case TKeySource::Literal:
            hash.Add(part.Literal);
            break;
        }
    }
    return hash.Value();
}

// The hash of a record as the other record: of its own fields.
std::uint64_t OtherHash(const std::vector<TKeyPart>& keys, const TQSORecord& record) {
    TKeyHash hash;
    for (const TKeyPart& part : keys)
        hash.Add(RecordText(record, part.OtherField));
    return hash.Value();
}

const std::uint32_t kNoPick = 0;

} // namespace

// The positions of a log's records ordered by the hash of their key, positions ascending within a hash.
struct TKeyPlan::TIndex {
    std::once_flag built;
    std::vector<std::uint64_t> hashes;
    std::vector<std::uint32_t> positions;
};

struct TKeyPlan::TLogIndexes {
    TIndex searches[2];
};

TKeyPlan::TKeyPlan(std::vector<TKeyPart> confirmative, std::vector<TKeyPart> duplicate,
                   const std::vector<const TContestLog*>& logs)
    : keys_{std::move(confirmative), std::move(duplicate)} {
    for (const TContestLog* log : logs)
        if (log && !known_.count(log)) known_.emplace(log, std::make_unique<TLogIndexes>());
}

TKeyPlan::~TKeyPlan() = default;

std::unique_ptr<TKeyPlan> TKeyPlan::For(TZelkScript& scripts, const std::vector<const TContestLog*>& logs) {
    auto keysOf = [&scripts](TScriptKind kind) {
        const TZelkScriptItem* item = scripts.FindItem(kind);
        const TScriptShape shape = ShapeOfScript(item->Lines(), true, kind != TScriptKind::IsDuplicate);
        return shape.Quiet ? shape.Keys : std::vector<TKeyPart>();
    };
    return std::make_unique<TKeyPlan>(keysOf(TScriptKind::IsConfirmative), keysOf(TScriptKind::IsDuplicate),
                                      logs);
}

const TKeyPlan::TIndex& TKeyPlan::IndexOf(const TContestLog& log, int search) const {
    TLogIndexes* indexes = nullptr;
    if (const auto it = known_.find(&log); it != known_.end()) {
        indexes = it->second.get();
    } else {
        std::lock_guard<std::mutex> lock(mutex_);
        auto& slot = others_[&log];
        if (!slot) slot = std::make_unique<TLogIndexes>();
        indexes = slot.get();
    }
    TIndex& index = indexes->searches[search];
    std::call_once(index.built, [&] {
        const std::vector<TQSORecord>& records = log.Records();
        std::vector<std::pair<std::uint64_t, std::uint32_t>> entries(records.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            entries[i] = {OtherHash(keys_[search], records[i]), static_cast<std::uint32_t>(i)};
        std::sort(entries.begin(), entries.end());
        index.hashes.resize(entries.size());
        index.positions.resize(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            index.hashes[i] = entries[i].first;
            index.positions[i] = entries[i].second;
        }
    });
    return index;
}

TRecordVisit TKeyPlan::Visit(const TContestLog& log, int search, std::uint64_t hash,
                             std::size_t limit) const {
    const TIndex& index = IndexOf(log, search);
    const auto [lo, hi] = std::equal_range(index.hashes.begin(), index.hashes.end(), hash);
    const std::size_t first = static_cast<std::size_t>(lo - index.hashes.begin());
    const std::size_t count = static_cast<std::size_t>(hi - lo);
    return {&log.Records(), count ? index.positions.data() + first : &kNoPick, count, limit};
}

TRecordVisit TKeyPlan::Candidates(const TContestLog& theirs, const TQSORecord& record,
                                  const std::string& ownCall) const {
    if (keys_[0].empty()) return TVisitPlan::Candidates(theirs, record, ownCall);
    return Visit(theirs, 0, OwnHash(keys_[0], record, &ownCall), SIZE_MAX);
}

TRecordVisit TKeyPlan::Earlier(const TContestLog& own, const TQSORecord& record, int index) const {
    if (keys_[1].empty()) return TVisitPlan::Earlier(own, record, index);
    return Visit(own, 1, OwnHash(keys_[1], record, nullptr), index > 0 ? static_cast<std::size_t>(index) : 0);
}

} // namespace zelk
