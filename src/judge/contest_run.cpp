// Scoring the logs of a contest on one thread or on several.
#include "judge/contest_run.h"

#include "judge/cross_check.h"
#include "judge/judging.h"
#include "judge/progress_guard.h"
#include "judge/scoring.h"
#include "logs/error.h"
#include "script/judging_scripts.h"
#include "script/script_shape.h"
#include "settings/platform.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace zelk {

namespace {

// The messages of a worker's scripts: only whether there were any matters, as the log that showed one
// is judged again on the caller's thread.
class TCountingMessages : public IMessages {
  public:
    void Info(const std::string&, const std::string&) override { ++count; }
    void Error(const std::string&, const std::string&) override { ++count; }
    bool Ask(const std::string&) override {
        ++count;
        return false;
    }
    void Plain(const std::string&) override { ++count; }
    int count = 0;
};

void ScoreSerially(const TContestRun& run, const std::vector<const TContestLog*>& logs, std::size_t from,
                   TProgressGuard& guard, const std::function<void(int, const TLogVerdict&)>& show,
                   const std::function<bool(int, const TZelkError&)>& failed) {
    TLogJudge judge(run.Model, run.Judging, run.NoFileCalls, run.Plan);
    TLogVerdict verdict;
    for (std::size_t i = from; i < logs.size(); ++i) {
        try {
            ScoreLog(judge, logs[i], verdict);
        } catch (const TZelkError& e) {
            if (!failed || !failed(static_cast<int>(i), e)) throw;
            guard.Step(static_cast<int>(i));
            continue;
        }
        show(static_cast<int>(i), verdict);
        guard.Step(static_cast<int>(i));
    }
}

class TParallelScoring {
  public:
    TParallelScoring(const TContestRun& run, const std::vector<const TContestLog*>& logs)
        : run_(run), logs_(logs), slots_(logs.size()), stop_(logs.size()) {}

    ~TParallelScoring() {
        stop_ = 0;
        for (std::thread& t : threads_)
            t.join();
    }

    void Start(int workers) {
        for (int k = 0; k < workers; ++k)
            threads_.emplace_back([this] { Work(); });
    }

    // Hands on the verdicts in list order; the position of the first log that has to be judged again
    // on this thread (the size of the list when none).
    std::size_t Collect(TProgressGuard& guard, const std::function<void(int, const TLogVerdict&)>& show) {
        for (std::size_t i = 0; i < slots_.size(); ++i) {
            {
                // The caller's thread only hands results on: while a log is being judged it lets the
                // progress display live.
                std::unique_lock<std::mutex> lock(mutex_);
                while (!ready_.wait_for(lock, std::chrono::milliseconds(25),
                                        [&] { return slots_[i].state != kPending; })) {
                    lock.unlock();
                    guard.Wait();
                    lock.lock();
                }
            }
            if (slots_[i].state != kDone) return i;
            show(static_cast<int>(i), slots_[i].verdict);
            slots_[i].verdict = TLogVerdict();
            guard.Step(static_cast<int>(i));
        }
        return slots_.size();
    }

  private:
    enum TState { kPending, kDone, kAgain };
    struct TSlot {
        TState state = kPending;
        TLogVerdict verdict;
    };

    void Work() {
        TCountingMessages messages;
        const std::unique_ptr<TZelkScript> scripts = run_.Judging.Scripts.Clone(messages);
        const TJudging judging{run_.Judging.Settings, *scripts, messages, run_.Judging.Path};
        TLogJudge judge(run_.Model, judging, run_.NoFileCalls, run_.Plan);
        for (;;) {
            const std::size_t i = next_++;
            if (i >= slots_.size() || i >= stop_) return;
            TLogVerdict verdict;
            TState state = kDone;
            try {
                ScoreLog(judge, logs_[i], verdict);
                if (messages.count > 0 || scripts->AnyFailed()) state = kAgain;
            } catch (...) {
                state = kAgain; // the error is raised again where the log is judged on one thread
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                slots_[i].verdict = std::move(verdict);
                slots_[i].state = state;
                if (state == kAgain) stop_ = std::min<std::size_t>(stop_, i);
            }
            ready_.notify_all();
            if (state == kAgain) return;
        }
    }

    const TContestRun& run_;
    const std::vector<const TContestLog*>& logs_;
    std::vector<TSlot> slots_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> stop_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::thread> threads_;
};

} // namespace

bool ScriptsAllowParallelRun(const TJudging& judging) {
    for (const auto& item : judging.Scripts.Items()) {
        const bool pair = item->Kind() == TScriptKind::IsConfirmative ||
                          item->Kind() == TScriptKind::IsValidReceive ||
                          item->Kind() == TScriptKind::IsDuplicate;
        const TScriptShape shape = ShapeOfScript(item->Lines(), false, pair);
        if (item->Failed || !shape.Compiles || !shape.Quiet) return false;
    }
    return true;
}

int JudgingWorkers() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

void ScoreLogs(const TContestRun& run, const std::vector<const TContestLog*>& logs, int workers,
               TProgressGuard& guard, const std::function<void(int, const TLogVerdict&)>& show,
               const std::function<bool(int, const TZelkError&)>& failed) {
    workers = std::min(workers, static_cast<int>(logs.size()));
    if (workers < 2 || !ScriptsAllowParallelRun(run.Judging)) {
        ScoreSerially(run, logs, 0, guard, show, failed);
        return;
    }
    std::size_t again = 0;
    {
        TParallelScoring parallel(run, logs);
        parallel.Start(workers);
        again = parallel.Collect(guard, show);
    }
    ScoreSerially(run, logs, again, guard, show, failed);
}

} // namespace zelk
