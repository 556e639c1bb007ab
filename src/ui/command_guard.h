// The general error handler: an exception that leaves a command is shown in an error box and the window
// stays usable. Commands run through RunCommand; the application object catches whatever still escapes
// an event handler.
#pragma once

#include <QApplication>

#include <exception>
#include <string>

namespace zelk::ui {

// The text of an exception as Windows-1251: TZelkError carries the program's own text, other exceptions
// carry the system's text (UTF-8 or plain ASCII).
std::string ErrorText(const std::exception& e);

// Shows the exception now being handled in the error box; a pass stopped at the judge's request
// (TZelkCancelled) shows nothing. Call it only inside a catch block.
void ShowCurrentException();

// Runs `command`; an exception that leaves it is shown in the error box.
template <class F> void RunCommand(F&& command) {
    try {
        command();
    } catch (...) {
        ShowCurrentException();
    }
}

// The application object: its title is "Zelk", its style shows the keyboard focus on every button, and
// an exception that escapes an event handler ends in the error box instead of ending the program.
class TZelkApplication : public QApplication {
  public:
    TZelkApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace zelk::ui
