// SPDX-License-Identifier: GPL-3.0-or-later
// The click entry of the picture and the title flow.
#pragma once

struct Game;

// Every click on the picture or the window (and the right-clicks on the choice
// buttons) comes here; `right` is true for the right button.
void ClickAt(Game& g, int x, int y, bool right);

// F1 on the splash: three questions, then a new game is saved over the old one.
void ResetDialog(Game& g);

// The title click: play begins and the home menu is handed to the scene loop.
void BeginPlay(Game& g);
