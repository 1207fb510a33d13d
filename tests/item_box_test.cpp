// SPDX-License-Identifier: GPL-3.0-or-later
// The item box: list entries and blank lines, the detail text, use and buy, >BACK, the
// merchant's stock, and what each kind of item does.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "tests/item_box_fixture.h"
#include "town/item_use.h"
#include "town/merchant.h"

namespace {

constexpr int kMilk = 1, kKey = 2, kStone = 3, kWheat = 13, kAntidote = 31, kBook = 117;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Owned items listed with their counts; using the last one leaves a blank line that
// shows nothing and cannot be used; >BACK leaves with its line.
TEST(ItemBox, UseLeavesABlankLineThatDoesNothing) {
  BoxRun r;
  Game& g = r.game();
  r.count(kMilk) = 1;
  r.count(kWheat) = 120;
  r.count(8) = 5;  // a number without a name is never listed
  g.unit[kPlayer].hp = 10;
  OpenItemBox(g, BoxMode::Use);
  EXPECT_EQ(g.box.entries, (std::vector<std::string>{" 1 " + J("ミルク"), "99 " + J("小麦")}));
  EXPECT_EQ(r.count(kWheat), 99);
  EXPECT_EQ(r.W("item_box").Bounds().right, 212);
  EXPECT_TRUE(r.W("l_btn10").Visible());

  r.Select(kMilk);
  r.Then([&] {
    EXPECT_EQ(r.W("item_l").Caption(),
              J("ミルク") + "\r" + J("(所持: 1個)") + "\r\r" + g.item_def[kMilk].desc + "\r\r" + J("レア度: 1pt."));
  });
  r.Press(10);
  r.Then([&] {
    EXPECT_EQ(r.count(kMilk), 0);
    EXPECT_TRUE(r.W("item_box").Visible());
    EXPECT_EQ(g.box.entries[0], "");
    EXPECT_TRUE(Contains(r.W("item_l").Caption(), J("(所持: 0個)")));
    r.W("item_l").SetCaption("unchanged");
    r.count(kMilk) = 3;  // even owned again, the blank line stays blank until a rebuild
  });
  r.Then([&] { r.plat.QueueListSelect(0); });
  r.Press(10);
  r.Then([&] {
    EXPECT_EQ(r.W("item_l").Caption(), "unchanged");
    EXPECT_EQ(r.count(kMilk), 3);
  });
  r.Press(9);
  r.Play();
  EXPECT_FALSE(r.W("item_box").Visible());
  EXPECT_TRUE(r.Logged(J("さてと、どうする？")));
}

TEST(ItemBox, MerchantOffersOnlyWhatCanBeBoughtAndOneOffsOnce) {
  BoxRun r;
  Game& g = r.game();
  const std::set<int32_t> basics = {ItemByName(g, J("イズミミズ")), kWheat, 6, 27};
  std::set<int32_t> seen;
  g.my.money = 0;
  for (int i = 0; i < 200; ++i) {
    for (int32_t item : MerchantStock(g)) {
      EXPECT_TRUE(basics.count(item)) << item;
      seen.insert(item);
    }
  }
  EXPECT_EQ(seen, basics);

  g.my.money = 1000000;
  for (int k = 0; k < 5; ++k) {
    const auto stock = MerchantStock(g);
    EXPECT_EQ(std::count_if(stock.begin(), stock.end(), [&](int32_t i) { return OneOffIndex(g, i) == k; }), 1) << k;
  }
  g.unit[kPlayer].sold_out.fill(1);
  for (int i = 0; i < 2000; ++i) {
    for (int32_t item : MerchantStock(g)) ASSERT_EQ(OneOffIndex(g, item), -1) << item;
  }
}

// Buying a one-off marks it sold and blanks the offer; short of money, no sale.
TEST(ItemBox, BuyingFromTheMerchant) {
  BoxRun r;
  Game& g = r.game();
  g.my.money = 4010;
  r.Then([&] {
    // Draw stocks until one also offers wheat.
    for (int seed = 0; std::find(g.box.entry_items.begin(), g.box.entry_items.end(), kWheat) == g.box.entry_items.end();
         ++seed) {
      g.rng.Seed(seed);
      OpenItemBox(g, BoxMode::Buy);
    }
  });
  r.Select(kBook);
  r.Press(10);
  r.Then([&] {
    EXPECT_EQ(g.my.money, 10);
    EXPECT_EQ(r.count(kBook), 1);
    EXPECT_EQ(g.unit[kPlayer].sold_out[0], 1);
    EXPECT_TRUE(Contains(r.W("item_l").Caption(), J("値段:") + "\\ 4000" + J("円")));
    EXPECT_TRUE(std::count(g.box.entries.begin(), g.box.entries.end(), ""));
    g.my.money = 2;
  });
  r.Select(kWheat);
  r.Press(10);
  r.Then([&] { EXPECT_EQ(r.count(kWheat), 0); });
  r.Press(9);
  r.Play();
  EXPECT_TRUE(r.Logged(J("商人はどこかへ去っていった....")));
}

// In battle an item of no effect keeps the box and the turn; a thrown one spends the
// turn and the monster strikes back.
TEST(ItemBox, InBattleOnlyAnItemThatActsSpendsTheTurn) {
  BoxRun r;
  Game& g = r.game();
  g.in_battle = 1;
  g.foe_index = 1;
  tman& foe = g.unit[1];
  foe.name = J("森の虫");
  foe.max_hp = foe.hp = 50;
  foe.map_active = 1;
  r.count(kKey) = 1;
  r.count(kStone) = 1;
  OpenItemBox(g, BoxMode::Use);
  r.Select(kKey);
  r.Press(10);
  r.Then([&] {
    EXPECT_TRUE(r.W("item_box").Visible());
    EXPECT_EQ(r.count(kKey), 1);
    EXPECT_FALSE(r.Logged(foe.name + J("のこうげき")));
  });
  r.Select(kStone);
  r.Press(10);
  r.Then([&] {
    EXPECT_FALSE(r.W("item_box").Visible());
    EXPECT_EQ(r.count(kStone), 0);
    EXPECT_EQ(foe.hp, 49);
    EXPECT_TRUE(r.Logged(foe.name + J("のこうげき")));
  });
  r.Play();
}

// Effects by kind, applied straight through (no click waits while the window closes).
TEST(ItemUse, EffectsByKind) {
  struct Case {
    const char* what;
    int item;
    std::function<void(Game&)> setup;
    std::function<void(Game&)> check;
  };
  const Case cases[] = {
      {"time past the day's start", 185, [](Game& g) { g.my.hours_used = 5; },
       [](Game& g) { EXPECT_EQ(g.my.hours_used, -15); }},
      {"hp and mp swapped above the maximum", 282,
       [](Game& g) { g.unit[kPlayer].max_hp = 10, g.unit[kPlayer].hp = 5, g.unit[kPlayer].mp = 30; },
       [](Game& g) {
         EXPECT_EQ(g.unit[kPlayer].hp, 30);
         EXPECT_EQ(g.unit[kPlayer].mp, 5);
       }},
      {"max hp and max mp", kBook, nullptr,
       [](Game& g) {
         EXPECT_EQ(g.unit[kPlayer].max_hp, 35);
         EXPECT_EQ(g.unit[kPlayer].max_mp, 35);
       }},
      {"strength, magic, spirit", 118,
       [](Game& g) { g.unit[kPlayer].strength = g.unit[kPlayer].magic = g.unit[kPlayer].spirit = 0; },
       [](Game& g) {
         const tman& p = g.unit[kPlayer];
         EXPECT_EQ(p.strength + p.magic + p.spirit, 6);
       }},
      {"no effect keeps the key", kKey, nullptr, [](Game& g) { EXPECT_EQ(g.my.item_count[kKey], 1); }},
      {"a stone thrown at no one comes back", kStone, nullptr, [](Game& g) { EXPECT_EQ(g.my.item_count[kStone], 1); }},
      {"curing no poison still uses the antidote", kAntidote, nullptr,
       [](Game& g) { EXPECT_EQ(g.my.item_count[kAntidote], 0); }},
      {"halving the enemy's strength", 473, [](Game& g) { g.in_battle = 1, g.foe_index = 1, g.unit[1].strength = 7; },
       [](Game& g) {
         EXPECT_EQ(g.unit[1].strength, 4);
         EXPECT_EQ(g.my.item_count[473], 0);
       }},
      {"fullness up, and a stomach-ache half of the time", 223, [](Game& g) { g.unit[kPlayer].fullness = 50; },
       [](Game& g) {
         EXPECT_EQ(g.unit[kPlayer].fullness, 70);
         const int32_t ache = g.unit[kPlayer].stomachache_turns;
         EXPECT_TRUE(ache == 0 || (ache >= 20 && ache <= 19 + g.unit[kPlayer].max_hp)) << ache;
       }},
  };
  for (const Case& c : cases) {
    BoxRun r;
    Game& g = r.game();
    g.WaitState = -1;
    r.count(c.item) = 1;
    if (c.setup) c.setup(g);
    UseItem(g, c.item);
    SCOPED_TRACE(c.what);
    c.check(g);
  }

  // The stomach-ache comes on a draw 0..1 of 0 and lasts 20 + a draw 0..max_hp-1 steps;
  // 猫のスープ's experience is a draw 0..power-1.
  struct Drawn {
    int item;
    std::vector<Draw> draws;
    int32_t ache, exp;
  } const drawn[] = {{223, {{2, 0}, {30, 29}}, 49, 0},
                     {223, {{2, 0}, {30, 0}}, 20, 0},
                     {223, {{2, 1}}, 0, 0},
                     {379, {{20, 19}}, 0, 19},
                     {379, {{20, 0}}, 0, 0}};
  for (const Drawn& c : drawn) {
    BoxRun r;
    Game& g = r.game();
    g.WaitState = -1;
    r.count(c.item) = 1;
    SteerDraws(g, c.draws);
    UseItem(g, c.item);
    EXPECT_EQ(g.unit[kPlayer].stomachache_turns, c.ache) << c.item;
    EXPECT_EQ(g.unit[kPlayer].exp, c.exp) << c.item;
  }
}

}  // namespace
