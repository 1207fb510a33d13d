// Finding and losing things: item finds, gains, breaks, experience, quiet fullness.
#pragma once

#include <cstdint>

struct Game;

// May add one random item of the current field (or the island) within the budget.
void ItemFind(Game& g, int32_t budget);
// Adds one of the item (nothing when it has no name).
void GainItem(Game& g, int32_t item);
// Removes one of the item if owned, with a message and a click wait.
void BreakItem(Game& g, int32_t item);
void GainExp(Game& g, int32_t amount);
// Fullness change with no popup, sound or line.
void ChangeFullnessQuiet(Game& g, int unit, int32_t amount);
