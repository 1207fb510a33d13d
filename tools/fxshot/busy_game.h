// SPDX-License-Identifier: GPL-3.0-or-later
// A busy game to look at and to measure: a levelled player with states on both
// lists, a forest monster in battle, and a few log lines. Shared by fxshot and the
// drawing benchmark so both show the same scene.
#pragma once

#include <algorithm>
#include <initializer_list>

#include "core/game.h"
#include "platform/text.h"

inline void SetUpPlayer(Game& g) {
  tman& me = g.unit[kPlayer];
  me.name = J("ポムリエ");
  me.level = 12;
  me.exp = 96;
  me.max_hp = 120;
  me.hp = 37;
  me.max_mp = 50;
  me.mp = 50;
  me.tp = 100;
  me.fullness = 15;
  me.lifespan_days = 100;
  me.age_days = 61;
  me.poison_turns = 4;
  me.paralysis_turns = 2;
  me.stomachache_turns = 9;
  me.infinite_state_turns = 1;
  me.full_state_turns = 3;
  me.attack_up_turns = 2;
  me.heal_state_turns = 5;
  me.mana_state_turns = 2;
  me.power_state_turns = 1;
  g.my.day_count = 23;
  g.my.day_hours = 12;
  g.my.hours_used = 5;
  g.my.money = 12345;
  g.my.shop_rank = 3;
  g.my.rank_progress = 27;
  g.my.fame = 72;
  g.my.location = 0;
  g.GamePhase = 0;
}

inline void SetUpBattle(Game& g) {
  int n = 3;  // a forest monster with a sprite strip
  tman& foe = g.unit[1];
  foe = g.monster[n];
  if (foe.name.empty()) foe.name = J("森の野獣");
  foe.level = 9;
  foe.max_hp = foe.max_hp > 0 ? foe.max_hp * 6 : 48;
  foe.hp = foe.max_hp * 2 / 3;
  foe.max_mp = std::max(foe.max_mp, 1) * 4;
  foe.mp = foe.max_mp / 4;
  foe.tp = 100;
  foe.map_active = 1;
  foe.map_kind = n;
  if (foe.size <= 0) foe.size = 15;
  g.in_battle = 1;
  g.foe_index = 1;
}

inline void LogLines(Game& g, std::initializer_list<const char*> lines) {
  int i = 0;
  for (const char* l : lines) {
    if (i >= kLogSize) break;
    g.MessageLog[i].text = J(l);
    g.MessageLog[i].color = 0;
    ++i;
  }
}
