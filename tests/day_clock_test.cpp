// The clock: what one spell of time does, the TP charms and the camp.
#include <gtest/gtest.h>

#include "tests/day_fixture.h"
#include "town/clock.h"
#include "town/home.h"

namespace {

TEST(DayClock, OnePassTimeTicksEveryStateOnceAndKeepsTheRanges) {
  DayRun d;
  Game& g = d.g;
  tman& p = g.unit[kPlayer];
  for (int32_t* turns : {&p.paralysis_turns, &p.guard_all, &p.reflect_turns, &p.find_boost,
                         &p.logic_attack_up_turns, &p.logic_defence_up_turns, &p.magic_defence_up_turns,
                         &p.extra_state_turns, &p.mana_state_turns, &p.spirit_state_turns, &p.infinite_state_turns}) {
    *turns = 3;
  }
  p.mp = 0;
  p.max_mp = 5;
  p.tp = 0;
  for (int i = 0; i < 50; ++i) {
    p.fullness = 50;
    g.my.hours_used = 0;
    p.paralysis_turns = 3;
    p.infinite_state_turns = 3;
    PassTime(g, 2);
    ASSERT_GE(p.fullness, 45);
    ASSERT_LE(p.fullness, 48);
    ASSERT_EQ(p.paralysis_turns, 2);
    ASSERT_EQ(g.my.hours_used, 1);  // the infinite state gives one hour back
  }
  EXPECT_EQ(p.guard_all, 0);
  EXPECT_EQ(p.mp, 3);  // three steps of the mana state, then it ran out
  EXPECT_EQ(p.tp, 3);

  p.infinite_state_turns = 0;
  p.fullness = 0;
  g.my.hours_used = 9;
  PassTime(g, 5);
  EXPECT_EQ(p.fullness, 0);
  EXPECT_EQ(g.my.hours_used, g.my.day_hours);
  PassTime(g, -30);
  EXPECT_EQ(g.my.hours_used, 0);
}

TEST(DayClock, TpChargesAddTheCharmBonusWhateverTheSign) {
  struct Case {
    int charm;  // 0 none
    int unit;
    int32_t start, amount, expected;
  } cases[] = {
      {0, kPlayer, 50, -3, 47}, {62, kPlayer, 50, -3, 48}, {63, kPlayer, 50, -3, 49},
      {64, kPlayer, 50, -3, 50}, {64, kPlayer, 99, 5, 100}, {64, kPlayer, 0, -10, 0},
      {64, 1, 50, -3, 47},  // the bonus is the player's only
  };
  for (const Case& c : cases) {
    DayRun d;
    Game& g = d.g;
    if (c.charm) g.my.item_count[c.charm] = 1;
    g.unit[c.unit].tp = c.start;
    ChangeTp(g, c.unit, c.amount);
    EXPECT_EQ(g.unit[c.unit].tp, c.expected) << "charm " << c.charm << " amount " << c.amount;
  }
}

TEST(DayClock, CampWithOneHourLeftHealsAndLeavesTheNightToTheNextMenu) {
  DayRun d;
  Game& g = d.g;
  g.unit[kPlayer].max_hp = 40;
  g.unit[kPlayer].hp = 10;
  g.my.hours_used = g.my.day_hours - 1;
  g.my.location = 0;
  Camp(g);  // the field menu it hands over to is the next menu: not run here
  EXPECT_EQ(g.my.hours_used, g.my.day_hours);
  EXPECT_EQ(g.unit[kPlayer].hp, 15);  // a tenth of 40, plus one
  EXPECT_TRUE(d.Logged("2時間 休憩しました (残:0時間)"));
  EXPECT_FALSE(d.Logged("あ、もう夜が来ました"));
  EXPECT_EQ(g.my.day_count, 0);

  // The next camp finds the day over: the night runs instead and the home menu follows.
  DayRun e;
  Game& h = e.g;
  h.my.hours_used = h.my.day_hours;
  h.my.location = 0;
  e.Play(Camp);
  EXPECT_TRUE(e.Logged("朝が来ました"));
  EXPECT_FALSE(e.Logged("休憩しました"));
  EXPECT_EQ(h.my.day_count, 1);
  EXPECT_EQ(h.my.location, kHome);
  EXPECT_TRUE(e.Offered(J("たんけん")));
}

}  // namespace
