// SPDX-License-Identifier: GPL-3.0-or-later
// HP changes used everywhere: healing, damage with its popup and shake, quiet loss.
// Every change is clamped to 0..max_hp; the popups show over the player's HP figure
// (unit 0) or over the enemy (any other unit).
#pragma once

#include <cstdint>

struct Game;

// Heals (amount >= 0, sparkle and a blue figure) or hurts (shake or blink, sound).
void ChangeHp(Game& g, int unit, int32_t amount);
// A hit: the shown figure is 0 while the player's guard_all runs, the HP loss stays.
void TakeDamage(Game& g, int unit, int32_t amount);
// Hunger and poison: like TakeDamage without shake, blink or sound.
void LoseHp(Game& g, int unit, int32_t amount);
