// The log check and the contest-wide scoring of one log.
#include "judge/scoring.h"

#include "judge/cross_check.h"
#include "logs/contest_model.h"
#include "script/judging_scripts.h"

namespace zelk {

namespace {

// The owner of a log that may be missing from the model.
std::string OwnerOf(const TContestLog* log) {
    return log ? log->OwnerCall() : std::string();
}

} // namespace

void TakeUnshownPieces(const TContestLog* own, TQSORecord& record, int index) {
    if (!own || !own->Exists() || index < 0) return;
    const std::vector<TQSORecord>& lines = own->Records();
    if (static_cast<std::size_t>(index) >= lines.size()) return;
    record.MyCall = lines[static_cast<std::size_t>(index)].MyCall;
    record.Tx = lines[static_cast<std::size_t>(index)].Tx;
}

void TakeUnshownPieces(const TContestLog* own, std::vector<TQSORecord>& records) {
    for (std::size_t i = 0; i < records.size(); ++i)
        TakeUnshownPieces(own, records[i], static_cast<int>(i));
}

void CheckLogRecords(TLogJudge& judge, const TContestLog* own, std::vector<TQSORecord>& records,
                     TLogVerdict& out) {
    out = TLogVerdict();
    TZelkScript& scripts = judge.Judging().Scripts;
    const std::string ownCall = OwnerOf(own);
    TCriteria criteria;
    if (ownCall.empty()) {
        out.NoCallSign = true;
        ReportMissingCallSign(judge.Judging().Messages);
    } else {
        for (size_t i = 0; i < records.size(); ++i) {
            TRecordVerdict verdict =
                judge.JudgeRecord(*own, ownCall, records[i], static_cast<int>(i), nullptr, &out.Records);
            if (!verdict.Rejected) {
                verdict.Criterion = Criterion(scripts, records[i]);
                criteria.Add(verdict.Criterion);
            }
            out.Score += verdict.Points;
            out.Records.push_back(std::move(verdict));
        }
    }
    out.Multi = criteria.Count();
    out.Judged = true;
    out.Total = scripts.CalcTotal(out.Score, out.Multi);
}

void ScoreLog(TLogJudge& judge, const TContestLog* own, TLogVerdict& out) {
    out = TLogVerdict();
    TZelkScript& scripts = judge.Judging().Scripts;
    const std::string ownCall = OwnerOf(own);
    TCriteria criteria;
    if (ownCall.empty()) {
        out.NoCallSign = true;
    } else {
        const std::vector<TQSORecord>& records = own->Records();
        TQSORecord record;
        for (size_t i = 0; i < records.size(); ++i) {
            record.AssignAsListed(records[i]);
            TRecordVerdict verdict =
                judge.JudgeRecord(*own, ownCall, record, static_cast<int>(i), nullptr, &out.Records);
            if (verdict.Points > 0) {
                verdict.Criterion = Criterion(scripts, record);
                criteria.Add(verdict.Criterion);
            }
            out.Score += verdict.Points;
            out.Records.push_back(std::move(verdict));
        }
    }
    out.Multi = criteria.Count();
    out.Judged = true;
    out.Total = scripts.CalcTotal(out.Score, out.Multi);
}

} // namespace zelk
