// TZelkGlobalVars: the program's settings and well-known paths for the whole run, kept in the program
// settings file, the contest settings file (both zelk.ini) and the per-user store.
#pragma once

#include "settings/app_paths.h"
#include "settings/judging_settings.h"
#include "settings/report_kind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

class IUserStore;
class TZelkIniFile;

// The judging keys (FilesMask, MaxMinutesDifference, ...) are the fields of the base; Judging() hands
// them to the core.
class TZelkGlobalVars : public TZelkJudgingSettings {
  public:
    std::string ExePath;                    // program folder with a trailing "/"
    std::string HelpFile = "help/help.chm"; // in the data folder
    std::string ReportsFolder = "reports/";
    std::string CurrentFolder;
    std::string CurrentUBNFolder;
    std::string IniName = "zelk.ini";
    std::string AppName = "Zelkon";
    std::string RegistryKey = "Software\\Zelk";
    int WExTop = 0, WExLeft = 0, WExHeight = 0, WExWidth = 0;
    int WExSplit = 0;
    int WExHdrHeight = 0;
    int WVFTop = 0, WVFLeft = 0, WVFHeight = 0, WVFWidth = 0;
    bool WVFSyntax = true;
    std::string WVFFontName;
    int WVFFontSize = 0;
    int WSETop = 0, WSELeft = 0, WSEHeight = 0, WSEWidth = 0;
    int WFindQSOTop = 0, WFindQSOLeft = 0, WFindQSOHeight = 0, WFindQSOWidth = 0;
    std::string WFindQSOCall;
    bool AutoCalcQSO = false;
    bool LogEdited = false;
    std::string QLastCall;
    std::uint8_t QLastReport = 3;
    bool RecalcAll = true;

    // Defaults, with the paths of the running executable.
    TZelkGlobalVars();
    // Defaults for a program in `exeFolder` that keeps everything next to itself.
    explicit TZelkGlobalVars(const std::string& exeFolder);
    // Defaults with the program's data and the user's files where `paths` say.
    explicit TZelkGlobalVars(const TZelkAppPaths& paths);

    // The program folder, the data folder and the user's folder.
    const TZelkAppPaths& Paths() const { return paths_; }

    // The per-user store used by LoadSettings, SaveSettings and the column widths (not owned).
    void SetUserStore(IUserStore* store) { store_ = store; }
    IUserStore* UserStore() const { return store_; }

    // Each of these goes through all of its stores even when one fails, then raises one TZelkError
    // with the messages of the failures, one a line. A settings file that cannot be written gives
    // "Unable to write to <path>"; its old content stays as it was, and the other stores are written.
    // Program file (Path, Name, Settings), contest file (common keys), per-user store.
    void LoadSettings();
    // The contest file's common keys, so that a newly opened folder brings its own settings.
    void LoadContestSettings();
    // Program file (CurrentFolder and the common keys), contest file (common keys), per-user store.
    void SaveSettings();

    // Widths of a list's columns, from and to the per-user string value `name` ("120,40,50,50").
    // Loading sets column i from element i when that element is not empty; an element that is not an
    // integer stops the loading with TZelkError, the columns before it already set. A negative width is
    // saved as an empty element: that column has no stored width and the window sizes it itself.
    void LoadColumnWidths(std::vector<int>& widths, const std::string& name) const;
    void SaveColumnWidths(const std::vector<int>& widths, const std::string& name) const;

    // The layout file of a report kind (1..5): ReportsFolder + the name from the program settings file,
    // the user's changed copy when there is one, else the data folder's; empty for kind 0 or an empty
    // name.
    std::string ReportLayoutFile(int kind) const;
    // The settings judging reads, as the core takes them.
    TZelkJudgingSettings Judging() const { return *this; }

    // Where the report designer saves a changed layout of a report kind: the user's copy.
    std::string ReportLayoutSaveFile(int kind) const;
    // The program folder without a trailing separator.
    std::string AppFolder() const;
    // AppFolder + "/" + `relative` with one leading separator removed and "\" turned into "/".
    std::string AppPath(const std::string& relative) const;

    // The program settings file: written to the user's folder, read from there or, until the user's
    // settings are first saved, from the data folder.
    std::string ProgramIniPath() const;
    std::string ProgramIniReadPath() const;
    // The contest folder's settings file, or empty text while no contest folder is set.
    std::string ContestIniPath() const;

    // Settings given on the command line as ini text; applied over the contest file each time it is read.
    void SetOverrides(const std::string& iniText) { overrides_ = iniText; }

    // The program settings file alone (its Path, Name and Settings keys).
    void ReadProgramFile();
    // The common keys of section Settings of `ini`, each with the field's value as default.
    void ReadCommonKeys(const TZelkIniFile& ini);

  private:
    void ReadContestFile();
    void ReadUserStore();
    void WriteProgramFile() const;
    void WriteContestFile() const;
    void WriteUserStore() const;
    void WriteCommonKeys(TZelkIniFile& ini) const;
    std::string LayoutRelativePath(int kind) const;

    TZelkAppPaths paths_;
    std::string appFolder_;
    std::string overrides_;
    IUserStore* store_ = nullptr;
};

// The desktop program's one settings object. Only the program's edge (the windows and the program entry)
// uses it; the core gets what it needs passed in, and the command line and the tests keep their own.
TZelkGlobalVars& Vars();
// Replaces the settings object (the program entry and the tests) and returns the previous one;
// references from Vars() stay valid.
TZelkGlobalVars ResetVars(const TZelkGlobalVars& fresh);

} // namespace zelk
