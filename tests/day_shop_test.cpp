// The shop: who comes, what they buy, what a sale and an order bring.
#include <gtest/gtest.h>

#include <set>

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
  const std::pair<int32_t, int32_t> cases[] = {{49, 4}, {41, 4}, {40, 3}, {39, 3}, {31, 3}, {30, 2},  {-100, 2},
                                               {59, 4}, {60, 5}, {89, 7}, {90, 8}, {150, 8}};
  for (const auto& [fame, kinds] : cases) EXPECT_EQ(CustomerKindsOffered(fame), kinds) << fame;
}

TEST(DayShop, EachKindOfCustomerWantsItsOwnItems) {
  struct Case {
    int kind;
    int32_t price, recipe, count;
    bool wanted;
  } cases[] = {
      {0, 100, 1, 1, true},   {0, 101, 1, 1, false},  {0, 50, 0, 1, false},  {0, 50, 1, 0, false},
      {1, 50, 0, 1, true},    {1, 51, 0, 1, false},   {2, 9000, 1, 1, true}, {2, 10, 1, 2, false},
      {3, 9000, 1, 1, true},  {4, 10, 1, 4, false},   {4, 10, 1, 5, true},   {5, 99, 1, 1, false},
      {5, 100, 1, 1, true},   {5, 1000, 1, 1, true},  {5, 1001, 1, 1, false}, {6, 1000, 1, 4, false},
      {6, 5000, 1, 5, true},  {6, 5001, 1, 5, false}, {7, 5000, 1, 1, false}, {7, 5001, 1, 1, true},
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

TEST(DayShop, FromFame100EveryWaitBringsSomebody) {
  DayRun d;
  Game& g = d.g;
  int waits = 0;
  d.policy = [&](Game& g) {
    if (g.ChoiceCaption[2] == J("断る")) return J("断る");
    g.my.fame = 100;  // whatever the last visitor did to it
    g.my.hours_used = 0;
    if (waits == 200) return std::string();
    ++waits;
    return J("待つ");
  };
  d.Play(ShopScreen);
  EXPECT_EQ(waits, 200);
  EXPECT_EQ(g.my.week_visitors, 200);
  EXPECT_EQ(g.my.total_visitors, 200);
}

// A wait draws 0..100 after its hour's draw: somebody comes when it is at most the fame.
TEST(DayShop, AVisitorComesWhenTheDrawIsAtMostTheFame) {
  for (const int32_t fame : {99, 100}) {
    DayRun d;
    bool waited = false;
    d.policy = [&](Game& g) {
      if (waited) return std::string();
      waited = true;
      g.my.fame = fame;
      SteerDraws(g, {{4, kAnyDraw}, {101, 100}});
      return J("待つ");
    };
    d.Play(ShopScreen);
    EXPECT_EQ(d.Logged("誰も来ませんでした...."), fame == 99) << fame;
  }
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

// Four order customers answered in turn; each answer is checked at the next question.
TEST(DayShop, OrderCustomersAreToldApartByTheCaptionPicked) {
  DayRun d;
  const char* plan[] = {"すぐ渡す", "断る", "たたく", "注文を受ける"};
  int next = 0, slot = 0;
  int32_t fame = 0, money = 0;
  d.policy = [&](Game& g) -> std::string {
    if (d.Offered(J("断る"))) {  // an order customer
      for (int s = 1; s < kOrderSlots; ++s) slot = g.my.orders[s].customer.empty() ? slot : s;
      const titem& it = g.item_def[g.my.orders[slot].item];
      EXPECT_TRUE(it.recipe == 1 && it.price <= 100);
      fame = g.my.fame;
      money = g.my.money + 2 * it.price;
      return J(plan[next++]);
    }
    if (slot != 0) {
      const int32_t change = g.my.fame - fame;
      const std::string answer = plan[next - 1];
      EXPECT_EQ(g.my.orders[slot].customer.empty(), answer != "注文を受ける") << answer;
      if (answer == "すぐ渡す") {
        EXPECT_TRUE(change == 1 && g.my.money == money && g.my.week_buyers == 0);
      } else if (answer == "断る") {
        EXPECT_EQ(change, -1);
      } else if (answer == "たたく") {
        EXPECT_TRUE(change == -2 || change == -1 || change == 1) << change;
      }
      g.my.orders[slot] = torder{};  // one order at a time
      slot = 0;
    }
    if (next == 4) return std::string();
    // Only the first customer finds the ordered item in stock, and nobody else buys.
    for (int n = 1; n < kItemCount; ++n) {
      if (g.item_def[n].recipe == 1) g.my.item_count[n] = next == 0 ? 1 : 0;
    }
    g.my.week_buyers = 0;
    g.my.fame = 100;
    g.my.hours_used = 0;
    return J("待つ");
  };
  d.Play(ShopScreen);
  EXPECT_EQ(next, 4);
}

TEST(DayShop, AdvertisingCostsMoneyAndTimeOnlyWhenPaid) {
  DayRun d;
  Game& g = d.g;
  g.my.money = 150;
  int32_t fame_before_100 = 0;
  d.policy = [&, step = 0](Game& g) mutable -> std::string {
    switch (step++) {
      case 0: return J("せんでん");
      case 1: return J("1000円の宣伝");
      case 2:
        EXPECT_TRUE(d.Logged("お金が足りないよ"));
        EXPECT_EQ(g.my.hours_used, 0);
        fame_before_100 = g.my.fame;
        return J("100円の宣伝");
      case 3:
        EXPECT_EQ(g.my.money, 50);
        EXPECT_GE(g.my.fame - fame_before_100, 1);
        EXPECT_LE(g.my.fame - fame_before_100, 3);
        EXPECT_EQ(g.my.hours_used, 1);
        return J("もどる");
      default:
        EXPECT_EQ(g.ChoiceCaption[1], J("待つ"));  // back in the shop
        return std::string();
    }
  };
  d.Play(ShopScreen);
  EXPECT_EQ(d.questions, 5);
}

TEST(DayShop, RareCustomersGetAMadeUpNameOfFourKatakanaPieces) {
  DayRun d;
  Game& g = d.g;
  g.guest_names.fill("guest");
  const std::string units = J(
      "アイウエオカキクケコサシスセソナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
      "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ"
      "ﾁｬｷｬｼｬﾋｬﾋｭﾋｮｷｭｷｮｼｭｼｮﾁｭﾁｮﾐｬﾐｭﾐｮｱｯｲｯﾃｰｸｰﾏｰﾁｰﾉｯﾉｰﾗｰﾅｯﾐｰ");
  int made_up = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::string name = MakeCustomerName(g);
    if (name == "guest") continue;
    ++made_up;
    ASSERT_EQ(name.size() % 2, 0u);
    ASSERT_LE(name.size(), 8u);
    for (size_t at = 0; at < name.size(); at += 2) {
      bool found = false;
      for (size_t u = 0; u < units.size(); u += 2) found = found || units.compare(u, 2, name, at, 2) == 0;
      ASSERT_TRUE(found) << "not a unit of the sequence at byte " << at;
    }
  }
  EXPECT_GT(made_up, 10);
  EXPECT_LT(made_up, 60);
}

}  // namespace
