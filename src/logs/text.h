// Text rules shared by the whole program: trimming, Windows-1251 letter case, case-insensitive
// comparison, the list helpers of QSO lines, and conversion between Windows-1251 and UTF-8.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// Unicode code points of the bytes 0x80..0xFF of Windows-1251; 0x98, which the code page leaves
// undefined, stands for U+0098 so that every byte converts to a character and back.
inline constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

namespace detail {

// A string literal of the source (UTF-8) converted to Windows-1251 while compiling.
template <std::size_t N> struct Cp1251Literal {
    char data[N]{};
    std::size_t size = 0;
    consteval Cp1251Literal(const char (&utf8)[N]) {
        std::size_t i = 0;
        while (i + 1 < N) {
            const auto b0 = static_cast<unsigned char>(utf8[i]);
            char32_t cp = 0;
            if (b0 < 0x80) {
                cp = b0, i += 1;
            } else if ((b0 & 0xE0) == 0xC0) {
                cp = ((b0 & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F), i += 2;
            } else if ((b0 & 0xF0) == 0xE0) {
                cp = ((b0 & 0x0F) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6) |
                     (static_cast<unsigned char>(utf8[i + 2]) & 0x3F);
                i += 3;
            } else {
                throw "characters outside Windows-1251 in a literal";
            }
            data[size++] = Encode(cp);
        }
    }
    static consteval char Encode(char32_t cp) {
        if (cp < 0x80) return static_cast<char>(cp);
        for (std::size_t k = 0; k < kCp1251High.size(); ++k)
            if (kCp1251High[k] == cp) return static_cast<char>(0x80 + k);
        throw "character outside Windows-1251 in a literal";
    }
};

template <Cp1251Literal L> inline constexpr Cp1251Literal<sizeof(L.data)> kCp1251Storage = L;

} // namespace detail

// "Ошибка"_cp is the Windows-1251 text of the literal; the bytes are made while compiling and the
// string once, on first use.
template <detail::Cp1251Literal L> const std::string& operator""_cp() {
    static const std::string text(detail::kCp1251Storage<L>.data, detail::kCp1251Storage<L>.size);
    return text;
}

// Removes the characters with codes 0 to 32 at both ends.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// Windows-1251 letter case: Latin, Russian, Ukrainian, Belarusian, Serbian and Macedonian letters.
unsigned char UpperChar(unsigned char c);
unsigned char LowerChar(unsigned char c);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

// Case-insensitive comparison; the order puts Ё right after Е, otherwise it follows the code page.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Case-sensitive byte order (unsigned codes).
int CompareStr(std::string_view a, std::string_view b);

// Splits `text` at `sep`: pieces are trimmed; with the blank as separator empty pieces are skipped,
// with any other separator they are kept ("a,,b" gives three pieces). A final piece is kept as it stands.
void SplitString(std::string_view text, char sep, std::vector<std::string>& list);
std::vector<std::string> SplitString(std::string_view text, char sep);
// Trims, then reduces every run of blanks (code 32 only) to one blank.
std::string CollapseSpaces(std::string_view text);
// The element at `index`, or empty text when there is none.
std::string ItemOrEmpty(const std::vector<std::string>& list, int index);

// Windows-1251 to UTF-8 for the screen and the terminal. The undefined byte 0x98 maps to U+0098,
// so every byte value has a character and the conversion can be undone exactly.
std::string ToUtf8(std::string_view cp1251);
// UTF-8 to Windows-1251; characters the code page lacks and invalid sequences become '?'.
std::string FromUtf8(std::string_view utf8);
// True when `s` is well-formed UTF-8.
bool IsValidUtf8(std::string_view s);

// Reads a whole decimal integer (optional blanks around, optional sign); false when `s` is not one
// or does not fit into 32 bits.
bool TryStrToInt(std::string_view s, int& value);
// The integer of `s`, or `def` when it is not one.
int StrToIntDef(std::string_view s, int def);

// Formats like printf with one %s or %d; the single-argument forms used by the program's messages.
std::string FormatText(std::string_view fmt, std::string_view arg);
std::string FormatText(std::string_view fmt, long long arg);

} // namespace zelk
