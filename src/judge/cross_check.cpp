// Judging one contact: confirmation in the correspondent's log, the receive and time tests, the repeat
// test, and the absent-log rule.
#include "judge/cross_check.h"

#include "logs/cabrillo_file.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"
#include "settings/global_vars.h"
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

void ReportMissingCallSign() {
    Messages().Error("Нет или пустой тэг CALLSIGN:, обработка файла невозможна."_cp,
                     "Ошибка структуры файла"_cp);
}

namespace {

void AddWord(std::string& comment, const std::string& word) {
    comment += word;
    comment += "; ";
}

} // namespace

// Of several masks the first gives the name; the lookup by every mask in turn comes with the log finder.
std::string CorrespondentFileName(std::string_view call, std::string_view filesMask) {
    return CorrespondentFileNames(call, filesMask).front();
}

std::string CorrespondentFileName(std::string_view call) {
    return CorrespondentFileName(call, Vars().FilesMask);
}

TZelkCheckRun::TZelkCheckRun(const std::string& folder,
                             const std::vector<std::pair<std::string, int>>* noFileCalls)
    : index_(folder), noFileCalls_(noFileCalls) {}

std::string TZelkCheckRun::CorrespondentPath(std::string_view call) const {
    return index_.FindFile(CorrespondentFileName(call));
}

TZelkCheckRun::TRecords TZelkCheckRun::Records(const std::string& path) {
    if (caching_) {
        auto it = records_.find(path);
        if (it != records_.end()) return it->second;
    }
    std::shared_ptr<std::vector<TQSORecord>> list;
    if (FileExists(path)) {
        list = std::make_shared<std::vector<TQSORecord>>();
        TFileLineReader reader(path);
        std::string raw;
        TLogLine line;
        while (reader.Next(raw)) {
            ClassifyLogLine(raw, line);
            if (line.Kind != TLineKind::Contact) continue;
            list->emplace_back(line.Text);
            list->back().QSOIndex = static_cast<int>(list->size());
        }
    }
    if (caching_) records_.emplace(path, list);
    return list;
}

void TZelkCheckRun::FindConfirmation(const std::string& ownPath, const std::string& correspondentPath,
                                     const std::string& ownCall, TQSORecord& record, int index,
                                     TQSORecord* candidate, TJudgement& result) {
    result.Points = 0;
    const TQSORecord* kept = nullptr;
    bool found = false;
    const TRecords theirs = Records(correspondentPath); // keeps the kept candidate alive
    if (theirs) {
        for (const TQSORecord& other : *theirs) {
            if (!IsConfirmedBy(record, ownCall, other)) continue;
            kept = &other;
            if (IsReceiveValid(record, ownCall, other) && record.IsTimeClose(other)) {
                found = true;
                break;
            }
        }
    }
    if (!kept) {
        AddWord(result.Comment, WordNoConfirmation());
        result.Rejected = true;
        return;
    }
    if (candidate) candidate->Assign(*kept);
    bool remarks = false;
    if (!found) {
        if (!IsReceiveValid(record, ownCall, *kept)) {
            AddWord(result.Comment, WordReceiveError());
            remarks = true;
        }
        if (!record.IsTimeClose(*kept)) {
            AddWord(result.Comment, WordTimeMismatch());
            remarks = true;
        }
    }
    if (const TRecords mine = Records(ownPath)) {
        const size_t earlierCount = std::min(mine->size(), static_cast<size_t>(std::max(index, 0)));
        for (size_t i = 0; i < earlierCount; ++i) {
            if (IsDuplicateOf(record, (*mine)[i])) {
                AddWord(result.Comment, WordRepeat());
                remarks = true;
                break;
            }
        }
    }
    result.Rejected = remarks;
    result.Points = remarks ? 0 : Points(record);
}

bool TZelkCheckRun::IsCreditedWithoutLog(const std::string& call) const {
    if (!Vars().NoFileIncludeResults || !noFileCalls_) return false;
    const auto it = std::lower_bound(
        noFileCalls_->begin(), noFileCalls_->end(), call,
        [](const auto& entry, const std::string& c) { return CompareText(entry.first, c) < 0; });
    return it != noFileCalls_->end() && SameText(it->first, call);
}

TJudgement TZelkCheckRun::JudgeRecord(const std::string& ownPath, const std::string& ownCall,
                                      TQSORecord& record, int index, TQSORecord* candidate) {
    TJudgement result;
    const std::string theirPath = CorrespondentPath(record.Call);
    if (!theirPath.empty()) {
        FindConfirmation(ownPath, theirPath, ownCall, record, index, candidate, result);
    } else if (IsCreditedWithoutLog(record.Call)) {
        result.Points = Points(record);
        AddWord(result.Comment, WordConditional());
    } else {
        result.Rejected = true;
        AddWord(result.Comment, WordNoFile());
    }
    return result;
}

} // namespace zelk
