// SPDX-License-Identifier: GPL-3.0-or-later
// The message history: every line logged this session (the last 300), whole and in
// its colours, over the picture as it stood, dimmed. The wheel up, PageUp or H open
// it during play; the wheel and the arrow keys scroll, Home and End jump; a click,
// Esc, Enter, H or scrolling down past the newest line close it.
//
// It is a reading view only: while it is open the game stands still beneath it.
// The wait or question underneath stays pending, no click reaches the game, and the
// timer draws the history instead of composing the scene, so nothing that the tick
// would move (effects, shake, the generator they draw from, the clamp) changes.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"

struct Game;

inline constexpr int kHistoryWheelRows = 3;  // rows per notch of the wheel
inline constexpr int kHistoryVisibleRows = 21;
inline constexpr int kHistoryTextLeft = 6;
inline constexpr int kHistoryTextRight = 290;  // the scroll bar lies right of it
inline constexpr int kHistoryIndent = 12;      // continuation rows, one ideographic space

bool HistoryOpen(const Game& g);
// Opens the view at the newest line. Only during play, and never over the character
// panel or the item box: false, and nothing happens, where it may not open.
bool OpenHistory(Game& g);
void CloseHistory(Game& g);
// rows > 0 towards older lines. Down at the newest line closes the view.
void ScrollHistory(Game& g, int rows);
// The wheel turned (steps > 0 up): opens the view when it is closed, else scrolls.
void HistoryWheel(Game& g, int steps);
// A key while the view is open. True when the history took it: its own keys, and
// every key that would act on the game beneath (Enter, Esc, Space, 1..4, F1).
bool HistoryKey(Game& g, int key);
// Scroll positions: 0 shows the newest row at the bottom; the largest the oldest at the top.
int HistoryMaxScroll(const Game& g);

// Rows of CP932 `text` no wider than `width` in the canvas's font, continuation rows
// `indent` narrower; a row never starts with closing punctuation when it can be helped.
std::vector<std::string> WrapText(Canvas& c, const std::string& text, int width, int indent);

// Draws the view onto cg (the timer calls it instead of the scene's composition).
void DrawHistory(Game& g);
