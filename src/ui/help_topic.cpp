// Opening help topics, with the check for the help file.
#include "ui/help_topic.h"

#include "logs/file_io.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/qt_text.h"

#include <QDesktopServices>
#include <QUrl>

namespace zelk::ui {
namespace {

THelpViewer& Viewer() {
    static THelpViewer viewer;
    return viewer;
}

void OpenWithDesktop(const std::string& helpFile, const std::string&) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(Qs(NativePath(helpFile))));
}

} // namespace

void ShowHelpTopic(const std::string& topic) {
    const std::string& file = Vars().HelpFile;
    if (!FileExists(file)) {
        Messages().Error(FormatText("Не найден файл справки: %s"_cp, file), "Файл не найден"_cp);
        return;
    }
    const std::string page = topic + ".htm";
    if (Viewer())
        Viewer()(file, page);
    else
        OpenWithDesktop(file, page);
}

THelpViewer SetHelpViewer(THelpViewer viewer) {
    THelpViewer previous = std::move(Viewer());
    Viewer() = std::move(viewer);
    return previous;
}

} // namespace zelk::ui
