// The contest-wide scoring of a list of logs, on one thread or, when the scripts are quiet, on every
// core: each worker judges with a script set of its own and the verdicts are handed on in list order.
// A worker whose log made a script show something (a run error, a compile error) stops the parallel
// part there, and that log and the rest are judged again on one thread with the caller's scripts, so
// every message appears once and in the order of the plain run.
#pragma once

#include "judge/verdict.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zelk {

class TContestLog;
class TZelkError;
class TProgressGuard;
class TVisitPlan;
class TZelkContestModel;
struct TJudging;

// True when every script of the set is quiet and compiles, so that logs may be judged side by side.
bool ScriptsAllowParallelRun(const TJudging& judging);

struct TContestRun {
    const TZelkContestModel& Model;
    const TJudging& Judging;
    const std::vector<std::pair<std::string, int>>* NoFileCalls;
    const TVisitPlan* Plan; // nullptr: the plain plan
};

// Scores `logs` (entries may be null) and calls `show` with each position and verdict in list order,
// stepping `guard` after each. `workers`: how many threads may judge at once (1: this thread alone).
// An error or cancelling ends the run after the logs shown so far; with `failed` given, a log whose
// judging raised TZelkError is passed to it instead, and the run goes on when it returns true.
void ScoreLogs(const TContestRun& run, const std::vector<const TContestLog*>& logs, int workers,
               TProgressGuard& guard, const std::function<void(int, const TLogVerdict&)>& show,
               const std::function<bool(int, const TZelkError&)>& failed = nullptr);

// The threads the contest-wide run uses on this machine.
int JudgingWorkers();

} // namespace zelk
