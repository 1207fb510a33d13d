// The game context: every record of the state plus each module's own state,
// and the platform it runs on. Every operation takes it by reference, so each
// test builds a fresh game.
#pragma once

#include "platform/platform.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "shell/random.h"
#include "shell/shell.h"
#include "shell/state.h"

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
};
