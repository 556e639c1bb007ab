// TfrVariables: the judging engine's store of named script values. Names compare without regard to
// letter case (Windows-1251, Cyrillic included); an entry keeps the spelling it was first stored with.
// Every name gets a fixed slot the first time it is met; clearing the store only starts a new
// generation, so the clear-and-define cycle of the judging scripts neither allocates nor rehashes.
#pragma once

#include "script/script_value.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

class TfrVariables {
  public:
    // Removes every variable (their slots stay for the next definitions).
    void Clear();
    // Defines `name` (stored as written) or replaces its value.
    void Set(std::string_view name, const ScriptValue& value) { SetAt(Intern(name), name, value); }
    // The value of a defined variable, or nullptr; reading never defines anything.
    const ScriptValue* Find(std::string_view name) const;

    // The slot of `name`, made when the name is new. A slot number stays valid for the store's lifetime.
    int Intern(std::string_view name);
    // The slot of `name` when it has one, else -1.
    int Lookup(std::string_view name) const;
    // The value in a slot when its variable is defined now, else nullptr. Values keep their address.
    const ScriptValue* At(int slot) const {
        if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return nullptr;
        const TSlot& s = *slots_[static_cast<std::size_t>(slot)];
        return s.generation == generation_ ? &s.value : nullptr;
    }
    // Defines or replaces the variable of a slot; a new definition takes `name` as its spelling.
    void SetAt(int slot, std::string_view name, const ScriptValue& value);
    // Defines the variable of a slot like SetAt and hands its value over to be set in place.
    ScriptValue& DefineAt(int slot, std::string_view name);

    // The defined variables in the order they were first stored.
    std::size_t Count() const { return order_.size(); }
    const std::string& NameAt(std::size_t i) const {
        return slots_[static_cast<std::size_t>(order_[i])]->name;
    }
    const ScriptValue& ValueAt(std::size_t i) const {
        return slots_[static_cast<std::size_t>(order_[i])]->value;
    }

  private:
    struct TSlot {
        std::string key; // upper-cased
        std::uint32_t hash = 0;
        std::uint32_t generation = 0; // defined when equal to the store's generation
        std::string name;
        ScriptValue value;
    };
    static const std::array<unsigned char, 256> kUpper;
    static std::uint32_t Hash(std::string_view name);
    bool Matches(const TSlot& slot, std::uint32_t hash, std::string_view name) const;
    void Grow();

    std::vector<std::unique_ptr<TSlot>> slots_; // each slot keeps its address while slots are added
    std::vector<int> table_;                    // open addressing over slots_, -1 for a free cell
    std::vector<int> order_;                    // defined slots in store order
    std::uint32_t generation_ = 1;
};

} // namespace zelk
