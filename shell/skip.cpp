// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/skip.h"

#include "core/game.h"
#include "presentation/history.h"
#include "presentation/log.h"

void SkipTick(Game& g) {
  if (!g.plat.ControlHeld() || HistoryOpen(g)) return;
  if (g.GamePhase < 0 || g.WaitState != 0 || g.ChoicePending != 0) return;
  if (IsShown(g, "bp_box") || IsShown(g, "item_box")) return;
  const int64_t now = g.plat.NowMs();
  if (now - g.shell.LastSkipMs < kSkipPaceMs) return;
  g.shell.LastSkipMs = now;
  ReleaseClickWait(g);
}
