// The keys of the window.
#pragma once

struct Game;

// Enter, Space and F1.
void FormKeyDown(Game& g, int key);
