// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/shop.h"

#include <algorithm>
#include <string>

#include "core/game.h"
#include "core/guest_names.h"
#include "core/scene.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/home.h"
#include "town/item_use.h"
#include "town/night.h"
#include "town/orders.h"

namespace {

// Customers draw candidate items by item number 0..998.
constexpr int32_t kDrawRange = 999;
constexpr int32_t kFallbackOrderItem = 12;
constexpr int32_t kFoodKind = 4;

// A regular customer: who arrives, and which item would do.
struct CustomerKind {
  const char* arrival;
  int32_t min_price, max_price;
  int32_t min_count, max_count;
  bool recipe_only;
  int draws;
};

constexpr int32_t kAny = INT32_MAX;
constexpr CustomerKind kCustomerKinds[8] = {
    {"ガキんちょが来ました", INT32_MIN, 100, 1, kAny, true, 900},
    {"乞食のギャラガが来ました", INT32_MIN, 50, 1, kAny, false, 50},
    {"可愛い女の子が来ました", INT32_MIN, kAny, 1, 1, true, 900},
    {"気難しいロマノフが来ました", INT32_MIN, kAny, 1, kAny, true, 10},
    {"頭のおかしいケンジ君が来ました", INT32_MIN, kAny, 5, kAny, true, 500},
    {"女子高生の真間サナエが来ました", 100, 1000, 1, kAny, true, 50},
    {"森の小人が来ました", 1000, 5000, 5, kAny, true, 100},
    {"金持ちのサニーが来ました", 5001, kAny, 1, kAny, true, 900},
};

}  // namespace

bool CustomerWants(const Game& g, int kind, int32_t n) {
  const CustomerKind& k = kCustomerKinds[kind];
  const titem& it = g.item_def[n];
  const int32_t count = g.my.item_count[n];
  return !it.name.empty() && it.special == 0 && count >= k.min_count && count <= k.max_count &&
         (!k.recipe_only || it.recipe == 1) && it.price >= k.min_price && it.price <= k.max_price;
}

