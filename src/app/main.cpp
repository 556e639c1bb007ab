// The desktop program: the settings object with its defaults and per-user store, the shared resources,
// the main window and the find-in-list dialog, in this order; then the event loop. An optional argument
// names a contest folder to open at start.
#include "logs/text.h"
#include "settings/global_vars.h"
#include "ui/command_guard.h"
#include "ui/explorer.h"
#include "ui/find_dialog.h"
#include "ui/qt_platform.h"
#include "ui/zelk_resources.h"

#include <QDir>
#include <QStringList>

int main(int argc, char** argv) {
    zelk::ui::TZelkApplication app(argc, argv);
    zelk::ui::TMessagesInstaller messages;
    zelk::ui::TQtUserStore store;
    zelk::Vars().SetUserStore(&store);

    zelk::ui::TZelkResources resources;
    zelk::ui::SetZelkResources(&resources);
    int result = 0;
    {
        zelk::ui::TfmExplorer fmExplorer;
        zelk::ui::TfmFind fmFind(&fmExplorer);
        fmExplorer.SetFindDialog(&fmFind);
        const QStringList args = QApplication::arguments();
        if (args.size() > 1)
            fmExplorer.SetStartFolder(zelk::FromUtf8(QDir(args[1]).absolutePath().toStdString()));
        fmExplorer.show();
        result = QApplication::exec();
    }
    zelk::ui::SetZelkResources(nullptr);
    zelk::Vars().SetUserStore(nullptr);
    return result;
}
