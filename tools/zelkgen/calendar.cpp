// Civil dates to day numbers and back (proleptic Gregorian), and the date and time texts of a log.
#include "calendar.h"

#include <cstdio>

namespace zelk::gen {

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t DaysFromCivil(const TGenDate& date) {
    const int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (date.month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TGenDate CivilFromDays(int64_t days) {
    const int64_t z = days + 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    TGenDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

static bool ReadDigits(std::string_view text, size_t pos, size_t count, int& value) {
    value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool ParseDate(std::string_view text, TGenDate& date) {
    TGenDate d;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    if (!ReadDigits(text, 0, 4, d.year) || !ReadDigits(text, 5, 2, d.month) || !ReadDigits(text, 8, 2, d.day))
        return false;
    if (d.year < 1900 || d.year > 2099 || d.month < 1 || d.month > 12 || d.day < 1) return false;
    // A day past the month's end comes back from the round trip as a day of the next month.
    const TGenDate back = CivilFromDays(DaysFromCivil(d));
    if (back.month != d.month || back.day != d.day) return false;
    date = d;
    return true;
}

bool ParseClock(std::string_view text, int& minuteOfDay) {
    int h = 0, m = 0;
    if (text.size() == 4) {
        if (!ReadDigits(text, 0, 2, h) || !ReadDigits(text, 2, 2, m)) return false;
    } else if (text.size() == 5 && text[2] == ':') {
        if (!ReadDigits(text, 0, 2, h) || !ReadDigits(text, 3, 2, m)) return false;
    } else {
        return false;
    }
    if (h > 23 || m > 59) return false;
    minuteOfDay = h * 60 + m;
    return true;
}

std::string DateText(int64_t minute) {
    const TGenDate d = CivilFromDays(FloorDiv(minute, 1440));
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string TimeText(int64_t minute) {
    const int64_t ofDay = minute - FloorDiv(minute, 1440) * 1440;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d%02d", static_cast<int>(ofDay / 60), static_cast<int>(ofDay % 60));
    return buf;
}

} // namespace zelk::gen
