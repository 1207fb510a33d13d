// SPDX-License-Identifier: GPL-3.0-or-later
#include "field/field.h"

#include "core/game.h"
#include "core/scene.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "town/home.h"
#include "town/item_box.h"
#include "town/night.h"

namespace {

constexpr const char* kFieldPictures[kFieldCount] = {"forest.bmp", "kusa.bmp", "sea.bmp", "ana.bmp"};

}  // namespace

void FieldMenu(Game& g, int field) {
  if (field < 0 || field >= kFieldCount) {
    // Only a damaged location gets here; home is the one safe place to stand.
    Transfer(g, HomeMenu);
    return;
  }
  g.my.location = field;
  ShowCg(g, kFieldPictures[field]);
  g.ChoiceResult = -1;
  g.ChoicePending = 0;
  if (g.WaitState == -1) return;
  if (NightCheck(g)) return;  // the night has handed over to the home menu

  switch (AskChoice(g, J("さがす"), J("キャンプ"), J("アイテム"), J("帰る"))) {
    case 1: SearchField(g); break;
    case 2: Camp(g); break;
    case 3:
      if (Widget* w = g.plat.FindWidget("l_btn10")) w->SetCaption(J("使う"));
      ShowItemList(g);
      break;
    case 4:
      LogLine(g, J("帰ろーっと"));
      LogLine(g, "");
      Transfer(g, HomeMenu);
      break;
    case -1:  // the window is closing
      break;
    default:
      // A stray cancel must not leave the player without a menu.
      Transfer(g, [field](Game& g) { FieldMenu(g, field); });
      break;
  }
}
