// Finding a station's log by file name or by the callsign inside the logs.
#include "logs/log_finder.h"

#include "logs/cabrillo_file.h"
#include "logs/callsign.h"
#include "logs/contest_folder.h"
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"

#include <algorithm>

namespace zelk {

TLogFinder::TLogFinder(std::vector<TListedLog> logs, TLogFinderOptions options)
    : logs_(std::move(logs)), options_(std::move(options)) {
    byName_.resize(logs_.size());
    for (size_t i = 0; i < logs_.size(); ++i) {
        byName_[i] = i;
        names_.emplace(UpperCase(logs_[i].FileName), i); // of names equal but for case the first listed
    }
    std::stable_sort(byName_.begin(), byName_.end(), [this](size_t a, size_t b) {
        return CompareText(logs_[a].FileName, logs_[b].FileName) < 0;
    });

    std::unordered_map<std::string, std::vector<size_t>> groups;
    std::vector<std::string> order;
    for (size_t i : byName_) {
        const std::string call = UpperCase(Trim(logs_[i].CallSign));
        if (call.empty()) continue;
        auto& group = groups[call];
        if (group.empty()) order.push_back(call);
        group.push_back(i);
    }
    for (const std::string& call : order) {
        const std::vector<size_t>& group = groups[call];
        const auto used = static_cast<size_t>(Choose(group, call));
        callSigns_.emplace(call, used);
        bases_[BaseCall(call)].push_back(used);
        for (size_t i : group)
            if (i != used) duplicates_.push_back({used, i});
    }
    for (auto& [base, group] : bases_)
        std::sort(group.begin(), group.end(), [this](size_t a, size_t b) {
            return CompareText(logs_[a].FileName, logs_[b].FileName) < 0;
        });
    std::sort(duplicates_.begin(), duplicates_.end(), [this](const TDuplicateLog& a, const TDuplicateLog& b) {
        return CompareText(logs_[a.Unused].FileName, logs_[b.Unused].FileName) < 0;
    });
}

bool TLogFinder::NamedAfter(size_t i, std::string_view call) const {
    for (const std::string& name : CorrespondentFileNames(call, options_.FilesMask))
        if (HasWildcard(name) ? MatchesMask(logs_[i].FileName, name) : SameText(logs_[i].FileName, name))
            return true;
    return false;
}

bool TLogFinder::NamedAfterItsCallSign(size_t i) const {
    return i < logs_.size() && !Trim(logs_[i].CallSign).empty() && NamedAfter(i, logs_[i].CallSign);
}

int TLogFinder::Choose(const std::vector<size_t>& group, std::string_view call) const {
    for (size_t i : group)
        if (NamedAfter(i, call)) return static_cast<int>(i);
    return static_cast<int>(group.front());
}

int TLogFinder::FindByName(std::string_view call) const {
    for (const std::string& name : CorrespondentFileNames(call, options_.FilesMask)) {
        if (!HasWildcard(name)) {
            const auto it = names_.find(UpperCase(name));
            if (it != names_.end()) return static_cast<int>(it->second);
            continue;
        }
        for (size_t i : byName_)
            if (MatchesMask(logs_[i].FileName, name)) return static_cast<int>(i);
    }
    return -1;
}

int TLogFinder::Find(std::string_view call) const {
    if (options_.ByCallSign) {
        const std::string upper = UpperCase(Trim(call));
        if (!upper.empty()) {
            const auto exact = callSigns_.find(upper);
            if (exact != callSigns_.end()) return static_cast<int>(exact->second);
            const auto base = bases_.find(BaseCall(upper));
            if (base != bases_.end()) return Choose(base->second, upper);
        }
    }
    return FindByName(call);
}

std::string TLogFinder::FindName(std::string_view call) const {
    const int i = Find(call);
    return i < 0 ? std::string() : logs_[static_cast<size_t>(i)].FileName;
}

std::vector<TListedLog> ReadListedLogs(std::string_view folder, const std::vector<std::string>& fileNames) {
    std::vector<TListedLog> logs;
    logs.reserve(fileNames.size());
    for (const std::string& name : fileNames) {
        TZelkCabrilloFile file;
        file.FileName = JoinPath(folder, name);
        std::string call;
        try {
            call = file.GetTagValue("CALLSIGN:");
        } catch (const TZelkError&) {
            // Unreadable: it has no callsign to be found by; reading it as a log says why.
        }
        logs.push_back({name, std::move(call)});
    }
    return logs;
}

} // namespace zelk
