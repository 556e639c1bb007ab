// The variable store: a small open-addressing hash of case-folded names over slots that live as long
// as the store, with a generation number telling which slots are defined now.
#include "script/script_variables.h"

#include "logs/text.h"

namespace zelk {

// The upper-case table of the code page, so that hashing a name costs no call per character.
const std::array<unsigned char, 256> TfrVariables::kUpper = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = UpperChar(static_cast<unsigned char>(c));
    return table;
}();

// Script names are short and differ mostly in length and at their ends (Freq, Freq2, Call, CallSign),
// so the length and the first and last two letters make a good and cheap hash.
std::uint32_t TfrVariables::Hash(std::string_view name) {
    const std::size_t n = name.size();
    std::uint32_t h = 2166136261u ^ static_cast<std::uint32_t>(n);
    if (n > 0) {
        const std::size_t picks[4] = {0, n > 1 ? std::size_t{1} : 0, n > 2 ? n - 2 : 0, n - 1};
        for (const std::size_t i : picks)
            h = (h ^ kUpper[static_cast<unsigned char>(name[i])]) * 16777619u;
    }
    return h ^ (h >> 15);
}

bool TfrVariables::Matches(const TSlot& slot, std::uint32_t hash, std::string_view name) const {
    if (slot.hash != hash || slot.key.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (static_cast<unsigned char>(slot.key[i]) != kUpper[static_cast<unsigned char>(name[i])])
            return false;
    return true;
}

void TfrVariables::Clear() {
    order_.clear();
    if (++generation_ == 0) { // after four billion clears: start the count again
        for (auto& s : slots_)
            s->generation = 0;
        generation_ = 1;
    }
}

int TfrVariables::Lookup(std::string_view name) const {
    if (table_.empty()) return -1;
    const std::uint32_t h = Hash(name);
    const std::size_t mask = table_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const int s = table_[i];
        if (s < 0) return -1;
        if (Matches(*slots_[static_cast<std::size_t>(s)], h, name)) return s;
    }
}

int TfrVariables::Intern(std::string_view name) {
    if (const int s = Lookup(name); s >= 0) return s;
    if ((slots_.size() + 1) * 2 > table_.size()) Grow();
    TSlot& slot = *slots_.emplace_back(std::make_unique<TSlot>());
    slot.key = UpperCase(name);
    slot.hash = Hash(name);
    const int index = static_cast<int>(slots_.size() - 1);
    const std::size_t mask = table_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (table_[i] >= 0)
        i = (i + 1) & mask;
    table_[i] = index;
    return index;
}

void TfrVariables::Grow() {
    std::vector<int> table(table_.empty() ? 64 : table_.size() * 2, -1);
    const std::size_t mask = table.size() - 1;
    for (std::size_t s = 0; s < slots_.size(); ++s) {
        std::size_t i = slots_[s]->hash & mask;
        while (table[i] >= 0)
            i = (i + 1) & mask;
        table[i] = static_cast<int>(s);
    }
    table_ = std::move(table);
}

const ScriptValue* TfrVariables::Find(std::string_view name) const {
    return At(Lookup(name));
}

void TfrVariables::SetAt(int slot, std::string_view name, const ScriptValue& value) {
    DefineAt(slot, name) = value;
}

ScriptValue& TfrVariables::DefineAt(int slot, std::string_view name) {
    TSlot& s = *slots_[static_cast<std::size_t>(slot)];
    if (s.generation != generation_) {
        s.generation = generation_;
        if (s.name != name) s.name.assign(name);
        order_.push_back(slot);
    }
    return s.value;
}

} // namespace zelk
