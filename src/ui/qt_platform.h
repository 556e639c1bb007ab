// The desktop's side of the core's platform interfaces: message boxes with QMessageBox and the per-user
// store with QSettings (organisation "Zelk", integers and strings under the documented value names).
#pragma once

#include "settings/platform.h"

#include <QString>

class QWidget;

namespace zelk::ui {

// The application title, shown on the plain boxes of the script layer.
inline const QString kAppTitle = QStringLiteral("Zelk");

// Message boxes over the active window; texts arrive in Windows-1251.
class TQtMessages : public IMessages {
  public:
    void Info(const std::string& text, const std::string& caption) override;
    void Error(const std::string& text, const std::string& caption) override;
    bool Ask(const std::string& text) override;
    void Plain(const std::string& text) override;
};

// The per-user store kept by QSettings under organisation "Zelk" (the registry key Software\Zelk on
// Windows, ~/.config/Zelk.conf elsewhere). Strings are stored as Unicode and come back as Windows-1251.
class TQtUserStore : public IUserStore {
  public:
    std::optional<int> ReadInteger(const std::string& name) override;
    std::optional<std::string> ReadString(const std::string& name) override;
    void WriteInteger(const std::string& name, int value) override;
    void WriteString(const std::string& name, const std::string& value) override;
};

// Qt's own texts (the buttons of message boxes, the file and print dialogs) in Russian, to match the rest
// of the program whatever the system's language. Loads Qt's Russian translation from Qt's translations
// folder and installs it for the application; false when that translation is not there, and Qt's texts
// then stay English.
bool InstallQtRussianTexts();

// Installs the Qt message boxes for the whole run and restores the previous ones when destroyed.
class TMessagesInstaller {
  public:
    TMessagesInstaller();
    ~TMessagesInstaller();
    TMessagesInstaller(const TMessagesInstaller&) = delete;
    TMessagesInstaller& operator=(const TMessagesInstaller&) = delete;

  private:
    TQtMessages messages_;
    IMessages* previous_;
};

} // namespace zelk::ui
