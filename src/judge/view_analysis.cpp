// The analysis of one contact for the QSO viewer.
#include "judge/view_analysis.h"

#include "judge/analysis.h"
#include "judge/qso_search.h"
#include "logs/contest.h"
#include "logs/text.h"

#include <algorithm>
#include <cstdlib>

namespace zelk {

namespace {

constexpr size_t kNearest = 3;

std::string ClassLine(const TContactAnalysis& c) {
    if (!c.Rejected) return "Связь засчитана"_cp;
    std::string line = std::string(FaultClassCode(c.Class)) + " - " + FaultClassWord(c.Class);
    if (c.Class == TFaultClass::BustedCall) line += "; вероятно "_cp + c.Suggestion;
    if (c.Class == TFaultClass::BustedByPartner) line += "; в его журнале "_cp + c.Suggestion;
    return line;
}

} // namespace

std::string ViewedQSOAnalysis(TZelkContest& contest, const TJudging& judging, int row) {
    const TContestLog* own = contest.LogAt(contest.SelectedLog);
    if (!own || !own->Exists() || own->OwnerCall().empty()) return {};
    const TQSORecord record = ViewedRecord(contest, row);
    TContestAnalyser analyser(contest.Model, judging, &contest.NoFileCalls);
    const TContactAnalysis c = analyser.AnalyseContact(*own, own->OwnerCall(), record, row);
    std::string text = ClassLine(c);
    // The log of the suggested call when the logged one was miscopied, else the correspondent's.
    const TContestLog* theirs = c.Class == TFaultClass::BustedCall ? contest.Model.Log(c.PartnerFile)
                                                                   : contest.Model.FindLog(record.Call);
    if (!theirs || !theirs->Exists()) return text + "\n" + "Журнала корреспондента нет"_cp;
    std::vector<const TQSORecord*> nearest;
    for (const TQSORecord& r : theirs->Records())
        nearest.push_back(&r);
    const auto apart = [&](const TQSORecord* r) { return std::abs(SignedMinutes(record, *r)); };
    const size_t n = std::min(kNearest, nearest.size());
    std::partial_sort(nearest.begin(), nearest.begin() + static_cast<std::ptrdiff_t>(n), nearest.end(),
                      [&](const TQSORecord* a, const TQSORecord* b) { return apart(a) < apart(b); });
    text += "\n" + FormatText("Ближайшие записи %s:"_cp, theirs->DiskName());
    for (size_t i = 0; i < n; ++i) {
        const TQSORecord& r = *nearest[i];
        const int minutes = SignedMinutes(record, r);
        text += "\nQSO " + std::to_string(r.QSOIndex) + "  " + r.Freq + " " + r.STime + "  " + r.Call + "  " +
                CollapseSpaces(r.Send) + " / " + CollapseSpaces(r.Receive) + "  [" +
                (minutes < 0 ? "+" : "") + std::to_string(-minutes) + " мин]"_cp;
    }
    return text;
}

} // namespace zelk
