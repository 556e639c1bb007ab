// Why contacts failed and the figures of a log, beside the judgement.
#include "judge/analysis.h"

#include "judge/call_variant.h"
#include "judge/cross_check.h"
#include "logs/callsign.h"
#include "logs/contest_model.h"
#include "logs/text.h"
#include "script/judging_scripts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace zelk {

namespace {

struct TClassNames {
    const char* Code;
    const std::string& Word;
};

TClassNames NamesOf(TFaultClass c) {
    switch (c) {
    case TFaultClass::None:
        return {"", "принято"_cp};
    case TFaultClass::NotInLog:
        return {"NIL", "нет в журнале корреспондента"_cp};
    case TFaultClass::BustedCall:
        return {"BUSTED-CALL", "позывной корреспондента принят с ошибкой"_cp};
    case TFaultClass::BustedByPartner:
        return {"BUSTED-BY-PARTNER", "корреспондент принял ваш позывной с ошибкой"_cp};
    case TFaultClass::ExchangeMine:
        return {"EXCHANGE-MINE", "контрольный номер принят с ошибкой"_cp};
    case TFaultClass::ExchangeTheirs:
        return {"EXCHANGE-THEIRS", "корреспондент принял ваш контрольный номер с ошибкой"_cp};
    case TFaultClass::ExchangeBoth:
        return {"EXCHANGE-BOTH", "контрольные номера приняты с ошибкой обеими сторонами"_cp};
    case TFaultClass::Time:
        return {"TIME", "время расходится с журналом корреспондента"_cp};
    case TFaultClass::Unique:
        return {"UNIQUE", "позывной есть только в этом журнале"_cp};
    case TFaultClass::NoLog:
        return {"NO-LOG", "нет журнала корреспондента"_cp};
    case TFaultClass::Repeat:
        return {"DUPE", "повтор"_cp};
    }
    return {"", "принято"_cp};
}

bool Has(const std::string& comment, const std::string& word) {
    return comment.find(word) != std::string::npos;
}

bool SameExchange(const std::string& a, const std::string& b) {
    return SameText(CollapseSpaces(Trim(a)), CollapseSpaces(Trim(b)));
}

// The same station, whatever modifier either side wrote.
bool SameStation(std::string_view a, std::string_view b) {
    return BaseCall(a) == BaseCall(b);
}

bool SameBandAndMode(const TQSORecord& a, const TQSORecord& b) {
    return SameText(Trim(a.Mode), Trim(b.Mode)) && BandOf(a.Freq) == BandOf(b.Freq);
}

// Minute stamp of a record: days since the epoch of DateTime times 1440 plus its minute of the day.
long long MinuteStamp(const TQSORecord& r) {
    return std::llround(r.DateTime() * 1440.0);
}

// The middle of the values; of two middles their mean, rounded half away from zero.
int Median(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n % 2) return values[n / 2];
    const int sum = values[n / 2 - 1] + values[n / 2];
    return sum >= 0 ? (sum + 1) / 2 : -((-sum + 1) / 2);
}

struct TBand {
    int low, high; // kHz
    const char* name;
};
constexpr TBand kBands[] = {{1800, 2000, "160"},   {3500, 4000, "80"},      {5250, 5450, "60"},
                            {7000, 7300, "40"},    {10100, 10150, "30"},    {14000, 14350, "20"},
                            {18068, 18168, "17"},  {21000, 21450, "15"},    {24890, 24990, "12"},
                            {28000, 29700, "10"},  {50000, 54000, "6"},     {70000, 71000, "4"},
                            {144000, 148000, "2"}, {430000, 440000, "70CM"}};

} // namespace

const char* FaultClassCode(TFaultClass c) {
    return NamesOf(c).Code;
}

const std::string& FaultClassWord(TFaultClass c) {
    return NamesOf(c).Word;
}

std::optional<double> TLogAnalysis::Accuracy() const {
    if (!Judged() || Contacts == 0) return std::nullopt;
    return 100.0 * Confirmed / Contacts;
}

std::string AccuracyText(const TLogAnalysis& log) {
    const auto accuracy = log.Accuracy();
    if (!accuracy) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", *accuracy);
    return buf;
}

std::string OffsetText(const TLogAnalysis& log) {
    return log.ClockOffset ? std::to_string(*log.ClockOffset) : std::string("-");
}

