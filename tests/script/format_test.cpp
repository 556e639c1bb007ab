// Numbers and date-times as text: the general float form, FormatFloat, FormatDateTime, the reading of
// numbers, dates and times, and the calendar of day counts.
#include "script/format.h"

#include "logs/text.h"
#include "value_test_support.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <random>

using namespace zelk;
using namespace zelk::test;

namespace {

class FormatTest : public DefaultLocaleTest {};

TUserLocale RussianLocale() {
    TUserLocale l;
    l.DecimalSeparator = ',';
    l.ThousandSeparator = '\xA0';
    return l;
}

// ---- Float to text ----

TEST_F(FormatTest, FloatTextIsTheShortestFormWithinFifteenDigits) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {3, "3"},
        {-3, "-3"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.1 + 0.2, "0.3"},
        {3.5, "3.5"},
        {-2.75, "-2.75"},
        {2147483648.0, "2147483648"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.9, "1E15"}, // rounds to 16 digits before the point
        {1e15, "1E15"},
        {1e20, "1E20"},
        {1234567890123456789.0, "1.23456789012346E18"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00001, "1E-5"},
        {1.5e-7, "1.5E-7"},
        {-1.25e-10, "-1.25E-10"},
        {1e-300, "1E-300"},
        {std::numeric_limits<double>::max(), "1.79769313486232E308"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FloatToText(value), expected) << ExactText(value);
    EXPECT_EQ(FloatToText(2.5, ','), "2,5");
    EXPECT_EQ(FloatToText(1.5e-7, ','), "1,5E-7");
    EXPECT_EQ(FloatToText(0.0001, ','), "0,0001");
}

// Reading the text back gives the value rounded to 15 significant digits, for values of every size.
TEST_F(FormatTest, FloatTextReadsBackAsTheValueRoundedToFifteenDigits) {
    std::mt19937_64 random(20050212);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 307);
    for (int k = 0; k < 20000; ++k) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        if (k % 2) value = -value;
        if (k % 7 == 0 && std::fabs(value) < 1e9) value = std::round(value * 1e6) / 1e6; // short decimals too
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.14e", value);
        const double rounded = std::strtod(expected, nullptr);
        double back = 0;
        const std::string text = FloatToText(value);
        ASSERT_EQ(ReadFloat(text, '.', back), TNumberReading::Ok) << text;
        ASSERT_EQ(back, rounded) << ExactText(value) << " -> " << text;
        ASSERT_LE(text.size(), 22u) << text;
    }
}

// ---- Reading numbers ----

