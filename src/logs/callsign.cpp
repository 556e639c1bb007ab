// Callsign shapes and base calls.
#include "logs/callsign.h"

#include "logs/text.h"

#include <vector>

namespace zelk {

namespace {

bool IsLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// One piece without "/": prefix, a digit, and a suffix of letters ending the piece.
bool IsBaseShape(std::string_view p) {
    if (p.size() < 3 || p.size() > 10) return false;
    size_t suffix = p.size();
    while (suffix > 0 && IsLetter(p[suffix - 1]))
        --suffix;
    const size_t letters = p.size() - suffix;
    if (letters < 1 || letters > 4 || suffix < 2 || !IsDigit(p[suffix - 1])) return false;
    const std::string_view prefix = p.substr(0, suffix - 1);
    if (prefix.size() > 4) return false;
    bool hasLetter = false;
    for (char c : prefix) {
        if (!IsLetter(c) && !IsDigit(c)) return false;
        hasLetter = hasLetter || IsLetter(c);
    }
    // A prefix of digits only is no prefix ("22A"); "2E0ABC" and "9A1A" have a letter in theirs.
    return hasLetter;
}

bool IsModifier(std::string_view p) {
    if (p.size() == 1 && (IsDigit(p[0]) || IsLetter(p[0]))) return true; // /3, /P, /M, /A
    return p == "MM" || p == "AM" || p == "QRP";
}

// A country prefix written before the call ("Q2/Q1AB"): letters and digits, a letter among them.
bool IsCountryPrefix(std::string_view p) {
    if (p.empty() || p.size() > 4) return false;
    bool hasLetter = false;
    for (char c : p) {
        if (!IsLetter(c) && !IsDigit(c)) return false;
        hasLetter = hasLetter || IsLetter(c);
    }
    return hasLetter;
}

// The pieces between the "/"s, empty ones included ("Q1AB/" has two).
std::vector<std::string_view> Pieces(std::string_view text) {
    std::vector<std::string_view> out;
    size_t from = 0;
    for (;;) {
        const size_t slash = text.find('/', from);
        out.push_back(
            text.substr(from, slash == std::string_view::npos ? std::string_view::npos : slash - from));
        if (slash == std::string_view::npos) return out;
        from = slash + 1;
    }
}

} // namespace

bool IsCallSignShape(std::string_view text) {
    const std::string upper = UpperCase(text);
    for (char c : upper)
        if (!IsLetter(c) && !IsDigit(c) && c != '/') return false;
    const std::vector<std::string_view> pieces = Pieces(upper);
    switch (pieces.size()) {
    case 1:
        return IsBaseShape(pieces[0]);
    case 2:
        return (IsBaseShape(pieces[0]) && IsModifier(pieces[1])) ||
               (IsCountryPrefix(pieces[0]) && IsBaseShape(pieces[1]));
    case 3:
        return IsCountryPrefix(pieces[0]) && IsBaseShape(pieces[1]) && IsModifier(pieces[2]);
    default:
        return false;
    }
}

std::string BaseCall(std::string_view call) {
    const std::string upper = UpperCase(Trim(call));
    std::string best;
    for (std::string_view piece : Pieces(upper))
        if (IsBaseShape(piece) && piece.size() > best.size()) best = piece;
    if (!best.empty()) return best;
    return Trim(upper.substr(0, upper.find('/')));
}

} // namespace zelk
