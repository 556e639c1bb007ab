// TfmViewQSO: one QSO row of the selected log beside the record of the correspondent's log that the
// check chooses for it, with the minutes between the two. Made for each opening and destroyed on closing.
#pragma once

#include <QDialog>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zelk {
class TZelkContest;
class TQSORecord;
} // namespace zelk

namespace zelk::ui {

class TfmViewQSO : public QDialog {
    Q_OBJECT
  public:
    // Shows QSO row `row` (from 0) of the selected log of `contest`; the right column stays empty until
    // the test runs. The dialog places itself over `mainFrame`.
    TfmViewQSO(TZelkContest& contest, int row, const QRect& mainFrame, QWidget* owner = nullptr);

    // "&Проверить": judges the row against the correspondent's log and shows the chosen record, the
    // class of a rejected contact and the partner's nearest records. The main window's rows and totals
    // stay as they are.
    void Test();

    // Closing in any way restores the normal cursor.
    void done(int result) override;

  private:
    // The boxes of one column, top to bottom: file name, index, freq, mode, date, time, call, send, receive.
    using TColumn = std::array<QLineEdit*, 9>;

    void ShowViewed(const TQSORecord& record);
    void PlaceOver(const QRect& mainFrame);

    TZelkContest& contest_;
    int row_;
    TColumn left_{};
    TColumn right_{};
    QLineEdit* edScore_;
    QPlainTextEdit* meComment_;
    QPlainTextEdit* meAnalysis_; // the class of the contact and the partner's nearest records
    QPushButton* btnTest_;
    QPushButton* btnClose_;
};

// Opens the viewer for QSO row `row` modally (nothing happens for a row outside the QSO list).
void ShowQSOViewer(TZelkContest& contest, int row, const QRect& mainFrame, QWidget* owner);

} // namespace zelk::ui
