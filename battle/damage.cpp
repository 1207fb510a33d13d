// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/damage.h"

#include "battle/hp.h"
#include "core/game.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "town/clock.h"

int32_t HitChanceForGap(int64_t d) {
  if (d < -9999 || d > 9999) return 100;
  if (d <= -16) return 10;
  if (d <= -10) return 20;
  if (d <= -6) return 30;
  if (d <= -2) return 50;
  if (d <= 1) return 66;
  if (d <= 5) return 70;
  if (d <= 9) return 80;
  if (d <= 15) return 90;
  return 95;
}

int32_t HitChance(const Game& g, int attacker, int target) {
  const tman& a = g.unit[attacker];
  const tman& t = g.unit[target];
  int32_t h = HitChanceForGap(static_cast<int64_t>(a.hit) - t.evasion);
  if (a.level > t.level) h += 5 * (a.level - t.level);
  return h;
}

bool Hits(Game& g, int32_t chance, int32_t range) { return chance >= g.rng.Random(range + 1); }

void Damage(Game& g, int attacker, int target, int32_t x) {
  const tman& a = g.unit[attacker];
  if (attacker == kPlayer) {
    const int32_t full = a.fullness;
    if (full > 79) x += x / 10 + 1;
    if (full > 59) x += g.rng.Random(2) + x / 20;
    if (full <= 40) x -= g.rng.Random(2) + x / 20;
    if (full <= 20) x -= x / 10 + 1;
  }
  const tman& t = g.unit[target];
  if (t.level < a.level) x += (a.level - t.level) / 2 + 1;
  if (x < 0) x = g.rng.Random(2);
  TakeDamage(g, target, x);
  LogLineWait(g, Num(x) + J("ダメージ！"));
  if (x > 0) ChangeTp(g, target, g.rng.Random(3) + (target == kPlayer ? 2 : 12));
}

void Miss(Game& g, int target) {
  PopTextAt(g, target, 18, "Miss....");
  LogLineWait(g, "Miss....");
}

void PoisonTick(Game& g, int unit) {
  tman& u = g.unit[unit];
  if (u.heal_state_turns > 0) ChangeHp(g, unit, 1);
  if (u.mana_state_turns > 0) ChangeMp(g, unit, 1);
  if (u.spirit_state_turns > 0) ChangeTp(g, unit, 1);
  if (u.poison_turns > 0) {
    u.poison_turns -= 1;
    LogColoured(g, J("毒＞ 1ダメージ"), "pink2");
    LoseHp(g, unit, 1);
  }
  if (u.guard_all > 0) u.guard_all -= 1;
  if (u.extra_state_turns > 0) u.extra_state_turns -= 1;
  if (u.reflect_turns > 0) u.reflect_turns -= 1;
}
