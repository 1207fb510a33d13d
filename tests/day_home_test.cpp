// SPDX-License-Identifier: GPL-3.0-or-later
// The home menu: destinations by exploration skill, the cancel, the way out.
#include <gtest/gtest.h>

#include "tests/day_fixture.h"
#include "town/home.h"

namespace {

TEST(DayHome, DestinationsOpenWithTheExplorationSkill) {
  struct Case {
    int32_t skill;
    bool grass, sea, cave;
  } cases[] = {{0, false, false, false}, {4, false, false, false}, {5, true, false, false}, {9, true, false, false},
               {10, true, true, false},  {14, true, true, false},  {15, true, true, true}};
  for (const Case& c : cases) {
    DayRun d;
    d.g.unit[kPlayer].explore_skill = c.skill;
    d.Answer({"たんけん"});
    d.Play(HomeMenu);
    EXPECT_EQ(d.g.ChoiceCaption[1], J("もり"));
    EXPECT_EQ(d.g.ChoiceCaption[2].empty(), !c.grass) << c.skill;
    EXPECT_EQ(d.g.ChoiceCaption[3].empty(), !c.sea) << c.skill;
    EXPECT_EQ(d.g.ChoiceCaption[4].empty(), !c.cave) << c.skill;
  }
}

TEST(DayHome, CancellingTheDestinationSpendsNoTimeAndAsksAgain) {
  DayRun d;
  d.Answer({"たんけん", kCancel.c_str()});
  d.Play(HomeMenu);
  Game& g = d.g;
  EXPECT_TRUE(d.Logged("どこいく？"));
  EXPECT_EQ(d.questions, 3);  // home, destination, home again
  EXPECT_EQ(g.ChoiceCaption[1], J("たんけん"));
  EXPECT_EQ(g.my.hours_used, 0);
  EXPECT_EQ(g.unit[kPlayer].fullness, 100);
  EXPECT_EQ(g.menu_cancel_allowed, 0);
}

TEST(DayHome, TheForestAndTheShopAreReachedThroughTheSceneLoop) {
  DayRun d;
  d.Answer({"たんけん", "もり"});
  d.Play(HomeMenu);
  EXPECT_TRUE(d.Logged("....トコトコ"));
  EXPECT_TRUE(d.Logged("森につきましたー"));
  EXPECT_EQ(d.g.my.location, 0);
  EXPECT_EQ(d.g.my.hours_used, 0);  // the way out costs no time

  DayRun e;
  e.Answer({"お店へ"});
  e.Play(HomeMenu);
  EXPECT_EQ(e.g.my.location, kShop);
  EXPECT_TRUE(e.Logged("いつも商品の無いお菓子屋さんだよ"));
  EXPECT_EQ(e.g.ChoiceCaption[1], J("待つ"));  // the shop asked
  EXPECT_EQ(e.g.my.hours_used, 0);
}

}  // namespace
