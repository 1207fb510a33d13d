// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/title.h"

#include "core/game.h"
#include "core/save.h"
#include "core/scene.h"
#include "platform/events.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "shell/layout.h"
#include "town/character.h"
#include "town/home.h"

namespace {

// A right-click ends a cancellable choice with answer 5.
void CancelChoice(Game& g) {
  PlayWave(g, kChannelUi, "back.wav");
  StartCancelBlink(g);
  g.log.ChoiceActive = 0;
  g.ChoicePending = 0;
  g.ChoiceResult = 5;
  g.WaitState = 1;
}

void LeaveSplash(Game& g) {
  PlayWave(g, kChannelUi, "start.wav");
  g.GamePhase = -1;
  ShowCg(g, "title.bmp");
  if (g.my.flag[0] == 0) {
    ShowChoiceAreas(g, true);
    NewGame(g);
    OpenCharacterCreation(g);
  }
}

}  // namespace

void BeginPlay(Game& g) {
  ShowChoiceAreas(g, true);
  g.GamePhase = 0;
  g.my.play_count += 1;
  ResetScreenState(g);
  StartPlay(g);
  if (g.my.flag[0] == 0) {
    g.my.flag[0] = 1;
    if (Save(g)) PlaySaveSound(g);
  }
  Transfer(g, HomeMenu);
}

void ClickAt(Game& g, int /*x*/, int /*y*/, bool right) {
  if (IsShown(g, "item_box")) return;
  if (right && g.in_battle == 1 && g.ChoicePending == 1 && g.cancel_allowed == 1) {
    g.cancel_allowed = 0;
    CancelChoice(g);
    return;
  }
  if (right && g.ChoicePending == 1 && g.menu_cancel_allowed == 1) {
    g.menu_cancel_allowed = 0;
    CancelChoice(g);
    return;
  }
  if (IsShown(g, "bp_box")) return;
  if (ReleaseClickWait(g)) return;
  if (g.GamePhase == -2) {
    LeaveSplash(g);
  } else if (g.GamePhase == -1) {
    BeginPlay(g);
  }
}

void ResetDialog(Game& g) {
  PlayWave(g, kChannelUi, "1.wav");
  if (!g.plat.AskYesNo(J("おっと、初期化したい？") + "\r\n" + J("今までの記録とか消えるけどいい？)"))) return;
  if (!g.plat.AskYesNo(J("本当に消えるけどいい？)"))) return;
  if (g.plat.AskYesNo(J("では初期化する場合は「いいえ」を選択してね)"))) return;
  NewGame(g);
  if (Save(g)) PlaySaveSound(g);
  g.plat.ShowMessage(J("初期化完了...."));
}
