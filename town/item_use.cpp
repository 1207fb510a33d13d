// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/item_use.h"

#include <algorithm>
#include <utility>

#include "battle/hp.h"
#include "core/game.h"
#include "core/items.h"
#include "field/finds.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/item_box.h"
#include "town/shop.h"

namespace {

constexpr int kNoEffect = 99;

void Line(Game& g, const std::string& text) {
  LogColoured(g, text, "aqua");
  WaitForClick(g);
}

// A timed state or bonus of the player set to the item's power, with its sound and line.
void SetState(Game& g, int32_t tman::*field, int32_t p, const char* wave, const char* text) {
  g.unit[kPlayer].*field = p;
  PlayWave(g, kChannelActs, wave);
  Line(g, J(text));
}

void RaiseStat(Game& g, int32_t tman::*field, int32_t p, const char* what) {
  PlayWave(g, kChannelActs, "bp.wav");
  g.unit[kPlayer].*field += p;
  LogColoured(g, J(what) + Num(p) + J("上昇....!"), "pink");
  WaitForClick(g);
}

void Cure(Game& g, int32_t tman::*field, const char* text, bool sparkle) {
  tman& p = g.unit[kPlayer];
  if (p.*field < 1) {
    LogLine(g, J("何も効果がなかった...."));
  } else {
    PlayWave(g, kChannelActs, "kaifuku.wav");
    if (sparkle) PopTextAt(g, kPlayer, 43, "");
    p.*field = 0;
    LogColoured(g, J(text), "aqua");
  }
  WaitForClick(g);
}

// Halves one of the enemy's values (the half truncated, so 7 becomes 4).
void Halve(Game& g, int32_t tman::*field, const char* text) {
  tman& foe = g.unit[g.foe_index];
  foe.*field -= foe.*field / 2;
  PopTextAt(g, g.foe_index, 83, "");
  PlayWave(g, kChannelActs, "down.wav");
  LogLineWait(g, foe.name + J(text));
}

bool FoeInReach(Game& g) { return g.in_battle != 0 && g.foe_index >= 1 && g.foe_index < kUnitCount; }

void Throw(Game& g, int32_t item) {
  const titem& it = g.item_def[item];
  if (!FoeInReach(g)) {
    g.my.item_count[item] += 1;
    LogLineWait(g, "Miss....");
    return;
  }
  const int foe = g.foe_index;
  const int32_t p = it.power;
  PlayWave(g, kChannelHits, "stone.wav");
  LogLineWait(g, J("【") + it.name + J("】を投げた!!"));
  switch (it.kind) {
    case 46: TakeDamage(g, foe, p); break;
    case 47:
      TakeDamage(g, foe, p);
      ChangeHp(g, kPlayer, p);
      PopMove(g, 270, 50, 150, 150, 78);
      PlayWave(g, kChannelActs, "kyuusyuu.wav");
      LogLineWait(g, g.unit[foe].name + J("からHP ") + Num(p) + J("吸収"));
      break;
    case 48: {
      const int32_t divisor = p < 1 ? 10 : p;
      const int32_t amount = g.unit[foe].hp / divisor + 1;
      TakeDamage(g, foe, amount);
      PopTextAt(g, foe, 12, "");
      PlayWave(g, kChannelActs, "m.wav");
      // The line names the HP taken, not the divisor.
      LogLineWait(g, g.unit[foe].name + J("のHP ") + Num(amount) + J("を消失させた"));
      break;
    }
    case 49: Halve(g, &tman::strength, "の攻撃力を半減させた"); break;
    case 50: Halve(g, &tman::defence, "の防御力を半減させた"); break;
    case 51: Halve(g, &tman::hit, "の命中率を半減させた"); break;
    case 52: Halve(g, &tman::evasion, "の回避率を半減させた"); break;
    default: break;
  }
}

// The effects that set a timed state or bonus of the player to the item's power.
struct TimedState {
  int32_t kind;
  int32_t tman::*turns;
  const char* wave;
  const char* text;
};
constexpr TimedState kTimedStates[] = {
    {15, &tman::guard_all, "up2.wav", "ヒーローフィーバー状態になった!!"},
    {16, &tman::find_boost, "up2.wav", "怪盗の才能が一時的に備わった!!"},
    {19, &tman::logic_attack_up_turns, "up2.wav", "一時的に論理攻撃が上昇した!!"},
    {20, &tman::logic_defence_up_turns, "up2.wav", "一時的に論理防御が上昇した!!"},
    {26, &tman::infinite_state_turns, "up.wav", "あなたは一時的に<無限>状態になった!!"},
    {29, &tman::magic_defence_up_turns, "up2.wav", "あなたの魔法防御力が一時的に上昇した!!"},
    {30, &tman::full_state_turns, "up.wav", "あなたは一時的に<満腹>状態になった!!"},
    {31, &tman::heal_state_turns, "up.wav", "あなたは一時的に<癒>状態になった!!"},
    {32, &tman::extra_state_turns, "up.wav", "あなたは一時的に<追加>状態になった!!"},
    {33, &tman::phys_defence_up_turns, "up2.wav", "あなたは一時的に、物理防御力が上昇した!!"},
    {34, &tman::magic_attack_up_turns, "up2.wav", "あなたは一時的に、魔法攻撃力が上昇した!!"},
    {35, &tman::mana_state_turns, "up.wav", "あなたは一時的に<魔>状態になった!!"},
    {36, &tman::spirit_state_turns, "up.wav", "あなたは一時的に<精>状態になった!!"},
    {55, &tman::reflect_turns, "up2.wav", "物理反射状態になった!!"},
};

void Effect(Game& g, int32_t item, int32_t kind, int32_t p) {
  for (const TimedState& s : kTimedStates)
    if (s.kind == kind) return SetState(g, s.turns, p, s.wave, s.text);
  tman& me = g.unit[kPlayer];
  switch (kind) {
    case 0: ChangeHp(g, kPlayer, p); break;
    case 1: ChangeMp(g, kPlayer, p); break;
    case 2: Cure(g, &tman::poison_turns, "体から毒が消えた....!", true); break;
    case 3: Cure(g, &tman::stomachache_turns, "腹痛が治った....!", true); break;
    case 4: ChangeFullness(g, kPlayer, p); break;
    case 5: RaiseStat(g, &tman::hit, p, "器用さが "); break;
    case 6: RaiseStat(g, &tman::max_hp, p, "最大HPが "); break;
    case 7: RaiseStat(g, &tman::max_mp, p, "最大MPが "); break;
    case 8: RaiseStat(g, &tman::strength, p, "力が "); break;
    case 9: RaiseStat(g, &tman::magic, p, "知恵が "); break;
    case 10: RaiseStat(g, &tman::spirit, p, "精神が "); break;
    case 11:
      GainExp(g, g.rng.Random(p));
      WaitForClick(g);
      break;
    case 12:
      me.hp = me.max_hp;
      me.mp = me.max_mp;
      PlayWave(g, kChannelActs, "kaifuku.wav");
      Line(g, J("完全回復した!!"));
      break;
    case 13: RaiseVit(g, kPlayer, p); break;
    case 14:
      ChangeFullness(g, kPlayer, p);
      if (g.rng.Random(2) == 0) {
        PlayWave(g, kChannelUi, "awa.wav");
        LogLineWait(g, J("お腹を壊してしまった...."));
        me.stomachache_turns = g.rng.Random(me.max_hp) + 20;
      }
      break;
    case 17:
      me.tp += p;  // the tick's clamp bounds it
      PlayWave(g, kChannelHits, "kaifuku.wav");
      Line(g, J("TPが ") + Num(p) + J("が増えた"));
      break;
    case 23:
      PlayWave(g, kChannelNews, "time.wav");
      g.my.hours_used -= p;  // may go below 0 until the clock clamps it
      Line(g, J("時間が") + Num(p) + J("時間回復した!!"));
      break;
    case 24: RaiseCookSkill(g, p); break;
    case 25: RaiseExploreSkill(g, p); break;
    case 27:
      Effect(g, item, 6, p);
      Effect(g, item, 7, p);
      break;
    case 28:
      for (int k : {8, 9, 10}) Effect(g, item, k, p);
      break;
    case 37: Cure(g, &tman::paralysis_turns, "体から麻痺が消えた....!", false); break;
    case 38:
      PlayWave(g, kChannelActs, "change.wav");
      std::swap(me.hp, me.mp);  // no clamping: HP may stand above its maximum
      Line(g, J("HPとMPが入れ替わった....!"));
      break;
    case 42: GainMoney(g, p); break;
    case 43:
      PlayWave(g, kChannelUi, "skill.wav");
      me.explore_skill += p;
      LogColoured(g, J("捕獲スキルが ") + Num(p) + J("上昇 → ") + Num(me.explore_skill), "yellow");
      WaitForClick(g);
      break;
    case 44:
      PlayWave(g, kChannelUi, "nigeru.wav");
      g.my.flag[109] += p;
      LogColoured(g, J("距離が ") + Num(p) + J("AU進んだ!!"), "aqua");
      break;
    case 45: break;  // a trap released: nothing happens, the item is spent
    case 46:
    case 47:
    case 48:
    case 49:
    case 50:
    case 51:
    case 52: Throw(g, item); break;
    case 56:
      PlayWave(g, kChannelActs, "up.wav");
      me.age_days -= p;
      PopTextAt(g, kPlayer, 178, "");
      Line(g, J("突然 ") + Num(p) + J("才も若返った→") + Num(me.age_days));
      break;
    case 57:
      PlayWave(g, kChannelActs, "up2.wav");
      me.lifespan_days += p;
      PopTextAt(g, kPlayer, 175, "");
      Line(g, J("なんと寿命が ") + Num(p) + J("年延びた！→") + Num(me.lifespan_days));
      break;
    default: break;
  }
}

}  // namespace

