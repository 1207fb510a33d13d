// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/state.h"

namespace {

struct ClampTest : ::testing::Test {
  void SetUp() override {
    tman& p = s.unit[kPlayer];
    p.max_hp = 20;
    p.hp = 20;
    p.max_mp = 5;
    p.mp = 5;
    p.level = 2;
    p.lifespan_days = 100;
  }
  GameState s;
};

TEST_F(ClampTest, MoneyHasOnlyAnUpperBound) {
  s.my.money = 1000000000;
  ClampState(s);
  EXPECT_EQ(s.my.money, 999999999);
  s.my.money = -42;
  ClampState(s);
  EXPECT_EQ(s.my.money, -42);
}

TEST_F(ClampTest, PercentagesStayWithinZeroToHundred) {
  s.my.fame = -3;
  s.unit[kPlayer].tp = 130;
  s.unit[kPlayer].fullness = -1;
  ClampState(s);
  EXPECT_EQ(s.my.fame, 0);
  EXPECT_EQ(s.unit[kPlayer].tp, 100);
  EXPECT_EQ(s.unit[kPlayer].fullness, 0);
  s.my.fame = 120;
  s.unit[kPlayer].tp = -7;
  s.unit[kPlayer].fullness = 101;
  ClampState(s);
  EXPECT_EQ(s.my.fame, 100);
  EXPECT_EQ(s.unit[kPlayer].tp, 0);
  EXPECT_EQ(s.unit[kPlayer].fullness, 100);
}

TEST_F(ClampTest, ExperienceBeyondTheNextLevelIsLost) {
  s.unit[kPlayer].exp = 500;  // threshold 2*10+50
  ClampState(s);
  EXPECT_EQ(s.unit[kPlayer].exp, 70);
  s.unit[kPlayer].exp = -1;
  ClampState(s);
  EXPECT_EQ(s.unit[kPlayer].exp, 0);
}

TEST_F(ClampTest, AgeFollowsALoweredLifespan) {
  s.unit[kPlayer].age_days = 90;
  s.unit[kPlayer].lifespan_days = 60;
  ClampState(s);
  EXPECT_EQ(s.unit[kPlayer].age_days, 60);
  // Upper bound first, then zero: a negative lifespan leaves age 0, not negative.
  s.unit[kPlayer].lifespan_days = -5;
  ClampState(s);
  EXPECT_EQ(s.unit[kPlayer].age_days, 0);
}

TEST_F(ClampTest, CurrentValuesNeverExceedTheirMaximumNorDropBelowZero) {
  tman& p = s.unit[kPlayer];
  p.hp = 25;
  p.mp = -2;
  ClampState(s);
  EXPECT_EQ(p.hp, 20);
  EXPECT_EQ(p.mp, 0);
  p.max_hp = -5;  // a broken maximum still yields hp 0
  p.hp = 10;
  ClampState(s);
  EXPECT_EQ(p.hp, 0);
}

TEST_F(ClampTest, FlagsHoursAndStats) {
  s.my.flag[104] = 20;
  s.my.flag[107] = -1;
  s.my.hours_used = -3;
  s.unit[kPlayer].strength = -1;
  s.unit[kPlayer].evasion = -9;
  ClampState(s);
  EXPECT_EQ(s.my.flag[104], 8);  // grade 0 + 8
  EXPECT_EQ(s.my.flag[107], 0);
  EXPECT_EQ(s.my.hours_used, 0);
  EXPECT_EQ(s.unit[kPlayer].strength, 0);
  EXPECT_EQ(s.unit[kPlayer].evasion, 0);
  s.my.flag[104] = -4;
  ClampState(s);
  EXPECT_EQ(s.my.flag[104], 0);
}

TEST_F(ClampTest, TheEnemyIsNeverClamped) {
  tman& e = s.unit[1];
  e.hp = 500;
  e.max_hp = 10;
  e.tp = 300;
  e.strength = -4;
  ClampState(s);
  EXPECT_EQ(e.hp, 500);
  EXPECT_EQ(e.tp, 300);
  EXPECT_EQ(e.strength, -4);
}

}  // namespace
