// Lines, code-page conversion and screen characters of the log editor.
#include "logs/editor_text.h"

#include "logs/text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelk {
namespace {

constexpr char16_t kPictures = 0x2400;      // U+2400 SYMBOL FOR NULL .. U+241F SYMBOL FOR UNIT SEPARATOR
constexpr char16_t kDeletePicture = 0x2421; // SYMBOL FOR DELETE
constexpr char16_t kUndefinedPicture = 0xFFFD;

// Characters of the bytes 0x80..0xFF with their bytes, sorted by character for the reverse look-up.
using TReverseTable = std::array<std::pair<char16_t, unsigned char>, 128>;

const TReverseTable& ReverseHigh() {
    static const TReverseTable table = [] {
        TReverseTable t{};
        for (size_t i = 0; i < kCp1251High.size(); ++i)
            t[i] = {kCp1251High[i], static_cast<unsigned char>(0x80 + i)};
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

} // namespace

std::vector<std::string> SplitEditorLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        size_t end = lf;
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.emplace_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

std::string JoinEditorLines(const std::vector<std::string>& lines) {
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string Dos866ToWin1251(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0xAF)
            ch = static_cast<char>(c + 0x40);
        else if (c >= 0xE0 && c <= 0xEF)
            ch = static_cast<char>(c + 0x10);
    }
    return out;
}

char16_t EditorChar(unsigned char byte) {
    if (byte == '\t') return u'\t';
    if (byte < 0x20) return static_cast<char16_t>(kPictures + byte);
    if (byte == 0x7F) return kDeletePicture;
    if (byte == 0x98) return kUndefinedPicture;
    if (byte < 0x80) return byte;
    return kCp1251High[byte - 0x80];
}

int EditorByte(char32_t ch) {
    if (ch < 0x80) return static_cast<int>(ch);
    if (ch >= kPictures && ch < kPictures + 0x20) return static_cast<int>(ch - kPictures);
    if (ch == kDeletePicture) return 0x7F;
    if (ch == kUndefinedPicture) return 0x98;
    if (ch > 0xFFFF) return -1;
    const auto& table = ReverseHigh();
    const auto key = static_cast<char16_t>(ch);
    const auto it = std::lower_bound(table.begin(), table.end(), key,
                                     [](const auto& entry, char16_t c) { return entry.first < c; });
    if (it == table.end() || it->first != key) return -1;
    return it->second;
}

} // namespace zelk
