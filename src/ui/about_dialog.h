// TfmAbout: the about box with the program's title, its build and contact data.
#pragma once

#include <QDialog>

namespace zelk::ui {

class TfmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfmAbout(QWidget* owner);

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
};

// The About command: creates the box, shows it modally over `owner` and destroys it.
void ShowAbout(QWidget* owner);

} // namespace zelk::ui
