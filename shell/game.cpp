// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that sees every room's record: builds them for Game.
#include "core/game.h"

#include "battle/battle_state.h"
#include "presentation/effects.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "presentation/sound.h"

struct GameRooms {
  LogState log;
  ScreenState screen;
  PanelState panel;
  EffectsState fx;
  SoundState sound;
  BattleState battle;
};

Game::Game(Platform& platform)
    : plat(platform),
      rooms_(std::make_unique<GameRooms>()),
      log(rooms_->log),
      screen(rooms_->screen),
      panel(rooms_->panel),
      fx(rooms_->fx),
      sound(rooms_->sound),
      battle(rooms_->battle) {}

Game::~Game() = default;
