// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/encounter.h"

#include <algorithm>
#include <vector>

#include "battle/battle.h"
#include "core/game.h"
#include "core/monsters.h"
#include "core/scene.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "town/home.h"

namespace {

constexpr int kFirstMonster = 1;
constexpr int kLastMonster = 254;

bool UsableMonster(const Game& g, int32_t n) {
  return n >= kFirstMonster && n <= kLastMonster && !g.monster[n].name.empty();
}

void ShowBattlePicture(Game& g) {
  static const char* const kPictures[] = {"battle.bmp", "battle1.bmp", "battle2.bmp", "battle3.bmp"};
  const int32_t place = g.my.location;
  if (place >= 0 && place < 4) ShowCg(g, kPictures[place]);
}

}  // namespace

int32_t PickEncounterMonster(Game& g) {
  const int32_t field = g.my.location;
  std::vector<int32_t> fits;
  int32_t lowest = 0;
  for (int32_t n = kFirstMonster; n <= kLastMonster; ++n) {
    if (MonsterMeetsEncounterRule(g, n, field)) fits.push_back(n);
    if (UsableMonster(g, n) && g.monster[n].area == field &&
        (lowest == 0 || g.monster[n].tier < g.monster[lowest].tier)) {
      lowest = n;
    }
  }
  // Uniform among the monsters that qualify: what drawing numbers until one fits gives.
  if (!fits.empty()) return fits[g.rng.Random(static_cast<int32_t>(fits.size()))];
  return lowest;
}

void PrepareMonster(Game& g, int32_t monster) {
  tman& m = g.unit[kFoe];
  m = g.monster[monster];
  m.map_active = 1;
  m.map_kind = monster;
  const int32_t a = g.rng.Random(3);
  const int32_t b = g.rng.Random(3);
  m.level = std::max(0, a - b + g.unit[kPlayer].level / 2);
  m.max_hp += m.level;
  m.max_mp += m.level / 8;
  m.hp = m.max_hp;
  m.mp = m.max_mp;
  m.tp = g.rng.Random(100);
  const int32_t gain = m.tier / 2 + m.level / 3;
  for (int32_t* stat : {&m.defence, &m.spirit, &m.strength, &m.magic, &m.hit, &m.evasion}) *stat += gain;
}

void Encounter(Game& g, int32_t monster) {
  if (g.WaitState == -1) return;
  if (!UsableMonster(g, monster)) monster = PickEncounterMonster(g);
  if (monster == 0) {
    // Nothing lives here: the search simply ends.
    ReturnToPlace(g);
    return;
  }
  g.ChoicePending = 0;
  g.log.ChoiceActive = 0;
  g.ChoiceResult = 0;
  g.panel.ShownEnemyHp = 0;
  g.panel.ShownEnemyMp = 0;
  g.panel.ShownEnemyTp = 0;
  g.in_battle = 1;
  g.panel.EnemyPanelSlide = -200;
  g.foe_index = kFoe;
  PrepareMonster(g, monster);

  PlayWave(g, kChannelActs, "enemy.wav");
  ShowBattlePicture(g);
  LogLine(g, "");
  LogColoured(g, g.unit[kFoe].name + J("が現れた！"), "pink2");
  WaitForClick(g);
  if (g.rng.Random(10) != 0) {
    Transfer(g, PlayerTurn);
  } else {
    LogLineWait(g, g.unit[kFoe].name + J("が先に攻撃してきたよ"));
    Transfer(g, EnemyTurn);
  }
}
