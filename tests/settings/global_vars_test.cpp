// The settings object: the program and contest files, the per-user store, column widths and paths.
#include "settings/global_vars.h"

#include "logs/error.h"
#include "logs/text.h"
#include "settings/platform.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zelk;
using zelk::test::TempDir;

namespace {

// Every field that one of the stores keeps, as one text, to compare whole states.
std::string Stored(const TZelkGlobalVars& v) {
    std::string s;
    for (const std::string* t :
         {&v.ReportsFolder, &v.CurrentFolder, &v.CurrentUBNFolder, &v.AppName, &v.WVFFontName,
          &v.WFindQSOCall, &v.FilesMask, &v.UBNExt, &v.QLastCall, &v.QSOTemplate})
        s += *t + "|";
    const auto add = [&s](auto... n) { ((s += std::to_string(n) + "|"), ...); };
    add(v.WExTop, v.WExLeft, v.WExHeight, v.WExWidth, v.WExSplit, v.WExHdrHeight, v.WVFTop, v.WVFLeft,
        v.WVFHeight, v.WVFWidth, v.WVFFontSize, v.WSETop, v.WSELeft, v.WSEHeight, v.WSEWidth, v.WFindQSOTop,
        v.WFindQSOLeft, v.WFindQSOHeight, v.WFindQSOWidth, v.MaxMinutesDifference, v.NoFileMinMentionCount,
        int(v.QLastReport), v.WVFSyntax, v.AutoCalcQSO, v.NoFileIncludeResults, v.FindLogByCallSign,
        v.QSOSplitTabs);
    return s;
}

// A per-user store that also records the order and type of every write.
class RecordingStore : public MemoryUserStore {
  public:
    std::vector<std::string> writes;
    void WriteInteger(const std::string& name, int value) override {
        writes.push_back("i:" + name);
        MemoryUserStore::WriteInteger(name, value);
    }
    void WriteString(const std::string& name, const std::string& value) override {
        writes.push_back("s:" + name);
        MemoryUserStore::WriteString(name, value);
    }
};

class Settings : public ::testing::Test {
  protected:
    Settings() : vars(prog.Text()) { vars.SetUserStore(&store); }
    // A fresh object over the same folders and store, as at the next start of the program.
    TZelkGlobalVars Restarted() {
        TZelkGlobalVars v(prog.Text());
        v.SetUserStore(&store);
        v.LoadSettings();
        return v;
    }
    void WriteProgramIni(const std::string& settings) {
        prog.Write("zelk.ini", "[Settings]\r\nCurrentFolder=" + contest.Text() + "\r\n" + settings);
    }

