// The problems of logs as they arrive: each kind is found, counted with its first line, and goes away
// with the setting it names.
#include "logs/log_problems.h"
#include "logs/text.h"
#include "logs/text_encoding.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

const char* kHeader = "START-OF-LOG: 3.0\r\nCALLSIGN: ";
const char* kGood = "QSO: 3510 CW 2005-02-12 1201 Q9XX 599 001 Q1AA 599 015 0\r\n";

class LogProblems : public ::testing::Test {
  protected:
    void Log(const std::string& name, const std::string& call, const std::string& lines) {
        dir.Write(name, kHeader + call + "\r\n" + lines);
    }

    // "FILE<TAB>PROBLEM" lines, the problems in UTF-8.
    std::vector<std::string> Problems(const TLogProblemOptions& options) const {
        std::vector<std::string> out;
        for (const auto& p : FindLogProblems(dir.Text(), names, options))
            out.push_back(p.FileName + "\t" + ToUtf8(p.Text));
        return out;
    }

    test::TempDir dir;
    std::vector<std::string> names;
};

TLogProblemOptions Options(bool byCallSign, bool splitTabs, std::string_view templateText = "") {
    return {{TQSOTemplate::Parse(templateText), splitTabs}, "*.CBR", byCallSign};
}

} // namespace

TEST_F(LogProblems, EveryKindIsFoundWithItsFirstLineAndTheSettingThatHelps) {
    Log("Q1AA.CBR", "Q1AA", kGood);
    Log("Q0AA.CBR", "Q0AA", kGood);
    Log("Q0AA_.CBR", "q0aa", kGood);
    Log("Q5O_p.CBR", "Q5O/P", kGood);
    dir.Write("NOCALL.CBR", "START-OF-LOG: 3.0\r\n" + std::string(kGood));
    dir.Write("Q2BB.CBR", EncodeText(kHeader + std::string("Q2BB\r\nSOAPBOX: ") + "73\r\n" + kGood,
                                     TTextEncoding::Utf16LEBom) +
                              std::string("\x13\x27\r\0\n\0", 6)); // U+2713, which Windows-1251 lacks
    Log("Q3CC.CBR", "Q3CC",
        "QSO:\t3510\tCW\t2005-02-12\t1201\tQ3CC\t599\t001\tQ1AA\t599\t015\r\n"
        "QSO: 3510\tCW\t2005-02-12\t1202\tQ3CC\t599\t002\tQ1AB\t599\t016\r\n"
        "QSO:\xA0"
        "3510 CW 2005-02-12 1203 Q3CC 599 003 Q1AC 599 017\r\n");
    Log("Q4DD.CBR", "Q4DD",
        std::string(kGood) + "QSO: 3537 CW 2017-08-19 0741 Q4DD 041 Q0AP 045 040\r\n" +
            "QSO: 3510 CW 19.08.2017 1201 Q4DD 599 001 Q1AA 599 015\r\n" +
            "QSO: 3510 CW 2005-02-12 1201 Q4DD 599 001 Q1AA 599 015 " + std::string(300, 'x') + "\r\n");
    names = {"Q0AA.CBR", "Q0AA_.CBR", "Q1AA.CBR",  "Q2BB.CBR",
             "Q3CC.CBR", "Q4DD.CBR",  "Q5O_p.CBR", "NOCALL.CBR"};

    const std::vector<std::string> q0aa = {
        "Q0AA_.CBR\tCALLSIGN: Q0AA не совпадает с именем файла, связи с Q0AA не найдут этот лог; "
        "поможет FindLogByCallSign=1",
        "Q0AA_.CBR\tтот же CALLSIGN: Q0AA, что в файле Q0AA.CBR: два лога одной станции, оставьте один из "
        "них"};
    const std::string q2bb =
        "Q2BB.CBR\tкодировка UTF-16 LE с BOM, прочитан как Windows-1251; символов, которых "
        "нет в Windows-1251, заменено на «?»: 1";
    const std::vector<std::string> q4dd = {
        "Q4DD.CBR\tстрок QSO с меньшим числом полей, чем в шаблоне: 1 (первая — строка 4: полей 9 из 10); "
        "строки надо исправить",
        "Q4DD.CBR\tстрок QSO, где на месте позывного не позывной: 1 (первая — строка 4: «045»); строки надо "
        "исправить",
        "Q4DD.CBR\tстрок QSO, где дата не дата: 1 (первая — строка 5: «19.08.2017»)",
        "Q4DD.CBR\tстрок QSO длиннее 255 символов, обрезанных при чтении: 1 (первая — строка 6)"};
    const std::string nocall = "NOCALL.CBR\tнет или пустой тэг CALLSIGN:, лог нельзя проверить";

    std::vector<std::string> want = q0aa;
    want.push_back(q2bb);
    want.push_back("Q3CC.CBR\tтабуляция или неразрывный пробел внутри строк QSO, поля сливаются: 3 (первая — "
                   "строка 3); поможет QSOSplitTabs=1");
    want.insert(want.end(), q4dd.begin(), q4dd.end());
    want.push_back(
        "Q5O_p.CBR\tCALLSIGN: Q5O/P не совпадает с именем файла, связи с Q5O/P не найдут этот лог; "
        "поможет FindLogByCallSign=1");
    want.push_back(nocall);
    EXPECT_EQ(Problems(Options(false, false)), want);

    // The settings named take away their problems; the duplicate and the rest stay.
    want = {q0aa[1], q2bb};
    want.insert(want.end(), q4dd.begin(), q4dd.end());
    want.push_back(nocall);
    EXPECT_EQ(Problems(Options(true, true)), want);
}

TEST_F(LogProblems, ATemplateThatFitsTheLinesLeavesNothingToReport) {
    Log("Q4DD.CBR", "Q4DD",
        "QSO: 3537 CW 2017-08-19 0741 Q4DD 041 Q0AP 045 040\r\n"
        "QSO: 3537 CW 2017-08-19 0745 Q4DD 042 Q0AR 051 041\r\n");
    names = {"Q4DD.CBR"};
    // Every line is written so: the template is what would help.
    const auto problems = Problems(Options(false, false));
    ASSERT_EQ(problems.size(), 2u);
    for (const std::string& p : problems)
        EXPECT_NE(p.find("; поможет QSOTemplate"), std::string::npos) << p;
    EXPECT_EQ(Problems(Options(false, false, "freq mode date time mycall sent call rcvd tx")),
              std::vector<std::string>{});
    // A template that names more pieces than the lines have says so.
    const auto longer =
        Problems(Options(false, false, "freq mode date time mycall sent sent sent call rcvd"));
    ASSERT_FALSE(longer.empty());
    EXPECT_NE(longer[0].find("2 (первая — строка 3: полей 9 из 10)"), std::string::npos) << longer[0];
}

TEST_F(LogProblems, AnUnreadableLogIsReportedAndTheOthersAreStillLookedAt) {
    Log("Q1AA.CBR", "Q1AA", kGood);
    dir.MakeDir("Q2BB.CBR");
    names = {"GONE.CBR", "Q2BB.CBR", "Q1AA.CBR", "Q5O_p.CBR"};
    Log("Q5O_p.CBR", "Q5O/P", kGood);
    const auto problems = Problems(Options(false, false));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].rfind("GONE.CBR\t", 0), 0u);
    EXPECT_NE(problems[0].find(dir.File("GONE.CBR")), std::string::npos)
        << problems[0]; // the message names it
    EXPECT_EQ(problems[1].rfind("Q2BB.CBR\t", 0), 0u);
    EXPECT_EQ(problems[2].rfind("Q5O_p.CBR\t", 0), 0u);
}
