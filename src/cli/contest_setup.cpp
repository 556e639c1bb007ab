// Settings for the command-line commands that work on a contest folder.
#include "cli/contest_setup.h"

#include "logs/list_rows.h"
#include "logs/text.h"
#include "settings/global_vars.h"
#include "settings/platform.h"

namespace zelk::cli {

void OpenContestSettings(const std::string& folderUtf8) {
    static MemoryUserStore store;
    ResetVars(TZelkGlobalVars());
    Vars().SetUserStore(&store);
    Vars().LoadSettings();
    Vars().CurrentFolder = FromUtf8(folderUtf8);
}

const char* ImageRole(int imageIndex) {
    switch (imageIndex) {
    case imgLog:
        return "log";
    case imgTag:
        return "tag";
    case imgBadTag:
        return "error";
    case imgLogNoCall:
        return "log-without-callsign";
    case imgQSOUnchecked:
        return "unchecked";
    case imgQSOAccepted:
        return "accepted";
    case imgQSORejected:
        return "rejected";
    case imgTagMissing:
        return "missing-tag";
    case imgCallSign:
        return "callsign";
    default:
        return "-";
    }
}

} // namespace zelk::cli
