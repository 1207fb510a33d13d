// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/scene.h"

#include <utility>

#include "core/game.h"

void Transfer(Game& g, Scene scene) {
  if (!scene) return;
  g.shell.scenes.push_back(std::move(scene));
}
