// TZelkJudgingSettings: the keys of section Settings that judging reads, as a plain struct. The program's
// edge (the window, the command line, a test) fills it from its settings object and passes it in, so the
// judging core reads no settings of its own.
#pragma once

#include "logs/contest_reading.h"

#include <string>

namespace zelk {

// One line per key: its type, its name (the field and the key in zelk.ini) and its default. The settings
// object reads and writes every key of this table in the contest and program files.
#define ZELK_JUDGING_SETTINGS(KEY)                                                                           \
    KEY(std::string, FilesMask, "*.CBR")                                                                     \
    KEY(std::string, UBNExt, "*.UBN")                                                                        \
    KEY(int, MaxMinutesDifference, 3)                                                                        \
    KEY(int, NoFileMinMentionCount, 3)                                                                       \
    KEY(bool, NoFileIncludeResults, false)

struct TZelkJudgingSettings {
#define ZELK_JUDGING_FIELD(type, name, value) type name = value;
    ZELK_JUDGING_SETTINGS(ZELK_JUDGING_FIELD)
#undef ZELK_JUDGING_FIELD
    // How real logs are read (all off or empty: the documented Cabrillo reading). These keys go into a
    // settings file only once they are set, so the files of a judge who never uses them stay as they were.
    // A correspondent's log is the listed log whose CALLSIGN: names the call, before the file-name rule.
    bool FindLogByCallSign = false;
    // Tabs and no-break spaces separate the pieces of a QSO line like blanks.
    bool QSOSplitTabs = false;
    // The pieces of a QSO line after "QSO:", by name (see qso_format.h); empty: the documented layout.
    std::string QSOTemplate;
    // The analysis beside the judgement; like the keys above, written into a settings file only once
    // they differ from their defaults. The extension of the log checking report (a mask "*.LCR" is
    // taken the same way):
    std::string LCRExt = ".LCR";
    // The header tags, blank-separated, whose values make a log's category in the standings by category:
    std::string CategoryTags = "CATEGORY-OPERATOR CATEGORY-BAND CATEGORY-MODE CATEGORY-POWER";
    // Equal totals in the standings are ordered, and placed, by accuracy:
    bool TieBreakByAccuracy = false;

    // How these settings find and read the logs. Throws TZelkError when QSOTemplate cannot be parsed.
    TContestReading Reading() const;
};

} // namespace zelk
