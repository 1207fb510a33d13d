// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the effect animations, split by family over effects_*.cpp.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/canvas.h"

struct Game;

namespace fx {

// One living effect as its drawing code sees it on this tick.
struct Tick {
  Game& g;
  Canvas& bak;
  int slot;
  int age;           // after this tick's ageing: 2 on the first drawing
  int t;             // ticks since the spawn: 0 on the first drawing
  int life;          // ticks the kind lives
  int x, y;          // centre of the drawing this tick
  int32_t* scratch;  // kPopScratch integers of the slot
};

// Scratch layout of the particle kinds: [0] is 1 once the particles exist;
// particle i uses the kParticleStride integers from i * kParticleStride on.
inline constexpr int kParticleStride = 8;
enum ParticleField { kAlive, kAge, kRadius, kSize, kSpeed, kPx, kPy, kPen };

// The angle constant every animation shares.
inline constexpr double kDegToRad = 3.1415 / 180.0;

// Colour `t` of `life` ticks stepping through the ramp once, evenly.
Rgb Step(std::span<const Rgb> ramp, int t, int life);
// Linear blend from a (t = 0) to b (t = steps - 1).
Rgb Fade(Rgb a, Rgb b, int t, int steps);
// Blend through a middle colour: a at 0, m halfway, b at steps - 1.
Rgb Fade3(Rgb a, Rgb m, Rgb b, int t, int steps);
// Each component lowered by d, not below 0.
Rgb Darker(Rgb c, int d);

// Circle of radius r around (cx, cy); filled with `fill` or, when ring is true, only outlined.
void Disc(Canvas& c, int cx, int cy, int r, Rgb pen, Rgb fill, int pen_width = 1);
void Ring(Canvas& c, int cx, int cy, int r, Rgb pen, int pen_width);
// Star of n points (2n corners) between radii outer and inner, turned by deg degrees.
std::vector<Point> Star(int cx, int cy, int outer, int inner, int n, double deg);
// Regular polygon of n corners.
std::vector<Point> Regular(int cx, int cy, int r, int n, double deg);
void FillPolygon(Canvas& c, const std::vector<Point>& pts, Rgb pen, Rgb fill, int pen_width = 1);
void OutlinePolygon(Canvas& c, const std::vector<Point>& pts, Rgb pen, int pen_width);
// Point at distance r and angle deg from (cx, cy); squash divides the vertical half-axis.
Point Orbit(int cx, int cy, int r, double deg, int squash = 1);

// Kinds by family. Each returns false for a kind it does not know.
bool DrawShapeKind(int kind, Tick& k);     // effects_shapes.cpp
bool DrawParticleKind(int kind, Tick& k);  // effects_particles.cpp

}  // namespace fx
