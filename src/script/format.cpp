// Numbers and date-times as text and back; the pattern languages are described in docs/format-patterns.md.
#include "script/format.h"

#include "logs/error.h"
#include "logs/text.h"
#include "script/script_value.h"
#include "script/user_locale.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace zelk {

// ---- Calendar ----

namespace calendar {
namespace {

constexpr int kUnixEpochDays = 25569; // 1 January 1970

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const auto dayOfYear =
        static_cast<unsigned>((153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1);
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097LL + static_cast<long long>(dayOfEra) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(z - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yearOfEra) + era * 400 + (month <= 2));
}

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryDaysFromDate(int year, int month, int day, int& days) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    days = static_cast<int>(DaysFromCivil(year, month, day) + kUnixEpochDays);
    return true;
}

void DateFromDays(int days, int& year, int& month, int& day) {
    CivilFromDays(static_cast<long long>(days) - kUnixEpochDays, year, month, day);
}

bool TrySplitDateTime(double value, TDateTimeParts& parts) {
    if (!std::isfinite(value) || value <= kMinDays - 1.0 || value >= kMaxDays + 1.0) return false;
    // Rounded to the millisecond as a whole, so 23:59:59.9996 becomes the next midnight.
    const long long total = std::llround(value * static_cast<double>(kMsPerDay));
    const long long day = total / kMsPerDay;
    if (day < kMinDays || day > kMaxDays) return false;
    const long long ms = std::llabs(total) % kMsPerDay;
    parts.Days = static_cast<int>(day);
    DateFromDays(parts.Days, parts.Year, parts.Month, parts.Day);
    parts.TimeMs = static_cast<int>(ms);
    parts.Hour = static_cast<int>(ms / 3600000);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    parts.DayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7) + 1; // day 0 was a Saturday
    return true;
}

double JoinDateTime(int days, double time) {
    return days >= 0 ? days + time : days - time;
}

} // namespace calendar

namespace {

using namespace calendar;

// ---- Decimal digits of a double ----

// value = digits[0].digits[1..] x 10^exponent; no digits means zero. Trailing zeros are dropped.
struct TDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void StripTrailingZeros(TDecimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

TDecimal ParseScientific(const char* p, const char* end) {
    TDecimal d;
    if (*p == '-') d.negative = true, ++p;
    for (; p < end && *p != 'e'; ++p)
        if (*p != '.') d.digits += *p;
    if (p < end) {
        ++p;
        if (p < end && *p == '+') ++p;
        std::from_chars(p, end, d.exponent);
    }
    StripTrailingZeros(d);
    return d;
}

// The digits of a finite value: the shortest that read back exactly, or 15 rounded ones when the
// shortest need more.
TDecimal Decimal15(double value) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    TDecimal d = ParseScientific(buf, r.ptr);
    if (d.digits.size() > 15) {
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
        d = ParseScientific(buf, r.ptr);
    }
    return d;
}

// Keeps `keep` significant digits, rounding a half away from zero.
void RoundDigits(TDecimal& d, int keep) {
    if (d.digits.empty() || keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        d.exponent = 0;
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i < 0) {
            d.digits.insert(0, "1");
            ++d.exponent;
        } else {
            ++d.digits[i];
        }
    }
    StripTrailingZeros(d);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
    if (word.empty() || s.size() - at < word.size()) return false;
    return SameText(s.substr(at, word.size()), word);
}

// The decimal magnitude (exponent of the leading digit) of a number text "[-]digits[.digits][e[-]digits]"
// that is not zero.
long long Magnitude(std::string_view number) {
    if (!number.empty() && number.front() == '-') number.remove_prefix(1);
    const size_t e = number.find('e');
    const std::string_view mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (r.ec != std::errc()) exponent = digits.front() == '-' ? -1000000 : 1000000;
    }
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) return -1000000;
    const long long position = first < point ? static_cast<long long>(point - first - 1)
                                             : static_cast<long long>(point) - static_cast<long long>(first);
    return position + exponent;
}

