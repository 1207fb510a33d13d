// The scene loop. Menus and turns never call each other: a script that would go on
// to the next menu hands it to Transfer as its last act and returns, and the loop
// runs it. Waits (WaitForClick, AskChoice) stay nested event loops inside a scene,
// so the stack depth is bounded by one scene plus its waits, however long play goes.
#pragma once

#include "shell/shell.h"

struct Game;

// Runs `scene` once the running script has returned (scenes queue in order).
// Mouse handlers that start a script (the item box, cooking) hand it over the same way.
void Transfer(Game& g, Scene scene);

// Runs one queued scene if there is one; otherwise waits for events and dispatches
// them. Returns false once the window has closed.
bool SceneStep(Game& g);

// Runs scenes and events until the window has closed.
void RunSceneLoop(Game& g);
