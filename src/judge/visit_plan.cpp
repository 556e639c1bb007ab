// The plain plan of visits: every candidate, every earlier record.
#include "judge/visit_plan.h"

#include "logs/contest_model.h"

namespace zelk {

TRecordVisit TVisitPlan::Candidates(const TContestLog& theirs, const TQSORecord&, const std::string&) const {
    return {&theirs.Records(), nullptr, 0, SIZE_MAX};
}

TRecordVisit TVisitPlan::Earlier(const TContestLog& own, const TQSORecord&, int index) const {
    return {&own.Records(), nullptr, 0, index > 0 ? static_cast<std::size_t>(index) : 0};
}

} // namespace zelk
