// Where the program's files live: an installed program's data folder and the user's folder, the portable
// program that keeps everything next to itself, and the settings, layouts and scripts found through them.
#include "settings/app_paths.h"

#include "logs/error.h"
#include "logs/qso_record.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

using namespace zelk;
using zelk::test::TempDir;

namespace {

// An installation under a temporary prefix: bin/, share/zelkon/ and a user's home folder beside them.
class Installed : public ::testing::Test {
  protected:
    Installed() {
        for (const char* folder : {"bin", "share/zelkon", "home/.config"})
            std::filesystem::create_directories(root.File(folder));
    }
    TZelkAppPaths Paths() const {
        return TZelkAppPaths::ForProgram(bin, "../share/zelkon", UserConfigFolder(nullptr, home.c_str()));
    }
    void WriteData(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(data + "/" + name).parent_path());
        root.Write("share/zelkon/" + name, bytes);
    }

    TempDir root;
    const std::string bin = root.File("bin");
    const std::string data = root.File("share/zelkon");
    const std::string home = root.File("home");
    const std::string user = root.File("home/.config/zelkon");
};

} // namespace

TEST_F(Installed, DataBesideTheProgramMakesAnInstallationWithTheUsersOwnFolder) {
    const TZelkAppPaths paths = Paths();
    EXPECT_EQ(paths.ProgramFolder(), bin);
    EXPECT_EQ(paths.DataFolder(), data);
    EXPECT_EQ(paths.UserFolder(), user);
    EXPECT_TRUE(paths.SeparateUserFolder());
    EXPECT_EQ(paths.DataFile("\\help\\help.chm"), data + "/help/help.chm");
    EXPECT_EQ(paths.UserFile("/zelk.ini"), user + "/zelk.ini");
}

TEST_F(Installed, AWritableFolderWithoutDataBesideItKeepsEverythingNextToTheProgram) {
    std::filesystem::remove_all(data);
    const TZelkAppPaths paths = Paths();
    EXPECT_EQ(paths.DataFolder(), bin);
    EXPECT_EQ(paths.UserFolder(), bin);
    EXPECT_FALSE(paths.SeparateUserFolder());
    // Nothing to look up elsewhere: a portable program reads what it writes.
    EXPECT_EQ(paths.ReadFile("script/CalcQSO.txt"), bin + "/script/CalcQSO.txt");
    paths.MakeUserFolder();
    EXPECT_FALSE(std::filesystem::exists(user));
}

TEST_F(Installed, AReadOnlyFolderWithoutDataBesideItKeepsTheUsersFilesApart) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes any folder";
    std::filesystem::remove_all(data);
    ASSERT_EQ(::chmod(bin.c_str(), 0555), 0);
    const TZelkAppPaths paths = Paths();
    ::chmod(bin.c_str(), 0755);
    EXPECT_EQ(paths.DataFolder(), bin);
    EXPECT_EQ(paths.UserFolder(), user);
}

TEST_F(Installed, TheUsersCopyOfAFileComesBeforeTheDataFolders) {
    const TZelkAppPaths paths = Paths();
    EXPECT_EQ(paths.ReadFile("reports/Tournament.frf"), data + "/reports/Tournament.frf");
    paths.MakeUserFolder();
    root.Write("home/.config/zelkon/zelk.ini", "");
    EXPECT_EQ(paths.ReadFile("zelk.ini"), user + "/zelk.ini");
    EXPECT_EQ(paths.ReadFile("\\zelk.ini"), user + "/zelk.ini");
}

