// SPDX-License-Identifier: GPL-3.0-or-later
// fxshot: renders the status panel and every floating effect on the real Qt canvas,
// offscreen, into PNG frames and one contact sheet per scene, so anyone can look.
//
//   fxshot [--out DIR] [--only NAME]
//
// Run it from anywhere; it reads the generated pictures from cg/ beside itself.
// Each scene writes DIR/<scene>/NN.png (one per tick) and DIR/<scene>.png, a sheet
// of up to 12 evenly spread ticks with their numbers.
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/game.h"
#include "core/monsters.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/history.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "tools/fxshot/busy_game.h"

namespace {

namespace fs = std::filesystem;

struct Shot {
  std::string name;
  std::string picture;  // scene picture of the cg folder
  bool battle = false;
  bool shop = false;
  bool settled = true;  // panel and figures already in place
  std::function<void(Game&)> spawn;
  int ticks = 0;  // 0: until every effect has ended
};

void Save(const Picture& pic, const fs::path& path) { QtImageOf(pic).save(QString::fromStdString(path.string())); }

// Up to 12 frames in a 4-column sheet, each labelled with its tick.
void SaveSheet(const std::vector<QImage>& frames, const fs::path& path) {
  if (frames.empty()) return;
  const int n = static_cast<int>(frames.size());
  std::vector<int> pick;
  const int want = std::min(n, 12);
  // Denser at the start, where effects change fastest.
  for (int i = 0; i < want; ++i) {
    const double f = want == 1 ? 0.0 : static_cast<double>(i) / (want - 1);
    int v = static_cast<int>(f * f * (n - 1) + 0.5);
    if (!pick.empty() && v <= pick.back()) v = pick.back() + 1;
    pick.push_back(std::min(v, n - 1));
  }
  const int cols = std::min(want, 4), rows = (want + cols - 1) / cols;
  QImage sheet(cols * 302, rows * 302, QImage::Format_RGB32);
  sheet.fill(QColor(60, 60, 60));
  QPainter p(&sheet);
  p.setPen(QColor(255, 255, 0));
  for (int i = 0; i < want; ++i) {
    const int x = (i % cols) * 302 + 1, y = (i / cols) * 302 + 1;
    p.drawImage(x, y, frames[pick[i]]);
    p.drawText(x + 4, y + 296, QString("tick %1").arg(pick[i] + 1));
  }
  p.end();
  sheet.save(QString::fromStdString(path.string()));
}

bool AnyAlive(const Game& g) {
  for (int a : g.fx.pop_age) {
    if (a >= 1) return true;
  }
  return false;
}

void Render(const Shot& s, const fs::path& out) {
  QtPlatform plat;
  Game g(plat);
  g.rng.Seed(20240601);
  FillMonsterCatalogue(g);
  CreateSurfaces(g);
  CutSpriteFrames(g);
  ShowCg(g, s.picture);
  SetUpPlayer(g);
  if (s.shop) g.my.location = kShop;
  if (s.battle) SetUpBattle(g);
  LogLines(g, {"森の奥へ進んだ。", "何かの気配がする……", "森の野獣があらわれた！"});
  if (s.settled) {
    for (int i = 0; i < 60; ++i) {
      StepFrame(g);
      DrawFrame(g);
    }
    g.screen.ShakeCounter = 0;
    g.screen.EnemyBlinkCounter = 0;
  } else {
    g.panel = PanelState{};
  }
  if (s.spawn) s.spawn(g);

  fs::create_directories(out / s.name);
  std::vector<QImage> frames;
  for (int tick = 1; tick <= 200; ++tick) {
    g.FrameCounter = (g.FrameCounter + 1) % 1000;
    StepFrame(g);
    DrawFrame(g);
    frames.push_back(QtImageOf(*g.screen.cg));
    char file[32];
    std::snprintf(file, sizeof file, "%02d.png", tick);
    Save(*g.screen.cg, out / s.name / file);
    if (s.ticks > 0 ? tick >= s.ticks : !AnyAlive(g)) break;
  }
  SaveSheet(frames, out / (s.name + ".png"));
  std::printf("%-14s %3zu frames\n", s.name.c_str(), frames.size());
}

std::vector<Shot> Shots() {
  std::vector<Shot> v;
  // The panel sliding in over the shop, then in a battle with the enemy block arriving.
  v.push_back({"panel_shop", "store.bmp", false, true, false, nullptr, 20});
  v.push_back({"panel_battle", "forest.bmp", true, false, false, nullptr, 20});
  // A busy battle: every line, the enemy block, HP running down, figures and sparks.
  v.push_back({"panel_shop_busy", "store.bmp", false, true, true,
               [](Game& g) {
                 g.unit[kPlayer].hp = 90;
                 PopText(g, 30, 59, 63, "");
                 PopText(g, 227, 38, 17, "53");
               },
               16});
  v.push_back({"panel_busy", "forest.bmp", true, false, true,
               [](Game& g) {
                 g.unit[kPlayer].hp = 12;
                 g.unit[1].hp = 3;
                 PopText(g, 227, 38, 16, "25");
                 PopTextAt(g, 1, 16, "31");
                 PopTextAt(g, 1, 18, "Miss....");
                 PopText(g, 224, 103, 19, "30");
                 PopTextAt(g, 0, 140, "");
               },
               24});

  auto at_enemy = [](int kind) { return [kind](Game& g) { PopTextAt(g, 1, kind, ""); }; };
  auto at_both = [](int kind) {
    return [kind](Game& g) {
      PopTextAt(g, 1, kind, "");
      PopTextAt(g, 0, kind, "");
    };
  };
  auto at_player = [](int kind) { return [kind](Game& g) { PopTextAt(g, 0, kind, ""); }; };

  v.push_back({"text_16", "forest.bmp", true, false, true, [](Game& g) {
                 PopText(g, 227, 38, 16, "18");
                 PopTextAt(g, 1, 16, "123");
                 PopText(g, 224, 133, 16, "5");
               }});
  v.push_back({"text_17", "forest.bmp", true, false, true, [](Game& g) {
                 PopText(g, 227, 38, 17, "25");
                 PopTextAt(g, 1, 17, "1000");
               }});
  v.push_back({"text_18", "forest.bmp", true, false, true, [](Game& g) { PopTextAt(g, 1, 18, "Miss...."); }});
  v.push_back({"text_19", "forest.bmp", true, false, true, [](Game& g) { PopText(g, 224, 103, 19, "30"); }});

  v.push_back({"fx_012", "forest.bmp", true, false, true, at_both(12)});
  v.push_back({"fx_033", "forest.bmp", true, false, true, at_enemy(33)});
  v.push_back({"fx_034", "forest.bmp", true, false, true, at_both(34)});
  v.push_back({"fx_035", "forest.bmp", true, false, true, at_both(35)});
  v.push_back({"fx_043", "forest.bmp", false, false, true, at_player(43)});
  v.push_back({"fx_044", "forest.bmp", true, false, true, at_enemy(44)});
  v.push_back({"fx_051", "forest.bmp", true, false, true, at_enemy(51)});
  v.push_back({"fx_057", "forest.bmp", true, false, true, at_both(57)});
  v.push_back({"fx_063", "store.bmp", false, true, true, [](Game& g) { PopText(g, 30, 59, 63, ""); }});
  v.push_back({"fx_075", "forest.bmp", true, false, true, at_enemy(75)});
  v.push_back({"fx_078", "forest.bmp", true, false, true, at_enemy(78)});
  v.push_back({"fx_078_throw", "forest.bmp", true, false, true, [](Game& g) { PopMove(g, 270, 50, 150, 150, 78); }});
  v.push_back({"fx_083", "forest.bmp", false, false, true, at_player(83)});
  v.push_back({"fx_113", "forest.bmp", true, false, true, at_both(113)});
  v.push_back({"fx_120", "forest.bmp", true, false, true, at_both(120)});
  v.push_back({"fx_140", "forest.bmp", true, false, true, [](Game& g) {
                 PopTextAt(g, 0, 140, "");
                 PopText(g, 227, 38, 17, "20");
                 PopTextAt(g, 1, 140, "");
               }});
  v.push_back({"fx_158", "forest.bmp", true, false, true, [](Game& g) { PopText(g, 150, 150, 158, ""); }});
  v.push_back({"fx_160", "forest.bmp", true, false, true, [](Game& g) { PopText(g, 150, 150, 160, ""); }});
  v.push_back({"fx_victory", "forest.bmp", true, false, true, [](Game& g) {
                 g.unit[1].map_active = 0;
                 PopText(g, 150, 150, 160, "");
                 PopText(g, 150, 150, 158, "");
               }});
  v.push_back({"fx_175", "forest.bmp", false, false, true, at_player(175)});
  v.push_back({"fx_178", "forest.bmp", false, false, true, at_player(178)});
  v.push_back({"fx_levelup", "forest.bmp", false, false, true, [](Game& g) {
                 PopTextAt(g, 0, 189, "");
                 PopTextAt(g, 0, 190, "");
                 PopTextAt(g, 0, 191, "");
               }});
  v.push_back({"fx_251", "forest.bmp", true, false, true, at_enemy(251)});
  v.push_back({"fx_266", "forest.bmp", true, false, true, at_both(266)});
  // A hundred living effects at once, as the benchmark draws them.
  v.push_back({"fx_hundred", "forest.bmp", true, false, true,
               [](Game& g) {
                 const int kinds[] = {12,  33,  34,  35,  43,  44,  51,  57,  75,  78, 83, 113, 120, 140,
                                      158, 160, 175, 178, 189, 190, 191, 251, 266, 16, 17, 18,  19};
                 for (int i = 0; i < 100; ++i) {
                   const int k = kinds[i % std::size(kinds)];
                   if (k >= 16 && k <= 19) PopTextAt(g, i % 2, k, Num(i));
                   else PopTextAt(g, i % 2, k, "");
                 }
               },
               12});

  // The message history over a battle: long lines wrapped, colours, the scroll bar.
  auto history = [](int scroll) {
    return [scroll](Game& g) {
      g.GamePhase = 0;
      for (int day = 0; day < 4; ++day) {
        LogLine(g, J("怖い洞窟につきましたー"));
        LogColoured(g, J("【ドラゴンの鱗】を1個入手(所持:") + Num(96 + day) + J("個)"), "green");
        LogColoured(g, J("梟博士「フォッフー、店の噂が森まで届いとるぞ」"), "pink2");
        LogColoured(g, J("　(所持しているだけで、アイテム入手時のレア度 +50%。森の奥深くで採れる珍しい綿菓子)"),
                    "aqua");
        LogColoured(g, J("レベルアップ！"), "yellow");
        LogLine(g, "");
      }
      OpenHistory(g);
      ScrollHistory(g, scroll);
    };
  };
  v.push_back({"history", "forest.bmp", true, false, true, history(0), 3});
  v.push_back({"history_scrolled", "forest.bmp", true, false, true, history(8), 3});
  return v;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  fs::path out = "fxshot";
  std::string only;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--out" && i + 1 < argc) out = argv[++i];
    else if (a == "--only" && i + 1 < argc) only = argv[++i];
    else {
      std::fprintf(stderr, "usage: fxshot [--out DIR] [--only SCENE]\n");
      return 2;
    }
  }
  fs::create_directories(out);
  for (const Shot& s : Shots()) {
    if (!only.empty() && s.name != only) continue;
    Render(s, out);
  }
  return 0;
}
