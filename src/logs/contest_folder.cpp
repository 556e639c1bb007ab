// Listing a contest folder.
#include "logs/contest_folder.h"

#include "logs/file_io.h"
#include "logs/text.h"

#include <filesystem>

namespace zelk {
namespace fs = std::filesystem;

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*") return true;
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

std::vector<TFolderEntry> EnumerateFolder(std::string_view folder, std::string_view mask) {
    std::vector<TFolderEntry> result;
    if (folder.empty()) return result;
    std::error_code ec;
    fs::directory_iterator it(PathFromText(folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = TextFromPath(it->path().filename());
        if (!MatchesMask(name, mask)) continue;
        std::error_code fileEc;
        result.push_back({name, it->is_regular_file(fileEc)});
    }
    return result;
}

} // namespace zelk
