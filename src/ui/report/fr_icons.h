// The images of the preview's and the designer's commands: the program's shared images where one fits,
// and the engine's own small drawings (page navigation, zoom, export, bands and objects) otherwise.
#pragma once

#include <QIcon>

namespace zelk::rep {

// "first", "prior", "next", "last", "zoom-in", "zoom-out", "export", "save", "add-band", "add-text",
// "move-up", "move-down", or a name of the program's shared images.
QIcon ReportIcon(const char* name);

} // namespace zelk::rep
