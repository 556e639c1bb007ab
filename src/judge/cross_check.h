// The judgement of one contact against the correspondent's log (confirmation, the receive and time tests,
// the repeat test, the absent-log rule), over the logs of the contest model.
#pragma once

#include "judge/judging.h"
#include "judge/verdict.h"
#include "judge/visit_plan.h"
#include "logs/qso_record.h"

#include <string>
#include <utility>
#include <vector>

namespace zelk {

class TContestLog;
class TZelkContestModel;

// Reason words of the check comment.
const std::string& WordNoConfirmation();
const std::string& WordReceiveError();
const std::string& WordTimeMismatch();
const std::string& WordRepeat();
const std::string& WordNoFile();
const std::string& WordConditional();

// The error box of a log that has no usable CALLSIGN: and so cannot be checked.
void ReportMissingCallSign(IMessages& messages);

// Judges records of the logs of one model with one set of settings and scripts. It keeps nothing between
// records but what it was given, so a judge per thread may share the model (each with a script set of
// its own).
class TLogJudge {
  public:
    // `noFileCalls`: the stations without a log that are credited conditionally (sorted, letter case
    // ignored); `plan`: which records are visited, the plain plan when none is given. All must outlive
    // the judge.
    TLogJudge(const TZelkContestModel& model, const TJudging& judging,
              const std::vector<std::pair<std::string, int>>* noFileCalls, const TVisitPlan* plan = nullptr);

    const TJudging& Judging() const { return judging_; }

    // The judgement of `record` at QSO position `index` (from 0) of the log `own`, whose owner is
    // `ownCall`; copies the candidate the confirmation search kept into `candidate` when given. `given`:
    // the verdicts this check gave the records before it, in order, which the repeat test publishes as
    // Accepted2 (an earlier record without one counts as credited). Read errors of a log and results a
    // script gives that cannot be converted raise TZelkError.
    TRecordVerdict JudgeRecord(const TContestLog& own, const std::string& ownCall, TQSORecord& record,
                               int index, TQSORecord* candidate = nullptr,
                               const std::vector<TRecordVerdict>* given = nullptr);
    // True when the repeat test reads Accepted2, so that a caller judging a record alone must first
    // judge the records before it (see JudgeRecord).
    bool NeedsGivenVerdicts() const;

  private:
    void FindConfirmation(const TContestLog& own, const TContestLog& theirs, const std::string& ownCall,
                          TQSORecord& record, int index, TQSORecord* candidate,
                          const std::vector<TRecordVerdict>* given, TRecordVerdict& result);
    // The repeat test: true when an earlier record of `own` is one, with the script's Reason in `word`.
    bool IsRepeat(const TContestLog& own, TQSORecord& record, int index,
                  const std::vector<TRecordVerdict>* given, std::string& word);
    // The points of an accepted record; a Reason left by CalcQSO rejects it with that word instead.
    void Credit(TQSORecord& record, TRecordVerdict& result);
    bool IsCreditedWithoutLog(const std::string& call) const;

    const TZelkContestModel& model_;
    const TJudging& judging_;
    const std::vector<std::pair<std::string, int>>* noFileCalls_;
    const TVisitPlan& plan_;
};

} // namespace zelk
