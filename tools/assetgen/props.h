// SPDX-License-Identifier: GPL-3.0-or-later
// Recurring props and backdrops shared by several scene files.
#pragma once

#include "kit.h"

namespace assetgen {

// The player's sweets shop seen from outside; (x, y) is the middle of its base.
void ShopHouse(Canvas& c, int x, int y, bool lit);
void Cake(Canvas& c, int x, int y, int s);
void Chest(Canvas& c, int x, int y, bool open);

// Field backdrops, drawn to the full art canvas.
void ForestBackdrop(Canvas& c, int seed);
void GrassBackdrop(Canvas& c, int seed);
void SeaBackdrop(Canvas& c, int seed, int horizon);
void CaveBackdrop(Canvas& c, int seed);
void DeepSeaBackdrop(Canvas& c, int seed);

}  // namespace assetgen
