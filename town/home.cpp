#include "town/home.h"

#include "presentation/screen.h"
#include "shell/game.h"

void HomeMenu(Game& g) {
  if (g.WaitState == -1) return;
  if (IsShown(g, "item_box")) return;
  g.my.location = kHome;
  ShowCg(g, "haikei01.bmp");
}

// Placeholders until the day lands.
void ReturnToPlace(Game&) {}
void Camp(Game&) {}
void OpenKitchen(Game&) {}
