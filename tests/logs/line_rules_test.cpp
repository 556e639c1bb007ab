// The line rules of Cabrillo logs: line ends, Ctrl+Z, tags, contact lines, values cut to 255.
#include "logs/cabrillo_file.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/log_content.h"
#include "logs/text.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

std::vector<std::string> FileLinesOf(std::string_view text) {
    test::TempDir dir;
    const std::string path = dir.Write("log.cbr", text);
    std::vector<std::string> lines;
    TFileLineReader reader(path);
    std::string line;
    while (reader.Next(line))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(LineRules, LineEndsAndCtrlZ) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"ab", "c"}}, // a lone CR is dropped
        {"a\n\nb", {"a", "", "b"}},
        {"a\nb\x1A"
         "c\nd\n",
         {"a", "b"}},
        {"\x1A"
         "abc",
         {}},
        {"", {}},
        {"no end", {"no end"}},
        {std::string("nul\0inside\n", 11), {std::string("nul\0inside", 10)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextLines(c.text), c.lines) << c.text;
        EXPECT_EQ(FileLinesOf(c.text), c.lines) << c.text;
    }
}

TEST(LineRules, FileReaderHandlesLinesLongerThanItsBlock) {
    const std::string big(10 * 1024 * 1024, 'x');
    const auto lines = FileLinesOf("a\r\n" + big + "\r\nz");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].size(), big.size());
    EXPECT_EQ(lines[2], "z");
}

TEST(LineRules, ClassifyLogLine) {
    struct Case {
        std::string raw;
        TLineKind kind;
        std::string tag, text;
    };
    const std::string longValue(300, 'v');
    const Case cases[] = {
        {"callsign: q9zz", TLineKind::Tag, "CALLSIGN:", "q9zz"},
        {"  CALLSIGN:   ", TLineKind::Tag, "CALLSIGN:", ""},
        {"73 TNX", TLineKind::Skip, "", ""},
        {"   ", TLineKind::Skip, "", ""},
        {"X-QSO: 3510 CW", TLineKind::Tag, "X-QSO:", "3510 CW"},
        {"QSO:3510 CW", TLineKind::Contact, "", "3510 CW"},
        {"qso: 3510 cw", TLineKind::Contact, "", " 3510 cw"},
        {"Category Op: single", TLineKind::Tag, "CATEGORY OP:", "single"},
        {"NAME: a:b", TLineKind::Tag, "NAME:", "a:b"},
        {"SOAPBOX: " + longValue, TLineKind::Tag, "SOAPBOX:", std::string(254, 'v')},
        {"QSO: " + longValue, TLineKind::Contact, "", " " + std::string(254, 'v')},
        {"клуб: Ёлка"_cp, TLineKind::Tag, "КЛУБ:"_cp, "Ёлка"_cp},
    };
    TLogLine out;
    for (const auto& c : cases) {
        ClassifyLogLine(c.raw, out);
        EXPECT_EQ(out.Kind, c.kind) << c.raw;
        EXPECT_EQ(out.Tag, c.tag) << c.raw;
        EXPECT_EQ(out.Text, c.text) << c.raw;
        // Only what was longer than 255 characters is marked as cut.
        EXPECT_EQ(out.Cut, c.raw.find(longValue) != std::string::npos) << c.raw;
    }
    ClassifyLogLine("QSO:" + std::string(255, 'q') + " ", out);
    EXPECT_FALSE(out.Cut);
    ClassifyLogLine("QSO:" + std::string(256, 'q'), out);
    EXPECT_TRUE(out.Cut);
}

TEST(LineRules, KnownTagsAreExactlyTheTwenty) {
    EXPECT_EQ(kKnownTags.size(), 20u);
    for (const char* t : {"START-OF-LOG:", "CALLSIGN:", "CLAIMED-SCORE:", "QSO:", "END-OF-LOG:", "SOAPBOX:"})
        EXPECT_TRUE(IsKnownTag(t)) << t;
    for (const char* t : {"CATEGORY-OPERATOR:", "LOCATION:", "X-QSO:", "EMAIL:", "callsign:"})
        EXPECT_FALSE(IsKnownTag(t)) << t;
}

