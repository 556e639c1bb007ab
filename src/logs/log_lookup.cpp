// Finding a station's log by the name of its file or by the callsign the logs carry.
#include "logs/log_lookup.h"

#include "logs/contest_folder.h"
#include "logs/text.h"

namespace zelk {

std::string CorrespondentFileName(std::string_view call, std::string_view filesMask) {
    return CorrespondentFileNames(call, filesMask).front();
}

void TFileNameLookup::Add(std::string_view name, const TContestLog* log, bool listed) {
    byName_.emplace(UpperCase(name), log);
    if (listed && log) listed_.emplace_back(std::string(name), log);
}

const TContestLog* TFileNameLookup::Find(std::string_view call) const {
    for (const std::string& name : CorrespondentFileNames(call, filesMask_)) {
        if (HasWildcard(name)) {
            for (const auto& [entry, log] : listed_)
                if (MatchesMask(entry, name)) return log;
            continue;
        }
        const auto it = byName_.find(UpperCase(name));
        if (it != byName_.end() && it->second) return it->second;
    }
    return nullptr;
}

TCallSignLookup::TCallSignLookup(std::vector<TListedLog> listed, std::vector<const TContestLog*> logs,
                                 TLogFinderOptions options, std::unique_ptr<TFileNameLookup> byName)
    : finder_(std::move(listed), std::move(options)), logs_(std::move(logs)), byName_(std::move(byName)) {}

const TContestLog* TCallSignLookup::Find(std::string_view call) const {
    const int i = finder_.Find(call);
    if (i >= 0 && static_cast<size_t>(i) < logs_.size() && logs_[static_cast<size_t>(i)])
        return logs_[static_cast<size_t>(i)];
    return byName_->Find(call);
}

} // namespace zelk
