// The hash indexes of the quiet plan and the lookups of the two searches.
#include "judge/key_plan.h"

#include "logs/contest_model.h"
#include "script/judging_scripts.h"

namespace zelk {

namespace {

// Appends a piece of a key so that no two different lists of pieces make the same key.
void AddPiece(std::string& key, const std::string& piece) {
    const auto size = static_cast<std::uint32_t>(piece.size());
    key.append(reinterpret_cast<const char*>(&size), sizeof size);
    key += piece;
}

// The key of the record under check: the values the other record's fields must hold.
void OwnKey(const std::vector<TKeyPart>& keys, const TQSORecord& record, const std::string* ownCall,
            std::string& key) {
    key.clear();
    for (const TKeyPart& part : keys) {
        switch (part.Source) {
        case TKeySource::Field:
            AddPiece(key, RecordText(record, part.Field));
            break;
        case TKeySource::CallSign:
            AddPiece(key, ownCall ? *ownCall : std::string());
            break;
        case TKeySource::Literal:
            AddPiece(key, part.Literal);
            break;
        }
    }
}

// The key of a record as the other record: its own fields.
void OtherKey(const std::vector<TKeyPart>& keys, const TQSORecord& record, std::string& key) {
    key.clear();
    for (const TKeyPart& part : keys)
        AddPiece(key, RecordText(record, part.OtherField));
}

const std::vector<std::size_t>& NoPicks() {
    static const std::vector<std::size_t> none;
    return none;
}

} // namespace

struct TKeyPlan::TIndex {
    std::once_flag built;
    std::unordered_map<std::string, std::vector<std::size_t>> buckets; // ascending record indexes
};

TKeyPlan::TKeyPlan(std::vector<TKeyPart> confirmative, std::vector<TKeyPart> duplicate)
    : keys_{std::move(confirmative), std::move(duplicate)} {}

TKeyPlan::~TKeyPlan() = default;

std::unique_ptr<TKeyPlan> TKeyPlan::For(TZelkScript& scripts) {
    auto keysOf = [&scripts](TScriptKind kind) {
        const TZelkScriptItem* item = scripts.FindItem(kind);
        const TScriptShape shape = ShapeOfScript(item->Lines(), true, kind != TScriptKind::IsDuplicate);
        return shape.Quiet ? shape.Keys : std::vector<TKeyPart>();
    };
    return std::make_unique<TKeyPlan>(keysOf(TScriptKind::IsConfirmative), keysOf(TScriptKind::IsDuplicate));
}

const TKeyPlan::TIndex& TKeyPlan::IndexOf(const TContestLog& log, int search) const {
    TIndex* index = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto& slot = indexes_[search][&log];
        if (!slot) slot = std::make_unique<TIndex>();
        index = slot.get();
    }
    std::call_once(index->built, [&] {
        const std::vector<TQSORecord>& records = log.Records();
        std::string key;
        for (std::size_t i = 0; i < records.size(); ++i) {
            OtherKey(keys_[search], records[i], key);
            index->buckets[key].push_back(i);
        }
    });
    return *index;
}

TRecordVisit TKeyPlan::Candidates(const TContestLog& theirs, const TQSORecord& record,
                                  const std::string& ownCall) const {
    if (keys_[0].empty()) return TVisitPlan::Candidates(theirs, record, ownCall);
    const TIndex& index = IndexOf(theirs, 0);
    thread_local std::string key;
    OwnKey(keys_[0], record, &ownCall, key);
    const auto it = index.buckets.find(key);
    return {&theirs.Records(), it == index.buckets.end() ? &NoPicks() : &it->second, SIZE_MAX};
}

TRecordVisit TKeyPlan::Earlier(const TContestLog& own, const TQSORecord& record, int index) const {
    if (keys_[1].empty()) return TVisitPlan::Earlier(own, record, index);
    const TIndex& byKey = IndexOf(own, 1);
    thread_local std::string key;
    OwnKey(keys_[1], record, nullptr, key);
    const auto it = byKey.buckets.find(key);
    return {&own.Records(), it == byKey.buckets.end() ? &NoPicks() : &it->second,
            index > 0 ? static_cast<std::size_t>(index) : 0};
}

} // namespace zelk
