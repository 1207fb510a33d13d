// SPDX-License-Identifier: GPL-3.0-or-later
// A hundred seeded days through the real menus on a thread with a small stack:
// home, shop, waiting, advertising, orders, camp, nights, weeks and rent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "tests/day_fixture.h"
#include "tests/small_stack.h"
#include "town/home.h"

namespace {

struct DaySession {
  DayRun d;
  std::mt19937 rnd{777};
  StackSpan stack;
  int shop_visits = 0, camps = 0, ads = 0, orders_answered = 0;
  std::string failure;

  void Fail(const char* what) {
    if (failure.empty()) failure = what;
  }

  void CheckInvariants(Game& g) {
    if (g.my.hours_used < 0 || g.my.hours_used > g.my.day_hours) Fail("hours out of range");
    if (g.unit[kPlayer].fullness < 0 || g.unit[kPlayer].fullness > 100) Fail("fullness out of range");
    if (g.my.money < 0) Fail("money below zero");
    for (int s = 1; s < kOrderSlots; ++s) {
      const torder& o = g.my.orders[s];
      if (o.customer.empty()) continue;
      if (o.item < 1 || o.item >= kItemCount || g.item_def[o.item].name.empty()) Fail("order of no item");
      if (o.days < 1) Fail("order with no days");  // it may wait past 10 while the shop stays shut
    }
    if (!g.my.orders[0].customer.empty()) Fail("order in the unsaved slot");
  }

  bool Has(Game&, const char* utf8) { return d.Offered(J(utf8)); }

  // Picks one of the offered captions by weight.
  std::string Pick(Game& g, std::initializer_list<std::pair<const char*, int>> weighted) {
    int total = 0;
    for (const auto& [c, w] : weighted) total += Has(g, c) ? w : 0;
    int r = static_cast<int>(rnd() % static_cast<unsigned>(std::max(total, 1)));
    for (const auto& [c, w] : weighted) {
      if (Has(g, c) && (r -= w) < 0) return J(c);
    }
    return kCancel;
  }

  std::string Answer(Game& g) {
    stack.Mark();
    CheckInvariants(g);
    if (g.my.day_count >= 100) return std::string();
    if (rnd() % 10 == 0) d.run.plat.QueueTicks(1);  // let the clamp and drawing run now and then
    if (Has(g, "たんけん")) {
      if (rnd() % 4 == 0) {  // restock the shelves from the kitchen's output
        for (int n : {12, 28, 29, 33, 249, 262, 267}) g.my.item_count[n] = std::min(99, g.my.item_count[n] + 3);
      }
      return Pick(g, {{"お店へ", 6}, {"たんけん", 3}});
    }
    if (Has(g, "もり")) return rnd() % 5 == 0 ? kCancel : J("もり");
    if (Has(g, "待つ")) {
      const std::string pick = Pick(g, {{"待つ", 12}, {"せんでん", 2}, {"もどる", 3}, {"オーダーシート", 1}});
      if (pick == J("もどる")) ++shop_visits;
      return pick;
    }
    if (Has(g, "100円の宣伝")) {
      ++ads;
      return Pick(g, {{"100円の宣伝", 3}, {"1000円の宣伝", 1}, {"もどる", 2}});
    }
    if (Has(g, "断る")) {
      ++orders_answered;
      return Pick(g, {{"注文を受ける", 4}, {"すぐ渡す", 4}, {"断る", 1}, {"たたく", 1}});
    }
    if (Has(g, "キャンプ")) {
      const std::string pick = Pick(g, {{"キャンプ", 1}, {"帰る", 1}});
      if (pick == J("キャンプ")) ++camps;
      return pick;
    }
    // A question of a neighbour's screen: any offered answer.
    for (int k = 1; k <= 4; ++k) {
      if (!g.ChoiceCaption[k].empty()) return g.ChoiceCaption[k];
    }
    return std::string();
  }

  // Nothing waits and nothing is queued: a field's menu of its own would ask now.
  bool Idle(Game& g) {
    if (g.my.location >= 0 && g.my.location <= 3) {
      if (rnd() % 3 != 0) {
        ++camps;
        Transfer(g, Camp);
      } else {
        g.my.location = kHome;
        Transfer(g, HomeMenu);
      }
      return true;
    }
    return false;
  }
};

TEST(DaySession, AHundredDaysOfShopAndCampRunOnASmallStack) {
  auto session = std::make_unique<DaySession>();
  DaySession* s = session.get();
  s->d.g.rng.Seed(20261207);
  s->d.g.unit[kPlayer].lifespan_days = 400;  // the hundred days are not cut short by old age
  s->d.policy = [s](Game& g) { return s->Answer(g); };
  s->d.on_idle = [s](Game& g) { return s->Idle(g); };
  ASSERT_TRUE(RunOnSmallStack([s] { s->d.Play(HomeMenu); }));

  const Game& g = s->d.g;
  EXPECT_EQ(s->failure, "");
  EXPECT_EQ(g.my.day_count, 100);
  EXPECT_GT(g.my.total_visitors, 100);
  EXPECT_GT(g.my.total_sales, 0);
  EXPECT_GT(g.my.shop_rank, 0);
  EXPECT_GT(s->shop_visits, 20);
  EXPECT_GT(s->camps, 20);
  EXPECT_GT(s->ads, 5);
  EXPECT_GT(s->orders_answered, 5);
  // Every question was asked at nearly the same depth, day after day.
  EXPECT_LE(s->stack.Spread(), 8192u) << "stack grew by " << s->stack.Spread() << " bytes";
}

}  // namespace
