// Parsing and help of the zelkgen command line.
#include "options.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace zelk::gen {

namespace {

const TGenBand kKnownBands[] = {
    {"1.8", 1810, 1838},  {"3.5", 3505, 3560},  {"7", 7005, 7040},
    {"14", 14005, 14060}, {"21", 21005, 21060}, {"28", 28005, 28070},
};

// True when two folder texts name one folder, whether or not they exist yet ("out" and "./out/").
bool SameFolder(const std::string& a, const std::string& b) {
    const auto folder = [](const std::string& text) {
        std::filesystem::path p = std::filesystem::weakly_canonical(text);
        return p.has_filename() ? p : p.parent_path();
    };
    return folder(a) == folder(b);
}

bool ParseUnsigned(const std::string& text, uint64_t limit, uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const uint64_t digit = static_cast<uint64_t>(c - '0');
        if (v > (limit - digit) / 10) return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

int IntOption(const std::string& name, const std::string& text, int lo, int hi) {
    uint64_t v = 0;
    if (!ParseUnsigned(text, static_cast<uint64_t>(hi), v) || static_cast<int>(v) < lo)
        throw TGenUsageError(name + " needs a whole number from " + std::to_string(lo) + " to " +
                             std::to_string(hi) + ", not '" + text + "'");
    return static_cast<int>(v);
}

int RateOption(const std::string& name, const std::string& text) {
    int bp = 0;
    if (!ParsePercent(text, bp))
        throw TGenUsageError(name + " needs a percentage from 0 to 100 (e.g. 2 or 0.5), not '" + text + "'");
    return bp;
}

std::vector<TGenBand> BandsOption(const std::string& text) {
    std::vector<TGenBand> bands;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const std::string name = text.substr(start, comma - start);
        const auto it = std::find_if(std::begin(kKnownBands), std::end(kKnownBands),
                                     [&](const TGenBand& b) { return name == b.name; });
        if (it == std::end(kKnownBands))
            throw TGenUsageError("--bands: unknown band '" + name + "' (use 1.8, 3.5, 7, 14, 21, 28)");
        if (std::any_of(bands.begin(), bands.end(), [&](const TGenBand& b) { return b.name == it->name; }))
            throw TGenUsageError("--bands: band '" + name + "' is named twice");
        bands.push_back(*it);
        start = comma + 1;
    }
    return bands;
}

void Apply(TGenOptions& o, const std::string& name, const std::string& value) {
    if (name == "--out") {
        if (value.empty()) throw TGenUsageError("--out needs a folder");
        o.outDir = value;
    } else if (name == "--clean") {
        if (value.empty()) throw TGenUsageError("--clean needs a folder");
        o.cleanDir = value;
    } else if (name == "--faults") {
        o.faultsFile = value;
    } else if (name == "--logs") {
        o.logs = IntOption(name, value, 1, 20000);
    } else if (name == "--qsos") {
        o.qsos = IntOption(name, value, 1, 5000);
    } else if (name == "--absent") {
        o.absent = IntOption(name, value, 0, 5000);
    } else if (name == "--rare") {
        o.rare = IntOption(name, value, 0, 5000);
    } else if (name == "--seed") {
        if (!ParseUnsigned(value, UINT64_MAX, o.seed))
            throw TGenUsageError("--seed needs a whole number from 0 to 18446744073709551615, not '" + value +
                                 "'");
    } else if (name == "--busted") {
        o.bustedBp = RateOption(name, value);
    } else if (name == "--time-shift") {
        o.timeShiftBp = RateOption(name, value);
    } else if (name == "--dupes") {
        o.dupesBp = RateOption(name, value);
    } else if (name == "--nil") {
        o.nilBp = RateOption(name, value);
    } else if (name == "--lower") {
        o.lowerBp = RateOption(name, value);
    } else if (name == "--lf-only") {
        o.lfOnlyBp = RateOption(name, value);
    } else if (name == "--unknown-tags") {
        o.unknownTagsBp = RateOption(name, value);
    } else if (name == "--no-callsign") {
        o.noCallsign = IntOption(name, value, 0, 20000);
    } else if (name == "--portable") {
        o.portable = IntOption(name, value, 0, 20000);
    } else if (name == "--retries") {
        o.retriesBp = RateOption(name, value);
    } else if (name == "--missing-piece") {
        o.missingPieceBp = RateOption(name, value);
    } else if (name == "--busted-call") {
        o.bustedCallBp = RateOption(name, value);
    } else if (name == "--clock-offsets") {
        o.clockOffsets = IntOption(name, value, 0, 20000);
    } else if (name == "--mixed-ext") {
        o.mixedExtBp = RateOption(name, value);
    } else if (name == "--utf16") {
        o.utf16Bp = RateOption(name, value);
    } else if (name == "--utf8") {
        o.utf8Bp = RateOption(name, value);
    } else if (name == "--tabs") {
        o.tabsBp = RateOption(name, value);
    } else if (name == "--odd-names") {
        o.oddNamesBp = RateOption(name, value);
    } else if (name == "--duplicates") {
        o.duplicates = IntOption(name, value, 0, 20000);
    } else if (name == "--exchange") {
        if (value == "rst-serial")
            o.exchange = TGenExchange::RstSerial;
        else if (value == "serial")
            o.exchange = TGenExchange::Serial;
        else if (value == "rst-serial-region")
            o.exchange = TGenExchange::RstSerialRegion;
        else if (value == "serial-previous")
            o.exchange = TGenExchange::SerialPrevious;
        else
            throw TGenUsageError("--exchange: unknown layout '" + value +
                                 "' (use rst-serial, serial, rst-serial-region or serial-previous)");
    } else if (name == "--date") {
        if (!ParseDate(value, o.date))
            throw TGenUsageError("--date needs a date yyyy-mm-dd, not '" + value + "'");
    } else if (name == "--start") {
        if (!ParseClock(value, o.startMinute))
            throw TGenUsageError("--start needs a time hhmm or hh:mm, not '" + value + "'");
    } else if (name == "--hours") {
        o.hours = IntOption(name, value, 1, 48);
    } else if (name == "--overtime") {
        o.overtimeMinutes = IntOption(name, value, 0, 600);
    } else if (name == "--bands") {
        o.bands = BandsOption(value);
    } else if (name == "--contest") {
        const bool plain = !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        });
        if (!plain) throw TGenUsageError("--contest needs a name of capital letters, digits and '-'");
        o.contest = value;
    } else {
        throw TGenUsageError("unknown option '" + name + "' (see zelkgen --help)");
    }
}

} // namespace

