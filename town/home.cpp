#include "town/home.h"

#include "presentation/screen.h"
#include "shell/game.h"

void HomeMenu(Game& g) {
  if (g.WaitState == -1) return;
  if (Widget* box = g.plat.FindWidget("item_box"); box && box->Visible()) return;
  g.my.location = kHome;
  ShowCg(g, "haikei01.bmp");
}
