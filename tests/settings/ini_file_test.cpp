// Ini text: lookup rules, number reading, in-place writing and value round trips.
#include "settings/ini_file.h"

#include "logs/text.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

const char* const kSample = "; made by hand\r\n"
                            "Orphan=before any section\r\n"
                            "[Settings]\r\n"
                            "  FilesMask =  *.TXT  \r\n"
                            "Quoted=\"  padded \"\r\n"
                            "Empty=\r\n"
                            ";MaxMinutesDifference=9\r\n"
                            "Dup=first\r\n"
                            "Dup=second\n"
                            "\r\n"
                            "[ settings ]\n"
                            "Later=ignored\n"
                            "[Other]\n"
                            "FilesMask=*.LOG";

} // namespace

TEST(IniFile, LookupIgnoresCaseAndTakesTheFirstOfDuplicates) {
    const TZelkIniFile ini(kSample);
    struct Case {
        const char *section, *key, *expected;
    };
    const Case cases[] = {
        {"Settings", "FilesMask", "*.TXT"},
        {"SETTINGS", "filesmask", "*.TXT"},
        {"Settings", "Quoted", "  padded "},
        {"Settings", "Empty", ""},
        {"Settings", "Dup", "first"},
        {"Other", "FilesMask", "*.LOG"},
        // Comments, keys before the first section and keys of a repeated section are not found.
        {"Settings", "MaxMinutesDifference", "<def>"},
        {"", "Orphan", "<def>"},
        {"Settings", "Later", "<def>"},
        {"Missing", "FilesMask", "<def>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), c.expected) << c.section << "/" << c.key;
    EXPECT_TRUE(ini.ValueExists("settings", "EMPTY"));
    EXPECT_FALSE(ini.ValueExists("Settings", "Later"));
    EXPECT_TRUE(ini.SectionExists("oTHER"));
    EXPECT_FALSE(ini.SectionExists("Path"));
}

TEST(IniFile, NumbersThatAreNotWholeIntegersGiveTheDefault) {
    struct Case {
        const char* text;
        int integer;
        bool boolean; // read with default true
    };
    const Case cases[] = {
        {"12", 12, true},  {" -3 ", -3, true},        {"0", 0, false},     {"+7", 7, true},
        {"abc", 42, true}, {"12abc", 42, true},       {"", 42, true},      {"1.5", 42, true},
        {"2", 2, true},    {"99999999999", 42, true}, {"\"0\"", 0, false},
    };
    for (const auto& c : cases) {
        const TZelkIniFile ini(std::string("[S]\nK=") + c.text + "\n");
        EXPECT_EQ(ini.ReadInteger("S", "K", 42), c.integer) << c.text;
        EXPECT_EQ(ini.ReadBool("S", "K", true), c.boolean) << c.text;
    }
    const TZelkIniFile empty;
    EXPECT_EQ(empty.ReadInteger("S", "K", -5), -5);
    EXPECT_FALSE(empty.ReadBool("S", "K", false));
}

TEST(IniFile, WritingChangesOurKeysInPlaceAndKeepsEverythingElse) {
    TZelkIniFile ini(
        "; note\n[Path]\nreports=lay\\\n\n[Settings]\nfilesmask=*.TXT\nX=1\n\n[Name]\nAppName=Z\n");
    ini.WriteString("SETTINGS", "FilesMask", "*.CBR");
    ini.WriteInteger("Settings", "MaxMinutesDifference", -4);
    ini.WriteBool("Settings", "NoFileIncludeResults", true);
    ini.WriteString("New", "Key", "v");
    EXPECT_EQ(ini.Text(), "; note\r\n[Path]\r\nreports=lay\\\r\n\r\n"
                          "[Settings]\r\nfilesmask=*.CBR\r\nX=1\r\nMaxMinutesDifference=-4\r\n"
                          "NoFileIncludeResults=1\r\n\r\n"
                          "[Name]\r\nAppName=Z\r\n\r\n"
                          "[New]\r\nKey=v\r\n");

    TZelkIniFile fresh;
    fresh.WriteBool("Settings", "On", false);
    EXPECT_EQ(fresh.Text(), "[Settings]\r\nOn=0\r\n");
}

TEST(IniFile, ValuesSurviveARoundTripByteForByte) {
    std::string everyHighByte;
    for (int c = 0x80; c <= 0xFF; ++c)
        everyHighByte += static_cast<char>(c);
    const std::string values[] = {
        std::string("Клуб \"Эфир\" №5"_cp),
        everyHighByte,
        "  blanks at both ends\t",
        "\"quoted\"",
        "\"",
        "a=b;c [d]",
        "",
    };
    for (const auto& v : values) {
        TZelkIniFile ini;
        ini.WriteString("Settings", "Value", v);
        ini.WriteString("Settings", "After", "x");
        const TZelkIniFile back(ini.Text());
        EXPECT_EQ(back.ReadString("Settings", "Value", "<def>"), v) << ToUtf8(v);
        EXPECT_EQ(back.ReadString("Settings", "After", "<def>"), "x") << ToUtf8(v);
    }
}

TEST(IniFile, ALineBreakInAValueCannotAddKeysOrSections) {
    TZelkIniFile ini;
    ini.WriteString("Settings", "QLastCall", "UA1AAA.CBR\r\n[Path]\nreports=/etc/");
    const TZelkIniFile back(ini.Text());
    EXPECT_FALSE(back.SectionExists("Path"));
    EXPECT_EQ(back.ReadString("Settings", "QLastCall", ""), "UA1AAA.CBR  [Path] reports=/etc/");
}
