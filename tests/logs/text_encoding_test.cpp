// Logs in UTF-8 and UTF-16: how the encoding is told, and that every reader of logs gets the same
// Windows-1251 text from them, block boundaries and byte-order marks included.
#include "logs/cabrillo_file.h"
#include "logs/file_io.h"
#include "logs/log_content.h"
#include "logs/text.h"
#include "logs/text_encoding.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

using E = TTextEncoding;

struct TRead {
    std::vector<std::string> lines;
    TTextEncoding encoding = E::Cp1251;
    size_t replaced = 0;
};

TRead ReadFile(const std::string& path, size_t blockSize) {
    TRead r;
    TFileLineReader reader(path, blockSize);
    std::string line;
    while (reader.Next(line))
        r.lines.push_back(line);
    r.encoding = reader.Encoding();
    r.replaced = reader.Replaced();
    return r;
}

// A log with Cyrillic header values and every kind of line end.
const std::string& SampleLog() {
    static const std::string text = "START-OF-LOG: 3.0\r\nCALLSIGN: Q1AB\r\nNAME: Пётр Ёлкин\r\n"
                                    "CLUB: Клуб «Эфир» №5\nSOAPBOX: 73 — до встречи\r\n"
                                    "QSO: 3510 CW 2026-02-14 1201 Q1AB 599 001 Q2BB 599 015 0\r\n"
                                    "END-OF-LOG:"_cp;
    return text;
}

} // namespace

TEST(TextEncoding, TellsTheEncodingOfAFile) {
    const std::string cyr = "NAME: Иванов\r\n"_cp;
    const std::string utf8 = ToUtf8(cyr);
    const std::string ascii = "QSO: 3510 CW 2026-02-14 1201 Q1AB 599 001 Q2BB 599 015\r\n";
    struct Case {
        std::string bytes;
        TTextEncoding want;
        const char* what;
    };
    const Case cases[] = {
        {"", E::Cp1251, "empty"},
        {ascii, E::Cp1251, "ASCII only"},
        {ascii + cyr, E::Cp1251, "Windows-1251 Cyrillic"},
        {ascii + utf8, E::Utf8, "UTF-8 without a mark"},
        {"\xEF\xBB\xBF" + ascii, E::Utf8Bom, "UTF-8 mark, ASCII after it"},
        {EncodeText(ascii + cyr, E::Utf16LE), E::Utf16LE, "UTF-16 LE without a mark"},
        {EncodeText(ascii + cyr, E::Utf16BE), E::Utf16BE, "UTF-16 BE without a mark"},
        {EncodeText(cyr, E::Utf16LEBom), E::Utf16LEBom, "UTF-16 LE mark"},
        {EncodeText(cyr, E::Utf16BEBom), E::Utf16BEBom, "UTF-16 BE mark"},
        // Zeros that are not UTF-16: a stray one, and a damaged tail of zeros on both sides.
        {ascii + std::string(1, '\0') + ascii, E::Cp1251, "a stray zero byte"},
        {ascii + std::string(600, '\0'), E::Cp1251, "a tail of zeros"},
        // Valid UTF-8 up to a byte of Windows-1251 far beyond the first block: the whole file is 1251.
        {utf8 + std::string(200000, 'x') + cyr, E::Cp1251, "UTF-8 broken late"},
        {utf8 + "\xD0", E::Cp1251, "UTF-8 cut inside its last character"},
        // What follows Ctrl+Z is no text and decides nothing.
        {utf8 + "\x1A" + cyr, E::Utf8, "UTF-8 up to Ctrl+Z"},
        {ascii + "\x1A" + utf8, E::Cp1251, "UTF-8 only after Ctrl+Z"},
        // Overlong forms and surrogates are not UTF-8.
        {ascii + "\xC0\xAF", E::Cp1251, "overlong"},
        {ascii + "\xED\xA0\x80", E::Cp1251, "surrogate"},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(DetectTextEncoding(c.bytes), c.want) << c.what;
        const std::string path = dir.Write("log.cbr", c.bytes);
        for (size_t block : {size_t(1), size_t(3), size_t(1) << 16})
            EXPECT_EQ(ReadFile(path, block).encoding, c.want) << c.what << ", block " << block;
        TTextEncoding found = E::Cp1251;
        ReadLogText(path, &found);
        EXPECT_EQ(found, c.want) << c.what;
    }
}

TEST(TextEncoding, EveryEncodingReadsAsTheSameWindows1251Lines) {
    const std::vector<std::string> want = TextLines(SampleLog());
    test::TempDir dir;
    for (E e : {E::Cp1251, E::Utf8, E::Utf8Bom, E::Utf16LE, E::Utf16LEBom, E::Utf16BE, E::Utf16BEBom}) {
        const std::string path = dir.Write("log.cbr", EncodeText(SampleLog(), e));
        EXPECT_EQ(ReadLogText(path), SampleLog()) << EncodingName(e);
        // Blocks of every small size cut characters, surrogates and CR LF pairs at every place.
        for (size_t block : {1, 2, 3, 5, 7, 64, 1 << 16}) {
            const TRead r = ReadFile(path, block);
            EXPECT_EQ(r.lines, want) << EncodingName(e) << ", block " << block;
            EXPECT_EQ(r.encoding, e) << EncodingName(e) << ", block " << block;
            EXPECT_EQ(r.replaced, 0u);
        }
    }
}

