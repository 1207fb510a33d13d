// SPDX-License-Identifier: GPL-3.0-or-later
// A long automated session on a thread with a small stack: random valid input drives
// the title, character creation and thousands of scene transfers. Every scene starts
// at the same stack depth, so however long play goes the stack does not grow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

#include "core/scene.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "tests/shell_fixture.h"
#include "tests/small_stack.h"

namespace {

struct SessionStats {
  StackSpan stack;
  int hops_left = 0;
  int64_t asks = 0, talks = 0, hops = 0, inputs = 0;
  std::string failure;  // first broken invariant
};
SessionStats* stats = nullptr;

void Track() { stats->stack.Mark(); }

void Ask(Game& g);

// Moves on at once, as a field menu handing over to the next one does.
void Hop(Game& g) {
  Track();
  ++stats->hops;
  if (--stats->hops_left > 0) {
    Transfer(g, Hop);
  } else {
    Transfer(g, Ask);
  }
}

void Talk(Game& g) {
  Track();
  ++stats->talks;
  LogTalkWait(g, J("「いらっしゃい！」"));
  LogLineWait(g, J("お客さんが来た"));
  Transfer(g, Ask);
}

void Ask(Game& g) {
  Track();
  ++stats->asks;
  LogLine(g, J("どうする？"));
  g.menu_cancel_allowed = 1;
  AskChoice(g, J("はなす"), "", J("もどる"), J("とぶ"));
  g.menu_cancel_allowed = 0;
  switch (g.ChoiceResult) {
    case 1: Transfer(g, Talk); break;
    case 4:
      stats->hops_left = 200;
      Transfer(g, Hop);
      break;
    default:  // 3, a right-click cancel (5), or the window closing
      Transfer(g, Ask);
      break;
  }
}

void CheckInvariants(Game& g) {
  auto fail = [&](const char* what) {
    if (stats->failure.empty()) stats->failure = what;
  };
  if (g.FrameCounter < 0 || g.FrameCounter > 999) fail("FrameCounter out of range");
  if (g.GamePhase < -2 || g.GamePhase > 0) fail("GamePhase out of range");
  if (g.GamePhase == 0 && g.my.flag[0] != 1) fail("playing without a character");
  if (g.unit[kPlayer].bp < 0) fail("negative bonus points");
  if (g.ChoicePending != 0 && g.ChoicePending != 1) fail("ChoicePending not a flag");
  // Real play (the shop, the night) moves money and fame, but only within their bounds.
  if (g.my.fame < 0 || g.my.fame > 100 || g.my.money > 999999999) fail("purse or fame out of range");
}

struct Session {
  GameRun run;
  SessionStats s;
  std::mt19937 rnd{20240601};
  bool scenes_started = false;
  int64_t target_scenes = 0;

  void Input() {
    Game& g = *run.g;
    auto& p = run.plat;
    CheckInvariants(g);
    ++s.inputs;
    if (g.GamePhase == 0 && !scenes_started) {
      scenes_started = true;
      Transfer(g, Ask);
    }
    if (g.shell.scenes_run >= target_scenes) {
      p.QueueClose();
      return;
    }
    const int r = static_cast<int>(rnd() % 100);
    const int k4 = 1 + static_cast<int>(rnd() % 4);
    if (r < 30) {
      p.QueueMouseDown("sel" + std::to_string(k4), 5, 5, rnd() % 8 ? MouseButton::Left : MouseButton::Right);
    } else if (r < 50) {
      p.QueueMouseDown("cg", static_cast<int>(rnd() % 300), static_cast<int>(rnd() % 300),
                       rnd() % 6 ? MouseButton::Left : MouseButton::Right);
    } else if (r < 62) {
      Widget* box = p.FindWidget("bp_box");
      Widget* items = p.FindWidget("item_box");
      if (box && box->Visible()) {
        p.QueueMouseDown("l_btn" + std::to_string(1 + rnd() % 8));
      } else if (items && items->Visible()) {
        p.QueueMouseDown("l_btn9");  // >BACK
      } else {
        p.QueueMouseMove("sel" + std::to_string(k4));
      }
    } else if (r < 70) {
      p.QueueMouseMove("l_btn" + std::to_string(1 + rnd() % 8));
    } else if (r < 75) {
      p.QueueMouseMove("cg", 10, 10);
    } else if (r < 80) {
      p.QueueKey(vk::kReturn);
    } else if (r < 83) {
      p.QueueKey(vk::kSpace);
    } else if (r < 86) {
      p.QueueText("name_l", rnd() % 2 ? J("ぽむりえ") : "");
    } else {
      p.QueueTicks(1 + static_cast<int>(rnd() % 3));
    }
  }
};

void RunSession(Session* session) {
  stats = &session->s;
  session->run.plat.SetIdleHandler([session] { session->Input(); });
  session->run.Run();
  stats = nullptr;
}

TEST(Session, ThousandsOfTransfersRunOnASmallStack) {
  auto session = std::make_unique<Session>();
  session->target_scenes = 30000;

  ASSERT_TRUE(RunOnSmallStack([&] { RunSession(session.get()); }));

  const SessionStats& s = session->s;
  Game& g = *session->run.g;
  EXPECT_EQ(s.failure, "");
  EXPECT_EQ(g.GamePhase, 0);
  EXPECT_EQ(g.my.flag[0], 1);
  EXPECT_GE(g.shell.scenes_run, 30000);
  EXPECT_GT(s.inputs, 2000);
  EXPECT_GT(s.asks, 100);
  EXPECT_GT(s.talks, 20);
  EXPECT_GT(s.hops, 10000);
  // Every scene began at the loop's depth (frame layouts of the scenes differ by a
  // few bytes); 30000 nested calls would have spread over megabytes.
  EXPECT_LE(s.stack.Spread(), 1024u) << "stack grew by " << s.stack.Spread() << " bytes";
}

}  // namespace
