// Where the program's files live: the data it comes with (help, report layouts, default judging scripts)
// and the files each user changes (the program's zelk.ini, edited scripts and layouts). A program run from
// its build tree or from a folder the user can write keeps both next to itself; an installed one reads its
// data from <prefix>/share/zelkon and keeps the user's files in the user's configuration folder.
#pragma once

#include <string>
#include <string_view>

namespace zelk {

class TZelkAppPaths {
  public:
    // Data and user files both in `programFolder`.
    static TZelkAppPaths Portable(const std::string& programFolder);
    // Data and user files in folders of their own; an empty folder is taken to be `programFolder`.
    TZelkAppPaths(const std::string& programFolder, const std::string& dataFolder,
                  const std::string& userFolder);

    // The paths of the program that runs from `programFolder`: installed when the data folder of an
    // installation stands beside it (`installedData`, relative to the program folder, "../share/zelkon");
    // otherwise portable when the program folder can be written; otherwise the data next to the program
    // and the user's files in `userFolder`.
    static TZelkAppPaths ForProgram(const std::string& programFolder, const std::string& installedData,
                                    const std::string& userFolder);
    // ForProgram for the running executable, with the installation's data folder of this build and the
    // user's configuration folder of the environment.
    static TZelkAppPaths ForThisProgram();

    // Folders as path texts without a trailing "/".
    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& DataFolder() const { return dataFolder_; }
    const std::string& UserFolder() const { return userFolder_; }
    // True when the user's files are kept apart from the data (an installed or read-only program).
    bool SeparateUserFolder() const { return userFolder_ != dataFolder_; }

    // `relative` ("help/help.chm", "\script\CalcQSO.txt") in the data folder or in the user's folder.
    std::string DataFile(std::string_view relative) const;
    std::string UserFile(std::string_view relative) const;
    // The user's own copy of `relative` when there is one, else the data folder's: what a file that the
    // user may have changed is read from.
    std::string ReadFile(std::string_view relative) const;
    // Creates the user's folder when it is apart from the data and missing, so that a first save there
    // can go through; a folder that cannot be made shows up as the error of that save.
    void MakeUserFolder() const;

  private:
    std::string programFolder_, dataFolder_, userFolder_;
};

// The user's configuration folder for the program: `xdgConfigHome`/zelkon when that is an absolute path,
// else `home`/.config/zelkon. Both come from the environment (XDG_CONFIG_HOME, HOME); may be null.
std::string UserConfigFolder(const char* xdgConfigHome, const char* home);

// Where a judging script's file is read from and saved to.
struct TScriptFileLocation {
    std::string Read;  // the user's saved script, else the data folder's default
    std::string Write; // where the script editor saves it
};
// The judging script file `fileName` ("CalcQSO.txt") of the "script" folder of `paths`; a non-empty
// `folder` (zelkon-cli --scripts, the tests) holds the script for both reading and saving.
TScriptFileLocation JudgingScriptFile(const TZelkAppPaths& paths, const std::string& folder,
                                      const std::string& fileName);

} // namespace zelk
