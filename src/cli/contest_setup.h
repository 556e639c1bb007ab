// Settings of a command-line run: the program settings file next to the executable, an in-memory
// per-user store, and the contest folder named on the command line.
#pragma once

#include <string>

namespace zelk::cli {

// Loads the settings as the desktop program does at start and makes `folder` the contest folder.
void OpenContestSettings(const std::string& folderUtf8);

// The name of an icon role of the list rows ("log", "tag", ...).
const char* ImageRole(int imageIndex);

} // namespace zelk::cli