// ---- FormatFloat ----

enum class TFloatItem : std::uint8_t { IntDigit, FracDigit, Point, Exponent, Literal };

struct TFloatSection {
    std::vector<std::pair<TFloatItem, std::string>> items;
    int intPlaces = 0, fracPlaces = 0, minInt = 0, minFrac = 0;
    bool grouping = false;
    bool scientific = false;
    char expChar = 'E';
    bool expPlus = false;
    int expDigits = 0;

    void Literal(std::string_view text) {
        if (!items.empty() && items.back().first == TFloatItem::Literal)
            items.back().second += text;
        else
            items.emplace_back(TFloatItem::Literal, std::string(text));
    }
};

// Splits a pattern at ";" outside quoted text.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    char quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

TFloatSection ParseFloatSection(std::string_view s) {
    TFloatSection f;
    bool point = false;
    int firstIntZero = -1;
    int lastFracZero = -1;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"' || c == '\'') {
            const size_t close = std::min(s.find(c, i + 1), s.size());
            f.Literal(s.substr(i + 1, close - i - 1));
            i = close;
        } else if (f.scientific) {
            f.Literal(s.substr(i, 1)); // everything after the exponent is text
        } else if (c == '0' || c == '#') {
            if (!point) {
                if (c == '0' && firstIntZero < 0) firstIntZero = f.intPlaces;
                f.items.emplace_back(TFloatItem::IntDigit, "");
                ++f.intPlaces;
            } else {
                if (c == '0') lastFracZero = f.fracPlaces;
                f.items.emplace_back(TFloatItem::FracDigit, "");
                ++f.fracPlaces;
            }
        } else if (c == '.') {
            if (!point) f.items.emplace_back(TFloatItem::Point, "");
            point = true;
        } else if (c == ',') {
            f.grouping |= !point;
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            f.scientific = true;
            f.expChar = c;
            f.expPlus = s[i + 1] == '+';
            i += 2;
            while (i < s.size() && s[i] == '0')
                ++f.expDigits, ++i;
            --i;
            f.items.emplace_back(TFloatItem::Exponent, "");
        } else {
            f.Literal(s.substr(i, 1));
        }
    }
    f.minInt = firstIntZero < 0 ? 0 : f.intPlaces - firstIntZero;
    f.minFrac = lastFracZero + 1;
    return f;
}

struct TShownNumber {
    std::string intDigits, fracDigits;
    int exponent = 0;
    bool zero = true;
};

// The digits that a section shows for a magnitude (value >= 0), rounded to the section's places.
TShownNumber ShapeNumber(const TFloatSection& f, double magnitude) {
    TDecimal d = Decimal15(magnitude);
    TShownNumber r;
    const auto digitAt = [&d](int index) {
        return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0';
    };
    int intCount = 0, fracStart = 0;
    if (f.scientific) {
        RoundDigits(d, std::max(1, f.intPlaces + f.fracPlaces));
        intCount = f.intPlaces;
        r.exponent = d.digits.empty() ? 0 : d.exponent + 1 - f.intPlaces;
        fracStart = f.intPlaces;
    } else {
        RoundDigits(d, d.exponent + 1 + f.fracPlaces);
        intCount = d.digits.empty() ? 0 : std::max(0, d.exponent + 1);
        fracStart = d.exponent + 1;
    }
    r.zero = d.digits.empty();
    for (int k = 0; k < intCount; ++k)
        r.intDigits += digitAt(k);
    if (!r.zero)
        for (int k = 0; k < f.fracPlaces; ++k)
            r.fracDigits += digitAt(fracStart + k);
    while (static_cast<int>(r.fracDigits.size()) > f.minFrac && r.fracDigits.back() == '0')
        r.fracDigits.pop_back();
    if (static_cast<int>(r.fracDigits.size()) < f.minFrac) r.fracDigits.resize(f.minFrac, '0');
    if (static_cast<int>(r.intDigits.size()) < f.minInt)
        r.intDigits.insert(0, f.minInt - r.intDigits.size(), '0');
    return r;
}

