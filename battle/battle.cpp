// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/battle.h"

#include "battle/action.h"
#include "battle/charms.h"
#include "battle/damage.h"
#include "battle/hp.h"
#include "core/game.h"
#include "core/item_numbers.h"
#include "core/scene.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/item_box.h"

namespace {

// A queued turn of a battle that has already ended (or a closing window) does nothing.
bool BattleRuns(const Game& g) { return g.WaitState != -1 && g.in_battle == 1; }

// Charms that tick at the start of the player's turn: MP, HP and TP by one.
void CharmTicks(Game& g) {
  if (g.rng.Random(20) == 0 && Owns(g, kMpTickCharm)) {
    ChangeMp(g, kPlayer, 1);
    MaybeBreak(g, kMpTickCharm, 100);
  }
  if (g.rng.Random(20) == 0 && Owns(g, kHpTickCharm)) {
    ChangeHp(g, kPlayer, 1);
    MaybeBreak(g, kHpTickCharm, 100);
  }
  if (g.rng.Random(20) == 0 && Owns(g, kTpTickCharm)) {
    ChangeTp(g, kPlayer, 1);
    MaybeBreak(g, kTpTickCharm, 100);
  }
}

// The turn is over: the other side moves unless the battle has ended.
void PassTurn(Game& g, void (*next)(Game&)) {
  if (CheckBattleEnd(g) == 0) Transfer(g, next);
}

// A fainted unit loses this turn.
bool SleepsThrough(Game& g, int unit, void (*next)(Game&)) {
  tman& u = g.unit[unit];
  if (u.faint_turns < 1) return false;
  u.faint_turns = 0;
  LogLineWait(g, u.name + J("は気絶して動けなかった"));
  g.cancel_allowed = 0;
  PassTurn(g, next);
  return true;
}

// The magic list; true when a technique was chosen (or the menu left), false to ask again.
bool MagicMenu(Game& g) {
  g.cancel_allowed = 1;
  const std::string unknown = J("？？？？");
  AskChoice(g, Owns(g, kEmpressStaff) ? J("ヒール(MP-1)") : unknown, J("ヴァハ(MP-1)"), J("ためる(TP-10)"), "");
  g.cancel_allowed = 0;
  if (g.ChoiceResult == 1 && g.log.ChoiceResultCaption == unknown) return false;
  switch (g.ChoiceResult) {
    case 1: Action(g, kPlayer, kPlayer, kHeal); return true;
    case 2: Action(g, kPlayer, kFoe, kVaha); return true;
    case 3: Action(g, kPlayer, kPlayer, kCharge); return true;
    case 4:
    case 5: return false;  // a gap or the right-click cancel: the command menu again
    default: return true;
  }
}

}  // namespace

void PlayerTurn(Game& g) {
  if (!BattleRuns(g)) return;
  PlayWave(g, kChannelActs, "turn.wav");
  LogLine(g, J("あなたのこうげき"));
  CharmTicks(g);
  if (g.unit[kPlayer].fullness <= 10) {
    LogColoured(g, J("お腹が減ってフラフラする HP-1"), "red");
    LoseHp(g, kPlayer, 1);
  }
  PoisonTick(g, kPlayer);
  // Hunger or poison may have ended the battle: a fallen player gives no orders.
  if (CheckBattleEnd(g) != 0) return;
  if (SleepsThrough(g, kPlayer, EnemyTurn)) return;
  Transfer(g, CommandMenu);
}

void CommandMenu(Game& g) {
  if (!BattleRuns(g)) return;
  const std::string special = J("ひっさつ");
  for (;;) {
    if (g.WaitState == -1) break;
    g.ChoiceResult = -1;
    AskChoice(g, g.unit[kPlayer].tp >= 100 ? special : J("こうげき"), J("まほう"), J("アイテム"), "");
    if (g.ChoiceResult == 1) {
      Action(g, kPlayer, kFoe, g.log.ChoiceResultCaption == special ? kSpecial : kAttack);
      break;
    }
    if (g.ChoiceResult == 2) {
      if (MagicMenu(g)) break;
      continue;
    }
    if (g.ChoiceResult == 3) {
      // The item box takes over: BattleItemUsed or BattleItemBack continues the battle.
      if (Widget* use = g.plat.FindWidget("l_btn10")) use->SetCaption(J("使う"));
      ShowItemList(g);
      return;
    }
    break;
  }
  g.cancel_allowed = 0;
  PassTurn(g, EnemyTurn);
}

void EnemyTurn(Game& g) {
  if (!BattleRuns(g)) return;
  LogLine(g, g.unit[kFoe].name + J("のこうげき"));
  PoisonTick(g, kFoe);
  // A monster that poison has felled does not strike back.
  if (CheckBattleEnd(g) != 0) return;
  if (SleepsThrough(g, kFoe, PlayerTurn)) return;
  Action(g, kFoe, kPlayer, PickEnemyTechnique(g, kFoe));
  PassTurn(g, PlayerTurn);
}

void BattleItemUsed(Game& g) {
  if (!BattleRuns(g)) return;
  // A thrown item may have beaten the monster: it must not strike back from 0 HP.
  PassTurn(g, EnemyTurn);
}

void BattleItemBack(Game& g) {
  if (!BattleRuns(g)) return;
  Transfer(g, CommandMenu);
}