TEST(CabrilloFile, GetTagValueTakesTheFirstMatchingLineOfAnyKind) {
    test::TempDir dir;
    const std::string path =
        dir.Write("q1aa.cbr", "START-OF-LOG: 3.0\r\n"
                              "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\r\n"
                              "callsign:   q1aa  \r\n"
                              "CALLSIGN: Q9ZZ\r\n");
    TZelkCabrilloFile file;
    file.FileName = path;
    EXPECT_EQ(file.GetTagValue("CALLSIGN:"), "q1aa");
    EXPECT_EQ(file.GetTagValue(" callsign: "), "q1aa");
    EXPECT_EQ(file.GetTagValue("QSO:"), "3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0");
    EXPECT_EQ(file.GetTagValue("CLUB:"), "");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(OwnerCallSign(path), "Q1AA");
    EXPECT_EQ(OwnerCallSign(dir.File("missing.cbr")), "");
    file.FileName = dir.File("missing.cbr");
    EXPECT_FALSE(file.Open());
}

TEST(CabrilloFile, SummaryCountsContactsAndTakesTheLastTags) {
    test::TempDir dir;
    const std::string path =
        dir.Write("q1aa.cbr", "CALLSIGN: q1aa\nNAME: Ivan\nNAME: Пётр\nCLUB: RC\n"
                              "QSO: 1\nEND-OF-LOG:\nqso: 2\nX-QSO: 3\nCALLSIGN: q2bb\n"_cp);
    const TLogContent log = ReadLogContent(path);
    TZelkCurrentFile summary;
    summary.Score = 7;
    summary.TakeSummary(log);
    EXPECT_EQ(summary.CallSign, "Q2BB");
    EXPECT_EQ(summary.Name, "Пётр"_cp);
    EXPECT_EQ(summary.Club, "RC");
    EXPECT_EQ(summary.QSOCount, 2);
    EXPECT_EQ(summary.Score, 0);
    // The owner is the first CALLSIGN:, the summary's the last.
    EXPECT_EQ(log.OwnerCall, "Q1AA");
    ASSERT_EQ(log.Records.size(), 2u);
    EXPECT_EQ(log.Records[1].QSOIndex, 2);
    EXPECT_EQ(log.Tags.size(), 7u);
    summary.TakeSummary(TLogContent());
    EXPECT_EQ(summary.QSOCount, 0);
    EXPECT_EQ(summary.CallSign, "");
    EXPECT_THROW(ReadLogContent(dir.File("none.cbr")), TZelkError);
}

// The owner taken while reading the whole log once is the one GetTagValue finds, whatever stands around it.
TEST(CabrilloFile, ReadingOnceFindsTheOwnerGetTagValueFinds) {
    const char* logs[] = {
        "CALLSIGN: q1aa\r\nCALLSIGN: q2bb\r\n",
        "QSO: 3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0\r\n  callsign:q1aa  \r\n",
        "CALLSIGN :Q1AA\r\nX-CALLSIGN: Q2BB\r\nCALLSIGNS: Q3CC\r\ncall sign: Q4DD\r\n",
        "CALLSIGN:: Q1AA:\r\n",
        "CALLSIGN:\r\nCALLSIGN: Q2BB\r\n",
        "\tCALLSIGN:\tq1aa/p\x1a\r\nCALLSIGN: Q2BB\r\n",
        "NAME: x\rCALLSIGN: Q1AA\r\n",
        "73\r\n\r\n",
        "CALLSIGN: \xe9\xf6\xf3\r\n",
    };
    test::TempDir dir;
    for (const char* text : logs) {
        const std::string path = dir.Write("log.cbr", text);
        EXPECT_EQ(ReadLogContent(path).OwnerCall, OwnerCallSign(path)) << text;
    }
    const std::string long_ = dir.Write("long.cbr", "CALLSIGN: " + std::string(300, 'Q') + "\r\n");
    EXPECT_EQ(ReadLogContent(long_).OwnerCall, OwnerCallSign(long_));
    EXPECT_EQ(OwnerCallSign(long_).size(), 254u);
}

TEST(CabrilloFile, SetScoreAndSetMultiInvalidateTheTotal) {
    TZelkCurrentFile f;
    f.CachedTotal = 12;
    f.TotalKnown = true;
    f.SetScore(3);
    EXPECT_FALSE(f.TotalKnown);
    EXPECT_EQ(f.CachedTotal, 0);
    f.TotalKnown = true;
    f.SetMulti(2);
    EXPECT_FALSE(f.TotalKnown);
    EXPECT_EQ(f.Score * 10 + f.Multi, 32);
}
