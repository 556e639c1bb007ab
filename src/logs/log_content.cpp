// Reading a log once: the line rules applied to every line, in file order.
#include "logs/log_content.h"

#include "logs/cabrillo_file.h"
#include "logs/file_io.h"
#include "logs/qso_format.h"
#include "logs/text.h"

namespace zelk {

TLogContent ReadLogContent(std::string_view path, const TLogFormat& format) {
    TLogContent log;
    bool ownerSeen = false;
    TFileLineReader reader(path);
    std::string raw;
    TLogLine line;
    while (reader.Next(raw)) {
        ClassifyLogLine(raw, line);
        if (line.Kind == TLineKind::Contact) {
            log.Records.emplace_back().ParseQSOLine(line.Text, format);
            log.Records.back().QSOIndex = static_cast<int>(log.Records.size());
        } else if (line.Kind == TLineKind::Tag) {
            // The tag line CALLSIGN: is exactly the line whose first nine characters, upper-cased, are
            // "CALLSIGN:", which is how the owner is looked up (GetTagValue), so one pass gives both.
            if (line.Tag == "CALLSIGN:") {
                if (!ownerSeen) log.OwnerCall = UpperCase(line.Text);
                ownerSeen = log.HasCallSignTag = true;
                log.CallSign = UpperCase(line.Text);
            } else if (line.Tag == "NAME:") {
                log.Name = line.Text;
            } else if (line.Tag == "CLUB:") {
                log.Club = line.Text;
            }
            log.Tags.push_back({line.Tag, line.Text});
        }
    }
    return log;
}

TLogContent ReadLogContent(std::string_view path) {
    return ReadLogContent(path, DefaultLogFormat());
}

} // namespace zelk
