// The progress display in the log list's caption strip.
#include "ui/explorer_progress.h"

#include "logs/contest.h"
#include "ui/progress_panel.h"

#include <QFrame>

#include <algorithm>

namespace zelk::ui {

void MarkLogsUnscored(TZelkContest& contest) {
    for (TLogRow& row : contest.Logs)
        row.Cells = {"-", "-", "-"};
}

void TExplorerProgress::Start(int count) {
    if (panel_->Running()) return;
    step_ = StepFor(count);
    stripHeight_ = strip_->height();
    strip_->setFrameShadow(QFrame::Plain);
    strip_->setFrameShape(QFrame::NoFrame);
    strip_->setFixedHeight(std::max(stripHeight_, panel_->sizeHint().height() + 2));
    panel_->Start(count);
}

void TExplorerProgress::Step(int position) {
    panel_->Step(position);
}

void TExplorerProgress::Finish() {
    if (!panel_->Running()) return;
    panel_->Finish();
    strip_->setFixedHeight(stripHeight_);
    strip_->setFrameShape(QFrame::Panel);
    strip_->setFrameShadow(QFrame::Sunken);
}

void TExplorerProgress::Wait() {
    panel_->Wait();
}

bool TExplorerProgress::Cancelled() const {
    return panel_->Cancelled();
}

} // namespace zelk::ui
