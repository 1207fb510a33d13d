// The game context: every record of the state plus each module's own state,
// and the platform it runs on. Every operation takes it by reference, so each
// test builds a fresh game.
#pragma once

#include <string_view>

#include "battle/battle_state.h"
#include "field/field_state.h"
#include "platform/platform.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "shell/action.h"
#include "shell/random.h"
#include "shell/shell.h"
#include "shell/state.h"
#include "town/day_state.h"
#include "town/item_box_state.h"

struct Game : GameState {
  explicit Game(Platform& platform) : plat(platform) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Platform& plat;
  Rng rng;

  ShellState shell;
  LogState log;
  ScreenState screen;
  PanelState panel;
  EffectsState fx;
  SoundState sound;
  DayState day;
  ItemBoxState box;
  FieldState field;
  BattleState battle;
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
