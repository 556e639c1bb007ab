// Judging one contact: confirmation in the correspondent's log, the receive and time tests, the repeat
// test, and the absent-log rule.
#include "judge/cross_check.h"

#include "logs/contest_model.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/platform.h"

#include <algorithm>

namespace zelk {

const std::string& WordNoConfirmation() {
    return "нет подтв.связи"_cp;
}
const std::string& WordReceiveError() {
    return "ошибка приёма"_cp;
}
const std::string& WordTimeMismatch() {
    return "время не совпадает"_cp;
}
const std::string& WordRepeat() {
    return "повтор"_cp;
}
const std::string& WordNoFile() {
    return "нет файла"_cp;
}
const std::string& WordConditional() {
    return "условно зачет"_cp;
}

void ReportMissingCallSign(IMessages& messages) {
    messages.Error("Нет или пустой тэг CALLSIGN:, обработка файла невозможна."_cp,
                   "Ошибка структуры файла"_cp);
}

namespace {

void AddWord(std::string& comment, const std::string& word) {
    comment += word;
    comment += "; ";
}

const TVisitPlan& PlainPlan() {
    static const TVisitPlan plan;
    return plan;
}

} // namespace

TLogJudge::TLogJudge(const TZelkContestModel& model, const TJudging& judging,
                     const std::vector<std::pair<std::string, int>>* noFileCalls, const TVisitPlan* plan)
    : model_(model), judging_(judging), noFileCalls_(noFileCalls), plan_(plan ? *plan : PlainPlan()) {}

void TLogJudge::FindConfirmation(const TContestLog& own, const TContestLog& theirs,
                                 const std::string& ownCall, TQSORecord& record, int index,
                                 TQSORecord* candidate, TRecordVerdict& result) {
    TZelkScript& scripts = judging_.Scripts;
    const int maxMinutes = judging_.Settings.MaxMinutesDifference;
    result.Points = 0;
    // The first confirming candidate that passes both tests, or else the last confirming one.
    const TQSORecord* kept = nullptr;
    const bool found = plan_.Candidates(theirs, record, ownCall).Until([&](const TQSORecord& other) {
        if (!IsConfirmedBy(scripts, record, ownCall, other)) return false;
        kept = &other;
        return IsReceiveValid(scripts, record, ownCall, other) && record.IsTimeClose(other, maxMinutes);
    });
    if (!kept) {
        AddWord(result.Comment, WordNoConfirmation());
        result.Rejected = true;
        return;
    }
    if (candidate) candidate->Assign(*kept);
    bool remarks = false;
    if (!found) {
        if (!IsReceiveValid(scripts, record, ownCall, *kept)) {
            AddWord(result.Comment, WordReceiveError());
            remarks = true;
        }
        if (!record.IsTimeClose(*kept, maxMinutes)) {
            AddWord(result.Comment, WordTimeMismatch());
            remarks = true;
        }
    }
    // The first earlier repeat is enough.
    if (plan_.Earlier(own, record, index).Until([&](const TQSORecord& earlier) {
            return IsDuplicateOf(scripts, record, earlier);
        })) {
        AddWord(result.Comment, WordRepeat());
        remarks = true;
    }
    result.Rejected = remarks;
    result.Points = remarks ? 0 : Points(scripts, record);
}

bool TLogJudge::IsCreditedWithoutLog(const std::string& call) const {
    if (!judging_.Settings.NoFileIncludeResults || !noFileCalls_) return false;
    const auto it = std::lower_bound(
        noFileCalls_->begin(), noFileCalls_->end(), call,
        [](const auto& entry, const std::string& c) { return CompareText(entry.first, c) < 0; });
    return it != noFileCalls_->end() && SameText(it->first, call);
}

TRecordVerdict TLogJudge::JudgeRecord(const TContestLog& own, const std::string& ownCall, TQSORecord& record,
                                      int index, TQSORecord* candidate) {
    TRecordVerdict result;
    if (const TContestLog* theirs = model_.FindLog(record.Call)) {
        FindConfirmation(own, *theirs, ownCall, record, index, candidate, result);
    } else if (IsCreditedWithoutLog(record.Call)) {
        result.Points = Points(judging_.Scripts, record);
        AddWord(result.Comment, WordConditional());
    } else {
        result.Rejected = true;
        AddWord(result.Comment, WordNoFile());
    }
    return result;
}

} // namespace zelk
