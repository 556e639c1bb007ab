// What is wrong with the logs of a contest as the participants sent them: a missing callsign, a file name
// that does not name it, two logs of one station, a converted encoding, and QSO lines that the settings
// in force would read wrongly. Each problem is a Russian text that names the setting that would help,
// where one does.
#pragma once

#include "logs/qso_format.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelk {

struct TLogProblem {
    std::string FileName;
    std::string Text;
};

// The settings the logs are read and found with.
struct TLogProblemOptions {
    TLogFormat Format;
    std::string FilesMask = "*.CBR";
    bool FindLogByCallSign = false;
};

// The problem of a log without a CALLSIGN: line or with an empty one.
const std::string& NoCallSignProblem();

// The problems of the logs `fileNames` of `folder`, log by log in that order, each log's in a fixed order.
// A log that cannot be read has that as its problem; the others are still looked at.
std::vector<TLogProblem> FindLogProblems(std::string_view folder, const std::vector<std::string>& fileNames,
                                         const TLogProblemOptions& options);

} // namespace zelk
