// Who works whom, when and where. The contest runs in time slots of a fraction of a minute; in each slot
// the stations that want a contact are paired on the band they are on, at most one contact per station
// and slot and one per pair and band, so that no contact repeats another unless a repeat is wanted.
#include "contest.h"
#include "random.h"

#include "logs/callsign.h"

#include <algorithm>
#include <unordered_set>

namespace zelk::gen {

namespace {

// One bit per station and slot: the station is in a contact then.
class TBusyMap {
  public:
    TBusyMap(size_t stations, size_t slots) : slots_(slots), bits_((stations * slots + 63) / 64) {}
    bool Test(int station, int slot) const {
        const size_t i = static_cast<size_t>(station) * slots_ + static_cast<size_t>(slot);
        return (bits_[i / 64] >> (i % 64)) & 1;
    }
    void Set(int station, int slot) {
        const size_t i = static_cast<size_t>(station) * slots_ + static_cast<size_t>(slot);
        bits_[i / 64] |= uint64_t{1} << (i % 64);
    }

  private:
    size_t slots_;
    std::vector<uint64_t> bits_;
};

class TScheduler {
  public:
    TScheduler(const TGenOptions& o, TGenContest& contest)
        : o_(o), c_(contest), busy_(contest.stations.size(), static_cast<size_t>(contest.slots)) {}

    void PlantUnloggedStations();
    void RunContest();
    void AddRepeats();
    void AddFaults();
    void AddRetries();
    void AddMissingPieces();
    void AddBustedCalls();
    void NumberSerials();

  private:
    uint64_t PairKey(int a, int b, int band) const {
        const uint64_t n = c_.stations.size();
        const uint64_t lo = static_cast<uint64_t>(std::min(a, b)), hi = static_cast<uint64_t>(std::max(a, b));
        return (lo * n + hi) * o_.bands.size() + static_cast<uint64_t>(band);
    }
    bool Free(int a, int b, int slot) const { return !busy_.Test(a, slot) && !busy_.Test(b, slot); }
    // The caller answers the runner on the runner's frequency.
    int AddContact(int slot, int runner, int caller, int repeatOf = -1);
    // The caller of contact `original` comes back 2 to 30 minutes later while the runner is still on the
    // same frequency; false when no free moment was drawn.
    bool RepeatLater(TGenRandom& rnd, int original);
    bool PlantOne(TGenRandom& rnd, int partner, int station);
    void PairUp(TGenRandom& rnd, int slot, int band, std::vector<int>& wanting, std::vector<int>& remaining);

