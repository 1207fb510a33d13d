// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/events.h"
#include "platform/text.h"
#include "shell/keys.h"
#include "shell/timer.h"
#include "shell/title.h"
#include "tests/shell_fixture.h"

namespace {

struct TimerTest : ::testing::Test {
  void SetUp() override { run.Start(); }

  // One second of the clock with `ticks` ticks in it; the last tick passes the check.
  void Second(int ticks) {
    const int64_t due = g().shell.NextSecond;
    run.plat.SetNowMs(due - 1);
    for (int i = 0; i < ticks - 1; ++i) Timer1Timer(g());
    run.plat.SetNowMs(due + 1);
    Timer1Timer(g());
  }
  // Plays one drawing tick with money over its bound; true when the tick clamped.
  bool TickClamps() {
    g().my.money = 2000000000;
    Timer1Timer(g());
    return g().my.money == 999999999;
  }
  Game& g() { return *run.g; }
  GameRun run;
};

TEST_F(TimerTest, StartsAtNinetyMilliseconds) { EXPECT_EQ(run.plat.TimerInterval(), 90); }

TEST_F(TimerTest, RateAdaptsOncePerSecondTowardElevenOrTwelveTicks) {
  Second(14);
  EXPECT_EQ(run.plat.TimerInterval(), 92);
  EXPECT_EQ(g().shell.TicksThisSecond, 0);
  EXPECT_EQ(g().shell.NextSecond, run.plat.NowMs() + 1000);
  Second(9);
  EXPECT_EQ(run.plat.TimerInterval(), 89);
  Second(11);
  Second(12);
  EXPECT_EQ(run.plat.TimerInterval(), 89);
  Second(13);
  EXPECT_EQ(run.plat.TimerInterval(), 90);
  Second(10);
  EXPECT_EQ(run.plat.TimerInterval(), 88);
}

TEST_F(TimerTest, ShorteningNeverGoesBelowSeventy) {
  run.plat.SetTimerInterval(72);
  Second(9);  // would be 69
  EXPECT_EQ(run.plat.TimerInterval(), 72);
  Second(10);  // exactly 70 is allowed
  EXPECT_EQ(run.plat.TimerInterval(), 70);
  Second(1);
  EXPECT_EQ(run.plat.TimerInterval(), 70);
  Second(20);  // lengthening has no bound
  EXPECT_EQ(run.plat.TimerInterval(), 78);
}

TEST_F(TimerTest, NoCheckBeforeTheSecondHasPassed) {
  run.plat.SetNowMs(g().shell.NextSecond);  // reached, not passed
  for (int i = 0; i < 30; ++i) Timer1Timer(g());
  EXPECT_EQ(run.plat.TimerInterval(), 90);
  EXPECT_EQ(g().shell.TicksThisSecond, 30);
}

TEST_F(TimerTest, FrameCounterWrapsAfter999) {
  g().FrameCounter = 998;
  Timer1Timer(g());
  EXPECT_EQ(g().FrameCounter, 999);
  Timer1Timer(g());
  EXPECT_EQ(g().FrameCounter, 0);
}

TEST_F(TimerTest, DrawSpeedSkipsEveryThirdOrFourthTick) {
  g().GamePhase = 0;
  const struct {
    int speed;
    std::vector<int> skipped;
  } cases[] = {{0, {}}, {1, {0, 4, 8, 12}}, {2, {0, 3, 6, 9, 12}}};
  for (const auto& c : cases) {
    g().my.draw_speed = c.speed;
    g().FrameCounter = 999;
    for (int frame = 0; frame <= 12; ++frame) {
      const bool skip = std::find(c.skipped.begin(), c.skipped.end(), frame) != c.skipped.end();
      EXPECT_EQ(TickClamps(), !skip) << "speed " << c.speed << " frame " << frame;
      EXPECT_EQ(g().FrameCounter, frame);
    }
  }
}

TEST_F(TimerTest, SpacePausesDrawingAndClampingOnlyDuringPlay) {
  FormKeyDown(g(), vk::kSpace);  // splash: no effect
  EXPECT_EQ(g().shell.DrawPaused, 0);
  g().GamePhase = 0;
  FormKeyDown(g(), vk::kSpace);
  EXPECT_EQ(g().shell.DrawPaused, 1);
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(TickClamps());
  EXPECT_EQ(g().FrameCounter, 5);  // animation time still runs
  FormKeyDown(g(), vk::kSpace);
  EXPECT_EQ(g().shell.DrawPaused, 0);
  EXPECT_TRUE(TickClamps());
}

TEST_F(TimerTest, SplashAndTitleTicksNeverClamp) {
  EXPECT_EQ(g().GamePhase, -2);
  EXPECT_FALSE(TickClamps());
  g().GamePhase = -1;
  EXPECT_FALSE(TickClamps());
}

TEST_F(TimerTest, BonusPointCaptionFollowsThePlayerEveryTick) {
  run.W("bp_box").SetVisible(true);
  g().unit[kPlayer].bp = 4;
  Timer1Timer(g());
  EXPECT_EQ(run.W("bp_l").Caption(), J("のこりBP: 4"));
  g().unit[kPlayer].bp = -1;
  Timer1Timer(g());
  EXPECT_EQ(run.W("bp_l").Caption(), J("のこりBP: -1"));
}

TEST(TimerRule, SkipsTickTable) {
  EXPECT_FALSE(SkipsTick(0, 0));
  EXPECT_TRUE(SkipsTick(1, 0));
  EXPECT_FALSE(SkipsTick(1, 3));
  EXPECT_TRUE(SkipsTick(1, 996));
  EXPECT_TRUE(SkipsTick(2, 999));
  EXPECT_FALSE(SkipsTick(2, 998));
  EXPECT_FALSE(SkipsTick(3, 0));  // unknown speeds draw every tick
}

}  // namespace
