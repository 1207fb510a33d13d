// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/scene_loop.h"

#include <utility>

#include "core/action.h"
#include "core/game.h"

bool SceneStep(Game& g) {
  if (g.plat.Closed()) return false;
  if (!g.shell.scenes.empty()) {
    Scene scene = std::move(g.shell.scenes.front());
    g.shell.scenes.pop_front();
    ++g.shell.scenes_run;
    BeginAction(g);
    scene(g);
    EndAction(g);
    return !g.plat.Closed();
  }
  g.plat.WaitMessage();
  g.plat.ProcessMessages();
  return !g.plat.Closed();
}

void RunSceneLoop(Game& g) {
  while (SceneStep(g)) {
  }
}
