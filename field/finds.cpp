#include "field/finds.h"

#include "shell/game.h"

// Placeholder until the finds land.
void ItemFind(Game&, int32_t) {}
void GainItem(Game& g, int32_t item) { g.my.item_count[item] += 1; }
void BreakItem(Game& g, int32_t item) { g.my.item_count[item] -= 1; }
void GainExp(Game& g, int32_t amount) { g.unit[kPlayer].exp += amount; }
void ChangeFullnessQuiet(Game& g, int unit, int32_t amount) { g.unit[unit].fullness += amount; }
