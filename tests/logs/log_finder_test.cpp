// Finding a station's log by the callsign inside the logs, by base call, and by file name, with the
// file names real contests arrive with.
#include "logs/log_finder.h"
#include "logs/text_encoding.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace zelk;

namespace {

// File names and CALLSIGN: values as they came in a real contest.
std::vector<TListedLog> RealLogs() {
    return {
        {"Q5O_p.CBR", "Q5O/P"}, {"Q3PZ .CBR", "q3pz"}, {"Q0AA_.CBR", "Q0AA"},    {"Q0AA.CBR", " Q0AA "},
        {"Q1AB.LOG", "Q1AB"},   {"Q2CC.CBR", ""},      {"Q7XX.CBR", "Q7XX/QRP"}, {"Q9ZZ.CBR", "Q8YY"},
        {"b.cbr", "Q4DD"},      {"a.cbr", "q4dd"},
    };
}

std::string Found(const TLogFinder& finder, const char* call) {
    const int i = finder.Find(call);
    EXPECT_EQ(finder.FindName(call), i < 0 ? "" : finder.Logs()[static_cast<size_t>(i)].FileName);
    return i < 0 ? "-" : finder.Logs()[static_cast<size_t>(i)].FileName;
}

} // namespace

TEST(LogFinder, FindsLogsByCallSignThenBaseCallThenFileName) {
    const TLogFinder finder(RealLogs(), {"*.CBR;*.LOG", true});
    const std::pair<const char*, const char*> cases[] = {
        {"Q5O/P", "Q5O_p.CBR"},  {"Q5O", "Q5O_p.CBR"},   // exact, then by base call
        {"Q3PZ", "Q3PZ .CBR"},   {"q3pz", "Q3PZ .CBR"},  // letter case ignored
        {"Q0AA", "Q0AA.CBR"},    {"Q0AA/P", "Q0AA.CBR"}, // of two logs the one named after the call
        {"Q4DD", "a.cbr"},                               // none named after it: the first by name
        {"Q7XX", "Q7XX.CBR"},    {"Q7XX/M", "Q7XX.CBR"},
        {"Q2/Q7XX", "Q7XX.CBR"}, {"Q1AB", "Q1AB.LOG"},
        {"Q8YY", "Q9ZZ.CBR"},                          // found by what the log says
        {"Q2CC", "Q2CC.CBR"},    {"Q9ZZ", "Q9ZZ.CBR"}, // no log says so: the file-name rule
        {"Q6NO", "-"},           {"", "-"},
    };
    for (const auto& [call, name] : cases)
        EXPECT_EQ(Found(finder, call), name) << call;
}

TEST(LogFinder, FileNameRuleAloneUnlessAskedAndTheMasksInOrder) {
    const TLogFinder finder(RealLogs(), {"*.CBR;*.LOG", false});
    const std::pair<const char*, const char*> cases[] = {
        {"Q5O/P", "-"},         {"Q3PZ", "-"},        {"Q8YY", "-"},        {"Q0AA", "Q0AA.CBR"},
        {"Q1AB/P", "Q1AB.LOG"}, {"Q9ZZ", "Q9ZZ.CBR"}, {"Q2CC", "Q2CC.CBR"}, {"Q4DD", "-"},
    };
    for (const auto& [call, name] : cases)
        EXPECT_EQ(Found(finder, call), name) << call;

    // With a mask that leaves the extension open, the first log by name that fits.
    const TLogFinder open({{"Q1AB.txt", "Q1AB"}, {"q2bb.log", "Q2BB"}, {"Q2BB.cbr", "Q2BB"}}, {"*.*", false});
    EXPECT_EQ(Found(open, "Q1AB/P"), "Q1AB.txt");
    EXPECT_EQ(Found(open, "Q2BB"), "Q2BB.cbr");
    EXPECT_EQ(Found(open, "Q3CC"), "-");
}

TEST(LogFinder, BaseCallsSharedByTwoCallSignsPreferTheLogNamedAfterTheCall) {
    const TLogFinder finder({{"Q1AB_QRP.CBR", "Q1AB/QRP"}, {"Q1AB.CBR", "Q1AB/P"}}, {"*.CBR", true});
    EXPECT_EQ(Found(finder, "Q1AB/QRP"), "Q1AB_QRP.CBR");
    EXPECT_EQ(Found(finder, "Q1AB/M"), "Q1AB.CBR");
    EXPECT_EQ(Found(finder, "Q1AB"), "Q1AB.CBR");
    EXPECT_TRUE(finder.Duplicates().empty()); // two callsigns, no duplicate
}

TEST(LogFinder, DuplicatesAndLogsNotNamedAfterTheirCallSign) {
    for (bool byCallSign : {false, true}) {
        const TLogFinder finder(RealLogs(), {"*.CBR;*.LOG", byCallSign});
        std::vector<std::string> pairs;
        for (const TDuplicateLog& d : finder.Duplicates())
            pairs.push_back(finder.Logs()[d.Unused].FileName + ">" + finder.Logs()[d.Used].FileName);
        EXPECT_EQ(pairs, (std::vector<std::string>{"b.cbr>a.cbr", "Q0AA_.CBR>Q0AA.CBR"}));
        std::string named;
        for (size_t i = 0; i < finder.Logs().size(); ++i)
            if (finder.NamedAfterItsCallSign(i)) named += finder.Logs()[i].FileName + " ";
        EXPECT_EQ(named, "Q0AA.CBR Q1AB.LOG Q7XX.CBR "); // Q7XX/QRP names Q7XX.CBR
    }
}

TEST(LogFinder, ReadsTheCallSignsOfTheListedLogs) {
    test::TempDir dir;
    dir.Write("Q1AB.CBR", "START-OF-LOG: 3.0\r\ncallsign: q1ab/p\r\nCALLSIGN: Q9ZZ\r\n");
    dir.Write("Q2BB.CBR", EncodeText("CALLSIGN: Q2BB\r\n", TTextEncoding::Utf16LEBom));
    dir.Write("Q3CC.CBR", "NAME: x\r\n");
    const auto logs = ReadListedLogs(dir.Text(), {"Q1AB.CBR", "Q2BB.CBR", "Q3CC.CBR", "GONE.CBR"});
    ASSERT_EQ(logs.size(), 4u);
    EXPECT_EQ(logs[0].CallSign, "q1ab/p"); // the first line, as written
    EXPECT_EQ(logs[1].CallSign, "Q2BB");
    EXPECT_EQ(logs[2].CallSign, "");
    EXPECT_EQ(logs[3].CallSign, "");
    EXPECT_EQ(logs[3].FileName, "GONE.CBR");
}
