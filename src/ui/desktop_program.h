// TDesktopProgram: the parts of the desktop program in the order of its start (the Qt message boxes and
// per-user store, the help's diagnostic mode, the shared resources, the help viewer, the main window and
// the find-in-list dialog), and its command line. The program's entry and the install test's driver both
// start the program through it.
#pragma once

#include <QStringList>

#include <memory>
#include <optional>
#include <string>

namespace zelk::ui {

class TfmExplorer;

// What `zelkon` was asked on its command line, read before the application object exists.
enum class TProgramRequest { Run, Help, Version };
TProgramRequest ProgramRequest(int argc, char** argv);
// The texts of --help and --version.
std::string ProgramHelpText();
std::string ProgramVersionText();

// The contest folder of the arguments that Qt left (its own options taken out): the first argument
// that is not the help's diagnostic switch, made absolute, or the folder of a file it names; empty for
// none. An option the program does not know raises TZelkError naming it.
std::string StartFolderArgument(const QStringList& arguments);

class TDesktopProgram {
  public:
    // Needs the application object; `arguments` as for StartFolderArgument, which gave `startFolder`.
    TDesktopProgram(const QStringList& arguments, const std::string& startFolder);
    ~TDesktopProgram();
    TDesktopProgram(const TDesktopProgram&) = delete;
    TDesktopProgram& operator=(const TDesktopProgram&) = delete;

    TfmExplorer& Explorer();
    // Shows the main window, which opens the start folder (or the one used last).
    void Show();

  private:
    struct TParts;
    std::unique_ptr<TParts> parts_;
};

} // namespace zelk::ui
