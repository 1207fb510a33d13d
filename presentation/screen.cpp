// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/screen.h"

#include <algorithm>
#include <string>

#include "core/game.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/history.h"
#include "presentation/log.h"
#include "presentation/panel.h"

namespace {

constexpr Rect kFull{0, 0, kScreenSize, kScreenSize};

// The picture of an image widget of the window, or a picture of our own when the
// window has no such widget.
Picture* WidgetPictureOr(Game& g, const char* name, std::unique_ptr<Picture>& own) {
  if (Widget* w = g.plat.FindWidget(name)) {
    if (Picture* p = w->picture()) return p;
  }
  if (!own) own = g.plat.CreatePicture(kScreenSize, kScreenSize);
  return own.get();
}

// Copies as much of src's rectangle as lies inside both pictures.
void CopyClipped(Canvas& dst_canvas, int dst_w, int dst_h, int dx, int dy, const Picture& src, int sx, int sy, int w,
                 int h, CopyMode mode) {
  // A start before an edge moves both starts on and shortens the run by as much.
  const auto clip = [](int& start, int& other, int& length) {
    if (start >= 0) return;
    other -= start;
    length += start;
    start = 0;
  };
  clip(sx, dx, w);
  clip(sy, dy, h);
  clip(dx, sx, w);
  clip(dy, sy, h);
  w = std::min({w, src.Width() - sx, dst_w - dx});
  h = std::min({h, src.Height() - sy, dst_h - dy});
  if (w <= 0 || h <= 0) return;
  dst_canvas.CopyRect(Rect{dx, dy, dx + w, dy + h}, src, Rect{sx, sy, sx + w, sy + h}, mode);
}

void DrawAt(Picture& dst, const Picture& src) {
  CopyClipped(dst.canvas(), dst.Width(), dst.Height(), 0, 0, src, 0, 0, src.Width(), src.Height(), CopyMode::Copy);
}

// White where the picture is black, black elsewhere, drawn row by row in runs.
std::unique_ptr<Picture> MakeMask(Platform& p, const Picture& src) {
  auto mask = p.CreatePicture(src.Width(), src.Height());
  Canvas& c = mask->canvas();
  c.brush_style = BrushStyle::Solid;
  c.brush_color = colors::kWhite;
  for (int y = 0; y < src.Height(); ++y) {
    int x = 0;
    while (x < src.Width()) {
      if (src.Pixel(x, y) != colors::kBlack) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < src.Width() && src.Pixel(x, y) == colors::kBlack) ++x;
      c.FillRect(Rect{start, y, x, y + 1});
    }
  }
  return mask;
}

void DrawFrameShake(Game& g) {
  ScreenState& s = g.screen;
  if (s.ShakeCounter < 1) return;
  s.ShakeCounter -= 1;
  const int d = g.rng.Random(9) - 4;
  // cg onto itself, moved down by d (up when d is negative).
  CopyClipped(s.cg->canvas(), kScreenSize, kScreenSize, 0, d, *s.cg, 0, 0, kScreenSize, kScreenSize + d,
              CopyMode::Copy);
}

}  // namespace

Picture* Background(Game& g) { return g.screen.PictureSlots[kBackgroundSlot].get(); }

void CreateSurfaces(Game& g) {
  ScreenState& s = g.screen;
  s.cg = WidgetPictureOr(g, "cg", s.own_cg);
  s.bak = WidgetPictureOr(g, "bak", s.own_bak);

  const std::string first = g.plat.ExeDir() + "cg/00.bmp";
  for (int i = 0; i < kWorkSlots; ++i) {
    std::unique_ptr<Picture> pic;
    if (i == 0 || i == kBackgroundSlot) {
      pic = g.plat.LoadPicture(first);
      if (!pic) pic = g.plat.CreatePicture(kScreenSize, kScreenSize);
    } else {
      pic = g.plat.CreatePicture(1, 1);  // an empty work picture
    }
    s.PictureSlots[i] = std::move(pic);
    s.PictureSlots[kMaskBase + i] = g.plat.CreatePicture(1, 1);
  }
  s.PictureSlots[kMaskBase] = MakeMask(g.plat, *s.PictureSlots[0]);
}

