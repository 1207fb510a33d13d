// SPDX-License-Identifier: GPL-3.0-or-later
#include "town/clock.h"

#include <algorithm>

#include "battle/hp.h"
#include "core/game.h"
#include "core/item_numbers.h"
#include "field/finds.h"
#include "town/item_use.h"

namespace {

// Charms that add to every TP change of the player, by being owned.
constexpr int32_t kTpCharms[3] = {62, 63, 64};

void CountDown(int32_t& turns) {
  if (turns > 0) --turns;
}

}  // namespace

void PassTime(Game& g, int32_t hours) {
  tman& p = g.unit[kPlayer];
  p.fullness = std::max(0, p.fullness - (2 + g.rng.Random(4)));
  tmy& my = g.my;
  my.hours_used += hours;
  if (my.hours_used < 0) my.hours_used = 0;
  if (my.hours_used > my.day_hours) my.hours_used = my.day_hours;
  ApplyTimeEffects(g);
}

void ApplyTimeEffects(Game& g) {
  tman& p = g.unit[kPlayer];
  if (p.stomachache_turns > 0) {
    ChangeFullness(g, kPlayer, -g.rng.Random(2));
    --p.stomachache_turns;
  }
  if (p.poison_turns > 0) {
    if (g.my.item_count[kPoisonGuard] <= 0) {
      LoseHp(g, kPlayer, p.max_hp / 50 + 1);
      --p.poison_turns;
    } else {
      p.poison_turns = 0;
      if (g.rng.Random(30) == 0) BreakItem(g, kPoisonGuard);
    }
  }
  for (int32_t* turns : {&p.paralysis_turns, &p.guard_all, &p.reflect_turns, &p.find_boost, &p.logic_attack_up_turns,
                         &p.logic_defence_up_turns, &p.magic_defence_up_turns}) {
    CountDown(*turns);
  }
  if (p.heal_state_turns > 0) {
    ChangeHp(g, kPlayer, 1);
    --p.heal_state_turns;
  }
  if (p.mana_state_turns > 0) {
    ChangeMp(g, kPlayer, 1);
    --p.mana_state_turns;
  }
  if (p.spirit_state_turns > 0) {
    ChangeTp(g, kPlayer, 1);
    --p.spirit_state_turns;
  }
  CountDown(p.extra_state_turns);
  if (p.full_state_turns > 0) {
    --p.full_state_turns;
    ChangeFullness(g, kPlayer, 5);
  }
  if (p.infinite_state_turns > 0) {
    --p.infinite_state_turns;
    --g.my.hours_used;  // the hour is given back
  }
}

void ChangeMp(Game& g, int unit, int32_t amount) {
  tman& u = g.unit[unit];
  u.mp += amount;
  if (u.mp > u.max_mp) u.mp = u.max_mp;
  if (u.mp < 0) u.mp = 0;
}

void ChangeTp(Game& g, int unit, int32_t amount) {
  if (unit == kPlayer) {
    // The bonus is added whatever the sign: a charm also softens a loss.
    for (int i = 0; i < 3; ++i) {
      if (g.my.item_count[kTpCharms[i]] >= 1) amount += i + 1;
    }
  }
  tman& u = g.unit[unit];
  u.tp = std::clamp(u.tp + amount, 0, 100);
}
