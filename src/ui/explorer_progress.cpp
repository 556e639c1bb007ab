// The progress bar in the log list's caption strip.
#include "ui/explorer_progress.h"

#include <QCoreApplication>
#include <QFrame>
#include <QProgressBar>

#include <algorithm>

namespace zelk::ui {

void TExplorerProgress::Start(int count) {
    bar_->setRange(0, std::max(count - 1, 0));
    bar_->setValue(0);
    step_ = StepFor(count);
    strip_->setFrameShadow(QFrame::Plain);
    strip_->setFrameShape(QFrame::NoFrame);
    bar_->show();
    Repaint();
}

void TExplorerProgress::Step(int position) {
    bar_->setValue(position);
    Repaint();
}

void TExplorerProgress::Finish() {
    bar_->setValue(bar_->maximum());
    Repaint();
    bar_->hide();
    strip_->setFrameShape(QFrame::Panel);
    strip_->setFrameShadow(QFrame::Sunken);
}

// Paint events and other non-input events are handled, so the window keeps painting while nothing the
// judge types or clicks can start another command in the middle of the pass.
void TExplorerProgress::Repaint() {
    bar_->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace zelk::ui
