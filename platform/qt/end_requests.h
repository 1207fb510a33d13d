// SPDX-License-Identifier: GPL-3.0-or-later
// The ways the desktop ends a program without its close box: SIGTERM (log-out,
// shut-down, `kill`), SIGINT (Ctrl+C in a terminal), SIGHUP (the terminal gone) and
// the session manager's request to save. Each reaches the game as a closed window
// would, on the UI thread, so it saves whole actions and writes the play record.
#pragma once

#include <functional>

class QObject;

// Installs the signal handlers and calls `close` on the UI thread once per request.
// The handlers only write a byte to a pipe: a second signal during the save cannot
// cut the file short, nor end the program before the save is done.
void WatchEndRequests(QObject* context, std::function<void()> close);

// Qt ends the program with exit() when its connection to the display breaks (the
// X server or the compositor gone). `lost` then runs once from within that exit,
// on the UI thread, before the program is gone; it must not touch the display.
// An exit from any other thread, or after StopWatchingDisplayLoss, runs nothing.
// One watch at a time: a later one replaces it, and only its `owner` stops it.
void WatchDisplayLoss(const void* owner, std::function<void()> lost);
void StopWatchingDisplayLoss(const void* owner);
