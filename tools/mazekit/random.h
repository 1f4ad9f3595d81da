// A small deterministic random source: the same seed gives the same numbers on every machine
// and with every standard library (the standard distributions are free to differ).
#pragma once

#include <cstdint>

class MazeRandom {
public:
    std::uint64_t state;

    explicit MazeRandom(std::uint64_t seed) : state(seed * 2 + 1) {}

    // splitmix64: every seed gives a well-mixed sequence, seed 0 included.
    std::uint64_t next() {
        state += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number from 0 to n - 1 (n > 0); the tiny bias of the modulo does not matter here.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};
