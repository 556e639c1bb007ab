// Callsigns one mistake apart: what a miscopied call looks like next to the call that was meant (one
// character changed, dropped or added, two neighbours swapped, or a portable or other modifier added or
// left off), and an index that finds the logs whose owners are one mistake away from a call.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

// True when `a` and `b` (letter case ignored) are different texts one mistake apart: one character
// changed, dropped or added, two neighbouring characters swapped, or the same base call with another
// modifier ("Q1AB" and "Q1AB/P").
bool IsCallVariant(std::string_view a, std::string_view b);

// Calls with a value each, found by the calls one mistake away from a given one.
template <class T> class TCallVariantIndex {
  public:
    void Add(std::string_view call, T value);
    // The values of the added calls that are variants of `call` (each once, in the order added).
    std::vector<T> Variants(std::string_view call) const;

  private:
    std::vector<std::pair<std::string, T>> entries_;
    std::unordered_map<std::string, std::vector<size_t>> keys_;
};

// The keys under which a call is filed: the call, the call with each one character left out, and its
// base call. Two variants always share a key.
std::vector<std::string> CallVariantKeys(std::string_view call);

template <class T> void TCallVariantIndex<T>::Add(std::string_view call, T value) {
    const size_t index = entries_.size();
    entries_.emplace_back(std::string(call), std::move(value));
    for (const std::string& key : CallVariantKeys(call)) {
        auto& list = keys_[key];
        if (list.empty() || list.back() != index) list.push_back(index);
    }
}

template <class T> std::vector<T> TCallVariantIndex<T>::Variants(std::string_view call) const {
    std::vector<size_t> hits;
    for (const std::string& key : CallVariantKeys(call)) {
        const auto it = keys_.find(key);
        if (it == keys_.end()) continue;
        for (size_t i : it->second)
            if (IsCallVariant(entries_[i].first, call)) hits.push_back(i);
    }
    std::sort(hits.begin(), hits.end());
    hits.erase(std::unique(hits.begin(), hits.end()), hits.end());
    std::vector<T> out;
    for (size_t i : hits)
        out.push_back(entries_[i].second);
    return out;
}

} // namespace zelk
