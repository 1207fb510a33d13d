// SPDX-License-Identifier: GPL-3.0-or-later
// Battle actions: one technique of the technique table carried out by a unit.
#pragma once

#include <cstdint>

struct Game;

// Technique numbers the menus and the turn flow name.
inline constexpr int32_t kAttack = 0;
inline constexpr int32_t kHeal = 2;
inline constexpr int32_t kSpecial = 3;
inline constexpr int32_t kCharge = 7;
inline constexpr int32_t kFlick = 8;
inline constexpr int32_t kVaha = 9;

// Pays the technique's MP and TP (a shortfall ends the action, the turn is spent),
// may be stopped by paralysis, then carries out its effect.
void Action(Game& g, int actor, int target, int32_t technique);

// Whether the technique table has this technique (a name; numbers out of range never).
bool TechniqueExists(const Game& g, int32_t technique);

// The monster's choice: one of its four techniques that exists (the plain attack when
// none does), then でこぴん with chance 1/6, and ひっさつ for a plain attack at TP 100.
int32_t PickEnemyTechnique(Game& g, int monster_unit);
