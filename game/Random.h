#pragma once

#include <cstdint>

// The game's pseudo-random source: the classic linear congruential generator
// (state = state * 214013 + 2531011, result = bits 16 to 30 of the state), so
// that a game is repeatable from its seed on every platform.
class Random
{
  public:
    static constexpr int Max = 32767; // largest value Next() returns

    explicit Random(uint32_t seed = 1) : state(seed) {}

    // The generator all game randomness comes from: seeded at start-up and
    // again on entering a screen that plays.
    [[nodiscard]] static Random& Game();
    // A seed from the system's millisecond tick (time since boot), which
    // differs from run to run unlike a clock that starts with the process.
    [[nodiscard]] static uint32_t TickSeed();

    void Seed(uint32_t seed) { state = seed; }
    // 0 .. Max.
    int Next();
    [[nodiscard]] uint32_t State() const { return state; }

  private:
    uint32_t state;
};
