// QSO line templates and separators: how real logs that leave out a piece, carry longer exchanges or
// separate their pieces by tabs are read, and that the default reading is the documented one.
#include "logs/error.h"
#include "logs/qso_format.h"
#include "logs/qso_record.h"
#include "logs/text.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

// The fields a template fills, as one text: Freq|Mode|SDate|STime|MyCall|Send|Call|Receive|Tx.
std::string Fields(std::string_view line, const TLogFormat& format) {
    TQSORecord r;
    r.ParseQSOLine(line, format);
    return r.Freq + "|" + r.Mode + "|" + r.SDate + "|" + r.STime + "|" + r.MyCall + "|" + r.Send + "|" +
           r.Call + "|" + r.Receive + "|" + r.Tx;
}

TLogFormat Format(std::string_view templateText, bool splitTabs = false) {
    return {TQSOTemplate::Parse(templateText), splitTabs};
}

} // namespace

TEST(QSOTemplate, ReadsNamesAndRefusesBadTemplatesWithAMessage) {
    struct Case {
        const char* text;
        const char* canonical; // the template read back, or nullptr when it is refused
        const char* message;   // a part of the message of a refused one
    };
    const Case cases[] = {
        {"", "freq mode date time mycall sent sent call rcvd rcvd", ""},
        {"  ", "freq mode date time mycall sent sent call rcvd rcvd", ""},
        {"FREQ Mode,date, time\tcall", "freq mode date time call", ""},
        {"freq mode date time mycall sent sent sent call rcvd rcvd rcvd tx",
         "freq mode date time mycall sent sent sent call rcvd rcvd rcvd tx", ""},
        {"skip call skip skip", "skip call skip skip", ""},
        {"freq mode report call", nullptr, "неизвестное поле «report»"},
        {"freq call mode Freq", nullptr, "поле «freq» может стоять только один раз"},
        {"call tx tx", nullptr, "поле «tx» может стоять только один раз"},
        {"freq mode date time mycall sent rcvd", nullptr, "нет поля call"},
    };
    for (const auto& c : cases) {
        const std::string message = TQSOTemplate::Check(c.text);
        if (c.canonical) {
            EXPECT_EQ(message, "") << c.text;
            EXPECT_EQ(TQSOTemplate::Parse(c.text).Text(), c.canonical) << c.text;
            continue;
        }
        EXPECT_NE(message.find(FromUtf8(c.message)), std::string::npos) << c.text << ": " << ToUtf8(message);
        try {
            TQSOTemplate::Parse(c.text);
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const TZelkError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    EXPECT_EQ(TQSOTemplate::Parse("skip call skip skip").RequiredPieces(), 2u);
    EXPECT_EQ(TQSOTemplate().RequiredPieces(), 10u);
}

TEST(QSOTemplate, TemplatesNameThePiecesOfRealLines) {
    struct Case {
        const char* line;
        const char* templateText;
        const char* fields;
    };
    const Case cases[] = {
        // The documented layout: p4 is the sender's own call, p10 and on are read over.
        {"3510 cw 2005-02-12 1201 q1aa 599 001 q2bb 599 015 0", "",
         "3510|CW|2005-02-12|12:01|Q1AA|599 001|Q2BB|599 015|"},
        // A line without its RST pieces: by the documented layout the received serial would be the call.
        {"3537 CW 2017-08-19 0741 Q0AR 041 Q0AP 045 040", "",
         "3537|CW|2017-08-19|07:41|Q0AR|041 Q0AP|045|040 |"},
        {"3537 CW 2017-08-19 0741 Q0AR 041 Q0AP 045 040", "freq mode date time mycall sent call rcvd tx",
         "3537|CW|2017-08-19|07:41|Q0AR|041|Q0AP|045|040"},
        // Exchanges of three pieces.
        {"7020 CW 2026-02-14 1201 Q1AB 599 001 MO Q2BB 599 015 SP 1",
         "freq mode date time mycall sent sent sent call rcvd rcvd rcvd tx",
         "7020|CW|2026-02-14|12:01|Q1AB|599 001 MO|Q2BB|599 015 SP|1"},
        // Pieces the line lacks stay empty, joined pieces keep their blanks as the documented reading does.
        {"7020 CW 2026-02-14 1201 Q1AB 599", "freq mode date time mycall sent sent sent call rcvd",
         "7020|CW|2026-02-14|12:01|Q1AB|599  |||"},
        {"2026-02-14 1201 Q2BB 7020", "date time call freq skip", "7020||2026-02-14|12:01|||Q2BB||"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Fields(c.line, Format(c.templateText)), c.fields) << c.line << " / " << c.templateText;
}

TEST(QSOTemplate, TabsAndNoBreakSpacesSeparateOnlyWhenAsked) {
    const std::string tabbed = "3510\tCW\t2005-02-12\t1201\tQ1AA\t599\t001\tQ2BB\t599\t015";
    const std::string noBreak = "\xA0"
                                "3510 CW 2005-02-12 1201\xA0Q1AA 599 001 Q2BB 599 015";
    const std::string joined = "3510|CW|2005-02-12|12:01|Q1AA|599 001|Q2BB|599 015|";
    EXPECT_EQ(Fields(tabbed, Format("", true)), joined);
    EXPECT_EQ(Fields(noBreak, Format("", true)), joined);
    EXPECT_EQ(Fields(" \t3510 \xA0 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015\t", Format("", true)),
              joined);
    // As before without the setting: the tab-separated line is one piece, the no-break space sticks to it.
    EXPECT_EQ(Fields(tabbed, Format("")), tabbed + "|||:|| || |");
    EXPECT_EQ(Fields(noBreak, Format("")), "\xA0"
                                           "3510|CW|2005-02-12|12:01|599|001 Q2BB|599|015 |");
    // A line of separators only is an empty record either way.
    EXPECT_EQ(Fields("\xA0\t\xA0", Format("", true)), "||||||||");
    std::vector<std::string> pieces;
    EXPECT_FALSE(SplitQSOPieces(" \t\xA0 ", true, pieces));
    EXPECT_TRUE(SplitQSOPieces(" \t\xA0 ", false, pieces));
    EXPECT_EQ(pieces, std::vector<std::string>{"\xA0"});
}

TEST(QSOTemplate, TheDefaultFormatReadsAsTheDocumentedLayout) {
    const std::string written = "freq mode date time mycall sent sent call rcvd rcvd";
    const TLogFormat spelledOut = Format(written);
    for (const char* line :
         {"  3510 cw 2005-02-12 1201 Q1AA 599 001 q2bb 599 015 0", " 3510 CW 2005-02-12 1201 Q1AA 599",
          "3510\tCW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015", "7020 CW 2005-02-12 711 q1aa \t599", "",
          "x"}) {
        TQSORecord plain(line);
        EXPECT_EQ(Fields(line, spelledOut), Fields(line, TLogFormat())) << line;
        EXPECT_EQ(Fields(line, spelledOut), plain.Freq + "|" + plain.Mode + "|" + plain.SDate + "|" +
                                                plain.STime + "|" + plain.MyCall + "|" + plain.Send + "|" +
                                                plain.Call + "|" + plain.Receive + "|" + plain.Tx)
            << line;
    }
}
