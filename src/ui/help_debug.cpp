// The help's diagnostic file: the switch, and the lines written while the mode is on.
#include "ui/help_debug.h"

#include "logs/file_io.h"
#include "logs/text.h"

#include <QDateTime>

#include <fstream>
#include <iostream>

namespace zelk::ui {
namespace {

THelpDebugLog*& ActiveLog() {
    static THelpDebugLog* log = nullptr;
    return log;
}

std::string Now(const char* format) {
    return QDateTime::currentDateTime().toString(QString::fromLatin1(format)).toStdString();
}

} // namespace

bool IsHelpDebugSwitch(std::string_view argument) {
    return SameText(argument, "/debug") || SameText(argument, "-debug");
}

std::string HelpDebugReason(const std::vector<std::string>& arguments, const std::string& appFolder) {
    for (const std::string& argument : arguments)
        if (IsHelpDebugSwitch(argument)) return "ключ "_cp + argument;
    if (FileExists(JoinPath(appFolder, "debug.debug"))) return "файл debug.debug"_cp;
    return {};
}

THelpDebugLog::THelpDebugLog(std::string path, std::string_view reason)
    : path_(std::move(path)), previous_(ActiveLog()) {
    Append(Now("yyyy-MM-dd hh:mm:ss") + " Zelkon: диагностика справки включена ("_cp + std::string(reason) +
               ")\r\n",
           true);
    ActiveLog() = this;
}

THelpDebugLog::~THelpDebugLog() {
    ActiveLog() = previous_;
}

void THelpDebugLog::Write(std::string_view line) {
    Append(Now("hh:mm:ss.zzz") + " " + std::string(line) + "\r\n", false);
}

// Each line is written and closed at once, so that the file holds every step even when the program
// ends abruptly. A file that cannot be written is reported once on standard error: the diagnostics must
// never keep help from opening.
void THelpDebugLog::Append(std::string_view text, bool fresh) {
    std::ofstream file(PathFromText(path_), std::ios::binary | (fresh ? std::ios::trunc : std::ios::app));
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (file || failed_) return;
    failed_ = true;
    std::cerr << "Cannot write " << ToUtf8(path_) << "\n";
}

void HelpDebug(std::string_view line) {
    if (ActiveLog()) ActiveLog()->Write(line);
}

} // namespace zelk::ui
