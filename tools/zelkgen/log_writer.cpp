// Cabrillo 3.0 text of one log: the header tags, a QSO: line per contact in the column form, END-OF-LOG:.
#include "log_writer.h"
#include "calendar.h"
#include "logs/text_encoding.h"

#include <cstdio>
#include <set>

namespace zelk::gen {

namespace {

std::string Serial(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return buf;
}

int SideOf(const TGenContact& c, int station) {
    return c.station[0] == station ? 0 : 1;
}

bool IsLogged(const TGenContact& c, int side) {
    return !(c.fault == TGenFault::NotInLog && c.faultSide == side);
}

std::string QsoLine(const TGenOptions& o, const TGenContest& contest, const TGenLogForm& form,
                    const TGenContact& c, int side) {
    const auto& own = contest.stations[c.station[side]];
    const auto& other = contest.stations[c.station[1 - side]];
    const int64_t minute = LoggedMinute(o, contest, c, side);
    const std::string mode = form.lowerCase ? "cw" : "CW";
    const std::string ownCall = form.lowerCase ? LowerAscii(own.call) : own.call;
    const std::string& logged = contest.LoggedCall(c, side);
    const std::string otherCall = form.lowerCase ? LowerAscii(logged) : logged;
    const std::string sent = Serial(c.serial[side]), received = Serial(ReceivedSerial(c, side));
    char buf[192];
    const bool leftOut = c.fault == TGenFault::MissingPiece && c.faultSide == side;
    if (o.exchange == TGenExchange::RstSerial && !leftOut) {
        // The documented layout, as the generator has always written it.
        std::snprintf(buf, sizeof buf, "QSO: %5d %s %s %s %-13s 599 %-6s %-13s 599 %-6s 0", c.freqKHz,
                      mode.c_str(), DateText(minute).c_str(), TimeText(minute).c_str(), ownCall.c_str(),
                      sent.c_str(), otherCall.c_str(), received.c_str());
        return buf;
    }
    std::string sentText = ExchangeText(o, c.serial[side], own.region, c.previous[side]);
    // The first piece of the sent exchange left out: what follows moves up by one.
    if (leftOut)
        sentText = sentText.find(' ') == std::string::npos ? "" : sentText.substr(sentText.find(' ') + 1);
    std::snprintf(buf, sizeof buf, "QSO: %5d %s %s %s %-13s %s%s%-13s %s 0", c.freqKHz, mode.c_str(),
                  DateText(minute).c_str(), TimeText(minute).c_str(), ownCall.c_str(), sentText.c_str(),
                  sentText.empty() ? "" : " ", otherCall.c_str(),
                  ExchangeText(o, ReceivedSerial(c, side), other.region, c.previous[1 - side]).c_str());
    return buf;
}

// A QSO line as the participant's program wrote it: pieces separated by tabs, or a no-break space
// after "QSO:".
std::string ArrivalLine(const TGenLogForm& form, const std::string& line) {
    if (form.noBreak) return "QSO:\xA0" + line.substr(5);
    if (!form.tabs) return line;
    std::string out;
    for (char ch : line) {
        if (ch != ' ')
            out += ch;
        else if (out.back() != '\t')
            out += '\t';
    }
    return out;
}

class TLineSink {
  public:
    explicit TLineSink(bool lfOnly) : eol_(lfOnly ? "\n" : "\r\n") {}
    void Tag(std::string_view tag, std::string_view value) {
        text_ += tag;
        if (!value.empty()) text_ += ' ', text_ += value;
        text_ += eol_;
    }
    void Line(std::string_view line) { text_ += line, text_ += eol_; }
    std::string Take() { return std::move(text_); }

  private:
    const char* eol_;
    std::string text_;
};

} // namespace

void NumberRecords(TGenContest& contest) {
    for (int st = 0; st < static_cast<int>(contest.stations.size()); ++st) {
        int n = 0, previous = 0;
        for (int idx : contest.stations[st].contacts) {
            TGenContact& c = contest.contacts[idx];
            const int side = SideOf(c, st);
            c.previous[side] = previous;
            if (!IsLogged(c, side)) continue;
            previous = ReceivedSerial(c, side);
            if (contest.stations[st].sendsLog) c.qsoNo[side] = ++n;
        }
    }
}

int64_t LoggedMinute(const TGenOptions& o, const TGenContest& contest, const TGenContact& c, int side) {
    const int64_t startSecond = (DaysFromCivil(o.date) * 1440 + o.startMinute) * 60;
    const int64_t second =
        startSecond + contest.SlotSecond(c.slot) + contest.stations[c.station[side]].clockOffsetSec;
    int64_t minute = FloorDiv(second, 60);
    if (c.fault == TGenFault::TimeShift && c.faultSide == side) minute += c.faultValue;
    return minute;
}

std::string ExchangeText(const TGenOptions& o, int serial, const std::string& region, int previous) {
    switch (o.exchange) {
    case TGenExchange::Serial:
        return Serial(serial);
    case TGenExchange::SerialPrevious:
        return Serial(serial) + " " + Serial(previous);
    case TGenExchange::RstSerialRegion:
        return "599 " + Serial(serial) + " " + region;
    case TGenExchange::RstSerial:
        break;
    }
    return "599 " + Serial(serial);
}

int ReceivedSerial(const TGenContact& c, int side) {
    const int sent = c.serial[1 - side];
    if (c.fault != TGenFault::Busted || c.faultSide != side) return sent;
    // Never 0 or below: a miscopied number still looks like a serial.
    return sent + c.faultValue >= 1 ? sent + c.faultValue : sent - c.faultValue;
}

std::string RenderLog(const TGenOptions& o, const TGenContest& contest, const TGenLogForm& form, int station,
                      bool arrival) {
    const TGenStation& st = contest.stations[station];
    std::vector<std::string> lines;
    std::set<std::string> calls;
    for (int idx : st.contacts) {
        const TGenContact& c = contest.contacts[idx];
        const int side = SideOf(c, station);
        if (!IsLogged(c, side)) continue;
        const std::string line = QsoLine(o, contest, form, c, side);
        lines.push_back(arrival ? ArrivalLine(form, line) : line);
        calls.insert(contest.stations[c.station[1 - side]].call);
    }
    // What the entrant claims: one point a contact, each station worked a multiplier.
    const size_t claimed = lines.size() * calls.size();

    TLineSink out(form.lfOnly);
    out.Tag("START-OF-LOG:", "3.0");
    out.Tag("CONTEST:", o.contest);
    if (!st.noCallsign) out.Tag("CALLSIGN:", form.lowerCase ? LowerAscii(st.call) : st.call);
    out.Tag("CATEGORY-ASSISTED:", form.assisted);
    if (!form.overlay.empty()) out.Tag("CATEGORY-OVERLAY:", form.overlay);
    if (!form.unknownTag.empty()) out.Line(form.unknownTag);
    out.Tag("CLAIMED-SCORE:", std::to_string(claimed));
    if (!form.club.empty()) out.Tag("CLUB:", form.club);
    out.Tag("CREATED-BY:", "ZelkGen 1.0");
    out.Tag("NAME:", form.name);
    out.Tag("ADDRESS:", form.address);
    out.Tag("OPERATORS:", st.baseCall);
    if (!form.soapbox.empty()) out.Tag("SOAPBOX:", form.soapbox);
    for (const auto& line : lines)
        out.Line(line);
    out.Tag("END-OF-LOG:", "");
    return arrival ? zelk::EncodeText(out.Take(), form.encoding) : out.Take();
}

} // namespace zelk::gen
