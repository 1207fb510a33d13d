// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/text.h"
#include "shell/title.h"
#include "tests/shell_fixture.h"
#include "town/character.h"

namespace {

struct CharacterTest : ::testing::Test {
  void SetUp() override {
    run.Start();
    ClickAt(g(), 0, 0, false);  // splash -> title with the panel (no save yet)
    ASSERT_TRUE(run.W("bp_box").Visible());
  }
  Game& g() { return *run.g; }
  tman& player() { return g().unit[kPlayer]; }
  GameRun run;
};

TEST_F(CharacterTest, EachStatButtonRaisesItsOwnStat) {
  int32_t tman::*const stats[] = {&tman::strength, &tman::defence, &tman::magic,
                                  &tman::spirit,   &tman::hit,     &tman::evasion};
  for (int k = 1; k <= 6; ++k) {
    const int before = player().*stats[k - 1];
    LabelMouseDown(g(), k);
    EXPECT_EQ(player().*stats[k - 1], before + 1) << "l_btn" << k;
  }
  EXPECT_EQ(player().bp, 0);
  LabelMouseDown(g(), 2);
  EXPECT_EQ(player().defence, 1);
}

TEST_F(CharacterTest, ResetRestoresEveryNewGameValue) {
  for (int i = 0; i < 4; ++i) LabelMouseDown(g(), 3);
  g().my.money = 5;
  g().my.fame = 99;
  g().my.item_count[17] = 3;
  g().my.orders[4].item = 12;
  g().my.flag[100] = 1;
  g().my.flag[101] = 1;  // beyond the new-game flags
  g().level_up_bp = 1;
  LabelMouseDown(g(), 7);
  EXPECT_EQ(player().bp, 6);
  EXPECT_EQ(player().magic, 0);
  EXPECT_EQ(player().strength, 1);
  EXPECT_EQ(player().hp, 20);
  EXPECT_EQ(player().mp, 1);
  EXPECT_EQ(player().lifespan_days, 100);
  EXPECT_EQ(player().map_x, 19);
  EXPECT_EQ(g().my.money, 300);
  EXPECT_EQ(g().my.fame, 50);
  EXPECT_EQ(g().my.day_hours, 10);
  EXPECT_EQ(g().my.item_count[17], 0);
  EXPECT_EQ(g().my.orders[4].item, -1);
  EXPECT_EQ(g().my.flag[100], 0);
  EXPECT_EQ(g().my.flag[101], 1);
  EXPECT_EQ(g().level_up_bp, 0);
  EXPECT_TRUE(run.W("bp_box").Visible());
}

TEST_F(CharacterTest, OkKeepsUnspentPointsAndNamesThePlayer) {
  for (int i = 0; i < 4; ++i) LabelMouseDown(g(), 5);
  run.W("name_l").SetText(J("ぽむ"));
  LabelMouseDown(g(), 8);
  EXPECT_FALSE(run.W("bp_box").Visible());
  EXPECT_FALSE(run.W("name_box").Visible());
  EXPECT_EQ(player().bp, 2);
  EXPECT_EQ(player().hit, 4);
  EXPECT_EQ(g().my.player_name, J("ぽむ"));
  EXPECT_EQ(player().name, J("ぽむ"));
}

TEST_F(CharacterTest, AnEmptyNameBecomesHead) {
  LabelMouseDown(g(), 8);
  EXPECT_EQ(player().name, J("ヘッド"));
}

TEST_F(CharacterTest, LineBreaksCannotReachTheSaveFile) {
  run.W("name_l").SetText(J("ぽ") + "\r\n" + J("む") + "\t");
  LabelMouseDown(g(), 8);
  EXPECT_EQ(player().name, J("ぽむ"));
  run.W("bp_box").SetVisible(true);
  g().my.flag[0] = 0;
  run.W("name_l").SetText("\r\n");
  LabelMouseDown(g(), 8);
  EXPECT_EQ(player().name, J("ヘッド"));
}

TEST_F(CharacterTest, OkAfterALevelUpLeavesTheNameAlone) {
  LabelMouseDown(g(), 8);
  g().my.flag[0] = 1;
  g().level_up_bp = 1;
  run.W("bp_box").SetVisible(true);
  run.W("name_l").SetText(J("べつ"));
  LabelMouseDown(g(), 8);
  EXPECT_EQ(player().name, J("ヘッド"));
  EXPECT_EQ(g().level_up_bp, 0);
}

TEST_F(CharacterTest, HoverMovesTheHighlightAndSoundsOncePerLabel) {
  // Each key.wav draws its channel from the generator, so the draws count the sounds.
  auto same_position = [](Rng a, Rng b) { return a.Random(1 << 30) == b.Random(1 << 30); };
  Rng before = g().rng;
  LabelMouseMove(g(), 1);
  EXPECT_EQ(g().shell.HoveredLabel, "l_btn1");
  Rng one_sound = before;
  one_sound.Random(4);
  EXPECT_TRUE(same_position(g().rng, one_sound));
  LabelMouseMove(g(), 1);  // within the same label: silent
  EXPECT_TRUE(same_position(g().rng, one_sound));
  LabelMouseMove(g(), 2);
  EXPECT_EQ(g().shell.HoveredLabel, "l_btn2");
  EXPECT_FALSE(same_position(g().rng, one_sound));
  run.events.bp_boxMouseMove(5, 5);  // onto the panel's background
  EXPECT_EQ(g().shell.HoveredLabel, "");
  Rng after_clear = g().rng;
  LabelMouseMove(g(), 2);  // entering again after leaving sounds again
  EXPECT_FALSE(same_position(g().rng, after_clear));
}

TEST_F(CharacterTest, StartPlayClearsTheCancelFlagsAndTheLog) {
  g().cancel_allowed = 1;
  g().menu_cancel_allowed = 1;
  g().level_up_bp = 1;
  g().MessageLog[0].text = "x";
  StartPlay(g());
  EXPECT_EQ(g().cancel_allowed, 0);
  EXPECT_EQ(g().menu_cancel_allowed, 0);
  EXPECT_EQ(g().level_up_bp, 0);
  EXPECT_EQ(g().MessageLog[0].text, "");
}

}  // namespace
