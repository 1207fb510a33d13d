// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/item_box.h"

#include <algorithm>
#include <functional>

#include "battle/battle.h"
#include "core/game.h"
#include "core/scene.h"
#include "field/finds.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "town/cooking.h"
#include "town/home.h"
#include "town/item_use.h"
#include "town/merchant.h"

namespace {

constexpr int kNarrowWidth = 212;  // use and buy: the cooking column is cut off
constexpr int kWideWidth = 302;
constexpr int kBoxHeight = 301;

const char* ModeCaption(BoxMode mode) {
  switch (mode) {
    case BoxMode::Cook: return "使っちゃう";
    case BoxMode::Buy: return "買う";
    default: return "使う";
  }
}

Widget* List(Game& g) { return g.plat.FindWidget("item_list"); }

void SetCaption(Game& g, const char* widget, const std::string& cp932) {
  if (Widget* w = g.plat.FindWidget(widget)) w->SetCaption(cp932);
}

// The selected entry's index, or -1 when none is selected or it is blank.
int SelectedEntry(Game& g) {
  Widget* list = List(g);
  if (!list) return -1;
  const int i = list->ItemIndex();
  if (i < 0 || i >= static_cast<int>(g.box.entries.size()) || g.box.entries[i].empty()) return -1;
  return i;
}

void ShowEntries(Game& g) {
  Widget* list = List(g);
  if (!list) return;
  const int keep = list->ItemIndex();
  list->SetItems(g.box.entries);
  list->SetItemIndex(keep);
}

void AddEntry(Game& g, const std::string& text, int32_t item) {
  g.box.entries.push_back(text);
  g.box.entry_items.push_back(item);
}

// Hands a script to the scene loop; presses are ignored until it has started. The box
// closes at once: every such script begins by closing it, and a script still waiting
// beneath must get its clicks (the picture ignores them while the box is shown).
void QueueBoxScript(Game& g, std::function<void(Game&)> script) {
  g.box.script_queued = true;
  Show(g, "item_box", false);
  Transfer(g, [script = std::move(script)](Game& g) {
    g.box.script_queued = false;
    script(g);
  });
}

void UseSelected(Game& g, int32_t item) {
  if (g.my.item_count[item] <= 0) return;
  QueueBoxScript(g, [item](Game& g) {
    PlayWave(g, kChannelUi, "item_use.wav");
    const bool spent = ApplyItem(g, item);
    if (g.in_battle != 0 && spent) Transfer(g, BattleItemUsed);
  });
}

void Buy(Game& g, int32_t item) {
  const int32_t price = g.item_def[item].price;
  if (g.my.money < price) {
    PlayWave(g, kChannelUi, "no.wav");
    return;
  }
  if (const int k = OneOffIndex(g, item); k >= 0) g.unit[kPlayer].sold_out[k] = 1;
  PlayWave(g, kChannelUi, "buy.wav");
  g.my.money -= price;
  g.my.item_count[item] += 1;
  ShowItemDetail(g);
  CapItemCounts(g);
  // Each offer can be bought once.
  const int i = SelectedEntry(g);
  if (i >= 0) g.box.entries[i].clear();
  ShowEntries(g);
}

void ActionButton(Game& g) {
  const int32_t item = SelectedEntryItem(g);
  if (item <= 0 || g.box.selected == -1 || g.item_def[item].name.empty()) return;
  switch (ItemBoxMode(g)) {
    case BoxMode::Use: UseSelected(g, item); break;
    case BoxMode::Buy: Buy(g, item); break;
    case BoxMode::Cook: break;  // the button is hidden in the kitchen
  }
}

void Back(Game& g) {
  QueueBoxScript(g, [](Game& g) {
    PlayWave(g, kChannelUi, "back.wav");
    const BoxMode mode = ItemBoxMode(g);
    if (mode == BoxMode::Cook) {
      ShowCg(g, "haikei01.bmp");
      Transfer(g, HomeMenu);
    } else if (g.in_battle != 0) {
      Transfer(g, BattleItemBack);
    } else {
      LogLine(g, mode == BoxMode::Buy ? J("商人はどこかへ去っていった....") : J("さてと、どうする？"));
      Transfer(g, ReturnToPlace);
    }
  });
}

}  // namespace

