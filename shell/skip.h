// SPDX-License-Identifier: GPL-3.0-or-later
// Skipping: while Ctrl is held, click waits are released one after another at a
// steady pace, as visual-novel players expect. A choice, a dialog and the panels
// are never answered: the skip simply stops at them.
#pragma once

#include <cstdint>

struct Game;

// At most one release per pace, so every page still flashes by readably.
inline constexpr int64_t kSkipPaceMs = 80;

// Called after every timer tick.
void SkipTick(Game& g);
