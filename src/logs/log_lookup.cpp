// Finding a station's log by the name of its file.
#include "logs/log_lookup.h"

#include "logs/text.h"

namespace zelk {

std::string CorrespondentFileName(std::string_view call, std::string_view filesMask) {
    std::string name = Trim(call);
    const auto slash = name.find('/');
    if (slash != std::string::npos) name.erase(slash);
    if (!filesMask.empty()) name += filesMask.substr(1);
    return name;
}

void TFileNameLookup::Add(std::string_view name, const TContestLog* log) {
    byName_.emplace(UpperCase(name), log);
}

const TContestLog* TFileNameLookup::Find(std::string_view call) const {
    const auto it = byName_.find(UpperCase(CorrespondentFileName(call, filesMask_)));
    return it == byName_.end() ? nullptr : it->second;
}

} // namespace zelk
