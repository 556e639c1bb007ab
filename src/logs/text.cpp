// Windows-1251 text rules: case tables, trimming, comparison and UTF-8 conversion.
#include "logs/text.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace zelk {
namespace {

constexpr const auto& kHighHalf = kCp1251High;

// Upper-case/lower-case byte pairs outside the plain alphabets.
constexpr std::array<std::pair<unsigned char, unsigned char>, 15> kExtraPairs = {{{0x80, 0x90},
                                                                                  {0x81, 0x83},
                                                                                  {0x8A, 0x9A},
                                                                                  {0x8C, 0x9C},
                                                                                  {0x8D, 0x9D},
                                                                                  {0x8E, 0x9E},
                                                                                  {0x8F, 0x9F},
                                                                                  {0xA1, 0xA2},
                                                                                  {0xA3, 0xBC},
                                                                                  {0xA5, 0xB4},
                                                                                  {0xA8, 0xB8},
                                                                                  {0xAA, 0xBA},
                                                                                  {0xAF, 0xBF},
                                                                                  {0xB2, 0xB3},
                                                                                  {0xBD, 0xBE}}};

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    std::array<unsigned short, 256> order{}; // sort weight of an upper-cased byte
    CaseTables() {
        for (int c = 0; c < 256; ++c) {
            upper[c] = static_cast<unsigned char>(c);
            lower[c] = static_cast<unsigned char>(c);
        }
        auto pair = [this](int up, int low) {
            upper[low] = static_cast<unsigned char>(up);
            lower[up] = static_cast<unsigned char>(low);
        };
        for (int c = 'a'; c <= 'z'; ++c)
            pair(c - 32, c);
        for (int c = 0xE0; c <= 0xFF; ++c)
            pair(c - 32, c);
        for (auto [up, low] : kExtraPairs)
            pair(up, low);
        // Weights: the code itself scaled, with Ё placed between Е and Ж.
        for (int c = 0; c < 256; ++c)
            order[c] = static_cast<unsigned short>(c * 2);
        order[0xA8] = static_cast<unsigned short>(0xC5 * 2 + 1);
    }
};

const CaseTables& Tables() {
    static const CaseTables tables;
    return tables;
}

bool IsTrimmed(unsigned char c) {
    return c <= 32;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`; returns false (and advances by one byte) on a malformed one.
bool DecodeUtf8(std::string_view s, size_t& i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return false;
    }
    if (i + len > s.size()) {
        ++i;
        return false;
    }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return false;
    }
    i += len;
    return true;
}

int FromUnicode(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    for (int k = 0; k < 128; ++k)
        if (kHighHalf[k] == cp) return 0x80 + k;
    return -1;
}

} // namespace

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsTrimmed(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && IsTrimmed(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsTrimmed(static_cast<unsigned char>(s[b])))
        ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsTrimmed(static_cast<unsigned char>(s[e - 1])))
        --e;
    return std::string(s.substr(0, e));
}

unsigned char UpperChar(unsigned char c) {
    return Tables().upper[c];
}
unsigned char LowerChar(unsigned char c) {
    return Tables().lower[c];
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    const auto& t = Tables().upper;
    for (auto& ch : r)
        ch = static_cast<char>(t[static_cast<unsigned char>(ch)]);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    const auto& t = Tables().lower;
    for (auto& ch : r)
        ch = static_cast<char>(t[static_cast<unsigned char>(ch)]);
    return r;
}

int CompareText(std::string_view a, std::string_view b) {
    const auto& t = Tables();
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int wa = t.order[t.upper[static_cast<unsigned char>(a[i])]];
        const int wb = t.order[t.upper[static_cast<unsigned char>(b[i])]];
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto& t = Tables().upper;
    for (size_t i = 0; i < a.size(); ++i)
        if (t[static_cast<unsigned char>(a[i])] != t[static_cast<unsigned char>(b[i])]) return false;
    return true;
}

int CompareStr(std::string_view a, std::string_view b) {
    const int c = a.compare(b); // std::char_traits<char>::compare orders as unsigned char
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void SplitString(std::string_view text, char sep, std::vector<std::string>& list) {
    std::string piece;
    for (char ch : text) {
        if (ch != sep) {
            piece += ch;
            continue;
        }
        std::string trimmed = Trim(piece);
        if (sep != ' ' || !trimmed.empty()) list.push_back(std::move(trimmed));
        piece.clear();
    }
    if (!piece.empty()) list.push_back(piece);
}

std::vector<std::string> SplitString(std::string_view text, char sep) {
    std::vector<std::string> list;
    SplitString(text, sep, list);
    return list;
}

std::string CollapseSpaces(std::string_view text) {
    std::string t = Trim(text);
    std::string r;
    r.reserve(t.size());
    for (char ch : t) {
        if (ch == ' ' && !r.empty() && r.back() == ' ') continue;
        r += ch;
    }
    return r;
}

std::string ItemOrEmpty(const std::vector<std::string>& list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return {};
    return list[static_cast<size_t>(index)];
}

std::string ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char ch : cp1251) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else
            AppendUtf8(out, kHighHalf[c - 0x80]);
    }
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, i, cp)) {
            out += '?';
            continue;
        }
        const int b = FromUnicode(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    char32_t cp = 0;
    while (i < s.size())
        if (!DecodeUtf8(s, i, cp)) return false;
    return true;
}

bool TryStrToInt(std::string_view s, int& value) {
    const std::string t = Trim(s);
    if (t.empty()) return false;
    const char* b = t.data();
    const char* e = t.data() + t.size();
    if (*b == '+') ++b;
    if (b == e || *b == '+' || (*b == '-' && t[0] == '+')) return false;
    long long v = 0;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e || v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

int StrToIntDef(std::string_view s, int def) {
    int v = 0;
    return TryStrToInt(s, v) ? v : def;
}

std::string FormatText(std::string_view fmt, std::string_view arg) {
    std::string r(fmt);
    const auto pos = r.find("%s");
    if (pos != std::string::npos) r.replace(pos, 2, arg);
    return r;
}

std::string FormatText(std::string_view fmt, long long arg) {
    std::string r(fmt);
    const auto pos = r.find("%d");
    if (pos != std::string::npos) r.replace(pos, 2, std::to_string(arg));
    return r;
}

} // namespace zelk