bool ApplyItem(Game& g, int32_t item) {
  if (!ItemExists(g, item)) return false;
  const titem& it = g.item_def[item];
  Show(g, "item_box", false);
  if (it.kind == kNoEffect) {
    LogLine(g, J("何もおきなかった...."));
    WaitForClick(g);
    Show(g, "item_box", true);
    return false;
  }
  g.my.item_count[item] -= 1;
  Effect(g, item, it.kind, it.power);
  ShowItemDetail(g);
  RewriteSelectedEntry(g, item);
  if (g.in_battle == 0) Show(g, "item_box", true);
  return true;
}

void UseItem(Game& g, int32_t item) { ApplyItem(g, item); }

void ChangeFullness(Game& g, int unit, int32_t amount) {
  tman& u = g.unit[unit];
  u.fullness = std::clamp(u.fullness + amount, 0, 100);
  if (amount > 0) {
    PopText(g, 224, 103, 19, Num(amount));
    LogColoured(g, J("お腹が ") + Num(amount) + J("回復"), "aqua");
  } else if (amount < 0) {
    PopText(g, 224, 133, 16, Num(-static_cast<long long>(amount)));
  }
}

void RaiseVit(Game& g, int unit, int32_t amount) {
  tman& u = g.unit[unit];
  u.defence += amount;
  if (amount > 0) LogColoured(g, u.name + J("は vitが ") + Num(amount) + J("上昇した"), "yellow");
  WaitForClick(g);
}

namespace {

void RaiseSkill(Game& g, int32_t tman::*skill, int32_t amount, const char* what) {
  tman& me = g.unit[kPlayer];
  PlayWave(g, kChannelActs, "skill.wav");
  me.*skill += amount;
  if (amount > 0) {
    LogColoured(g, me.name + J(what) + Num(amount) + J("上昇した → ") + Num(me.*skill), "yellow");
  }
  WaitForClick(g);
}

}  // namespace

void RaiseCookSkill(Game& g, int32_t amount) { RaiseSkill(g, &tman::cook_skill, amount, "は 料理スキルが "); }
void RaiseExploreSkill(Game& g, int32_t amount) { RaiseSkill(g, &tman::explore_skill, amount, "は 探索スキルが "); }
