// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/home.h"

#include <string>

#include "battle/hp.h"
#include "core/game.h"
#include "core/scene.h"
#include "field/field.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "town/clock.h"
#include "town/item_box.h"
#include "town/night.h"
#include "town/shop.h"

namespace {

// Exploration skill a field needs, above which it is offered.
constexpr int32_t kFieldUnlock[4] = {-1, 4, 9, 14};
constexpr const char* kFieldCaptions[4] = {"もり", "そうげん", "うみ", "どうくつ"};
constexpr const char* kFieldArrivals[4] = {"森につきましたー", "草原につきましたー", "広おい海につきましたー",
                                           "怖い洞窟につきましたー"};
constexpr int32_t kCancelled = 5;

void EnterField(Game& g, int field) {
  LogLineWait(g, J("....トコトコ"));
  LogLine(g, J(kFieldArrivals[field]));
  g.my.location = field;
  Transfer(g, [field](Game& g) { FieldMenu(g, field); });
}

// たんけん: false when the player cancelled with a right-click (nothing was spent).
bool AskDestination(Game& g) {
  LogLine(g, J("どこいく？"));
  std::string captions[4];
  for (int f = 0; f < 4; ++f) {
    if (g.unit[kPlayer].explore_skill > kFieldUnlock[f]) captions[f] = J(kFieldCaptions[f]);
  }
  g.ChoiceResult = -1;
  g.menu_cancel_allowed = 1;
  AskChoice(g, captions[0], captions[1], captions[2], captions[3]);
  LogLine(g, "");
  g.menu_cancel_allowed = 0;
  if (g.ChoiceResult == kCancelled) return false;
  if (g.ChoiceResult >= 1 && g.ChoiceResult <= 4) EnterField(g, g.ChoiceResult - 1);
  return true;
}

void SetActionCaption(Game& g, const char* caption) {
  if (Widget* w = g.plat.FindWidget("l_btn10")) w->SetCaption(J(caption));
}

}  // namespace

void HomeMenu(Game& g) {
  if (g.WaitState == -1 || IsShown(g, "item_box")) return;
  if (NightCheck(g)) return;
  for (;;) {
    g.ChoiceResult = -1;
    g.my.location = kHome;
    ShowCg(g, "haikei01.bmp");
    switch (AskChoice(g, J("たんけん"), J("おかし作り"), J("お店へ"), J("アイテム"))) {
      case 1:
        if (!AskDestination(g)) continue;  // cancelled: back to the first question
        return;
      case 2: OpenKitchen(g); return;
      case 3:
        g.my.location = kShop;
        ShowCg(g, "store.bmp");
        LogLine(g, ShopTitle(g) + J("だよ"));
        Transfer(g, ShopScreen);
        return;
      case 4:
        SetActionCaption(g, "使う");
        ShowItemList(g);
        return;
      default:  // the window is closing
        return;
    }
  }
}

void ReturnToPlace(Game& g) {
  const int32_t place = g.my.location;
  if (place >= 0 && place <= 3) {
    Transfer(g, [place](Game& g) { FieldMenu(g, place); });
  } else if (place == kHome) {
    Transfer(g, HomeMenu);
  }
}

void Camp(Game& g) {
  if (g.WaitState == -1) return;
  // The night has already handed the home menu over.
  if (NightCheck(g)) return;
  ShowCg(g, "camp.bmp");
  tman& p = g.unit[kPlayer];
  ChangeHp(g, kPlayer, p.max_hp / 10 + 1);
  ChangeMp(g, kPlayer, p.max_mp / 10 + 1);
  PassTime(g, 2);
  LogLine(g, J("2時間 休憩しました (残:") + std::to_string(g.my.day_hours - g.my.hours_used) + J("時間)"));
  ReturnToPlace(g);
}

void OpenKitchen(Game& g) {
  ShowCg(g, "cook.bmp");
  SetActionCaption(g, "使っちゃう");
  ShowItemList(g);
  if (Widget* box = g.plat.FindWidget("item_box")) {
    const Rect r = box->Bounds();
    box->SetBounds(0, 0, r.Width(), r.Height());
    box->SetVisible(true);
  }
}
