// SPDX-License-Identifier: GPL-3.0-or-later
// A game in play with the item box at hand: the headless window, a named player, and
// a loop that answers every click wait and runs the test's steps one by one, each once
// the game has settled (no wait, no scene queued); then the window closes.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "core/scene.h"
#include "platform/text.h"
#include "shell/scene_loop.h"
#include "tests/shell_fixture.h"
#include "town/character.h"
#include "town/item_box.h"

struct BoxRun : GameRun {
  BoxRun() {
    Start();
    NewGame(game());
    game().GamePhase = 0;
    tman& me = game().unit[kPlayer];
    me.name = J("ポム");
    me.max_hp = me.hp = 30;
    me.max_mp = me.mp = 30;
  }
  Game& game() { return *g; }
  int32_t& count(int item) { return g->my.item_count[item]; }

  void Then(std::function<void()> step) { steps.push_back(std::move(step)); }
  // A step that presses a label button of the box.
  void Press(int k) {
    Then([this, k] { plat.QueueMouseDown("l_btn" + std::to_string(k)); });
  }
  // A step that selects the entry of `item`, as a click on the list would.
  void Select(int item) {
    Then([this, item] {
      const auto& items = g->box.entry_items;
      for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == item) plat.QueueListSelect(static_cast<int>(i));
      }
    });
  }

  void Play() {
    plat.SetIdleHandler([this] {
      if (g->WaitState == 0) {
        plat.QueueMouseDown("cg", 5, 5);
      } else if (g->shell.scenes.empty()) {
        if (steps.empty()) {
          plat.QueueClose();
          return;
        }
        auto step = std::move(steps.front());
        steps.pop_front();
        step();
      }
    });
    RunSceneLoop(*g);
  }

  bool Logged(const std::string& cp932) const { return LogHasLine(*g, cp932); }

  std::deque<std::function<void()>> steps;
};
