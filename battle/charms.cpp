// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/charms.h"

#include "core/game.h"
#include "field/finds.h"

bool Owns(const Game& g, int32_t item) { return item > 0 && item < kItemCount && g.my.item_count[item] > 0; }

void MaybeBreak(Game& g, int32_t item, int32_t one_in) {
  if (g.rng.Random(one_in) == 0) BreakItem(g, item);
}
