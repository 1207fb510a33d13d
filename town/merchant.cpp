// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/merchant.h"

#include "core/game.h"
#include "platform/text.h"

namespace {

// The one-off items in the order of their sold_out flags.
constexpr const char* kOneOffs[5] = {"本『ルナセリオ』", "ヴェルダインの刻印", "修道院の聖水", "グージー王剣",
                                     "ハガネのよろい"};

constexpr const char* kBasics[] = {"イズミミズ", "小麦", "さとう", "冷たい水"};
constexpr const char* kGoods[] = {"鍵",     "αウィルス",  "つるはし",       "釣竿",
                                  "毒消し", "胃腸薬",     "腐ったｽﾃｨｯｸﾊﾟﾝ", "星屑のバター",
                                  "黒い実", "ﾗﾋﾞﾘﾝｽｸﾘｰﾑ", "毒使いのフード"};
constexpr const char* kRareGoods[] = {"涌き水", "白雪のチーズ", "稲妻卵", "見知らぬ海岸塩"};
// Offered in this order while not yet bought (ハガネのよろい comes earlier, on its own).
constexpr int kOneOffOrder[] = {3, 2, 0, 1};
constexpr int kArmour = 4;
constexpr int kRandomDraws = 3;

struct Stock {
  Game& g;
  std::vector<int32_t> offers;

  void Offer(int32_t item, bool affordable_only) {
    if (item <= 0) return;
    if (affordable_only && g.my.money < g.item_def[item].price) return;
    offers.push_back(item);
  }
  // The draw is made whether or not the item can be afforded.
  void MaybeOffer(const char* name, int32_t one_in, bool affordable_only) {
    if (g.rng.Random(one_in) == 0) Offer(ItemByName(g, J(name)), affordable_only);
  }
  void OneOff(int index) {
    if (g.unit[kPlayer].sold_out[index] == 0) Offer(ItemByName(g, J(kOneOffs[index])), true);
  }
};

}  // namespace

int32_t ItemByName(Game& g, const std::string& cp932) {
  for (int32_t n = kItemCount - 1; n >= 0; --n) {
    if (!g.item_def[n].name.empty() && g.item_def[n].name == cp932) return n;
  }
  return 0;
}

int OneOffIndex(Game& g, int32_t item) {
  if (item <= 0 || item >= kItemCount) return -1;
  for (int i = 0; i < 5; ++i) {
    if (g.item_def[item].name == J(kOneOffs[i])) return i;
  }
  return -1;
}

std::vector<int32_t> MerchantStock(Game& g) {
  Stock s{g, {}};
  for (const char* name : kBasics) s.MaybeOffer(name, 3, false);
  for (const char* name : kGoods) s.MaybeOffer(name, 3, true);
  s.OneOff(kArmour);
  for (const char* name : kRareGoods) s.MaybeOffer(name, 3, true);
  for (int index : kOneOffOrder) s.OneOff(index);
  for (int i = 0; i < kRandomDraws; ++i) {
    const int32_t n = g.rng.Random(kItemCount - 1);
    const titem& it = g.item_def[n];
    // A one-off item has its own offer above; drawn here it would come back after
    // being bought (two of them are not marked special).
    if (!it.name.empty() && it.recipe == 0 && it.special == 0 && OneOffIndex(g, n) < 0) s.Offer(n, true);
  }
  s.MaybeOffer("メモの若返りウィルス", 2, true);
  return s.offers;
}