bool ParsePercent(const std::string& text, int& basisPoints) {
    const size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 3 || frac.size() > 2 || (dot != std::string::npos && frac.empty()))
        return false;
    uint64_t w = 0, f = 0;
    if (!ParseUnsigned(whole, 999, w) || (!frac.empty() && !ParseUnsigned(frac, 99, f))) return false;
    const uint64_t bp = w * 100 + (frac.size() == 1 ? f * 10 : f);
    if (bp > 10000) return false;
    basisPoints = static_cast<int>(bp);
    return true;
}

bool WantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

TGenOptions ParseOptions(const std::vector<std::string>& args) {
    TGenOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name.rfind("--", 0) != 0)
            throw TGenUsageError("unexpected argument '" + name + "' (see zelkgen --help)");
        if (name == "--force" || name == "--truth") {
            (name == "--force" ? o.force : o.truth) = true;
            continue;
        }
        std::string value;
        const size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        } else {
            if (i + 1 >= args.size()) throw TGenUsageError(name + " needs a value");
            value = args[++i];
        }
        Apply(o, name, value);
    }
    if (o.outDir.empty()) throw TGenUsageError("--out FOLDER is required (see zelkgen --help)");
    if (o.bands.empty()) o.bands = BandsOption("3.5,7,14");
    if (o.noCallsign > o.logs) throw TGenUsageError("--no-callsign cannot exceed --logs");
    if (o.clockOffsets > o.logs - o.noCallsign)
        throw TGenUsageError("--clock-offsets cannot exceed the logs with a CALLSIGN: line");
    if (o.portable > o.logs) throw TGenUsageError("--portable cannot exceed --logs");
    if (o.duplicates > o.logs - o.noCallsign)
        throw TGenUsageError(
            "--duplicates cannot exceed the logs with a CALLSIGN: line (--logs less --no-callsign)");
    if (!o.cleanDir.empty() && SameFolder(o.cleanDir, o.outDir))
        throw TGenUsageError("--clean needs a folder of its own, not the --out folder");
    if (static_cast<int64_t>(o.logs) + o.absent + o.rare > 20000)
        throw TGenUsageError("--logs, --absent and --rare together may name at most 20000 stations");
    return o;
}

