// Numbers and date-times as text and back: the general float form, the FormatFloat and FormatDateTime
// pattern languages (docs/format-patterns.md), the reading of numbers, dates and times, and the calendar
// arithmetic of day counts. Separators and date/time patterns come from the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace zelk {

// Days are counted from 30 December 1899 (day 0); the fraction of a date-time is the time of day. For
// negative values the integer part is the day and the magnitude of the fraction the time: -1.25 is
// 29 December 1899, 06:00.
namespace calendar {

inline constexpr int kMinDays = -693593; // 1 January 0001
inline constexpr int kMaxDays = 2958465; // 31 December 9999
inline constexpr long long kMsPerDay = 86400000;

struct TDateTimeParts {
    int Days = 0; // the calendar day as a day count
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
    int TimeMs = 0;    // the time of day in milliseconds
    int DayOfWeek = 7; // 1 Sunday ... 7 Saturday
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// The day count of a calendar date of the years 1 to 9999; false for dates that do not exist.
bool TryDaysFromDate(int year, int month, int day, int& days);
// The calendar date of a day count.
void DateFromDays(int days, int& year, int& month, int& day);
// Splits a date-time, rounded to the millisecond, into its parts; false when it is not a finite value
// of the years 1 to 9999.
bool TrySplitDateTime(double value, TDateTimeParts& parts);
// A day count and a time of day (0 <= time < 1) joined by the rule for negative values.
double JoinDateTime(int days, double time);

} // namespace calendar

// The shortest decimal form of `value` rounded to 15 significant digits (0.1 gives 0.1, 1/3 gives
// 0.333333333333333, 3 gives 3); fixed notation for 1E-4 <= |value| < 1E15 (as rounded), exponent form
// outside ("1E20", "1.5E-7"; no "+", no leading zeros in the exponent). NaN and infinities give "NAN",
// "INF" and "-INF".
std::string FloatToText(double value);
std::string FloatToText(double value, char decimalSeparator);

// The date-time as text with the locale's short date and long time patterns: the date alone when the
// time is 00:00:00.000, the time alone for day 0 with a time, both separated by a blank otherwise.
// False outside the years 1 to 9999.
bool TryDateTimeToText(double days, std::string& text);

enum class TNumberReading { Ok, NotNumber, Overflow };
// Reads blanks, an optional sign, digits with `decimalSeparator` as the decimal point, an optional
// exponent (E or e, optional sign, digits) and blanks. A magnitude beyond the double range is an
// overflow; one below it reads as 0.
TNumberReading ReadFloat(std::string_view text, char decimalSeparator, double& value);
// The same with the locale's decimal separator; false for anything but Ok.
bool TryStrToFloat(std::string_view text, double& value);
// Raises "'%s' is not a valid floating point value" when the text is no number.
double StrToFloat(std::string_view text);

// A date in the order of the locale's short date pattern: day, month and year separated by the date
// separator (or a separator that the pattern itself uses); blanks around the numbers are allowed.
// Two numbers give a date of the current year; a year of one or two digits means 1950 to 2049;
// a first number of three or four digits starts a year-month-day date (2005-02-12).
bool TryStrToDate(std::string_view text, double& days);
// A time of day h:n[:s[.z]] with the locale's time separator or ":", optionally followed by AM/PM
// (the locale's words or "AM"/"PM" in any case); the result is the fraction of a day (day 0).
bool TryStrToTime(std::string_view text, double& days);
// A date, a time, or a date followed by blanks and a time.
bool TryStrToDateTime(std::string_view text, double& days);
// Raise "'%s' is not a valid date" and "'%s' is not a valid time".
double StrToDate(std::string_view text);
double StrToTime(std::string_view text);

// Writes `value` by a float pattern ("0.00", "#,##0", "#,##0.00;(#,##0.00);'zero'", "0.###E+00");
// an empty pattern gives FloatToText.
std::string FormatFloat(std::string_view pattern, double value);
// Writes a date-time by a date-time pattern ("dd.mm.yyyy hh:nn", "d mmmm yyyy", "c"); an empty pattern
// is "c". Raises the conversion error from Double to Date outside the years 1 to 9999.
std::string FormatDateTime(std::string_view pattern, double days);

} // namespace zelk
