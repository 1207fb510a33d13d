// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/cooking.h"

#include <algorithm>

#include "core/game.h"
#include "core/items.h"
#include "field/finds.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/item_box.h"
#include "town/item_use.h"
#include "town/night.h"

namespace {

bool IsRecipe(const titem& it) {
  return !it.name.empty() && std::any_of(it.ingredient.begin(), it.ingredient.end(), [](int32_t i) { return i != 0; });
}

// Each ingredient in turn takes the first free slot holding the same number (a zero
// takes an empty slot); the recipe matches when every slot is taken.
bool Matches(const titem& it, const std::array<int32_t, 4>& slots) {
  std::array<bool, 4> taken{};
  for (int32_t want : it.ingredient) {
    for (int i = 0; i < 4; ++i) {
      if (!taken[i] && slots[i] == want) {
        taken[i] = true;
        break;
      }
    }
  }
  return std::all_of(taken.begin(), taken.end(), [](bool t) { return t; });
}

void SetResetCaption(Game& g, bool offer_previous) {
  g.box.offer_previous = offer_previous;
  if (Widget* w = g.plat.FindWidget("l_btn13")) w->SetCaption(offer_previous ? J("前回のやつ") : "RESET");
}

std::string SlotName(Game& g, int32_t item) { return ItemExists(g, item) ? g.item_def[item].name : J("？？？？"); }

std::string SlotLines(Game& g, const std::array<int32_t, 4>& slots) {
  std::string text;
  for (int i = 0; i < 4; ++i) text += (i == 0 ? " " : "\r ") + SlotName(g, slots[i]);
  return text;
}

// A gain never lifts a count above 99.
void Gain(Game& g, int32_t item) {
  int32_t& c = g.my.item_count[item];
  c = std::min(c + 1, 99);
}

void Success(Game& g, int32_t product) {
  const titem& it = g.item_def[product];
  tman& me = g.unit[kPlayer];
  PlayWave(g, kChannelNews, "made.wav");
  LogLineWait(g, J("タラ～ン♪"));
  Gain(g, product);
  PlayWave(g, kChannelHits, "item.wav");
  LogColoured(g, J("【") + it.name + J("】が完成した☆(所持:") + Num(g.my.item_count[product]) + ")", "aqua");
  LogColoured(g, J("　(") + it.desc + ")", "aqua");
  WaitForClick(g);
  // Cheap products come out double now and then; dear ones teach.
  if (me.cook_skill >= it.price / 100 && g.rng.Random(10) == 0) {
    Gain(g, product);
    PlayWave(g, kChannelActs, "back.wav");
    LogColoured(g, J("なんと更に もう一個できちゃった(所持:") + Num(g.my.item_count[product]) + ")", "aqua");
    WaitForClick(g);
  }
  if (it.price / 100 >= me.cook_skill && g.rng.Random(10) == 0) RaiseCookSkill(g, 1);
  CapItemCounts(g);
  g.box.last_product = product;
  SetResetCaption(g, true);
}

void Failure(Game& g) {
  PlayWave(g, kChannelNews, "made_no.wav");
  LogLineWait(g, J("ボカーーーン!!"));
  LogColoured(g, J("爆発した..調理失敗だ.."), "red");
  for (int32_t item : g.box.recipe) {
    // Every slot draws, empty ones too, so the odds of each ingredient stay one in two.
    if (g.rng.Random(2) == 0) {
      if (ItemExists(g, item)) Gain(g, item);
    } else if (ItemExists(g, item)) {
      LogColoured(g, J("【") + g.item_def[item].name + J("】を失った.."), "pink2");
    }
  }
  WaitForClick(g);
  g.box.last_product = 0;
}

}  // namespace

int32_t FindProduct(const GameState& s, const std::array<int32_t, 4>& slots) {
  int32_t product = 0;
  for (int32_t n = 1; n < kItemCount; ++n) {
    if (IsRecipe(s.item_def[n]) && Matches(s.item_def[n], slots)) product = n;
  }
  return product;
}

void AddToRecipe(Game& g) {
  const int32_t item = SelectedEntryItem(g);
  if (item == 0 || g.box.selected == -1 || !ItemExists(g, item) || g.my.item_count[item] < 1) return;
  PlayWave(g, kChannelUi, "in.wav");
  auto slot = std::find(g.box.recipe.begin(), g.box.recipe.end(), 0);
  if (slot == g.box.recipe.end()) return;
  *slot = item;
  g.my.item_count[item] -= 1;
  RewriteSelectedEntry(g, item);
  ShowItemDetail(g);
  SetResetCaption(g, false);
}

void RecipeResetOrPrevious(Game& g) {
  if (!g.box.offer_previous) {
    ReturnRecipeSlots(g);
    PlayWave(g, kChannelUi, "no.wav");
    ShowItemList(g);
    return;
  }
  for (int i = 0; i < 3; ++i) PlayWave(g, kChannelUi, "in.wav");
  SetResetCaption(g, false);
  for (int i = 0; i < 4; ++i) {
    const int32_t item = g.box.previous[i];
    // A filled slot is never overwritten: its item would be lost.
    if (ItemExists(g, item) && g.my.item_count[item] >= 1 && g.box.recipe[i] == 0) {
      g.box.recipe[i] = item;
      g.my.item_count[item] -= 1;
    } else {
      PlayWave(g, kChannelUi, "no.wav");
    }
  }
  ShowItemList(g);
  ShowItemDetail(g);
}

bool StartCooking(Game& g) {
  if (std::all_of(g.box.recipe.begin(), g.box.recipe.end(), [](int32_t i) { return i == 0; })) {
    PlayWave(g, kChannelUi, "no.wav");
    return false;
  }
  return true;
}

void Cook(Game& g) {
  const int32_t product = FindProduct(g, g.box.recipe);
  Show(g, "item_box", false);
  PlayWave(g, kChannelActs, "make.wav");
  LogLine(g, "");
  LogLineWait(g, J("調理開始....!!"));
  LogLineWait(g, "..............");
  if (product != 0) {
    Success(g, product);
  } else {
    Failure(g);
  }
  g.box.previous = g.box.recipe;
  g.box.recipe = {};
  PassTime(g, 1);
  if (!NightCheck(g)) ShowItemList(g);
}

std::string RecipeText(Game& g) { return "\r" + J("★レシピ") + "\r\r" + SlotLines(g, g.box.recipe); }

std::string PreviousRecipeText(Game& g) {
  const int32_t last = g.box.last_product;
  return "\r" + J("(前回のレシピ)") + "\r" + SlotLines(g, g.box.previous) + "\r" + J("　↓") + "\r" + J("　") +
         (ItemExists(g, last) ? g.item_def[last].name : J("×失敗"));
}

void RefreshRecipeTexts(Game& g) {
  if (!IsShown(g, "item_box")) return;
  const std::pair<const char*, std::string> texts[] = {{"item_l2", RecipeText(g)}, {"item_l3", PreviousRecipeText(g)}};
  for (const auto& [name, text] : texts) {
    Widget* w = g.plat.FindWidget(name);
    if (w && w->Caption() != text) w->SetCaption(text);
  }
}

void ReturnRecipeSlots(Game& g) {
  for (int32_t& item : g.box.recipe) {
    if (ItemExists(g, item)) Gain(g, item);
    item = 0;
  }
}
