// zelkon, the desktop program. --help and --version answer before any window system is needed; otherwise
// the application object takes Qt's own options and the program starts with the folder the rest names.
#include "logs/error.h"
#include "logs/text.h"
#include "ui/command_guard.h"
#include "ui/desktop_program.h"
#include "ui/qt_platform.h"

#include <QApplication>

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace zelk::ui;
    switch (ProgramRequest(argc, argv)) {
    case TProgramRequest::Help:
        std::cout << ProgramHelpText();
        return 0;
    case TProgramRequest::Version:
        std::cout << ProgramVersionText();
        return 0;
    case TProgramRequest::Run:
        break;
    }
    TZelkApplication app(argc, argv);
    // Lets the desktop match the windows to zelkon.desktop (its icon and name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("zelkon"));
    InstallQtRussianTexts();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    std::string startFolder;
    try {
        startFolder = StartFolderArgument(arguments);
    } catch (const zelk::TZelkError& e) {
        std::cerr << "zelkon: " << zelk::ToUtf8(e.what()) << "\n";
        return 2;
    }
    TDesktopProgram program(arguments, startFolder);
    program.Show();
    return QApplication::exec();
}
