// The analysis beside the judgement: why each rejected contact of a log failed (the partner never logged
// it, a callsign or an exchange was miscopied and by whom, the times are apart, the call has no log), the
// partner's record behind it, and the figures of a log (contacts, confirmed, accuracy, clock offset). It
// takes the verdicts of the judging scripts as they are and changes none of them.
#pragma once

#include "judge/judging.h"
#include "logs/qso_record.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelk {

class TContestLog;
class TZelkContestModel;

// Why a contact was rejected. Repeat is a contact rejected only as a repeat of an earlier one.
enum class TFaultClass : int {
    None,
    NotInLog,
    BustedCall,
    BustedByPartner,
    ExchangeMine,
    ExchangeTheirs,
    ExchangeBoth,
    Time,
    Unique,
    NoLog,
    Repeat,
};
inline constexpr int kFaultClassCount = static_cast<int>(TFaultClass::Repeat) + 1;

// The class as the command line writes it: "NIL", "BUSTED-CALL", ... "NO-LOG", "DUPE"; empty for None.
const char* FaultClassCode(TFaultClass c);
// The class in words for the judge and the participant (Windows-1251).
const std::string& FaultClassWord(TFaultClass c);

// One contact of a log under analysis.
struct TContactAnalysis {
    int QSO = 0;           // its number in the log, from 1
    TQSORecord Own;        // the contact as the log holds it
    bool Rejected = false; // as the judgement says
    std::string Comment;   // the judgement's reason words
    TFaultClass Class = TFaultClass::None;
    // BUSTED-CALL: the call meant (the owner of the log that holds the contact); BUSTED-BY-PARTNER: the
    // call the partner logged instead of the own one.
    std::string Suggestion;
    // The partner's record behind the verdict: the one that confirms the contact, or the nearest one the
    // analysis found; PartnerFile is its log's file name.
    bool HasPartner = false;
    std::string PartnerFile;
    TQSORecord Partner;
    int Minutes = 0; // own time less the partner's, in minutes, when HasPartner
    // The partner's log confirms the contact (whatever the exchange and time tests said): it counts for
    // the clock offset.
    bool Matched = false;
    // With a partner's record: what I received differs from what they sent, what they received differs
    // from what I sent.
    bool MineDiffers = false, TheirsDiffers = false;
};

struct TLogAnalysis {
    std::string FileName;  // the log's file name
    std::string OwnerCall; // empty: the log has no usable CALLSIGN: and nothing was judged
    int Contacts = 0;
    int Confirmed = 0; // contacts the judgement accepts
    std::array<int, kFaultClassCount> ByClass{};
    // The median of own time less the partner's over the matched contacts, in minutes; none without
    // matched contacts. Flagged when it is further from 0 than the time tolerance.
    std::optional<int> ClockOffset;
    bool ClockFlagged = false;
    // Every contact, in log order.
    std::vector<TContactAnalysis> Records;

    bool Judged() const { return !OwnerCall.empty(); }
    // Confirmed of contacts in percent; none without contacts or when nothing was judged.
    std::optional<double> Accuracy() const;
};

// Accuracy with one decimal ("97.5"), "-" when there is none.
std::string AccuracyText(const TLogAnalysis& log);
// The clock offset as a whole number ("0", "7", "-5"), "-" when there is none.
std::string OffsetText(const TLogAnalysis& log);
// The DETAIL of a rejected contact on the command line: the suggested call, the minutes apart for TIME,
// else empty.
std::string FaultDetail(const TContactAnalysis& contact);

// The band of a frequency text: kHz of the short-wave bands give their band, other texts stand for
// themselves ("7", "50", "144").
std::string BandOf(std::string_view freq);
// Signed minutes from `b` to `a` (a - b), by calendar day and minute of the day.
int SignedMinutes(const TQSORecord& a, const TQSORecord& b);

// Analyses the logs of one contest model with one set of settings and scripts; what it learns about the
// whole contest (who mentions which call, whose callsign is close to whose) is gathered on first need and
// kept. Not for several threads at once.
class TContestAnalyser {
  public:
    // `noFileCalls` as for TLogJudge (the stations credited without a log). All must outlive the analyser.
    TContestAnalyser(const TZelkContestModel& model, const TJudging& judging,
                     const std::vector<std::pair<std::string, int>>* noFileCalls);
    ~TContestAnalyser();
    TContestAnalyser(const TContestAnalyser&) = delete;
    TContestAnalyser& operator=(const TContestAnalyser&) = delete;

    // The analysis of `log`, named `fileName`. Read errors of a log and script results that cannot be
    // converted raise TZelkError, as in judging.
    TLogAnalysis Analyse(const TContestLog& log, const std::string& fileName);
    // One contact: `record` at QSO position `index` (from 0) of `own`, whose owner is `ownCall`.
    TContactAnalysis AnalyseContact(const TContestLog& own, const std::string& ownCall,
                                    const TQSORecord& record, int index);

  private:
    struct TContestIndex;
    const TContestIndex& Index();
    void Classify(const TContestLog& own, const std::string& ownCall, const TQSORecord& record,
                  TContactAnalysis& out);
    bool FindBustedCall(const TContestLog& own, const std::string& ownCall, const TQSORecord& record,
                        TContactAnalysis& out);
    bool FindPartnerBust(const TContestLog& theirs, const std::string& ownCall, const TQSORecord& record,
                         TContactAnalysis& out);
    bool FindNearest(const TContestLog& own, const TContestLog& theirs, const std::string& ownCall,
                     const TQSORecord& record, TContactAnalysis& out);
    // Another record of `own` than `record` is the contact that the record `theirs` of the log
    // `theirFile` stands for.
    bool AccountedFor(const TContestLog& own, const TQSORecord& record, const std::string& theirFile,
                      const TQSORecord& theirs) const;
    void TakePartner(const TContestLog& log, const TQSORecord& partner, const TQSORecord& record,
                     TContactAnalysis& out) const;

    const TZelkContestModel& model_;
    const TJudging& judging_;
    const std::vector<std::pair<std::string, int>>* noFileCalls_;
    std::unique_ptr<TContestIndex> index_;
};

} // namespace zelk