    const TGenOptions& o_;
    TGenContest& c_;
    TBusyMap busy_;
    std::unordered_set<uint64_t> pairs_;
};

int TScheduler::AddContact(int slot, int runner, int caller, int repeatOf) {
    const TGenSegment& seg = c_.SegmentAt(runner, slot);
    TGenContact contact;
    contact.slot = slot;
    contact.station[0] = runner;
    contact.station[1] = caller;
    contact.band = seg.band;
    contact.freqKHz = seg.runKHz;
    contact.repeatOf = repeatOf;
    busy_.Set(runner, slot);
    busy_.Set(caller, slot);
    c_.contacts.push_back(contact);
    return static_cast<int>(c_.contacts.size()) - 1;
}

// A station without a log calls `partner` at a moment when both are free.
bool TScheduler::PlantOne(TGenRandom& rnd, int partner, int station) {
    int slot = -1;
    for (int attempt = 0; attempt < 64 && slot < 0; ++attempt) {
        const int s = static_cast<int>(rnd.Below(c_.slots));
        if (Free(partner, station, s)) slot = s;
    }
    for (int k = 0, start = static_cast<int>(rnd.Below(c_.slots)); k < c_.slots && slot < 0; ++k)
        if (Free(partner, station, (start + k) % c_.slots)) slot = (start + k) % c_.slots;
    if (slot < 0) return false;
    pairs_.insert(PairKey(partner, station, c_.SegmentAt(partner, slot).band));
    AddContact(slot, partner, station);
    return true;
}

// Stations without a log work distinct logging stations, as many as their target says; logs without
// CALLSIGN: are left out so that each mention is one a judge can check.
void TScheduler::PlantUnloggedStations() {
    TGenRandom rnd(o_.seed, kStreamUnlogged);
    std::vector<int> pool;
    for (int i = 0; i < o_.logs; ++i)
        if (!c_.stations[i].noCallsign) pool.push_back(i);
    if (pool.empty())
        for (int i = 0; i < o_.logs; ++i)
            pool.push_back(i);
    const int total = static_cast<int>(c_.stations.size());
    for (int x = o_.logs; x < total; ++x) {
        const size_t m = std::min(static_cast<size_t>(c_.stations[x].target), pool.size());
        for (size_t j = 0; j < m; ++j) {
            std::swap(pool[j], pool[j + rnd.Below(pool.size() - j)]);
            PlantOne(rnd, pool[j], x);
        }
    }
}

void TScheduler::PairUp(TGenRandom& rnd, int slot, int band, std::vector<int>& wanting,
                        std::vector<int>& remaining) {
    rnd.Shuffle(wanting);
    std::vector<char> taken(wanting.size(), 0);
    for (size_t x = 0; x < wanting.size(); ++x) {
        if (taken[x]) continue;
        for (size_t y = x + 1; y < wanting.size() && y <= x + 8; ++y) {
            if (taken[y] || !pairs_.insert(PairKey(wanting[x], wanting[y], band)).second) continue;
            const bool firstRuns = rnd.Below(2) == 0;
            AddContact(slot, firstRuns ? wanting[x] : wanting[y], firstRuns ? wanting[y] : wanting[x]);
            --remaining[wanting[x]];
            --remaining[wanting[y]];
            taken[x] = taken[y] = 1;
            break;
        }
    }
}

// In each slot a logging station starts calling with the chance remaining contacts / remaining free
// slots, which spreads its contacts over the whole contest and lands near its target; it keeps calling
// until someone on its band answers.
void TScheduler::RunContest() {
    TGenRandom rnd(o_.seed, kStreamContest);
    const int n = o_.logs;
    std::vector<int> remaining(n), freeLeft(n, c_.slots), segment(n, 0);
    std::vector<char> calling(n, 0);
    for (int i = 0; i < n; ++i)
        remaining[i] = c_.stations[i].target;
    for (const auto& contact : c_.contacts)
        for (int st : contact.station)
            if (st < n) --freeLeft[st], --remaining[st];
    std::vector<std::vector<int>> wanting(o_.bands.size());
    for (int s = 0; s < c_.slots; ++s) {
        for (auto& w : wanting)
            w.clear();
        for (int i = 0; i < n; ++i) {
            const auto& plan = c_.stations[i].segments;
            while (segment[i] + 1 < static_cast<int>(plan.size()) && plan[segment[i] + 1].startSlot <= s)
                ++segment[i];
            if (busy_.Test(i, s)) continue;
            const int freeNow = freeLeft[i]--;
            if (remaining[i] <= 0) continue;
            calling[i] = calling[i] || static_cast<int>(rnd.Below(freeNow)) < remaining[i];
            if (calling[i]) wanting[plan[segment[i]].band].push_back(i);
        }
        for (size_t band = 0; band < wanting.size(); ++band)
            PairUp(rnd, s, static_cast<int>(band), wanting[band], remaining);
        for (const auto& w : wanting)
            for (int i : w)
                calling[i] = calling[i] && !busy_.Test(i, s);
    }
}

// A repeat: the caller comes back 2 to 30 minutes later while the runner is still on the same frequency.
void TScheduler::AddRepeats() {
    TGenRandom rnd(o_.seed, kStreamRepeats);
    std::vector<int> candidates;
    for (int i = 0; i < static_cast<int>(c_.contacts.size()); ++i)
        if (c_.IsEligibleForFault(c_.contacts[i])) candidates.push_back(i);
    const size_t wanted = RateCount(candidates.size(), o_.dupesBp);
    rnd.Shuffle(candidates);
    size_t made = 0;
    for (size_t k = 0; k < candidates.size() && made < wanted; ++k)
        if (RepeatLater(rnd, candidates[k])) ++made;
}

bool TScheduler::RepeatLater(TGenRandom& rnd, int index) {
    const TGenContact original = c_.contacts[index];
    const int runner = original.station[0], caller = original.station[1];
    const int lo = original.slot + 2 * c_.slotsPerMinute;
    const int hi = std::min(c_.slots - 1, original.slot + 30 * c_.slotsPerMinute);
    if (lo > hi) return false;
    const int runSegment = c_.SegmentAt(runner, original.slot).startSlot;
    for (int attempt = 0; attempt < 24; ++attempt) {
        const int s = rnd.Range(lo, hi);
        if (!Free(runner, caller, s) || c_.SegmentAt(runner, s).startSlot != runSegment) continue;
        AddContact(s, runner, caller, index);
        c_.contacts[index].repeated = true;
        return true;
    }
    return false;
}

// Miscopied contacts made once more to put them right, from a stream of their own: without them the
// contest stays as it was.
void TScheduler::AddRetries() {
    if (o_.retriesBp <= 0) return;
    TGenRandom rnd(o_.seed, kStreamRetries);
    std::vector<int> busted;
    for (int i = 0; i < static_cast<int>(c_.contacts.size()); ++i)
        if (c_.contacts[i].fault == TGenFault::Busted && !c_.contacts[i].repeated) busted.push_back(i);
    rnd.Shuffle(busted);
    const size_t wanted = RateCount(busted.size(), o_.retriesBp);
    size_t made = 0;
    for (size_t k = 0; k < busted.size() && made < wanted; ++k)
        if (RepeatLater(rnd, busted[k])) ++made;
}

// Busted exchanges, time shifts and contacts only one side logged, on distinct contacts. The eligible
// contacts are shuffled once and dealt into three lanes, one per kind, and each kind draws its sides
// and values from its own stream: so the rate of one kind never moves the faults of another.
void TScheduler::AddFaults() {
    TGenRandom order(o_.seed, kStreamFaults);
    std::vector<int> eligible;
    for (int i = 0; i < static_cast<int>(c_.contacts.size()); ++i)
        if (c_.IsEligibleForFault(c_.contacts[i])) eligible.push_back(i);
    order.Shuffle(eligible);
    const std::pair<TGenFault, int> plan[] = {{TGenFault::Busted, o_.bustedBp},
                                              {TGenFault::TimeShift, o_.timeShiftBp},
                                              {TGenFault::NotInLog, o_.nilBp}};
    for (size_t kind = 0; kind < 3; ++kind) {
        const auto [fault, rate] = plan[kind];
        TGenRandom rnd(o_.seed, kStreamFaultKinds + kind);
        const size_t lane = eligible.size() > kind ? (eligible.size() - kind + 2) / 3 : 0;
        const size_t count = std::min(RateCount(eligible.size(), rate), lane);
        for (size_t j = 0; j < count; ++j) {
            TGenContact& c = c_.contacts[eligible[kind + 3 * j]];
            c.fault = fault;
            c.faultSide = static_cast<int8_t>(rnd.Below(2));
            if (fault == TGenFault::Busted) {
                const int delta = rnd.Range(1, 3);
                c.faultValue = static_cast<int16_t>(rnd.Below(2) ? delta : -delta);
            } else if (fault == TGenFault::TimeShift) {
                const int minutes = rnd.Range(5, 20);
                c.faultValue = static_cast<int16_t>(rnd.Below(2) ? minutes : -minutes);
            }
        }
    }
}

// Exchange pieces left out, on contacts that no other fault took, from a stream of their own: without
// them the streams of the other faults give what they gave before.
void TScheduler::AddMissingPieces() {
    if (o_.missingPieceBp <= 0) return;
    TGenRandom rnd(o_.seed, kStreamMissingPieces);
    std::vector<int> eligible;
    for (int i = 0; i < static_cast<int>(c_.contacts.size()); ++i)
        if (c_.IsEligibleForFault(c_.contacts[i])) eligible.push_back(i);
    rnd.Shuffle(eligible);
    const size_t count = RateCount(eligible.size(), o_.missingPieceBp);
    for (size_t j = 0; j < count; ++j) {
        TGenContact& c = c_.contacts[eligible[j]];
        c.fault = TGenFault::MissingPiece;
        c.faultSide = static_cast<int8_t>(rnd.Below(2));
    }
}

// A call miscopied: a character changed, dropped or added, or two neighbours swapped in the base call,
// any modifier kept; never the call (or base call) of a station of the contest, and always the shape of
// a callsign. Empty when no try gives one.
std::string MiscopiedCall(TGenRandom& rnd, const std::string& call,
                          const std::unordered_set<std::string>& taken) {
    const size_t slash = call.find('/');
    const std::string base = call.substr(0, slash),
                      suffix = slash == std::string::npos ? "" : call.substr(slash);
    for (int attempt = 0; attempt < 32; ++attempt) {
        std::string b = base;
        const size_t at = 1 + rnd.Below(b.size() - 1); // the Q stays
        const char letter = static_cast<char>('A' + rnd.Below(26));
        switch (rnd.Below(4)) {
        case 0:
            b[at] = b[at] >= '0' && b[at] <= '9' ? static_cast<char>('1' + rnd.Below(9)) : letter;
            break;
        case 1:
            b.erase(at, 1);
            break;
        case 2:
            b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), letter);
            break;
        default:
            if (at + 1 < b.size()) std::swap(b[at], b[at + 1]);
            break;
        }
        if (b == base || taken.count(b) || !zelk::IsCallSignShape(b + suffix)) continue;
        return b + suffix;
    }
    return {};
}

