// What judging gives back: the verdict on every record and the totals of a log, as data that the window,
// the command line and the reports then present.
#pragma once

#include <string>
#include <vector>

namespace zelk {

struct TRecordVerdict {
    bool Rejected = false;
    int Points = 0;      // 0 when rejected
    std::string Comment; // reason words, each followed by "; "; empty for an accepted record without remark
    // The multiplier criterion, where the run asks for it (an accepted record in the log check, a record
    // with more than 0 points in the contest-wide run); empty otherwise and when it gives none.
    std::string Criterion;
};

struct TLogVerdict {
    // The log has no usable CALLSIGN: (or no file), so none of its records was judged.
    bool NoCallSign = false;
    // One verdict per record, in order; when an error ended the judging, those judged before it.
    std::vector<TRecordVerdict> Records;
    // Every record has its verdict and Score and Multi are final; only the total may be missing (when
    // CalcTotal failed).
    bool Judged = false;
    int Score = 0; // the sum of the points
    int Multi = 0; // the number of distinct criteria, letter case ignored
    int Total = 0; // CalcTotal of the two
};

} // namespace zelk
