// Help topics: the help commands of the main window, the dialogs and the editors open a page of the
// help file.
#pragma once

#include <functional>
#include <string>

namespace zelk::ui {

// Shows the page `topic` + ".htm" of the help file Vars().HelpFile in the help viewer; when the file
// does not exist, the error box "Файл не найден" names it. In the diagnostic mode every call is written
// to the diagnostic file.
void ShowHelpTopic(const std::string& topic);

// The help viewer: given the help file's path and a page name, shows that page.
using THelpViewer = std::function<void(const std::string& helpFile, const std::string& page)>;
// Installs `viewer` and returns the previous one. The program installs its help window
// (TZelkHelpViewer); without a viewer a request for help ends in an error box.
THelpViewer SetHelpViewer(THelpViewer viewer);

} // namespace zelk::ui
