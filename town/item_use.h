// SPDX-License-Identifier: GPL-3.0-or-later
// Using an item, and the small stat operations other modules call.
#pragma once

#include <cstdint>

struct Game;

// Applies the item's effect by its kind.
void UseItem(Game& g, int32_t item);
// UseItem, telling whether the item did anything: false for an item of no effect
// (kind 99, kept) or without a name. In battle a true answer spends the turn.
bool ApplyItem(Game& g, int32_t item);
void ChangeFullness(Game& g, int unit, int32_t amount);
void RaiseVit(Game& g, int unit, int32_t amount);
void RaiseCookSkill(Game& g, int32_t amount);
void RaiseExploreSkill(Game& g, int32_t amount);
