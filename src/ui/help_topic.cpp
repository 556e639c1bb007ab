// Opening help topics, with the check for the help file.
#include "ui/help_topic.h"

#include "logs/file_io.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "settings/platform.h"
#include "ui/help_debug.h"

namespace zelk::ui {
namespace {

THelpViewer& Viewer() {
    static THelpViewer viewer;
    return viewer;
}

} // namespace

void ShowHelpTopic(const std::string& topic) {
    const std::string& file = Vars().HelpFile;
    HelpDebug("ShowHelpTopic(\"" + topic + "\"): файл справки "_cp + file);
    if (!FileExists(file)) {
        HelpDebug("Файл справки не найден; показано сообщение об ошибке"_cp);
        Messages().Error(FormatText("Не найден файл справки: %s"_cp, file), "Файл не найден"_cp);
        return;
    }
    const std::string page = topic + ".htm";
    if (!Viewer()) {
        HelpDebug("Просмотр справки не подключён; показано сообщение об ошибке"_cp);
        Messages().Error(FormatText("Просмотр справки не подключён, страница %s не показана"_cp, page), {});
        return;
    }
    HelpDebug("Страница "_cp + page + " передана окну справки"_cp);
    Viewer()(file, page);
}

THelpViewer SetHelpViewer(THelpViewer viewer) {
    THelpViewer previous = std::move(Viewer());
    Viewer() = std::move(viewer);
    return previous;
}

} // namespace zelk::ui
