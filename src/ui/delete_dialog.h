// TfmIfDelete: the confirmation before a log file is deleted. It exists only while shown; "yes" plays
// the delete animation once and closes with the result Yes when it ends.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace zelk::ui {

class TDeleteAnimation;

class TfmIfDelete : public QDialog {
    Q_OBJECT
  public:
    TfmIfDelete(const QString& text, QWidget* owner);

    // Length of the animation; the tests shorten it.
    static int AnimationMs;

    void Confirm();
    // Once confirmed, the file is going: Escape and the close box no longer cancel.
    void reject() override;

  private:
    QStackedWidget* pages_;
    TDeleteAnimation* animation_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

// Shows the confirmation for `text` (the full path of the log) modally; true only when confirmed.
bool ConfirmDelete(const QString& text, QWidget* owner);

} // namespace zelk::ui