std::string FaultDetail(const TContactAnalysis& c) {
    switch (c.Class) {
    case TFaultClass::BustedCall:
    case TFaultClass::BustedByPartner:
        return c.Suggestion;
    case TFaultClass::Time:
        return c.HasPartner ? std::to_string(std::abs(c.Minutes)) : std::string();
    default:
        return {};
    }
}

std::string BandOf(std::string_view freq) {
    const std::string text = UpperCase(Trim(freq));
    int khz = 0;
    if (!TryStrToInt(text, khz) || khz < 1000) return text;
    for (const TBand& band : kBands)
        if (khz >= band.low && khz <= band.high) return band.name;
    return std::to_string(khz / 1000);
}

int SignedMinutes(const TQSORecord& a, const TQSORecord& b) {
    const long long d = MinuteStamp(a) - MinuteStamp(b);
    return static_cast<int>(std::clamp<long long>(d, -INT32_MAX, INT32_MAX));
}

// What the analysis needs of the whole contest: the logs by the variants of their owners' callsigns,
// and how many logs mention each call.
struct TContestAnalyser::TContestIndex {
    TCallVariantIndex<const TContestLog*> Owners;
    std::unordered_map<std::string, int> Mentions; // by upper-cased call
};

TContestAnalyser::TContestAnalyser(const TZelkContestModel& model, const TJudging& judging,
                                   const std::vector<std::pair<std::string, int>>* noFileCalls)
    : model_(model), judging_(judging), noFileCalls_(noFileCalls) {}

TContestAnalyser::~TContestAnalyser() = default;

const TContestAnalyser::TContestIndex& TContestAnalyser::Index() {
    if (index_) return *index_;
    auto index = std::make_unique<TContestIndex>();
    for (const TFolderEntry& entry : model_.Listed()) {
        const TContestLog* log = model_.Log(entry.Name);
        if (!log || !log->Exists()) continue;
        if (!log->OwnerCall().empty()) index->Owners.Add(log->OwnerCall(), log);
        std::unordered_set<std::string> calls;
        for (const TQSORecord& record : log->Records())
            calls.insert(UpperCase(Trim(record.Call)));
        for (const std::string& call : calls)
            ++index->Mentions[call];
    }
    index_ = std::move(index);
    return *index_;
}

void TContestAnalyser::TakePartner(const TContestLog& log, const TQSORecord& partner,
                                   const TQSORecord& record, TContactAnalysis& out) const {
    out.HasPartner = true;
    out.PartnerFile = log.DiskName();
    out.Partner.Assign(partner);
    out.Minutes = SignedMinutes(record, partner);
    out.MineDiffers = !SameExchange(record.Receive, partner.Send);
    out.TheirsDiffers = !SameExchange(partner.Receive, record.Send);
}

bool TContestAnalyser::AccountedFor(const TContestLog& own, const TQSORecord& record,
                                    const std::string& theirFile, const TQSORecord& theirs) const {
    const TContestLog* log = model_.Log(theirFile);
    if (!log) return false;
    const int tolerance = judging_.Settings.MaxMinutesDifference;
    return std::any_of(own.Records().begin(), own.Records().end(), [&](const TQSORecord& mine) {
        return mine.QSOIndex != record.QSOIndex && SameStation(mine.Call, log->OwnerCall()) &&
               SameBandAndMode(mine, theirs) && std::abs(SignedMinutes(mine, theirs)) <= tolerance;
    });
}

