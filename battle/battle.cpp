#include "battle/battle.h"

#include "shell/game.h"

// Placeholder until the battle lands.
void Encounter(Game&, int32_t) {}
void PlayerTurn(Game&) {}
void CommandMenu(Game&) {}
void EnemyTurn(Game&) {}
int CheckBattleEnd(Game&) { return 0; }
void BattleCleanup(Game&) {}
void BattleItemUsed(Game&) {}
void BattleItemBack(Game&) {}
