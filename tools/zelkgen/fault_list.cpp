// Builds the fault list of a generated contest from its contacts and log forms.
#include "fault_list.h"
#include "calendar.h"
#include "log_writer.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace zelk::gen {

namespace {

struct TEntry {
    std::string file;
    int qso = 0; // 0: the entry is about the whole log or station
    std::string verdict;
    std::string detail;
    bool operator<(const TEntry& e) const {
        return std::tie(file, qso, verdict, detail) < std::tie(e.file, e.qso, e.verdict, e.detail);
    }
};

std::string Mentions(int n) {
    return "in " + std::to_string(n) + (n == 1 ? " log" : " logs");
}

class TCollector {
  public:
    TCollector(const TGenOptions& o, const TGenContest& contest, const std::vector<TGenLogForm>& forms)
        : o_(o), c_(contest), forms_(forms) {}

    void Contact(const TGenContact& c, const std::vector<int>& mentions);
    void Logs(const std::vector<int>& mentions);
    std::string Text();

  private:
    // A record that the checker judges: the station sent a log with a callsign and wrote this record.
    bool Judged(const TGenContact& c, int side) const {
        const auto& st = c_.stations[c.station[side]];
        return st.sendsLog && !st.noCallsign && c.qsoNo[side] > 0;
    }
    void Record(const TGenContact& c, int side, std::string verdict, std::string detail) {
        if (Judged(c, side))
            entries_.push_back(
                {forms_[c.station[side]].arrivalName, c.qsoNo[side], std::move(verdict), std::move(detail)});
    }
    const std::string& Call(const TGenContact& c, int side) const {
        return c_.stations[c.station[side]].call;
    }
    // What `side` sent with `serial`, as the logs write it.
    std::string Exchange(const TGenContact& c, int side, int serial) const {
        return ExchangeText(o_, serial, c_.stations[c.station[side]].region, c.previous[side]);
    }

