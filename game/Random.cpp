#include "game/Random.h"

int Random::Next()
{
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's own rule.
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}
