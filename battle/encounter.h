// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing and preparing the monster of an encounter.
#pragma once

#include <cstdint>

struct Game;

// A random monster of the current field within the player's tier. When a save with an
// odd level leaves none within reach, the field's lowest-tier monster; 0 when the
// place has no monsters at all.
int32_t PickEncounterMonster(Game& g);

// Copies catalogue entry `monster` into the foe's unit and scales it to a level drawn
// around half the player's.
void PrepareMonster(Game& g, int32_t monster);
