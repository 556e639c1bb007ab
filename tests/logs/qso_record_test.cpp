// Parsing of QSO lines, rows back into records, and the minutes between contacts.
#include "logs/list_rows.h"
#include "logs/qso_record.h"
#include "logs/text.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

struct ParseCase {
    const char* line;
    const char *freq, *mode, *date, *time, *call, *send, *receive;
};

TQSORecord At(const char* date, const char* time) {
    TQSORecord r;
    r.SDate = date;
    r.STime = time;
    return r;
}

} // namespace

TEST(QSORecord, ParseQSOLineTakesFieldsByOrder) {
    const ParseCase cases[] = {
        {"  3510 cw 2005-02-12 1201 Q1AA 599 001 q2bb 599 015 0", "3510", "CW", "2005-02-12", "12:01", "Q2BB",
         "599 001", "599 015"},
        // No exchange and no correspondent: Send keeps its trailing blank, Receive is one blank.
        {" 3510 CW 2005-02-12 1201 Q1AA 599", "3510", "CW", "2005-02-12", "12:01", "", "599 ", " "},
        // Several blanks are one separator; the date is kept as written.
        {"3510   CW    2005-2-12   0711 Q1AA 599 001 Q2BB 599 015", "3510", "CW", "2005-2-12", "07:11",
         "Q2BB", "599 001", "599 015"},
        // A tab does not separate: it stays inside its piece.
        {"3510\tCW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015", "3510\tCW", "2005-02-12", "1201", "Q1:AA",
         "599", "001 Q2BB", "015 "},
        {"7020 cw 2005-02-12 711 q1aa 599 001 ж2бб 599 015", "7020", "CW", "2005-02-12", "71:1", "Ж2ББ",
         "599 001", "599 015"},
        {"7020 CW 2005-02-12", "7020", "CW", "2005-02-12", ":", "", " ", " "},
    };
    for (const auto& c : cases) {
        const std::string line = FromUtf8(c.line);
        TQSORecord r(line);
        EXPECT_EQ(r.Freq, c.freq) << c.line;
        EXPECT_EQ(r.Mode, c.mode) << c.line;
        EXPECT_EQ(r.SDate, c.date) << c.line;
        EXPECT_EQ(r.STime, c.time) << c.line;
        EXPECT_EQ(r.Call, FromUtf8(c.call)) << c.line;
        EXPECT_EQ(r.Send, c.send) << c.line;
        EXPECT_EQ(r.Receive, c.receive) << c.line;
        EXPECT_EQ(r.Score, "");
        EXPECT_EQ(r.QSOIndex, -1);
    }
}

TEST(QSORecord, EmptyTextGivesAnEmptyRecord) {
    for (const char* text : {"", "   ", "\t\r "}) {
        TQSORecord r;
        r.Freq = "x";
        r.QSOIndex = 4;
        r.CachedPoints = 3;
        r.ParseQSOLine(text);
        EXPECT_EQ(r.Freq + r.Mode + r.SDate + r.STime + r.Call + r.Send + r.Receive + r.Score + r.Comment,
                  "");
        EXPECT_EQ(r.QSOIndex, -1);
        EXPECT_EQ(r.CachedPoints, -1);
    }
}

TEST(QSORecord, ResultsAreClearedWheneverFieldsChangeButNeverCopied) {
    TQSORecord a("3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015");
    a.QSOIndex = 7;
    a.CachedPoints = 2;
    a.CachedCriterion = "Q2BB";
    a.CriterionKnown = true;
    TQSORecord b;
    b.CachedPoints = 5;
    b.Assign(a);
    EXPECT_EQ(b.Call, "Q2BB");
    EXPECT_EQ(b.QSOIndex, 7);
    EXPECT_EQ(b.CachedPoints, -1);
    EXPECT_FALSE(b.CriterionKnown);
    a.LoadFromRow(nullptr);
    EXPECT_EQ(a.Call, "");
    EXPECT_EQ(a.CachedPoints, -1);
}

TEST(QSORecord, LoadFromRowTrimsAndUpperCases) {
    TListRow row;
    row.Cells = {" 3510 ", "cw", " 2005-02-12", "12:01", "q2bb", "599 ", "599 015", "1", " ok "};
    TQSORecord r;
    r.LoadFromRow(&row);
    EXPECT_EQ(r.Freq, "3510");
    EXPECT_EQ(r.Mode, "CW");
    EXPECT_EQ(r.SDate, "2005-02-12");
    EXPECT_EQ(r.Call, "Q2BB");
    EXPECT_EQ(r.Send, "599");
    EXPECT_EQ(r.Score, "1");
    EXPECT_EQ(r.Comment, "ok");
    TListRow shortRow;
    shortRow.Cells = {"3510", "cw"};
    r.LoadFromRow(&shortRow);
    EXPECT_EQ(r.Mode, "CW");
    EXPECT_EQ(r.Call, "");
    EXPECT_EQ(r.Comment, "");
}

