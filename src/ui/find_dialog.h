// TfmFind: type-to-search in a list of the main window. It lives for the whole run, is not modal, and
// selects the chosen row in the list it searched, whose window then loads that row after its usual delay.
#pragma once

#include <QDialog>
#include <QRect>

class QAbstractItemView;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidget;

namespace zelk::ui {

class TfmFind : public QDialog {
    Q_OBJECT
  public:
    explicit TfmFind(QWidget* parent = nullptr);

    // Opens the dialog over `target` with `typed` (or no character) as the start of the search text,
    // centred on the main window's frame `mainFrame`.
    void Open(QAbstractItemView* target, QChar typed, const QRect& mainFrame);

    // A typed character opens the dialog when it is a digit, a Latin letter or a Windows-1251 letter
    // (codes 192-255).
    static bool OpensSearch(const QString& typed);

    // Searches the target list for the search text (trimmed and put back into the box).
    void Search();
    // Selects the chosen result's row in the target list, scrolls it to the middle, and closes.
    void Choose();
    // Empties the search box and focuses it.
    void ClearSearch();

    void done(int result) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ClearResults();
    void UpdateFindButton();
    QString RowText(int row) const;
    int ResolveRow(int position, const QString& text) const;

    QAbstractItemView* target_ = nullptr;
    QToolButton* sbClear_;
    QLineEdit* edFindStr_;
    QPushButton* bbFind_;
    QTreeWidget* lvFind_;
    QLabel* lbFoundCaption_;
    QLabel* lbFoundCount_;
    QPushButton* bbOk_;
    QPushButton* bbCancel_;
    QMenu* pmFind_;
};

} // namespace zelk::ui
