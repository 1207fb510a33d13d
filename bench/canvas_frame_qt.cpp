// SPDX-License-Identifier: GPL-3.0-or-later
// A frame-like workload through the platform interface on the Qt canvas: copy a
// 300 x 300 picture, six lines of Japanese text with backgrounds, four outlined
// rectangles and one OR-combine of a 300 x 300 overlay. The budget is 1 ms median,
// about 1% of the game's 90 ms tick.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "bench/qt_app.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"

namespace {

void BM_CanvasFrame(benchmark::State& state) {
  BenchApp();
  QtPlatform plat;
  auto scene = plat.CreatePicture(300, 300);
  auto cg = plat.CreatePicture(300, 300);
  auto overlay = plat.CreatePicture(300, 300);
  Canvas& s = scene->canvas();
  for (int y = 0; y < 300; y += 10) {  // something other than one flat colour to copy
    s.brush_color = Rgb(y % 256, 120, 255 - y % 256);
    s.FillRect(Rect{0, y, 300, y + 10});
  }
  overlay->canvas().brush_color = Rgb(0, 0, 40);
  overlay->canvas().FillRect(Rect{20, 20, 120, 60});

  const std::string lines[6] = {J("森の奥へ進んだ。"),   J("何かの気配がする……"),
                                J("野獣があらわれた！"), J("ポムリエの攻撃！ 12のダメージ"),
                                J("お腹が空いてきた。"), J("所持金: 300円")};
  const std::string captions[4] = {J("さがす"), J("キャンプ"), J("アイテム"), J("帰る")};
  const Rect full{0, 0, 300, 300};
  int frame = 0;
  for (auto _ : state) {
    Canvas& c = cg->canvas();
    c.CopyRect(full, *scene, full, CopyMode::Copy);
    c.font.size = 9;
    c.font.bold = true;
    c.brush_style = BrushStyle::Solid;
    c.brush_color = Rgb(136, 68, 85);
    for (int i = 0; i < 6; ++i) {
      c.font.color = Rgb(255, (frame + i) * 20 % 256, 255);
      c.TextOut(2, 285 - 13 * i, lines[i]);
    }
    c.font.size = 10;
    c.brush_color = colors::kBlack;
    c.pen_color = colors::kWhite;
    for (int k = 0; k < 4; ++k) {
      c.Rectangle(200, 199 + 25 * k, 301, 225 + 25 * k);
      c.TextOut(205, 205 + 25 * k, captions[k]);
    }
    c.CopyRect(full, *overlay, full, CopyMode::Or);
    ++frame;
  }
}
BENCHMARK(BM_CanvasFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
