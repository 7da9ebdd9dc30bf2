// Arithmetic for cash, the clock and the park's accumulated totals: a sum that would leave
// the range of its signed 32-bit field stops at the range's end instead of wrapping round.
// (Counters shown to the player are 16-bit and stop at 65000: CappedAdd in engine/types.h.)
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vallorn {

inline int32_t SaturatingAdd(int32_t total, int64_t amount) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    // Any amount beyond twice the range saturates alike; clamping it first keeps the sum exact.
    const int64_t step = std::clamp<int64_t>(amount, 2 * lo, 2 * hi);
    return int32_t(std::clamp<int64_t>(int64_t(total) + step, lo, hi));
}

inline int32_t SaturatingSub(int32_t total, int64_t amount) {
    return SaturatingAdd(total, amount == std::numeric_limits<int64_t>::min()
                                    ? std::numeric_limits<int64_t>::max()
                                    : -amount);
}

// In place: `AddTo(Park.ParkCash, price)`, `TakeFrom(Park.ParkCash, cost)`.
inline void AddTo(int32_t& total, int64_t amount) {
    total = SaturatingAdd(total, amount);
}
inline void TakeFrom(int32_t& total, int64_t amount) {
    total = SaturatingSub(total, amount);
}

}  // namespace vallorn
