// SPDX-License-Identifier: GPL-3.0-or-later
// Timer1: the tick that animates and redraws, and the adaptation of its rate.
#pragma once

struct Game;

// One tick: advances FrameCounter, draws the title or the play screen (unless the
// draw speed skips this tick or the drawing is paused), clamps the state after a
// play redraw, then adapts the timer rate.
void Timer1Timer(Game& g);

// True when a play tick with this FrameCounter draws nothing at the given draw speed.
bool SkipsTick(int draw_speed, int frame_counter);

// Once a second: aims at 11 or 12 ticks a second, never shortening below 70 ms.
void AdaptTimerRate(Game& g);
