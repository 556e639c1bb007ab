// The desktop program: the settings object with its defaults and per-user store, the shared resources,
// the help viewer, the main window and the find-in-list dialog, in this order; then the event loop. An
// optional argument names a contest folder to open at start. The argument "/debug" or "-debug" (any
// letter case), or a file "debug.debug" in the program folder, switches on the help's diagnostic mode,
// which writes HHDebug.txt in the program folder.
#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/command_guard.h"
#include "ui/explorer.h"
#include "ui/find_dialog.h"
#include "ui/help_debug.h"
#include "ui/help_viewer.h"
#include "ui/qt_platform.h"
#include "ui/zelk_resources.h"

#include <QDir>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    zelk::ui::TZelkApplication app(argc, argv);
    zelk::ui::InstallQtRussianTexts();
    zelk::ui::TMessagesInstaller messages;
    zelk::ui::TQtUserStore store;
    zelk::Vars().SetUserStore(&store);

    std::vector<std::string> arguments;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i)
        arguments.push_back(zelk::FromUtf8(args[i].toStdString()));
    std::optional<zelk::ui::THelpDebugLog> helpDebug;
    if (const std::string reason = zelk::ui::HelpDebugReason(arguments, zelk::Vars().AppFolder());
        !reason.empty())
        helpDebug.emplace(zelk::Vars().AppPath("HHDebug.txt"), reason);

    zelk::ui::TZelkResources resources;
    zelk::ui::SetZelkResources(&resources);
    int result = 0;
    {
        zelk::ui::TZelkHelpViewer helpViewer;
        zelk::ui::TfmExplorer fmExplorer;
        zelk::ui::TfmFind fmFind(&fmExplorer);
        fmExplorer.SetFindDialog(&fmFind);
        for (qsizetype i = 1; i < args.size(); ++i) {
            if (zelk::ui::IsHelpDebugSwitch(arguments[static_cast<size_t>(i - 1)])) continue;
            fmExplorer.SetStartFolder(zelk::FromUtf8(QDir(args[i]).absolutePath().toStdString()));
            break;
        }
        fmExplorer.show();
        result = QApplication::exec();
    }
    zelk::ui::SetZelkResources(nullptr);
    zelk::Vars().SetUserStore(nullptr);
    return result;
}
