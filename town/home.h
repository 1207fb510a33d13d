// The home: the hub every day returns to.
#pragma once

struct Game;

// The home screen. For now it only shows the home picture and hands control back to
// the scene loop, which waits for the next event; its menus come with the day cycle.
void HomeMenu(Game& g);
