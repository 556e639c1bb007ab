// Writing the UBN check report of the selected log.
#include "reports/ubn_report.h"

#include "judge/judge.h"
#include "judge/judging.h"
#include "logs/contest.h"
#include "logs/file_io.h"
#include "script/judging_scripts.h"

#include <algorithm>
#include <array>

namespace zelk {

namespace {

constexpr const char* kCRLF = "\r\n";

// The text followed by blanks up to `width`; a longer text is written whole.
void AppendPadded(std::string& out, const std::string& text, size_t width) {
    out += text;
    if (text.size() < width) out.append(width - text.size(), ' ');
}

} // namespace

std::string BuildUBNReport(TZelkContest& contest, TZelkScript& scripts) {
    std::string out;
    for (const auto& row : contest.Header) {
        if (row.Caption == "CLAIMED-SCORE:") continue;
        AppendPadded(out, row.Caption, 15);
        out += row.Cell(0);
        out += row.Cell(1);
        out += kCRLF;
        if (row.Caption == "CALLSIGN:") {
            AppendPadded(out, "CLAIMED-SCORE:", 15);
            out += std::to_string(GetTotal(scripts, contest.Current)) + kCRLF;
        }
    }

    std::array<size_t, 9> widths{};
    for (const auto& row : contest.QSOs)
        for (size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row.Cell(i).size());
    size_t separatorLength = 0;
    for (size_t w : widths)
        separatorLength += w + 2;
    const std::string separator = std::string(separatorLength, '=') + kCRLF;

    out += separator;
    for (const auto& row : contest.QSOs) {
        AppendPadded(out, row.Caption, 4);
        for (size_t i = 0; i < 8; ++i)
            AppendPadded(out, row.Cell(i), widths[i] + 2);
        out += row.Cell(8);
        out += kCRLF;
    }
    out += separator;
    AppendPadded(out, "SCORE:", 15);
    out += std::to_string(contest.Current.Score) + kCRLF;
    AppendPadded(out, "MULTIPLIER:", 15);
    out += std::to_string(contest.Current.Multi) + kCRLF;
    AppendPadded(out, "CLAIMED-SCORE:", 15);
    out += std::to_string(GetTotal(scripts, contest.Current)) + kCRLF;
    out += separator;
    return out;
}

std::string ProposedUBNFileName(const TZelkContest& contest, const std::string& ext) {
    const std::string path = contest.SelectedLogPath();
    if (path.empty()) return {};
    return ChangeFileExt(path, ext.empty() ? std::string_view() : std::string_view(ext).substr(1));
}

void SaveUBNReport(TZelkContest& contest, const TJudging& judging, const std::string& fileName) {
    if (contest.SelectedLog < 0) return;
    CheckAllRecords(contest, judging);
    WriteFileAtomic(fileName, BuildUBNReport(contest, judging.Scripts));
}

} // namespace zelk
