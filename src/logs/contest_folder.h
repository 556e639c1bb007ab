// The contest folder on disk: enumeration by the files mask (one mask or several separated by ";"),
// the names a station's log may have, and an index that finds a file by name without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

// True when `name` matches the wildcard `mask` ("*" any run, "?" one character), letter case ignored.
// "*.*" matches every name, and "NAME.*" also NAME without an extension, as on the judges' desktop systems.
bool MatchesMask(std::string_view name, std::string_view mask);

// The masks of a files mask: "*.CBR;*.LOG" gives *.CBR and *.LOG. Blanks around a mask are dropped, and
// so are empty masks.
std::vector<std::string> SplitMasks(std::string_view filesMask);
// True when `name` matches one of the masks of `filesMask`, letter case ignored.
bool MatchesFilesMask(std::string_view name, std::string_view filesMask);

struct TFolderEntry {
    std::string Name; // the name as stored on disk, as program text
    bool IsFile = false;
};

// The entries of `folder` that match `mask` (a files mask, one mask or several), in the order the file
// system returns them; "." and ".." are skipped, sub-folders included. A folder that does not exist gives no
// entries.
std::vector<TFolderEntry> EnumerateFolder(std::string_view folder, std::string_view mask);

// Files of the contest folder that are never logs, whatever the mask: its settings file and the check
// reports written beside the logs.
struct TLogListExclusions {
    std::string IniName; // the settings file's name (zelk.ini)
    std::string UBNExt;  // the mask of the reports (*.UBN); not applied when it is one of the log masks,
                         // since a report could then not be told from a log
    std::string LCRExt;  // the extension of the log checking reports (.LCR), applied alike
};

// Which entries of a contest folder are logs: regular files that match the files mask and are not
// excluded.
class TLogFileFilter {
  public:
    TLogFileFilter(std::string_view filesMask, const TLogListExclusions& exclusions);
    bool operator()(const TFolderEntry& entry) const;

  private:
    std::string filesMask_, iniName_;
    std::vector<std::string> reports_; // the masks of the report files told apart from the logs
};

// The logs of `folder`: its regular files that match `filesMask` and are not excluded, in the order the
// file system returns them.
std::vector<TFolderEntry> ListLogFiles(std::string_view folder, std::string_view filesMask,
                                       const TLogListExclusions& exclusions);

// The names a station's log may have, in the order they are tried: the call trimmed and cut at its first
// "/", followed by the extension of each mask of `filesMask` (the mask without its first character), so
// that "Q1AB/P" with "*.CBR;*.LOG" gives Q1AB.CBR and Q1AB.LOG; a name appears once. A mask whose
// extension holds "*" or "?" ("*.*") gives a name pattern for MatchesMask ("Q1AB.*"). Without any mask
// the bare name is the one candidate.
std::vector<std::string> CorrespondentFileNames(std::string_view call, std::string_view filesMask);
// True when a name holds a wildcard.
bool HasWildcard(std::string_view name);

// All entries of one folder, looked up by name without regard to letter case. Built once per operation
// so that finding a correspondent's log does not list the folder again for every contact.
class TFolderIndex {
  public:
    TFolderIndex() = default;
    explicit TFolderIndex(std::string_view folder) { Build(folder); }
    void Build(std::string_view folder);

    const std::string& Folder() const { return folder_; }
    // The path of the regular file named `name` (any letter case), or empty text.
    std::string FindFile(std::string_view name) const;
    bool FileExists(std::string_view name) const { return !FindFile(name).empty(); }

  private:
    std::string folder_;
    std::unordered_map<std::string, TFolderEntry> entries_; // key: upper-cased name
};

} // namespace zelk
