// SPDX-License-Identifier: GPL-3.0-or-later
// The spell, hit and item animations: circles, rings and polygons drawn fresh from
// the effect's age every tick.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/game.h"
#include "presentation/effects.h"
#include "presentation/effects_internal.h"

namespace fx {
namespace {

constexpr Rgb kWhite{255, 255, 255};

constexpr std::array<Rgb, 2> kVoice{{{170, 0, 47}, {86, 1, 46}}};
constexpr std::array<Rgb, 2> kPoison{{{0, 147, 0}, {0, 64, 0}}};
constexpr std::array<Rgb, 2> kParalysis{{{147, 147, 0}, {255, 255, 0}}};
constexpr std::array<Rgb, 2> kArrow{{{255, 255, 255}, {255, 128, 0}}};
constexpr std::array<Rgb, 5> kThrow{{{255, 255, 255}, {192, 192, 192}, {128, 128, 128}, {85, 85, 5}, {34, 34, 2}}};
constexpr std::array<Rgb, 7> kItemOrbit{
    {{192, 192, 192}, {255, 255, 255}, {187, 187, 187}, {153, 153, 153}, {102, 102, 102}, {51, 51, 51}, {17, 17, 17}}};
constexpr std::array<Rgb, 8> kGuard{{{255, 255, 255},
                                     {27, 254, 163},
                                     {0, 255, 255},
                                     {0, 179, 255},
                                     {16, 133, 239},
                                     {43, 98, 213},
                                     {70, 70, 185},
                                     {62, 54, 116}}};
constexpr std::array<Rgb, 6> kRank{
    {{255, 255, 255}, {210, 255, 255}, {180, 206, 239}, {173, 182, 218}, {183, 183, 198}, {174, 174, 183}}};
constexpr std::array<Rgb, 2> kHeavy{{{192, 192, 192}, {255, 255, 255}}};
constexpr std::array<Rgb, 9> kDrain{{{255, 128, 128},
                                     {255, 0, 128},
                                     {255, 117, 186},
                                     {217, 0, 190},
                                     {184, 113, 255},
                                     {130, 0, 191},
                                     {141, 114, 254},
                                     {46, 0, 153},
                                     {128, 198, 255}}};
constexpr std::array<Rgb, 9> kItemFlash{{{61, 1, 109},
                                         {166, 0, 255},
                                         {88, 0, 95},
                                         {203, 1, 254},
                                         {255, 77, 0},
                                         {121, 0, 61},
                                         {255, 0, 77},
                                         {102, 0, 102},
                                         {255, 0, 255}}};
constexpr std::array<Rgb, 7> kLifespan{
    {{255, 0, 255}, {238, 119, 34}, {153, 221, 102}, {68, 170, 153}, {51, 85, 136}, {51, 34, 68}, {51, 0, 17}}};
constexpr std::array<Rgb, 7> kYouth{
    {{255, 255, 255}, {0, 255, 255}, {188, 121, 255}, {136, 68, 204}, {102, 34, 136}, {68, 17, 68}, {51, 0, 17}}};
constexpr std::array<Rgb, 3> kBreath{{{1, 75, 20}, {1, 114, 30}, {0, 36, 10}}};

// 12: a dark red cloud swelling over the unit.
void Voice(Tick& k) {
  const Rgb c = Step(kVoice, k.t, k.life);
  Disc(k.bak, k.x, k.y, 6 + k.t * 3, c, c);
}

// 33 and 44: eleven bubbles a tick, scattered over a 32 x 32 square that rises.
void Bubbles(Tick& k, const std::array<Rgb, 2>& ramp) {
  Rng& rng = k.g.rng;
  const int top = k.y - 16 - k.t * 2;
  for (int i = 0; i < 11; ++i) {
    const int px = k.x - 16 + rng.Random(32);
    const int py = top + rng.Random(32);
    const int pen = 1 + rng.Random(3);
    const Rgb c = ramp[rng.Random(2)];
    Ring(k.bak, px, py, 2 + rng.Random(3), c, pen);
  }
}

// 34: rings spreading from the archer, the inner ones lagging a colour behind.
void Arrow(Tick& k) {
  for (int i = 0; i < 3; ++i) {
    const int age = k.t - i * 3;
    if (age < 0) break;
    Ring(k.bak, k.x, k.y, 3 + age * 4, Step(kArrow, age + 2, k.life), i == 0 ? 2 : 1);
  }
}

// 35: three stones circling the thrower on a widening path.
void Throw(Tick& k) {
  const Rgb c = Step(kThrow, k.t, k.life);
  for (int i = 0; i < 3; ++i) {
    const Point p = Orbit(k.x, k.y, 10 + k.t * 2, k.t * 36.0 + i * 120.0, 2);
    Disc(k.bak, p.x, p.y, 4, c, Darker(c, 34));
  }
}

// 43: a light circling inwards with a short tail.
void ItemOrbit(Tick& k) {
  for (int i = 2; i >= 0; --i) {
    const int t = k.t - i;
    if (t < 0) continue;
    const Rgb c = Step(kItemOrbit, t + i * 2, k.life);
    const Point p = Orbit(k.x, k.y, std::max(20 - t, 4), t * 48.0, 1);
    Disc(k.bak, p.x, p.y, 5 - i * 2, c, c);
  }
}

// 51: four orbs closing in on the target.
void Magic(Tick& k) {
  // White, silver, yellow, then green-cyan fading to deep blue: one colour per tick.
  Rgb c;
  if (k.t < 3) {
    constexpr Rgb first[3] = {{255, 255, 255}, {192, 192, 192}, {255, 255, 0}};
    c = first[std::max(k.t, 0)];
  } else {
    c = Fade({0, 255, 159}, {1, 21, 160}, k.t - 3, k.life - 3);
  }
  const int orbit = std::max(26 - k.t * 2, 2);
  const int r = std::max(8 - k.t / 3, 3);
  for (int i = 0; i < 4; ++i) {
    const Point p = Orbit(k.x, k.y, orbit, k.t * 30.0 + i * 90.0, 1);
    Disc(k.bak, p.x, p.y, r, c, Darker(c, 51));
  }
}

// 57: a turning hexagonal shield that wobbles around the defender and widens.
void Guard(Tick& k) {
  const Rgb c = Step(kGuard, k.t, k.life);
  const Point centre = Orbit(k.x, k.y, 4, k.t * 60.0, 1);
  OutlinePolygon(k.bak, Regular(centre.x, centre.y, 10 + k.t * 2, 6, k.t * 12.0), c, 2);
}

// 63: a twinkling star circling the shop's rank line.
void Rank(Tick& k) {
  const Rgb c = Step(kRank, k.t, k.life);
  const Point p = Orbit(k.x, k.y, 20, k.t * 25.0 - 90.0, 2);
  const int outer = 9 + (k.t % 4 == 0 ? 3 : 0);
  FillPolygon(k.bak, Star(p.x, p.y, outer, 3, 4, k.t * 15.0), c, c);
  // A smaller twin trailing half a turn behind.
  const Point q = Orbit(k.x, k.y, 20, k.t * 25.0 + 90.0, 2);
  FillPolygon(k.bak, Star(q.x, q.y, outer / 2 + 1, 2, 4, -k.t * 15.0), Darker(c, 34), Darker(c, 34));
}

// 75: a heavy ring swinging round the target.
void Heavy(Tick& k) {
  const Rgb c = Step(kHeavy, k.t, k.life);
  const Point p = Orbit(k.x, k.y, 8, k.t * 60.0, 1);
  Ring(k.bak, p.x, p.y, 8 + k.t * 2, c, 3);
}

// 78: the target's strength drawn off in a spiral of colours; a thrown item flies
// from its start with a tail and bursts where it lands.
void Drain(Tick& k, int x0, int y0, int x1, int y1) {
  if (x0 != x1 || y0 != y1) {
    const int travel = k.life / 2;
    if (k.t < travel) {
      for (int i = 3; i >= 0; --i) {
        const int t = std::max(k.t - i, 0);
        const Point p{x0 + (x1 - x0) * t / travel, y0 + (y1 - y0) * t / travel};
        const Rgb c = kDrain[(k.t + i) % kDrain.size()];
        Disc(k.bak, p.x, p.y, 5 - i, c, c);
      }
    } else {
      const int r = 4 + (k.t - travel) * 5;
      for (int i = 0; i < 9; ++i) {
        const Point p = Orbit(x1, y1, r, i * 40.0 + k.t * 10.0, 1);
        Disc(k.bak, p.x, p.y, 3, kDrain[i], kDrain[i]);
      }
    }
    return;
  }
  for (int i = 0; i < 6; ++i) {
    const int r = std::max(36 - k.t * 2 - i * 3, 1);
    const Point p = Orbit(k.x, k.y, r, i * 60.0 + k.t * 30.0, 1);
    const Rgb c = kDrain[(k.t + i) % kDrain.size()];
    Disc(k.bak, p.x, p.y, 3, c, c);
  }
}

// 83: a ring that flashes through deep purples and reds as it spreads.
void ItemFlash(Tick& k) {
  const Rgb c = Step(kItemFlash, k.t, k.life);
  Ring(k.bak, k.x, k.y, 4 + k.t * 2, c, 3);
  Disc(k.bak, k.x, k.y, std::max(8 - k.t, 0), c, Darker(c, 40));
}

// 113: a disc of holy light that swells and dims.
void Holy(Tick& k) {
  const Rgb c = Fade(kWhite, {51, 51, 51}, k.t, k.life);
  Disc(k.bak, k.x, k.y, 4 + k.t * 2, c, Darker(c, 34));
}

// 120: rings closing in on the actor as the power gathers.
void Focus(Tick& k) {
  const Rgb c = Fade({0, 255, 185}, {0, 46, 0}, k.t, k.life);
  Ring(k.bak, k.x, k.y, std::max(40 - k.t, 2), c, 2);
  const int inner = 40 - (k.t * 3) % 40;
  Ring(k.bak, k.x, k.y, inner, Darker(c, 68), 1);
}

// 175: a five-pointed star that grows and turns while its colour runs out.
void Lifespan(Tick& k) {
  const Rgb c = Step(kLifespan, k.t, k.life);
  FillPolygon(k.bak, Star(k.x, k.y, 6 + k.t * 3, 3 + k.t, 5, k.t * 20.0 - 90.0), c, Darker(c, 51));
}

// 178: a ring closing in while three diamonds circle it the other way.
void Youth(Tick& k) {
  const Rgb c = Step(kYouth, k.t, k.life);
  const int r = std::max(30 - k.t * 2, 3);
  Ring(k.bak, k.x, k.y, r, c, 2);
  for (int i = 0; i < 3; ++i) {
    const Point p = Orbit(k.x, k.y, r, -k.t * 30.0 + i * 120.0, 1);
    FillPolygon(k.bak, Regular(p.x, p.y, 4, 4, 0), c, Darker(c, 34));
  }
}

// 189, 190, 191: level-up rings, three waves each, 16 colours from bright to dark.
void LevelRings(Tick& k, int kind) {
  static const auto ramps = [] {
    std::array<std::array<Rgb, 16>, 3> r{};
    for (int i = 0; i < 16; ++i) {
      r[0][i] = Fade3({255, 255, 238}, {68, 238, 85}, {0, 17, 0}, i, 16);
      r[1][i] = Fade3({238, 238, 255}, {85, 102, 255}, {0, 0, 17}, i, 16);
      r[2][i] = Fade3({221, 255, 255}, {51, 204, 238}, {0, 0, 17}, i, 16);
    }
    return r;
  }();
  const int which = kind - 189;
  const int speed = 4 - which;  // nested: 189 outermost
  for (int i = 0; i < 3; ++i) {
    const int age = k.t - i * 4;
    if (age < 0) break;
    Ring(k.bak, k.x, k.y, 3 + age * speed, ramps[which][std::min(age, 15)], 2);
  }
}

// 251: a cloud of breath swelling out, brightest in the middle of its life.
void Breath(Tick& k) {
  const Rgb c = Step(kBreath, k.t, k.life);
  Disc(k.bak, k.x, k.y, 8 + k.t * 3, c, c);
}

// 266: a muzzle flash that shrinks while its ring of smoke spreads.
void Gun(Tick& k) {
  const Rgb c = Fade({170, 255, 170}, {0, 51, 0}, k.t, k.life);
  const int outer = std::max(18 - k.t, 4);
  FillPolygon(k.bak, Star(k.x, k.y, outer, outer / 4 + 1, 8, k.t * 7.0), c, c);
  Ring(k.bak, k.x, k.y, 6 + k.t * 2, Darker(c, 34), 2);
}

}  // namespace

bool DrawShapeKind(int kind, Tick& k) {
  const EffectsState& e = k.g.fx;
  switch (kind) {
    case 12: Voice(k); break;
    case 33: Bubbles(k, kPoison); break;
    case 44: Bubbles(k, kParalysis); break;
    case 34: Arrow(k); break;
    case 35: Throw(k); break;
    case 43: ItemOrbit(k); break;
    case 51: Magic(k); break;
    case 57: Guard(k); break;
    case 63: Rank(k); break;
    case 75: Heavy(k); break;
    case 78: Drain(k, e.pop_x0[k.slot], e.pop_y0[k.slot], e.pop_x[k.slot], e.pop_y[k.slot]); break;
    case 83: ItemFlash(k); break;
    case 113: Holy(k); break;
    case 120: Focus(k); break;
    case 175: Lifespan(k); break;
    case 178: Youth(k); break;
    case 189:
    case 190:
    case 191: LevelRings(k, kind); break;
    case 251: Breath(k); break;
    case 266: Gun(k); break;
    default: return false;
  }
  return true;
}

}  // namespace fx