// The contact was made with a station one mistake away from the logged call: that station's log holds a
// record of the own callsign on the band and mode, within the time tolerance, that no record of the own
// log accounts for. The nearest such record wins.
bool TContestAnalyser::FindBustedCall(const TContestLog& own, const std::string& ownCall,
                                      const TQSORecord& record, TContactAnalysis& out) {
    const int tolerance = judging_.Settings.MaxMinutesDifference;
    const TContestLog* bestLog = nullptr;
    const TQSORecord* best = nullptr;
    int bestMinutes = 0;
    for (const TContestLog* log : Index().Owners.Variants(record.Call)) {
        if (log == &own || SameStation(log->OwnerCall(), ownCall)) continue;
        for (const TQSORecord& theirs : log->Records()) {
            if (!SameStation(theirs.Call, ownCall) || !SameBandAndMode(theirs, record)) continue;
            const int minutes = std::abs(SignedMinutes(record, theirs));
            if (minutes > tolerance || (best && minutes >= bestMinutes)) continue;
            const bool accounted =
                std::any_of(own.Records().begin(), own.Records().end(), [&](const TQSORecord& mine) {
                    return SameStation(mine.Call, log->OwnerCall()) && SameBandAndMode(mine, theirs) &&
                           std::abs(SignedMinutes(mine, theirs)) <= tolerance;
                });
            if (accounted) continue;
            bestLog = log, best = &theirs, bestMinutes = minutes;
        }
    }
    if (!best) return false;
    out.Class = TFaultClass::BustedCall;
    out.Suggestion = bestLog->OwnerCall();
    TakePartner(*bestLog, *best, record, out);
    return true;
}

// The partner logged the own callsign with a mistake: its log holds, on the band and mode and within the
// tolerance, a record of a call one mistake from the own one that the log of that call (if any) does not
// account for.
bool TContestAnalyser::FindPartnerBust(const TContestLog& theirs, const std::string& ownCall,
                                       const TQSORecord& record, TContactAnalysis& out) {
    const int tolerance = judging_.Settings.MaxMinutesDifference;
    const TQSORecord* best = nullptr;
    int bestMinutes = 0;
    for (const TQSORecord& candidate : theirs.Records()) {
        if (!SameBandAndMode(candidate, record) || !IsCallVariant(candidate.Call, ownCall)) continue;
        const int minutes = std::abs(SignedMinutes(record, candidate));
        if (minutes > tolerance || (best && minutes >= bestMinutes)) continue;
        if (const TContestLog* other = model_.FindLog(candidate.Call); other && other->Exists()) {
            const auto& records = other->Records();
            const bool accounted = std::any_of(records.begin(), records.end(), [&](const TQSORecord& r) {
                return SameStation(r.Call, theirs.OwnerCall()) && SameBandAndMode(r, candidate) &&
                       std::abs(SignedMinutes(r, candidate)) <= tolerance;
            });
            if (accounted) continue;
        }
        best = &candidate, bestMinutes = minutes;
    }
    if (!best) return false;
    out.Class = TFaultClass::BustedByPartner;
    out.Suggestion = UpperCase(Trim(best->Call));
    TakePartner(theirs, *best, record, out);
    return true;
}

// The nearest record of the own callsign in the partner's log on the band and mode that no other record
// of the own log accounts for.
bool TContestAnalyser::FindNearest(const TContestLog& own, const TContestLog& theirs,
                                   const std::string& ownCall, const TQSORecord& record,
                                   TContactAnalysis& out) {
    const int tolerance = judging_.Settings.MaxMinutesDifference;
    const TQSORecord* best = nullptr;
    int bestMinutes = 0;
    for (const TQSORecord& candidate : theirs.Records()) {
        if (!SameStation(candidate.Call, ownCall) || !SameBandAndMode(candidate, record)) continue;
        const int minutes = std::abs(SignedMinutes(record, candidate));
        if (best && minutes >= bestMinutes) continue;
        const bool accounted =
            std::any_of(own.Records().begin(), own.Records().end(), [&](const TQSORecord& mine) {
                return mine.QSOIndex != record.QSOIndex && SameStation(mine.Call, theirs.OwnerCall()) &&
                       SameBandAndMode(mine, candidate) &&
                       std::abs(SignedMinutes(mine, candidate)) <= tolerance;
            });
        if (accounted) continue;
        best = &candidate, bestMinutes = minutes;
    }
    if (!best) return false;
    TakePartner(theirs, *best, record, out);
    return true;
}

