// The one random generator of the engine. Its sequence is defined here (xoshiro256** seeded
// through splitmix64) rather than by the standard library, so the same seed gives the same
// park on every machine and compiler.
#pragma once

#include <cstdint>

namespace vallorn {

class TSKIRandom {
public:
    explicit TSKIRandom(uint64_t seed = 1) { Seed(seed); }

    void Seed(uint64_t seed) {
        for (auto& s : state_) {
            seed += 0x9E3779B97F4A7C15ull;
            uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            s = z ^ (z >> 31);
        }
    }

    uint64_t Next() {
        const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, 1).
    double Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform integer in 0..n-1; 0 when n <= 0.
    int32_t Below(int32_t n) { return n <= 0 ? 0 : int32_t(Uniform() * n); }
    // Uniform integer in lo..hi inclusive.
    int32_t Range(int32_t lo, int32_t hi) { return hi < lo ? lo : lo + Below(hi - lo + 1); }
    // Uniform real in [lo, hi).
    double Between(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

    // Two generators in the same state draw the same numbers from here on.
    bool operator==(const TSKIRandom&) const = default;

private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t state_[4];
};

}  // namespace vallorn
