// SPDX-License-Identifier: GPL-3.0-or-later
// The clock: what one spell of time does, the TP charms and the camp.
#include <gtest/gtest.h>

#include "tests/day_fixture.h"
#include "town/clock.h"
#include "town/home.h"

namespace {

// One PassTime of 2 hours on steered draws (its hunger of 2..5 first) with one timed
// state at 3: what that state does, and that it alone counts down, once.
TEST(DayClock, OnePassTimeTicksEachStateOnce) {
  struct Case {
    int32_t tman::*state;  // nullptr: none
    int charm;             // owned twice (0 none)
    std::vector<Draw> draws;
    int32_t hp, mp, tp, full, hours, left, charms_left;
  };
  const Case cases[] = {
      {nullptr, 0, {{4, 0}}, 0, 0, 0, -2, 2, 0, 0},
      {nullptr, 0, {{4, 3}}, 0, 0, 0, -5, 2, 0, 0},
      {&tman::stomachache_turns, 0, {{4, 0}, {2, 1}}, 0, 0, 0, -3, 2, 2, 0},
      {&tman::stomachache_turns, 0, {{4, 0}, {2, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::poison_turns, 0, {{4, 0}}, -2450 / 50 - 1, 0, 0, -2, 2, 2, 0},
      {&tman::poison_turns, 243, {{4, 0}, {30, kOnlyZero}}, 0, 0, 0, -2, 2, 0, 1},
      {&tman::poison_turns, 243, {{4, 0}, {30, kNonZero}}, 0, 0, 0, -2, 2, 0, 2},
      {&tman::paralysis_turns, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::guard_all, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::reflect_turns, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::find_boost, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::logic_attack_up_turns, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::logic_defence_up_turns, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::magic_defence_up_turns, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::extra_state_turns, 0, {{4, 0}}, 0, 0, 0, -2, 2, 2, 0},
      {&tman::heal_state_turns, 0, {{4, 0}}, 1, 0, 0, -2, 2, 2, 0},
      {&tman::mana_state_turns, 0, {{4, 0}}, 0, 1, 0, -2, 2, 2, 0},
      {&tman::spirit_state_turns, 0, {{4, 0}}, 0, 0, 1, -2, 2, 2, 0},
      {&tman::spirit_state_turns, 64, {{4, 0}}, 0, 0, 4, -2, 2, 2, 2},
      {&tman::full_state_turns, 0, {{4, 0}}, 0, 0, 0, -2 + 5, 2, 2, 0},
      {&tman::infinite_state_turns, 0, {{4, 0}}, 0, 0, 0, -2, 1, 2, 0},
  };
  int32_t tman::*const states[] = {&tman::stomachache_turns,      &tman::poison_turns,
                                   &tman::paralysis_turns,        &tman::guard_all,
                                   &tman::reflect_turns,          &tman::find_boost,
                                   &tman::logic_attack_up_turns,  &tman::logic_defence_up_turns,
                                   &tman::magic_defence_up_turns, &tman::extra_state_turns,
                                   &tman::heal_state_turns,       &tman::mana_state_turns,
                                   &tman::spirit_state_turns,     &tman::full_state_turns,
                                   &tman::infinite_state_turns};
  for (const Case& c : cases) {
    DayRun d;
    Game& g = d.g;
    tman& p = g.unit[kPlayer];
    p.max_hp = 2450;  // a divisor of 49 or 51 would tell
    p.hp = 2000;
    p.max_mp = 20;
    p.mp = p.tp = 10;
    p.fullness = 50;
    if (c.state) p.*c.state = 3;
    if (c.charm) g.my.item_count[c.charm] = 2;
    SteerDraws(g, c.draws);
    PassTime(g, 2);
    SCOPED_TRACE(testing::Message() << "draws " << c.draws.size() << " charm " << c.charm << " hp " << c.hp);
    EXPECT_EQ(p.hp - 2000, c.hp);
    EXPECT_EQ(p.mp - 10, c.mp);
    EXPECT_EQ(p.tp - 10, c.tp);
    EXPECT_EQ(p.fullness - 50, c.full);
    EXPECT_EQ(g.my.hours_used, c.hours);
    for (int32_t tman::*s : states) EXPECT_EQ(p.*s, s == c.state ? c.left : 0);
    if (c.charm) {
      EXPECT_EQ(g.my.item_count[c.charm], c.charms_left);
    }
  }
}

TEST(DayClock, HoursAndFullnessStayInTheirRanges) {
  DayRun d;
  Game& g = d.g;
  tman& p = g.unit[kPlayer];
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
      {0, kPlayer, 50, -3, 47},  {62, kPlayer, 50, -3, 48}, {63, kPlayer, 50, -3, 49}, {64, kPlayer, 50, -3, 50},
      {64, kPlayer, 99, 5, 100}, {64, kPlayer, 0, -10, 0},  {64, 1, 50, -3, 47},  // the bonus is the player's only
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
  g.unit[kPlayer].max_hp = g.unit[kPlayer].max_mp = 100;  // a divisor of 9 or 11 would tell
  g.unit[kPlayer].hp = 10;
  g.unit[kPlayer].mp = 0;
  g.my.hours_used = g.my.day_hours - 1;
  g.my.location = 0;
  Camp(g);  // the field menu it hands over to is the next menu: not run here
  EXPECT_EQ(g.my.hours_used, g.my.day_hours);
  EXPECT_EQ(g.unit[kPlayer].hp, 21);  // a tenth, plus one
  EXPECT_EQ(g.unit[kPlayer].mp, 11);
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
