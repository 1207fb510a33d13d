// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/battle_end.h"

#include <algorithm>

#include "battle/battle.h"
#include "battle/charms.h"
#include "battle/hp.h"
#include "core/game.h"
#include "core/item_numbers.h"
#include "field/finds.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/home.h"
#include "town/item_use.h"
#include "town/shop.h"

namespace {

void LogRed(Game& g, const std::string& text) { LogColoured(g, text, "red"); }

// A revival item brings the player back from 0 HP; the battle goes on.
void Revive(Game& g, int32_t item, int32_t part) {
  tman& p = g.unit[kPlayer];
  PlayWave(g, kChannelActs, "gameover.wav");
  LogRed(g, J("あなたは死んでしまった...."));
  BreakItem(g, item);
  LogLineWait(g, "....!?");
  PlayWave(g, kChannelActs, "kaifuku.wav");
  // From exactly 0, so the recovery always leaves the player standing.
  p.hp = std::max(p.hp, 0);
  ChangeHp(g, kPlayer, p.max_hp / part + 1);
  ChangeMp(g, kPlayer, p.max_mp / part + 1);
  LogLineWait(g, J("なんとあなたは死の淵から蘇った!!"));
}

void ClearTimedStatuses(tman& p) {
  for (int32_t* counter :
       {&p.extra_state_turns, &p.attack_up_turns, &p.phys_defence_up_turns, &p.magic_attack_up_turns,
        &p.magic_defence_up_turns, &p.find_boost, &p.full_state_turns, &p.reflect_turns, &p.guard_all,
        &p.stomachache_turns, &p.poison_turns, &p.paralysis_turns, &p.faint_turns, &p.infinite_state_turns}) {
    *counter = 0;
  }
}

void Die(Game& g) {
  tman& p = g.unit[kPlayer];
  p.hp = 0;
  p.mp = 0;
  p.tp = 0;
  ChangeFullnessQuiet(g, kPlayer, 50);
  PlayWave(g, kChannelActs, "gameover.wav");
  LogRed(g, J("あなたは死んでしまった...."));
  ClearTimedStatuses(p);
  const int32_t lost = g.my.money > 0 ? 1 + g.rng.Random(g.my.money) : 1;
  g.my.money -= lost;
  LogRed(g, J("お金を ") + Num(lost) + J("円失ってしまった.."));
  WaitForClick(g);
  if (p.lifespan_days > 19) {
    p.lifespan_days -= 5;
    LogRed(g, J("寿命が 5日減ってしまった.."));
    WaitForClick(g);
  }
  p.hp = 1;
  p.exp /= 2;
  PassTime(g, 99);  // the day is over
  g.unit[kFoe].name.clear();
  BattleCleanup(g);
}

void EatOrSkin(Game& g) {
  const tman& m = g.unit[kFoe];
  AskChoice(g, "", J("たべる"), J("はぎとる"), "");
  if (g.ChoiceResult == 2) {
    LogLine(g, m.name + J("を焼いて食べた"));
    PlayWave(g, kChannelActs, "taberu.wav");
    ChangeFullness(g, kPlayer, 5 + g.rng.Random(10));
    WaitForClick(g);
  } else if (g.ChoiceResult == 3) {
    GainItem(g, m.drop);
  }
}

int32_t VictoryMoney(Game& g) {
  struct Purse {
    int32_t item, per_copy, one_in;
  };
  static constexpr Purse kPurses[] = {{9, 10, 10}, {11, 5, 20}, {111, 5, 30}};
  int32_t f = 1 + g.rng.Random(4);
  for (const Purse& c : kPurses) {
    if (!Owns(g, c.item)) continue;
    f += c.per_copy * g.my.item_count[c.item];
    MaybeBreak(g, c.item, c.one_in);
  }
  if (g.unit[kFoe].name == J("人食いボックス")) f += 10;
  return f;
}

// The bonus-point panel for the new point; no RESET after a level-up.
void OpenLevelUpPanel(Game& g) {
  g.level_up_bp = 1;
  Show(g, "l_btn7", false);
  Show(g, "l_btn7_cg", false);
  if (Widget* box = g.plat.FindWidget("bp_box")) {
    box->SetBounds(0, 0, box->Bounds().Width(), box->Bounds().Height());
    box->SetVisible(true);
    box->BringToFront();
  }
}

void LevelUp(Game& g) {
  tman& p = g.unit[kPlayer];
  PlayWave(g, kChannelHits, "bom3.wav");
  p.level += 1;
  p.bp += 1;
  p.exp = 0;  // the surplus is not carried over
  if (p.level >= p.level_peak) p.level_peak = p.level;
  for (int kind : {189, 190, 191}) PopTextAt(g, kPlayer, kind, "");
  LogColoured(g, J("うわっ、レベルが上がって ") + Num(p.level) + J("になった！"), "yellow");
  WaitForClick(g);

  const int32_t n = p.spirit / 5 >= 5 ? 6 : p.spirit / 5 + 2;
  p.max_hp += n;
  p.hp = p.max_hp;
  PlayWave(g, kChannelActs, "up2.wav");
  LogColoured(g, J("最大HPが ") + Num(n) + J("も増えたよ？！"), "yellow");
  WaitForClick(g);

  const int32_t m = std::min(p.magic / 10 + (p.magic > 4 ? 1 : 0), 3);
  p.max_mp += m;
  p.mp = p.max_mp;
  p.fullness = 100;
  if (m > 0) {
    PlayWave(g, kChannelNews, "up2.wav");
    LogColoured(g, J("最大MPが ") + Num(m) + J("も増えたよ？！"), "yellow");
    WaitForClick(g);
  }
  OpenLevelUpPanel(g);
}

void Victory(Game& g) {
  tman& m = g.unit[kFoe];
  tman& p = g.unit[kPlayer];
  m.hp = 0;
  m.map_active = 0;
  PopText(g, 150, 150, 160, "");
  PopText(g, 150, 150, 158, "");
  PlayWave(g, kChannelUi, "hakai.wav");
  LogLine(g, m.name + J("をやっつけた"));
  EatOrSkin(g);
  GainExp(g, ExpForLevelGap(m.level - p.level) + g.rng.Random(2));
  GainMoney(g, VictoryMoney(g));
  WaitForClick(g);
  if (p.exp >= ExpToLevelUp(p.level)) LevelUp(g);
  BattleCleanup(g);
}

}  // namespace

int32_t ExpForLevelGap(int32_t d) {
  static constexpr int32_t kByGap[] = {1, 2, 3, 4, 5, 6, 10, 15, 20, 33, 40, 50, 66, 75, 80};  // d = -4..10
  if (d <= -5 || d >= 100) return 0;
  if (d > 10) return 99;
  return kByGap[d + 4];
}

int CheckBattleEnd(Game& g) {
  if (g.unit[kPlayer].hp < 1) {
    if (Owns(g, kSaintStatue)) {
      Revive(g, kSaintStatue, 10);
    } else if (Owns(g, kSecondLife)) {
      Revive(g, kSecondLife, 3);
    } else {
      Die(g);
      return 1;
    }
  }
  const tman& m = g.unit[kFoe];
  if (m.hp < 1 && g.in_battle == 1 && !m.name.empty()) {
    Victory(g);
    return 2;
  }
  return 0;
}

void BattleCleanup(Game& g) {
  tman& m = g.unit[kFoe];
  m.name.clear();
  m.map_active = 0;
  g.in_battle = 0;
  g.foe_index = -1;
  g.unit[kPlayer].power_state_turns = 0;
  g.unit[kPlayer].faint_turns = 0;
  ReturnToPlace(g);
}