TEST(TextEncoding, PlainFilesReadByteForByte) {
    // Every byte but the line ends and Ctrl+Z, in lines that are no UTF-8, some past the first block.
    std::string bytes;
    for (int round = 0; round < 400; ++round) {
        for (int b = 0; b < 256; ++b)
            if (b != '\n' && b != '\r' && b != 0x1A) bytes += static_cast<char>(b);
        bytes += "\r\n";
    }
    // UTF-8 at the start that the rest of the file belies.
    bytes = ToUtf8("NAME: Пётр\r\n"_cp) + bytes;
    test::TempDir dir;
    const std::string path = dir.Write("log.cbr", bytes);
    for (size_t block : {1, 4096, 1 << 16}) {
        const TRead r = ReadFile(path, block);
        EXPECT_EQ(r.lines, TextLines(bytes)) << "block " << block;
        EXPECT_EQ(r.encoding, E::Cp1251);
    }
    EXPECT_EQ(ReadLogText(path), bytes);
}

TEST(TextEncoding, CharactersWithoutAWindows1251FormBecomeQuestionMarks) {
    struct Case {
        std::string bytes;
        TTextEncoding encoding;
        std::string text;
        size_t replaced;
    };
    const Case cases[] = {
        // A check mark, a Chinese character and a character beyond U+FFFF; the euro sign has a byte.
        {"a\xE2\x9C\x93"
         "b\xE4\xB8\xAD"
         "c\xF0\x9F\x93\xBB"
         "d\xE2\x82\xAC",
         E::Utf8, "a?b?c?d\x88", 3},
        // Broken sequences: a lone continuation byte, a lead byte cut short by an ASCII one, a cut end.
        {"\xEF\xBB\xBF"
         "a\x80"
         "b\xD0"
         "c\xE2\x82",
         E::Utf8Bom, "a?b?c?", 3},
        {std::string("a\0\x3D\xD8\x3B\xDF"
                     "b\0\x00\xDC"
                     "c\0\x3D\xD8",
                     14),
         E::Utf16LE, "a?b?c?", 3},
        {std::string("\0a\x26\x13\0b", 6), E::Utf16BE, "a?b", 1},
        {std::string("\xFF\xFE"
                     "a\0b",
                     5),
         E::Utf16LEBom, "a?", 1}, // an odd last byte
        // A byte-order mark in the middle of a text, as where two files were joined, is dropped.
        {"a\xEF\xBB\xBF"
         "b",
         E::Utf8, "ab", 0},
    };
    for (const auto& c : cases) {
        size_t replaced = 99;
        EXPECT_EQ(DecodeText(c.bytes, c.encoding, &replaced), c.text) << EncodingName(c.encoding);
        EXPECT_EQ(replaced, c.replaced) << EncodingName(c.encoding);
    }
}

TEST(TextEncoding, EncodingBackGivesTheSameText) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (E e : {E::Cp1251, E::Utf8, E::Utf8Bom, E::Utf16LE, E::Utf16LEBom, E::Utf16BE, E::Utf16BEBom})
        EXPECT_EQ(DecodeText(EncodeText(all, e), e), all) << EncodingName(e);
    EXPECT_EQ(EncodeText("Я"_cp, E::Utf16BEBom), std::string("\xFE\xFF\x04\x2F", 4));
    EXPECT_EQ(EncodeText("Я"_cp, E::Utf8Bom), "\xEF\xBB\xBF\xD0\xAF");
}

TEST(TextEncoding, TagsAndOwnersOfConvertedLogs) {
    test::TempDir dir;
    for (E e : {E::Utf8, E::Utf8Bom, E::Utf16LE, E::Utf16BEBom}) {
        const std::string path = dir.Write("Q1AB.CBR", EncodeText(SampleLog(), e));
        // The byte-order mark never reaches the first tag.
        TFileLineReader reader(path);
        std::string raw;
        ASSERT_TRUE(reader.Next(raw));
        TLogLine line;
        ClassifyLogLine(raw, line);
        EXPECT_EQ(line.Tag, "START-OF-LOG:") << EncodingName(e);
        EXPECT_EQ(OwnerCallSign(path), "Q1AB") << EncodingName(e);
        TZelkCurrentFile summary;
        summary.TakeSummary(ReadLogContent(path));
        EXPECT_EQ(summary.Name, "Пётр Ёлкин"_cp) << EncodingName(e);
        EXPECT_EQ(summary.Club, "Клуб «Эфир» №5"_cp) << EncodingName(e);
        EXPECT_EQ(summary.QSOCount, 1) << EncodingName(e);
    }
}
