// TLogContent: a log as read once with the line rules - its owner, its summary, its tag lines and its
// contacts - and ReadLogContent, the one reader of a log's lines that the window, the checks, the search
// and the reports share.
#pragma once

#include "logs/qso_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// One tag line: the upper-cased tag (ending in ":") and its value as written, trimmed.
struct TLogTag {
    std::string Tag;
    std::string Value;
};

struct TLogContent {
    // The owner: the first CALLSIGN: value, upper-cased; empty means the log cannot be checked.
    std::string OwnerCall;
    // The summary: the last CALLSIGN: value (upper-cased), NAME: and CLUB: values, as the loader and the
    // report rows take them.
    std::string CallSign, Name, Club;
    bool HasCallSignTag = false; // a CALLSIGN: line, even an empty one
    std::vector<TLogTag> Tags;   // every tag line in file order, duplicates included
    // Every contact line in file order, QSOIndex numbered from 1; Score and Comment empty.
    std::vector<TQSORecord> Records;
};

struct TLogFormat;

// Reads the log at `path`, its QSO lines split by `format`; throws TZelkError naming the file and the
// system's reason when it cannot be opened or read.
TLogContent ReadLogContent(std::string_view path, const TLogFormat& format);
// The same with the documented QSO line layout.
TLogContent ReadLogContent(std::string_view path);

} // namespace zelk
