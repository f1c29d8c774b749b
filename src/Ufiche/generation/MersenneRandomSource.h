#pragma once

#include <cstdint>
#include <random>

#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

// The program's pseudo-random source: uniform integers from a Mersenne
// twister, re-seeded by the window at each activation.
class MersenneRandomSource : public RandomSource {
public:
    explicit MersenneRandomSource(std::uint32_t seed = std::mt19937::default_seed)
        : m_engine(seed) {}

    void Seed(std::uint32_t seed) { m_engine.seed(seed); }

    // Uniform in 0 .. n-1; 0 when n is 1 or less.
    int Draw(int n) override {
        if (n <= 1) {
            return 0;
        }
        return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
    }

private:
    std::mt19937 m_engine;
};

}  // namespace Ufiche
