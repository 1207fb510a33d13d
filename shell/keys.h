// The keys of the window. The game can be played without a mouse: Enter is the
// click, 1..4 pick a shown choice button, Esc is the right-click cancel; the
// panels' buttons and list take Tab and arrows in the window itself. M mutes,
// + and - size the picture, F11 toggles full screen.
#pragma once

struct Game;

void FormKeyDown(Game& g, int key);
