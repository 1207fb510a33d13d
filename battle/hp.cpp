#include "battle/hp.h"

#include "shell/game.h"

// Placeholder until the battle lands.
void ChangeHp(Game& g, int unit, int32_t amount) { g.unit[unit].hp += amount; }
void TakeDamage(Game& g, int unit, int32_t amount) { g.unit[unit].hp -= amount; }
void LoseHp(Game& g, int unit, int32_t amount) { g.unit[unit].hp -= amount; }
