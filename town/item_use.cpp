#include "town/item_use.h"

#include "shell/game.h"

// Placeholder until item use lands.
void UseItem(Game&, int32_t) {}
void ChangeFullness(Game& g, int unit, int32_t amount) { g.unit[unit].fullness += amount; }
void RaiseVit(Game& g, int unit, int32_t amount) { g.unit[unit].defence += amount; }
void RaiseCookSkill(Game& g, int32_t amount) { g.unit[kPlayer].cook_skill += amount; }
void RaiseExploreSkill(Game& g, int32_t amount) { g.unit[kPlayer].explore_skill += amount; }
