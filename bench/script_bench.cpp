// Runs per second of the default IsConfirmative and IsDuplicate scripts on realistic records, through
// the same entry points the cross-check uses.
#include "logs/qso_record.h"
#include "script/judging_scripts.h"
#include "settings/platform.h"

#include <benchmark/benchmark.h>

using namespace zelk;

namespace {

struct Records {
    TQSORecord own{" 3510 CW 2026-02-14 1201 Q1AA 599 001 Q2BB 599 015 0"};
    TQSORecord confirming{" 3510 CW 2026-02-14 1202 Q2BB 599 015 Q1AA 599 001 0"};
    TQSORecord other{" 7015 CW 2026-02-14 1340 Q2BB 599 087 Q7XY 599 112 0"};
    StderrMessages messages;
    // Scripts come from a folder that holds none, so the built-in defaults apply.
    TZelkScript scripts{"/nonexistent-zelk-bench-scripts", messages};
};

void IsConfirmativeMatch(benchmark::State& state) {
    Records r;
    for (auto _ : state)
        benchmark::DoNotOptimize(IsConfirmedBy(r.scripts, r.own, "Q1AA", r.confirming));
    state.SetItemsProcessed(state.iterations());
}

void IsConfirmativeMiss(benchmark::State& state) {
    Records r;
    for (auto _ : state)
        benchmark::DoNotOptimize(IsConfirmedBy(r.scripts, r.own, "Q1AA", r.other));
    state.SetItemsProcessed(state.iterations());
}

void IsDuplicateMiss(benchmark::State& state) {
    Records r;
    for (auto _ : state)
        benchmark::DoNotOptimize(IsDuplicateOf(r.scripts, r.own, r.other));
    state.SetItemsProcessed(state.iterations());
}

void IsValidReceiveMatch(benchmark::State& state) {
    Records r;
    for (auto _ : state)
        benchmark::DoNotOptimize(IsReceiveValid(r.scripts, r.own, "Q1AA", r.confirming));
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(IsConfirmativeMatch);
BENCHMARK(IsConfirmativeMiss);
BENCHMARK(IsDuplicateMiss);
BENCHMARK(IsValidReceiveMatch);
BENCHMARK_MAIN();
