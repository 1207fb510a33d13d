// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/attacks.h"

#include <algorithm>

#include "battle/battle_state.h"
#include "battle/charms.h"
#include "battle/damage.h"
#include "battle/hp.h"
#include "core/game.h"
#include "core/item_numbers.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/sound.h"

namespace {

constexpr int32_t kSpecialAction = 3;  // ひっさつ

// The stat roll every formula shares: uniform 0..(s div 2 - 1) + s.
int32_t StatRoll(Game& g, int32_t s) { return g.rng.Random(s / 2) + s; }

void LowerDefence(tman& t) {
  if (t.defence > 0) t.defence -= 1;
}

// The player's charms, in the order they apply.
constexpr FractionCharm kPhysicalAttackCharms[] = {{88, 10, 90}, {89, 9, 80}, {90, 8, 70}, {91, 7, 60},  {92, 6, 50},
                                                   {93, 5, 40},  {94, 4, 30}, {95, 3, 20}, {96, 10, 90}, {142, 10, 80}};
constexpr FractionCharm kPhysicalDefenceCharms[] = {{78, 10, 70}, {79, 9, 60}, {80, 8, 50},  {81, 7, 40},
                                                    {82, 6, 30},  {83, 5, 20}, {139, 10, 70}};
constexpr StepCharm kPhysicalHitCharms[] = {{151, 10, 80}, {152, 20, 70}, {153, 30, 60}, {154, 40, 50}};
constexpr StepCharm kPhysicalEvasionCharms[] = {{171, -10, 70}, {172, -20, 60}, {173, -30, 50}};
constexpr StepCharm kCriticalCharms[] = {{163, -2, 80}, {164, -4, 70}, {165, -6, 60}};
constexpr FractionCharm kMagicAttackCharms[] = {{143, 10, 70}, {144, 9, 60}, {145, 8, 50}, {146, 7, 40}};
constexpr FractionCharm kMagicDefenceCharms[] = {{84, 10, 70}, {85, 8, 60},   {86, 6, 50},
                                                 {87, 4, 40},  {140, 10, 70}, {141, 9, 60}};
constexpr StepCharm kMagicHitCharms[] = {{155, 10, 50}, {156, 20, 40}, {157, 30, 30}, {158, 50, 20}};
constexpr StepCharm kResistCharms[] = {{169, -4, 50}, {170, -6, 40}};

// A sword's extra blow: a line, the blow, and the sword may break.
void SwordBlow(Game& g, int attacker, int target, int32_t item, const char* line, int32_t x) {
  LogLine(g, J(line));
  Damage(g, attacker, target, x);
  MaybeBreak(g, item, 30);
}

// What follows a physical hit of x: extra blows, drains, poison and damage returned.
void PhysicalFollowUps(Game& g, int attacker, int target, int32_t x) {
  const bool player_attacks = attacker == kPlayer;
  const int32_t m = x / 2;
  const int32_t o = m + 1;
  if (g.unit[attacker].extra_state_turns > 0) {
    LogLine(g, J("＞追加攻撃"));
    Damage(g, attacker, target, o);
  }
  if (player_attacks) {
    if (Owns(g, kMongooseSword) && g.rng.Random(5) == 0)
      SwordBlow(g, attacker, target, kMongooseSword, "マングースのけん＞追加攻撃", o);
    if (Owns(g, kDragonSword) && g.rng.Random(5) == 0)
      SwordBlow(g, attacker, target, kDragonSword, "竜剣＞追加攻撃", o);
    if (Owns(g, kCentipedeSword) && g.rng.Random(5) == 0) {
      const int times = 1 + g.rng.Random(3);
      for (int i = 0; i < times; ++i) SwordBlow(g, attacker, target, kCentipedeSword, "むかでのけん＞追加攻撃", o);
    }
    if (Owns(g, kBatSword)) {
      LogLine(g, J("コウモリのけん＞吸収"));
      ChangeHp(g, kPlayer, 1);
      g.unit[target].hp -= 1;
      MaybeBreak(g, kBatSword, 70);
    }
    if (Owns(g, kGnomeSword)) {
      LogLine(g, J("ノームのけん＞防御ダウン"));
      LowerDefence(g.unit[target]);
      MaybeBreak(g, kGnomeSword, 60);
    }
    if (Owns(g, kCourageSword)) {
      LogLine(g, J("勇気の剣＞回復"));
      ChangeHp(g, kPlayer, 1);
      MaybeBreak(g, kCourageSword, 40);
    }
    if (g.rng.Random(5) == 0 && g.unit[target].poison_turns == 0 && Owns(g, kPoisonHood)) {
      g.unit[target].poison_turns = 20;
      PlayWave(g, kChannelUi, "awa.wav");
      PopTextAt(g, target, 33, "");
      LogColoured(g, g.unit[target].name + J("を毒化させた"), "pink2");
      WaitForClick(g);
      MaybeBreak(g, kPoisonHood, 30);
    }
  }
  if (target == kPlayer && Owns(g, kThornCloak)) {
    LogLine(g, J("いばらのマント＞ダメージ返し"));
    TakeDamage(g, attacker, m);
    MaybeBreak(g, kThornCloak, 40);
  }
  if (g.unit[target].reflect_turns > 0) {
    LogLine(g, J("＞反射"));
    TakeDamage(g, attacker, m);
  }
}

// The hit roll of the ranged and holy attacks; a miss shows and ends the attack.
bool Lands(Game& g, int attacker, int target, int32_t range) {
  if (Hits(g, HitChance(g, attacker, target), range)) return true;
  Miss(g, target);
  return false;
}

// A landed blow of at least 0, with its effect over the attacker and its sound.
void Blow(Game& g, int attacker, int target, int32_t x, int kind, const char* sound) {
  Damage(g, attacker, target, std::max(x, 0));
  PopTextAt(g, attacker, kind, "");
  PlayWave(g, kChannelHits, sound);
}

}  // namespace

