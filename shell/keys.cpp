// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/keys.h"

#include "core/game.h"
#include "platform/events.h"
#include "presentation/history.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "shell/settings.h"
#include "shell/title.h"

namespace {

// A number key picks the button it names, only while that button is offered;
// a gap or a button already sliding out does nothing.
void PickChoiceByKey(Game& g, int k) {
  if (g.GamePhase < 0 || g.ChoicePending != 1 || g.log.ChoiceActive != 1) return;
  if (g.ChoiceCaption[k].empty() || IsShown(g, "bp_box") || IsShown(g, "item_box")) return;
  SelMouseDown(g, k, MouseButton::Left);
}

void ResizePicture(Game& g, int step) {
  const int scale = g.plat.WindowScale() + step;
  if (scale < kMinScale || scale > kMaxScale) return;
  g.plat.SetWindowScale(scale);
  SaveSettings(g);
}

}  // namespace

void FormKeyDown(Game& g, int key) {
  if (HistoryKey(g, key)) return;
  if (!HistoryOpen(g) && (key == vk::kPageUp || key == vk::kH)) {
    OpenHistory(g);
    return;
  }
  switch (key) {
    case vk::kReturn:
      // The click on the opening and title screens; in play it ends a click wait,
      // exactly as a click on the picture does.
      ClickAt(g, 0, 0, false);
      break;
    case vk::kEscape:
      if (g.GamePhase >= 0) ClickAt(g, 0, 0, true);
      break;
    case vk::kSpace:
      if (g.GamePhase == 0) {
        PlayWave(g, kChannelActs, "1.wav");
        g.shell.DrawPaused = 1 - g.shell.DrawPaused;
      }
      break;
    case vk::kF1:
      if (g.GamePhase == -2) ResetDialog(g);
      break;
    case vk::k1:
    case vk::k1 + 1:
    case vk::k1 + 2:
    case vk::k1 + 3: PickChoiceByKey(g, key - vk::k1 + 1); break;
    case vk::kM:
      SetMuted(g, !g.sound.muted);
      SaveSettings(g);
      break;
    case vk::kB:
      SetMusicOn(g, !g.sound.music.on);
      SaveSettings(g);
      break;
    case vk::kPlus: ResizePicture(g, +1); break;
    case vk::kMinus: ResizePicture(g, -1); break;
    case vk::kF11: g.plat.SetFullScreen(!g.plat.FullScreen()); break;
    default: break;
  }
}
