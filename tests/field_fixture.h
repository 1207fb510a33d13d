// A started headless game standing in a field, with a scripted player: choices are
// answered from `answers` (then at random among the offered buttons), every other
// wait is clicked through. Scenes run directly from the test.
#pragma once

#include <array>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/scene.h"
#include "platform/text.h"
#include "tests/shell_fixture.h"
#include "town/home.h"

struct FieldTest : ::testing::Test {
  void SetUp() override {
    run.Start();
    Game& g = *run.g;
    g.GamePhase = 0;
    ShowChoiceAreas(g, true);
    g.rng.Seed(7);
    tman& p = g.unit[kPlayer];
    p.name = J("ポム");
    p.max_hp = p.hp = 50;
    p.fullness = 80;
    p.explore_skill = 1;
    p.cook_skill = 1;
    g.my.day_hours = 1000000;
    g.my.location = 0;
    run.plat.SetIdleHandler([this] { Answer(); });
  }

  Game& g() { return *run.g; }

  void Answer() {
    Game& g = *run.g;
    if (g.ChoicePending != 1) {
      run.plat.QueueMouseDown("cg", 10, 10);
      return;
    }
    if (asked.size() > 20000) {  // a choice that never takes a pick: fail, don't hang
      run.plat.QueueClose();
      return;
    }
    asked.push_back({g.ChoiceCaption[1], g.ChoiceCaption[2], g.ChoiceCaption[3], g.ChoiceCaption[4]});
    int k = 0;
    if (!answers.empty()) {
      k = answers.front();
      answers.pop_front();
    } else {
      std::vector<int> offered;
      for (int i = 1; i <= 4; ++i)
        if (!g.ChoiceCaption[i].empty()) offered.push_back(i);
      k = offered[pick(rnd) % offered.size()];
    }
    run.plat.QueueMouseDown("sel" + std::to_string(k), 5, 5);
  }

  bool LogHas(const std::string& cp932) const { return LogHasLine(*run.g, cp932); }
  bool Said(const char* utf8) const { return LogHasWholeLine(*run.g, J(utf8)); }
  void ClearLogLines() {
    for (tmoji_efe& e : run.g->MessageLog) e.text.clear();
  }
  // How many queued scenes are ReturnToPlace; the queue is emptied.
  int TakeReturns() {
    int n = 0;
    for (Scene& s : run.g->shell.scenes) {
      auto* fn = s.target<void (*)(Game&)>();
      if (fn && *fn == &ReturnToPlace) ++n;
    }
    run.g->shell.scenes.clear();
    return n;
  }

  GameRun run;
  std::deque<int> answers;
  std::vector<std::array<std::string, 4>> asked;
  std::mt19937 rnd{99};
  std::uniform_int_distribution<int> pick{0, 1000};
};
