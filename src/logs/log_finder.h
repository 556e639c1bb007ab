// Which listed log of a contest is a station's log: by the file name made from the call, or, when the
// judge asks for it, by the callsign the logs themselves carry, so that Q5O_p.CBR is the log of Q5O/P.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

struct TListedLog {
    std::string FileName; // as listed
    std::string CallSign; // the log's first CALLSIGN: value, any case; empty when it has none
};

struct TLogFinderOptions {
    std::string FilesMask = "*.CBR";
    // Look at the logs' callsigns before the file-name rule (the setting FindLogByCallSign).
    bool ByCallSign = false;
};

// Two logs with one callsign: the one that is used, and the one left out.
struct TDuplicateLog {
    size_t Used = 0;
    size_t Unused = 0;
};

// Built once per contest from its listed logs. With ByCallSign the log of a call is the one whose
// CALLSIGN: equals the call (case ignored), else the one whose CALLSIGN: has the same base call (Q1AB/P,
// Q1AB/QRP, Q1AB/3 and Q2/Q1AB all have the base Q1AB), else the one the file-name rule finds. Among logs
// with one callsign the log named after the call wins, else the first by name; the others are left out
// of the lookup by callsign and listed as duplicates (in either mode: each of them is judged and
// ranked as a log of its own).
class TLogFinder {
  public:
    TLogFinder(std::vector<TListedLog> logs, TLogFinderOptions options);

    // The index of the log of `call` among the listed logs, or -1 when the contest has none.
    int Find(std::string_view call) const;
    // The file name of that log, or empty text.
    std::string FindName(std::string_view call) const;

    const std::vector<TListedLog>& Logs() const { return logs_; }
    // The logs left out because another one has the same callsign, in the order of their names.
    const std::vector<TDuplicateLog>& Duplicates() const { return duplicates_; }
    // True when the file-name rule finds log `i` from its own callsign (a log without one never is).
    bool NamedAfterItsCallSign(size_t i) const;

  private:
    bool NamedAfter(size_t i, std::string_view call) const;
    // The first of `group` (in the order of names) named after `call`, else the first.
    int Choose(const std::vector<size_t>& group, std::string_view call) const;
    int FindByName(std::string_view call) const;

    std::vector<TListedLog> logs_;
    TLogFinderOptions options_;
    std::vector<size_t> byName_;                                 // indexes in the order of the file names
    std::unordered_map<std::string, size_t> names_;              // upper-cased file name: first listed
    std::unordered_map<std::string, size_t> callSigns_;          // upper-cased callsign: the log used
    std::unordered_map<std::string, std::vector<size_t>> bases_; // base call: logs used, by name
    std::vector<TDuplicateLog> duplicates_;
};

// The listed logs of `folder` with their CALLSIGN: values; a log that cannot be read has none.
std::vector<TListedLog> ReadListedLogs(std::string_view folder, const std::vector<std::string>& fileNames);

} // namespace zelk
