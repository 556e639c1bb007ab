// Calendar arithmetic of the generator: contest moments as whole minutes counted from 1970-01-01 00:00,
// and their Cabrillo texts (yyyy-mm-dd and hhmm), so a contest may run over midnight.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelk::gen {

struct TGenDate {
    int year = 2026;
    int month = 2;
    int day = 14;
};

// Reads yyyy-mm-dd (a real calendar date, years 1900 to 2099); false otherwise.
bool ParseDate(std::string_view text, TGenDate& date);
// Reads hhmm or hh:mm as minutes of the day; false unless 00:00 to 23:59.
bool ParseClock(std::string_view text, int& minuteOfDay);

int64_t DaysFromCivil(const TGenDate& date);
TGenDate CivilFromDays(int64_t days);

// Splits a moment (minutes since 1970-01-01 00:00, may be negative) into its Cabrillo date and time texts.
std::string DateText(int64_t minute);
std::string TimeText(int64_t minute);

// Division rounding towards minus infinity, for moments before a day or minute boundary.
int64_t FloorDiv(int64_t a, int64_t b);

} // namespace zelk::gen
