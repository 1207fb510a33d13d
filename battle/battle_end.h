// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a battle: revival, death and its penalties, the victory's rewards and
// the level-up.
#pragma once

#include <cstdint>

struct Game;

// Base experience of a victory by the monster's level minus the player's.
int32_t ExpForLevelGap(int32_t d);
