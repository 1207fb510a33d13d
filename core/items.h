// SPDX-License-Identifier: GPL-3.0-or-later
// The item catalogue `item_def`: constant after start-up.
#pragma once

#include <string>

#include "core/state.h"

// Clears item_def and fills every item the game knows (the finds first, then the
// cookable products). Numbers without a name stay empty: not in use anywhere.
void FillItemCatalogue(GameState& s);

// One line (CP932) naming what using an item of this kind and power does, in the
// words of the item list; `item` picks the fraction of the fraction-removing breads.
std::string ItemEffectText(int item, int kind, int power);

// True when item n names a real item (1..999 with a name).
bool ItemExists(const GameState& s, int n);
