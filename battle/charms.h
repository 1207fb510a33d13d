// SPDX-License-Identifier: GPL-3.0-or-later
// Charms: items that act by being owned. Every use of one may break a copy.
#pragma once

#include <cstddef>
#include <cstdint>

struct Game;

bool Owns(const Game& g, int32_t item);
// With chance 1 in `one_in`, one copy of the item breaks.
void MaybeBreak(Game& g, int32_t item, int32_t one_in);

// A charm that changes a number by `n div k + 1`, with its break chance.
struct FractionCharm {
  int32_t item;
  int32_t k;
  int32_t one_in;
};

// Applies each owned charm of the list in order: x += sign * (x div k + 1).
template <size_t N>
int32_t ApplyFractionCharms(Game& g, const FractionCharm (&charms)[N], int32_t x, int sign) {
  for (const FractionCharm& c : charms) {
    if (!Owns(g, c.item)) continue;
    x += sign * (x / c.k + 1);
    MaybeBreak(g, c.item, c.one_in);
  }
  return x;
}

// A charm that moves a number by a fixed step (hit and evasion charms, critical odds).
struct StepCharm {
  int32_t item;
  int32_t step;
  int32_t one_in;
};

template <size_t N>
int32_t ApplyStepCharms(Game& g, const StepCharm (&charms)[N], int32_t x) {
  for (const StepCharm& c : charms) {
    if (!Owns(g, c.item)) continue;
    x += c.step;
    MaybeBreak(g, c.item, c.one_in);
  }
  return x;
}
