#include "shell/scene.h"

#include <utility>

#include "shell/action.h"
#include "shell/game.h"

void Transfer(Game& g, Scene scene) {
  if (!scene) return;
  g.shell.scenes.push_back(std::move(scene));
}

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
