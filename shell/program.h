// SPDX-License-Identifier: GPL-3.0-or-later
// The program: builds the game on a platform, runs it until the window closes.
#pragma once

class Platform;

// Exit status of a copy started while another game holds the same save: it told
// the player and ended without reading or writing anything.
inline constexpr int kExitAlreadyRunning = 3;

// Takes the platform's lock on the save, creates the game, runs FormCreate, then
// the scene loop until the window has closed; returns the exit code (0, or
// kExitAlreadyRunning when the lock is held by another game).
int RunGame(Platform& platform);
