// SPDX-License-Identifier: GPL-3.0-or-later
// The night: the weekly settlement, rent, old age and the shop's titles.
#include <gtest/gtest.h>

#include <numeric>

#include "core/save.h"
#include "presentation/log.h"
#include "tests/day_fixture.h"
#include "town/night.h"

namespace {

// Runs the night now, in a scene of its own; the home menu it hands over is dropped.
void RunNight(Game& g) {
  g.my.hours_used = g.my.day_hours;
  ASSERT_TRUE(NightCheck(g));
  g.shell.scenes.clear();
}

TEST(DayNight, TheWeekIsSettledOnThe8thNightAndJudgedBySales) {
  struct Case {
    int32_t day, buyers;
    const char* line;  // nullptr: no settlement
    int32_t fame_change, reward;
  } cases[] = {
      {0, 5, nullptr, 0, 0},
      {6, 5, nullptr, 0, 0},
      {7, 0, "このお店つぶれますよ！！", -3, 0},
      {7, 1, "でもその一人のためにまた作ろっ♪", 0, 0},
      {14, 3, "少ないけど、買ってくれた人ありがとう♪", 0, 0},
      {7, 7, "7人も買ってくれた人いたよ！", 0, 0},
      {7, 9, "結構来てくれたよね！うやっほーい！", 0, 0},
      {7, 10, "結構来てくれたよね！うやっほーい！", 0, 3},
      {21, 19, "このお店すげくね？！人気店じゃね！？", 0, 6},
      {7, 29, "すごーい、繁盛してる！してるうー！", 0, 9},
      {7, 30, "なんという事でしょう！あなたは天才ですねっ", 0, 10},
      // Each band's other end, and the reward's cap of 99.
      {7, 2, "少ないけど、買ってくれた人ありがとう♪", 0, 0},
      {7, 4, "4人も買ってくれた人いたよ！", 0, 0},
      {7, 8, "結構来てくれたよね！うやっほーい！", 0, 0},
      {7, 14, "結構来てくれたよね！うやっほーい！", 0, 4},
      {7, 15, "このお店すげくね？！人気店じゃね！？", 0, 5},
      {7, 20, "すごーい、繁盛してる！してるうー！", 0, 6},
      {7, 999, "なんという事でしょう！あなたは天才ですねっ", 0, 99},
      {7, 1000, "", 0, 99},
  };
  const char* verdicts[] = {"このお店つぶれますよ！！",
                            "買ってくれたの一人だけだった....",
                            "少ないけど",
                            "人も買ってくれた人いたよ！",
                            "結構来てくれたよね！",
                            "このお店すげくね？！",
                            "すごーい、繁盛してる！",
                            "なんという事でしょう！あなたは"};
  for (const Case& c : cases) {
    DayRun d;
    Game& g = d.g;
    g.my.day_count = c.day;
    g.my.week_buyers = c.buyers;
    g.my.week_sales = 1234;
    g.my.week_visitors = 40;
    g.my.total_sales = 1;
    d.Play(RunNight);
    const int32_t owned = std::accumulate(g.my.item_count.begin(), g.my.item_count.end(), 0);
    EXPECT_EQ(g.my.day_count, c.day + 1);
    EXPECT_EQ(g.my.hours_used, 0);
    if (c.line == nullptr) {
      EXPECT_FALSE(d.Logged("今週の総売上は")) << c.day;
      EXPECT_EQ(g.my.week_buyers, c.buyers);
      continue;
    }
    EXPECT_TRUE(d.Logged("今週の総売上は 1234円でした")) << c.buyers;
    EXPECT_TRUE(d.Logged("来客数は 40人でした"));
    EXPECT_TRUE(d.Logged(c.line)) << c.buyers;
    int verdict_lines = 0;
    for (const char* v : verdicts) verdict_lines += d.Logged(v);
    EXPECT_EQ(verdict_lines, *c.line ? 1 : 0) << c.buyers;
    EXPECT_EQ(g.my.fame, 50 + c.fame_change) << c.buyers;
    EXPECT_EQ(owned, c.reward) << c.buyers;
    EXPECT_EQ(d.Logged("ご褒美として"), c.reward > 0);
    EXPECT_EQ(g.my.total_sales, 1235);
    EXPECT_EQ(g.my.week_buyers, 0);
    EXPECT_EQ(g.my.week_sales, 0);
    EXPECT_EQ(g.my.week_visitors, 0);
  }
}

TEST(DayNight, RestHealsAndOrdersAgeButOnlyOnceTheDayIsSpent) {
  DayRun d;
  Game& g = d.g;
  g.my.orders[2] = torder{J("ケン"), 12, 3};
  g.unit[kPlayer].hp = 1;
  g.unit[kPlayer].max_mp = 6;
  g.my.hours_used = g.my.day_hours - 1;
  EXPECT_FALSE(NightCheck(g));
  EXPECT_EQ(g.my.orders[2].days, 3);
  d.Play(RunNight);
  EXPECT_EQ(g.my.orders[2].days, 4);
  EXPECT_EQ(g.my.orders[1].days, 0);
  EXPECT_EQ(g.unit[kPlayer].hp, g.unit[kPlayer].max_hp);
  EXPECT_EQ(g.unit[kPlayer].mp, 6);
  EXPECT_TRUE(d.Logged("朝が来ました"));
}

TEST(DayNight, RentIsDueEveryTenthMorningAndNeverTakenWhenShort) {
  const struct {
    int32_t day, money, money_after, fame_after;
    bool due;
  } cases[] = {{9, 100, 0, 50, true}, {9, 99, 99, 45, true}, {19, 5000, 4900, 50, true}, {10, 300, 300, 50, false}};
  for (const auto& c : cases) {
    DayRun d;
    d.g.my.day_count = c.day;
    d.g.my.money = c.money;
    d.Play(RunNight);
    EXPECT_EQ(d.Logged("今日は家賃支払いの日です...."), c.due) << c.day;
    EXPECT_EQ(d.g.my.money, c.money_after) << c.money;
    EXPECT_EQ(d.g.my.fame, c.fame_after) << c.money;
  }
}

TEST(DayNight, ANewGameIsWarnedOnThe80thAnd90thNightsAndEndsOnThe100th) {
  DayRun d;
  std::vector<int> coughs, pains;
  int nights = 0;
  d.Play([&](Game& g) {
    while (!g.plat.Closed() && nights < 200) {
      ClearLog(g);
      ++nights;
      RunNight(g);
      if (d.Logged("…ゲホッ、ゲホッ")) coughs.push_back(nights);
      if (d.Logged("…うう、なんだか体が苦しい")) pains.push_back(nights);
    }
  });
  EXPECT_EQ(coughs, std::vector<int>{80});
  EXPECT_EQ(pains, std::vector<int>{90});
  EXPECT_EQ(nights, 100);
  EXPECT_TRUE(d.run.plat.Closed());
  GameState saved;
  ParseSaveData(saved, d.run.SaveBytes());
  EXPECT_EQ(saved.unit[kPlayer].age_days, 100);
  EXPECT_EQ(saved.my.hours_used, saved.my.day_hours - 3);
  EXPECT_EQ(saved.my.day_count, 99);  // no morning after the last night
}

TEST(DayNight, TheShopTitleFollowsTheRank) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "いつも商品の無いお菓子屋さん"},
      {1, "たまにしか商品の無いお菓子屋さん"},
      {16, "★お菓子屋さん"},
      {27, "神そのものなお菓子屋さん"},
      {28, "ポムリエ"},
      {99999, "ポムリエ"},
      {100000, ""},
      {-1, ""},
  };
  DayRun d;
  for (const auto& [rank, title] : cases) {
    d.g.my.shop_rank = rank;
    EXPECT_EQ(ShopTitle(d.g), J(title)) << rank;
  }
}

}  // namespace
