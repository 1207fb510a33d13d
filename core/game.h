// SPDX-License-Identifier: GPL-3.0-or-later
// The game context: the shared records, the state of the scene loop and the action,
// and each room's own state, on the platform it runs on. Every operation takes it by
// reference, so each test builds a fresh game.
//
// Only records are included here. The rooms' own states (the battle's, the log's,
// the screen's...) are declared and held by reference, so that a file sees a room's
// record only when it includes that room's header, and a change to one room's record
// rebuilds that room alone. They are built together in shell/game.cpp.
#pragma once

#include <memory>
#include <string_view>

#include "core/action.h"
#include "core/item_box_state.h"
#include "core/random.h"
#include "core/shell_state.h"
#include "core/state.h"
#include "platform/platform.h"

struct BattleState;   // battle/battle_state.h
struct EffectsState;  // presentation/effects.h
struct LogState;      // presentation/log.h
struct PanelState;    // presentation/panel.h
struct ScreenState;   // presentation/screen.h
struct SoundState;    // presentation/sound.h
struct GameRooms;

struct Game : GameState {
  explicit Game(Platform& platform);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform& plat;
  Rng rng;

 private:
  // Owns the rooms' states below; declared first so it is built before they are bound.
  std::unique_ptr<GameRooms> rooms_;

 public:
  ShellState shell;
  LogState& log;
  ScreenState& screen;
  PanelState& panel;
  EffectsState& fx;
  SoundState& sound;
  ItemBoxState box;
  BattleState& battle;
  ActionState action;
};

// Whether the window's widget of that name exists and is shown (bp_box, item_box, ...).
inline bool IsShown(Game& g, std::string_view name) {
  Widget* w = g.plat.FindWidget(name);
  return w != nullptr && w->Visible();
}

inline void Show(Game& g, std::string_view name, bool shown) {
  if (Widget* w = g.plat.FindWidget(name)) w->SetVisible(shown);
}
