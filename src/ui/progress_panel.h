// TProgressPanel: what a long pass over the logs shows - a bar, "n из N" and the button "Отмена" - and
// the pass's progress interface. Between two logs the windows repaint, move and resize; all other input
// to the windows that were open when the pass began is held back, as under a modal progress dialog,
// except for the button (Escape presses it too). A window opened during the pass, such as a script's
// message, works as usual.
#pragma once

#include "settings/platform.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zelk::ui {

class TProgressPanel : public QWidget, public IProgress {
    Q_OBJECT
  public:
    // `barName` names the bar (pbProgress, gaProgress), so that each window keeps its documented name.
    explicit TProgressPanel(const QString& barName, QWidget* parent = nullptr);
    ~TProgressPanel() override;

    // The panel shows itself at the start of a pass and hides at its end.
    void Start(int count) override;
    void Step(int position) override;
    void Finish() override;
    bool Cancelled() const override { return cancelled_; }
    // The windows repaint, move and resize, and "Отмена" can be pressed, while other threads judge.
    void Wait() override;

    // What "Отмена" does: the pass stops after the log in hand.
    void Cancel();
    bool Running() const { return running_; }
    // The logs handled in the last pass, and the logs it was to handle; both 0 after Forget.
    int Done() const { return done_; }
    int Total() const { return total_; }
    bool Completed() const { return total_ > 0 && done_ == total_; }
    void Forget();

    QProgressBar* Bar() const { return bar_; }
    QLabel* CountLabel() const { return count_; }
    QPushButton* CancelButton() const { return cancel_; }

  signals:
    // The pass has started (`done` 0) or has handled one more log; the windows have not yet repainted.
    void Advanced(int done, int total);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowCount();
    bool IsHeld(const QWidget* widget) const;
    bool HeldWindowActive() const;

    QProgressBar* bar_;
    QLabel* count_;
    QPushButton* cancel_;
    bool running_ = false;
    bool cancelled_ = false;
    int done_ = 0;
    int total_ = 0;
    std::vector<QPointer<QWidget>> held_; // the windows open when the pass began
    QPointer<QWidget> focusBefore_;
};

} // namespace zelk::ui
