// TfmIfDelete: the confirmation before a log file is deleted. It exists only while shown and says where
// the file goes: to the desktop's trash, or, where there is none, nowhere - deleted for good. "Yes" plays
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
    // `text` is the file's full path; `toTrash` whether it goes to the trash or is deleted for good.
    TfmIfDelete(const QString& text, bool toTrash, QWidget* owner);

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
bool ConfirmDelete(const QString& text, bool toTrash, QWidget* owner);

} // namespace zelk::ui
