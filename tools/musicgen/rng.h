// The generator's own pseudo-random numbers: a 64-bit mixing sequence whose output is fixed
// by its seed alone, so every render is bit-identical on every standard library.
// (std::random_device and the std distributions are avoided on purpose: their output is
// not pinned down across library versions.)
// Depends on: nothing.
#pragma once

#include <cstdint>

namespace musicgen {

// Combines two values into one well-spread seed, e.g. a song seed and a note's index.
constexpr std::uint64_t mixSeed(std::uint64_t a, std::uint64_t b) {
  std::uint64_t z = a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2));
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

class Rng {
 public:
  explicit constexpr Rng(std::uint64_t seed) : state_(seed) {}

  constexpr std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // [0, 1) from the top 24 bits: exactly representable in a float.
  constexpr float uniform() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }

  // [-1, 1): white noise.
  constexpr float bipolar() { return uniform() * 2.0f - 1.0f; }

 private:
  std::uint64_t state_;
};

}  // namespace musicgen
