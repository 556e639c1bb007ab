// Cabrillo logs: the line rules every reader uses, the known tags, TZelkCabrilloFile (a log opened to
// fetch one tag) and TZelkCurrentFile (the summary and results of one log).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zelk {

struct TLogContent;

enum class TLineKind { Skip, Contact, Tag };

// One line after the line rules: a contact line carries its content (the text after "QSO:", at most
// 255 characters, as written); a tag line its upper-cased tag (ending in ":") and its value.
struct TLogLine {
    TLineKind Kind = TLineKind::Skip;
    std::string Tag;
    std::string Text; // the contact's content or the tag's value
    bool Cut = false; // the content or value was longer than 255 characters and was cut
};

// Applies the line rules to one raw line of a log.
void ClassifyLogLine(std::string_view raw, TLogLine& out);

// The 20 tags of the Cabrillo header that the program knows.
extern const std::array<std::string_view, 20> kKnownTags;
bool IsKnownTag(std::string_view tag);

class TZelkCabrilloFile {
  public:
    std::string FileName;

    bool IsOpen() const { return isOpen_; }
    // Opens `FileName` for reading when it exists; a missing file is not an error.
    bool Open();
    void Close();
    // The value of the first line that starts with `tag` (letter case ignored), contact lines
    // included; empty text when the file or the line is missing.
    std::string GetTagValue(std::string_view tag);

  private:
    bool isOpen_ = false;
};

class TZelkCurrentFile {
  public:
    std::string CallSign, Name, Club;
    int QSOCount = 0;
    int Score = 0;
    int Multi = 0;
    int CachedTotal = 0;
    bool TotalKnown = false;

    void Clear();
    void SetScore(int n);
    void SetMulti(int n);
    // Clears, then takes the summary of a log as read: its contacts counted, CALLSIGN: (upper-cased),
    // NAME: and CLUB: (the last of each wins).
    void TakeSummary(const TLogContent& log);
};

// The log's owner: the first CALLSIGN: value, upper-cased; empty means the log cannot be checked.
std::string OwnerCallSign(std::string_view path);

} // namespace zelk
