// The line rules of Cabrillo logs and the two small classes that read a log's identity.
#include "logs/cabrillo_file.h"

#include "logs/file_io.h"
#include "logs/log_content.h"
#include "logs/text.h"

#include <algorithm>

namespace zelk {

const std::array<std::string_view, 20> kKnownTags = {"START-OF-LOG:",
                                                     "ARRL-SECTION:",
                                                     "CALLSIGN:",
                                                     "CATEGORY:",
                                                     "CATEGORY-ASSISTED:",
                                                     "CATEGORY-DXPEDITION:",
                                                     "CATEGORY-OVERLAY:",
                                                     "CATEGORY-TIME:",
                                                     "CLAIMED-SCORE:",
                                                     "CLUB:",
                                                     "CONTEST:",
                                                     "CREATED-BY:",
                                                     "IOTA-ISLAND-NAME:",
                                                     "NAME:",
                                                     "ADDRESS:",
                                                     "OPERATORS:",
                                                     "OFFTIME:",
                                                     "SOAPBOX:",
                                                     "QSO:",
                                                     "END-OF-LOG:"};

bool IsKnownTag(std::string_view tag) {
    return std::find(kKnownTags.begin(), kKnownTags.end(), tag) != kKnownTags.end();
}

void ClassifyLogLine(std::string_view raw, TLogLine& out) {
    out.Kind = TLineKind::Skip;
    out.Tag.clear();
    out.Text.clear();
    out.Cut = false;
    size_t b = 0, e = raw.size();
    while (b < e && static_cast<unsigned char>(raw[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(raw[e - 1]) <= 32)
        --e;
    const std::string_view line = raw.substr(b, e - b);
    if (line.empty()) return;
    if (line.size() >= 4 && UpperChar(static_cast<unsigned char>(line[0])) == 'Q' &&
        UpperChar(static_cast<unsigned char>(line[1])) == 'S' &&
        UpperChar(static_cast<unsigned char>(line[2])) == 'O' && line[3] == ':') {
        out.Kind = TLineKind::Contact;
        out.Text = line.substr(4, 255);
        out.Cut = line.size() > 4 + 255;
        return;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return;
    out.Kind = TLineKind::Tag;
    out.Tag = UpperCase(line.substr(0, colon + 1));
    out.Text = Trim(line.substr(colon + 1, 255));
    out.Cut = line.size() > colon + 1 + 255;
}

bool TZelkCabrilloFile::Open() {
    Close();
    isOpen_ = FileExists(FileName);
    return isOpen_;
}

void TZelkCabrilloFile::Close() {
    isOpen_ = false;
}

std::string TZelkCabrilloFile::GetTagValue(std::string_view tag) {
    if (!Open()) return {};
    const std::string want = UpperCase(Trim(tag));
    std::string result;
    try {
        TFileLineReader reader(FileName);
        std::string line;
        while (reader.Next(line)) {
            const std::string t = Trim(line);
            if (t.size() < want.size() || UpperCase(std::string_view(t).substr(0, want.size())) != want)
                continue;
            result = Trim(std::string_view(t).substr(std::min(t.size(), want.size()), 255));
            break;
        }
    } catch (...) {
        Close();
        throw;
    }
    Close();
    return result;
}

void TZelkCurrentFile::Clear() {
    CallSign.clear();
    Name.clear();
    Club.clear();
    QSOCount = Score = Multi = CachedTotal = 0;
    TotalKnown = false;
}

void TZelkCurrentFile::SetScore(int n) {
    Score = n;
    CachedTotal = 0;
    TotalKnown = false;
}

void TZelkCurrentFile::SetMulti(int n) {
    Multi = n;
    CachedTotal = 0;
    TotalKnown = false;
}

void TZelkCurrentFile::TakeSummary(const TLogContent& log) {
    Clear();
    CallSign = log.CallSign;
    Name = log.Name;
    Club = log.Club;
    QSOCount = static_cast<int>(log.Records.size());
}

std::string OwnerCallSign(std::string_view path) {
    TZelkCabrilloFile file;
    file.FileName = path;
    return UpperCase(file.GetTagValue("CALLSIGN:"));
}

} // namespace zelk
