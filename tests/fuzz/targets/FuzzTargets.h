#pragma once

#include <cstddef>
#include <cstdint>

// The readers of outside data, each as one function over arbitrary bytes:
// the fuzzers call them, and so does the regression test over the corpus and
// every input a fuzzer ever found to fail. None may crash, hang or leak.
int FuzzMarkupToRtf(const std::uint8_t* data, std::size_t size);
int FuzzRtfReader(const std::uint8_t* data, std::size_t size);
int FuzzIniReader(const std::uint8_t* data, std::size_t size);
int FuzzEmfPlayer(const std::uint8_t* data, std::size_t size);