namespace {

std::string SoldLine(Game& g, int32_t n) {
  return J("【") + g.item_def[n].name + J("】が売れました!!(残:") + Num(g.my.item_count[n]) + ")";
}

// An order paid at twice the price; it counts toward the week's takings, not the RANK.
void PayForOrder(Game& g, int32_t n) {
  PlayWave(g, kChannelNews, "quest.wav");
  --g.my.item_count[n];
  LogColoured(g, SoldLine(g, n), "pink2");
  const int32_t takings = 2 * g.item_def[n].price;
  g.my.week_sales += takings;
  GainMoney(g, takings);
  WaitForClick(g);
}

void CollectOrders(Game& g) {
  for (int s = kFirstOrderSlot; s <= kLastOrderSlot; ++s) {
    torder& o = g.my.orders[s];
    if (!OrderInUse(o) || !IsItemNumber(o.item) || g.my.item_count[o.item] < 1) continue;
    PlayWave(g, kChannelUi, "nock.wav");
    LogTalkWait(g, o.customer + J("「こんにちは、注文のを受け取りにきたよ」"));
    PayForOrder(g, o.item);
    LogTalkWait(g, J("うわーい、ありがとう！！"));
    ChangeFame(g, 1);
    o = torder{};
  }
}

void ExpireOrders(Game& g) {
  for (int s = kFirstOrderSlot; s <= kLastOrderSlot; ++s) {
    torder& o = g.my.orders[s];
    if (!OrderInUse(o) || o.days < kOrderDeadline) continue;
    PlayWave(g, kChannelUi, "nock.wav");
    LogTalkWait(g, o.customer + J("「あのー…【") + OrderItemName(g, o) + J("】注文してたのに…」"));
    LogTalkWait(g, J("もうしびれが切れました、さようなら"));
    LogLineWait(g, o.customer + J("は怒って帰って行きました...."));
    ChangeFame(g, -5);
    o = torder{};
  }
}

void ShowOrderSheet(Game& g) {
  LogLine(g, J("現在、注文を受けてる商品を表示"));
  LogLine(g, "....");
  for (int s = kFirstOrderSlot; s <= kLastOrderSlot; ++s) {
    const torder& o = g.my.orders[s];
    if (!OrderInUse(o)) continue;
    LogLineWait(g, o.customer + J("さん【") + OrderItemName(g, o) + J("】残") + Num(kOrderDeadline - o.days) + J("日"));
  }
  LogLineWait(g, J("....以上です"));
}

void CountVisitor(Game& g) {
  PlayWave(g, kChannelUi, "nock.wav");
  ++g.my.week_visitors;
  ++g.my.total_visitors;
}

void RegularCustomer(Game& g) {
  CountVisitor(g);
  const int kind = g.rng.Random(CustomerKindsOffered(g.my.fame));
  LogColoured(g, J(kCustomerKinds[kind].arrival), "purple");
  WaitForClick(g);
  for (int i = 0; i < kCustomerKinds[kind].draws; ++i) {
    const int32_t n = g.rng.Random(kDrawRange);
    if (CustomerWants(g, kind, n)) {
      SellItem(g, n);
      return;
    }
  }
  CustomerLeaves(g);
}

// Hungry and idle, the player eats something carried.
void EatFromHunger(Game& g) {
  for (int i = 0; i < 900; ++i) {
    const int32_t n = g.rng.Random(kDrawRange);
    const titem& it = g.item_def[n];
    // Only what is really owned: a count below zero (a damaged save) is not food.
    if (it.name.empty() || it.kind != kFoodKind || g.my.item_count[n] < 1) continue;
    --g.my.item_count[n];
    LogLineWait(g, g.unit[kPlayer].name + J("はお腹が減って持ち物をあさった"));
    LogColoured(g, J("【") + it.name + J("】を食べた(残:") + Num(g.my.item_count[n]) + ")", "aqua");
    PlayWave(g, kChannelHits, "taberu.wav");
    ChangeFullness(g, kPlayer, it.power);
    WaitForClick(g);
    return;
  }
}

int FreeOrderSlot(Game& g) {
  for (int i = 0; i < 91; ++i) {
    const int s = kFirstOrderSlot + g.rng.Random(kLastOrderSlot - kFirstOrderSlot + 1);
    if (!OrderInUse(g.my.orders[s])) return s;
  }
  return 0;
}

int32_t DrawOrderItem(Game& g) {
  const int32_t price_limit = 100 * g.my.grade + 100;
  for (int i = 0; i < 901; ++i) {
    const int32_t n = g.rng.Random(kDrawRange);
    const titem& it = g.item_def[n];
    if (!it.name.empty() && it.recipe == 1 && it.price <= price_limit) return n;
  }
  return kFallbackOrderItem;
}

void HitCustomer(Game& g, const std::string& name) {
  static constexpr struct {
    const char* line;
    int32_t fame;
  } kReactions[5] = {
      {"「痛い！！」", -1}, {"「なにすんだ！」", -2},
      {"「うわーん」", -2}, {"「あ、そこ丁度肩こってたの！ありがとう」", 1},
      {"「....」", -1},
  };
  const auto& r = kReactions[g.rng.Random(5)];
  LogTalkWait(g, name + J(r.line));
  ChangeFame(g, r.fame);
}

void OrderCustomer(Game& g) {
  const int s = FreeOrderSlot(g);
  if (s == 0) {
    LogLine(g, J("誰か来たけど、入らないで帰っていった.."));
    return;
  }
  CountVisitor(g);
  torder& o = g.my.orders[s];
  // The slot is complete before the first wait: a window closed meanwhile saves a
  // whole order, never a named slot without its item.
  o.customer = MakeCustomerName(g);
  o.item = DrawOrderItem(g);
  o.days = 1 + g.rng.Random(5);
  const std::string customer = o.customer;
  const int32_t n = o.item;
  const std::string item = J("【") + g.item_def[n].name + J("】");
  const std::string deadline = Num(kOrderDeadline - o.days);
  LogTalkWait(g, customer + J("「すみませーん、注文いいですか？」"));
  LogTalkWait(g, item + J("が欲しいんですけど…"));
  LogTalkWait(g, deadline + J("日以内にお願いしまーす"));

  const std::string take = J("注文を受ける"), hand = J("すぐ渡す"), refuse = J("断る"), hit = J("たたく");
  AskChoice(g, g.my.item_count[n] >= 1 ? hand : take, refuse, hit, "");
  const std::string& answer = g.log.ChoiceResultCaption;
  if (answer == take) {
    PlayWave(g, kChannelNews, "quest_start.wav");
    LogColoured(g, J("注文を承りました！"), "aqua");
    WaitForClick(g);
    LogColoured(g, deadline + J("日以内に") + item + J("を用意してね"), "aqua");
    WaitForClick(g);
  } else if (answer == hand) {
    LogColoured(g, J("持っていたのでその場で渡しました"), "aqua");
    WaitForClick(g);
    PayForOrder(g, n);
    LogTalkWait(g, customer + J("「わーい、やったー、ありがとう」"));
    ChangeFame(g, 1);
    g.my.orders[s] = torder{};
  } else if (answer == refuse) {
    g.my.orders[s] = torder{};
    LogTalkWait(g, customer + J("「そうですか....諦めます....」"));
    ChangeFame(g, -1);
  } else if (answer == hit) {
    g.my.orders[s] = torder{};
    HitCustomer(g, customer);
  }
}

void WaitForCustomers(Game& g) {
  PassTime(g, 1);
  if (g.rng.Random(101) > g.my.fame) {
    LogLine(g, J("誰も来ませんでした...."));
    if (g.rng.Random(10) == 0 && g.unit[kPlayer].fullness <= 0) EatFromHunger(g);
    return;
  }
  if (g.rng.Random(20) != 0) {
    RegularCustomer(g);
  } else {
    OrderCustomer(g);
  }
}

// One advertisement, if it can be paid: fame rises by min_gain + 0..spread-1.
void Advertise(Game& g, int32_t cost, int32_t min_gain, int32_t spread, int32_t hours) {
  if (g.my.money < cost) {
    PlayWave(g, kChannelUi, "no.wav");
    LogLine(g, J("お金が足りないよ"));
    return;
  }
  g.my.money -= cost;
  const int32_t gain = min_gain + g.rng.Random(spread);
  PlayWave(g, kChannelNews, "meisei.wav");
  g.my.fame += gain;
  LogColoured(g, J("店の名声が ") + Num(gain) + J("あがったよ"), "pink");
  WaitForClick(g);
  PassTime(g, hours);
}

// せんでん: true when the player went back to the shop with もどる.
// Each advertisement is an action of its own: the menu comes back as a new scene.
void AdvertisingMenu(Game& g) {
  g.ChoiceResult = -1;
  if (g.WaitState == -1 || NightCheck(g)) return;
  switch (AskChoice(g, J("1000円の宣伝"), J("100円の宣伝"), J("もどる"), "")) {
    case 1:
      Advertise(g, 1000, 5, 10, 2);
      Transfer(g, AdvertisingMenu);
      break;
    case 2:
      Advertise(g, 100, 1, 3, 1);
      Transfer(g, AdvertisingMenu);
      break;
    case 3: Transfer(g, ShopScreen); break;
    default: break;
  }
}

}  // namespace

