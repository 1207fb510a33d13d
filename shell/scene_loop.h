// SPDX-License-Identifier: GPL-3.0-or-later
// The scene loop: runs the scenes handed over by Transfer (core/scene.h) one after
// another, each as one action, and the window's events between them.
#pragma once

struct Game;

// Runs one queued scene if there is one; otherwise waits for events and dispatches
// them. Returns false once the window has closed.
bool SceneStep(Game& g);
// Runs scenes and events until the window has closed.
void RunSceneLoop(Game& g);
