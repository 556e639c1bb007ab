// The main window's progress bar as the core's progress interface: a pass over the logs shows the bar in
// the caption strip without its inner bevel and keeps the window painting while it advances.
#pragma once

#include "settings/platform.h"

class QFrame;
class QProgressBar;

namespace zelk::ui {

class TExplorerProgress : public IProgress {
  public:
    TExplorerProgress(QProgressBar* bar, QFrame* strip) : bar_(bar), strip_(strip) {}

    // Position 0, maximum count - 1, step (count - 1) / 10 + 1; the strip loses its bevel, the bar shows.
    void Start(int count) override;
    // Position `position`, then the window repaints (no user input is handled meanwhile).
    void Step(int position) override;
    // Maximum, repaint, the bar hides and the bevel returns.
    void Finish() override;

    // The step of the bar for a pass over `count` logs.
    static int StepFor(int count) { return (count - 1) / 10 + 1; }
    int StepSize() const { return step_; }

  private:
    void Repaint();

    QProgressBar* bar_;
    QFrame* strip_;
    int step_ = 1;
};

} // namespace zelk::ui
