// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/state.h"

#include <algorithm>

void ClampState(GameState& s) {
  tmy& my = s.my;
  my.money = std::min(my.money, 999999999);  // no lower bound: debts stay visible
  my.flag[107] = std::max(my.flag[107], 0);
  my.fame = std::clamp(my.fame, 0, 100);
  my.flag[104] = std::max(my.flag[104], 0);
  my.flag[104] = std::min(my.flag[104], my.grade + 8);
  my.hours_used = std::max(my.hours_used, 0);

  tman& p = s.unit[kPlayer];
  p.hp = std::max(std::min(p.hp, p.max_hp), 0);
  p.mp = std::max(std::min(p.mp, p.max_mp), 0);
  p.tp = std::clamp(p.tp, 0, 100);
  p.exp = std::max(std::min(p.exp, ExpToLevelUp(p.level)), 0);
  p.fullness = std::clamp(p.fullness, 0, 100);
  for (int32_t* stat : {&p.strength, &p.defence, &p.hit, &p.evasion, &p.magic, &p.spirit}) {
    *stat = std::max(*stat, 0);
  }
  p.age_days = std::max(std::min(p.age_days, p.lifespan_days), 0);
}
