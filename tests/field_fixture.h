// SPDX-License-Identifier: GPL-3.0-or-later
// A started headless game standing in a field, with a scripted player: choices are
// answered from `answers` (then at random among the offered buttons), every other
// wait is clicked through. Scenes run directly from the test.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/scene.h"
#include "platform/text.h"
#include "tests/shell_fixture.h"
#include "town/home.h"

// Shorthands in a list of steered draws: a find whose seven lucky multipliers all miss
// (its first item drawn then decides), the same find coming to nothing (its 900 item
// draws spent), n draws of any value, and an hour's hunger of 2.
inline constexpr Draw kPlainFind{-100, 0}, kMissFind{-101, 0}, kHour{-103, 0};
inline constexpr Draw Any(int32_t n) { return {-102, n}; }
inline std::vector<Draw> Expand(const std::vector<Draw>& draws) {
  std::vector<Draw> out;
  for (const Draw& d : draws) {
    if (d.bound == kPlainFind.bound || d.bound == kMissFind.bound) {
      for (int32_t one_in : {3, 5, 10, 20, 40, 80, 160}) out.push_back({one_in, kNonZero});
    }
    const int32_t any = d.bound == kMissFind.bound    ? 900
                        : d.bound == kPlainFind.bound ? 1
                        : d.bound == Any(0).bound     ? d.value
                                                      : 0;
    out.insert(out.end(), static_cast<size_t>(any), Draw{999, kAnyDraw});
    if (d.bound == kHour.bound) out.push_back({4, 0});
    if (d.bound > 0) out.push_back(d);
  }
  return out;
}

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

  // Every number a draw can give (0..998) made alike, so that the first item drawn
  // qualifies, or none does: a find's budget, a glimpse's limit or a meal shows exactly.
  void MakeEveryItem(const std::function<void(titem&)>& alike) {
    for (int n = 0; n < kItemCount - 1; ++n) {
      titem& it = g().item_def[n];
      if (it.name.empty()) it.name = J("ためし");
      alike(it);
    }
  }
  // Only items of this price are found in `area`, all of them.
  void FindOnly(int area, int32_t price) {
    MakeEveryItem([&](titem& it) { it.price = price, it.area = area, it.recipe = 0, it.special = 0; });
  }
  int32_t Owned() const { return std::accumulate(run.g->my.item_count.begin(), run.g->my.item_count.end(), 0); }

  // Whether a kept log line contains this text (UTF-8).
  bool Mentions(const char* utf8) const {
    for (const tmoji_efe& e : run.g->MessageLog)
      if (e.text.find(J(utf8)) != std::string::npos) return true;
    return false;
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
