// SPDX-License-Identifier: GPL-3.0-or-later
// Whole actions in the save: a close at any wait of the night or of cooking writes
// the state the action began with; a finished night is saved as its morning.
#include <gtest/gtest.h>

#include <numeric>

#include "core/save.h"
#include "tests/day_fixture.h"
#include "town/cooking.h"
#include "town/night.h"

namespace {

constexpr int kMilk = 1, kSugar = 6, kHotMilk = 12;  // ホットミルク is ミルク + さとう

void Night(Game& g) {
  g.my.hours_used = g.my.day_hours;
  NightCheck(g);
  g.shell.scenes.clear();
}

TEST(WholeSave, ClosingAtAnyWaitSavesTheStartOfTheActionAndAFinishedNightItsMorning) {
  struct Case {
    const char* close_at;  // the line whose click wait closes the window; nullptr: none
    int32_t day, buyers, age_left;
  } cases[] = {
      {"お休みなさーい", 6, 12, 50},       // orders must not age twice
      {"ご褒美として", 7, 12, 50},         // nor the reward be paid twice
      {"このお店つぶれますよ", 7, 0, 50},  // nor -3 fame be taken twice
      {"嫌な寒気がする", 3, 0, 11},        // nor the player age twice
      {"朝が来ました", 9, 0, 50},          // nor the rent be skipped
      {"が完成した☆", 0, 0, 50},           // nor a sweet be copied (cooking ミルク + さとう)
      {nullptr, 9, 12, 50},                // the morning is saved before anything closes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.close_at ? c.close_at : "no close");
    const bool cook = c.day == 0;
    DayRun d;
    Game& g = d.g;
    g.my.day_count = c.day;
    g.my.week_buyers = c.buyers;
    g.my.money = 500;
    g.my.fame = 50;
    g.unit[kPlayer].lifespan_days = g.unit[kPlayer].age_days + c.age_left;
    g.my.orders[1] = torder{J("ぽむ"), kHotMilk, 2};
    if (cook) g.box.recipe = {kMilk, kSugar, 0, 0};  // taken out of the bag, as the box does
    const std::string start = FormatSaveData(g);
    std::string file;
    d.on_idle = [&](Game&) { return file = d.run.SaveBytes(), false; };
    if (c.close_at) d.close_at_wait = [&d, line = c.close_at](Game&) { return d.Logged(line); };
    d.Play(cook ? Scene(Cook) : Scene(Night));
    if (c.close_at) file = d.run.SaveBytes();
    GameState saved;
    ASSERT_TRUE(ParseSaveData(saved, file));
    if (!c.close_at) {
      EXPECT_EQ(saved.my.day_count, c.day + 1);
      EXPECT_EQ(saved.my.money, 400);  // after the rent
      EXPECT_TRUE(file == FormatSaveData(g));
      continue;
    }
    if (cook) {  // the ingredients, not the product; the hour not spent
      EXPECT_EQ(std::accumulate(saved.my.item_count.begin(), saved.my.item_count.end(), 0), 2);
      EXPECT_EQ(saved.my.item_count[kMilk] + saved.my.item_count[kSugar] - saved.my.hours_used, 2);
    } else {  // the orders' days, the week's buyers, fame, age, money: all as the night found them
      EXPECT_TRUE(FormatSaveData(saved) == start);
    }
  }
}

}  // namespace
