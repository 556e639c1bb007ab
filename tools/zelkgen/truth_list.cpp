// Builds the truth of a generated contest from its contacts, as they were made.
#include "truth_list.h"
#include "log_writer.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace zelk::gen {

namespace {

std::string Upper(std::string s) {
    for (char& ch : s)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    return s;
}

// The median as the analysis takes it: of two middles their mean, rounded half away from zero.
int Median(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    if (n % 2) return v[n / 2];
    const int sum = v[n / 2 - 1] + v[n / 2];
    return sum >= 0 ? (sum + 1) / 2 : -((-sum + 1) / 2);
}

class TTruth {
  public:
    TTruth(const TGenOptions& o, const TGenContest& contest, const std::vector<TGenLogForm>& forms)
        : o_(o), c_(contest), forms_(forms) {
        CountMentions();
    }
    void Contact(const TGenContact& c);
    std::string Text() const;

  private:
    // The station sent a log with a callsign and wrote this record: the analysis looks at it.
    bool Judged(const TGenContact& c, int side) const {
        const auto& st = c_.stations[c.station[side]];
        return st.sendsLog && !st.noCallsign && c.qsoNo[side] > 0;
    }
    // The call `side` wrote, as the analysis reads it: a left-out piece puts the first piece of the
    // received exchange there.
    std::string WrittenCall(const TGenContact& c, int side) const {
        if (c.fault == TGenFault::MissingPiece && c.faultSide == side) {
            const std::string received =
                ExchangeText(o_, ReceivedSerial(c, side), c_.stations[c.station[1 - side]].region);
            return received.substr(0, received.find(' '));
        }
        return Upper(c_.LoggedCall(c, side));
    }
    // The analysis matches the record with the partner's: both wrote the right calls.
    bool Matched(const TGenContact& c, int side) const {
        if (!c_.stations[c.station[1 - side]].sendsLog || c.qsoNo[1 - side] == 0) return false;
        const bool miscopied = c.fault == TGenFault::BustedCall || c.fault == TGenFault::MissingPiece;
        return !miscopied;
    }
    void Reject(const TGenContact& c, int side, const std::string& cls, const std::string& detail) {
        if (!Judged(c, side)) return;
        const std::string& file = forms_[c.station[side]].arrivalName;
        rejected_[file].insert(c.qsoNo[side]);
        if (!cls.empty()) lines_.insert({file, c.qsoNo[side], cls, detail});
    }
    std::string NoLogClass(const std::string& call) const {
        const auto it = mentions_.find(call);
        return it != mentions_.end() && it->second > 1 ? "NO-LOG" : "UNIQUE";
    }
    void CountMentions();

