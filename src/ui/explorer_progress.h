// The main window's progress display as the core's progress interface: a pass over the logs shows the
// bar, "n из N" and "Отмена" in the caption strip above the log list, without the strip's inner bevel.
#pragma once

#include "settings/platform.h"

class QFrame;

namespace zelk {
class TZelkContest;
}

namespace zelk::ui {

// Before a contest-wide run every log row shows "-" again, so that a run stopped by the judge or by an
// error leaves the logs it did not reach recognisable instead of showing an earlier run's results.
void MarkLogsUnscored(TZelkContest& contest);

class TProgressPanel;

class TExplorerProgress : public IProgress {
  public:
    TExplorerProgress(TProgressPanel* panel, QFrame* strip) : panel_(panel), strip_(strip) {}

    // Position 0, maximum count - 1, step (count - 1) / 10 + 1; the strip loses its bevel and grows to
    // the panel's height, and the panel shows.
    void Start(int count) override;
    // Position `position`, then the windows repaint, move and resize (other input is held back).
    void Step(int position) override;
    // Maximum, the panel hides, and the strip gets its height and bevel back.
    void Finish() override;
    bool Cancelled() const override;
    // The windows live on while other threads judge.
    void Wait() override;

    TProgressPanel& Panel() { return *panel_; }

    // The step of the bar for a pass over `count` logs.
    static int StepFor(int count) { return (count - 1) / 10 + 1; }
    int StepSize() const { return step_; }

  private:
    TProgressPanel* panel_;
    QFrame* strip_;
    int stripHeight_ = 0;
    int step_ = 1;
};

} // namespace zelk::ui
