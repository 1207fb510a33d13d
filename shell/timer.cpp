// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/timer.h"

#include <algorithm>

#include "core/game.h"
#include "platform/text.h"
#include "presentation/history.h"
#include "presentation/music.h"
#include "presentation/screen.h"
#include "town/cooking.h"

namespace {

constexpr int kMinIntervalMs = 70;
constexpr int kTargetTicks = 12;  // t >= 13 lengthens, t <= 10 shortens

void RefreshCg(Game& g) {
  if (Widget* cg = g.plat.FindWidget("cg")) cg->Refresh();
}

}  // namespace

bool SkipsTick(int draw_speed, int frame_counter) {
  return (draw_speed == 1 && frame_counter % 4 == 0) || (draw_speed == 2 && frame_counter % 3 == 0);
}

void AdaptTimerRate(Game& g) {
  const int64_t now = g.plat.NowMs();
  if (now <= g.shell.NextSecond) return;
  g.shell.NextSecond = now + 1000;
  const int t = g.shell.TicksThisSecond;
  const int interval = g.plat.TimerInterval();
  if (t > kTargetTicks) {
    g.plat.SetTimerInterval(interval + (t - kTargetTicks));
  } else if (t <= 10) {
    const int shorter = interval - (kTargetTicks - t);
    if (shorter >= kMinIntervalMs) g.plat.SetTimerInterval(shorter);
  }
  g.shell.TicksThisSecond = 0;
}

void Timer1Timer(Game& g) {
  g.shell.TicksThisSecond += 1;
  UpdateMusic(g);
  g.FrameCounter += 1;
  if (g.FrameCounter > 999) g.FrameCounter = 0;

  const bool bp_box = IsShown(g, "bp_box");
  if (g.GamePhase == -1 && !bp_box) {
    DrawTitle(g);
    RefreshCg(g);
  } else {
    if (bp_box) {
      if (Widget* l = g.plat.FindWidget("bp_l")) l->SetCaption(J("のこりBP: ") + Num(g.unit[kPlayer].bp));
    }
    const bool skipped = SkipsTick(g.my.draw_speed, g.FrameCounter) || g.shell.DrawPaused == 1;
    if (g.GamePhase >= 0 && HistoryOpen(g)) {
      // Only the history is drawn: the game beneath stands still, clamp included.
      DrawHistory(g);
      RefreshCg(g);
    } else if (g.GamePhase >= 0 && !skipped) {
      StepFrame(g);
      DrawFrame(g);
      ClampState(g);
      RefreshCg(g);
      RefreshRecipeTexts(g);
    }
  }
  AdaptTimerRate(g);
}
