// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's life: creation, closing, destruction.
#pragma once

struct Game;

// Start-up in its fixed order; ends by starting Timer1.
void FormCreate(Game& g);

// Start-up's load: reads my.dat and name.dat and counts the load (ReadSaveSlot),
// saves at once with the save sound unless the old file could not be kept aside,
// then fills the monster and item catalogues.
void Load(Game& g);
// Closing: every wait returns at once from now on, then the game is saved.
void FormClose(Game& g);
// Releases what start-up acquired. Runs once.
void FormDestroy(Game& g);

// The whole program on an existing game: window, start-up, the scene loop until the
// window has closed, then destruction.
void RunProgram(Game& g);