int32_t CustomerKindsOffered(int32_t fame) { return std::clamp((fame - 50) / 10 + 4, 2, 8); }

// One visit, advertisement or look at the order sheet is one action: the menu
// comes back as a new scene after each, so that a close saves every one finished.
void ShopScreen(Game& g) {
  g.ChoiceResult = -1;
  g.ChoicePending = 0;
  if (g.WaitState == -1 || NightCheck(g)) return;
  CollectOrders(g);
  ExpireOrders(g);
  switch (AskChoice(g, J("待つ"), J("せんでん"), J("もどる"), J("オーダーシート"))) {
    case 1:
      WaitForCustomers(g);
      Transfer(g, ShopScreen);
      break;
    case 2: Transfer(g, AdvertisingMenu); break;
    case 3:
      LogLine(g, "");
      LogLine(g, J("さーてと、何しよっかな～ん"));
      Transfer(g, HomeMenu);
      break;
    case 4:
      ShowOrderSheet(g);
      Transfer(g, ShopScreen);
      break;
    default: break;
  }
}

void SellItem(Game& g, int32_t n) {
  tmy& my = g.my;
  const titem& it = g.item_def[n];
  --my.item_count[n];
  LogColoured(g, SoldLine(g, n), "pink2");
  // Ingredients and found things go for half: only recipes fetch the full price.
  const int32_t takings = it.recipe == 0 ? it.price / 2 : it.price;
  GainMoney(g, takings);
  my.week_sales += takings;
  WaitForClick(g);
  if (g.rng.Random(10) == 0) ++my.fame;
  ++my.rank_progress;
  ++my.week_buyers;
  if (my.rank_progress < my.shop_rank * 10 + 10) return;

  my.rank_progress = 0;
  ++my.shop_rank;
  PlayWave(g, kChannelNews, "capture.wav");
  PopText(g, 30, 59, 63, "");
  LogColoured(g, J("お店のRANKがあがったよー！！！！"), "yellow");
  LogColoured(g, J("お店のRANKが ") + Num(my.shop_rank) + J("になりました!!"), "yellow");
  WaitForClick(g);
  PlayWave(g, kChannelNews, "bp.wav");
  ++my.day_hours;
  LogColoured(g, J(" 1日の行動時間が 1時間延びました"), "yellow");
  WaitForClick(g);
  PlayWave(g, kChannelNews, "bp.wav");
  g.unit[kPlayer].lifespan_days += 5;
  LogColoured(g, J("寿命が 5日延びた"), "yellow");
  WaitForClick(g);
}

