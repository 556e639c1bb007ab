// Windows-1251 case rules, trimming, splitting and UTF-8 conversion.
#include "logs/text.h"

#include <gtest/gtest.h>

using namespace zelk;

TEST(Text, TrimRemovesCodesUpTo32AtBothEnds) {
    EXPECT_EQ(Trim(std::string("\x01\t  a b \r\n\x1F", 10)), "a b");
    EXPECT_EQ(Trim(std::string("\0x\0", 3)), "x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    // Code 160 (no-break space) and Cyrillic are not trimmed.
    EXPECT_EQ(Trim("\u00A0я\u00A0"_cp), "\u00A0я\u00A0"_cp);
}

TEST(Text, UpperAndLowerCaseCoverEveryLetterOfTheCodePage) {
    struct Case {
        std::string_view lower, upper;
    };
    const Case cases[] = {
        {"abcxyz"_cp, "ABCXYZ"_cp},
        {"абвгдежзийклмнопрстуфхцчшщъыьэюя"_cp, "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"_cp},
        {"ёўєїіґ"_cp, "ЁЎЄЇІҐ"_cp},
        {"ђѓљњќћџјѕ"_cp, "ЂЃЉЊЌЋЏЈЅ"_cp},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UpperCase(c.lower), c.upper) << ToUtf8(c.lower);
        EXPECT_EQ(LowerCase(c.upper), c.lower) << ToUtf8(c.upper);
    }
    // Signs and digits keep their codes; µ has no upper case in the code page.
    const std::string_view signs = "0129 !/-№«»µ§"_cp;
    EXPECT_EQ(UpperCase(signs), signs);
    EXPECT_EQ(LowerCase(signs), signs);
}

TEST(Text, CaseTablesAreInverseOnLetters) {
    for (int c = 0; c < 256; ++c) {
        const auto u = UpperChar(static_cast<unsigned char>(c));
        const auto l = LowerChar(static_cast<unsigned char>(c));
        if (u != c) {
            EXPECT_EQ(LowerChar(u), c) << c;
        }
        if (l != c) {
            EXPECT_EQ(UpperChar(l), c) << c;
        }
    }
}

TEST(Text, CompareTextIgnoresCaseAndOrdersYoAfterYe) {
    EXPECT_EQ(CompareText("q1aa.cbr", "Q1AA.CBR"), 0);
    EXPECT_TRUE(SameText("ёлка"_cp, "ЁЛКА"_cp));
    EXPECT_LT(CompareText("Q1AA", "Q1AB"), 0);
    EXPECT_LT(CompareText("Q1A", "Q1AA"), 0);
    EXPECT_GT(CompareText("Q2", "Q1AB/P"), 0);
    EXPECT_LT(CompareText("ель"_cp, "ёж"_cp), 0);
    EXPECT_LT(CompareText("ёж"_cp, "жук"_cp), 0);
    EXPECT_LT(CompareStr("A", "a"), 0);
    EXPECT_GT(CompareStr("\xC0", "z"), 0); // bytes compare unsigned
}

TEST(Text, SplitStringBlankSkipsEmptyPiecesOtherSeparatorsKeepThem) {
    EXPECT_EQ(SplitString("a  b c", ' '), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitString("25,70,,70", ','), (std::vector<std::string>{"25", "70", "", "70"}));
    EXPECT_EQ(SplitString(",", ','), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitString("a\tb c", ' '), (std::vector<std::string>{"a\tb", "c"}));
    // The final piece is appended as it stands, untrimmed.
    EXPECT_EQ(SplitString("a, b ", ','), (std::vector<std::string>{"a", " b "}));
    EXPECT_TRUE(SplitString("", ',').empty());
}

TEST(Text, CollapseSpacesAndItemOrEmpty) {
    EXPECT_EQ(CollapseSpaces("  a   b \t c  "), "a b \t c");
    const std::vector<std::string> v{"x", "y"};
    EXPECT_EQ(ItemOrEmpty(v, 1), "y");
    EXPECT_EQ(ItemOrEmpty(v, 2), "");
    EXPECT_EQ(ItemOrEmpty(v, -1), "");
}

TEST(Text, Utf8ConversionRoundTripsAllBytes) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    const std::string utf8 = ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(FromUtf8(utf8), all);
    EXPECT_EQ(ToUtf8("АаЁ№"_cp), "АаЁ№");
    EXPECT_EQ("АаЁ№"_cp, "\xC0\xE0\xA8\xB9");
}

TEST(Text, FromUtf8ReplacesWhatTheCodePageLacks) {
    EXPECT_EQ(FromUtf8("Привет"), "Привет"_cp);
    EXPECT_EQ(FromUtf8("日本"), "??");
    EXPECT_EQ(FromUtf8("a\xFF"
                       "b"),
              "a?b");                          // stray byte
    EXPECT_EQ(FromUtf8("\xD0"), "?");          // cut sequence
    EXPECT_EQ(FromUtf8("\xC0\x80"), "??");     // overlong encoding: each byte is replaced
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // surrogate
}

TEST(Text, StrToIntReadsWholeDecimalIntegersOnly) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {{"12", true, 12},
                          {" -7 ", true, -7},
                          {"+3", true, 3},
                          {"abc", false, 0},
                          {"", false, 0},
                          {"1.5", false, 0},
                          {"2147483647", true, 2147483647},
                          {"2147483648", false, 0},
                          {"+-1", false, 0},
                          {"12x", false, 0}};
    for (const auto& c : cases) {
        int v = 0;
        EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_EQ(StrToIntDef("x", 3), 3);
}

TEST(Text, FormatTextFillsTheFirstPlaceholder) {
    EXPECT_EQ(FormatText("Unable to write to %s", "/x/zelk.ini"), "Unable to write to /x/zelk.ini");
    EXPECT_EQ(FormatText("[ %d мин ]"_cp, 2), "[ 2 мин ]"_cp);
}
