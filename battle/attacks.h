// SPDX-License-Identifier: GPL-3.0-or-later
// The attack formulas: each takes the attacker, the target and a bonus added to the
// roll, applies the stats and the player's charms, rolls the hit and deals Damage.
#pragma once

#include <cstdint>

struct Game;

void PhysicalAttack(Game& g, int attacker, int target, int32_t x);
void MagicAttack(Game& g, int attacker, int target, int32_t x);
void DebateAttack(Game& g, int attacker, int target, int32_t x);
void ArrowAttack(Game& g, int attacker, int target, int32_t x);
void ThrowAttack(Game& g, int attacker, int target, int32_t x);
void GunAttack(Game& g, int attacker, int target, int32_t x);
void HolyAttack(Game& g, int attacker, int target, int32_t x);