TEST(UserConfigFolder, FollowsXdgConfigHomeThenHome) {
    const struct {
        const char* xdg;
        const char* home;
        std::string folder;
    } cases[] = {
        {"/x/conf", "/home/j", "/x/conf/zelkon"},
        {"/x/conf/", "/home/j", "/x/conf/zelkon"},
        {nullptr, "/home/j", "/home/j/.config/zelkon"},
        {"", "/home/j", "/home/j/.config/zelkon"},
        // A relative XDG_CONFIG_HOME is not to be used.
        {"conf", "/home/j", "/home/j/.config/zelkon"},
        {"/x/Судья", nullptr, "/x/Судья/zelkon"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToUtf8(UserConfigFolder(c.xdg, c.home)), c.folder) << (c.xdg ? c.xdg : "(none)");
    // Without HOME the account's home folder is taken.
    EXPECT_EQ(UserConfigFolder(nullptr, nullptr).substr(0, 1), "/");
}

TEST_F(Installed, JudgingScriptsAreSavedToTheUserAndReadFromTheUserThenTheData) {
    const TZelkAppPaths paths = Paths();
    const TScriptFileLocation fresh = JudgingScriptFile(paths, "", "CalcQSO.txt");
    EXPECT_EQ(fresh.Read, data + "/script/CalcQSO.txt");
    EXPECT_EQ(fresh.Write, user + "/script/CalcQSO.txt");
    std::filesystem::create_directories(user + "/script");
    root.Write("home/.config/zelkon/script/CalcQSO.txt", "begin end;");
    EXPECT_EQ(JudgingScriptFile(paths, "", "CalcQSO.txt").Read, user + "/script/CalcQSO.txt");
    const TScriptFileLocation given = JudgingScriptFile(paths, "/s", "CalcQSO.txt");
    EXPECT_EQ(given.Read, "/s/CalcQSO.txt");
    EXPECT_EQ(given.Write, "/s/CalcQSO.txt");
}

TEST_F(Installed, ScriptSetLoadsTheUsersScriptOverTheDataFoldersDefault) {
    WriteData("script/CalcQSO.txt", "begin\r\n  Result := 2;\r\nend;\r\n");
    WriteData("script/CalcTotal.txt", "begin\r\n  Result := 7;\r\nend;\r\n");
    std::filesystem::create_directories(user + "/script");
    root.Write("home/.config/zelkon/script/CalcQSO.txt", "begin\r\n  Result := 3;\r\nend;\r\n");
    StderrMessages messages;
    TZelkScript scripts(TScriptFiles(Paths()), messages);
    EXPECT_EQ(scripts.CalcQSO(TQSORecord("3510 CW 2005-02-12 1201 Q1AA 599 001 Q2BB 599 015")), 3);
    EXPECT_EQ(scripts.CalcTotal(1, 1), 7);
    EXPECT_EQ(scripts.FindItem(TScriptKind::CalcTotal)->GetFileName(), user + "/script/CalcTotal.txt");
    // A script found nowhere runs on its built-in text.
    EXPECT_EQ(scripts.FindItem(TScriptKind::CalcMultiplier)->GetText(),
              scripts.FindItem(TScriptKind::CalcMultiplier)->GetDefaultText() + "\r\n");
}

TEST_F(Installed, SettingsAreReadFromTheDataUntilSavedAndThenOnlyToTheUsersFolder) {
    WriteData("zelk.ini", "[Name]\r\nAppName=Судейская\r\n[Settings]\r\nFilesMask=*.LOG\r\n"_cp);
    WriteData("reports/Tournament.frf", "layout");
    TZelkGlobalVars vars(Paths());
    EXPECT_EQ(vars.HelpFile, data + "/help/help.chm");
    vars.LoadSettings();
    EXPECT_EQ(vars.FilesMask, "*.LOG");
    EXPECT_EQ(vars.ReportLayoutFile(rkTournament), data + "/reports/Tournament.frf");
    EXPECT_EQ(vars.ReportLayoutSaveFile(rkTournament), user + "/reports/Tournament.frf");

    vars.MaxMinutesDifference = 9;
    vars.SaveSettings();
    const std::string saved = root.Read("home/.config/zelkon/zelk.ini");
    // The user's file starts as a copy of the data folder's, so its other keys stay in force.
    EXPECT_NE(saved.find("AppName=Судейская"_cp), std::string::npos);
    EXPECT_NE(saved.find("MaxMinutesDifference=9"), std::string::npos);
    EXPECT_EQ(root.Read("share/zelkon/zelk.ini"),
              "[Name]\r\nAppName=Судейская\r\n[Settings]\r\nFilesMask=*.LOG\r\n"_cp);

    TZelkGlobalVars restarted(Paths());
    restarted.LoadSettings();
    EXPECT_EQ(restarted.MaxMinutesDifference, 9);
    EXPECT_EQ(restarted.AppName, "Судейская"_cp);
    std::filesystem::create_directories(user + "/reports");
    root.Write("home/.config/zelkon/reports/Tournament.frf", "changed");
    EXPECT_EQ(restarted.ReportLayoutFile(rkTournament), user + "/reports/Tournament.frf");
}

TEST_F(Installed, AUsersFolderThatCannotBeMadeIsReportedBySavingTheSettings) {
    root.Write("home/.config/zelkon", "a file in the way");
    TZelkGlobalVars vars(Paths());
    try {
        vars.SaveSettings();
        FAIL() << "no error";
    } catch (const TZelkError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + user + "/zelk.ini");
    }
}
