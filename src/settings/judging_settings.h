// TZelkJudgingSettings: the keys of section Settings that judging reads, as a plain struct. The program's
// edge (the window, the command line, a test) fills it from its settings object and passes it in, so the
// judging core reads no settings of its own.
#pragma once

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
};

} // namespace zelk
