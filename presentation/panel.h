// SPDX-License-Identifier: GPL-3.0-or-later
// Status panel: the heads-up display of day, shop, player and enemy.
#pragma once

#include <cstdint>

#include "platform/canvas.h"

struct Game;

struct PanelState {
  // Horizontal offset of the whole panel; eased from -200 to 0 once per run.
  int32_t PanelSlide = -200;
  // x of the enemy block; battle start sets it to -200 and it eases to 0.
  int32_t EnemyPanelSlide = -200;
  // Figures that run towards the real values a little every tick.
  int32_t ShownHp = 0;
  int32_t ShownMp = 0;
  int32_t ShownTp = 0;
  int32_t ShownFullness = 0;
  int32_t ShownExp = 0;
  int32_t ShownEnemyHp = 0;
  int32_t ShownEnemyMp = 0;
  int32_t ShownEnemyTp = 0;

  // What this tick draws: the slides and figures as they stood before StepStatusPanel
  // moved them on, so a tick shows each figure of the moment it began.
  struct Drawn {
    int32_t PanelSlide = -200;
    int32_t EnemyPanelSlide = -200;
    int32_t Hp = 0, Mp = 0, Tp = 0, Fullness = 0, Exp = 0;
    int32_t EnemyHp = 0, EnemyMp = 0, EnemyTp = 0;
  } drawn;
};

// One drawing tick of the panel, before it is drawn: keeps the slides and the shown
// values as `drawn`, then eases them one step towards their targets. Nothing moves
// while there is no picture to draw on.
void StepStatusPanel(Game& g);
// Draws the panel's texts (the `drawn` figures) into the overlay (bak) and its bars
// onto cg. Changes nothing but pixels.
void DrawStatusPanel(Game& g);

// Colour rules of the panel, exposed for the tests.
Rgb PanelRatioColor(int32_t value, int32_t maximum);  // HP and MP figures
Rgb PanelAgeColor(int32_t age_days, int32_t lifespan_days);
Rgb PanelFameColor(int32_t fame);
Rgb PanelFullnessColor(int32_t fullness);

// One easing step of a shown value towards its target; never overshoots.
int32_t StepShown(int32_t shown, int32_t target);
