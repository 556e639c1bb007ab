// The command line of zelkgen: what contest to make and which faults to put into it.
#pragma once

#include "calendar.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelk::gen {

// A band of the contest: its name on the command line and the kHz range of its CW segment.
struct TGenBand {
    const char* name;
    int lowKHz;
    int highKHz;
};

// How the logs of a contest write the exchange: RST and serial (the documented layout), the serial alone,
// RST, serial and a region code, or the serial and the serial received in the sender's previous contact.
enum class TGenExchange : uint8_t { RstSerial, Serial, RstSerialRegion, SerialPrevious };

struct TGenOptions {
    std::string outDir;
    std::string cleanDir;   // empty: no cleaned copy
    std::string faultsFile; // empty: no fault list
    bool force = false;

    int logs = 20;
    int qsos = 100;
    int absent = 3;
    int rare = 0;
    uint64_t seed = 1;

    // Rates in hundredths of a percent (basis points), so "0.5" is 50.
    int bustedBp = 200;
    int timeShiftBp = 100;
    int dupesBp = 100;
    int nilBp = 100;
    int lowerBp = 500;
    int lfOnlyBp = 1500;
    int unknownTagsBp = 2000;

    int noCallsign = 0;
    int portable = 0;
    int missingPieceBp = 0;
    int retriesBp = 0; // of the miscopied contacts
    int bustedCallBp = 0;
    int clockOffsets = 0;
    bool truth = false; // write truth.tsv beside the logs

    // Logs as they arrive (rates of the logs); the cleaned copy has none of these.
    int mixedExtBp = 0;
    int utf16Bp = 0;
    int utf8Bp = 0;
    int tabsBp = 0;
    int oddNamesBp = 0;
    int duplicates = 0;

    TGenExchange exchange = TGenExchange::RstSerial;

    TGenDate date;
    int startMinute = 12 * 60;
    int hours = 4;
    int overtimeMinutes = 0; // the stations go on working this long after the end
    std::vector<TGenBand> bands;
    std::string contest = "WINTER-CUP-CW";
};

// A wrong command line; the message says what is wrong.
struct TGenUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the arguments (without the program name). Throws TGenUsageError.
TGenOptions ParseOptions(const std::vector<std::string>& args);
bool WantsHelp(const std::vector<std::string>& args);
const char* HelpText();

// Reads a rate "P" in percent with up to two decimals (0 to 100) as basis points; false otherwise.
bool ParsePercent(const std::string& text, int& basisPoints);

} // namespace zelk::gen
