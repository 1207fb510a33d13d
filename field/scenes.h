// SPDX-License-Identifier: GPL-3.0-or-later
// The little scenes a search runs into: four per field, on search slots 17, 18, 21
// and 22. Each returns true when the player stays in the field, false when it has
// handed over to a battle.
#pragma once

#include <span>

struct Game;

// One entry of a find table, uniformly: a repeated item is a likelier one.
int DrawFrom(Game& g, std::span<const int> table);

// The scene of the current field for slot 17, 18, 21 or 22.
bool RunFieldScene(Game& g, int slot);

// Slot 17: the tool scenes.
bool TreasureChest(Game& g);
bool Digging(Game& g);
bool Fishing(Game& g);
bool Rock(Game& g);

// Forest.
bool Bear(Game& g);
bool Cat(Game& g);
bool OwlDoctor(Game& g);

// Grassland.
bool FruitTree(Game& g);
bool RabbitOnCliff(Game& g);
bool SleepingFox(Game& g);

// Sea.
bool Stranded(Game& g);
bool WanderingBearRabbit(Game& g);
bool DeepSea(Game& g);

// Cave.
bool Pit(Game& g);
bool WallInscription(Game& g);
bool DragonPresence(Game& g);

// The owl doctor's conversation stage, kept in the progress flags (and so saved).
int& OwlVisits(Game& g);
inline constexpr int kOwlLastStage = 7;
