// SPDX-License-Identifier: GPL-3.0-or-later
// Effects with particles of their own, kept in the slot's scratch integers, and
// the victory flash with its two work pictures.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/game.h"
#include "presentation/effects.h"
#include "presentation/effects_internal.h"
#include "presentation/screen.h"

namespace fx {
namespace {

int32_t* Particle(Tick& k, int i) { return k.scratch + i * kParticleStride; }

// 140: the ramp of the healing sparks, indexed by particle age modulo 7.
const std::array<Rgb, 7>& HealRamp() {
  static const auto ramp = [] {
    std::array<Rgb, 7> r{};
    for (int i = 0; i < 7; ++i) r[i] = Fade({0, 221, 255}, {0, 51, 51}, i, 7);
    return r;
  }();
  return ramp;
}

// 158 and 160: pale cyan through sky blue to near black.
constexpr int kBurstSteps = 27;
const std::array<Rgb, kBurstSteps>& BurstRamp() {
  static const auto ramp = [] {
    std::array<Rgb, kBurstSteps> r{};
    for (int i = 0; i < kBurstSteps; ++i) r[i] = Fade3({153, 255, 255}, {0, 221, 255}, {0, 0, 34}, i, kBurstSteps);
    return r;
  }();
  return ramp;
}

Rgb Burst(int age) { return BurstRamp()[std::clamp(age, 0, kBurstSteps - 1)]; }

// 140: eight sparks spiralling upwards from the healed unit.
void Heal(Tick& k) {
  Rng& rng = k.g.rng;
  if (k.scratch[0] == 0) {
    k.scratch[0] = 1;
    for (int i = 1; i <= 8; ++i) {
      int32_t* p = Particle(k, i);
      p[kAlive] = 1;
      p[kRadius] = 10 + rng.Random(5);
      p[kSize] = 5 + rng.Random(3);
      p[kSpeed] = 1 + rng.Random(6);
      p[kAge] = i + 1;
    }
  }
  const bool fifth_tick = k.g.FrameCounter % 5 == 0;
  const auto& ramp = HealRamp();
  for (int i = 1; i <= 8; ++i) {
    int32_t* p = Particle(k, i);
    if (!p[kAlive]) continue;
    const int age = ++p[kAge];
    if (age >= 30) {
      p[kAlive] = 0;
      continue;
    }
    p[kRadius] += p[kSpeed];
    if (fifth_tick) {
      p[kSize] = std::max(p[kSize] - 1, 1);
      p[kSpeed] = std::max(p[kSpeed] - 1, 1);
    }
    if (age % 5 == 0) {
      // Young sparks that have dwindled grow back to 5; a spark still larger keeps its size.
      if (age < 15) {
        if (p[kSize] < 5) ++p[kSize];
      } else {
        p[kSize] = std::max(p[kSize] - 1, 1);
      }
    }
    const int r = p[kRadius];
    const double a = (36.0 * i + 10.0 * age) * kDegToRad;
    const int px = k.x + static_cast<int>(std::lround(r * std::cos(a)));
    const int py = k.y + static_cast<int>(std::lround(r / 3.0 * std::sin(a))) - r;
    const Rgb c = ramp[age % 7];
    const Rgb fill = rng.Random(2) == 0 ? Darker(c, 17) : c;
    const int s = p[kSize];
    k.bak.pen_color = c;
    k.bak.pen_width = 1;
    k.bak.brush_style = BrushStyle::Solid;
    k.bak.brush_color = fill;
    // Size is the spark's radius: a glint of 3 to 15 pixels across.
    k.bak.Ellipse(px - s, py - s, px + s + 1, py + s + 1);
  }
}

// 158: ten four-pointed sparks bursting apart along the diagonal.
void VictoryBurst(Tick& k) {
  Rng& rng = k.g.rng;
  if (k.scratch[0] == 0) {
    k.scratch[0] = 1;
    for (int i = 1; i <= 10; ++i) {
      int32_t* p = Particle(k, i);
      p[kAlive] = 1;
      p[kPx] = k.x - 8 + rng.Random(7);
      p[kPy] = k.y - 8 + rng.Random(7);
      p[kSize] = 10 + rng.Random(5);
      p[kSpeed] = 6 + rng.Random(3);
      p[kPen] = 3 + rng.Random(3);
      p[kAge] = 1 + rng.Random(9);
    }
  }
  const bool even_tick = k.g.FrameCounter % 2 == 0;
  for (int i = 1; i <= 10; ++i) {
    int32_t* p = Particle(k, i);
    if (!p[kAlive]) continue;
    const int age = ++p[kAge];
    const int d = i % 2 == 0 ? -p[kSpeed] : p[kSpeed];
    p[kPx] += d;
    p[kPy] += d;
    p[kSpeed] = std::max(p[kSpeed] - (p[kSpeed] / 4 + 1), 1);
    if (even_tick) p[kPen] = std::max(p[kPen] - 1, 1);
    if (p[kSize] > 5) --p[kSize];
    const Rgb c = Burst(age);
    const int s = p[kSize];
    FillPolygon(k.bak, Star(p[kPx], p[kPy], s, std::max(s / 4, 1), 4, age * 9.0), c, Darker(c, 68), p[kPen]);
  }
}

// 160: the victory flash. A turning eight-pointed star and a ring of shards are
// drawn into two work pictures and OR-combined straight onto the picture, so they
// brighten the scene and the log alike.
constexpr int kStarPic = 96;
constexpr int kShardPic = 128;

Picture* Work(Game& g, int i, int size) {
  auto& w = g.fx.work[i];
  if (!w) w = g.plat.CreatePicture(size, size);
  return w.get();
}

void VictoryFlash(Tick& k) {
  if (k.g.screen.cg == nullptr) return;
  Canvas& cg = k.g.screen.cg->canvas();
  const int t = k.t;

  Picture* star = Work(k.g, 0, kStarPic);
  Picture* shards = Work(k.g, 1, kShardPic);
  if (star == nullptr || shards == nullptr) return;

  // The star blooms for a few ticks and then withers.
  {
    Canvas& c = star->canvas();
    c.brush_style = BrushStyle::Solid;
    c.brush_color = colors::kBlack;
    c.FillRect(Rect{0, 0, kStarPic, kStarPic});
    const int h = kStarPic / 2;
    const int outer = t < 5 ? 10 + t * 8 : std::max(42 - (t - 5) * 3, 4);
    const Rgb col = Burst(t + 1);
    FillPolygon(c, Star(h, h, outer, outer / 4 + 2, 8, t * 6.0), col, Darker(col, 85));
    FillPolygon(c, Star(h, h, outer / 2, outer / 6 + 1, 8, 22.5 - t * 6.0), Burst(t + 6), Burst(t + 3));
    cg.CopyRect(Rect{k.x - h, k.y - h, k.x - h + kStarPic, k.y - h + kStarPic}, *star, Rect{0, 0, kStarPic, kStarPic},
                CopyMode::Or);
  }
  // Twelve shards flying outwards, each a thin triangle pointing away from the centre.
  {
    Canvas& c = shards->canvas();
    c.brush_style = BrushStyle::Solid;
    c.brush_color = colors::kBlack;
    c.FillRect(Rect{0, 0, kShardPic, kShardPic});
    const int h = kShardPic / 2;
    const int r = 8 + t * 4;
    const Rgb col = Burst(t + 4);
    for (int i = 0; i < 12; ++i) {
      const double deg = i * 30.0 + t * 4.0;
      const Point tip = Orbit(h, h, std::min(r + 8, h - 1), deg);
      const Point a = Orbit(h, h, r, deg - 6.0);
      const Point b = Orbit(h, h, r, deg + 6.0);
      FillPolygon(c, {tip, a, b}, col, Darker(col, 51));
    }
    cg.CopyRect(Rect{k.x - h, k.y - h, k.x - h + kShardPic, k.y - h + kShardPic}, *shards,
                Rect{0, 0, kShardPic, kShardPic}, CopyMode::Or);
  }
}

}  // namespace

bool DrawParticleKind(int kind, Tick& k) {
  switch (kind) {
    case 140: Heal(k); break;
    case 158: VictoryBurst(k); break;
    case 160: VictoryFlash(k); break;
    default: return false;
  }
  return true;
}

}  // namespace fx