    const TGenOptions& o_;
    const TGenContest& c_;
    const std::vector<TGenLogForm>& forms_;
    std::vector<TEntry> entries_;
};

void TCollector::Contact(const TGenContact& c, const std::vector<int>& mentions) {
    for (int side = 0; side < 2; ++side) {
        const auto& other = c_.stations[c.station[1 - side]];
        if (!other.sendsLog)
            Record(c, side, "no-file",
                   other.call + " sent no log; " + Mentions(mentions[c.station[1 - side]]));
    }
    if (c.repeatOf >= 0) {
        const TGenContact& first = c_.contacts[c.repeatOf];
        for (int side = 0; side < 2; ++side)
            Record(c, side, "repeat",
                   "works " + Call(c, 1 - side) + " again on " + std::to_string(c.freqKHz) + " after QSO " +
                       std::to_string(first.qsoNo[side]));
    }
    const int s = c.faultSide;
    switch (c.fault) {
    case TGenFault::Busted:
        Record(c, s, "receive-error",
               "copied " + Exchange(c, 1 - s, ReceivedSerial(c, s)) + " from " + Call(c, 1 - s) +
                   ", which sent " + Exchange(c, 1 - s, c.serial[1 - s]));
        break;
    case TGenFault::MissingPiece: {
        // The piece after the shortened sent exchange, the first of the received one, stands as the call.
        const std::string received = Exchange(c, 1 - s, ReceivedSerial(c, s));
        const std::string asCall = received.substr(0, received.find(' '));
        Record(c, s, "no-file",
               "left out the first piece of its sent exchange, so " + asCall + " stands as the call");
        Record(c, 1 - s, "not-confirmed",
               Call(c, s) + " logged this contact with " + asCall + " as the call");
        break;
    }
    case TGenFault::TimeShift: {
        const std::string shifted = TimeText(LoggedMinute(o_, c_, c, s));
        const std::string right = TimeText(LoggedMinute(o_, c_, c, 1 - s));
        const std::string off = std::to_string(c.faultValue) + " minutes";
        Record(c, s, "time-mismatch",
               "logged " + shifted + " (" + off + " off); " + Call(c, 1 - s) + " logged " + right);
        Record(c, 1 - s, "time-mismatch",
               Call(c, s) + " logged this contact at " + shifted + " (" + off + " off)");
        break;
    }
    case TGenFault::NotInLog:
        Record(c, 1 - s, "not-confirmed", Call(c, s) + " did not log this contact");
        break;
    case TGenFault::BustedCall: {
        const std::string& logged = c_.LoggedCall(c, s);
        Record(c, s, "no-file", "miscopied " + Call(c, 1 - s) + " as " + logged + ", the call of no station");
        Record(c, 1 - s, "not-confirmed",
               Call(c, s) + " logged this contact with " + logged + " as the call");
        break;
    }
    case TGenFault::None: {
        // Clocks whole minutes apart beyond the default tolerance mark both records.
        const int64_t apart = LoggedMinute(o_, c_, c, 0) - LoggedMinute(o_, c_, c, 1);
        if (c.repeatOf < 0 && (apart > 3 || apart < -3))
            for (int side = 0; side < 2; ++side)
                if (c_.stations[c.station[1 - side]].sendsLog && c.qsoNo[1 - side] > 0)
                    Record(c, side, "time-mismatch",
                           "the clocks of " + Call(c, 1) + " and " + Call(c, 0) + " are " +
                               std::to_string(apart < 0 ? -apart : apart) + " minutes apart");
        break;
    }
    }
}

void TCollector::Logs(const std::vector<int>& mentions) {
    for (size_t i = 0; i < c_.stations.size(); ++i) {
        const auto& st = c_.stations[i];
        if (!st.sendsLog) {
            entries_.push_back({st.call, 0, "no-log", "sent no log; " + Mentions(mentions[i])});
            continue;
        }
        const TGenLogForm& form = forms_[i];
        const auto add = [&](std::string verdict, std::string detail) {
            entries_.push_back({form.arrivalName, 0, std::move(verdict), std::move(detail)});
        };
        if (st.noCallsign) add("no-callsign", "the log has no CALLSIGN: line");
        if (st.call != st.baseCall) add("portable", "signs " + st.call);
        if (form.lowerCase) add("lower-case", "callsigns and mode in lower case");
        if (form.lfOnly) add("lf-only", "LF line ends");
        if (!form.unknownTag.empty()) add("unknown-tag", UnknownTagName(form));
        // How it arrived, and the name the cleaned copy gives it.
        if (form.mixedExt)
            add("mixed-ext", "extension " + form.arrivalName.substr(form.arrivalName.rfind('.')) +
                                 "; cleaned: " + form.fileName);
        if (form.oddName) add("odd-name", "named for " + st.call + "; cleaned: " + form.fileName);
        if (form.encoding != zelk::TTextEncoding::Cp1251) add("encoding", EncodingRemark(form.encoding));
        if (form.tabs) add("tabs", "QSO pieces separated by tabs");
        if (form.noBreak) add("tabs", "a no-break space after QSO:");
        if (!form.copyName.empty())
            entries_.push_back({form.copyName, 0, "duplicate", "a second copy of " + form.arrivalName});
    }
}

std::string TCollector::Text() {
    std::sort(entries_.begin(), entries_.end());
    std::string text = "# file\tqso\tverdict\tdetail\n";
    for (const auto& e : entries_)
        text += e.file + "\t" + (e.qso > 0 ? std::to_string(e.qso) : "-") + "\t" + e.verdict + "\t" +
                e.detail + "\n";
    return text;
}

// How many logs hold at least one contact with each station.
std::vector<int> CountMentions(const TGenContest& contest) {
    std::vector<int> mentions(contest.stations.size(), 0);
    for (size_t st = 0; st < contest.stations.size(); ++st) {
        if (!contest.stations[st].sendsLog) continue;
        std::set<int> worked;
        for (int idx : contest.stations[st].contacts) {
            const TGenContact& c = contest.contacts[idx];
            const int side = c.station[0] == static_cast<int>(st) ? 0 : 1;
            if (c.qsoNo[side] > 0) worked.insert(c.station[1 - side]);
        }
        for (int other : worked)
            ++mentions[other];
    }
    return mentions;
}

} // namespace

std::string FaultList(const TGenOptions& o, const TGenContest& contest,
                      const std::vector<TGenLogForm>& forms) {
    const std::vector<int> mentions = CountMentions(contest);
    TCollector collector(o, contest, forms);
    for (const auto& c : contest.contacts)
        collector.Contact(c, mentions);
    collector.Logs(mentions);
    return collector.Text();
}

} // namespace zelk::gen