// Places the digits into the section: integer digits without a placeholder of their own go to the
// first one, the decimal separator appears only before shown fraction digits.
std::string EmitFloatSection(const TFloatSection& f, const TShownNumber& v, const TUserLocale& locale) {
    std::string out;
    const std::string& digits = v.intDigits;
    const int count = static_cast<int>(digits.size());
    const auto put = [&](int j) {
        out += digits[j];
        const int rest = count - 1 - j;
        if (f.grouping && rest > 0 && rest % 3 == 0) out += locale.ThousandSeparator;
    };
    const int lead = count - f.intPlaces;
    int intIndex = 0, fracIndex = 0;
    for (const auto& [kind, text] : f.items) {
        switch (kind) {
        case TFloatItem::IntDigit:
            if (intIndex == 0)
                for (int j = 0; j < lead; ++j)
                    put(j);
            if (intIndex + lead >= 0) put(intIndex + lead);
            ++intIndex;
            break;
        case TFloatItem::Point:
            if (f.intPlaces == 0)
                for (int j = 0; j < count; ++j)
                    put(j);
            if (!v.fracDigits.empty()) out += locale.DecimalSeparator;
            break;
        case TFloatItem::FracDigit:
            if (fracIndex < static_cast<int>(v.fracDigits.size())) out += v.fracDigits[fracIndex];
            ++fracIndex;
            break;
        case TFloatItem::Exponent: {
            out += f.expChar;
            if (v.exponent < 0)
                out += '-';
            else if (f.expPlus)
                out += '+';
            const std::string e = std::to_string(std::abs(v.exponent));
            if (static_cast<int>(e.size()) < f.expDigits) out.append(f.expDigits - e.size(), '0');
            out += e;
            break;
        }
        case TFloatItem::Literal:
            out += text;
            break;
        }
    }
    return out;
}

// ---- Reading dates and times ----

struct TScanner {
    std::string_view s;
    size_t i = 0;

    void SkipBlanks() {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
    }
    bool AtEnd() const { return i >= s.size(); }
    bool Take(char c) {
        if (i < s.size() && s[i] == c) return ++i, true;
        return false;
    }
    // A run of 1 to `maxDigits` digits.
    bool Number(int& value, int& digits, int maxDigits) {
        value = 0;
        digits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            if (++digits > maxDigits) return false;
            value = value * 10 + (s[i++] - '0');
        }
        return digits > 0;
    }
};

enum class TDateOrder { DMY, MDY, YMD };

// The order of day, month and year in a date pattern, by their first letters.
TDateOrder DateOrder(std::string_view pattern) {
    char quote = 0;
    for (char c : pattern) {
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') quote = c;
        switch (Lower(c)) {
        case 'm':
            return TDateOrder::MDY;
        case 'y':
            return TDateOrder::YMD;
        case 'd':
            return TDateOrder::DMY;
        default:
            break;
        }
    }
    return TDateOrder::DMY;
}

// The locale's date separator, or a separator written into its short date pattern.
bool IsDateSeparator(char c, const TUserLocale& locale) {
    if (c == locale.DateSeparator) return true;
    if (IsDigit(c) || IsBlank(c) || c == '"' || c == '\'' || (Lower(c) >= 'a' && Lower(c) <= 'z'))
        return false;
    return locale.ShortDateFormat.find(c) != std::string::npos;
}

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