TEST(QSORecord, DateTimeReadsDateAndTimeWithCarries) {
    int days = 0;
    ASSERT_TRUE(EncodeDate(2005, 2, 12, days));
    EXPECT_EQ(days, 38395);
    EXPECT_DOUBLE_EQ(At("2005-02-12", "12:00").DateTime(), 38395.5);
    EXPECT_DOUBLE_EQ(At("2005-02-12", "00:00").DateTime(), 38395);
    // Hours above 23 and minutes above 59 carry on.
    EXPECT_NEAR(At("2005-02-12", "25:70").DateTime(), 38396 + (2 * 60 + 10) / 1440.0, 1e-9);
    // Unreadable dates give day 0; unreadable times give 0.
    EXPECT_NEAR(At("2005-13-45", "06:00").DateTime(), 0.25, 1e-12);
    EXPECT_NEAR(At("", "06:00").DateTime(), 0.25, 1e-12);
    EXPECT_DOUBLE_EQ(At("2005-02-12", "xx:yy").DateTime(), 38395);
    EXPECT_DOUBLE_EQ(At("2005-02-12", ":").DateTime(), 38395);
    // Blanks inside a part are ignored; other year-month-day forms are read too.
    EXPECT_DOUBLE_EQ(At("2005- 2-12", "00:00").DateTime(), 38395);
    EXPECT_DOUBLE_EQ(At("2005-2-12", "00:00").DateTime(), 38395);
    EXPECT_DOUBLE_EQ(At("2004-02-29", "00:00").DateTime(), 38046);
    EXPECT_DOUBLE_EQ(At("2005-02-29", "00:00").DateTime(), 0);
}

// February 29th exists in years divisible by 4, except in centuries not divisible by 400.
TEST(QSORecord, EncodeDateKnowsTheLeapYears) {
    struct Case {
        int year;
        bool leap;
    };
    const Case cases[] = {{2004, true}, {2005, false}, {2000, true}, {1900, false}, {2100, false},
                          {1600, true}, {1, false},    {4, true},    {9996, true}};
    for (const Case& c : cases) {
        int days = 0;
        EXPECT_EQ(EncodeDate(c.year, 2, 29, days), c.leap) << c.year;
        EXPECT_TRUE(EncodeDate(c.year, 2, 28, days)) << c.year;
        EXPECT_FALSE(EncodeDate(c.year, 2, 30, days)) << c.year;
    }
    EXPECT_DOUBLE_EQ(At("1900-02-29", "00:00").DateTime(), 0);
    EXPECT_DOUBLE_EQ(At("1900-03-01", "00:00").DateTime(), 61);
}

TEST(QSORecord, DecodeDateInvertsEncodeDate) {
    for (int days : {0, 1, 2, 59, 60, 61, 38395, 38046, 2958465, -693593}) {
        int y = 0, m = 0, d = 0, back = 0;
        DecodeDate(days, y, m, d);
        ASSERT_TRUE(EncodeDate(y, m, d, back)) << days;
        EXPECT_EQ(back, days);
    }
    int y = 0, m = 0, d = 0;
    DecodeDate(0, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991230);
}

TEST(QSORecord, TimeDifferenceIsSymmetricAndCrossesMidnight) {
    struct Case {
        const char *d1, *t1, *d2, *t2;
        int minutes;
    };
    const Case cases[] = {
        {"2005-02-12", "23:59", "2005-02-13", "00:01", 2},
        {"2005-02-12", "12:01", "2005-02-12", "12:02", 1},
        {"2005-02-12", "12:00", "2005-02-13", "12:00", 1440},
        {"2005-02-12", "12:00", "2005-02-12", "12:00", 0},
        {"2005-02-28", "23:30", "2005-03-01", "00:10", 40},
        {"", "12:00", "2005-02-12", "12:00", 38395 * 1440},
    };
    for (const auto& c : cases) {
        const TQSORecord a = At(c.d1, c.t1), b = At(c.d2, c.t2);
        EXPECT_EQ(TimeDifference(a, b), c.minutes) << c.t1 << " " << c.t2;
        EXPECT_EQ(TimeDifference(b, a), c.minutes) << c.t2 << " " << c.t1;
    }
}

TEST(QSORecord, IsTimeCloseAcceptsTheToleranceItself) {
    const TQSORecord a = At("2005-02-12", "12:00");
    EXPECT_TRUE(a.IsTimeClose(At("2005-02-12", "12:03"), 3));
    EXPECT_FALSE(a.IsTimeClose(At("2005-02-12", "12:04"), 3));
    EXPECT_TRUE(At("2005-02-12", "23:59").IsTimeClose(At("2005-02-13", "00:01"), 3));
}
