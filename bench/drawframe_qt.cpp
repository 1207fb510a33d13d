// Drawing cost of one tick on the real Qt canvas, offscreen: the whole DrawFrame with
// the full panel (battle, enemy block, states) and a hundred living effects, and the
// panel and effects passes on their own. The budget for DrawFrame is 1 ms median.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "shell/game.h"
#include "shell/monsters.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_drawframe_qt";
  static char* argv[] = {name, nullptr};
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(argc, argv);
  return app;
}

constexpr int kKinds[] = {12,  33,  34,  35,  43,  44,  51,  57,  63,  75,  78,  83,  113, 120,
                          140, 158, 160, 175, 178, 189, 190, 191, 251, 266, 16,  17,  18,  19};

// A busy battle: every panel line, both state lists, the enemy block and its bars.
struct Busy {
  Busy() : g(plat) {
    g.rng.Seed(7);
    FillMonsterCatalogue(g);
    CreateSurfaces(g);
    CutSpriteFrames(g);
    ShowCg(g, "forest.bmp");
    tman& me = g.unit[kPlayer];
    me.name = J("ポムリエ");
    me.level = 12;
    me.exp = 96;
    me.max_hp = 120;
    me.hp = 37;
    me.max_mp = me.mp = 50;
    me.tp = 100;
    me.fullness = 15;
    me.lifespan_days = 100;
    me.age_days = 61;
    me.poison_turns = me.paralysis_turns = me.stomachache_turns = 3;
    me.infinite_state_turns = me.full_state_turns = me.attack_up_turns = me.heal_state_turns = 2;
    g.my.day_count = 23;
    g.my.day_hours = 12;
    g.my.hours_used = 5;
    g.my.money = 12345;
    g.my.location = 0;
    g.GamePhase = 0;
    tman& foe = g.unit[1];
    foe = g.monster[3];
    foe.name = J("森の野獣");
    foe.max_hp = 48;
    foe.hp = 30;
    foe.max_mp = 4;
    foe.tp = 100;
    foe.map_active = 1;
    foe.map_kind = 3;
    foe.size = 15;
    g.in_battle = 1;
    g.foe_index = 1;
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

  QApplication& app = App();
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
