// SPDX-License-Identifier: GPL-3.0-or-later
#include "field/scenes.h"

#include "core/game.h"
#include "field/field.h"

namespace {

using SceneFn = bool (*)(Game&);

// Rows: the fields; columns: slots 17, 18, 21, 22.
constexpr SceneFn kScenes[kFieldCount][4] = {
    {TreasureChest, Bear, Cat, OwlDoctor},
    {Digging, FruitTree, RabbitOnCliff, SleepingFox},
    {Fishing, Stranded, WanderingBearRabbit, DeepSea},
    {Rock, Pit, WallInscription, DragonPresence},
};

int Column(int slot) {
  switch (slot) {
    case 17: return 0;
    case 18: return 1;
    case 21: return 2;
    case 22: return 3;
    default: return -1;
  }
}

}  // namespace

int DrawFrom(Game& g, std::span<const int> table) { return table[g.rng.Random(static_cast<int>(table.size()))]; }

int& OwlVisits(Game& g) { return g.my.flag[1]; }

bool RunFieldScene(Game& g, int slot) {
  const int field = g.my.location;
  const int column = Column(slot);
  if (field < 0 || field >= kFieldCount || column < 0) return true;
  return kScenes[field][column](g);
}
