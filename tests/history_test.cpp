// SPDX-License-Identifier: GPL-3.0-or-later
// The message history: its ring, wrapping, scrolling, and the game standing still beneath.
#include <gtest/gtest.h>

#include "core/save.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/history.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "screen_fixture.h"

namespace {

using Rows = std::vector<std::string>;
std::string Kana(int n) { return n > 0 ? J("あ") + Kana(n - 1) : ""; }

struct History : ::testing::Test {
  void SetUp() override {
    r.Start();
    g.GamePhase = 0;
    ShowChoiceAreas(g, true);
    for (int i = 0; i < 305; ++i) LogLine(g, J("行") + Num(i));
    LogColoured(g, Kana(60), "green");  // split in two by the log, one line here
  }
  ScreenRun r;
  Game& g = *r.g;
};

TEST_F(History, KeepsThe300NewestLinesWholeAndWrapsThemToTheWidth) {
  const auto& lines = g.log.history.lines;
  ASSERT_EQ(lines.size(), 300u);
  EXPECT_EQ(lines.front().text, J("行6") + " ");  // padded as the log pads
  EXPECT_EQ(lines.back().text, Kana(60));
  EXPECT_EQ(lines.back().color, 301);
  // 12 px a kana here: 284 px hold 23, continuation rows 22; no closer starts a row, no word breaks.
  Canvas& c = r.Cg();
  c.font.size = 9;
  EXPECT_EQ(WrapText(c, Kana(60), 284, 12), (Rows{Kana(23), Kana(22), Kana(15)}));
  EXPECT_EQ(WrapText(c, Kana(23) + J("。") + Kana(2), 284, 12), (Rows{Kana(22), Kana(1) + J("。") + Kana(2)}));
  EXPECT_EQ(WrapText(c, Kana(22) + "+50%", 284, 12), (Rows{Kana(22), "+50%"}));
}

TEST_F(History, ScrollsWithinItsRowsAndClosesDownPastTheNewest) {
  ASSERT_TRUE(OpenHistory(g));
  const int max = HistoryMaxScroll(g);
  EXPECT_EQ(max, 299 + 3 - kHistoryVisibleRows);
  const int steps[][2] = {{vk::kUp, 1},       {vk::kHome, max},          {vk::kUp, max},
                          {vk::kPageUp, max}, {vk::kPageDown, max - 20}, {vk::kEnd, 0},
                          {vk::kDown, 0}};
  for (const auto& [key, scroll] : steps) {
    EXPECT_TRUE(HistoryKey(g, key));
    EXPECT_EQ(g.log.history.scroll, scroll) << key;
  }
  EXPECT_FALSE(HistoryOpen(g));  // Down at the newest row closed it
  HistoryWheel(g, 2);            // one notch opens, the next scrolls
  EXPECT_EQ(g.log.history.scroll, kHistoryWheelRows);
  HistoryWheel(g, -1);
  EXPECT_FALSE(HistoryKey(g, vk::kM));  // not the history's: sound still toggles
  HistoryWheel(g, -1);
  HistoryWheel(g, -1);  // the wheel down never opens it
  EXPECT_FALSE(HistoryOpen(g));
  for (const char* panel : {"bp_box", "item_box"}) {
    r.W(panel).SetVisible(true);
    EXPECT_FALSE(OpenHistory(g)) << panel;
    r.W(panel).SetVisible(false);
  }
  g.GamePhase = -1;
  EXPECT_FALSE(OpenHistory(g));
}

TEST_F(History, TheWaitOrQuestionBeneathStaysAndNothingMovesOn) {
  g.menu_cancel_allowed = 1;
  std::string save;
  Rng rng;
  auto unchanged = [&](const char* how) {
    EXPECT_FALSE(HistoryOpen(g)) << how;
    EXPECT_TRUE(FormatSaveData(g) == save) << how;                           // the clamp did not run
    EXPECT_EQ(Rng(rng).Random(1 << 30), Rng(g.rng).Random(1 << 30)) << how;  // no shake, no sparks
    EXPECT_EQ(g.screen.ShakeCounter, 8) << how;
    EXPECT_EQ(g.ChoicePending * 10 + g.ChoiceResult + g.menu_cancel_allowed, 11) << how;
  };
  g.screen.ShakeCounter = 8;
  PopText(g, 100, 100, 140, "9");
  g.unit[kPlayer].hp = g.unit[kPlayer].max_hp + 50;
  r.plat.control_held = true;  // Ctrl's skip stops at a question anyway
  r.plat.QueueWheel(1);
  r.plat.QueueAction([&] { save = FormatSaveData(g), rng = g.rng; });
  r.plat.QueueTicks(12);
  for (int key : {int(vk::k1), vk::kSpace}) r.plat.QueueKey(key);
  r.plat.QueueMouseDown("sel2");  // closes without picking
  r.plat.QueueAction([&] { unchanged("click"); });
  r.plat.QueueKey(vk::kH);
  r.plat.QueueMouseDown("cg", 10, 10, MouseButton::Right);  // closes without cancelling
  r.plat.QueueAction([&] { unchanged("right click"); });
  r.plat.QueueKey(vk::kPageUp);
  r.plat.QueueKey(vk::kEscape);
  r.plat.QueueAction([&] { unchanged("Esc"); });
  r.plat.QueueMouseDown("sel3");
  AskChoice(g, "a", "b", "c", "d");
  EXPECT_EQ(g.ChoiceResult, 3);
  EXPECT_EQ(g.shell.DrawPaused, 0);

  // A click wait: Ctrl's skip does not release it beneath, Enter only closes.
  bool waiting = false;
  r.plat.QueueKey(vk::kPageUp);
  r.plat.QueueTicks(6);
  r.plat.QueueKey(vk::kReturn);
  r.plat.QueueAction([&] {
    waiting = g.WaitState == 0 && !HistoryOpen(g);
    r.plat.control_held = false;
  });
  r.plat.QueueMouseDown("cg");
  LogLineWait(g, J("つづく"));
  EXPECT_TRUE(waiting);
}

}  // namespace
