#pragma once

#include <cstdint>

// The game's pseudo-random source: the classic linear congruential generator
// (state = state * 214013 + 2531011, result = bits 16 to 30 of the state), so
// that a game is repeatable from its seed on every platform.
class Random {
public:
    static constexpr int Max = 32767;  // largest value Next() returns

    explicit Random(uint32_t seed = 1) : state(seed) {}

    void Seed(uint32_t seed) { state = seed; }
    // 0 .. Max.
    int Next();
    [[nodiscard]] uint32_t State() const { return state; }

private:
    uint32_t state;
};
