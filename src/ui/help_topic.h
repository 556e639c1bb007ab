// Help topics: the help command of the main window and the editors open a page of the help file.
#pragma once

#include <functional>
#include <string>

namespace zelk::ui {

// Shows `topic` + ".htm" of the help file Vars().HelpFile in the help viewer; when the file does not
// exist, the error box "Файл не найден" names it.
void ShowHelpTopic(const std::string& topic);

// The help viewer: given the help file's path and a page name, shows that page. Until a viewer is
// installed an existing help file is handed to the desktop's own handler.
using THelpViewer = std::function<void(const std::string& helpFile, const std::string& page)>;
// Installs `viewer` and returns the previous one (an empty function means the desktop's handler).
THelpViewer SetHelpViewer(THelpViewer viewer);

} // namespace zelk::ui
