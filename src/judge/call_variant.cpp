// Callsigns one mistake apart.
#include "judge/call_variant.h"

#include "logs/callsign.h"
#include "logs/text.h"

namespace zelk {

namespace {

// One change, one character dropped or added, or one swap of neighbours turns `a` into `b` (both
// upper-cased, different).
bool OneEditApart(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) std::swap(a, b);
    if (b.size() - a.size() > 1) return false;
    size_t i = 0;
    while (i < a.size() && a[i] == b[i])
        ++i;
    if (a.size() == b.size()) {
        if (a.substr(i + 1) == b.substr(i + 1)) return true; // changed
        return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] && a.substr(i + 2) == b.substr(i + 2);
    }
    return a.substr(i) == b.substr(i + 1); // dropped or added
}

} // namespace

bool IsCallVariant(std::string_view a, std::string_view b) {
    const std::string ua = UpperCase(Trim(a)), ub = UpperCase(Trim(b));
    if (ua.empty() || ub.empty() || ua == ub) return false;
    if (BaseCall(ua) == BaseCall(ub)) return true;
    return OneEditApart(ua, ub);
}

std::vector<std::string> CallVariantKeys(std::string_view call) {
    const std::string upper = UpperCase(Trim(call));
    std::vector<std::string> keys{upper};
    for (size_t i = 0; i < upper.size(); ++i)
        keys.push_back(upper.substr(0, i) + upper.substr(i + 1));
    // The base call apart from the edits, so that "Q1AB" and "Q1AB/QRP" meet.
    keys.push_back("/" + BaseCall(upper));
    return keys;
}

} // namespace zelk