bool ScanDate(TScanner& sc, const TUserLocale& locale, int& days) {
    int value[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    sc.SkipBlanks();
    if (!sc.Number(value[0], digits[0], 4)) return false;
    for (count = 1; count < 3; ++count) {
        const size_t before = sc.i;
        sc.SkipBlanks();
        // The year-month-day form may also use "-", as record dates do (2005-02-12).
        const bool isoDash = digits[0] >= 3 && !sc.AtEnd() && sc.s[sc.i] == '-';
        if (sc.AtEnd() || !(isoDash || IsDateSeparator(sc.s[sc.i], locale))) {
            sc.i = before;
            break;
        }
        ++sc.i;
        sc.SkipBlanks();
        if (!sc.Number(value[count], digits[count], 4)) return false;
    }
    if (count < 2) return false;
    const TDateOrder order = DateOrder(locale.ShortDateFormat);
    int year = 0, month = 0, day = 0, yearDigits = 4;
    if (count == 2) {
        year = CurrentYear();
        month = order == TDateOrder::DMY ? value[1] : value[0];
        day = order == TDateOrder::DMY ? value[0] : value[1];
    } else if (digits[0] >= 3 || order == TDateOrder::YMD) {
        year = value[0], month = value[1], day = value[2], yearDigits = digits[0];
    } else if (order == TDateOrder::MDY) {
        month = value[0], day = value[1], year = value[2], yearDigits = digits[2];
    } else {
        day = value[0], month = value[1], year = value[2], yearDigits = digits[2];
    }
    if (yearDigits <= 2) year += year < 50 ? 2000 : 1900;
    return TryDaysFromDate(year, month, day, days);
}

bool TakeTimeSeparator(TScanner& sc, const TUserLocale& locale) {
    return sc.Take(locale.TimeSeparator) || sc.Take(':');
}

// 0 without a marker, 1 for AM, 2 for PM; the marker must end the word.
int TakeAmPm(TScanner& sc, const TUserLocale& locale) {
    const std::string_view words[4] = {locale.TimeAMString, locale.TimePMString, "AM", "PM"};
    for (int k = 0; k < 4; ++k) {
        const size_t end = sc.i + words[k].size();
        if (StartsWithNoCase(sc.s, sc.i, words[k]) && (end >= sc.s.size() || IsBlank(sc.s[end]))) {
            sc.i = end;
            return k % 2 + 1;
        }
    }
    return 0;
}

bool ScanTime(TScanner& sc, const TUserLocale& locale, double& fraction) {
    int hour = 0, minute = 0, second = 0, ms = 0, digits = 0;
    sc.SkipBlanks();
    if (!sc.Number(hour, digits, 2) || !TakeTimeSeparator(sc, locale) || !sc.Number(minute, digits, 2))
        return false;
    if (TakeTimeSeparator(sc, locale)) {
        if (!sc.Number(second, digits, 2)) return false;
        if (sc.Take('.') || sc.Take(locale.DecimalSeparator)) {
            if (!sc.Number(ms, digits, 3)) return false;
            for (; digits < 3; ++digits)
                ms *= 10;
        }
    }
    sc.SkipBlanks();
    if (const int marker = TakeAmPm(sc, locale)) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (marker == 2 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59) return false;
    fraction = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + ms) / static_cast<double>(kMsPerDay);
    return true;
}

// ---- FormatDateTime ----

constexpr std::string_view kShortMonths[12] = {"янв"_cp, "фев"_cp, "мар"_cp, "апр"_cp, "май"_cp, "июн"_cp,
                                               "июл"_cp, "авг"_cp, "сен"_cp, "окт"_cp, "ноя"_cp, "дек"_cp};
constexpr std::string_view kLongMonths[12] = {"январь"_cp,   "февраль"_cp, "март"_cp,   "апрель"_cp,
                                              "май"_cp,      "июнь"_cp,    "июль"_cp,   "август"_cp,
                                              "сентябрь"_cp, "октябрь"_cp, "ноябрь"_cp, "декабрь"_cp};
// After a day number ("12 февраля") Russian takes the month in the genitive.
constexpr std::string_view kGenitiveMonths[12] = {"января"_cp,   "февраля"_cp, "марта"_cp,  "апреля"_cp,
                                                  "мая"_cp,      "июня"_cp,    "июля"_cp,   "августа"_cp,
                                                  "сентября"_cp, "октября"_cp, "ноября"_cp, "декабря"_cp};