// Calls miscopied, on contacts that no other fault took, from a stream of their own.
void TScheduler::AddBustedCalls() {
    if (o_.bustedCallBp <= 0) return;
    TGenRandom rnd(o_.seed, kStreamBustedCalls);
    std::unordered_set<std::string> taken;
    for (const auto& st : c_.stations)
        taken.insert(st.baseCall);
    std::vector<int> eligible;
    for (int i = 0; i < static_cast<int>(c_.contacts.size()); ++i)
        if (c_.IsEligibleForFault(c_.contacts[i])) eligible.push_back(i);
    rnd.Shuffle(eligible);
    const size_t count = RateCount(eligible.size(), o_.bustedCallBp);
    for (size_t j = 0; j < count && c_.bustedCalls.size() < INT16_MAX; ++j) {
        TGenContact& c = c_.contacts[eligible[j]];
        const int side = static_cast<int>(rnd.Below(2));
        std::string busted = MiscopiedCall(rnd, c_.stations[c.station[1 - side]].call, taken);
        if (busted.empty()) continue;
        taken.insert(busted.substr(0, busted.find('/')));
        c.fault = TGenFault::BustedCall;
        c.faultSide = static_cast<int8_t>(side);
        c.faultValue = static_cast<int16_t>(c_.bustedCalls.size());
        c_.bustedCalls.push_back(std::move(busted));
    }
}

