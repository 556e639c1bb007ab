// How a contact's callsign finds the log of that station among the files of the contest folder. The
// rule is one replaceable piece: the contest model asks its lookup and nothing else.
#pragma once

#include "logs/log_finder.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

class TContestLog;

// The file name of a station's log by the first mask: the call trimmed, cut at its first "/", plus the
// mask without its first character ("Q1AB/P" and "*.CBR" give "Q1AB.CBR").
std::string CorrespondentFileName(std::string_view call, std::string_view filesMask);

class TLogLookup {
  public:
    virtual ~TLogLookup() = default;
    // The log of the station `call`, or nullptr when the contest has none.
    virtual const TContestLog* Find(std::string_view call) const = 0;
};

// The log named after the call: the names of CorrespondentFileNames tried in turn, letter case ignored
// (a name with wildcards, from a mask such as "*.*", takes the first entry it matches). Of names equal
// but for case the first the folder gives wins; when that entry is no regular file there is no log by
// that name.
class TFileNameLookup : public TLogLookup {
  public:
    explicit TFileNameLookup(std::string filesMask) : filesMask_(std::move(filesMask)) {}
    // Adds a folder entry, in the order the folder gives them; `log` is null for an entry that is no
    // regular file, `listed` tells a listed log (the only entries a name with wildcards may take).
    void Add(std::string_view name, const TContestLog* log, bool listed);
    const TContestLog* Find(std::string_view call) const override;

  private:
    std::string filesMask_;
    std::unordered_map<std::string, const TContestLog*> byName_; // key: the upper-cased name
    std::vector<std::pair<std::string, const TContestLog*>> listed_; // the listed logs, in folder order
};

// The log whose CALLSIGN: names the call (or its base call), as TLogFinder decides among the listed logs;
// a call no listed log carries falls back to the file-name rule.
class TCallSignLookup : public TLogLookup {
  public:
    // `logs[i]` is the model's log of `listed[i]`.
    TCallSignLookup(std::vector<TListedLog> listed, std::vector<const TContestLog*> logs,
                    TLogFinderOptions options, std::unique_ptr<TFileNameLookup> byName);
    const TContestLog* Find(std::string_view call) const override;
    const TLogFinder& Finder() const { return finder_; }

  private:
    TLogFinder finder_;
    std::vector<const TContestLog*> logs_;
    std::unique_ptr<TFileNameLookup> byName_;
};

} // namespace zelk
