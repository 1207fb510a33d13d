// SPDX-License-Identifier: GPL-3.0-or-later
// Handing over to the next scene. Menus and turns never call each other: a script that
// would go on to the next menu hands it to Transfer as its last act and returns, and the
// scene loop (shell/scene_loop.h) runs it. Waits (WaitForClick, AskChoice) stay nested
// event loops inside a scene, so the stack depth is bounded by one scene plus its waits,
// however long play goes.
#pragma once

#include "core/shell_state.h"

struct Game;

// Runs `scene` once the running script has returned (scenes queue in order).
// Mouse handlers that start a script (the item box, cooking) hand it over the same way.
void Transfer(Game& g, Scene scene);
