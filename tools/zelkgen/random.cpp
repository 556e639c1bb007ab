// xoshiro256** and the integer range mapping of the generator.
#include "random.h"

namespace zelk::gen {

uint64_t SplitMix64(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

TGenRandom::TGenRandom(uint64_t seed, uint64_t stream) {
    uint64_t state = seed ^ (stream * 0xD1B54A32D192ED03ull);
    for (auto& word : s_)
        word = SplitMix64(state);
}

static uint64_t RotateLeft(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

uint64_t TGenRandom::Next() {
    const uint64_t result = RotateLeft(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = RotateLeft(s_[3], 45);
    return result;
}

uint64_t TGenRandom::Below(uint64_t n) {
    // Draws above the last whole multiple of n are thrown away, so every remainder is equally likely.
    const uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    uint64_t x = Next();
    while (x >= limit)
        x = Next();
    return x % n;
}

int TGenRandom::Range(int lo, int hi) {
    return lo + static_cast<int>(Below(static_cast<uint64_t>(static_cast<int64_t>(hi) - lo + 1)));
}

bool TGenRandom::Chance(int basisPoints) {
    return static_cast<int>(Below(10000)) < basisPoints;
}

} // namespace zelk::gen
