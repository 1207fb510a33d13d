// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/effects.h"

#include <algorithm>
#include <cmath>

#include "core/game.h"
#include "presentation/effects_internal.h"
#include "presentation/screen.h"

namespace {

bool IsTextKind(int kind) { return kind >= 16 && kind <= 19; }

// The figure's colour, then six darker steps as it fades out.
constexpr Rgb kTextRamp[4][7] = {
    {{255, 112, 112}, {221, 80, 80}, {187, 48, 48}, {153, 16, 16}, {119, 0, 0}, {85, 0, 0}, {51, 0, 0}},
    {{47, 151, 255}, {16, 112, 221}, {0, 80, 187}, {0, 51, 153}, {0, 0, 119}, {0, 0, 85}, {0, 0, 51}},
    {{255, 172, 214}, {221, 153, 187}, {187, 119, 153}, {153, 85, 119}, {119, 51, 85}, {85, 17, 51}, {51, 0, 17}},
    {{255, 255, 255}, {221, 221, 221}, {187, 187, 187}, {153, 153, 153}, {85, 85, 85}, {51, 51, 51}, {17, 17, 17}},
};

Rgb TextColor(int kind, int age) {
  int step = 0;
  if (age >= 30) step = std::min((age - 30) / 2 + 1, 6);
  return kTextRamp[kind - 16][step];
}

int TextSize(int kind, const std::string& text) {
  if (kind == 16) return 10;
  return text.size() <= 3 ? 10 : 8;
}

void DrawTextKind(Game& g, Canvas& bak, int slot, int age) {
  const int kind = g.fx.pop_kind[slot];
  const std::string& text = g.pop_text[slot];
  bak.brush_style = BrushStyle::Clear;
  bak.font = Font{TextSize(kind, text), true, false, TextColor(kind, age)};
  const int w = bak.TextWidth(text);
  bak.TextOut(g.fx.pop_x[slot] - w / 2, g.fx.pop_y[slot], text);
}

void Spawn(Game& g, int x0, int y0, int ax, int ay, int x, int y, int kind, const std::string& text) {
  EffectsState& e = g.fx;
  int s = e.PopCursor + 1;
  if (s < 0 || s >= kPopSlots) s = 0;
  e.PopCursor = s;
  e.pop_age[s] = 1;
  e.pop_x0[s] = x0;
  e.pop_y0[s] = y0;
  e.pop_ax[s] = ax;
  e.pop_ay[s] = ay;
  e.pop_x[s] = x;
  e.pop_y[s] = y;
  e.pop_kind[s] = kind;
  g.pop_text[s] = text;
  e.pop_scratch[s][0] = 0;
}

}  // namespace

int EffectLife(int kind) {
  switch (kind) {
    case 16:
    case 17:
    case 18:
    case 19: return 42;
    case 63: return 28;
    case 113:
    case 251: return 20;
    case 120: return 38;
    case 140: return 60;
    case 158: return 26;
    case 160:
    case 189:
    case 190:
    case 191: return 17;
    case 175: return 10;
    case 178: return 16;
    case 266: return 22;
    default: return 15;  // 12, 33, 34, 35, 43, 44, 51, 57, 75, 78, 83 and any unknown kind
  }
}

int BounceOffset(int age) {
  switch (age) {
    case 0:
    case 1: return -12;
    case 2: return -10;
    case 3: return 6;
    case 4: return 4;
    case 5: return -3;
    case 6: return -2;
    case 7: return 3;
    case 8: return 2;
    case 9: return -1;
    default: return age >= 10 && age <= 99 ? 1 : 0;
  }
}

void PopText(Game& g, int x, int y, int kind, const std::string& text) { Spawn(g, x, y, 0, 0, x, y, kind, text); }

void PopTextAt(Game& g, int who, int kind, const std::string& text) {
  int x, y;
  if (who != 0) {
    // Just above the enemy picture, whose half-side is twice the frame half-size.
    const int h = who > 0 && who < kMonsterCount ? g.monster[who].size : 15;
    x = 140 + g.rng.Random(21);
    y = 150 - 2 * h - g.rng.Random(30);
  } else {
    // Near the player's HP figure on the panel.
    x = 230 + g.rng.Random(21);
    y = 35 + g.rng.Random(20);
  }
  PopText(g, x, y, kind, text);
}

void PopMove(Game& g, int x0, int y0, int x1, int y1, int kind) { Spawn(g, x0, y0, x0, y0, x1, y1, kind, {}); }

void ClearEffects(Game& g) { g.fx.pop_age.fill(0); }

