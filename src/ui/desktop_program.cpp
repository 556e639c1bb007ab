// The desktop program's start, its parts and its command line.
#include "ui/desktop_program.h"

#include "logs/error.h"
#include "logs/text.h"
#include "settings/app_version.h"
#include "settings/global_vars.h"
#include "ui/explorer.h"
#include "ui/find_dialog.h"
#include "ui/help_debug.h"
#include "ui/help_viewer.h"
#include "ui/qt_platform.h"
#include "ui/zelk_resources.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

#include <string_view>
#include <vector>

namespace zelk::ui {

TProgramRequest ProgramRequest(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--help" || a == "-h") return TProgramRequest::Help;
        if (a == "--version" || a == "-v") return TProgramRequest::Version;
    }
    return TProgramRequest::Run;
}

std::string ProgramVersionText() {
    return std::string("zelkon ") + ZelkVersion() + "\nQt " + qVersion() + "\n";
}

std::string ProgramHelpText() {
    const TZelkAppPaths paths = TZelkAppPaths::ForThisProgram();
    return "Usage: zelkon [OPTIONS] [FOLDER]\n"
           "Zelkon, the judging tool for amateur-radio contests: opens the contest folder FOLDER of\n"
           "Cabrillo logs (without one, the folder used last; a log file opens its folder).\n\n"
           "Options:\n"
           "  -h, --help        show this help and exit\n"
           "  -v, --version     show the versions of Zelkon and of Qt and exit\n"
           "  -debug, /debug    write the help viewer's diagnostics to HHDebug.txt in the user's folder\n"
           "Qt's own options are accepted too, for example -platform NAME, -style NAME,\n"
           "-stylesheet FILE and -reverse.\n\n"
           "Files:\n"
           "  help, report layouts and default judging scripts: " +
           ToUtf8(paths.DataFolder()) +
           "\n"
           "  the program's zelk.ini, saved judging scripts and report layouts: " +
           ToUtf8(paths.UserFolder()) +
           "\n"
           "  each contest folder keeps its own judging settings in its zelk.ini.\n"
           "zelkon-cli judges a contest on the command line (zelkon-cli --help).\n";
}

std::string StartFolderArgument(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        const std::string text = FromUtf8(argument.toStdString());
        if (IsHelpDebugSwitch(text)) continue;
        if (argument.startsWith(QLatin1Char('-')))
            throw TZelkError("Unknown option " + text + " (see zelkon --help)");
        // A log dropped on the program's icon opens the contest it belongs to.
        const QFileInfo given(argument);
        const QString folder = given.isFile() ? given.absolutePath() : given.absoluteFilePath();
        return FromUtf8(QDir::cleanPath(folder).toStdString());
    }
    return {};
}

struct TDesktopProgram::TParts {
    TMessagesInstaller messages;
    TQtUserStore store;
    std::optional<THelpDebugLog> helpDebug;
    std::unique_ptr<TZelkResources> resources;
    std::unique_ptr<TZelkHelpViewer> helpViewer;
    std::unique_ptr<TfmExplorer> fmExplorer;
    std::unique_ptr<TfmFind> fmFind;
};

TDesktopProgram::TDesktopProgram(const QStringList& arguments, const std::string& startFolder)
    : parts_(std::make_unique<TParts>()) {
    TParts& p = *parts_;
    Vars().SetUserStore(&p.store);

    std::vector<std::string> texts;
    for (const QString& a : arguments)
        texts.push_back(FromUtf8(a.toStdString()));
    const TZelkAppPaths& paths = Vars().Paths();
    if (const std::string reason = HelpDebugReason(texts, paths.UserFolder()); !reason.empty()) {
        paths.MakeUserFolder();
        p.helpDebug.emplace(paths.UserFile("HHDebug.txt"), reason);
    }

    p.resources = std::make_unique<TZelkResources>();
    SetZelkResources(p.resources.get());
    p.helpViewer = std::make_unique<TZelkHelpViewer>();
    p.fmExplorer = std::make_unique<TfmExplorer>();
    p.fmFind = std::make_unique<TfmFind>(p.fmExplorer.get());
    p.fmExplorer->SetFindDialog(p.fmFind.get());
    if (!startFolder.empty()) p.fmExplorer->SetStartFolder(startFolder);
}

TDesktopProgram::~TDesktopProgram() {
    TParts& p = *parts_;
    p.fmFind.reset();
    p.fmExplorer.reset();
    p.helpViewer.reset();
    SetZelkResources(nullptr);
    p.resources.reset();
    Vars().SetUserStore(nullptr);
}

TfmExplorer& TDesktopProgram::Explorer() {
    return *parts_->fmExplorer;
}

void TDesktopProgram::Show() {
    parts_->fmExplorer->show();
}

} // namespace zelk::ui