constexpr std::string_view kShortDays[7] = {"вс"_cp, "пн"_cp, "вт"_cp, "ср"_cp, "чт"_cp, "пт"_cp, "сб"_cp};
constexpr std::string_view kLongDays[7] = {"воскресенье"_cp, "понедельник"_cp, "вторник"_cp, "среда"_cp,
                                           "четверг"_cp,     "пятница"_cp,     "суббота"_cp};

// The hour is written on the 12-hour clock when the pattern has an am/pm marker.
bool HasAmPm(std::string_view pattern) {
    char quote = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (StartsWithNoCase(pattern, i, "am/pm") || StartsWithNoCase(pattern, i, "a/p") ||
                   StartsWithNoCase(pattern, i, "ampm")) {
            return true;
        }
    }
    return false;
}

// The long time pattern without its seconds (and milliseconds): "hh:nn:ss" gives "hh:nn".
std::string ShortTimePattern(const TUserLocale& locale) {
    std::string p = locale.LongTimeFormat;
    size_t start = p.find_first_of("sS");
    if (start == std::string::npos) return p;
    size_t end = start;
    while (end < p.size() && Lower(p[end]) == 's')
        ++end;
    if (end + 1 < p.size() && (p[end] == '.' || p[end] == locale.DecimalSeparator) &&
        Lower(p[end + 1]) == 'z') {
        ++end;
        while (end < p.size() && Lower(p[end]) == 'z')
            ++end;
    }
    if (start > 0 && (p[start - 1] == ':' || p[start - 1] == locale.TimeSeparator)) --start;
    p.erase(start, end - start);
    return p;
}

class TDateTimeWriter {
  public:
    TDateTimeWriter(const TDateTimeParts& parts, const TUserLocale& locale, std::string& out)
        : p_(parts), locale_(locale), out_(out) {}

    void Write(std::string_view pattern, int depth);
    // "c": the short date and the long time, each left out where it says nothing.
    void WriteDefault(int depth) {
        const bool date = p_.Days != 0 || p_.TimeMs == 0;
        if (date) Write(locale_.ShortDateFormat, depth);
        if (p_.TimeMs == 0) return;
        if (date) out_ += ' ';
        Write(locale_.LongTimeFormat, depth);
    }

  private:
    void Number(int value, int width) {
        const std::string s = std::to_string(value);
        if (static_cast<int>(s.size()) < width) out_.append(width - s.size(), '0');
        out_ += s;
    }

    const TDateTimeParts& p_;
    const TUserLocale& locale_;
    std::string& out_;
};

