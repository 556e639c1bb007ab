// The contest folder on disk: enumeration by the files mask, and an index that finds a log by name
// without regard to letter case.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelk {

// True when `name` matches the wildcard `mask` ("*" any run, "?" one character), letter case ignored.
// "*.*" matches every name, as it does on the judges' desktop systems.
bool MatchesMask(std::string_view name, std::string_view mask);

struct TFolderEntry {
    std::string Name; // the name as stored on disk, as program text
    bool IsFile = false;
};

// The entries of `folder` that match `mask`, in the order the file system returns them; "." and ".."
// are skipped, sub-folders included. A folder that does not exist gives no entries.
std::vector<TFolderEntry> EnumerateFolder(std::string_view folder, std::string_view mask);

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
