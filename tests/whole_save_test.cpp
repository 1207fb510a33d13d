// Whole actions in the save: a close at any wait of the night or of cooking writes
// the state the action began with; a finished night is saved as its morning.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <sstream>

#include "shell/save.h"
#include "tests/day_fixture.h"
#include "town/cooking.h"
#include "town/night.h"

namespace {

constexpr int kMilk = 1, kSugar = 6, kHotMilk = 12;

std::string SaveFile(DayRun& d) {
  std::ifstream in(d.run.dir / "dat/my.dat", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::unique_ptr<GameState> Parsed(const std::string& bytes) {
  auto s = std::make_unique<GameState>();
  EXPECT_TRUE(ParseSaveData(*s, bytes));
  return s;
}

void Night(Game& g) {
  g.my.hours_used = g.my.day_hours;
  NightCheck(g);
  g.shell.scenes.clear();
}

// The pot holds ミルク and さとう, taken out of the bag as the item box does.
void FillPot(Game& g) {
  g.box.recipe = {kMilk, kSugar, 0, 0};
  g.my.item_count[kMilk] = g.my.item_count[kSugar] = 0;
}

int32_t Owned(const GameState& s) { return std::accumulate(s.my.item_count.begin(), s.my.item_count.end(), 0); }

TEST(WholeSave, ClosingAtAnyWaitSavesTheStartOfTheActionAndAFinishedNightItsMorning) {
  struct Case {
    const char* close_at;  // the line whose click wait closes the window; nullptr: none
    int32_t day, buyers, age_left;
    bool cook;
  } cases[] = {
      {"お休みなさーい", 6, 12, 50, false},             // orders must not age twice
      {"ご褒美として", 7, 12, 50, false},                // nor the reward be paid twice
      {"このお店つぶれますよ", 7, 0, 50, false},         // nor -3 fame be taken twice
      {"嫌な寒気がする", 3, 0, 11, false},               // nor the player age twice
      {"朝が来ました", 9, 0, 50, false},                 // nor the rent be skipped
      {"が完成した☆", 0, 0, 50, true},                  // nor a sweet be copied
      {nullptr, 9, 12, 50, false},                       // the morning is saved
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.close_at ? c.close_at : "no close");
    DayRun d;
    Game& g = d.g;
    g.my.day_count = c.day;
    g.my.week_buyers = c.buyers;
    g.my.money = 500;
    g.my.fame = 50;
    g.unit[kPlayer].lifespan_days = g.unit[kPlayer].age_days + c.age_left;
    g.my.orders[1] = torder{J("ぽむ"), kHotMilk, 2};
    if (c.cook) FillPot(g);
    const std::string start = FormatSaveData(g);
    bool closed = false;
    std::string before_close;  // the file once the night is over, before anything closes
    d.on_idle = [&](Game&) {
      before_close = SaveFile(d);
      return false;
    };
    if (c.close_at) {
      const std::string line = J(c.close_at);
      d.close_at_wait = [&](Game& game) {
        for (const tmoji_efe& e : game.MessageLog) closed |= e.text.find(line) != std::string::npos;
        return closed;
      };
    }
    d.Play(c.cook ? Scene(Cook) : Scene(Night));
    if (!c.close_at) {
      auto morning = Parsed(before_close);
      EXPECT_EQ(morning->my.day_count, c.day + 1);
      EXPECT_EQ(morning->my.money, 400);  // after the rent
      EXPECT_TRUE(before_close == FormatSaveData(g));
      continue;
    }
    auto saved = Parsed(SaveFile(d));
    ASSERT_TRUE(closed);
    if (c.cook) {
      // The ingredients, not the product; the hour not spent.
      EXPECT_EQ(saved->my.item_count[kMilk], 1);
      EXPECT_EQ(saved->my.item_count[kSugar], 1);
      EXPECT_EQ(saved->my.item_count[kHotMilk], 0);
      g.box.recipe = {};
      g.my.item_count = saved->my.item_count;
    }
    EXPECT_EQ(saved->my.orders[1].days, 2);
    EXPECT_EQ(saved->my.week_buyers, c.buyers);
    EXPECT_EQ(saved->my.fame, 50);
    EXPECT_EQ(Owned(*saved), c.cook ? 2 : 0);
    if (!c.cook) {
      EXPECT_TRUE(FormatSaveData(*saved) == start);
    }
  }
}

// Started again from a close at the weekly reward, the night runs once more and the
// reward comes once in all.
TEST(WholeSave, AfterAClosedRewardTheNightPaysItOnce) {
  std::string file;
  {
    DayRun d;
    d.g.my.day_count = 7;
    d.g.my.week_buyers = 12;
    d.close_at_wait = [](Game& g) { return LogHasLine(g, J("ご褒美として")); };
    d.Play(Night);
    file = SaveFile(d);
  }
  DayRun again;
  ASSERT_TRUE(ParseSaveData(again.g, file));
  again.Play(Night);
  EXPECT_EQ(Owned(again.g), 12 / 3);
  EXPECT_EQ(again.g.my.week_buyers, 0);
}

}  // namespace
