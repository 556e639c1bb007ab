// The stations of a generated contest: invented callsigns, who sends a log, and where each one is on
// the air during the contest.
#include "contest.h"
#include "random.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace zelk::gen {

namespace {

// Q, a call-area digit and two or three letters: Q5XY, Q2ABC. The Q prefixes belong to no country.
std::string MakeCall(TGenRandom& rnd) {
    std::string call = "Q";
    call += static_cast<char>('1' + rnd.Below(9));
    const int letters = rnd.Chance(5000) ? 2 : 3;
    for (int i = 0; i < letters; ++i)
        call += static_cast<char>('A' + rnd.Below(26));
    return call;
}

// Stays on a band for 20 to 60 minutes, then moves to another band and another frequency.
std::vector<TGenSegment> MakeBandPlan(TGenRandom& rnd, const TGenOptions& o, int slots, int slotsPerMinute) {
    std::vector<TGenSegment> plan;
    const int bands = static_cast<int>(o.bands.size());
    for (int slot = 0; slot < slots;) {
        TGenSegment seg;
        seg.startSlot = slot;
        seg.band = static_cast<int>(rnd.Below(bands));
        if (!plan.empty() && bands > 1 && seg.band == plan.back().band) seg.band = (seg.band + 1) % bands;
        seg.runKHz = rnd.Range(o.bands[seg.band].lowKHz, o.bands[seg.band].highKHz);
        plan.push_back(seg);
        slot += rnd.Range(20, 60) * slotsPerMinute;
    }
    return plan;
}

void AssignRoles(TGenRandom& rnd, const TGenOptions& o, TGenContest& contest) {
    for (int i = 0; i < static_cast<int>(contest.stations.size()); ++i) {
        auto& st = contest.stations[i];
        st.sendsLog = i < o.logs;
        if (st.sendsLog)
            st.target = std::max(1, o.qsos + rnd.Range(-o.qsos / 10, o.qsos / 10));
        else if (i < o.logs + o.absent)
            st.target = rnd.Range(3, std::max(3, o.qsos / 5));
        else
            st.target = rnd.Range(1, 2);
    }
    std::vector<int> order(o.logs);
    std::iota(order.begin(), order.end(), 0);
    rnd.Shuffle(order);
    for (int j = 0; j < o.noCallsign; ++j)
        contest.stations[order[j]].noCallsign = true;
    // Portable stations come from the logs with a callsign first, so both forms show up when possible.
    for (int j = 0; j < o.portable; ++j) {
        auto& st = contest.stations[order[(o.noCallsign + j) % o.logs]];
        st.call = st.baseCall + "/P";
    }
}

} // namespace

const TGenSegment& TGenContest::SegmentAt(int station, int slot) const {
    const auto& plan = stations[station].segments;
    const auto it = std::upper_bound(plan.begin(), plan.end(), slot,
                                     [](int s, const TGenSegment& seg) { return s < seg.startSlot; });
    return *(it - 1);
}

bool TGenContest::IsEligibleForFault(const TGenContact& c) const {
    for (int side = 0; side < 2; ++side) {
        const auto& st = stations[c.station[side]];
        if (!st.sendsLog || st.noCallsign) return false;
    }
    // Clocks that disagree put their own mark on a contact; no other fault joins it.
    if (stations[c.station[0]].clockMinutes != stations[c.station[1]].clockMinutes) return false;
    return c.repeatOf < 0 && !c.repeated && c.fault == TGenFault::None;
}

const std::string& TGenContest::LoggedCall(const TGenContact& c, int side) const {
    if (c.fault == TGenFault::BustedCall && c.faultSide == side)
        return bustedCalls[static_cast<size_t>(c.faultValue)];
    return stations[c.station[1 - side]].call;
}

size_t RateCount(size_t n, int basisPoints) {
    if (basisPoints <= 0 || n == 0) return 0;
    const size_t count = (n * static_cast<size_t>(basisPoints) + 5000) / 10000;
    return std::clamp<size_t>(count, 1, n);
}

TGenContest MakeStations(const TGenOptions& o) {
    TGenContest contest;
    const int minutes = o.hours * 60 + o.overtimeMinutes;
    // Enough slots that a station wants a contact in at most about every second one.
    contest.slotsPerMinute = std::clamp((2 * o.qsos + minutes - 1) / minutes, 1, 60);
    contest.slots = minutes * contest.slotsPerMinute;

    TGenRandom rnd(o.seed, kStreamStations);
    const int total = o.logs + o.absent + o.rare;
    std::unordered_set<std::string> used;
    contest.stations.resize(total);
    for (auto& st : contest.stations) {
        do
            st.baseCall = MakeCall(rnd);
        while (!used.insert(st.baseCall).second);
        st.call = st.baseCall;
        st.clockOffsetSec = rnd.Range(-40, 40);
        st.segments = MakeBandPlan(rnd, o, contest.slots, contest.slotsPerMinute);
    }
    AssignRoles(rnd, o, contest);
    // Region codes from a stream of their own, so that the stations above stay as they are.
    static const char* const kRegions[] = {"MO", "SP", "NW", "KR", "VL", "TV", "YR", "KG", "OM", "PE"};
    TGenRandom regions(o.seed, kStreamRegions);
    for (auto& st : contest.stations)
        st.region = kRegions[regions.Below(std::size(kRegions))];
    if (o.clockOffsets > 0) {
        // Whole minutes only, from a stream of their own, on logs with a callsign.
        TGenRandom clocks(o.seed, kStreamClocks);
        std::vector<int> pool;
        for (int i = 0; i < o.logs; ++i)
            if (!contest.stations[i].noCallsign) pool.push_back(i);
        clocks.Shuffle(pool);
        for (int j = 0; j < o.clockOffsets; ++j) {
            const int minutes = clocks.Range(1, 10);
            contest.stations[pool[j]].clockMinutes = clocks.Below(2) ? minutes : -minutes;
        }
        for (auto& st : contest.stations)
            st.clockOffsetSec = st.clockMinutes * 60;
    }
    return contest;
}

} // namespace zelk::gen
