// The generated contest before it is written: the stations, their band plans and every contact with
// its serial numbers and its fault, if any. Both logs of a contact are written from the one object.
#pragma once

#include "options.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelk::gen {

// A stretch of time a station spends on one band, calling CQ on its own frequency there.
struct TGenSegment {
    int startSlot = 0;
    int band = 0;
    int runKHz = 0;
};

struct TGenStation {
    std::string baseCall; // names the log file: Q1AB
    std::string call;     // as the station signs and others log it: Q1AB or Q1AB/P
    std::string region;   // the region code of --exchange rst-serial-region
    bool sendsLog = false;
    bool noCallsign = false; // its log lacks the CALLSIGN: line
    int target = 0;          // contacts wanted (logging stations) or distinct logs to work (the others)
    int clockOffsetSec = 0;  // how far its clock is off; the two logs of a contact may differ by a minute
    int clockMinutes = 0;    // --clock-offsets: its clock is off by whole minutes (and by no seconds)
    std::vector<TGenSegment> segments;
    std::vector<int32_t> contacts; // indices into TGenContest::contacts, in time order
};

enum class TGenFault : uint8_t { None, Busted, TimeShift, NotInLog, MissingPiece, BustedCall };

struct TGenContact {
    int32_t slot = 0;
    int32_t station[2] = {0, 0}; // [0] works on its own frequency, [1] called it
    int32_t band = 0;
    int32_t freqKHz = 0;
    int32_t serial[2] = {0, 0};   // what each side sent
    int32_t previous[2] = {0, 0}; // the serial each side logged as received in its contact before, 0: none
    int32_t repeatOf = -1;        // the earlier contact this one repeats
    bool repeated = false;        // a later contact repeats this one
    TGenFault fault = TGenFault::None;
    int8_t faultSide = 0;      // whose record carries the fault (NotInLog: whose record is missing)
    int16_t faultValue = 0;    // Busted: serial error; TimeShift: minutes; BustedCall: index into bustedCalls
    int32_t qsoNo[2] = {0, 0}; // QSO numbers in the two logs once written; 0 when not written
};

struct TGenContest {
    int slotsPerMinute = 1;
    int slots = 0;
    std::vector<TGenStation> stations;
    std::vector<TGenContact> contacts;
    std::vector<std::string> bustedCalls; // the calls logged by mistake (--busted-call)

    int SlotSecond(int slot) const { return slot * 60 / slotsPerMinute; }
    const TGenSegment& SegmentAt(int station, int slot) const;
    bool IsEligibleForFault(const TGenContact& c) const;
    // The call `side` wrote for its correspondent, a miscopied one included, as the station signs it.
    const std::string& LoggedCall(const TGenContact& c, int side) const;
};

// Stations, callsigns, roles and band plans.
TGenContest MakeStations(const TGenOptions& options);
// Contacts: those of the stations without a log, the contest itself, repeats, then faults and serials.
void MakeContacts(const TGenOptions& options, TGenContest& contest);

// Number of cases of a rate over n candidates: rounded, but at least one when the rate is above 0.
size_t RateCount(size_t n, int basisPoints);

} // namespace zelk::gen
