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
    : model_(model), judging_(judging), noFileCalls_(noFileCalls), plan_(plan ? *plan : PlainPlan()) {
    judging_.Scripts.SetMaxMinutesDifference(judging_.Settings.MaxMinutesDifference);
}

bool TLogJudge::NeedsGivenVerdicts() const {
    return judging_.Scripts.IsDuplicateReadsAccepted2();
}

void TLogJudge::Credit(TQSORecord& record, TRecordVerdict& result) {
    result.Points = Points(judging_.Scripts, record);
    if (record.CachedReason.empty()) return;
    // The script's own word rejects the contact in place of the credit.
    AddWord(result.Comment, record.CachedReason);
    result.Rejected = true;
    result.Points = 0;
}

bool TLogJudge::IsRepeat(const TContestLog& own, TQSORecord& record, int index,
                         const std::vector<TRecordVerdict>* given, std::string& word) {
    TZelkScript& scripts = judging_.Scripts;
    const TRecordVisit earlier = plan_.Earlier(own, record, index);
    // Accepted2 is published only to a script that reads it; asked once, before the first comparison.
    int readsAccepted = -1;
    return earlier.Until([&](const TQSORecord& other) {
        if (readsAccepted < 0) readsAccepted = scripts.IsDuplicateReadsAccepted2() ? 1 : 0;
        bool accepted = true;
        if (readsAccepted) {
            const auto at = static_cast<std::size_t>(&other - earlier.Records->data());
            // Without the check's verdict the earlier record counts as credited.
            if (given && at < given->size()) accepted = !(*given)[at].Rejected;
        }
        return IsDuplicateOf(scripts, record, other, readsAccepted ? &accepted : nullptr, &word);
    });
}

void TLogJudge::FindConfirmation(const TContestLog& own, const TContestLog& theirs,
                                 const std::string& ownCall, TQSORecord& record, int index,
                                 TQSORecord* candidate, const std::vector<TRecordVerdict>* given,
                                 TRecordVerdict& result) {
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
    std::string word; // a script's own word in place of the built-in one
    if (!found) {
        if (!IsReceiveValid(scripts, record, ownCall, *kept, &word)) {
            AddWord(result.Comment, word.empty() ? WordReceiveError() : word);
            remarks = true;
        }
        if (!record.IsTimeClose(*kept, maxMinutes)) {
            AddWord(result.Comment, WordTimeMismatch());
            remarks = true;
        }
    }
    // The first earlier repeat is enough.
    if (IsRepeat(own, record, index, given, word)) {
        AddWord(result.Comment, word.empty() ? WordRepeat() : word);
        remarks = true;
    }
    result.Rejected = remarks;
    if (!remarks) Credit(record, result);
}

bool TLogJudge::IsCreditedWithoutLog(const std::string& call) const {
    if (!judging_.Settings.NoFileIncludeResults || !noFileCalls_) return false;
    const auto it = std::lower_bound(
        noFileCalls_->begin(), noFileCalls_->end(), call,
        [](const auto& entry, const std::string& c) { return CompareText(entry.first, c) < 0; });
    return it != noFileCalls_->end() && SameText(it->first, call);
}

TRecordVerdict TLogJudge::JudgeRecord(const TContestLog& own, const std::string& ownCall, TQSORecord& record,
                                      int index, TQSORecord* candidate,
                                      const std::vector<TRecordVerdict>* given) {
    TRecordVerdict result;
    if (const TContestLog* theirs = model_.FindLog(record.Call)) {
        FindConfirmation(own, *theirs, ownCall, record, index, candidate, given, result);
    } else if (IsCreditedWithoutLog(record.Call)) {
        Credit(record, result);
        if (!result.Rejected) AddWord(result.Comment, WordConditional());
    } else {
        result.Rejected = true;
        AddWord(result.Comment, WordNoFile());
    }
    return result;
}

} // namespace zelk