// Each station numbers its contacts 1, 2, 3 ... in time order; a contact only one side logged still
// used up a number on both sides.
void TScheduler::NumberSerials() {
    for (int i = 0; i < static_cast<int>(c_.contacts.size()); ++i)
        for (int st : c_.contacts[i].station)
            c_.stations[st].contacts.push_back(i);
    for (int st = 0; st < static_cast<int>(c_.stations.size()); ++st) {
        auto& list = c_.stations[st].contacts;
        std::sort(list.begin(), list.end(),
                  [&](int a, int b) { return c_.contacts[a].slot < c_.contacts[b].slot; });
        for (size_t k = 0; k < list.size(); ++k) {
            TGenContact& c = c_.contacts[list[k]];
            c.serial[c.station[0] == st ? 0 : 1] = static_cast<int32_t>(k + 1);
        }
    }
}

} // namespace

void MakeContacts(const TGenOptions& options, TGenContest& contest) {
    TScheduler scheduler(options, contest);
    scheduler.PlantUnloggedStations();
    scheduler.RunContest();
    scheduler.AddRepeats();
    scheduler.AddFaults();
    scheduler.AddRetries();
    scheduler.AddMissingPieces();
    scheduler.AddBustedCalls();
    scheduler.NumberSerials();
}

} // namespace zelk::gen
