#include "Random.h"

#include "shell/Services.h"

namespace vespin {

std::uint32_t GameRandom::RandomBelow(std::uint32_t N)
{
    RandomState = RandomState * 134775813u + 1u; // wraps modulo 2^32
    return std::uint32_t((std::uint64_t(RandomState) * N) >> 32);
}

void GameRandom::SeedFromClock(const Clock &clock)
{
    RandomState = clock.utcMillisecondsOfDay();
}

} // namespace vespin
