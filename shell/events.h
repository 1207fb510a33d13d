// SPDX-License-Identifier: GPL-3.0-or-later
// Routes every event of the platform to the game's handlers.
#pragma once

#include "platform/events.h"

struct Game;

class ShellEvents : public GameEvents {
 public:
  explicit ShellEvents(Game& g) : g_(g) {}

  void FormCreate() override;
  void FormClose() override;
  void FormDestroy() override;
  void FormSuspend() override;
  void Timer1Timer() override;
  void cgMouseDown(MouseButton button, int x, int y) override;
  void cgMouseMove(int x, int y) override;
  void bp_boxMouseMove(int x, int y) override;
  void selMouseDown(int k, MouseButton button, int x, int y) override;
  void selMouseMove(int k, int x, int y) override;
  void l_btnMouseDown(int k, MouseButton button, int x, int y) override;
  void l_btnMouseMove(int k, int x, int y) override;
  void FormKeyDown(int key) override;
  void FormMouseWheel(int steps) override;
  void item_listClick() override;
  void item_listKeyDown(int key) override;

 private:
  Game& g_;
};
