// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "core/scene.h"
#include "presentation/log.h"
#include "shell/scene_loop.h"
#include "tests/shell_fixture.h"

namespace {

std::string* trace = nullptr;

void Second(Game&) { *trace += "second;"; }
void Third(Game&) { *trace += "third;"; }

// Hands over two scenes, then waits for a click: they run only after it returned.
void First(Game& g) {
  *trace += "first;";
  Transfer(g, Second);
  Transfer(g, Third);
  WaitForClick(g);
  *trace += "first done;";
}

TEST(SceneLoop, TransferredScenesRunInOrderAfterTheCurrentScriptReturned) {
  GameRun run;
  std::string t;
  trace = &t;
  run.Start();
  Transfer(*run.g, First);
  run.plat.QueueTicks(3);
  run.plat.QueueMouseDown("cg");  // splash click releases the wait, nothing else
  run.plat.QueueAction([&] { t += "click;"; });
  run.plat.QueueClose();
  RunSceneLoop(*run.g);
  trace = nullptr;
  EXPECT_EQ(t, "first;first done;second;third;click;");
  EXPECT_EQ(run.g->shell.scenes_run, 3);
  EXPECT_EQ(run.g->GamePhase, -2);  // the click was consumed by the wait
}

TEST(SceneLoop, StopsOnceTheWindowHasClosedAndDropsWhatIsQueued) {
  GameRun run;
  std::string t;
  trace = &t;
  run.Start();
  run.plat.CloseWindow();
  Transfer(*run.g, Second);
  EXPECT_FALSE(SceneStep(*run.g));
  trace = nullptr;
  EXPECT_EQ(t, "");
}

TEST(SceneLoop, AnEmptySceneIsIgnored) {
  GameRun run;
  Transfer(*run.g, Scene{});
  EXPECT_TRUE(run.g->shell.scenes.empty());
}

}  // namespace
