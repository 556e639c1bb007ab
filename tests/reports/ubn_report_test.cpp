// The UBN check report: layout byte for byte, and safe writing of the file.
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "reports/ubn_report.h"
#include "support/contest_fixture.h"

#include <gtest/gtest.h>

using namespace zelk;
using namespace zelk::test;

namespace {

class UBNTest : public ContestFixture {
  protected:
    void WriteExample() {
        WriteLog("Q1AA.CBR",
                 {"START-OF-LOG: 3.0", "CALLSIGN: Q1AA", "CLAIMED-SCORE: 6", "CATEGORY: SINGLE-OP",
                  "X-QTH: Moscow"},
                 {"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015 0",
                  "3512 CW 2005-02-12 1203 Q1AA 599 002 Q3CC 599 007 0"});
        WriteLog("Q2BB.CBR", {"CALLSIGN: Q2BB"}, {"3510 CW 2005-02-12 1201 Q2BB 599 015 Q1AA 599 001 0"});
        WriteLog("Q3CC.CBR", {"CALLSIGN: Q3CC"}, {"3512 CW 2005-02-12 1204 Q3CC 599 007 Q1AA 599 002 0"});
    }
};

} // namespace

TEST_F(UBNTest, ExampleComesOutByteForByte) {
    WriteExample();
    Open("Q1AA.CBR");
    const std::string target = folder.File("q1aa.UBN");
    SaveUBNReport(contest, Judging(), target);
    const std::string expected = "START-OF-LOG:  3.0\r\n"
                                 "CALLSIGN:      Q1AA\r\n"
                                 "CLAIMED-SCORE: 4\r\n"
                                 "CATEGORY:      SINGLE-OP\r\n"
                                 "X-QTH:         Moscow" +
                                 "неизвестный тэг"_cp +
                                 "\r\n"
                                 "==========================================================\r\n"
                                 "1   3510  CW  2005-02-12  12:01  Q2BB  599 001  599 015  1  \r\n"
                                 "2   3512  CW  2005-02-12  12:03  Q3CC  599 002  599 007  1  \r\n"
                                 "==========================================================\r\n"
                                 "SCORE:         2\r\n"
                                 "MULTIPLIER:    2\r\n"
                                 "CLAIMED-SCORE: 4\r\n"
                                 "==========================================================\r\n";
    EXPECT_EQ(folder.Read("q1aa.UBN"), expected);
}

TEST_F(UBNTest, LogWithoutContactsOrCallSign) {
    WriteLog("EMPTY.CBR", {"CALLSIGN: Q1AA"}, {});
    Open("EMPTY.CBR");
    EXPECT_EQ(BuildUBNReport(contest, Scripts()),
              "CALLSIGN:      Q1AA\r\nCLAIMED-SCORE: 0\r\n" + std::string(18, '=') + "\r\n" +
                  std::string(18, '=') + "\r\nSCORE:         0\r\nMULTIPLIER:    0\r\nCLAIMED-SCORE: 0\r\n" +
                  std::string(18, '=') + "\r\n");
    WriteLog("NOCALL.CBR", {"CATEGORY-DXPEDITION: yes"},
             {"3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015"});
    Open("NOCALL.CBR");
    SaveUBNReport(contest, Judging(), folder.File("nocall.txt"));
    const std::string text = folder.Read("nocall.txt");
    EXPECT_EQ(text.rfind("CALLSIGN:      нет обязательного тэга\r\nCLAIMED-SCORE: 0\r\n"
                         "CATEGORY-DXPEDITION:yes\r\n"_cp,
                         0),
              0u)
        << ToUtf8(text);
    EXPECT_NE(text.find("1   3510  CW  2005-02-12  12:01  Q2BB  599 001  599 015  -  \r\n"),
              std::string::npos);
}

TEST_F(UBNTest, WideNumbersAndCommentsDoNotWidenColumns) {
    std::vector<std::string> contacts;
    for (int i = 0; i < 1000; ++i)
        contacts.push_back("3510 CW 2005-02-12 1201 Q1AA 599 001 Q9ZZ 599 015");
    WriteLog("Q1AA.CBR", {"CALLSIGN: Q1AA"}, contacts);
    Open("Q1AA.CBR");
    SaveUBNReport(contest, Judging(), folder.File("q1aa.UBN"));
    const std::string text = folder.Read("q1aa.UBN");
    // Comment "нет файла; " is 11 characters: S = 6+4+12+7+6+9+9+3+13 = 69.
    EXPECT_NE(text.find("\r\n" + std::string(69, '=') + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n1000"
                        "3510  CW  2005-02-12  12:01  Q9ZZ  599 001  599 015  -  нет файла; \r\n"_cp),
              std::string::npos);
}

TEST_F(UBNTest, FailedWriteKeepsTheExistingReport) {
    WriteExample();
    Open("Q1AA.CBR");
    EXPECT_THROW(SaveUBNReport(contest, Judging(), folder.File("no-such-folder/q1aa.UBN")), TZelkError);
    folder.MakeDir("q1aa.UBN"); // a folder in the way
    EXPECT_THROW(SaveUBNReport(contest, Judging(), folder.File("q1aa.UBN")), TZelkError);
    // An existing report whose temporary neighbour cannot be created (its name would be too long)
    // stays as it was.
    const std::string longName = std::string(250, 'r') + ".UBN";
    folder.Write(longName, "old report");
    EXPECT_THROW(SaveUBNReport(contest, Judging(), folder.File(longName)), TZelkError);
    EXPECT_EQ(folder.Read(longName), "old report");
    EXPECT_EQ(ProposedUBNFileName(contest, settings.UBNExt), folder.File("Q1AA.UBN"));
}