void TContestAnalyser::Classify(const TContestLog& own, const std::string& ownCall, const TQSORecord& record,
                                TContactAnalysis& out) {
    const std::string& comment = out.Comment;
    const int tolerance = judging_.Settings.MaxMinutesDifference;
    if (out.Matched && std::abs(out.Minutes) <= tolerance) {
        if (Has(comment, WordReceiveError())) {
            // The script judged my copy wrong; which copies differ says whose mistake it was.
            out.Class = out.MineDiffers == out.TheirsDiffers
                            ? (out.MineDiffers ? TFaultClass::ExchangeBoth : TFaultClass::ExchangeMine)
                            : (out.MineDiffers ? TFaultClass::ExchangeMine : TFaultClass::ExchangeTheirs);
        } else if (Has(comment, WordRepeat())) {
            out.Class = TFaultClass::Repeat;
        } else {
            out.Class = TFaultClass::Time;
        }
        return;
    }
    // The partner logged the own call on the band, only far off, and no other contact of the own log
    // accounts for that record: the times are apart.
    if (out.Matched && !AccountedFor(own, record, out.PartnerFile, out.Partner)) {
        out.Class = TFaultClass::Time;
        return;
    }
    // No record of the partner's near the time: a miscopied call explains it before the times do.
    const bool matched = out.Matched;
    out.Matched = false;
    if (FindBustedCall(own, ownCall, record, out)) return;
    const TContestLog* theirs = model_.FindLog(record.Call);
    if (!theirs || !theirs->Exists()) {
        const auto& mentions = Index().Mentions;
        const auto it = mentions.find(UpperCase(Trim(record.Call)));
        out.Class = it != mentions.end() && it->second > 1 ? TFaultClass::NoLog : TFaultClass::Unique;
        return;
    }
    if (FindPartnerBust(*theirs, ownCall, record, out)) return;
    out.Matched = matched;
    // A record of the own call on the band beyond the tolerance: the times are apart; none, or one the
    // scripts did not take within the tolerance: the partner has no such contact.
    if (matched || (FindNearest(own, *theirs, ownCall, record, out) && std::abs(out.Minutes) > tolerance)) {
        out.Class = TFaultClass::Time;
        return;
    }
    out.Class = TFaultClass::NotInLog;
}

TContactAnalysis TContestAnalyser::AnalyseContact(const TContestLog& own, const std::string& ownCall,
                                                  const TQSORecord& record, int index) {
    TContactAnalysis out;
    out.QSO = index + 1;
    out.Own.Assign(record);
    TLogJudge judge(model_, judging_, noFileCalls_);
    TQSORecord judged;
    judged.Assign(record);
    TQSORecord candidate;
    const TRecordVerdict verdict = judge.JudgeRecord(own, ownCall, judged, index, &candidate);
    out.Rejected = verdict.Rejected;
    out.Comment = verdict.Comment;
    const TContestLog* theirs = model_.FindLog(record.Call);
    if (theirs && (candidate.QSOIndex > 0 || !candidate.Call.empty())) {
        out.Matched = true;
        const TQSORecord* partner = &candidate;
        // Of the partner's records the scripts pair with this one, the nearest in time tells the story
        // best; the judge keeps the last one when none passes.
        if (out.Rejected) {
            int best = std::abs(SignedMinutes(record, candidate));
            for (const TQSORecord& other : theirs->Records()) {
                const int minutes = std::abs(SignedMinutes(record, other));
                if (minutes < best && IsConfirmedBy(judging_.Scripts, judged, ownCall, other))
                    partner = &other, best = minutes;
            }
        }
        TakePartner(*theirs, *partner, record, out);
    }
    if (out.Rejected) Classify(own, ownCall, record, out);
    return out;
}

TLogAnalysis TContestAnalyser::Analyse(const TContestLog& log, const std::string& fileName) {
    TLogAnalysis out;
    out.FileName = fileName;
    out.OwnerCall = log.Exists() ? log.OwnerCall() : std::string();
    static const std::vector<TQSORecord> kNone;
    const std::vector<TQSORecord>& records = log.Exists() ? log.Records() : kNone;
    out.Contacts = static_cast<int>(records.size());
    if (!out.Judged()) return out;
    std::vector<int> offsets;
    for (size_t i = 0; i < records.size(); ++i) {
        TContactAnalysis contact = AnalyseContact(log, out.OwnerCall, records[i], static_cast<int>(i));
        if (!contact.Rejected) ++out.Confirmed;
        if (contact.Matched) offsets.push_back(contact.Minutes);
        ++out.ByClass[static_cast<size_t>(contact.Class)];
        out.Records.push_back(std::move(contact));
    }
    if (!offsets.empty()) {
        out.ClockOffset = Median(std::move(offsets));
        out.ClockFlagged = std::abs(*out.ClockOffset) > judging_.Settings.MaxMinutesDifference;
    }
    return out;
}

} // namespace zelk
