// The general error handler of the desktop program.
#include "ui/command_guard.h"

#include "logs/error.h"
#include "logs/text.h"
#include "settings/platform.h"
#include "ui/qt_platform.h"
#include "ui/zelk_style.h"

namespace zelk::ui {

std::string ErrorText(const std::exception& e) {
    if (dynamic_cast<const TZelkError*>(&e)) return e.what();
    const std::string text = e.what();
    return IsValidUtf8(text) ? FromUtf8(text) : text;
}

void ShowCurrentException() {
    try {
        throw;
    } catch (const TZelkCancelled&) {
        // A pass the judge stopped is no error; the command that ran it has said so where it shows.
    } catch (const std::exception& e) {
        Messages().Error(ErrorText(e), "");
    } catch (...) {
        Messages().Error("Unknown error", "");
    }
}

TZelkApplication::TZelkApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(kAppTitle);
    setOrganizationName(QStringLiteral("Zelk"));
    setStyle(new TZelkStyle); // the application owns it
}

bool TZelkApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

} // namespace zelk::ui
