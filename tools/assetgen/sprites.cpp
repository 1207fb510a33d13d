// SPDX-License-Identifier: GPL-3.0-or-later
// Monster sprite strips: six 30 x 30 frames side by side, black transparent.
// The frames breathe (a one-pixel bob), blink (frame 4) and step or flap.
#include <map>

#include "assets.h"
#include "kit.h"
#include "mathx.h"

namespace assetgen {

namespace {

constexpr int kFrame = 30;
constexpr Rgb kClear{0, 0, 0};

struct Pose {
  int frame;
  int bob;     // 0 or 1: body lowered on the breath
  bool blink;  // eyes shut
  int step;    // 0 or 1: which foot / wing is forward
  int flap;    // 0..2 wing position
};

Pose PoseOf(int frame) {
  static const int bob[6] = {0, 0, 1, 1, 1, 0};
  return {frame, bob[frame], frame == 4, frame & 1, frame % 3};
}

void Eye(Canvas& f, int x, int y, const Pose& p, Rgb col = pal::ink) {
  if (p.blink) {
    f.Rect(x - 1, y, 2, 1, col);
  } else {
    f.Rect(x, y - 1, 1, 2, col);
    if (col == pal::ink) f.Set(x, y - 1, pal::white);
  }
}

void GlowEye(Canvas& f, int x, int y, const Pose& p, Rgb col) {
  if (p.blink) f.Set(x, y, Shade(col, 140));
  else f.Rect(x, y, 2, 1, col);
}

void Bug(Canvas& f, const Pose& p) {  // a fat forest caterpillar
  const Rgb g{130, 190, 80}, gd{80, 140, 60};
  for (int k = 3; k >= 0; --k) {
    int lift = ((k + p.step) & 1) ? 1 : 0;
    f.Circle(22 - k * 5, 22 - lift - p.bob, 4, k & 1 ? gd : g);
    f.Set(22 - k * 5, 26 - lift, pal::ink);
  }
  int hx = 6, hy = 17 + p.bob;
  f.Circle(hx, hy, 5, pal::yellow);
  f.Line(hx - 2, hy - 4, hx - 4, hy - 8, gd);
  f.Line(hx + 2, hy - 4, hx + 4, hy - 8 + p.step, gd);
  Eye(f, hx - 2, hy, p);
  Eye(f, hx + 2, hy, p);
  f.Set(hx, hy + 3, pal::redDark);
}

void Bird(Canvas& f, const Pose& p) {
  const Rgb body{196, 104, 70}, wing{140, 76, 56};
  int y = 15 + p.bob;
  f.Ellipse(15, y, 8, 7, body);
  f.Ellipse(15, y + 3, 5, 4, pal::cream);
  f.Triangle(23, y - 1, 28, y + 1, 23, y + 2, pal::gold);  // beak
  Eye(f, 19, y - 2, p);
  f.Triangle(7, y, 1, y - 3, 3, y + 4, wing);  // tail
  int wy = p.flap == 0 ? -8 : (p.flap == 1 ? -1 : 5);
  f.Triangle(10, y - 1, 18, y - 1, 11, y + wy, wing);
  f.Line(13, y + 7, 12, 27, pal::gold);
  f.Line(17, y + 7, 18, 27, pal::gold);
}

void Boar(Canvas& f, const Pose& p) {
  const Rgb fur{128, 88, 62}, dark{90, 60, 46};
  int y = 17 + p.bob;
  f.Rect(7 + p.step, 20, 3, 8, dark);
  f.Rect(20 - p.step, 20, 3, 8, dark);
  f.Ellipse(16, y, 12, 8, fur);
  for (int k = 0; k < 5; ++k) f.Line(10 + k * 3, y - 8, 11 + k * 3, y - 10, dark);  // bristles
  f.Ellipse(5, y + 1, 5, 5, fur);
  f.Ellipse(1, y + 2, 2, 3, pal::pink);
  f.Triangle(4, y + 3, 2, y - 2, 6, y + 2, pal::cream);  // tusk
  f.Triangle(6, y - 6, 9, y - 9, 9, y - 3, dark);
  Eye(f, 6, y - 1, p);
  f.Line(27, y - 2, 29, y - 4, dark);
}

void Barbarian(Canvas& f, const Pose& p) {
  const Rgb hair{150, 70, 40};
  int y = p.bob;
  f.Rect(10 + p.step, 22, 3, 6, pal::skinShade);
  f.Rect(17 - p.step, 22, 3, 6, pal::skinShade);
  f.Rect(9, 19 + y, 12, 5, pal::orange);  // leopard loincloth
  f.Set(11, 21 + y, pal::foxDark);
  f.Set(16, 20 + y, pal::foxDark);
  f.Ellipse(15, 14 + y, 7, 6, pal::skin);
  f.Circle(15, 6 + y, 5, pal::skin);
  f.Ellipse(15, 3 + y, 7, 3, hair);
  f.Rect(9, 3 + y, 2, 6, hair);
  f.Rect(20, 3 + y, 2, 6, hair);
  Eye(f, 13, 6 + y, p);
  Eye(f, 17, 6 + y, p);
  f.Rect(13, 9 + y, 5, 1, pal::redDark);
  int cy = p.frame < 3 ? 2 : 5;  // club raised and swung
  f.Line(22, 13 + y, 26, cy + y, pal::skin, 2);
  f.Line(25, cy + 1 + y, 28, cy - 6 + y, pal::woodDark, 3);
  f.Circle(28, cy - 6 + y, 2, pal::wood);
}

void Ghost(Canvas& f, const Pose& p) {
  const Rgb sheet{214, 206, 240}, shade{164, 150, 210};
  int y = 3 + p.bob * 2 - (p.frame == 0 ? 1 : 0);
  f.Circle(15, 10 + y, 9, sheet);
  f.Rect(6, 10 + y, 19, 10, sheet);
  for (int k = 0; k < 4; ++k) f.Circle(8 + k * 5 + (p.step ? 1 : 0), 20 + y, 2, k & 1 ? shade : sheet);
  f.Rect(20, 10 + y, 5, 10, shade);
  f.Ellipse(11, 9 + y, 2, p.blink ? 0 : 2, pal::ink);
  f.Ellipse(18, 9 + y, 2, p.blink ? 0 : 2, pal::ink);
  f.Ellipse(15, 15 + y, 2, 2, pal::purpleDark);
  f.Line(5, 14 + y, 1, 11 + y + p.step, sheet, 2);
}

void Butterfly(Canvas& f, const Pose& p) {
  static const int span[3] = {10, 6, 2};
  int w = span[p.flap], y = 12 + p.bob;
  Rgb wing = pal::white, edge{200, 200, 190};
  f.Ellipse(15 - w / 2 - 2, y - 3, w / 2 + 2, 6, wing);
  f.Ellipse(15 + w / 2 + 2, y - 3, w / 2 + 2, 6, wing);
  f.Ellipse(15 - w / 2 - 1, y + 5, w / 2 + 1, 4, edge);
  f.Ellipse(15 + w / 2 + 1, y + 5, w / 2 + 1, 4, edge);
  if (w > 4) {
    f.Set(15 - w / 2 - 3, y - 4, pal::grayDark);
    f.Set(15 + w / 2 + 3, y - 4, pal::grayDark);
  }
  f.Rect(14, y - 5, 2, 13, pal::grayDark);
  f.Line(14, y - 5, 11, y - 10, pal::grayDark);
  f.Line(15, y - 5, 18, y - 10, pal::grayDark);
}

void Grasshopper(Canvas& f, const Pose& p) {
  const Rgb g{120, 186, 70}, gd{76, 130, 52};
  int hop = p.frame == 3 ? 4 : (p.frame == 2 || p.frame == 4 ? 2 : 0);
  int y = 18 - hop;
  f.Ellipse(15, y, 11, 4, g);
  f.Ellipse(5, y - 2, 4, 4, g);
  Eye(f, 4, y - 3, p);
  f.Line(4, y - 5, 0, y - 12, gd);
  f.Line(6, y - 5, 8, y - 12, gd);
  // long hind leg as a folded zig-zag
  f.Line(18, y, 26, y - 7, gd, 2);
  f.Line(26, y - 7, 24 + hop, 27, gd, 2);
  f.Line(9, y + 3, 7, 27 - hop / 2, gd);
  f.Line(13, y + 3, 13, 27 - hop / 2, gd);
  f.Ellipse(18, y - 3, 7, 2, gd);  // wing case
}

void Hamster(Canvas& f, const Pose& p) {
  const Rgb fur{236, 170, 96};
  int y = 16 + p.bob;
  f.Circle(9, y - 9, 3, fur);
  f.Circle(21, y - 9, 3, fur);
  f.Ellipse(15, y + 2, 12, 10 - p.bob, fur);
  f.Ellipse(15, y + 5, 8, 6, pal::cream);
  f.Ellipse(8, y + 1, 3, 2, pal::blush);
  f.Ellipse(22, y + 1, 3, 2, pal::blush);
  Eye(f, 11, y - 3, p);
  Eye(f, 19, y - 3, p);
  f.Set(15, y, pal::pinkDark);
  f.Rect(12, y + 9, 2, 3, pal::pink);
  f.Rect(17, y + 9, 2, 3, pal::pink);
  f.Ellipse(15, y + 5, 2, 2, pal::wood);  // a seed in its paws
}

void Sheep(Canvas& f, const Pose& p) {
  const Rgb wool{244, 240, 228}, woolShade{206, 200, 190};
  int y = 14 + p.bob;
  f.Rect(8 + p.step, 20, 2, 8, pal::grayDark);
  f.Rect(20 - p.step, 20, 2, 8, pal::grayDark);
  for (int k = 0; k < 5; ++k) f.Circle(9 + k * 4, y + ((k & 1) ? -4 : -1), 5, k & 1 ? wool : woolShade);
  f.Ellipse(15, y + 2, 11, 6, wool);
  f.Ellipse(5, y + 1, 4, 5, pal::grayDark);
  f.Ellipse(8, y - 3, 2, 1, woolShade);
  Eye(f, 4, y, p, pal::white);
  f.Rect(1, y - 2, 2, 3, pal::grayDark);
}

void Giant(Canvas& f, const Pose& p) {
  const Rgb skin{170, 150, 128}, dark{120, 104, 92};
  int y = p.bob;
  f.Rect(8 + p.step, 23, 5, 6, dark);
  f.Rect(17 - p.step, 23, 5, 6, dark);
  f.Rect(7, 13 + y, 16, 11, pal::woodDark);  // tunic
  f.Rect(7, 19 + y, 16, 2, pal::goldDark);
  f.Ellipse(4, 16 + y, 3, 7, skin);
  f.Ellipse(26, 16 + y, 3, 7, skin);
  f.Ellipse(15, 12 + y, 10, 3, skin);  // shoulders
  f.Circle(15, 6 + y, 5, skin);
  f.Rect(10, 1 + y, 10, 2, dark);  // heavy brow
  Eye(f, 15, 5 + y, p, pal::red);  // a single eye
  f.Rect(12, 9 + y, 6, 1, dark);
  f.Circle(4, 23 + y, 3, skin);
  f.Circle(26, 23 + y, 3, skin);
}

void HermitCrab(Canvas& f, const Pose& p) {
  const Rgb shell{236, 190, 170}, band{200, 120, 120};
  int y = 16 + p.bob;
  for (int k = 0; k < 3; ++k) f.Line(6 + k * 4, y + 6, 4 + k * 4 + p.step, 27, pal::red, 2);
  f.Circle(18, y - 1, 10, shell);
  f.EllipseOutline(18, y - 1, 6, 6, band);
  f.EllipseOutline(19, y - 2, 3, 3, band);
  f.Ellipse(8, y + 4, 5, 4, pal::red);
  f.Line(6, y, 4, y - 6, pal::red);
  f.Line(9, y, 9, y - 6, pal::red);
  f.Circle(4, y - 7, 1, pal::white);
  f.Circle(9, y - 7, 1, pal::white);
  if (!p.blink) {
    f.Set(4, y - 7, pal::ink);
    f.Set(9, y - 7, pal::ink);
  }
  f.Ellipse(2, y + 6, 2, 2, pal::red);
}

void Crab(Canvas& f, const Pose& p) {
  const Rgb red{222, 88, 70}, dark{170, 60, 56};
  int y = 18 + p.bob;
  for (int k = 0; k < 3; ++k) {
    f.Line(8 - k, y + 2, 3 - k * 1, 27 - ((k + p.step) & 1), dark);
    f.Line(22 + k, y + 2, 27 + k, 27 - ((k + p.step + 1) & 1), dark);
  }
  f.Ellipse(15, y, 10, 6, red);
  int cl = p.frame % 3 == 1 ? -3 : 0;  // claws snap up
  f.Circle(4, y - 9 + cl, 4, red);
  f.Circle(26, y - 9 + cl, 4, red);
  f.Triangle(2, y - 12 + cl, 5, y - 9 + cl, 1, y - 7 + cl, kClear);
  f.Triangle(28, y - 12 + cl, 25, y - 9 + cl, 29, y - 7 + cl, kClear);
  f.Line(7, y - 3, 5, y - 6 + cl, red);
  f.Line(23, y - 3, 25, y - 6 + cl, red);
  f.Line(12, y - 5, 12, y - 9, dark);
  f.Line(18, y - 5, 18, y - 9, dark);
  f.Circle(12, y - 10, 1, pal::white);
  f.Circle(18, y - 10, 1, pal::white);
  if (!p.blink) {
    f.Set(12, y - 10, pal::ink);
    f.Set(18, y - 10, pal::ink);
  }
  f.Line(13, y + 2, 17, y + 2, dark);
}

void KillerFish(Canvas& f, const Pose& p) {
  const Rgb body{96, 120, 170}, belly{190, 200, 220};
  int y = 14 + p.bob;
  int tail = p.step ? 2 : -2;
  f.Triangle(22, y, 29, y - 7 + tail, 29, y + 7 + tail, body);
  f.Ellipse(13, y, 12, 8, body);
  f.Ellipse(12, y + 3, 9, 4, belly);
  f.Triangle(9, y - 7, 17, y - 13, 17, y - 6, Shade(body, 200));
  f.Polygon({1, y - 1, 10, y + 1, 1, y + 5}, pal::redDark);  // jaws
  for (int k = 0; k < 3; ++k) {
    f.Set(2 + k * 3, y, pal::white);
    f.Set(2 + k * 3, y + 4, pal::white);
  }
  f.Circle(8, y - 3, 2, pal::yellow);
  if (!p.blink) f.Set(8, y - 3, pal::ink);
  f.Line(5, y - 6, 10, y - 5, pal::ink);
}

void Octopus(Canvas& f, const Pose& p) {
  const Rgb skin{232, 110, 110}, dark{186, 72, 84};
  int y = 10 + p.bob;
  for (int k = 0; k < 5; ++k) {
    int x0 = 6 + k * 4;
    for (int t = 0; t < 10; ++t) {
      int wig = RoundToInt(1.5 * Sine(t * 0.8 + k + p.frame * 1.05));
      f.Rect(x0 + wig + (k - 2) * t / 6, y + 8 + t, 2, 1, k & 1 ? dark : skin);
    }
  }
  f.Ellipse(15, y, 10, 9, skin);
  f.Circle(11, y - 4, 2, Mix(skin, pal::white, 120));
  Eye(f, 11, y + 2, p);
  Eye(f, 19, y + 2, p);
  f.Ellipse(15, y + 6, 2, 1, dark);
}

void Nautilus(Canvas& f, const Pose& p) {
  const Rgb shell{240, 228, 200}, stripe{196, 108, 72};
  int y = 14 + p.bob;
  f.Circle(17, y, 11, shell);
  for (int k = 0; k < 5; ++k) f.Line(17 + k * 2, y - 11 + k, 12 + k * 4, y + 10 - k, stripe);
  f.EllipseOutline(19, y, 5, 5, Shade(shell, 200));
  for (int k = 0; k < 4; ++k) {
    int wig = ((k + p.step) & 1) ? 1 : -1;
    f.Line(7, y + 3 + k, 1, y + 4 + k * 3 + wig, pal::skinShade);
  }
  f.Ellipse(7, y + 2, 4, 5, Rgb(170, 130, 120));
  Eye(f, 7, y, p);
}

void DarkMushroom(Canvas& f, const Pose& p) {
  const Rgb cap{110, 70, 150}, capDark{74, 46, 110}, stem{200, 190, 210};
  int y = p.bob;
  f.Rect(10, 16 + y, 10, 12 - y, stem);
  f.Ellipse(15, 12 + y, 13, 8, cap);
  f.Rect(2, 12 + y, 27, 4, capDark);
  f.Circle(9, 8 + y, 2, pal::lilac);
  f.Circle(18, 6 + y, 2, pal::lilac);
  f.Circle(23, 10 + y, 1, pal::lilac);
  GlowEye(f, 12, 20 + y, p, pal::yellow);
  GlowEye(f, 17, 20 + y, p, pal::yellow);
  f.Rect(13, 24 + y, 4, 1, pal::grayDark);
  f.Rect(8 + p.step, 27, 4, 2, stem);
  f.Rect(18 - p.step, 27, 4, 2, stem);
}

void Bat(Canvas& f, const Pose& p) {
  const Rgb body{92, 70, 112}, wing{64, 48, 88};
  int y = 12 + p.bob * 2;
  int wy = p.flap == 0 ? -7 : (p.flap == 1 ? 0 : 6);
  f.Polygon({13, y, 1, y + wy - 2, 3, y + wy + 3, 6, y + wy / 2 + 3, 9, y + wy / 2 + 5, 13, y + 5}, wing);
  f.Polygon({17, y, 29, y + wy - 2, 27, y + wy + 3, 24, y + wy / 2 + 3, 21, y + wy / 2 + 5, 17, y + 5}, wing);
  f.Ellipse(15, y + 2, 5, 6, body);
  f.Triangle(11, y - 3, 12, y - 8, 14, y - 3, body);
  f.Triangle(16, y - 3, 18, y - 8, 19, y - 3, body);
  GlowEye(f, 12, y, p, pal::red);
  GlowEye(f, 16, y, p, pal::red);
  f.Set(13, y + 4, pal::white);
  f.Set(17, y + 4, pal::white);
}

void DarkRabbit(Canvas& f, const Pose& p) {
  const Rgb fur{112, 102, 142}, inner{170, 100, 140};
  int hop = p.frame == 3 ? 2 : 0;
  int y = 18 + p.bob - hop;
  f.Ellipse(11, y - 13, 2, 7, fur);
  f.Ellipse(17, y - 14 + (p.step ? 1 : 0), 2, 7, fur);
  f.Ellipse(11, y - 13, 1, 4, inner);
  f.Ellipse(17, y - 14, 1, 4, inner);
  f.Ellipse(15, y + 3, 9, 7, fur);
  f.Circle(14, y - 3, 6, fur);
  f.Circle(24, y + 5, 2, pal::lilac);
  GlowEye(f, 11, y - 4, p, pal::red);
  GlowEye(f, 16, y - 4, p, pal::red);
  f.Ellipse(10, 27, 3, 1, fur);
  f.Ellipse(19, 27, 3, 1, fur);
}

void Wolf(Canvas& f, const Pose& p) {
  const Rgb fur{96, 100, 120}, light{150, 156, 172};
  int y = 16 + p.bob;
  f.Rect(8 + p.step, 20, 3, 8, fur);
  f.Rect(20 - p.step, 20, 3, 8, fur);
  f.Rect(11 - p.step, 21, 2, 7, Shade(fur, 200));
  f.Ellipse(17, y, 10, 6, fur);
  f.Line(26, y - 2, 29, y - 7 - p.step, fur, 2);  // tail
  f.Ellipse(7, y - 4, 6, 5, fur);
  f.Triangle(3, y - 8, 5, y - 14, 8, y - 8, fur);
  f.Triangle(8, y - 8, 10, y - 14, 12, y - 7, fur);
  f.Polygon({0, y - 2, 5, y - 4, 5, y + 1, 1, y + 1}, light);  // muzzle
  f.Set(0, y - 2, pal::ink);
  f.Ellipse(14, y + 3, 6, 2, light);
  GlowEye(f, 6, y - 5, p, pal::yellow);
  f.Set(2, y + 1, pal::white);
}

void Dweller(Canvas& f, const Pose& p) {
  const Rgb robe{84, 68, 120}, robeLight{120, 100, 156};
  int y = p.bob * 2;
  f.Polygon({15, 2 + y, 26, 26 + y, 22, 28, 18, 25 + y, 13, 28, 9, 25 + y, 4, 26 + y}, robe);
  f.Circle(15, 9 + y, 7, robeLight);
  f.Circle(15, 10 + y, 5, pal::caveDark);
  GlowEye(f, 12, 10 + y, p, pal::lilac);
  GlowEye(f, 16, 10 + y, p, pal::lilac);
  int hand = p.step ? -1 : 1;
  f.Circle(4, 17 + y + hand, 2, pal::gray);
  f.Circle(26, 17 + y - hand, 2, pal::gray);
  f.Line(5, 16 + y, 10, 14 + y, robeLight);
  f.Line(25, 16 + y, 20, 14 + y, robeLight);
  if (p.frame % 3 == 0) f.Set(27, 12 + y, pal::lilac);  // drifting motes
  if (p.frame % 3 == 1) f.Set(2, 8 + y, pal::lilac);
}

void Dragon(Canvas& f, const Pose& p) {
  const Rgb scale{92, 164, 96}, dark{52, 110, 72}, belly{236, 214, 140};
  int y = p.bob;
  int wy = p.flap == 0 ? -4 : (p.flap == 1 ? 0 : 3);
  f.Polygon({13, 11 + y, 28, 1 + wy, 29, 10 + wy, 26, 16 + y, 22, 18 + y}, dark);  // wing
  f.Line(13, 11 + y, 28, 1 + wy, scale);
  f.Ellipse(17, 19 + y, 9, 7, scale);
  f.Ellipse(14, 21 + y, 5, 5, belly);
  f.Line(24, 23 + y, 29, 27, scale, 2);  // tail
  f.Rect(10 + p.step, 25, 3, 4, dark);
  f.Rect(19 - p.step, 25, 3, 4, dark);
  f.Ellipse(9, 9 + y, 7, 5, scale);
  f.Ellipse(3, 11 + y, 3, 3, scale);                       // snout
  f.Triangle(8, 5 + y, 11, 0 + y, 12, 6 + y, pal::cream);  // horns
  f.Triangle(12, 5 + y, 16, 1 + y, 15, 7 + y, pal::cream);
  GlowEye(f, 7, 8 + y, p, pal::red);
  f.Set(1, 10 + y, pal::ink);
  if (p.frame == 3 || p.frame == 4) {  // a puff of fire on the breath
    f.Triangle(0, 12 + y, 0, 16 + y, 3, 14 + y, pal::orange);
    f.Set(0, 14 + y, pal::yellow);
  }
}

using Painter = void (*)(Canvas&, const Pose&);

const std::map<int, Painter>& Painters() {
  static const std::map<int, Painter> m = {
      {1, Bug},          {2, Bird},     {3, Boar},      {4, Barbarian},     {5, Ghost},       {10, Butterfly},
      {11, Grasshopper}, {12, Hamster}, {13, Sheep},    {14, Giant},        {20, HermitCrab}, {21, Crab},
      {22, KillerFish},  {23, Octopus}, {24, Nautilus}, {30, DarkMushroom}, {31, Bat},        {32, DarkRabbit},
      {33, Wolf},        {34, Dweller}, {35, Dragon},
  };
  return m;
}

}  // namespace

std::vector<NamedPicture> DrawMonsterStrips() {
  std::vector<NamedPicture> v;
  for (int n : MonsterNumbers()) {
    Canvas strip(kFrame * 6, kFrame, kClear);
    Painter paint = Painters().at(n);
    for (int i = 0; i < 6; ++i) {
      Canvas f(kFrame, kFrame, kClear);
      paint(f, PoseOf(i));
      f.Outline(kClear, pal::ink);
      strip.Blit(f, i * kFrame, 0);
    }
    v.push_back({"man" + std::to_string(n) + ".bmp", std::move(strip)});
  }
  return v;
}

}  // namespace assetgen
