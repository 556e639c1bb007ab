// Settings of a command-line run: the program settings file next to the executable, the contest
// folder's own settings file, "--set KEY=VALUE" over both, an in-memory per-user store, the judging
// scripts' folder, and a progress bar on a terminal.
#pragma once

#include "settings/platform.h"

#include <memory>
#include <string>
#include <vector>

namespace zelk::cli {

// Takes the options --scripts DIR and --set KEY=VALUE (repeatable) out of `args` for the next
// OpenContestSettings.
void TakeContestOptions(std::vector<std::string>& args);
// Loads the program settings file, makes `folderUtf8` the contest folder and reads its own settings
// file, with the --set values over it (they stay on top whenever the contest file is read again).
void OpenContestSettings(const std::string& folderUtf8);

// The name of an icon role of the list rows ("log", "tag", ...).
const char* ImageRole(int imageIndex);

// Script messages and errors on standard error; questions answered No.
void UseTerminalMessages();

// A progress bar on standard error when it is a terminal, else nothing (nullptr).
std::unique_ptr<IProgress> TerminalProgress(const std::string& label);

} // namespace zelk::cli