const char* HelpText() {
    return R"(Usage: zelkgen --out FOLDER [OPTIONS]
Writes a contest folder of Cabrillo 3.0 logs for Zelkon: a CW contest of a few hours in which every
contact stands in both stations' logs with the same frequency and mode, times within a minute and
exchanges "RST serial" that agree, plus faults put in on purpose. The same options and seed give the
same files, byte for byte, on every machine.

Contest:
  --out FOLDER         where the logs go; created when missing (required)
  --logs N             stations that send a log (default 20)
  --qsos N             contacts per log, roughly; two stations work each other at most once a band
                       (repeats aside), so a contest of few logs stays below it (default 100)
  --absent N           stations that send no log, each logged by at least 3 stations (default 3)
  --rare N             stations that send no log, logged by only 1 or 2 stations (default 0)
  --seed S             seed of the pseudo-random choices, 0 to 2^64-1 (default 1)
  --date YYYY-MM-DD    day of the start (default 2026-02-14)
  --start HHMM         start time, UTC (default 1200); the contest may run over midnight
  --hours H            length in hours, 1 to 48 (default 4)
  --overtime M         minutes the stations go on working after the end, 0 to 600, so that the logs
                       hold contacts outside the contest period (default 0)
  --bands LIST         comma-separated bands in MHz from 1.8,3.5,7,14,21,28 (default 3.5,7,14)
  --contest NAME       the CONTEST: value (default WINTER-CUP-CW)

Faults (P is a percentage of the contacts, up to two decimals; above 0 gives at least one case):
  --busted P           contacts whose received exchange one side copied wrong (default 2)
  --time-shift P       contacts one side logged 5 to 20 minutes off (default 1)
  --dupes P            contacts made once more later on the same frequency (default 1)
  --nil P              contacts only one side logged (default 1)
  --retries P          of the contacts --busted miscopied, those made once more 2 to 30 minutes later
                       on the same frequency to put them right (default 0)
  --no-callsign N      logs written without a CALLSIGN: line (default 0)
  --missing-piece P    contacts one side wrote with the first piece of its sent exchange left out, so
                       that the next piece stands where the correspondent's call belongs (default 0)
  --busted-call P      contacts one side logged with the correspondent's call miscopied: a character
                       changed, dropped or added, or two swapped, giving the call of no station (default 0)
  --clock-offsets N    logs whose clock is off by 1 to 10 whole minutes either way; with it no clock is
                       off by seconds, so every other pair of logs agrees to the minute (default 0)

Form of the logs (P is a percentage of the logs; above 0 gives at least one):
  --portable N         stations that sign /P; their log file still bears the plain callsign (default 0)
  --lower P            logs with callsigns and mode in lower case (default 5)
  --lf-only P          logs with LF line ends instead of CR LF (default 15)
  --unknown-tags P     logs with a tag Zelkon does not know, e.g. X-QTH: (default 20)
  --exchange LAYOUT    what the QSO lines hold as exchange, in every log: rst-serial (599 001, the
                       documented layout), serial (001 alone), rst-serial-region (599 001 MO) or
                       serial-previous (014 009: the serial, then the serial the sender received in
                       its previous contact, 000 in its first)

Logs as they arrive (P is a percentage of the logs; the --clean copy has none of these):
  --mixed-ext P        logs named .log or .LOG instead of .CBR (default 0)
  --utf16 P            logs in UTF-16, little or big endian, with or without a byte-order mark (default 0)
  --utf8 P             logs in UTF-8, with or without a byte-order mark; not with --utf16 (default 0)
  --tabs P             logs whose QSO lines separate their pieces by tabs, or some by a no-break space
                       after "QSO:" (default 0)
  --odd-names P        logs with a callsign named CALL_p.CBR for a /P station, else with a blank
                       before the dot (default 0)
  --duplicates N       logs with a callsign sent twice, the copy named CALL_.CBR (default 0)

Output:
  --faults FILE        also write a tab-separated list of every fault: log file, QSO number, the
                       verdict the default judging rules give, and why
  --clean FOLDER       also write the same contest as a judge cleans it by hand: every log named
                       after its callsign with .CBR, in Windows-1251, pieces separated by blanks, no
                       second copies; the fault list's file names are those of --out
  --truth              also write truth.tsv beside the logs: the class the analysis should give every
                       rejected record (FILE, QSO, CLASS, DETAIL as zelkon-cli analyze --format tsv
                       prints them), a SUMMARY line a log, and a CLOCK line for each clock off
  --force              write into folders that already hold files; their old .cbr and .log logs go first
  --help               this text

Faults are kept apart: a contact carries at most one, each of --busted, --time-shift and --nil goes
to at most a third of the contacts, --missing-piece to contacts none of them took, and none is put into
a log without CALLSIGN:. Changing the rate of --busted, --time-shift or --nil leaves the contacts and
the other faults as they were. The forms of logs as they arrive change no contact: judged with
FilesMask=*.CBR;*.LOG, FindLogByCallSign=1 and QSOSplitTabs=1, the --out folder gives the verdicts of
the --clean one. With --exchange serial, rst-serial-region or serial-previous both need a QSOTemplate
("freq mode date time mycall sent call rcvd tx", "freq mode date time mycall sent sent sent call rcvd
rcvd rcvd tx" or "freq mode date time mycall sent sent call rcvd rcvd tx").
)";
}

} // namespace zelk::gen
