// SPDX-License-Identifier: GPL-3.0-or-later
// A game in play on the headless platform, driven by a policy: at every question the
// policy names the caption to pick, every click wait is clicked through, and once
// the script has ended (or the policy has no answer) the window closes. No timer
// tick fires while the policy keeps answering, so nothing is clamped behind a test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>

#include "core/scene.h"
#include "platform/text.h"
#include "shell/layout.h"
#include "shell/scene_loop.h"
#include "tests/shell_fixture.h"
#include "town/character.h"

// The answer to the pending question: a caption (CP932), kCancel for a right-click,
// or empty to close the window.
using Policy = std::function<std::string(Game&)>;
inline const std::string kCancel = "<right-click>";

struct DayRun {
  DayRun() {
    run.Start();
    NewGame(g);
    g.my.flag[0] = 1;
    g.unit[kPlayer].name = J("ポム");
    g.GamePhase = 0;
    ShowChoiceAreas(g, true);
    g.rng.Seed(1234);
    run.plat.SetIdleHandler([this] { Drive(); });
  }

  // Runs `first` as a scene, then whatever it hands over, until the window closes.
  void Play(Scene first) {
    Transfer(g, std::move(first));
    RunSceneLoop(g);
  }

  // Answers the questions with these captions in order (J() applied), then closes.
  void Answer(std::initializer_list<const char*> captions) {
    auto script = std::make_shared<std::deque<std::string>>();
    for (const char* c : captions) script->push_back(c == kCancel ? kCancel : J(c));
    policy = [script](Game&) {
      if (script->empty()) return std::string();
      std::string next = script->front();
      script->pop_front();
      return next;
    };
  }

  // Every number a customer can draw (0..998) made the same item, `count` of each owned:
  // whichever is drawn first will do, or none will.
  void Stock(int32_t price, int32_t recipe, int32_t count, int32_t kind = 0) {
    for (int n = 0; n < kItemCount - 1; ++n) {
      titem& it = g.item_def[n];
      if (it.name.empty()) it.name = J("ためし");
      it.price = price, it.recipe = recipe, it.kind = kind, it.power = 7, it.special = 0;
      g.my.item_count[n] = count;
    }
  }
  int32_t Owned() const {
    int32_t n = 0;
    for (int32_t c : g.my.item_count) n += c;
    return n;
  }

  bool Offered(const std::string& caption) const {
    for (int k = 1; k <= 4; ++k) {
      if (g.ChoiceCaption[k] == caption) return true;
    }
    return false;
  }

  // Whether a log line (of the 21 kept) contains this text (UTF-8).
  bool Logged(const char* utf8) const {
    const std::string text = J(utf8);
    for (const tmoji_efe& e : g.MessageLog) {
      if (e.text.find(text) != std::string::npos) return true;
    }
    return false;
  }

  void Drive() {
    auto& p = run.plat;
    if (g.ChoicePending == 1) {
      ++questions;
      const std::string answer = policy ? policy(g) : std::string();
      if (answer.empty()) {
        p.QueueClose();
      } else if (answer == kCancel) {
        p.QueueMouseDown("cg", 10, 10, MouseButton::Right);
      } else {
        for (int k = 1; k <= 4; ++k) {
          if (g.ChoiceCaption[k] == answer) {
            p.QueueMouseDown("sel" + std::to_string(k), 5, 5);
            return;
          }
        }
        ADD_FAILURE() << "caption not offered";
        p.QueueClose();
      }
    } else if (g.WaitState == 0) {
      ++clicks;
      if (close_at_wait && close_at_wait(g)) {
        p.QueueClose();
      } else {
        p.QueueMouseDown("cg", 10, 10);
      }
    } else if (on_idle && on_idle(g)) {
      // the idle hook handed over another scene
    } else {
      p.QueueClose();
    }
  }

  GameRun run;
  Game& g = *run.g;
  Policy policy;
  // Asked at every click wait; true closes the window there instead of clicking.
  std::function<bool(Game&)> close_at_wait;
  // Called when nothing waits and no scene is queued; true when it handed one over.
  std::function<bool(Game&)> on_idle;
  int questions = 0;
  int clicks = 0;
};