void PhysicalAttack(Game& g, int attacker, int target, int32_t x) {
  tman& a = g.unit[attacker];
  tman& t = g.unit[target];
  const bool player_attacks = attacker == kPlayer;
  const bool player_defends = target == kPlayer;

  x += StatRoll(g, a.strength);
  if (player_attacks) x = ApplyFractionCharms(g, kPhysicalAttackCharms, x, +1);
  // ためる: every charge still stored multiplies this blow, and one is used up.
  if (const int32_t charge = a.power_state_turns; charge > 0) {
    a.power_state_turns = charge - 1;
    x += charge * (x / 2) + 2;
  }
  x -= t.defence;
  if (player_defends) x = ApplyFractionCharms(g, kPhysicalDefenceCharms, x, -1);
  if (t.phys_defence_up_turns > 0) x -= x / 3 + 1;
  x = std::max(x, 0);

  int32_t h = HitChance(g, attacker, target);
  if (g.battle.current_action == kSpecialAction) {
    h = 100;
    x = std::max(x + 1, t.max_hp / 10 + 1);
  }
  if (player_attacks) h = ApplyStepCharms(g, kPhysicalHitCharms, h);
  if (player_defends) {
    h = ApplyStepCharms(g, kPhysicalEvasionCharms, h);
    if (Owns(g, kEvasionHalver)) {
      h -= h / 2;
      MaybeBreak(g, kEvasionHalver, 40);
    }
  }
  if (!Hits(g, h, 100)) {
    Miss(g, target);
    return;
  }
  if (t.guard_turns > 0) {
    t.guard_turns -= 1;
    x /= 2;
  }
  int32_t k = 20;
  if (player_attacks) {
    k = ApplyStepCharms(g, kCriticalCharms, k);
    if (Owns(g, kCriticalHalver)) {
      k /= 2;
      MaybeBreak(g, kCriticalHalver, 90);
    }
  }
  k = std::max(k, 2);
  if (g.rng.Random(k) == 0) {
    LogLine(g, J("ｸﾘﾃｨｶﾙ!!"));
    x += x / 2 + 1;
  }
  Damage(g, attacker, target, x);
  PhysicalFollowUps(g, attacker, target, x);
}

