// The contest folder on disk: enumeration by the files mask.
#pragma once

#include <string>
#include <string_view>
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

} // namespace zelk