BoxMode ItemBoxMode(Game& g) {
  Widget* w = g.plat.FindWidget("l_btn10");
  const std::string caption = w ? w->Caption() : std::string();
  if (caption == J("使っちゃう")) return BoxMode::Cook;
  if (caption == J("買う")) return BoxMode::Buy;
  return BoxMode::Use;
}

void OpenItemBox(Game& g, BoxMode mode) {
  SetCaption(g, "l_btn10", J(ModeCaption(mode)));
  ShowItemList(g);
}

std::string ItemEntryText(const std::string& name, int32_t count) {
  std::string prefix = "   ";
  if (count >= 1 && count <= 9) {
    prefix = " " + Num(count) + " ";
  } else if (count >= 10 && count <= 99) {
    prefix = Num(count) + " ";
  }
  return prefix + name;
}

void ShowItemList(Game& g) {
  CapItemCounts(g);
  const BoxMode mode = ItemBoxMode(g);
  if (Widget* box = g.plat.FindWidget("item_box")) {
    box->SetBounds(0, 0, mode == BoxMode::Cook ? kWideWidth : kNarrowWidth, kBoxHeight);
    box->BringToFront();
    box->SetVisible(true);
  }
  SetCaption(g, "item_l", "");
  g.box.entries.clear();
  g.box.entry_items.clear();
  if (Widget* list = List(g)) {
    list->SetItemIndex(-1);
    list->SetItems({});
  }
  Show(g, "l_btn10", mode != BoxMode::Cook);
  Show(g, "l_btn10_cg", mode != BoxMode::Cook);
  if (mode == BoxMode::Buy) {
    for (int32_t item : MerchantStock(g)) AddEntry(g, g.item_def[item].name, item);
  } else {
    for (int32_t n = 0; n < kItemCount; ++n) {
      if (g.my.item_count[n] > 0 && !g.item_def[n].name.empty()) {
        AddEntry(g, ItemEntryText(g.item_def[n].name, g.my.item_count[n]), n);
      }
    }
  }
  if (Widget* list = List(g)) list->SetItems(g.box.entries);
  if (mode == BoxMode::Cook) RefreshRecipeTexts(g);
}

int32_t SelectedEntryItem(Game& g) {
  const int i = SelectedEntry(g);
  return i < 0 ? 0 : g.box.entry_items[i];
}

void ShowItemDetail(Game& g) {
  const int i = SelectedEntry(g);
  if (i < 0) return;
  const int32_t item = g.box.entry_items[i];
  if (item != g.box.selected) PlayWave(g, kChannelUi, "key2.wav");
  g.box.selected = item;
  const titem& it = g.item_def[item];
  std::string text = it.name + "\r" + J("(所持: ") + Num(g.my.item_count[item]) + J("個)") + "\r\r" + it.desc + "\r\r";
  if (ItemBoxMode(g) == BoxMode::Buy) {
    text += J("値段:") + "\\ " + Num(it.price) + J("円");  // 0x5C shows as the yen sign
  } else {
    text += J("レア度: ") + Num(it.price / 10) + "pt.";
  }
  SetCaption(g, "item_l", text);
}

void RewriteSelectedEntry(Game& g, int32_t item) {
  Widget* list = List(g);
  if (!list) return;
  const int i = list->ItemIndex();
  if (i < 0 || i >= static_cast<int>(g.box.entries.size()) || g.box.entry_items[i] != item) return;
  const int32_t count = g.my.item_count[item];
  g.box.entries[i] = count > 0 ? ItemEntryText(g.item_def[item].name, count) : std::string();
  ShowEntries(g);
}

void ItemBoxLabelDown(Game& g, int k) {
  if (!IsShown(g, "item_box") || g.box.script_queued) return;
  const bool kitchen = ItemBoxMode(g) == BoxMode::Cook;
  switch (k) {
    case 9: Back(g); break;
    case 10:
      if (!kitchen) ActionButton(g);
      break;
    case 11:
      if (kitchen) AddToRecipe(g);
      break;
    case 12:
      if (kitchen && StartCooking(g)) QueueBoxScript(g, Cook);
      break;
    case 13:
      if (kitchen) RecipeResetOrPrevious(g);
      break;
    default: break;
  }
}

void ItemListClick(Game& g) { ShowItemDetail(g); }
void ItemListKeyDown(Game& g, int) { ShowItemDetail(g); }
