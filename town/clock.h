// SPDX-License-Identifier: GPL-3.0-or-later
// The clock: hours spent, and what happens to the player whenever time passes.
#pragma once

#include <cstdint>

struct Game;

// Spends hours: fullness falls, hours_used grows within the day, timed states tick once.
void PassTime(Game& g, int32_t hours);
// One step of every timed state of the player; called by PassTime only.
void ApplyTimeEffects(Game& g);
// MP and TP of a unit, clamped to their ranges; no sound, no text.
void ChangeMp(Game& g, int unit, int32_t amount);
void ChangeTp(Game& g, int unit, int32_t amount);