void TDateTimeWriter::Write(std::string_view pattern, int depth) {
    if (depth > 3) return; // a locale pattern that names itself
    const bool twelveHour = HasAmPm(pattern);
    bool afterHour = false, dayShown = false;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lc = Lower(c);
        if (c == '"' || c == '\'') {
            const size_t close = std::min(pattern.find(c, i + 1), pattern.size());
            out_ += pattern.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == lc)
            ++run;
        switch (lc) {
        case 'c':
            run = 1;
            WriteDefault(depth + 1);
            break;
        case 'd':
            if (run <= 2) {
                Number(p_.Day, run == 2 ? 2 : 0);
                dayShown = true;
            } else if (run == 3) {
                out_ += kShortDays[p_.DayOfWeek - 1];
            } else if (run == 4) {
                out_ += kLongDays[p_.DayOfWeek - 1];
            } else {
                Write(locale_.ShortDateFormat, depth + 1);
            }
            break;
        case 'm':
            if (afterHour && run <= 2)
                Number(p_.Minute, run == 2 ? 2 : 0);
            else if (run <= 2)
                Number(p_.Month, run == 2 ? 2 : 0);
            else if (run == 3)
                out_ += kShortMonths[p_.Month - 1];
            else
                out_ += (dayShown ? kGenitiveMonths : kLongMonths)[p_.Month - 1];
            break;
        case 'y':
            if (run <= 2)
                Number(p_.Year % 100, 2);
            else
                Number(p_.Year, 4);
            break;
        case 'h': {
            const int hour = twelveHour ? (p_.Hour % 12 == 0 ? 12 : p_.Hour % 12) : p_.Hour;
            Number(hour, run >= 2 ? 2 : 0);
            break;
        }
        case 'n':
            Number(p_.Minute, run >= 2 ? 2 : 0);
            break;
        case 's':
            Number(p_.Second, run >= 2 ? 2 : 0);
            break;
        case 'z':
            Number(p_.Millisecond, run >= 3 ? 3 : 0);
            break;
        case 't':
            if (run == 1)
                Write(ShortTimePattern(locale_), depth + 1);
            else
                Write(locale_.LongTimeFormat, depth + 1);
            break;
        case 'a':
            run = 1;
            if (StartsWithNoCase(pattern, i, "am/pm")) {
                out_ += pattern.substr(p_.Hour < 12 ? i : i + 3, 2);
                run = 5;
            } else if (StartsWithNoCase(pattern, i, "a/p")) {
                out_ += pattern[p_.Hour < 12 ? i : i + 2];
                run = 3;
            } else if (StartsWithNoCase(pattern, i, "ampm")) {
                out_ += p_.Hour < 12 ? locale_.TimeAMString : locale_.TimePMString;
                run = 4;
            } else {
                out_ += c;
            }
            i += run;
            continue; // a marker does not end the hour that a following "m" refers to
        case '/':
            run = 1;
            out_ += locale_.DateSeparator;
            break;
        case ':':
            run = 1;
            out_ += locale_.TimeSeparator;
            i += run;
            continue;
        default:
            run = 1;
            out_ += c;
            i += run;
            continue; // plain text between "h" and "m" keeps "m" the minutes
        }
        afterHour = lc == 'h';
        i += run;
    }
}

} // namespace

// ---- Public functions ----

std::string FloatToText(double value) {
    return FloatToText(value, UserLocale().DecimalSeparator);
}

std::string FloatToText(double value, char decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    const TDecimal d = Decimal15(value);
    if (d.digits.empty()) return "0";
    std::string out = d.negative ? "-" : "";
    const std::string& g = d.digits;
    const int n = static_cast<int>(g.size());
    const int e = d.exponent;
    if (e >= -4 && e < 15) {
        if (e < 0) {
            out += '0';
            out += decimalSeparator;
            out.append(-e - 1, '0');
            out += g;
        } else if (n <= e + 1) {
            out += g;
            out.append(e + 1 - n, '0');
        } else {
            out.append(g, 0, e + 1);
            out += decimalSeparator;
            out.append(g, e + 1);
        }
        return out;
    }
    out += g[0];
    if (n > 1) {
        out += decimalSeparator;
        out.append(g, 1);
    }
    out += 'E';
    if (e < 0) out += '-';
    out += std::to_string(std::abs(e));
    return out;
}

bool TryDateTimeToText(double days, std::string& text) {
    TDateTimeParts parts;
    if (!TrySplitDateTime(days, parts)) return false;
    text.clear();
    TDateTimeWriter(parts, UserLocale(), text).WriteDefault(0);
    return true;
}

TNumberReading ReadFloat(std::string_view text, char decimalSeparator, double& value) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    std::string number;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    size_t digits = 0;
    for (; i < n && IsDigit(text[i]); ++i, ++digits)
        number += text[i];
    if (i < n && text[i] == decimalSeparator) {
        number += '.';
        for (++i; i < n && IsDigit(text[i]); ++i, ++digits)
            number += text[i];
    }
    if (digits == 0) return TNumberReading::NotNumber;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            if (text[i] == '-') number += '-';
            ++i;
        }
        size_t expDigits = 0;
        for (; i < n && IsDigit(text[i]); ++i, ++expDigits)
            number += text[i];
        if (expDigits == 0) return TNumberReading::NotNumber;
    }
    while (i < n && IsBlank(text[i]))
        ++i;
    if (i != n) return TNumberReading::NotNumber;
    const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
    if (r.ec == std::errc()) return TNumberReading::Ok;
    if (r.ec != std::errc::result_out_of_range) return TNumberReading::NotNumber;
    if (Magnitude(number) > 0) return TNumberReading::Overflow;
    value = number.front() == '-' ? -0.0 : 0.0; // below the smallest double
    return TNumberReading::Ok;
}

