// TJudging: what a judging command takes from the program's edge - the judging settings, the script set
// and the message boxes of its own messages. Nothing on the judging path reads a process-wide object, so
// two contests, each with its settings and scripts, can be judged side by side.
#pragma once

#include "settings/judging_settings.h"

namespace zelk {

class IMessages;
class TZelkScript;

struct TJudging {
    TZelkJudgingSettings Settings;
    TZelkScript& Scripts;
    // Where the error box of a log without a usable CALLSIGN: goes.
    IMessages& Messages;
};

} // namespace zelk
