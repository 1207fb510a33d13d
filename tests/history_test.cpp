// The message history: the ring of 300 whole lines, wrapping, scroll bounds, where it
// may open, and that the game beneath stands still while it is open.
#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/history.h"
#include "screen_fixture.h"
#include "shell/save.h"

namespace {

std::string Kana(int n, const char* ch = "あ") {
  std::string s;
  for (int i = 0; i < n; ++i) s += J(ch);
  return s;
}

class History : public ::testing::Test {
 protected:
  void SetUp() override {
    r.Start();
    r.g->GamePhase = 0;
    ShowChoiceAreas(*r.g, true);
  }
  ScreenRun r;
};

TEST_F(History, KeepsThe300NewestLinesWholeAndWrapsThemToTheWidth) {
  Game& g = *r.g;
  for (int i = 0; i < 305; ++i) LogLine(g, J("行") + Num(i));
  LogColoured(g, Kana(60), "green");  // split in two by the log, one line here
  const auto& lines = g.log.history.lines;
  ASSERT_EQ(lines.size(), 300u);
  EXPECT_EQ(lines.front().text, J("行6") + " ");  // odd lengths padded as the log pads them
  EXPECT_EQ(lines.back().text, Kana(60));
  EXPECT_EQ(lines.back().color, 301);
  EXPECT_NE(g.MessageLog[0].text, Kana(60));

  // The headless face is 12 px a kana: 284 px hold 23, continuation rows 22.
  Canvas& c = r.Cg();
  c.font.size = 9;
  EXPECT_EQ(WrapText(c, Kana(60), 284, 12), (std::vector<std::string>{Kana(23), Kana(22), Kana(15)}));
  // A closing mark never starts a row: the character before it goes down with it.
  EXPECT_EQ(WrapText(c, Kana(23) + J("。") + Kana(2), 284, 12),
            (std::vector<std::string>{Kana(22), Kana(1) + J("。") + Kana(2)}));
  // Nor does a row break inside a word of single-byte characters.
  EXPECT_EQ(WrapText(c, Kana(22) + "+50%", 284, 12), (std::vector<std::string>{Kana(22), "+50%"}));
  EXPECT_EQ(WrapText(c, "", 284, 12), (std::vector<std::string>{""}));
}

TEST_F(History, ScrollsWithinItsRowsAndClosesDownPastTheNewest) {
  Game& g = *r.g;
  for (int i = 0; i < 299; ++i) LogLine(g, J("行") + Num(i));
  LogLine(g, Kana(60));  // three rows
  ASSERT_TRUE(OpenHistory(g));
  EXPECT_FALSE(OpenHistory(g));
  EXPECT_EQ(g.log.history.rows.size(), 302u);
  const int max = HistoryMaxScroll(g);
  EXPECT_EQ(max, 302 - kHistoryVisibleRows);
  struct Step {
    int key, scroll;
  } const steps[] = {{vk::kUp, 1}, {vk::kHome, max}, {vk::kUp, max}, {vk::kPageUp, max},
                     {vk::kPageDown, max - 20}, {vk::kEnd, 0}, {vk::kDown, 0}};
  for (const Step& s : steps) {
    EXPECT_TRUE(HistoryKey(g, s.key));
    EXPECT_EQ(g.log.history.scroll, s.scroll) << s.key;
  }
  EXPECT_FALSE(HistoryOpen(g));  // Down at the newest row closed it

  HistoryWheel(g, 2);  // one notch opens, the next scrolls
  EXPECT_TRUE(HistoryOpen(g));
  EXPECT_EQ(g.log.history.scroll, kHistoryWheelRows);
  HistoryWheel(g, -1);
  EXPECT_EQ(g.log.history.scroll, 0);
  EXPECT_FALSE(HistoryKey(g, vk::kM));  // not the history's: sound still toggles
  HistoryWheel(g, -1);
  EXPECT_FALSE(HistoryOpen(g));
  HistoryWheel(g, -1);  // the wheel down never opens it
  EXPECT_FALSE(HistoryOpen(g));

  // Never over the panels, nor before play.
  for (const char* panel : {"bp_box", "item_box"}) {
    r.W(panel).SetVisible(true);
    EXPECT_FALSE(OpenHistory(g)) << panel;
    r.W(panel).SetVisible(false);
  }
  g.GamePhase = -1;
  EXPECT_FALSE(OpenHistory(g));
}

TEST_F(History, TheWaitOrQuestionBeneathStaysAndNothingMovesOn) {
  Game& g = *r.g;
  for (int i = 0; i < 40; ++i) LogLine(g, J("行") + Num(i));
  g.menu_cancel_allowed = 1;
  std::string save;
  Rng rng;
  int shake = 0;
  auto capture = [&] {
    save = FormatSaveData(g);
    rng = g.rng;
    shake = g.screen.ShakeCounter;
  };
  auto unchanged = [&](const char* when) {
    EXPECT_FALSE(HistoryOpen(g)) << when;
    EXPECT_TRUE(FormatSaveData(g) == save) << when;  // the whole save, bytes alike
    Rng copy = rng;
    EXPECT_EQ(copy.Random(1 << 30), Rng(g.rng).Random(1 << 30)) << when;  // no draw was made
    EXPECT_EQ(g.screen.ShakeCounter, shake) << when;
    EXPECT_EQ(g.ChoicePending, 1) << when;
    EXPECT_EQ(g.ChoiceResult, 0) << when;
    EXPECT_EQ(g.menu_cancel_allowed, 1) << when;
  };
  r.plat.QueueAction([&] {
    g.screen.ShakeCounter = 8;  // shaking and sparks draw from the generator every tick
    PopText(g, 100, 100, 140, "9");
    g.unit[kPlayer].hp = g.unit[kPlayer].max_hp + 50;  // the clamp would trim it
  });
  r.plat.QueueWheel(1);
  r.plat.QueueAction([&] {
    capture();
    r.plat.control_held = true;
  });
  r.plat.QueueTicks(12);
  r.plat.QueueMouseMove("sel1");
  r.plat.QueueKey(vk::k1);
  r.plat.QueueKey(vk::kSpace);
  r.plat.QueueMouseDown("sel2");  // closes without picking
  r.plat.QueueAction([&] { unchanged("click"); });
  r.plat.QueueKey(vk::kH);
  r.plat.QueueMouseDown("cg", 10, 10, MouseButton::Right);  // closes without cancelling
  r.plat.QueueAction([&] { unchanged("right click"); });
  r.plat.QueueKey(vk::kPageUp);
  r.plat.QueueKey(vk::kEscape);
  r.plat.QueueAction([&] {
    unchanged("Esc");
    EXPECT_EQ(g.shell.DrawPaused, 0);
    r.plat.control_held = false;
  });
  r.plat.QueueMouseDown("sel3");
  AskChoice(g, "a", "b", "c", "d");
  EXPECT_EQ(g.ChoiceResult, 3);

  // A click wait: Ctrl's skip does not release it beneath, Enter only closes.
  bool waiting_after = false;
  r.plat.QueueKey(vk::kPageUp);
  r.plat.QueueAction([&] { r.plat.control_held = true; });
  r.plat.QueueTicks(6);
  r.plat.QueueAction([&] { r.plat.control_held = false; });
  r.plat.QueueKey(vk::kReturn);
  r.plat.QueueAction([&] { waiting_after = g.WaitState == 0 && !HistoryOpen(g); });
  r.plat.QueueMouseDown("cg");
  LogLineWait(g, J("つづく"));
  EXPECT_TRUE(waiting_after);
  EXPECT_EQ(g.WaitState, 1);
}

}  // namespace
