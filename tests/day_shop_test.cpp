// SPDX-License-Identifier: GPL-3.0-or-later
// The shop: who comes, what they buy, what a sale and an order bring.
#include <gtest/gtest.h>

#include "core/save.h"
#include "tests/day_fixture.h"
#include "town/night.h"
#include "town/shop.h"

namespace {

constexpr int32_t kGoods = 900;  // a number the catalogue leaves free

void MakeGoods(Game& g, int32_t price, int32_t recipe, int32_t count) {
  g.item_def[kGoods] = titem{};
  g.item_def[kGoods].name = J("テストのおかし");
  g.item_def[kGoods].price = price;
  g.item_def[kGoods].recipe = recipe;
  g.my.item_count[kGoods] = count;
}

TEST(DayShop, FameDecidesHowManyKindsOfCustomerCome) {
  const std::pair<int32_t, int32_t> cases[] = {{49, 4},   {41, 4}, {40, 3}, {39, 3}, {31, 3}, {30, 2},
                                               {-100, 2}, {59, 4}, {60, 5}, {89, 7}, {90, 8}, {150, 8}};
  for (const auto& [fame, kinds] : cases) EXPECT_EQ(CustomerKindsOffered(fame), kinds) << fame;
}

TEST(DayShop, EachKindOfCustomerWantsItsOwnItems) {
  struct Case {
    int kind;
    int32_t price, recipe, count;
    bool wanted;
  } cases[] = {
      {0, 100, 1, 1, true},  {0, 101, 1, 1, false},  {0, 50, 0, 1, false},   {0, 50, 1, 0, false},
      {1, 50, 0, 1, true},   {1, 51, 0, 1, false},   {2, 9000, 1, 1, true},  {2, 10, 1, 2, false},
      {3, 9000, 1, 1, true}, {4, 10, 1, 4, false},   {4, 10, 1, 5, true},    {5, 99, 1, 1, false},
      {5, 100, 1, 1, true},  {5, 1000, 1, 1, true},  {5, 1001, 1, 1, false}, {6, 1000, 1, 4, false},
      {6, 5000, 1, 5, true}, {6, 5001, 1, 5, false}, {7, 5000, 1, 1, false}, {7, 5001, 1, 1, true},
  };
  DayRun d;
  for (const Case& c : cases) {
    MakeGoods(d.g, c.price, c.recipe, c.count);
    EXPECT_EQ(CustomerWants(d.g, c.kind, kGoods), c.wanted)
        << "kind " << c.kind << " price " << c.price << " count " << c.count;
  }
  MakeGoods(d.g, 10, 1, 1);
  d.g.item_def[kGoods].special = 1;
  EXPECT_FALSE(CustomerWants(d.g, 3, kGoods));  // never sold
}

TEST(DayShop, SalesPayHalfForFoundThingsAndRaiseTheRankAfter10And30And60) {
  DayRun d;
  Game& g = d.g;
  MakeGoods(g, 5, 0, 99);
  std::vector<int32_t> rank_after;
  d.Play([&](Game& g) {
    SellItem(g, kGoods);
    EXPECT_EQ(g.my.money, 302);  // half of 5, truncated
    EXPECT_EQ(g.my.week_sales, 2);
    g.item_def[kGoods].recipe = 1;
    SellItem(g, kGoods);
    EXPECT_EQ(g.my.money, 307);
    for (int sale = 3; sale <= 60; ++sale) {
      SellItem(g, kGoods);
      g.my.item_count[kGoods] = 50;
      if (sale == 9 || sale == 10 || sale == 29 || sale == 30 || sale == 59 || sale == 60)
        rank_after.push_back(g.my.shop_rank);
    }
  });
  EXPECT_EQ(rank_after, (std::vector<int32_t>{0, 1, 1, 2, 2, 3}));
  EXPECT_EQ(g.my.day_hours, 13);
  EXPECT_EQ(g.unit[kPlayer].lifespan_days, 115);
  EXPECT_EQ(g.my.week_buyers, 60);
  EXPECT_EQ(g.my.rank_progress, 0);
  EXPECT_TRUE(d.Logged("お店のRANKが 3になりました!!"));
}

TEST(DayShop, CollectedOrdersPayDoubleWithoutCountingTowardTheRank) {
  DayRun d;
  Game& g = d.g;
  MakeGoods(g, 40, 1, 1);
  g.my.orders[3] = torder{J("ケン"), kGoods, 2};
  g.my.orders[5] = torder{J("ミミ"), kGoods, 9};  // the item is gone by then
  d.Play(ShopScreen);
  EXPECT_EQ(g.my.money, 380);
  EXPECT_EQ(g.my.week_sales, 80);
  EXPECT_EQ(g.my.week_buyers, 0);
  EXPECT_EQ(g.my.rank_progress, 0);
  EXPECT_EQ(g.my.fame, 51);
  EXPECT_TRUE(g.my.orders[3].customer.empty());
  EXPECT_EQ(g.my.orders[3].item, -1);
  EXPECT_EQ(g.my.orders[5].customer, J("ミミ"));
}

TEST(DayShop, AnOrderExpiresAfterItsDeadline) {
  DayRun d;
  Game& g = d.g;
  MakeGoods(g, 40, 1, 0);
  g.my.orders[10] = torder{J("ケン"), kGoods, 5};
  g.my.orders[4] = torder{J("ボロ"), -1, 12};  // as a damaged save may hold it
  d.Answer({"オーダーシート"});
  d.Play([&](Game& g) {
    for (int night = 0; night < 5; ++night) {
      g.my.hours_used = g.my.day_hours;
      NightCheck(g);
      g.shell.scenes.clear();  // the home menu each night hands over
    }
    Transfer(g, ShopScreen);
  });
  EXPECT_TRUE(g.my.orders[10].customer.empty());
  EXPECT_TRUE(g.my.orders[4].customer.empty());
  EXPECT_EQ(g.my.fame, 40);
  EXPECT_TRUE(d.Logged("ケンは怒って帰って行きました...."));
  EXPECT_FALSE(d.Logged("ケンさん【"));  // the sheet came after the expiry
}

TEST(DayShop, ClosingWhileACustomerOrdersSavesTheShopFromBeforeTheVisit) {
  DayRun d;
  d.policy = [](Game& g) {
    g.my.fame = 100;
    g.my.hours_used = 0;
    return J("待つ");
  };
  d.close_at_wait = [&d](Game&) { return d.Logged("「すみませーん、注文いいですか？」"); };
  d.Play(ShopScreen);
  ASSERT_TRUE(d.Logged("「すみませーん、注文いいですか？」"));
  GameState saved;
  ParseSaveData(saved, d.run.SaveBytes());
  int orders = 0;
  for (const torder& o : saved.my.orders) {
    if (o.customer.empty()) continue;
    ++orders;
    EXPECT_EQ(d.g.item_def[o.item].recipe, 1);
    EXPECT_GE(o.days, 1);
    EXPECT_LE(o.days, 5);
  }
  EXPECT_EQ(orders, 0);  // the visit is one action: closed in it, the shop is saved as it was before
}

// One 待つ on steered draws (its hour's draw first); an order customer is answered with
// `answer`; the window closes at the next question.
void WaitOnce(DayRun& d, const std::vector<Draw>& draws, const char* answer = "") {
  d.policy = [&d, draws, answer, step = 0](Game& g) mutable -> std::string {
    if (step++ == 0) {
      SteerDraws(g, draws);
      return J("待つ");
    }
    return step == 2 && d.Offered(J("断る")) ? J(answer) : std::string();
  };
  d.Play(ShopScreen);
}

// What one wait brings, on steered draws: nobody (a draw 0..100 above the fame), a
// regular customer (a draw 0..19 not 0) of a kind drawn among those the fame offers, who
// buys what the first draw finds (the fame +1 on a draw 0..9 of 0) or leaves (-1 on a
// draw 0..4 of 0), or, nobody come, a meal on a draw 0..9 of 0 when fullness is 0.
TEST(DayShop, AWaitBringsWhatItsDrawsSay) {
  struct Case {
    int32_t fame, fullness, price, count, kind;  // every item alike: recipe, `count` owned
    std::vector<Draw> draws;
    int32_t money, fame_change, visitors, items, full;
    const char* line;
  };
  // clang-format off
  const Case cases[] = {
      {58, 80, 77, 1, 0, {{4, 0}, {101, 59}}, 0, 0, 0, 0, -2, "誰も来ませんでした...."},
      {59, 80, 77, 1, 0, {{4, 0}, {101, 59}, {20, kNonZero}, {4, 3}, {999, kAnyDraw}, {10, kNonZero}}, 77, 0, 1, -1, -2,
       "気難しいロマノフが来ました"},
      {99, 80, 5001, 1, 0, {{4, 0}, {101, 0}, {20, kNonZero}, {8, 7}, {999, kAnyDraw}, {10, kOnlyZero}}, 5001, 1, 1, -1, -2,
       "金持ちのサニーが来ました"},
      {40, 80, 100, 1, 0, {{4, 0}, {101, 0}, {20, kNonZero}, {3, 0}, {999, kAnyDraw}, {10, kNonZero}}, 100, 0, 1, -1, -2,
       "ガキんちょが来ました"},
      {59, 80, 77, 0, 0, {{4, 0}, {101, 0}, {20, kNonZero}, {4, 3}, {999, kAnyDraw}, {999, kAnyDraw},
                          {999, kAnyDraw}, {999, kAnyDraw}, {999, kAnyDraw}, {999, kAnyDraw}, {999, kAnyDraw},
                          {999, kAnyDraw}, {999, kAnyDraw}, {999, kAnyDraw}, {5, kOnlyZero}}, 0, -1, 1, 0, -2,
       "何も買わずに去っていった.."},
      {0, 2, 1, 1, 4, {{4, 0}, {101, kNonZero}, {10, kOnlyZero}}, 0, 0, 0, -1, -2 + 7, "はお腹が減って持ち物をあさった"},
      {0, 3, 1, 1, 4, {{4, 0}, {101, kNonZero}, {10, kOnlyZero}}, 0, 0, 0, 0, -2, "誰も来ませんでした...."},
      {0, 2, 1, 1, 4, {{4, 0}, {101, kNonZero}, {10, kNonZero}}, 0, 0, 0, 0, -2, "誰も来ませんでした...."},
  };
  // clang-format on
  for (const Case& c : cases) {
    DayRun d;
    Game& g = d.g;
    d.Stock(c.price, 1, c.count, c.kind);
    g.my.fame = c.fame;
    g.unit[kPlayer].fullness = c.fullness;
    const int32_t items = d.Owned();
    WaitOnce(d, c.draws);
    SCOPED_TRACE(c.line);
    EXPECT_EQ(g.my.money - 300, c.money);
    EXPECT_EQ(g.my.week_sales, c.money);
    EXPECT_EQ(g.my.fame - c.fame, c.fame_change);
    EXPECT_EQ(g.my.week_visitors, c.visitors);
    EXPECT_EQ(g.my.total_visitors, c.visitors);
    EXPECT_EQ(g.my.week_buyers, c.money > 0 ? 1 : 0);
    EXPECT_EQ(d.Owned() - items, c.items);
    EXPECT_EQ(g.unit[kPlayer].fullness - c.fullness, c.full);
    EXPECT_TRUE(d.Logged(c.line));
  }
}

// Each kind looks at its own number of items: the last one it looks at sells, one
// further does not. The wanted thing is item 0, which no other draw gives.
TEST(DayShop, EachKindOfCustomerLooksAtItsNumberOfItems) {
  struct Case {
    int kind;
    int32_t price, recipe, count, looks, takings;
  } const cases[] = {{0, 100, 1, 1, 900, 100},   {1, 50, 0, 1, 50, 25},     {2, 50, 1, 1, 900, 50},
                     {3, 50, 1, 1, 10, 50},      {4, 50, 1, 5, 500, 50},    {5, 1000, 1, 1, 50, 1000},
                     {6, 5000, 1, 5, 100, 5000}, {7, 5001, 1, 1, 900, 5001}};
  for (const Case& c : cases) {
    for (const int32_t at : {c.looks, c.looks + 1}) {
      DayRun d;
      Game& g = d.g;
      g.item_def[0] = titem{};
      g.item_def[0].name = J("テストのおかし");
      g.item_def[0].price = c.price;
      g.item_def[0].recipe = c.recipe;
      g.my.item_count[0] = c.count;
      g.my.fame = 100;
      std::vector<Draw> draws = {{4, kAnyDraw}, {101, kAnyDraw}, {20, kNonZero}, {8, c.kind}};
      draws.insert(draws.end(), at - 1, Draw{999, kNonZero});
      draws.push_back({999, 0});
      WaitOnce(d, draws);
      SCOPED_TRACE(testing::Message() << "kind " << c.kind << " at " << at);
      EXPECT_EQ(g.my.money - 300, at == c.looks ? c.takings : 0);
      EXPECT_EQ(g.my.week_buyers, at == c.looks ? 1 : 0);
    }
  }
}

// An order customer on steered draws (a draw 0..19 of 0): the name kept on a draw
// 0..99 other than 1, the first item drawn at most 100 yen, 1 + a draw 0..4 days, and
// what each answer does (たたく by a draw 0..4).
TEST(DayShop, AnOrderCustomerTakesWhatItsDrawsSay) {
  struct Case {
    const char* answer;
    int32_t price, owned, days_draw;
    std::vector<Draw> more;
    int32_t fame_change, money;
    bool kept;
    const char* line;
  };
  const Case cases[] = {
      {"注文を受ける", 100, 0, 4, {}, 0, 0, true, "5日以内にお願いしまーす"},
      {"注文を受ける", 100, 0, 0, {}, 0, 0, true, "9日以内に【"},
      {"断る", 100, 0, 2, {}, -1, 0, false, "「そうですか....諦めます....」"},
      {"たたく", 100, 0, 2, {{5, 0}}, -1, 0, false, "「痛い！！」"},
      {"たたく", 100, 0, 2, {{5, 1}}, -2, 0, false, "「なにすんだ！」"},
      {"たたく", 100, 0, 2, {{5, 2}}, -2, 0, false, "「うわーん」"},
      {"たたく", 100, 0, 2, {{5, 3}}, 1, 0, false, "「あ、そこ丁度肩こってたの！ありがとう」"},
      {"たたく", 100, 0, 2, {{5, 4}}, -1, 0, false, "「....」"},
      {"すぐ渡す", 100, 1, 2, {}, 1, 200, false, "「わーい、やったー、ありがとう」"},
  };
  for (const Case& c : cases) {
    DayRun d;
    Game& g = d.g;
    d.Stock(c.price, 1, c.owned);
    g.guest_names.fill(J("ケン"));
    g.my.fame = 100;
    const int32_t items = d.Owned();
    std::vector<Draw> draws = {{4, kAnyDraw},   {101, kAnyDraw}, {20, kOnlyZero}, {10, kAnyDraw},
                               {226, kAnyDraw}, {100, 0},        {999, kAnyDraw}, {5, c.days_draw}};
    draws.insert(draws.end(), c.more.begin(), c.more.end());
    WaitOnce(d, draws, c.answer);
    SCOPED_TRACE(c.line);
    int in_use = 0;
    for (const torder& o : g.my.orders) {
      if (o.customer.empty()) continue;
      ++in_use;
      EXPECT_EQ(o.customer, J("ケン"));
      EXPECT_EQ(o.days, 1 + c.days_draw);
      EXPECT_EQ(g.item_def[o.item].price, 100);
    }
    EXPECT_EQ(in_use, c.kept ? 1 : 0);
    EXPECT_EQ(g.my.fame - 100, c.fame_change);
    EXPECT_EQ(g.my.money - 300, c.money);
    EXPECT_EQ(g.my.week_sales, c.money);
    EXPECT_EQ(d.Owned() - items, -c.owned);
    EXPECT_EQ(g.my.week_visitors, 1);
    EXPECT_EQ(g.my.week_buyers, 0);
    EXPECT_TRUE(d.Logged(c.line));
  }
  // An item of 101 yen drawn first is passed over for one of 100 drawn next; with none
  // drawn the order is for item 12 (which no draw gives here).
  DayRun d;
  d.Stock(100, 1, 0);
  d.g.item_def[0].price = 101;
  d.g.item_def[12].recipe = 0;
  d.g.my.fame = 100;
  WaitOnce(
      d, {{4, kAnyDraw}, {101, kAnyDraw}, {20, kOnlyZero}, {10, kAnyDraw}, {226, kAnyDraw}, {100, kNonZero}, {999, 0}},
      "注文を受ける");
  int ordered = 0;
  for (const torder& o : d.g.my.orders) ordered += !o.customer.empty() && o.item != 0 && o.item != 12;
  EXPECT_EQ(ordered, 1);
}

// 1000円 buys 5 + a draw 0..9 of fame and two hours, 100円 1 + a draw 0..2 and one;
// short of money, neither costs anything.
TEST(DayShop, AdvertisingRaisesTheFameByItsDraw) {
  struct Case {
    const char* ad;
    int32_t money;
    Draw draw;
    int32_t gain, cost, hours;
  } const cases[] = {{"1000円の宣伝", 1000, {10, 0}, 5, 1000, 2}, {"1000円の宣伝", 5000, {10, 9}, 14, 1000, 2},
                     {"100円の宣伝", 100, {3, 0}, 1, 100, 1},     {"100円の宣伝", 5000, {3, 2}, 3, 100, 1},
                     {"1000円の宣伝", 999, {10, 0}, 0, 0, 0},     {"100円の宣伝", 99, {3, 0}, 0, 0, 0}};
  for (const Case& c : cases) {
    DayRun d;
    Game& g = d.g;
    g.my.money = c.money;
    d.policy = [&, step = 0](Game& g) mutable -> std::string {
      switch (step++) {
        case 0: return J("せんでん");
        case 1: SteerDraws(g, {c.draw}); return J(c.ad);
        default: return std::string();
      }
    };
    d.Play(ShopScreen);
    EXPECT_EQ(g.my.fame - 50, c.gain) << c.ad;
    EXPECT_EQ(c.money - g.my.money, c.cost) << c.ad;
    EXPECT_EQ(g.my.hours_used, c.hours) << c.ad;
    EXPECT_EQ(d.Logged((std::string("店の名声が ") + std::to_string(c.gain) + "あがったよ").c_str()), c.cost > 0);
    EXPECT_EQ(d.Logged("お金が足りないよ"), c.cost == 0);
  }
}

// A guest's name, replaced on a draw 0..99 of 1 by four pieces each drawn 0..95 from
// 92 two-byte units (a draw past the end gives nothing; here the first one).
TEST(DayShop, RareCustomersGetAMadeUpNameOfFourKatakanaPieces) {
  DayRun d;
  Game& g = d.g;
  for (int i = 0; i < kGuestNameCount; ++i) g.guest_names[i] = "guest" + std::to_string(i);
  for (const Draw kept : {Draw{100, 0}, Draw{100, 2}}) {
    SteerDraws(g, {{226, 225}, kept});
    EXPECT_EQ(MakeCustomerName(g), "guest225");
  }
  const std::string units =
      J("アイウエオカキクケコサシスセソナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
        "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ"
        "ﾁｬｷｬｼｬﾋｬﾋｭﾋｮｷｭｷｮｼｭｼｮﾁｭﾁｮﾐｬﾐｭﾐｮｱｯｲｯﾃｰｸｰﾏｰﾁｰﾉｯﾉｰﾗｰﾅｯﾐｰ");
  ASSERT_EQ(units.size(), 2u * 92);
  for (const int32_t first : {92, 95, 91, 0}) {
    SteerDraws(g, {{226, kAnyDraw}, {100, 1}, {96, first}});
    Rng probe = g.rng;
    probe.Random(226), probe.Random(100);
    std::string expected;
    for (int i = 0; i < 4; ++i) {
      const int32_t at = probe.Random(96);
      if (at < 92) expected += units.substr(2 * at, 2);
    }
    EXPECT_EQ(MakeCustomerName(g), expected) << first;
  }
}

}  // namespace
