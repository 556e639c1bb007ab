// Helpers of the window tests: contest folders in temporary directories, a fresh settings object with
// its per-user store in a temporary QSettings location, message boxes that are recorded instead of shown,
// and the handling of a modal dialog that a command is about to open.
#pragma once

#include "settings/platform.h"
#include "support/temp_dir.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

namespace zelk::test {

// The tests' temporary folder with the window tests' conventions: names as Qt text, and file texts
// written in UTF-8 and stored in Windows-1251.
class TempFolder {
  public:
    std::string Text() const { return dir_.Text(); } // the folder as program text
    QString Path() const;
    std::string Write(const QString& name, const std::string& utf8) const;
    std::string File(const QString& name) const;
    bool Exists(const QString& name) const;

  private:
    TempDir dir_;
};

// Message boxes of the core and the window, recorded in UTF-8 and answered with `answer`.
struct RecordedBox {
    std::string Kind, Caption, Text;
};
class RecordingMessages : public IMessages {
  public:
    std::vector<RecordedBox> Boxes;
    bool Answer = true;
    void Info(const std::string& text, const std::string& caption) override;
    void Error(const std::string& text, const std::string& caption) override;
    bool Ask(const std::string& text) override;
    void Plain(const std::string& text) override;
};

// A fresh settings object whose program folder is a new temporary folder, with the Qt per-user store
// (emptied) and recorded message boxes; the previous settings come back when it goes.
class TestSettings {
  public:
    TestSettings();
    ~TestSettings();
    TestSettings(const TestSettings&) = delete;
    TestSettings& operator=(const TestSettings&) = delete;

    TempFolder Exe;
    RecordingMessages Boxes;

    // Keeps the per-user store but starts a new settings object, as a restart of the program does.
    void Restart();
    // Restarts as an installed program: its data in `Data`, the user's files in `User`.
    void RestartInstalled();
    TempFolder Data, User;

  private:
    std::unique_ptr<IUserStore> store_;
    IMessages* previousMessages_;
};

// Offers the active modal dialog to `handle` every 10 ms, for at most 5 s, until `handle` returns true
// (it took care of that dialog); `handled` is set then.
void OnNextModal(const std::function<bool(QWidget*)>& handle, bool* handled = nullptr);

// Types `path` into a file dialog as the judge does: its folder, then its name into the name field.
// QFileDialog::selectFile would leave the name field alone once that field has the focus, which it
// gets only when the dialog window has been activated - early or late, depending on the machine's load.
void TypeFileName(QFileDialog* dialog, const QString& path);

// Empties the per-user store of the tests.
void ClearUserStore();

} // namespace zelk::test