void CutSpriteFrames(Game& g) {
  ScreenState& s = g.screen;
  for (int n = 1; n <= kSpriteSetsCut; ++n) {
    const tman& m = g.monster[n];
    if (m.name.empty()) continue;
    const int side = 2 * m.size;
    if (side <= 0) continue;
    auto strip = g.plat.LoadPicture(g.plat.ExeDir() + "cg/man" + Num(n) + ".bmp");
    if (!strip) continue;
    for (int i = 0; i < kSpriteFrames; ++i) {
      auto frame = g.plat.CreatePicture(side, side);
      CopyClipped(frame->canvas(), side, side, 0, 0, *strip, side * i, 0, side, side, CopyMode::Copy);
      s.PictureSlots[kSpriteBase + kSpriteFrames * n + i] = std::move(frame);
    }
  }
}

void ShowCg(Game& g, const std::string& name) {
  auto pic = g.plat.LoadPicture(g.plat.ExeDir() + "cg/" + name);
  if (!pic) return;  // the old scene stays
  if (Picture* back = Background(g)) DrawAt(*back, *pic);
  g.screen.haikei = std::move(pic);
}

void DrawEnemy(Game& g) {
  ScreenState& s = g.screen;
  if (s.EnemyBlinkCounter >= 1) {
    s.EnemyBlinkCounter -= 1;
    if (s.EnemyBlinkCounter % 2 == 0) return;
  }
  if (g.foe_index < 0 || g.foe_index >= kUnitCount) return;
  const tman& u = g.unit[g.foe_index];
  if (u.map_active == 0 && s.EnemyBlinkCounter == 0) return;
  if (u.map_kind < 0 || u.map_kind >= kMonsterCount) return;
  const Picture* frame =
      s.PictureSlots[kSpriteBase + kSpriteFrames * u.map_kind + g.FrameCounter % kSpriteFrames].get();
  if (!frame) return;
  const int b = 2 * u.size;
  s.cg->canvas().StretchDrawTransparent(Rect{150 - b, 150 - b, 150 + b, 150 + b}, *frame);
}

void StepFrame(Game& g) {
  // The same conditions as DrawFrame's: what is not drawn does not move.
  if (!g.screen.cg || !g.screen.bak || HistoryOpen(g)) return;
  if (g.GamePhase >= 0 || IsShown(g, "bp_box")) {
    StepStatusPanel(g);
    StepChoiceButtons(g);
  }
}

void DrawFrame(Game& g) {
  ScreenState& s = g.screen;
  if (!s.cg || !s.bak) return;
  // The history stands over the picture as it was; nothing beneath moves on.
  if (HistoryOpen(g)) {
    DrawHistory(g);
    return;
  }
  Canvas& c = s.cg->canvas();
  if (Picture* back = Background(g)) DrawAt(*s.cg, *back);

  Canvas& b = s.bak->canvas();
  b.brush_style = BrushStyle::Solid;
  b.brush_color = colors::kBlack;
  b.pen_color = colors::kBlack;
  b.Rectangle(-1, -1, kScreenSize + 1, kScreenSize + 1);

  if (g.in_battle == 1) DrawEnemy(g);
  DrawMessageLog(g, c);
  DrawEffects(g);
  if (g.GamePhase >= 0 || IsShown(g, "bp_box")) {
    DrawStatusPanel(g);
    DrawChoiceButtons(g, c);
  }
  c.CopyRect(kFull, *s.bak, kFull, CopyMode::Or);
  DrawFrameShake(g);
}

void DrawTitle(Game& g) {
  Picture* cg = g.screen.cg;
  if (!cg) return;
  Canvas& c = cg->canvas();
  if (const Picture* scene = g.screen.haikei.get()) {
    const Rect r{0, 0, std::min(scene->Width(), 300), std::min(scene->Height(), 300)};
    c.CopyRect(r, *scene, r, CopyMode::Copy);
  }
  if (Picture* bak = g.screen.bak) {
    const Rect full{0, 0, 300, 300};
    Canvas& b = bak->canvas();
    b.brush_style = BrushStyle::Solid;
    b.brush_color = colors::kBlack;
    b.FillRect(full);
    c.CopyRect(full, *bak, full, CopyMode::Or);
  }
}
