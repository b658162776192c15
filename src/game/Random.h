#pragma once

#include <cstdint>

namespace vespin {

class Clock;

// The game's own 32-bit linear congruential generator. One instance is shared
// by the deal and the win animation, so both draw from the same sequence.
struct GameRandom {
    std::uint32_t RandomState = 0;

    // 0..N-1, N taken as unsigned; advances the state once.
    std::uint32_t RandomBelow(std::uint32_t N);
    // The state := milliseconds since midnight UTC.
    void SeedFromClock(const Clock &clock);
};

} // namespace vespin
