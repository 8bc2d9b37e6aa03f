#include "game/Random.h"

#include <chrono>

int Random::Next()
{
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's own rule.
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

Random& Random::Game()
{
    // A plain value with nothing to tear down, so a function-local static.
    static Random shared;
    return shared;
}

uint32_t Random::TickSeed()
{
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    // The tick count wraps like a 32-bit millisecond counter.
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}
