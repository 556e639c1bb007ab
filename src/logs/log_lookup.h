// How a contact's callsign finds the log of that station among the files of the contest folder. The
// rule is one replaceable piece: the contest model asks its lookup and nothing else.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace zelk {

class TContestLog;

// The file name of a station's log: the call trimmed, cut at its first "/", plus the files mask
// without its first character ("Q1AB/P" and "*.CBR" give "Q1AB.CBR").
std::string CorrespondentFileName(std::string_view call, std::string_view filesMask);

class TLogLookup {
  public:
    virtual ~TLogLookup() = default;
    // The log of the station `call`, or nullptr when the contest has none.
    virtual const TContestLog* Find(std::string_view call) const = 0;
};

// The log named CorrespondentFileName of the call, letter case ignored. Of names equal but for case the
// first the folder gives wins; when that entry is no regular file there is no log.
class TFileNameLookup : public TLogLookup {
  public:
    explicit TFileNameLookup(std::string filesMask) : filesMask_(std::move(filesMask)) {}
    // Adds a folder entry, in the order the folder gives them; `log` is null for an entry that is no
    // regular file.
    void Add(std::string_view name, const TContestLog* log);
    const TContestLog* Find(std::string_view call) const override;

  private:
    std::string filesMask_;
    std::unordered_map<std::string, const TContestLog*> byName_; // key: the upper-cased name
};

} // namespace zelk
