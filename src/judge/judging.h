// TJudging: what a judging command takes from the program's edge - the judging settings, the script set
// and the message boxes of its own messages. Nothing on the judging path reads a process-wide object, so
// two contests, each with its settings and scripts, can be judged side by side.
#pragma once

#include "settings/judging_settings.h"

namespace zelk {

class IMessages;
class TZelkScript;

// How a judging command goes through the records. The two give the same results; the full scan is the
// baseline the other is measured and tested against.
enum class TJudgingPath {
    // Quiet scripts visit only the records whose keys can match (TKeyPlan), and the contest-wide run
    // judges logs on every core.
    Planned,
    // Every candidate and every earlier record is asked, on one thread.
    FullScan,
};

struct TJudging {
    TZelkJudgingSettings Settings;
    TZelkScript& Scripts;
    // Where the error box of a log without a usable CALLSIGN: goes.
    IMessages& Messages;
    TJudgingPath Path = TJudgingPath::Planned;
};

} // namespace zelk
