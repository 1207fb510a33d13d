// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/action.h"

#include <vector>

#include "battle/attacks.h"
#include "battle/battle_state.h"
#include "battle/charms.h"
#include "battle/damage.h"
#include "battle/hp.h"
#include "core/game.h"
#include "core/item_numbers.h"
#include "field/finds.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/clock.h"

namespace {

// The monster's technique was anything but a blow: the player's amulets heal a little.
void CharmHeals(Game& g) {
  struct Amulet {
    int32_t item, heal, one_in;
  };
  static constexpr Amulet kAmulets[] = {{147, 1, 30}, {148, 2, 20}, {149, 3, 10}};
  for (const Amulet& a : kAmulets) {
    if (!Owns(g, a.item)) continue;
    LogLine(g, g.item_def[a.item].name + J("＞回復"));
    ChangeHp(g, kPlayer, a.heal);
    MaybeBreak(g, a.item, a.one_in);
  }
}

// Poison or paralysis for 10..19 of the target's turns.
void Afflict(Game& g, int target, int32_t tman::*counter, const char* sound, int kind, const char* line) {
  tman& t = g.unit[target];
  PlayWave(g, kChannelActs, sound);
  PopTextAt(g, target, kind, "");
  t.*counter = 10 + g.rng.Random(10);
  LogColoured(g, t.name + J(line), "pink2");
  WaitForClick(g);
}

// A player's technique may wear out the charm that powers it.
void WearCharm(Game& g, int actor, int32_t item, int32_t one_in) {
  if (actor == kPlayer && g.rng.Random(one_in) == 0 && Owns(g, item)) BreakItem(g, item);
}

void Effect(Game& g, int actor, int target, int32_t technique) {
  tman& a = g.unit[actor];
  tman& t = g.unit[target];
  switch (technique) {
    case 0: PhysicalAttack(g, actor, target, g.rng.Random(2)); break;
    case 1:
      LogLineWait(g, a.name + J("はぼうぎょのかまえ"));
      PlayWave(g, kChannelHits, "bougyo.wav");
      PopTextAt(g, actor, 57, "");
      a.guard_turns = 1;
      break;
    case 2: {
      const int32_t n = g.rng.Random(2) + a.spirit + a.level / 5 + 1;
      ChangeHp(g, actor, n);
      PlayWave(g, kChannelActs, "kaifuku.wav");
      LogColoured(g, J("HPが ") + Num(n) + J("回復した!!"), "aqua");
      WaitForClick(g);
      WearCharm(g, actor, kEmpressStaff, 30);
      break;
    }
    case 3:
      PlayWave(g, kChannelActs, "hissatu.wav");
      LogLineWait(g, a.name + J("はひっさつのかまえ"));
      PhysicalAttack(g, actor, target, a.strength + 1);
      break;
    case 4:
      PlayWave(g, kChannelActs, "mondou.wav");
      DebateAttack(g, actor, target, g.rng.Random(2));
      break;
    case 5:
      LogLineWait(g, J("どこからともなく恐ろしい声が響いた!!"));
      PlayWave(g, kChannelNews, "dragon.wav");
      PopTextAt(g, actor, 12, "");
      PopTextAt(g, target, 12, "");
      a.hp /= 2;
      t.hp /= 2;
      LogLineWait(g, J("お互いのHPが半減した!!"));
      WearCharm(g, actor, 120, 20);
      break;
    case 6: Afflict(g, target, &tman::poison_turns, "awa.wav", 33, "を毒化させた!!"); break;
    case 7:
      LogLineWait(g, a.name + J("は次の攻撃に力を集中させた！"));
      PlayWave(g, kChannelHits, "up.wav");
      PopTextAt(g, actor, 120, "");
      a.power_state_turns += 1;
      break;
    case 8:
      if (!Hits(g, HitChance(g, actor, target), 100)) {
        Miss(g, target);
      } else {
        Damage(g, actor, target, t.max_hp / 10);
      }
      break;
    case 9:
      PlayWave(g, kChannelHits, "magic.wav");
      PopTextAt(g, target, 51, "");
      MagicAttack(g, actor, target, g.rng.Random(2));
      WearCharm(g, actor, 240, 30);
      break;
    case 10: LogLineWait(g, a.name + J("は何かの呪文を詠唱している....")); break;
    case 11:
      PlayWave(g, kChannelHits, "bress.wav");
      PopTextAt(g, target, 251, "");
      Damage(g, actor, target, a.max_hp - a.hp);
      WearCharm(g, actor, 242, 20);
      break;
    case 12:
      PlayWave(g, kChannelHits, "damage3.wav");
      PopTextAt(g, target, 75, "");
      PhysicalAttack(g, actor, target, 0);
      if (g.rng.Random(2) == 0) {
        t.faint_turns = 1;
        LogColoured(g, t.name + J("は気絶してしまった"), "pink2");
        WaitForClick(g);
      }
      break;
    case 13: ArrowAttack(g, actor, target, g.rng.Random(2)); break;
    case 14: HolyAttack(g, actor, target, g.rng.Random(2)); break;
    case 15: {
      const int32_t n = std::max(a.magic - t.spirit, 2);
      PopTextAt(g, target, 78, "");
      PlayWave(g, kChannelActs, "kyuusyuu.wav");
      TakeDamage(g, target, n);
      ChangeHp(g, actor, n);
      LogLine(g, t.name + J("からHPを ") + Num(n) + J("吸収!!"));
      WaitForClick(g);
      break;
    }
    case 16:
      PlayWave(g, kChannelActs, "ken.wav");
      PhysicalAttack(g, actor, target, t.max_hp / 10 + 1);
      LogColoured(g, J("＞暗黒ダメージ"), "pink2");
      TakeDamage(g, actor, a.max_hp);
      break;
    case 17:
      PhysicalAttack(g, actor, target, g.rng.Random(2));
      PhysicalAttack(g, actor, target, g.rng.Random(2));
      break;
    case 18: ThrowAttack(g, actor, target, g.rng.Random(2)); break;
    case 19: {
      PopTextAt(g, target, 12, "");
      const int32_t n = t.max_hp / 2 + 1;
      TakeDamage(g, target, n);
      LogLine(g, t.name + J("に ") + Num(n) + J("ダメージ!!"));
      WaitForClick(g);
      break;
    }
    case 20: Afflict(g, target, &tman::paralysis_turns, "slow.wav", 44, "を麻痺化させた!!"); break;
    case 21: GunAttack(g, actor, target, g.rng.Random(2)); break;
    default: break;
  }
}

}  // namespace

