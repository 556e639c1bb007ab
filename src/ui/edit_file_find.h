// The find and replace dialogs of the log editor: non-modal, each with its own search text. They only
// collect the texts and report the button pressed; the editor does the searching.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zelk::ui {

class TTextFindDialog : public QDialog {
    Q_OBJECT
  public:
    enum class TKind { Find, Replace };
    TTextFindDialog(TKind kind, QWidget* parent);

    QString FindText() const;
    QString ReplaceText() const;
    // Shows the dialog, or brings it back to the front, with the search text selected.
    void Open();

  signals:
    void FindNext(const QString& text);
    void Replace(const QString& text, const QString& replacement);
    void ReplaceAll(const QString& text, const QString& replacement);

  private:
    void UpdateButtons();

    QLineEdit* edFindText_;
    QLineEdit* edReplaceText_ = nullptr;
    QPushButton* btnFindNext_;
    QPushButton* btnReplace_ = nullptr;
    QPushButton* btnReplaceAll_ = nullptr;
};

} // namespace zelk::ui
