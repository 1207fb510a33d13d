// SPDX-License-Identifier: GPL-3.0-or-later
// Battle turn flow: the encounter, the player's and the monster's turns, the end check.
// Each turn is a scene handed to the scene loop, so a battle never grows the stack.
#pragma once

#include <cstdint>

struct Game;

// The monster's unit while a battle runs.
inline constexpr int kFoe = 1;

// Starts a battle: 0 draws a monster of the current field, any other number is that
// catalogue entry (the dragon).
void Encounter(Game& g, int32_t monster);
void PlayerTurn(Game& g);
void CommandMenu(Game& g);
void EnemyTurn(Game& g);
// 0 the battle goes on, 1 the player died, 2 the monster was beaten.
int CheckBattleEnd(Game& g);
void BattleCleanup(Game& g);

// The item box hands the turn back: an item was used (the turn is spent), or >BACK.
void BattleItemUsed(Game& g);
void BattleItemBack(Game& g);