    struct TLine {
        std::string file;
        int qso;
        std::string cls, detail;
        bool operator<(const TLine& l) const {
            return std::tie(file, qso, cls, detail) < std::tie(l.file, l.qso, l.cls, l.detail);
        }
    };
    const TGenOptions& o_;
    const TGenContest& c_;
    const std::vector<TGenLogForm>& forms_;
    std::unordered_map<std::string, int> mentions_; // logs that write each call
    std::set<TLine> lines_;
    std::map<std::string, std::set<int>> rejected_; // QSO numbers by file, repeats included
};

void TTruth::CountMentions() {
    for (size_t st = 0; st < c_.stations.size(); ++st) {
        if (!c_.stations[st].sendsLog) continue;
        std::unordered_set<std::string> calls;
        for (int idx : c_.stations[st].contacts) {
            const TGenContact& c = c_.contacts[idx];
            const int side = c.station[0] == static_cast<int>(st) ? 0 : 1;
            if (c.qsoNo[side] > 0) calls.insert(WrittenCall(c, side));
        }
        for (const auto& call : calls)
            ++mentions_[call];
    }
}

void TTruth::Contact(const TGenContact& c) {
    for (int side = 0; side < 2; ++side) {
        if (!c_.stations[c.station[1 - side]].sendsLog) Reject(c, side, NoLogClass(WrittenCall(c, side)), "");
        if (c.repeatOf >= 0) Reject(c, side, "", "");
    }
    const int s = c.faultSide;
    const auto apart = [&] {
        const int64_t d = LoggedMinute(o_, c_, c, 0) - LoggedMinute(o_, c_, c, 1);
        return std::to_string(d < 0 ? -d : d);
    };
    switch (c.fault) {
    case TGenFault::Busted:
        Reject(c, s, "EXCHANGE-MINE", "");
        break;
    case TGenFault::MissingPiece:
        Reject(c, s, NoLogClass(WrittenCall(c, s)), "");
        Reject(c, 1 - s, "NIL", "");
        break;
    case TGenFault::TimeShift:
        Reject(c, s, "TIME", apart());
        Reject(c, 1 - s, "TIME", apart());
        break;
    case TGenFault::NotInLog:
        Reject(c, 1 - s, "NIL", "");
        break;
    case TGenFault::BustedCall:
        Reject(c, s, "BUSTED-CALL", Upper(c_.stations[c.station[1 - s]].call));
        Reject(c, 1 - s, "BUSTED-BY-PARTNER", WrittenCall(c, s));
        break;
    case TGenFault::None: {
        const int64_t d = LoggedMinute(o_, c_, c, 0) - LoggedMinute(o_, c_, c, 1);
        if (c.repeatOf < 0 && (d > 3 || d < -3) && c_.stations[c.station[0]].sendsLog &&
            c_.stations[c.station[1]].sendsLog && c.qsoNo[0] > 0 && c.qsoNo[1] > 0) {
            Reject(c, 0, "TIME", apart());
            Reject(c, 1, "TIME", apart());
        }
        break;
    }
    }
}

std::string TTruth::Text() const {
    std::string text = "# file\tqso\tclass\tdetail\n";
    for (const auto& l : lines_)
        text += l.file + "\t" + std::to_string(l.qso) + "\t" + l.cls + "\t" + l.detail + "\n";
    std::vector<std::pair<std::string, std::string>> summaries, clocks;
    for (size_t st = 0; st < c_.stations.size(); ++st) {
        const TGenStation& station = c_.stations[st];
        if (!station.sendsLog) continue;
        const std::string& file = forms_[st].arrivalName;
        int contacts = 0;
        std::vector<int> offsets;
        for (int idx : station.contacts) {
            const TGenContact& c = c_.contacts[idx];
            const int side = c.station[0] == static_cast<int>(st) ? 0 : 1;
            if (c.qsoNo[side] == 0) continue;
            ++contacts;
            if (Matched(c, side))
                offsets.push_back(
                    static_cast<int>(LoggedMinute(o_, c_, c, side) - LoggedMinute(o_, c_, c, 1 - side)));
        }
        std::string line = std::to_string(contacts);
        if (station.noCallsign) {
            line += "\t0\t-\t-";
        } else {
            const auto it = rejected_.find(file);
            const int confirmed =
                contacts - (it == rejected_.end() ? 0 : static_cast<int>(it->second.size()));
            char accuracy[32] = "-";
            if (contacts > 0) std::snprintf(accuracy, sizeof accuracy, "%.1f", 100.0 * confirmed / contacts);
            line += "\t" + std::to_string(confirmed) + "\t" + accuracy + "\t" +
                    (offsets.empty() ? std::string("-") : std::to_string(Median(offsets)));
        }
        summaries.emplace_back(file, line);
        if (station.clockMinutes != 0) clocks.emplace_back(file, std::to_string(station.clockMinutes));
    }
    std::sort(summaries.begin(), summaries.end());
    std::sort(clocks.begin(), clocks.end());
    for (const auto& [file, line] : summaries)
        text += file + "\tSUMMARY\t" + line + "\n";
    for (const auto& [file, minutes] : clocks)
        text += file + "\tCLOCK\t" + minutes + "\n";
    return text;
}

} // namespace

std::string TruthList(const TGenOptions& o, const TGenContest& contest,
                      const std::vector<TGenLogForm>& forms) {
    TTruth truth(o, contest, forms);
    for (const auto& c : contest.contacts)
        truth.Contact(c);
    return truth.Text();
}

} // namespace zelk::gen
