// The diagnostic mode of the help: switched on by the argument "/debug" or "-debug" (any letter case) or
// by a file "debug.debug" in the program folder; every step of showing help is then written to the file
// "HHDebug.txt" in the program folder, one line per step, in Windows-1251 with CR LF line ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelk::ui {

// Why the diagnostic mode is wanted ("ключ /debug", "файл debug.debug"), or empty text when it is not:
// `arguments` are the program's arguments after its own name, `appFolder` the program folder.
std::string HelpDebugReason(const std::vector<std::string>& arguments, const std::string& appFolder);

// True for the argument that switches the diagnostic mode on, so that it is not taken for a folder.
bool IsHelpDebugSwitch(std::string_view argument);

// The diagnostic file of the run. While an object exists the mode is on and HelpDebug writes to it.
class THelpDebugLog {
  public:
    // Starts the file at `path` anew with a line that gives the date and `reason`.
    THelpDebugLog(std::string path, std::string_view reason);
    ~THelpDebugLog();
    THelpDebugLog(const THelpDebugLog&) = delete;
    THelpDebugLog& operator=(const THelpDebugLog&) = delete;

    const std::string& Path() const { return path_; }
    // Appends one line: the time of day, a blank and `line`.
    void Write(std::string_view line);

  private:
    void Append(std::string_view text, bool fresh);

    std::string path_;
    THelpDebugLog* previous_;
    bool failed_ = false;
};

// Writes `line` (Windows-1251) to the diagnostic file when the mode is on; otherwise does nothing.
void HelpDebug(std::string_view line);

} // namespace zelk::ui
