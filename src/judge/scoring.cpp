// Scoring one log for the standings.
#include "judge/scoring.h"

#include "judge/cross_check.h"
#include "logs/cabrillo_file.h"
#include "logs/file_io.h"
#include "script/judging_scripts.h"

namespace zelk {

TLogScore ScoreLog(const std::string& path, TZelkCheckRun& run, TZelkScript& scripts) {
    TLogScore result;
    TCriteria criteria;
    if (FileExists(path)) {
        const std::string ownCall = OwnerCallSign(path);
        const auto records = ownCall.empty() ? nullptr : run.Records(path);
        if (records) {
            TQSORecord record;
            for (size_t i = 0; i < records->size(); ++i) {
                record.Assign((*records)[i]);
                const TJudgement j = run.JudgeRecord(path, ownCall, record, static_cast<int>(i));
                if (j.Points > 0) criteria.Add(Criterion(scripts, record));
                result.Score += j.Points;
            }
        }
    }
    TZelkCurrentFile descriptor;
    descriptor.SetScore(result.Score);
    descriptor.SetMulti(criteria.Count());
    result.Multi = criteria.Count();
    result.Total = GetTotal(scripts, descriptor);
    return result;
}

} // namespace zelk
