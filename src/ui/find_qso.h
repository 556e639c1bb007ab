// TfmFindQSO: the search for contacts across every log of the contest. The main window creates it on
// first use and keeps it hidden between uses, so the last results are still there at the next opening.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableWidget;

namespace zelk {
class TZelkContest;
struct TSearchRow;
} // namespace zelk

namespace zelk::ui {

class TProgressPanel;

class TfmFindQSO : public QDialog {
    Q_OBJECT
  public:
    // Searches the logs of `contest` (the main window's open contest). Restores the stored geometry and
    // the last search text.
    explicit TfmFindQSO(TZelkContest& contest, QWidget* parent = nullptr);
    ~TfmFindQSO() override;

    // Shows the window modally; true when the judge chose a result row.
    bool Execute();
    // The file name of the chosen row (after Execute returned true).
    const std::string& ChosenFileName() const { return chosen_; }
    // The text of the last search, handed to the main window with the choice.
    const std::string& SearchText() const { return searched_; }

    // "Новый поиск": empties the results and the search box.
    void NewSearch();
    // "Искать" and "Обновить": searches every log for the text of the search box.
    void DoSearch();
    // Takes the selected row as the choice and closes; without a selected row the window stays open.
    void Choose();

    // What the status bar says about the last search (that it was stopped), or empty text.
    QString Message() const;

    // Closing in any way keeps the geometry and the search box's text in the settings; during a search
    // it stops the search instead.
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class TProgress;

    void CreateActions();
    void CreateLayout();
    void RestoreGeometry();
    void FillResults(const std::vector<TSearchRow>& rows);
    void ShowResults(int rows);

    TZelkContest& contest_;
    std::string chosen_;
    std::string searched_;

    QAction* NewSearch_;
    QAction* DoSearch_;
    QAction* Refresh_;
    QAction* Help_;
    QAction* Close_;
    QLineEdit* edCall_;
    QStackedWidget* panels_;
    QWidget* paResult_;
    QWidget* paProgress_;
    TProgressPanel* gaProgress_;
    QTableWidget* lvResult_;
    QLabel* stCount_;
    QLabel* stMessage_;
};

} // namespace zelk::ui
