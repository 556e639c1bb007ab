// The log editor's text form: lines of a file and back, the DOS Cyrillic conversion on every byte value,
// and the screen characters that keep every byte.
#include "logs/editor_text.h"
#include "logs/text.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelk;

TEST(EditorText, LinesEndAtLineFeedWithAnOptionalCarriageReturn) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"\n", {""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\r\r\n", {"a\r"}},         // only one CR belongs to the line end
        {"x\ry\rz", {"x\ry\rz"}},     // a lone CR is text
        {"a\x1A\nb", {"a\x1A", "b"}}, // Ctrl+Z does not end the text
        {std::string("\0\n\0", 3), {std::string("\0", 1), std::string("\0", 1)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitEditorLines(c.bytes), c.lines) << testing::PrintToString(c.bytes);
}

TEST(EditorText, SavedLinesEndWithCarriageReturnLineFeed) {
    EXPECT_EQ(JoinEditorLines({}), "");
    EXPECT_EQ(JoinEditorLines({""}), "\r\n");
    EXPECT_EQ(JoinEditorLines({"a", "", "b\r"}), "a\r\n\r\nb\r\r\n");
}

TEST(EditorText, EveryByteValueSurvivesLinesAndBack) {
    // Each byte value alone, and all of them in one line, in a file with CR LF line ends.
    std::string all;
    std::string file;
    for (int b = 0; b < 256; ++b) {
        if (b == '\n') continue;
        const char c = static_cast<char>(b);
        all += c;
        file += std::string(1, c) + "\r\n";
    }
    file += all + "\r\n";
    EXPECT_EQ(JoinEditorLines(SplitEditorLines(file)), file);
    // A file with LF ends and no final line end differs only in its line ends.
    EXPECT_EQ(JoinEditorLines(SplitEditorLines("a\nb")), "a\r\nb\r\n");
}

TEST(EditorText, DosConversionMapsTheBasicCyrillicLettersOfEveryByte) {
    // Code page 866: 0x80..0x9F are А..Я, 0xA0..0xAF а..п, 0xE0..0xEF р..я; these must arrive as the same
    // letters in Windows-1251. Every other byte, Ё (0xF0) and ё (0xF1) among them, stays as it is.
    for (int b = 0; b < 256; ++b) {
        const std::string in(1, static_cast<char>(b));
        const std::string out = Dos866ToWin1251(in);
        ASSERT_EQ(out.size(), 1u);
        char16_t letter = 0;
        if (b >= 0x80 && b <= 0xAF) letter = static_cast<char16_t>(0x0410 + (b - 0x80));
        if (b >= 0xE0 && b <= 0xEF) letter = static_cast<char16_t>(0x0440 + (b - 0xE0));
        const auto got = static_cast<unsigned char>(out[0]);
        if (letter)
            EXPECT_EQ(got >= 0x80 ? kCp1251High[got - 0x80] : got, letter) << "byte " << b;
        else
            EXPECT_EQ(out, in) << "byte " << b;
    }
    // "Ёжик в тумане" typed in code page 866: the Ё stays its DOS byte, the rest becomes readable.
    const std::string dos = "\xF0\xA6\xA8\xAA \xA2 \xE2\xE3\xAC\xA0\xAD\xA5";
    EXPECT_EQ(Dos866ToWin1251(dos), "\xF0" + "жик в тумане"_cp);
}

TEST(EditorText, EveryByteHasItsOwnVisibleCharacter) {
    std::set<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char16_t ch = EditorChar(static_cast<unsigned char>(b));
        EXPECT_EQ(EditorByte(ch), b) << "byte " << b;
        EXPECT_TRUE(seen.insert(ch).second) << "byte " << b << " shares its character";
        if (b == '\t') continue;
        // No control character, line or paragraph separator reaches the text control.
        EXPECT_FALSE(ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || ch == 0x2028 || ch == 0x2029) << "byte " << b;
    }
    EXPECT_EQ(EditorChar('A'), u'A');
    EXPECT_EQ(EditorChar(0xC0), u'А');
    EXPECT_EQ(EditorChar('\r'), u'\u240D');
}

TEST(EditorText, CharactersOutsideTheCodePageHaveNoByte) {
    EXPECT_EQ(EditorByte(U'\u0000'), 0);
    EXPECT_EQ(EditorByte(U'\u0098'), 0x98);
    EXPECT_EQ(EditorByte(U'я'), 0xFF);
    EXPECT_EQ(EditorByte(U'\u0080'), -1);
    EXPECT_EQ(EditorByte(U'\u4E2D'), -1);
    EXPECT_EQ(EditorByte(U'\U0001F600'), -1);
}
