// SPDX-License-Identifier: GPL-3.0-or-later
// The game's one random generator.
#pragma once

#include <cstdint>
#include <random>

class Rng {
 public:
  void Seed(uint32_t seed) { engine_.seed(seed); }
  // Uniform in 0..n-1; 0 when n <= 0.
  int32_t Random(int32_t n) {
    if (n <= 0) return 0;
    // Lemire-free simple rejection keeps the draw uniform and identical across libraries.
    const uint32_t bound = static_cast<uint32_t>(n);
    const uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
    uint32_t v;
    do {
      v = static_cast<uint32_t>(engine_());
    } while (v >= limit);
    return static_cast<int32_t>(v % bound);
  }

 private:
  std::mt19937 engine_{5489u};
};
