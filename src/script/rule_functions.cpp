// Band of a frequency, words of an exchange, serial numbers without leading zeros.
#include "script/rule_functions.h"

#include "logs/text.h"

#include <charconv>

namespace zelk {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

struct TBandEdges {
    double Low, High; // kHz, both belonging to the band
    std::string_view Band;
};

// The amateur bands by frequency, the three ITU regions taken together: each band runs from the lowest
// edge any region allocates to the highest, so a contact made legally anywhere falls inside it.
constexpr TBandEdges kBands[] = {
    {1800, 2000, "160"},   // region 1 starts at 1810, regions 2 and 3 at 1800
    {3500, 4000, "80"},    // region 1 ends at 3800, region 3 at 3900, region 2 at 4000
    {5250, 5450, "60"},    // the shared 5351.5-5366.5 and the national channels around it
    {7000, 7300, "40"},    // regions 1 and 3 end at 7200
    {10100, 10150, "30"},  // the same in all three regions
    {14000, 14350, "20"},  // the same in all three regions
    {18068, 18168, "17"},  // the same in all three regions
    {21000, 21450, "15"},  // the same in all three regions
    {24890, 24990, "12"},  // the same in all three regions
    {28000, 29700, "10"},  // the same in all three regions
    {50000, 54000, "6"},   // some region 1 countries stop at 52000
    {69900, 70500, "4"},   // national allocations of region 1
    {144000, 148000, "2"}, // region 1 ends at 146000
};

// The band designators a log writes instead of a frequency from 50 MHz up.
constexpr std::string_view kDesignators[] = {"50",   "70",   "144",  "222",  "432",  "902",
                                             "1.2G", "2.3G", "3.4G", "5.7G", "10G",  "24G",
                                             "47G",  "75G",  "122G", "134G", "241G", "LIGHT"};

// A number of kHz: digits with at most one "." or "," and digits after it, nothing else.
bool ReadKilohertz(std::string_view text, double& khz) {
    std::string number;
    bool point = false;
    for (char c : text) {
        if (IsDigit(c)) {
            number += c;
        } else if ((c == '.' || c == ',') && !point && !number.empty()) {
            point = true;
            number += '.';
        } else {
            return false;
        }
    }
    if (number.empty() || number.back() == '.') return false;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), khz);
    return error == std::errc() && end == number.data() + number.size();
}

} // namespace

std::string BandOfFrequency(std::string_view freq) {
    const std::string text = UpperCase(Trim(freq));
    if (text == "LIGHT") return text;
    std::size_t first = 0;
    while (first < text.size() && !IsDigit(text[first]))
        ++first;
    const std::string_view number = std::string_view(text).substr(first);
    for (std::string_view designator : kDesignators)
        if (number == designator) return std::string(designator);
    double khz = 0;
    if (!ReadKilohertz(number, khz)) return {};
    for (const TBandEdges& band : kBands)
        if (khz >= band.Low && khz <= band.High) return std::string(band.Band);
    return {};
}

std::string WordOf(std::string_view text, int n) {
    if (n < 1) return {};
    std::size_t pos = 0;
    for (int i = 1;; ++i) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        if (pos >= text.size()) return {};
        std::size_t end = pos;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        if (i == n) return std::string(text.substr(pos, end - pos));
        pos = end;
    }
}

std::string WithoutLeadingZeros(std::string_view text) {
    if (text.empty()) return {};
    for (char c : text)
        if (!IsDigit(c)) return std::string(text);
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? "0" : std::string(text.substr(first));
}

} // namespace zelk
