// A pass over the logs as a progress display sees it: started, stepped log by log, finished on every
// path (errors and cancelling included), and stopped between two logs when the judge asks.
#pragma once

#include "logs/error.h"
#include "settings/platform.h"

namespace zelk {

class TProgressGuard {
  public:
    TProgressGuard(IProgress* progress, int count) : progress_(progress), count_(count) {
        if (progress_) progress_->Start(count);
    }
    ~TProgressGuard() {
        if (progress_) progress_->Finish();
    }
    TProgressGuard(const TProgressGuard&) = delete;
    TProgressGuard& operator=(const TProgressGuard&) = delete;

    // The log at `position` is done. Throws TZelkCancelled when the judge asked to stop and logs remain;
    // a pass that has just done its last log is complete and is not thrown away.
    void Step(int position) {
        if (!progress_) return;
        progress_->Step(position);
        if (position + 1 < count_ && progress_->Cancelled()) throw TZelkCancelled();
    }

    // The pass is waiting for work done on other threads.
    void Wait() {
        if (progress_) progress_->Wait();
    }

  private:
    IProgress* progress_;
    int count_;
};

} // namespace zelk
