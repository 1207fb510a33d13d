// SPDX-License-Identifier: GPL-3.0-or-later
// Finding and losing things: item finds, gains, breaks, experience, quiet fullness.
// Every gain ends with all owned counts capped at 99.
#pragma once

#include <cstdint>

struct Game;

// The island of the sea's stranded scene: an area of its own in the catalogue.
inline constexpr int kIsland = 4;
inline constexpr int32_t kMaxOwned = 99;

// May add one random item of the current field within the budget, after the lucky
// multipliers, the rarity charms (52, 53) and find_boost. Silent when nothing fits.
void ItemFind(Game& g, int32_t budget);
// The same for an explicit area (0..3 a field, kIsland the island).
void ItemFindIn(Game& g, int32_t budget, int area);
// Adds one of the item (nothing when it has no name).
void GainItem(Game& g, int32_t item);
// Removes one of the item if owned, with a message and a click wait.
void BreakItem(Game& g, int32_t item);
// Adds experience, raised by the experience charms (97..100, 105), which may break.
void GainExp(Game& g, int32_t amount);
// Fullness change with no popup, sound or line.
void ChangeFullnessQuiet(Game& g, int unit, int32_t amount);
// "何かくれた", a find of the value, a click.
void GiveGift(Game& g, int32_t value);

// Sets every owned count above 99 to 99.
void CapItemCounts(Game& g);
// The budget a find really searches with: multipliers, charms and find_boost
// applied, held at the largest int32 instead of wrapping.
int32_t FindBudget(Game& g, int32_t budget);