void MagicAttack(Game& g, int attacker, int target, int32_t x) {
  tman& t = g.unit[target];
  const bool player_attacks = attacker == kPlayer;
  const bool player_defends = target == kPlayer;

  x += StatRoll(g, g.unit[attacker].magic);
  if (player_attacks) x = ApplyFractionCharms(g, kMagicAttackCharms, x, +1);
  x -= t.spirit;
  if (player_defends) x = ApplyFractionCharms(g, kMagicDefenceCharms, x, -1);
  if (t.magic_defence_up_turns > 0) x -= x / 3 + 1;
  x = std::max(x, 0);

  int32_t h = HitChance(g, attacker, target);
  if (player_attacks) h = ApplyStepCharms(g, kMagicHitCharms, h);
  if (!Hits(g, h, 100)) {
    Miss(g, target);
    return;
  }
  int32_t boost = 20;
  if (player_attacks && Owns(g, kBoostDoubler)) {
    boost = 10;
    MaybeBreak(g, kBoostDoubler, 30);
  }
  if (g.rng.Random(boost) == 0) {
    LogLine(g, J("ブースト!!"));
    x += x / 2 + 1;
  }
  int32_t resist = 20;
  if (player_defends) {
    if (Owns(g, kResistCharm)) {
      resist = 18;
      MaybeBreak(g, kResistCharm, 60);
    }
    resist = ApplyStepCharms(g, kResistCharms, resist);
  }
  if (g.rng.Random(resist) == 0) {
    LogLine(g, J("レジスト"));
    x -= x / 2;
  }
  Damage(g, attacker, target, x);
  if (player_defends && Owns(g, kWitchCloak)) {
    LogLine(g, J("魔女のマント＞ダメージ返し"));
    TakeDamage(g, attacker, x / 2);
    MaybeBreak(g, kWitchCloak, 30);
  }
  if (player_attacks && Owns(g, kWiseWomanStaff)) {
    LogLine(g, J("才女の杖＞防御ダウン"));
    LowerDefence(t);
    MaybeBreak(g, kWiseWomanStaff, 30);
  }
}

void DebateAttack(Game& g, int attacker, int target, int32_t x) {
  const tman& a = g.unit[attacker];
  const tman& t = g.unit[target];
  int32_t v = std::max(x + StatRoll(g, a.magic) - t.magic, 0);
  if (a.logic_attack_up_turns > 0) v += v / 2 + 1;
  if (t.logic_defence_up_turns > 0) v /= 2;
  if (target == kPlayer) {
    static constexpr FractionCharm kShields[] = {{71, 10, 50}, {72, 5, 50}};
    v = ApplyFractionCharms(g, kShields, v, -1);
  }
  if (attacker == kPlayer) {
    static constexpr FractionCharm kTongue[] = {{73, 10, 40}};
    v = ApplyFractionCharms(g, kTongue, v, +1);
  }
  if (target == kPlayer) {
    static constexpr FractionCharm kEars[] = {{74, 10, 40}};
    v = ApplyFractionCharms(g, kEars, v, -1);
  }
  if (!Lands(g, attacker, target, 100)) return;
  Damage(g, attacker, target, v);
}

void ArrowAttack(Game& g, int attacker, int target, int32_t x) {
  if (!Lands(g, attacker, target, 200)) return;
  const int32_t s = g.unit[attacker].evasion;
  Blow(g, attacker, target, x + g.rng.Random(s / 2) + 2 * s - g.unit[target].evasion, 34, "ya.wav");
}

void ThrowAttack(Game& g, int attacker, int target, int32_t x) {
  if (!Lands(g, attacker, target, 150)) return;
  Blow(g, attacker, target, x + StatRoll(g, g.unit[attacker].hit) - g.unit[target].defence, 35, "nageru.wav");
}

void GunAttack(Game& g, int attacker, int target, int32_t x) {
  // The roll comes before the hit roll.
  int32_t v = std::max(x + StatRoll(g, g.unit[attacker].hit) - g.unit[target].evasion, 0);
  if (!Lands(g, attacker, target, 150)) return;
  if (g.rng.Random(5) == 0) {
    LogLine(g, J("ｸﾘﾃｨｶﾙ!!"));
    v += v / 2 + 1;
  }
  Blow(g, attacker, target, v, 266, "gun.wav");
}

void HolyAttack(Game& g, int attacker, int target, int32_t x) {
  if (!Lands(g, attacker, target, 100)) return;
  Blow(g, attacker, target, x + StatRoll(g, g.unit[attacker].spirit) - g.unit[target].spirit, 113, "sin2.wav");
}