void CustomerLeaves(Game& g) {
  LogLine(g, J("何も買わずに去っていった.."));
  if (g.rng.Random(5) == 0) --g.my.fame;
}

std::string MakeCustomerName(Game& g) {
  std::string name = GuestName(g, g.rng.Random(kGuestNameCount));
  if (g.rng.Random(100) != 1) return name;
  // Two bytes a piece: a full-width katakana, or a pair of half-width ones.
  static const std::string pieces =
      J("アイウエオカキクケコサシスセソナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
        "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ"
        "ﾁｬｷｬｼｬﾋｬﾋｭﾋｮｷｭｷｮｼｭｼｮﾁｭﾁｮﾐｬﾐｭﾐｮｱｯｲｯﾃｰｸｰﾏｰﾁｰﾉｯﾉｰﾗｰﾅｯﾐｰ");
  name.clear();
  for (int i = 0; i < 4; ++i) {
    const size_t at = 2 * static_cast<size_t>(g.rng.Random(96));
    if (at < pieces.size()) name += pieces.substr(at, 2);
  }
  return name;
}

void GainMoney(Game& g, int32_t amount) {
  if (amount == 0) return;
  g.my.money += amount;
  PlayWave(g, kChannelUi, "coin.wav");
  LogColoured(g, J("お金 ") + Num(amount) + J("円を入手"), "yellow2");
}

void ChangeFame(Game& g, int32_t amount) {
  if (amount == 0) return;
  g.my.fame += amount;
  if (amount > 0) {
    PlayWave(g, kChannelNews, "meisei.wav");
    LogColoured(g, J("店の名声が ") + Num(amount) + J("増加した→") + Num(g.my.fame), "red");
  } else {
    PlayWave(g, kChannelNews, "meisei_down.wav");
    LogColoured(g, J("店の名声が ") + Num(-amount) + J("減少した→") + Num(g.my.fame), "red");
  }
  WaitForClick(g);
}
