// SPDX-License-Identifier: GPL-3.0-or-later
// The state of the program at the top: the timer's count, the pause, the hovered
// label, the queue of scenes handed over by Transfer, and the life of the window.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

struct Game;

// A scene: a menu, a turn or any script that the scene loop runs to its end.
using Scene = std::function<void(Game&)>;

struct ShellState {
  int32_t TicksThisSecond = 0;
  int64_t NextSecond = 0;  // platform clock, ms
  int32_t DrawPaused = 0;
  int64_t LastSkipMs = INT64_MIN / 2;  // platform clock of the last wait the Ctrl skip released

  // Name of the label button under the mouse ("l_btn3"); empty when none.
  std::string HoveredLabel;

  // Scenes handed over by Transfer, run in order by the scene loop.
  std::deque<Scene> scenes;
  int64_t scenes_run = 0;

  bool created = false;    // FormCreate has run
  bool destroyed = false;  // FormDestroy has run
};
