// A tiny seeded random number generator for the asset generator. It is written out
// here, integer mapping included, so every compiler and standard library draws the
// very same numbers and the committed pictures can be reproduced byte for byte.
#pragma once

#include <cstdint>

namespace gravisk::assetgen {

// SplitMix64: one 64-bit state, advanced by a fixed odd constant and scrambled.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A number in [0, bound): the top 32 bits scaled down by a multiply and shift.
  std::uint32_t below(std::uint32_t bound) {
    return static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
  }

 private:
  std::uint64_t state_;
};

}  // namespace gravisk::assetgen
