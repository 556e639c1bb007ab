// Listing a contest folder.
#include "logs/contest_folder.h"

#include "logs/file_io.h"
#include "logs/text.h"

#include <algorithm>
#include <filesystem>

namespace zelk {
namespace fs = std::filesystem;

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*") return true;
    // "NAME.*" also takes NAME without an extension, as "*.*" takes every name: the correspondent's
    // "Q1AB.*" then finds a log "Q1AB" that "*.*" lists.
    if (mask.size() > 2 && mask.substr(mask.size() - 2) == ".*" &&
        MatchesMask(name, mask.substr(0, mask.size() - 2)))
        return true;
    // Iterative wildcard matching with one back-tracking point for the last "*".
    size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (m < mask.size() &&
                   (mask[m] == '?' || UpperChar(static_cast<unsigned char>(mask[m])) ==
                                          UpperChar(static_cast<unsigned char>(name[n])))) {
            ++m;
            ++n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

std::vector<std::string> SplitMasks(std::string_view filesMask) {
    std::vector<std::string> masks;
    size_t from = 0;
    for (;;) {
        const size_t semicolon = filesMask.find(';', from);
        std::string mask =
            Trim(filesMask.substr(from, semicolon == std::string_view::npos ? semicolon : semicolon - from));
        if (!mask.empty()) masks.push_back(std::move(mask));
        if (semicolon == std::string_view::npos) return masks;
        from = semicolon + 1;
    }
}

bool MatchesFilesMask(std::string_view name, std::string_view filesMask) {
    // One mask, as nearly every contest has, is matched as it stands.
    if (filesMask.find(';') == std::string_view::npos) return MatchesMask(name, filesMask);
    for (const std::string& mask : SplitMasks(filesMask))
        if (MatchesMask(name, mask)) return true;
    return false;
}

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

std::vector<std::string> CorrespondentFileNames(std::string_view call, std::string_view filesMask) {
    std::string base = Trim(call);
    const auto slash = base.find('/');
    if (slash != std::string::npos) base.erase(slash);
    const std::vector<std::string> masks = filesMask.find(';') == std::string_view::npos && !filesMask.empty()
                                               ? std::vector<std::string>{std::string(filesMask)}
                                               : SplitMasks(filesMask);
    if (masks.empty()) return {base};
    std::vector<std::string> names;
    for (const std::string& mask : masks) {
        std::string name = base + mask.substr(1);
        if (std::none_of(names.begin(), names.end(), [&](const std::string& n) { return SameText(n, name); }))
            names.push_back(std::move(name));
    }
    return names;
}

TLogFileFilter::TLogFileFilter(std::string_view filesMask, const TLogListExclusions& exclusions)
    : filesMask_(filesMask), iniName_(exclusions.IniName) {
    const std::vector<std::string> masks = SplitMasks(filesMask);
    const std::string lcr = Trim(exclusions.LCRExt);
    for (std::string report : {Trim(exclusions.UBNExt), lcr.empty() || lcr[0] == '*' ? lcr : "*" + lcr}) {
        if (report.empty()) continue;
        if (std::any_of(masks.begin(), masks.end(), [&](const std::string& m) { return SameText(m, report); }))
            continue;
        reports_.push_back(std::move(report));
    }
}

bool TLogFileFilter::operator()(const TFolderEntry& entry) const {
    if (!entry.IsFile || !MatchesFilesMask(entry.Name, filesMask_) || SameText(entry.Name, iniName_))
        return false;
    return std::none_of(reports_.begin(), reports_.end(),
                        [&](const std::string& mask) { return MatchesMask(entry.Name, mask); });
}

std::vector<TFolderEntry> ListLogFiles(std::string_view folder, std::string_view filesMask,
                                       const TLogListExclusions& exclusions) {
    const TLogFileFilter isLog(filesMask, exclusions);
    std::vector<TFolderEntry> logs;
    for (auto& entry : EnumerateFolder(folder, filesMask))
        if (isLog(entry)) logs.push_back(std::move(entry));
    return logs;
}

std::vector<TFolderEntry> EnumerateFolder(std::string_view folder, std::string_view mask) {
    std::vector<TFolderEntry> result;
    if (folder.empty()) return result;
    std::error_code ec;
    fs::directory_iterator it(PathFromText(folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = TextFromPath(it->path().filename());
        if (!MatchesFilesMask(name, mask)) continue;
        std::error_code fileEc;
        result.push_back({name, it->is_regular_file(fileEc)});
    }
    return result;
}

} // namespace zelk
