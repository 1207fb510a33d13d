// SPDX-License-Identifier: GPL-3.0-or-later
// A started game ready for battle scripts: play has begun, the choice buttons take
// picks, and an autopilot answers every wait (a click) and every choice (the next
// scripted pick, 5 for a right-click cancel, then `default_pick`).
#pragma once

#include <deque>
#include <string>

#include "battle/battle.h"
#include "core/scene.h"
#include "platform/text.h"
#include "shell/layout.h"
#include "shell/scene_loop.h"
#include "tests/shell_fixture.h"
#include "town/character.h"

struct BattleRun {
  BattleRun() {
    run.Start();
    Game& g = *run.g;
    g.GamePhase = 0;
    ShowChoiceAreas(g, true);
    g.rng.Seed(7);
    NewGame(g);
    tman& p = g.unit[kPlayer];
    p.name = J("ぽむ");
    p.fullness = 50;  // no fullness modifier on the player's blows
    run.plat.SetIdleHandler([this] { Answer(); });
  }

  Game& g() { return *run.g; }
  tman& player() { return run.g->unit[kPlayer]; }
  tman& foe() { return run.g->unit[kFoe]; }

  // A monster of the given stats in the foe's slot, as if met.
  tman& Meet(int32_t max_hp, std::array<int32_t, 4> waza = {0, 0, 0, 0}) {
    Game& g = *run.g;
    g.in_battle = 1;
    g.foe_index = kFoe;
    tman& m = g.unit[kFoe];
    m = tman{};
    m.name = J("森の虫");
    m.max_hp = m.hp = max_hp;
    m.waza = waza;
    m.map_active = 1;
    m.map_kind = 1;
    return m;
  }

  // Runs queued scenes while the battle lasts; what follows it (the field menu) stays queued.
  void RunScenes() {
    while (!run.g->shell.scenes.empty() && run.g->in_battle == 1 && SceneStep(*run.g)) {
    }
  }

  // Runs the first queued scene only (one turn or menu).
  void RunOne() { SceneStep(*run.g); }

  bool Logged(const std::string& utf8) const { return LogHasLine(*run.g, J(utf8)); }

  void Answer() {
    Game& g = *run.g;
    if (g.ChoicePending == 1) {
      asked.push_back(g.ChoiceCaption[1]);
      int k = default_pick;
      if (!picks.empty()) {
        k = picks.front();
        picks.pop_front();
      }
      if (k != 5 && g.ChoiceCaption[k].empty()) k = 2;  // a gap: take the next button
      if (k == 5) {
        run.plat.QueueMouseDown("cg", 10, 10, MouseButton::Right);
      } else {
        run.plat.QueueMouseDown("sel" + std::to_string(k), 5, 5);
      }
    } else if (g.WaitState == 0) {
      run.plat.QueueMouseDown("cg", 10, 10);
    }
  }

  GameRun run;
  std::deque<int> picks;
  int default_pick = 1;
  std::vector<std::string> asked;  // the first caption of every choice shown
};
