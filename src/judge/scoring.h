// Judging one whole log, the two ways the program does it: the log check, on the records the window
// shows, and the contest-wide scoring, on the records of the file. Both return verdicts; presenting them
// is the caller's business.
#pragma once

#include "judge/verdict.h"
#include "logs/text.h"

#include <set>
#include <string>
#include <vector>

namespace zelk {

class TContestLog;
class TLogJudge;
class TQSORecord;

struct TCaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

// Distinct non-empty criteria, letter case ignored.
class TCriteria {
  public:
    void Add(const std::string& criterion) {
        if (!criterion.empty()) set_.insert(criterion);
    }
    int Count() const { return static_cast<int>(set_.size()); }

  private:
    std::set<std::string, TCaseInsensitiveLess> set_;
};

// Gives records made from the QSO rows of `own` the pieces of their lines that the rows do not show
// (MyCall, Tx), taken from the log's own records at the same positions, so that the scripts read the same
// values in the log check as in the contest-wide run.
void TakeUnshownPieces(const TContestLog* own, std::vector<TQSORecord>& records);
// The same for the one record of row position `index`.
void TakeUnshownPieces(const TContestLog* own, TQSORecord& record, int index);

// The log check of `own` ("Проверить все записи") on `records`, the log's contacts as the window shows
// them (Score and Comment included; QSO position = their order). A log without a usable CALLSIGN: shows
// the error box of the judge's messages and judges nothing. Accepted records add their criterion. The
// total comes last. On an error `out` keeps the verdicts given before it.
void CheckLogRecords(TLogJudge& judge, const TContestLog* own, std::vector<TQSORecord>& records,
                     TLogVerdict& out);

// The contest-wide scoring of `own` ("Проверить все файлы") on the records of its file: a missing file
// or an empty CALLSIGN: judges nothing and shows nothing; only records with more than 0 points add their
// criterion. On an error `out` keeps the verdicts given before it.
void ScoreLog(TLogJudge& judge, const TContestLog* own, TLogVerdict& out);

} // namespace zelk
