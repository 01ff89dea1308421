// A seeded pseudo-random sequence that is the same in every build: integer arithmetic only, and
// the float it hands out is a 24-bit integer scaled by an exact power of two.
#pragma once

#include <cstdint>

namespace testing_support {

class SeededRandom {
public:
    explicit SeededRandom(uint64_t seed = 1) { Seed(seed); }

    // SplitMix64 of the seed, so that small neighbouring seeds give unrelated sequences.
    void Seed(uint64_t seed) {
        uint64_t z = seed + 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        state_ = z ^ (z >> 31);
    }

    // A 64-bit LCG (Knuth's MMIX constants); its high 24 bits are the good ones.
    uint32_t Next24() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(state_ >> 40);
    }

    float NextFloat() { return static_cast<float>(Next24()) * (1.0f / 16777216.0f); }

    // 0 to n - 1, for n up to 2^24.
    int Below(int n) {
        return static_cast<int>((uint64_t{Next24()} * static_cast<uint64_t>(n)) >> 24);
    }

    bool Chance(int perMille) { return Below(1000) < perMille; }

private:
    uint64_t state_ = 0;
};

}  // namespace testing_support
