// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the window. The game can be played without a mouse: Enter is the
// click, 1..4 pick a shown choice button, Esc is the right-click cancel; the
// panels' buttons and list take Tab and arrows in the window itself. M mutes,
// + and - size the picture, F11 toggles full screen. PageUp and H open the message
// history, which takes the keys that would act on the game while it is open.
#pragma once

struct Game;

void FormKeyDown(Game& g, int key);
