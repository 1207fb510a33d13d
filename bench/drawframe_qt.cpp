// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing cost of one tick on the real Qt canvas, offscreen: the whole DrawFrame with
// the full panel (battle, enemy block, states) and a hundred living effects, and the
// panel and effects passes on their own. The budget for DrawFrame is 1 ms median.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "bench/qt_app.h"
#include "core/game.h"
#include "core/monsters.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "tools/fxshot/busy_game.h"

namespace {

constexpr int kKinds[] = {12,  33,  34,  35,  43,  44,  51,  57,  63,  75,  78, 83, 113, 120,
                          140, 158, 160, 175, 178, 189, 190, 191, 251, 266, 16, 17, 18,  19};

// A busy battle: every panel line, both state lists, the enemy block and its bars.
struct Busy {
  Busy() : g(plat) {
    g.rng.Seed(7);
    FillMonsterCatalogue(g);
    CreateSurfaces(g);
    CutSpriteFrames(g);
    ShowCg(g, "forest.bmp");
    SetUpPlayer(g);
    SetUpBattle(g);
    for (int i = 0; i < kLogSize; ++i) g.MessageLog[i].text = J("森の野獣があらわれた！");
  }
  // Keeps all hundred slots alive: any effect that has ended is spawned again.
  void Refill() {
    for (int s = 0; s < kPopSlots; ++s) {
      if (g.fx.pop_age[s] >= 1) continue;
      const int kind = kKinds[(s + g.FrameCounter) % std::size(kKinds)];
      g.fx.PopCursor = s - 1 < 0 ? kPopSlots - 1 : s - 1;
      if (kind >= 16 && kind <= 19) PopTextAt(g, s % 2, kind, Num(s));
      else PopTextAt(g, s % 2, kind, "");
    }
  }
  // The panel's figures keep running: the HP drops back whenever it arrives.
  void Churn() {
    g.FrameCounter = (g.FrameCounter + 1) % 1000;
    if (g.panel.ShownHp == g.unit[kPlayer].hp) g.panel.ShownHp = 120;
    g.screen.ShakeCounter = 0;
  }

  QApplication& app = BenchApp();
  QtPlatform plat;
  Game g;
};

void BM_DrawFrame(benchmark::State& state) {
  Busy b;
  b.g.panel.PanelSlide = 0;
  b.g.panel.EnemyPanelSlide = 0;
  for (auto _ : state) {
    b.Churn();
    b.Refill();
    StepFrame(b.g);
    DrawFrame(b.g);
  }
}
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StatusPanel(benchmark::State& state) {
  Busy b;
  b.g.panel.PanelSlide = 0;
  b.g.panel.EnemyPanelSlide = 0;
  for (auto _ : state) {
    b.Churn();
    StepStatusPanel(b.g);
    DrawStatusPanel(b.g);
  }
}
BENCHMARK(BM_StatusPanel)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_HundredEffects(benchmark::State& state) {
  Busy b;
  for (auto _ : state) {
    b.Churn();
    b.Refill();
    DrawEffects(b.g);
  }
}
BENCHMARK(BM_HundredEffects)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