void DrawEffects(Game& g) {
  EffectsState& e = g.fx;
  Canvas* bak = g.screen.bak ? &g.screen.bak->canvas() : nullptr;
  for (int s = 0; s < kPopSlots; ++s) {
    if (e.pop_age[s] < 1) continue;
    const int age = ++e.pop_age[s];
    const int kind = e.pop_kind[s];
    const int life = EffectLife(kind);
    if (IsTextKind(kind)) {
      // Drawn where it stood before this tick's bounce; ages a second time after drawing.
      if (bak) DrawTextKind(g, *bak, s, age);
      e.pop_y[s] += BounceOffset(age);
    } else if (bak) {
      // A moving effect travels from its start to its end during the first half of its life.
      const int t = age - 2;
      const int travel = std::max(life / 2, 1);
      const int f = std::min(t, travel);
      fx::Tick k{g,
                 *bak,
                 s,
                 age,
                 t,
                 life,
                 e.pop_x0[s] + (e.pop_x[s] - e.pop_x0[s]) * f / travel,
                 e.pop_y0[s] + (e.pop_y[s] - e.pop_y0[s]) * f / travel,
                 e.pop_scratch[s].data()};
      if (!fx::DrawShapeKind(kind, k)) fx::DrawParticleKind(kind, k);
    }
    if (age > life) {
      e.pop_age[s] = 0;
    } else if (IsTextKind(kind)) {
      ++e.pop_age[s];
    }
  }
}

namespace fx {

Rgb Step(std::span<const Rgb> ramp, int t, int life) {
  if (ramp.empty()) return colors::kBlack;
  const int n = static_cast<int>(ramp.size());
  const int i = std::clamp(t * n / std::max(life, 1), 0, n - 1);
  return ramp[i];
}

Rgb Fade(Rgb a, Rgb b, int t, int steps) {
  const int d = std::max(steps - 1, 1);
  t = std::clamp(t, 0, d);
  auto mix = [&](int p, int q) { return p + (q - p) * t / d; };
  return Rgb(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

Rgb Fade3(Rgb a, Rgb m, Rgb b, int t, int steps) {
  const int half = std::max(steps / 2, 1);
  if (t < half) return Fade(a, m, t, half + 1);
  return Fade(m, b, t - half, steps - half);
}

Rgb Darker(Rgb c, int d) { return Rgb(std::max(c.r - d, 0), std::max(c.g - d, 0), std::max(c.b - d, 0)); }

void Disc(Canvas& c, int cx, int cy, int r, Rgb pen, Rgb fill, int pen_width) {
  if (r < 0) return;
  c.pen_color = pen;
  c.pen_width = pen_width;
  c.brush_style = BrushStyle::Solid;
  c.brush_color = fill;
  c.Ellipse(cx - r, cy - r, cx + r + 1, cy + r + 1);
}

void Ring(Canvas& c, int cx, int cy, int r, Rgb pen, int pen_width) {
  if (r < 1) return;
  c.pen_color = pen;
  c.pen_width = pen_width;
  c.brush_style = BrushStyle::Clear;
  c.Ellipse(cx - r, cy - r, cx + r + 1, cy + r + 1);
}

std::vector<Point> Star(int cx, int cy, int outer, int inner, int n, double deg) {
  std::vector<Point> pts;
  pts.reserve(2 * n);
  for (int i = 0; i < 2 * n; ++i) {
    const double a = (deg + i * 180.0 / n) * kDegToRad;
    const int r = i % 2 == 0 ? outer : inner;
    pts.push_back(Point{cx + static_cast<int>(std::lround(r * std::cos(a))),
                        cy + static_cast<int>(std::lround(r * std::sin(a)))});
  }
  return pts;
}

std::vector<Point> Regular(int cx, int cy, int r, int n, double deg) {
  std::vector<Point> pts;
  pts.reserve(n);
  for (int i = 0; i < n; ++i) pts.push_back(Orbit(cx, cy, r, deg + i * 360.0 / n));
  return pts;
}

void FillPolygon(Canvas& c, const std::vector<Point>& pts, Rgb pen, Rgb fill, int pen_width) {
  c.pen_color = pen;
  c.pen_width = pen_width;
  c.brush_style = BrushStyle::Solid;
  c.brush_color = fill;
  c.Polygon(pts);
}

void OutlinePolygon(Canvas& c, const std::vector<Point>& pts, Rgb pen, int pen_width) {
  c.pen_color = pen;
  c.pen_width = pen_width;
  c.brush_style = BrushStyle::Clear;
  c.Polygon(pts);
}

Point Orbit(int cx, int cy, int r, double deg, int squash) {
  const double a = deg * kDegToRad;
  return Point{cx + static_cast<int>(std::lround(r * std::cos(a))),
               cy + static_cast<int>(std::lround(r * std::sin(a) / std::max(squash, 1)))};
}

}  // namespace fx