    TempDir prog, contest;
    RecordingStore store;
    TZelkGlobalVars vars;
};

void ExpectUnableToWrite(TZelkGlobalVars& v, const std::string& expected) {
    try {
        v.SaveSettings();
        FAIL() << "no error";
    } catch (const TZelkError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
}

} // namespace

TEST_F(Settings, FirstStartWithoutFilesKeepsTheDefaultsAndWritesNothing) {
    const std::string defaults = Stored(vars);
    vars.LoadSettings();
    EXPECT_EQ(Stored(vars), defaults);
    EXPECT_EQ(vars.FilesMask, "*.CBR");
    EXPECT_EQ(vars.QLastReport, 3);
    EXPECT_TRUE(vars.WVFSyntax);
    EXPECT_EQ(vars.ExePath, prog.Text() + "/");
    EXPECT_EQ(vars.AppFolder(), prog.Text());
    EXPECT_EQ(vars.HelpFile, prog.Text() + "/help/help.chm");
    EXPECT_FALSE(prog.Exists("zelk.ini"));
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(Settings, ContestFileOverridesTheProgramFileAndStaysInForceInAFolderWithoutOne) {
    WriteProgramIni("FilesMask=*.TXT\r\nUBNExt=*.OUT\r\n");
    contest.Write("zelk.ini", "[Settings]\r\nFilesMask=*.CBR\r\n");
    vars.LoadSettings();
    EXPECT_EQ(vars.FilesMask, "*.CBR");
    EXPECT_EQ(vars.UBNExt, "*.OUT"); // missing from the contest file: the program file's value

    TempDir bare;
    vars.CurrentFolder = bare.Text();
    vars.LoadContestSettings();
    EXPECT_EQ(vars.FilesMask, "*.CBR");
    // The settings in force go into the new folder's file at the next save.
    vars.SaveSettings();
    EXPECT_NE(bare.Read("zelk.ini").find("FilesMask=*.CBR\r\n"), std::string::npos);
}

TEST_F(Settings, BadNumbersAndReportKindsLeaveTheValueHeldBefore) {
    struct Case {
        const char* line;
        int maxMinutes, report;
        bool includeResults;
    };
    // The program file gives 5, kind 2 and true; the contest file then reads the line below.
    const Case cases[] = {
        {"MaxMinutesDifference=abc", 5, 2, true},
        {"MaxMinutesDifference=", 5, 2, true},
        {"MaxMinutesDifference=12", 12, 2, true},
        {"QLastReport=9", 5, 2, true},
        {"QLastReport=-1", 5, 2, true},
        {"QLastReport=256", 5, 2, true},
        {"QLastReport=0", 5, 0, true},
        {"QLastReport=5", 5, 5, true},
        {"NoFileIncludeResults=0", 5, 2, false},
        {"NoFileIncludeResults=yes", 5, 2, true},
    };
    for (const auto& c : cases) {
        WriteProgramIni("MaxMinutesDifference=5\r\nQLastReport=2\r\nNoFileIncludeResults=-3\r\n");
        contest.Write("zelk.ini", std::string("[Settings]\r\n") + c.line + "\r\n");
        TZelkGlobalVars v(prog.Text());
        v.LoadSettings();
        EXPECT_EQ(v.MaxMinutesDifference, c.maxMinutes) << c.line;
        EXPECT_EQ(v.QLastReport, c.report) << c.line;
        EXPECT_EQ(v.NoFileIncludeResults, c.includeResults) << c.line;
    }
}

TEST_F(Settings, CurrentFolderNeverComesFromOrGoesToTheContestFile) {
    WriteProgramIni("");
    contest.Write("zelk.ini", "[Settings]\r\nCurrentFolder=/elsewhere\r\nFilesMask=*.LOG\r\n");
    vars.LoadSettings();
    EXPECT_EQ(vars.CurrentFolder, contest.Text());
    EXPECT_EQ(vars.FilesMask, "*.LOG");

    contest.Write("zelk.ini", "[Settings]\r\nFilesMask=*.LOG\r\n");
    vars.SaveSettings();
    EXPECT_EQ(contest.Read("zelk.ini").find("CurrentFolder"), std::string::npos);
    EXPECT_NE(prog.Read("zelk.ini").find("CurrentFolder=" + contest.Text() + "\r\n"), std::string::npos);
}

TEST_F(Settings, WithoutAContestFolderOnlyTheProgramFileAndTheStoreAreWritten) {
    vars.SaveSettings();
    EXPECT_EQ(prog.Read("zelk.ini"),
              "[Settings]\r\nCurrentFolder=\r\nCurrentUBNFolder=\r\nFilesMask=*.CBR\r\n"
              "UBNExt=*.UBN\r\nMaxMinutesDifference=3\r\nNoFileMinMentionCount=3\r\n"
              "NoFileIncludeResults=0\r\nQLastCall=\r\nQLastReport=3\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(prog.Text()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_FALSE(contest.Exists("zelk.ini"));
    const std::vector<std::string> order = {
        "i:WExTop",       "i:WExLeft",        "i:WExHeight",     "i:WExWidth",     "i:WExSplit",
        "i:WExHdrHeight", "i:WVFTop",         "i:WVFLeft",       "i:WVFHeight",    "i:WVFWidth",
        "i:WSETop",       "i:WSELeft",        "i:WSEHeight",     "i:WSEWidth",     "i:WFindQSOTop",
        "i:WFindQSOLeft", "i:WFindQSOHeight", "i:WFindQSOWidth", "s:WFindQSOCall", "i:WVFSyntax",
        "s:WVFFontName",  "i:WVFFontSize",    "i:AutoCalcQSO"};
    EXPECT_EQ(store.writes, order);
    EXPECT_EQ(store.Integers().at("WVFSyntax"), 1);
}

TEST_F(Settings, WritesAreSkippedWhenTheFolderIsMissing) {
    TZelkGlobalVars homeless(prog.File("gone"));
    homeless.SetUserStore(&store);
    homeless.CurrentFolder = contest.File("gone");
    EXPECT_NO_THROW(homeless.SaveSettings());
    EXPECT_FALSE(prog.Exists("gone"));
    EXPECT_FALSE(contest.Exists("gone"));
    EXPECT_EQ(store.Integers().count("AutoCalcQSO"), 1u);
}

TEST_F(Settings, EverythingSurvivesARestart) {
    vars.CurrentFolder = contest.Text();
    vars.CurrentUBNFolder = contest.Text() + std::string("/Отчёты"_cp);
    vars.QLastCall = " Р3АБВ \"Ё\".cbr"_cp;
    vars.WFindQSOCall = "ЯЧС"_cp;
    vars.WVFFontName = "Courier New";
    vars.MaxMinutesDifference = 10, vars.NoFileMinMentionCount = 1, vars.QLastReport = 0;
    vars.NoFileIncludeResults = true, vars.AutoCalcQSO = true, vars.WVFSyntax = false;
    vars.WExTop = -20, vars.WFindQSOWidth = 640, vars.WVFFontSize = 11;
    vars.FindLogByCallSign = true, vars.QSOSplitTabs = true;
    vars.QSOTemplate = " freq  mode date time mycall sent sent sent call rcvd rcvd rcvd ";
    vars.SaveSettings();
    EXPECT_EQ(Stored(Restarted()), Stored(vars));
    // Texts stay Windows-1251 bytes in the file.
    EXPECT_NE(contest.Read("zelk.ini").find(std::string("QLastCall=\" ") + std::string("Р3АБВ"_cp)),
              std::string::npos);
}

TEST_F(Settings, KeysOfReadingRealLogsAreWrittenOnlyOnceTheyMatter) {
    vars.CurrentFolder = contest.Path();
    vars.SaveSettings();
    for (const char* key : {"FindLogByCallSign", "QSOSplitTabs", "QSOTemplate"})
        EXPECT_EQ(contest.Read("zelk.ini").find(key), std::string::npos) << key;
    vars.FindLogByCallSign = true;
    vars.QSOTemplate = "freq mode date time mycall sent call rcvd";
    vars.SaveSettings();
    // Once in the file, a key turned back to its default is written as such rather than left behind.
    vars.FindLogByCallSign = false;
    vars.SaveSettings();
    const std::string text = contest.Read("zelk.ini");
    EXPECT_NE(text.find("FindLogByCallSign=0\r\n"), std::string::npos);
    EXPECT_NE(text.find("QSOTemplate=freq mode date time mycall sent call rcvd\r\n"), std::string::npos);
    EXPECT_EQ(text.find("QSOSplitTabs"), std::string::npos);

    // --set of the command line comes over the contest file.
    vars.SetOverrides("[Settings]\r\nQSOSplitTabs=1\r\nFindLogByCallSign=1\r\nQSOTemplate=\r\n");
    vars.LoadContestSettings();
    EXPECT_TRUE(vars.QSOSplitTabs);
    EXPECT_TRUE(vars.FindLogByCallSign);
    EXPECT_EQ(vars.QSOTemplate, "");
}

TEST_F(Settings, KeysOfTheAnalysisAreWrittenOnlyOnceTheyDifferFromTheirDefaults) {
    vars.CurrentFolder = contest.Path();
    EXPECT_EQ(vars.LCRExt, ".LCR");
    EXPECT_EQ(vars.CategoryTags, "CATEGORY-OPERATOR CATEGORY-BAND CATEGORY-MODE CATEGORY-POWER");
    EXPECT_FALSE(vars.TieBreakByAccuracy);
    vars.SaveSettings();
    for (const char* key : {"LCRExt", "CategoryTags", "TieBreakByAccuracy"})
        EXPECT_EQ(contest.Read("zelk.ini").find(key), std::string::npos) << key;
    vars.LCRExt = ".TXT";
    vars.CategoryTags = "CATEGORY";
    vars.TieBreakByAccuracy = true;
    vars.SaveSettings();
    const TZelkGlobalVars& again = Restarted();
    EXPECT_EQ(again.LCRExt, ".TXT");
    EXPECT_EQ(again.CategoryTags, "CATEGORY");
    EXPECT_TRUE(again.TieBreakByAccuracy);
    vars.TieBreakByAccuracy = false;
    vars.SaveSettings();
    EXPECT_NE(contest.Read("zelk.ini").find("TieBreakByAccuracy=0\r\n"), std::string::npos);
}

TEST_F(Settings, OtherSectionsOfTheProgramFileSurviveASave) {
    const std::string kept =
        "; Zelkon\r\n[Path]\r\nreports=layouts\\\r\n\r\n[Name]\r\nAppName=" + std::string("Судья"_cp) +
        "\r\n\r\n[ReportFileName]\r\nRepQSOCalc=Check.frf\r\n";
    prog.Write("zelk.ini", kept + "\r\n[Settings]\r\nFilesMask=*.TXT\r\nExtra=1\r\n");
    vars.LoadSettings();
    EXPECT_EQ(vars.AppName, "Судья"_cp);
    EXPECT_EQ(vars.ReportsFolder, "layouts/");
    vars.FilesMask = "*.LOG";
    vars.SaveSettings();
    const std::string after = prog.Read("zelk.ini");
    EXPECT_EQ(after.substr(0, kept.size()), kept);
    EXPECT_NE(after.find("[Settings]\r\nFilesMask=*.LOG\r\nExtra=1\r\nCurrentFolder=\r\n"),
              std::string::npos);
    EXPECT_EQ(vars.ReportLayoutFile(rkQSOCalc), prog.Text() + "/layouts/Check.frf");
}

TEST_F(Settings, AFileThatCannotBeWrittenIsReportedAfterTheOtherStoresAreSaved) {
    // The contest file's name is taken by a folder.
    vars.CurrentFolder = contest.Text();
    std::filesystem::create_directory(contest.File("zelk.ini"));
    ExpectUnableToWrite(vars, "Unable to write to " + contest.File("zelk.ini"));
    EXPECT_TRUE(prog.Exists("zelk.ini"));
    EXPECT_FALSE(store.writes.empty());
}

TEST_F(Settings, AFailedWriteLeavesTheOldFilesIntact) {
    // A name too long to leave room for the suffix of the temporary file makes the write fail even for
    // the superuser.
    vars.IniName = std::string(252, 'z');
    vars.CurrentFolder = contest.Text();
    prog.Write(vars.IniName, "[Settings]\r\nFilesMask=*.OLD\r\n");
    contest.Write(vars.IniName, "[Path]\r\nreports=x\r\n");
    vars.FilesMask = "*.NEW";
    ExpectUnableToWrite(vars, "Unable to write to " + prog.File(vars.IniName) + "\nUnable to write to " +
                                  contest.File(vars.IniName));
    EXPECT_EQ(prog.Read(vars.IniName), "[Settings]\r\nFilesMask=*.OLD\r\n");
    EXPECT_EQ(contest.Read(vars.IniName), "[Path]\r\nreports=x\r\n");
    EXPECT_EQ(store.writes.size(), 23u);
}

TEST_F(Settings, StoreValuesAreTakenOnlyWhenPresent) {
    store.WriteInteger("WExTop", 120);
    store.WriteInteger("WVFSyntax", 0);
    store.WriteInteger("AutoCalcQSO", 7);
    store.WriteString("WVFFontName", "Lucida");
    store.WriteString("WExLeft", "not an integer value");
    vars.WExLeft = 9;
    vars.LoadSettings();
    EXPECT_EQ(vars.WExTop, 120);
    EXPECT_EQ(vars.WExLeft, 9);
    EXPECT_FALSE(vars.WVFSyntax);
    EXPECT_TRUE(vars.AutoCalcQSO);
    EXPECT_EQ(vars.WVFFontName, "Lucida");
    EXPECT_EQ(vars.WVFHeight, 0);
}

TEST_F(Settings, ColumnWidths) {
    struct Case {
        const char* stored; // nullptr: no value
        std::vector<int> expected;
        const char* error;
    };
    const Case cases[] = {
        {"25,70,,70", {25, 70, 3, 70, 5}, nullptr},
        {nullptr, {1, 2, 3, 4, 5}, nullptr},
        {"", {1, 2, 3, 4, 5}, nullptr},
        {"9,8,7,6,5,4,3", {9, 8, 7, 6, 5}, nullptr},
        {" 11 , 12", {11, 12, 3, 4, 5}, nullptr},
        {"10,x,30", {10, 2, 3, 4, 5}, "'x' is not a valid integer value"},
        {"1,2,3,4,5,bad", {1, 2, 3, 4, 5}, nullptr},
    };
    for (const auto& c : cases) {
        const char* label = c.stored ? c.stored : "(none)";
        MemoryUserStore s;
        if (c.stored) s.WriteString("lvQSODetail", c.stored);
        vars.SetUserStore(&s);
        std::vector<int> widths = {1, 2, 3, 4, 5};
        try {
            vars.LoadColumnWidths(widths, "lvQSODetail");
            EXPECT_TRUE(c.error == nullptr) << "no error for " << label;
        } catch (const TZelkError& e) {
            EXPECT_STREQ(e.what(), c.error ? c.error : "") << label;
        }
        EXPECT_EQ(widths, c.expected) << label;
    }
    MemoryUserStore s;
    vars.SetUserStore(&s);
    vars.SaveColumnWidths({120, 40, 50, 50}, "lvFiles");
    vars.SaveColumnWidths({}, "lvQSOHeader");
    EXPECT_EQ(s.Strings().at("lvFiles"), "120,40,50,50");
    EXPECT_EQ(s.Strings().at("lvQSOHeader"), "");
    // Columns without a width of their own are written empty and stay unset when read back.
    vars.SaveColumnWidths({-1, 70, -1, 80}, "lvQSODetail");
    EXPECT_EQ(s.Strings().at("lvQSODetail"), ",70,,80");
    std::vector<int> widths = {-1, -1, -1, -1};
    vars.LoadColumnWidths(widths, "lvQSODetail");
    EXPECT_EQ(widths, (std::vector<int>{-1, 70, -1, 80}));
}

TEST_F(Settings, ReportLayoutFilesComeFromTheProgramFileAtEveryCall) {
    const std::string reports = prog.Text() + "/reports/";
    const char* defaults[] = {"",           "EditFile.frf",   "Tournament.frf", "FilesExists.frf",
                              "QSOCalc.frf", "NoFile.frf", "Categories.frf", "LogCheck.frf"};
    for (int kind = rkNone; kind <= rkLastKind; ++kind)
        EXPECT_EQ(vars.ReportLayoutFile(kind), kind == rkNone ? "" : reports + defaults[kind]) << kind;
    EXPECT_EQ(vars.ReportLayoutFile(rkLastKind + 1), "");
    EXPECT_EQ(vars.ReportLayoutFile(-1), "");

    prog.Write("zelk.ini", "[reportfilename]\r\nRepQSOCalc=sub\\Mine.frf\r\nRepNoFile=\r\n");
    EXPECT_EQ(vars.ReportLayoutFile(rkQSOCalc), reports + "sub/Mine.frf");
    EXPECT_EQ(vars.ReportLayoutFile(rkNoFile), "");
    EXPECT_EQ(vars.ReportLayoutFile(rkTournament), reports + "Tournament.frf");
}

TEST(SettingsPaths, ProgramFolderAndRelativePaths) {
    const TZelkGlobalVars v("\\opt\\zelk\\");
    EXPECT_EQ(v.AppFolder(), "/opt/zelk");
    EXPECT_EQ(v.ExePath, "/opt/zelk/");
    EXPECT_EQ(v.ProgramIniPath(), "/opt/zelk/zelk.ini");
    EXPECT_EQ(v.ContestIniPath(), "");
    EXPECT_EQ(v.AppPath("help\\help.chm"), "/opt/zelk/help/help.chm");
    EXPECT_EQ(v.AppPath("/script/CalcQSO.txt"), "/opt/zelk/script/CalcQSO.txt");
    EXPECT_EQ(v.AppPath("\\script\\IsDuplicate.txt"), "/opt/zelk/script/IsDuplicate.txt");

    const TZelkGlobalVars running;
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(running.AppFolder()),
                                            std::filesystem::read_symlink("/proc/self/exe").parent_path()));
}

TEST(SettingsObject, ResetReplacesTheObjectBehindVars) {
    TZelkGlobalVars& vars = Vars();
    vars.FilesMask = "*.ONE";
    const TZelkGlobalVars previous = ResetVars(TZelkGlobalVars("/tmp"));
    EXPECT_EQ(previous.FilesMask, "*.ONE");
    EXPECT_EQ(&Vars(), &vars);
    EXPECT_EQ(vars.FilesMask, "*.CBR");
    EXPECT_EQ(vars.ExePath, "/tmp/");
    ResetVars(TZelkGlobalVars());
}