bool TechniqueExists(const Game& g, int32_t technique) {
  return technique >= 0 && technique < kWazaCount && !g.waza_def[technique].name.empty();
}

void Action(Game& g, int actor, int target, int32_t technique) {
  if (g.WaitState == -1) return;
  g.battle.current_action = technique;
  const twaza none{};
  const twaza& w = technique >= 0 && technique < kWazaCount ? g.waza_def[technique] : none;
  tman& a = g.unit[actor];

  LogColoured(g, J("＞") + w.name, "blue");
  WaitForClick(g);
  if (a.mp < w.mp_cost) {
    PlayWave(g, kChannelUi, "no.wav");
    LogLineWait(g, J("MPが足りなかった...."));
    return;
  }
  a.mp -= w.mp_cost;
  // The MP already paid stays spent when the TP falls short.
  if (a.tp < w.tp_cost) {
    PlayWave(g, kChannelUi, "no.wav");
    LogLineWait(g, J("tpが足りなかった...."));
    return;
  }
  a.tp -= w.tp_cost;
  if (a.paralysis_turns > 0 && g.rng.Random(3) == 0) {
    LogLineWait(g, J("麻痺で動けなかった....."));
    return;
  }
  Effect(g, actor, target, technique);
  if (actor != kPlayer && technique != kAttack && technique != kFlick) CharmHeals(g);
}

int32_t PickEnemyTechnique(Game& g, int monster_unit) {
  const tman& m = g.unit[monster_unit];
  // Drawing a slot until it holds a technique never ends for a monster with none;
  // choosing among the slots that do is the same draw, and bounded.
  int valid[4];
  int count = 0;
  for (int i = 0; i < 4; ++i) {
    if (TechniqueExists(g, m.waza[i])) valid[count++] = i;
  }
  int32_t technique = count > 0 ? m.waza[valid[g.rng.Random(count)]] : kAttack;
  if (g.rng.Random(6) == 0) technique = kFlick;
  if (technique == kAttack && m.tp > 99) technique = kSpecial;
  return technique;
}
