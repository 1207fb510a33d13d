// SPDX-License-Identifier: GPL-3.0-or-later
// The monster catalogue `monster` and the technique table `waza_def`: constant
// after start-up.
#pragma once

#include "core/state.h"

// Clears and fills the 22 monsters and the 22 techniques, then the item
// catalogue (FillItemCatalogue), which the monsters' drops refer to.
void FillMonsterCatalogue(GameState& s);

// Whether a random encounter in `field` (the current location) may pick monster
// n: 1..254, named, met in that field (0..3), and not above the player's tier
// (level / 5 + 2 >= tier).
bool MonsterMeetsEncounterRule(const GameState& s, int n, int field);
