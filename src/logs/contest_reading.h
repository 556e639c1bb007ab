// TContestReading: how the logs of a contest folder are found and read - which files are logs, how a
// contact's callsign finds the log of its station, and how QSO lines are split. The defaults are the
// documented Cabrillo reading: logs by the one mask "*.CBR", a station's log by its file name, QSO lines
// of blank-separated pieces in the documented layout.
#pragma once

#include "logs/contest_folder.h"
#include "logs/qso_format.h"

#include <string>

namespace zelk {

struct TContestReading {
    std::string FilesMask = "*.CBR";
    TLogListExclusions Exclusions{"zelk.ini", "*.UBN", ".LCR"};
    // Look a station's log up by the callsign the logs carry before the file-name rule.
    bool FindByCallSign = false;
    TLogFormat Format;
};

} // namespace zelk