bool TryStrToFloat(std::string_view text, double& value) {
    return ReadFloat(text, UserLocale().DecimalSeparator, value) == TNumberReading::Ok;
}

double StrToFloat(std::string_view text) {
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw TZelkError(FormatText("'%s' is not a valid floating point value", text));
    return value;
}

bool TryStrToDate(std::string_view text, double& days) {
    TScanner sc{text};
    int day = 0;
    if (!ScanDate(sc, UserLocale(), day)) return false;
    sc.SkipBlanks();
    if (!sc.AtEnd()) return false;
    days = day;
    return true;
}

bool TryStrToTime(std::string_view text, double& days) {
    TScanner sc{text};
    double fraction = 0;
    if (!ScanTime(sc, UserLocale(), fraction)) return false;
    sc.SkipBlanks();
    if (!sc.AtEnd()) return false;
    days = fraction;
    return true;
}

bool TryStrToDateTime(std::string_view text, double& days) {
    const TUserLocale& locale = UserLocale();
    TScanner sc{text};
    int day = 0;
    if (ScanDate(sc, locale, day)) {
        sc.SkipBlanks();
        if (sc.AtEnd()) {
            days = day;
            return true;
        }
        double fraction = 0;
        if (ScanTime(sc, locale, fraction)) {
            sc.SkipBlanks();
            if (sc.AtEnd()) {
                days = JoinDateTime(day, fraction);
                return true;
            }
        }
    }
    return TryStrToTime(text, days);
}

double StrToDate(std::string_view text) {
    double days = 0;
    if (!TryStrToDate(text, days)) throw TZelkError(FormatText("'%s' is not a valid date", text));
    return days;
}

double StrToTime(std::string_view text) {
    double days = 0;
    if (!TryStrToTime(text, days)) throw TZelkError(FormatText("'%s' is not a valid time", text));
    return days;
}

std::string FormatFloat(std::string_view pattern, double value) {
    if (pattern.empty() || !std::isfinite(value)) return FloatToText(value);
    const auto sections = SplitSections(pattern);
    const auto usable = [&sections](size_t k) { return k < sections.size() && !sections[k].empty(); };
    size_t chosen = 0;
    if (value == 0 && usable(2))
        chosen = 2;
    else if (value < 0 && usable(1))
        chosen = 1;
    if (!usable(chosen)) return FloatToText(value);
    TFloatSection section = ParseFloatSection(sections[chosen]);
    TShownNumber shown = ShapeNumber(section, std::fabs(value));
    // A value that rounds to zero is written by the zero section, or else by the positive one: a
    // negative sign or section never shows a zero.
    if (shown.zero && chosen != 2 && (usable(2) || chosen == 1)) {
        chosen = usable(2) ? 2 : 0;
        section = ParseFloatSection(sections[chosen]);
        shown = ShapeNumber(section, 0);
    }
    std::string out = EmitFloatSection(section, shown, UserLocale());
    if (value < 0 && chosen == 0 && !shown.zero) out.insert(0, "-");
    return out;
}

std::string FormatDateTime(std::string_view pattern, double days) {
    TDateTimeParts parts;
    if (!TrySplitDateTime(days, parts)) ThrowConversionError(TValueKind::Double, TValueKind::Date);
    std::string out;
    TDateTimeWriter(parts, UserLocale(), out).Write(pattern.empty() ? "c" : pattern, 0);
    return out;
}

} // namespace zelk
