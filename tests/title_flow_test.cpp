// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/save.h"
#include "core/scene.h"
#include "platform/events.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "shell/keys.h"
#include "shell/timer.h"
#include "shell/title.h"
#include "tests/shell_fixture.h"
#include "town/character.h"

namespace {

constexpr Rgb kSplash{200, 0, 0};
constexpr Rgb kTitle{0, 200, 0};
constexpr Rgb kHomeColour{0, 0, 200};

struct TitleTest : ::testing::Test {
  void SetUp() override {
    run.WritePicture("00.bmp", kSplash);
    run.WritePicture("title.bmp", kTitle);
    run.WritePicture("haikei01.bmp", kHomeColour);
  }
  Game& g() { return *run.g; }
  bool Visible(const char* name) { return run.W(name).Visible(); }
  Rgb CgAt(int x, int y) { return run.plat.PictureOf("cg")->Pixel(x, y); }
  GameState Saved() {
    GameState s;
    ParseSaveData(s, run.SaveBytes());
    return s;
  }
  GameRun run;
};

TEST_F(TitleTest, FirstRunCreatesTheCharacterThenStartsPlayAndSaves) {
  auto& p = run.plat;
  p.QueueTicks(2);
  p.QueueAction([&] {
    EXPECT_EQ(g().GamePhase, -2);
    EXPECT_EQ(CgAt(150, 150), kSplash);
    EXPECT_FALSE(Visible("sel1"));
    EXPECT_FALSE(Visible("bp_box"));
  });
  p.QueueMouseDown("cg", 10, 10);
  p.QueueTicks(1);
  p.QueueAction([&] {
    EXPECT_EQ(g().GamePhase, -1);
    EXPECT_TRUE(Visible("bp_box"));
    EXPECT_TRUE(Visible("name_box"));
    EXPECT_TRUE(Visible("sel4"));
    EXPECT_EQ(run.W("bp_box").Bounds().left, 0);
    EXPECT_EQ(g().unit[kPlayer].bp, 6);
    EXPECT_EQ(g().my.money, 300);
  });
  for (int i = 0; i < 7; ++i) p.QueueMouseDown("l_btn1");
  p.QueueMouseDown("cg");   // ignored while the panel is open
  p.QueueKey(vk::kReturn);  // so is Enter
  p.QueueTicks(1);
  p.QueueAction([&] {
    EXPECT_EQ(g().unit[kPlayer].strength, 7);
    EXPECT_EQ(g().unit[kPlayer].bp, 0);
    EXPECT_EQ(run.W("bp_l").Caption(), J("のこりBP: 0"));
    EXPECT_EQ(g().GamePhase, -1);
  });
  p.QueueText("name_l", J("ポム"));
  p.QueueMouseDown("l_btn8");
  p.QueueTicks(2);
  p.QueueAction([&] {
    EXPECT_FALSE(Visible("bp_box"));
    EXPECT_FALSE(Visible("name_box"));
    EXPECT_EQ(g().unit[kPlayer].name, J("ポム"));
    EXPECT_EQ(CgAt(150, 150), kTitle);  // the title shows once the panel is gone
    EXPECT_EQ(Saved().my.flag[0], 0);
  });
  p.QueueMouseDown("cg");
  p.QueueTicks(2);
  p.QueueAction([&] {
    EXPECT_EQ(g().GamePhase, 0);
    EXPECT_EQ(g().my.flag[0], 1);
    EXPECT_EQ(g().my.play_count, 1);
    EXPECT_EQ(g().my.location, kHome);
    GameState s = Saved();
    EXPECT_EQ(s.my.flag[0], 1);
    EXPECT_EQ(s.unit[kPlayer].name, J("ポム"));
    EXPECT_EQ(s.unit[kPlayer].strength, 7);
  });
  p.QueueClose();
  run.Run();
  EXPECT_EQ(g().WaitState, -1);
}

TEST_F(TitleTest, ReturningPlayerGoesStraightFromTitleToPlay) {
  {
    GameState s;
    s.my.flag[0] = 1;
    s.my.play_count = 4;
    s.unit[kPlayer].name = J("ヘッド");
    std::ofstream(run.dir / "dat" / "my.dat", std::ios::binary) << FormatSaveData(s);
  }
  auto& p = run.plat;
  p.QueueKey(vk::kReturn);  // Enter is a left click at (0, 0) before play
  p.QueueTicks(1);
  p.QueueAction([&] {
    EXPECT_EQ(g().GamePhase, -1);
    EXPECT_FALSE(Visible("bp_box"));
    EXPECT_EQ(CgAt(150, 150), kTitle);
  });
  p.QueueMouseDown("cg", 0, 0, MouseButton::Right);  // either button leaves the title
  p.QueueTicks(1);
  p.QueueAction([&] {
    EXPECT_EQ(g().GamePhase, 0);
    EXPECT_EQ(g().my.play_count, 5);
    EXPECT_EQ(g().unit[kPlayer].name, J("ヘッド"));
  });
  p.QueueKey(vk::kReturn);  // Enter does nothing during play
  p.QueueKey(vk::kF1);
  p.QueueClose();
  run.Run();
  EXPECT_EQ(g().GamePhase, 0);
  EXPECT_TRUE(run.plat.questions.empty());
  EXPECT_EQ(Saved().my.play_count, 5);  // saved on closing
}

TEST_F(TitleTest, ResetDialogAsksThreeQuestionsAndResetsOnlyOnNoAtTheLast) {
  const std::string q1 = J("おっと、初期化したい？") + "\r\n" + J("今までの記録とか消えるけどいい？)");
  const std::string q2 = J("本当に消えるけどいい？)");
  const std::string q3 = J("では初期化する場合は「いいえ」を選択してね)");
  run.Start();
  auto fresh_save = [&] {
    g().my.flag[0] = 1;
    g().my.money = 12345;
    ASSERT_TRUE(Save(g()));
    run.plat.questions.clear();
    run.plat.messages.clear();
  };

  fresh_save();
  run.plat.QueueDialogAnswer(false);
  FormKeyDown(g(), vk::kF1);
  EXPECT_EQ(run.plat.questions, std::vector<std::string>{q1});
  EXPECT_EQ(Saved().my.money, 12345);

  fresh_save();
  run.plat.QueueDialogAnswer(true);
  run.plat.QueueDialogAnswer(false);
  FormKeyDown(g(), vk::kF1);
  EXPECT_EQ(run.plat.questions, (std::vector<std::string>{q1, q2}));
  EXPECT_EQ(Saved().my.money, 12345);

  fresh_save();
  for (bool a : {true, true, true}) run.plat.QueueDialogAnswer(a);
  FormKeyDown(g(), vk::kF1);
  EXPECT_EQ(run.plat.questions, (std::vector<std::string>{q1, q2, q3}));
  EXPECT_EQ(Saved().my.money, 12345);  // "yes" at the last question keeps the game
  EXPECT_TRUE(run.plat.messages.empty());

  fresh_save();
  for (bool a : {true, true, false}) run.plat.QueueDialogAnswer(a);
  FormKeyDown(g(), vk::kF1);
  EXPECT_EQ(run.plat.questions.size(), 3u);
  EXPECT_EQ(run.plat.messages, std::vector<std::string>{J("初期化完了....")});
  GameState s = Saved();
  EXPECT_EQ(s.my.money, 300);
  EXPECT_EQ(s.my.flag[0], 0);  // the next start creates a character again
  EXPECT_EQ(g().GamePhase, -2);
}

TEST_F(TitleTest, TheTitleClickCountsOverTheInvisibleButtonAreas) {
  // A first run shows sel1..sel4 with the panel; after OK they still cover the bottom
  // right of the title, where a click must start play like anywhere else.
  run.Start();
  ClickAt(g(), 0, 0, false);
  ASSERT_TRUE(Visible("sel4"));
  run.events.selMouseDown(4, MouseButton::Left, 50, 10);  // the panel is open: ignored
  EXPECT_EQ(g().GamePhase, -1);
  LabelMouseDown(g(), 8);
  run.events.selMouseDown(4, MouseButton::Left, 50, 10);
  EXPECT_EQ(g().GamePhase, 0);
  EXPECT_EQ(g().my.flag[0], 1);
}

TEST_F(TitleTest, F1OutsideTheSplashDoesNothing) {
  run.Start();
  ClickAt(g(), 0, 0, false);
  ASSERT_EQ(g().GamePhase, -1);
  FormKeyDown(g(), vk::kF1);
  EXPECT_TRUE(run.plat.questions.empty());
}

TEST_F(TitleTest, RightClickCancelsOnlyAnArmedChoice) {
  run.Start();
  g().GamePhase = 0;
  g().ChoicePending = 1;
  g().WaitState = 1;

  g().menu_cancel_allowed = 1;
  ClickAt(g(), 0, 0, false);  // a left click never cancels
  EXPECT_EQ(g().ChoicePending, 1);
  ClickAt(g(), 0, 0, true);
  EXPECT_EQ(g().ChoicePending, 0);
  EXPECT_EQ(g().ChoiceResult, 5);
  EXPECT_EQ(g().menu_cancel_allowed, 0);
  EXPECT_EQ(g().log.ChoiceActive, 0);

  // The battle's flag counts only in battle.
  g().ChoicePending = 1;
  g().ChoiceResult = 0;
  g().cancel_allowed = 1;
  ClickAt(g(), 0, 0, true);
  EXPECT_EQ(g().ChoicePending, 1);
  g().in_battle = 1;
  ClickAt(g(), 0, 0, true);
  EXPECT_EQ(g().ChoicePending, 0);
  EXPECT_EQ(g().ChoiceResult, 5);
  EXPECT_EQ(g().cancel_allowed, 0);
}

TEST_F(TitleTest, ClicksReleaseAWaitBeforeTheyCountAsTitleClicks) {
  run.Start();
  g().WaitState = 0;  // a script waits for a click on the splash
  ClickAt(g(), 0, 0, false);
  EXPECT_EQ(g().WaitState, 1);
  EXPECT_EQ(g().GamePhase, -2);
  ClickAt(g(), 0, 0, false);
  EXPECT_EQ(g().GamePhase, -1);
}

TEST_F(TitleTest, TheItemBoxSwallowsClicks) {
  run.Start();
  run.W("item_box").SetVisible(true);
  run.events.cgMouseDown(MouseButton::Left, 0, 0);
  ClickAt(g(), 0, 0, false);
  EXPECT_EQ(g().GamePhase, -2);
}

TEST_F(TitleTest, ClosingEndsEveryWaitThenSaves) {
  run.Start();
  g().my.money = 777;
  g().ChoicePending = 1;
  run.plat.CloseWindow();
  EXPECT_EQ(g().WaitState, -1);
  EXPECT_EQ(g().ChoicePending, 0);
  EXPECT_EQ(Saved().my.money, 777);
  WaitForClick(g());  // returns at once
}

}  // namespace
