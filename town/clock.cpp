#include "town/clock.h"

#include "shell/game.h"

// Placeholder until the clock lands.
void PassTime(Game& g, int32_t hours) { g.my.hours_used += hours; }
void ApplyTimeEffects(Game&) {}
void ChangeMp(Game& g, int unit, int32_t amount) { g.unit[unit].mp += amount; }
void ChangeTp(Game& g, int unit, int32_t amount) { g.unit[unit].tp += amount; }
