// zelkon-cli: the judging core without a window, for batch work and end-to-end tests.
#include "cli/command.h"
#include "logs/text.h"
#include "settings/app_paths.h"
#include "settings/app_version.h"

#include <algorithm>
#include <exception>
#include <iostream>

using namespace zelk;
using namespace zelk::cli;

namespace {

void PrintHelp() {
    std::cout << "Usage: zelkon-cli COMMAND [ARGUMENTS] [OPTIONS]\n"
                 "The contest judging of Zelkon without a window. Texts go to the terminal in UTF-8.\n\n"
                 "Commands:\n";
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
    for (const auto& c : commands) {
        std::cout << "  " << c.synopsis << "\n";
        std::string text = c.description;
        size_t start = 0;
        while (start < text.size()) {
            const auto nl = text.find('\n', start);
            const auto line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
            std::cout << "      " << line << "\n";
            if (nl == std::string::npos) break;
            start = nl + 1;
        }
    }
    const TZelkAppPaths paths = TZelkAppPaths::ForThisProgram();
    std::cout << "\nOptions of the commands that take a contest FOLDER:\n"
                 "  --set KEY=VALUE   any key of the Settings section of zelk.ini (FilesMask, UBNExt,\n"
                 "                    MaxMinutesDifference, NoFileMinMentionCount, NoFileIncludeResults,\n"
                 "                    FindLogByCallSign, QSOSplitTabs, QSOTemplate, ...),\n"
                 "                    applied over the program's and the contest folder's settings files;\n"
                 "                    repeatable\n"
                 "  --scripts DIR     read the judging scripts from DIR instead of the program's script\n"
                 "                    folder (a missing file means the built-in script)\n"
                 "Script messages and script errors go to standard error; long runs show a progress bar\n"
                 "there when it is a terminal.\n"
                 "\nExit status: 0 on success; 1 on a wrong command line or an error of a file or folder;\n"
                 "2 when check, ubn or standings could not judge some log (no usable CALLSIGN:, or an error\n"
                 "reading or judging it): each such log is named on standard error with why, and the other\n"
                 "logs' results are still written.\n"
                 "\nOther options:\n"
                 "  -h, --help        show this help\n"
                 "  -v, --version     show the version\n"
                 "\nFiles (the desktop program uses the same):\n"
                 "  the program's zelk.ini and the judging scripts of script/: "
              << ToUtf8(paths.UserFolder())
              << "\n"
                 "  a script or setting not saved there comes from: "
              << ToUtf8(paths.DataFolder())
              << "\n"
                 "  each contest folder keeps its own judging settings in its zelk.ini.\n"
                 "\n  zelkon-cli COMMAND --help shows the help of one command.\n";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp();
        return args.empty() ? 1 : 0;
    }
    if (args[0] == "--version" || args[0] == "-v") {
        std::cout << "zelkon-cli " << ZelkVersion() << "\n";
        return 0;
    }
    const auto& commands = Commands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const CliCommand& c) { return c.name == args[0]; });
    if (it == commands.end()) {
        std::cerr << "zelkon-cli: unknown command '" << args[0] << "' (see zelkon-cli --help)\n";
        return 1;
    }
    args.erase(args.begin());
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::cout << "Usage: zelkon-cli " << it->synopsis << "\n" << it->description << "\n";
        return 0;
    }
    try {
        return it->run(args);
    } catch (const UsageError& e) {
        std::cerr << "zelkon-cli " << it->name << ": " << e.message << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "Error: " << ToUtf8(e.what()) << "\n";
        return 1;
    }
}
