// SPDX-License-Identifier: GPL-3.0-or-later
// The common steps of every attack: the hit chance, the final damage with its
// fullness and level modifiers, the miss, and the start-of-turn status step.
#pragma once

#include <cstdint>

struct Game;

// Percent chance of a hit by the attacker's hit against the target's evasion, plus
// 5 per level the attacker is above the target.
int32_t HitChance(const Game& g, int attacker, int target);
// The base chance of the hit - evasion table alone.
int32_t HitChanceForGap(int64_t d);
// Whether a roll against the chance hits: chance >= uniform 0..range.
bool Hits(Game& g, int32_t chance, int32_t range);
// Applies x to the target after the modifiers; a hit for more than 0 gives it TP.
void Damage(Game& g, int attacker, int target, int32_t x);
void Miss(Game& g, int target);
// Regeneration, poison and the countdown of the per-turn statuses.
void PoisonTick(Game& g, int unit);