TEST_F(FormatTest, NumberReadingAcceptsBlanksSignDigitsSeparatorAndExponent) {
    struct Case {
        const char* text;
        char separator;
        TNumberReading result;
        double value;
    };
    using R = TNumberReading;
    const Case cases[] = {
        {"12", '.', R::Ok, 12},
        {"  -12.5  ", '.', R::Ok, -12.5},
        {"+.5", '.', R::Ok, 0.5},
        {"5.", '.', R::Ok, 5},
        {"1e3", '.', R::Ok, 1000},
        {"1E-3", '.', R::Ok, 0.001},
        {"2.5E+2", '.', R::Ok, 250},
        {"1,5", ',', R::Ok, 1.5},
        {"1.5", ',', R::NotNumber, 0},
        {"1,5", '.', R::NotNumber, 0},
        {"1 000", '.', R::NotNumber, 0},
        {"", '.', R::NotNumber, 0},
        {"   ", '.', R::NotNumber, 0},
        {".", '.', R::NotNumber, 0},
        {"-", '.', R::NotNumber, 0},
        {"1E", '.', R::NotNumber, 0},
        {"1.2.3", '.', R::NotNumber, 0},
        {"0x10", '.', R::NotNumber, 0},
        {"inf", '.', R::NotNumber, 0},
        {"nan", '.', R::NotNumber, 0},
        {"12abc", '.', R::NotNumber, 0},
        {"--1", '.', R::NotNumber, 0},
        {"1E400", '.', R::Overflow, 0},
        {"-1E400", '.', R::Overflow, 0},
        {"123456789e99999999999999999999", '.', R::Overflow, 0},
        {"1E-400", '.', R::Ok, 0},
        {"0.0000001e-99999999999999999999", '.', R::Ok, 0},
        {"0e99999", '.', R::Ok, 0},
    };
    for (const auto& c : cases) {
        double value = -99;
        EXPECT_EQ(ReadFloat(c.text, c.separator, value), c.result) << c.text;
        if (c.result == R::Ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST_F(FormatTest, StrToFloatNamesTheTextItCannotRead) {
    EXPECT_EQ(StrToFloat("2.5"), 2.5);
    EXPECT_EQ(Outcome([] { return ExactText(StrToFloat("1E")); }),
              "!'1E' is not a valid floating point value");
    TUserLocaleOverride russian(RussianLocale());
    EXPECT_EQ(StrToFloat("2,5"), 2.5);
}

// ---- FormatFloat ----

TEST_F(FormatTest, FormatFloatWritesByThePattern) {
    struct Case {
        const char* pattern;
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {"0.00", 1234.5, "1234.50"},
        {"0.00", -1234.5, "-1234.50"},
        {"0.00", 1.005, "1.01"}, // rounded in decimal, not by the binary value 1.00499...
        {"0.00", 0.125, "0.13"},
        {"0.00", -0.001, "0.00"}, // no minus sign on a zero
        {"0.00", 1e20, "100000000000000000000.00"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0", 0.4, "0"},
        {"000", 7, "007"},
        {"#", 0, ""},
        {"#.##", 0.5, ".5"},
        {"#.##", 12, "12"},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1, "1.0"},
        {"0.0#", 1.456, "1.46"},
        {"0.##", 2, "2"},
        {"#,##0", 1234567, "1,234,567"},
        {"#,##0", 123, "123"},
        {"#,##0", -1234, "-1,234"},
        {"#,##0", 0, "0"},
        {"#,##0.00", 999999.999, "1,000,000.00"},
        {"#,##0.00;(#,##0.00)", 1234.5, "1,234.50"},
        {"#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
        {"0;(0)", -0.4, "0"},
        {"0.00;-0.00;'zero'", 0, "zero"},
        {"0.00;-0.00;'zero'", 0.001, "zero"},
        {"0.00;-0.00;'zero'", -0.001, "zero"},
        {"0.00;;'zero'", -2, "-2.00"},
        {"000-000", 123456, "123-456"},
        {"00", 12345, "12345"},
        {"'Score: '0", 42, "Score: 42"},
        {"\"x;y\"0", 5, "x;y5"},
        {"0 'pts'", 3, "3 pts"},
        {"0.###E+00", 12345.678, "1.235E+04"},
        {"0.###E+00", 0.00012, "1.2E-04"},
        {"0.###E+00", 0, "0E+00"},
        {"0.0E-0", 12345, "1.2E4"},
        {"0.0E-0", 0.012, "1.2E-2"},
        {"00.0E+0", 12345, "12.3E+3"},
        {"0.00e+00", -9.999, "-1.00e+01"},
        {"", 2.5, "2.5"},
        {"0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
}

TEST_F(FormatTest, FormatFloatUsesTheLocaleSeparators) {
    TUserLocaleOverride russian(RussianLocale());
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1\xA0"
                                               "234,50");
    EXPECT_EQ(FormatFloat("0.0E+0", 1234.5), "1,2E+3");
    EXPECT_EQ(FormatFloat("", 0.5), "0,5");
}

// ---- FormatDateTime ----

constexpr double kSaturdayNoon = 38395.5004; // 12.02.2005 12:00:34.560, a Saturday

TEST_F(FormatTest, FormatDateTimeWritesByThePattern) {
    struct Case {
        std::string_view pattern;
        double value;
        std::string_view expected;
    };
    const Case cases[] = {
        {"dd.mm.yyyy", kSaturdayNoon, "12.02.2005"},
        {"d/m/yy", kSaturdayNoon, "12.2.05"},
        {"yyyy-mm-dd hh:nn:ss", kSaturdayNoon, "2005-02-12 12:00:34"},
        {"YYYY-MM-DD HH:NN:SS", kSaturdayNoon, "2005-02-12 12:00:34"},
        {"h:n:s.z", kSaturdayNoon, "12:0:34.560"},
        {"hh:mm", kSaturdayNoon, "12:00"},
        {"h 'h' mm", kSaturdayNoon, "12 h 00"},
        {"mm", kSaturdayNoon, "02"},
        {"ddd dddd", kSaturdayNoon, "сб суббота"_cp},
        {"mmm mmmm", kSaturdayNoon, "фев февраль"_cp},
        {"d mmmm yyyy", kSaturdayNoon, "12 февраля 2005"_cp},
        {"dddd", 38396, "воскресенье"_cp},
        {"hh am/pm", kSaturdayNoon, "12 pm"},
        {"h AM/PM", 38395.25, "6 AM"},
        {"h a/p", 38395.75, "6 p"},
        {"hh ampm", 38395, "12 AM"},
        {"c", kSaturdayNoon, "12.02.2005 12:00:34"},
        {"", kSaturdayNoon, "12.02.2005 12:00:34"},
        {"c", 38395, "12.02.2005"},
        {"c", 0.75, "18:00:00"},
        {"c", 0, "30.12.1899"},
        {"ddddd", kSaturdayNoon, "12.02.2005"},
        {"t", kSaturdayNoon, "12:00"},
        {"tt", kSaturdayNoon, "12:00:34"},
        {"'Дата:' dd"_cp, kSaturdayNoon, "Дата: 12"_cp},
        {"\"hh\" hh", kSaturdayNoon, "hh 12"},
        {"zzz", 38395 + 5.0 / 86400000, "005"},
        {"dd.mm.yyyy hh:nn", -1.25, "29.12.1899 06:00"},
        {"dd.mm.yyyy hh:nn:ss", 1.99999999999, "01.01.1900 00:00:00"}, // rounded to the millisecond
        {"dd.mm.yyyy", calendar::kMinDays, "01.01.0001"},
        {"dd.mm.yyyy", calendar::kMaxDays, "31.12.9999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToUtf8(FormatDateTime(c.pattern, c.value)), ToUtf8(c.expected)) << ToUtf8(c.pattern);
    EXPECT_EQ(Outcome([] { return FormatDateTime("dd", 1e10); }),
              "!Could not convert variant of type (Double) into type (Date)");
    EXPECT_EQ(Outcome([] { return FormatDateTime("dd", std::nan("")); }),
              "!Could not convert variant of type (Double) into type (Date)");
}

TEST_F(FormatTest, FormatDateTimeUsesTheLocaleSeparatorsAndPatterns) {
    TUserLocale l;
    l.DateSeparator = '/';
    l.TimeSeparator = '.';
    l.ShortDateFormat = "mm/dd/yyyy";
    l.LongTimeFormat = "h:nn:ss ampm";
    TUserLocaleOverride scope(l);
    EXPECT_EQ(FormatDateTime("d/m h:n", kSaturdayNoon), "12/2 12.0");
    EXPECT_EQ(FormatDateTime("c", 38395.75), "02/12/2005 6.00.00 PM");
    EXPECT_EQ(FormatDateTime("t", 38395.75), "6.00 PM");
    EXPECT_EQ(ScriptValue::Date(38395.75).AsText(), "02/12/2005 6.00.00 PM");
}

// ---- Reading dates and times ----

TEST_F(FormatTest, DatesAreReadInTheOrderOfTheShortDatePattern) {
    struct Case {
        const char* text;
        bool ok;
        double days;
    };
    const Case cases[] = {
        {"12.02.2005", true, 38395},
        {" 12 . 2 . 2005 ", true, 38395},
        {"12.2.05", true, 38395},
        {"12.2.49", true, 54466},    // 2049
        {"12.2.50", true, 18306},    // 1950
        {"2005-02-12", true, 38395}, // a four-digit first number starts a year
        {"2005.2.12", true, 38395},
        {"12-02-2005", false, 0}, // "-" only separates the year-month-day form
        {"30.12.1899", true, 0},
        {"29.02.2004", true, 38046},
        {"29.02.2005", false, 0},
        {"31.04.2005", false, 0},
        {"0.1.2005", false, 0},
        {"1.13.2005", false, 0},
        {"12", false, 0},
        {"12.", false, 0},
        {"12..2005", false, 0},
        {"12.02.20051", false, 0},
        {"12.02.2005x", false, 0},
        {"12.02.2005 10:00", false, 0},
        {"", false, 0},
        {"abc", false, 0},
    };
    for (const auto& c : cases) {
        double days = -1;
        EXPECT_EQ(TryStrToDate(c.text, days), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(days, c.days) << c.text;
        }
    }
}

TEST_F(FormatTest, DateWithoutYearIsOfTheCurrentYear) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    int expected = 0;
    ASSERT_TRUE(calendar::TryDaysFromDate(local.tm_year + 1900, 3, 1, expected));
    double days = 0;
    ASSERT_TRUE(TryStrToDate("1.3", days));
    EXPECT_EQ(days, expected);
}

TEST_F(FormatTest, MonthFirstLocaleReadsMonthFirst) {
    TUserLocale l;
    l.ShortDateFormat = "mm/dd/yyyy";
    l.DateSeparator = '/';
    TUserLocaleOverride scope(l);
    double days = 0;
    ASSERT_TRUE(TryStrToDate("02/12/2005", days));
    EXPECT_EQ(days, 38395);
    EXPECT_FALSE(TryStrToDate("12.02.2005", days)); // "." separates nothing in this locale
    EXPECT_FALSE(TryStrToDate("13/12/2005", days));
}

TEST_F(FormatTest, TimesAreHoursMinutesAndOptionalSeconds) {
    struct Case {
        const char* text;
        bool ok;
        int ms; // time of day in milliseconds
    };
    const Case cases[] = {
        {"12:30", true, 45000000},
        {" 12:30:15 ", true, 45015000},
        {"1:02:03.5", true, 3723500},
        {"1:02:03.005", true, 3723005},
        {"0:00", true, 0},
        {"23:59:59", true, 86399000},
        {"12:30 PM", true, 45000000},
        {"12:30 am", true, 1800000},
        {"1:00 pm", true, 46800000},
        {"11:00 AM", true, 39600000},
        {"13:00 PM", false, 0},
        {"0:30 AM", false, 0},
        {"24:00", false, 0},
        {"12:60", false, 0},
        {"12:30:60", false, 0},
        {"12", false, 0},
        {"12:", false, 0},
        {"123:00", false, 0},
        {"12:30x", false, 0},
        {"12:30 PMX", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        double days = -1;
        EXPECT_EQ(TryStrToTime(c.text, days), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(std::llround(days * 86400000), c.ms) << c.text;
        }
    }
}

TEST_F(FormatTest, TimeSeparatorOfTheLocaleIsAcceptedBesideTheColon) {
    TUserLocale l;
    l.TimeSeparator = '.';
    TUserLocaleOverride scope(l);
    double days = 0;
    ASSERT_TRUE(TryStrToTime("18.00", days));
    EXPECT_EQ(days, 0.75);
    ASSERT_TRUE(TryStrToTime("18:00", days));
    EXPECT_EQ(days, 0.75);
}

TEST_F(FormatTest, DateTimeTextIsDateTimeOrBoth) {
    double days = 0;
    ASSERT_TRUE(TryStrToDateTime("12.02.2005 18:00", days));
    EXPECT_EQ(days, 38395.75);
    ASSERT_TRUE(TryStrToDateTime("12.02.2005", days));
    EXPECT_EQ(days, 38395);
    ASSERT_TRUE(TryStrToDateTime("18:00", days));
    EXPECT_EQ(days, 0.75);
    ASSERT_TRUE(TryStrToDateTime("29.12.1899 06:00", days));
    EXPECT_EQ(days, -1.25); // the time of a negative date counts away from zero
    EXPECT_FALSE(TryStrToDateTime("12.02.2005 18", days));
    EXPECT_FALSE(TryStrToDateTime("12.02.2005 18:00 x", days));
    // The text form of every date-time reads back.
    for (double v : {38395.75, 38395.0, 0.75, -1.25, 2958465.5}) {
        const std::string text = ScriptValue::Date(v).AsText();
        ASSERT_TRUE(TryStrToDateTime(text, days)) << text;
        EXPECT_EQ(days, v) << text;
    }
}

TEST_F(FormatTest, StrToDateAndStrToTimeNameTheTextTheyCannotRead) {
    EXPECT_EQ(StrToDate("12.02.2005"), 38395);
    EXPECT_EQ(StrToTime("06:00"), 0.25);
    EXPECT_EQ(Outcome([] { return ExactText(StrToDate("2005/13/45")); }),
              "!'2005/13/45' is not a valid date");
    EXPECT_EQ(Outcome([] { return ExactText(StrToTime("12.02.2005")); }),
              "!'12.02.2005' is not a valid time");
}

// ---- Calendar ----

TEST(Calendar, KnownDaysHaveTheirCounts) {
    struct Case {
        int year, month, day, days, dayOfWeek;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 7},  {1899, 12, 29, -1, 6},      {1900, 1, 1, 2, 2},
        {1900, 3, 1, 61, 5},   {2005, 2, 12, 38395, 7},    {2000, 2, 29, 36585, 3},
        {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6}, {1970, 1, 1, 25569, 5},
    };
    for (const auto& c : cases) {
        int days = 0;
        ASSERT_TRUE(calendar::TryDaysFromDate(c.year, c.month, c.day, days)) << c.year;
        EXPECT_EQ(days, c.days) << c.year << "-" << c.month << "-" << c.day;
        calendar::TDateTimeParts parts;
        ASSERT_TRUE(calendar::TrySplitDateTime(days, parts));
        EXPECT_EQ(parts.DayOfWeek, c.dayOfWeek) << c.year << "-" << c.month << "-" << c.day;
    }
    int days = 0;
    EXPECT_FALSE(calendar::TryDaysFromDate(1900, 2, 29, days));
    EXPECT_FALSE(calendar::TryDaysFromDate(0, 12, 31, days));
    EXPECT_FALSE(calendar::TryDaysFromDate(10000, 1, 1, days));
}

TEST(Calendar, EveryDayOfTheRangeFollowsItsPredecessor) {
    int year = 1, month = 1, day = 1;
    for (int days = calendar::kMinDays; days <= calendar::kMaxDays; ++days) {
        int y = 0, m = 0, d = 0;
        calendar::DateFromDays(days, y, m, d);
        ASSERT_TRUE(y == year && m == month && d == day) << days << ": " << y << "-" << m << "-" << d;
        int back = 0;
        ASSERT_TRUE(calendar::TryDaysFromDate(y, m, d, back));
        ASSERT_EQ(back, days);
        if (++day > calendar::DaysInMonth(year, month)) {
            day = 1;
            if (++month > 12) month = 1, ++year;
        }
    }
}

TEST(Calendar, SplittingUsesTheMagnitudeOfTheFractionAsTime) {
    struct Case {
        double value;
        int days, timeMs;
    };
    const Case cases[] = {
        {38395.75, 38395, 64800000}, {-1.25, -1, 21600000},  {-0.5, 0, 43200000},
        {0.9999999999, 1, 0},        {-1.9999999999, -2, 0}, {1.0 / 86400000 / 3, 0, 0},
    };
    for (const auto& c : cases) {
        calendar::TDateTimeParts p;
        ASSERT_TRUE(calendar::TrySplitDateTime(c.value, p)) << c.value;
        EXPECT_EQ(p.Days, c.days) << c.value;
        EXPECT_EQ(p.TimeMs, c.timeMs) << c.value;
    }
    EXPECT_EQ(calendar::JoinDateTime(-1, 0.25), -1.25);
    EXPECT_EQ(calendar::JoinDateTime(38395, 0.75), 38395.75);
    calendar::TDateTimeParts p;
    EXPECT_FALSE(calendar::TrySplitDateTime(calendar::kMaxDays + 1.0, p));
    EXPECT_FALSE(calendar::TrySplitDateTime(calendar::kMinDays - 1.0, p));
    EXPECT_FALSE(calendar::TrySplitDateTime(std::numeric_limits<double>::infinity(), p));
}

} // namespace
