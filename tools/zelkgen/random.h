// The generator's own pseudo-random numbers: xoshiro256** seeded through splitmix64, with integer-only
// range mapping, so a seed gives the same contest on every machine and with every standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zelk::gen {

class TGenRandom {
  public:
    // A stream for `seed`; `stream` picks one of many independent sequences of the same seed, so that
    // e.g. the fault choice does not shift the stations when a fault rate changes.
    explicit TGenRandom(uint64_t seed, uint64_t stream = 0);

    uint64_t Next();
    // Uniform in [0, n); n must be greater than 0.
    uint64_t Below(uint64_t n);
    // Uniform in [lo, hi], both included; lo must not exceed hi.
    int Range(int lo, int hi);
    // True with the probability basisPoints / 10000.
    bool Chance(int basisPoints);

    template <class T> void Shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[Below(i)]);
    }
    template <class T> const T& Pick(const std::vector<T>& items) { return items[Below(items.size())]; }

  private:
    uint64_t s_[4];
};

// The streams of one seed, one per kind of decision, so that e.g. a fault rate does not move the stations.
enum TGenStream : uint64_t {
    kStreamStations = 1,
    kStreamUnlogged = 2,
    kStreamContest = 3,
    kStreamRepeats = 4,
    kStreamFaults = 5,
    kStreamOddForms = 6,
    kStreamArrivalForms = 7, // the forms of logs as they arrive
    kStreamMissingPieces = 8,
    kStreamRegions = 9,
    kStreamRetries = 10,
    kStreamBustedCalls = 11,
    kStreamClocks = 12,
    kStreamFaultKinds = 20, // one per kind of fault: 20, 21, 22
    kStreamForms = 1000,    // one per station: 1000 + its index
};

// One step of splitmix64; also used to derive per-station seeds.
uint64_t SplitMix64(uint64_t& state);

} // namespace zelk::gen
