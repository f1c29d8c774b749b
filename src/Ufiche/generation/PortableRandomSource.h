#pragma once

#include <cstdint>
#include <random>

#include "Ufiche/generation/Worksheet.h"

namespace Ufiche {

// A pseudo-random source that draws the same numbers for the same seed under
// every standard library: the Mersenne twister is specified to the bit, but
// std::uniform_int_distribution is not (libstdc++ and libc++ map the
// engine's output to a range differently). The web page's WebAssembly build
// (libc++) and a native program (libstdc++) that seed it alike therefore
// make the same worksheets.
class PortableRandomSource : public RandomSource {
public:
    explicit PortableRandomSource(std::uint32_t seed = std::mt19937::default_seed)
        : m_engine(seed) {}

    void Seed(std::uint32_t seed) { m_engine.seed(seed); }

    // Uniform in 0 .. n-1 by rejection: outputs at or above the largest
    // multiple of n below 2^32 are drawn again, so that no value is favoured.
    int Draw(int n) override {
        if (n <= 1) {
            return 0;
        }
        const auto range = static_cast<std::uint64_t>(n);
        const std::uint64_t limit = (std::uint64_t{1} << 32) - (std::uint64_t{1} << 32) % range;
        std::uint64_t value = 0;
        do {
            value = m_engine();
        } while (value >= limit);
        return static_cast<int>(value % range);
    }

private:
    std::mt19937 m_engine;
};

}  // namespace Ufiche
