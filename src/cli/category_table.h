// The standings by category on the command line (standings --by-category).
#pragma once

#include <string>
#include <vector>

namespace zelk::cli {

// Runs the standings by category over the folder in `args` (the contest options already taken out or
// still there) and prints them in `format` (text, csv or html).
int RunStandingsByCategory(std::vector<std::string>& args, const std::string& format);

} // namespace zelk::cli
