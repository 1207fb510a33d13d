// SPDX-License-Identifier: GPL-3.0-or-later
// Scenes with the creatures met while searching: the bear, the cat, the owl
// doctor, the rabbit on the cliff, the sleeping fox, the bear-rabbit and the
// deep sea.
#include "assets.h"
#include "mathx.h"
#include "props.h"

namespace assetgen {

namespace {

constexpr Rgb kKey{0, 0, 0};  // figures are painted on black, outlined, then laid on the scene

template <class F>
void Figure(Canvas& scene, F&& draw) {
  Canvas fig(kArt, kArt, kKey);
  draw(fig);
  fig.Outline(kKey, pal::ink);
  scene.Blit(fig, 0, 0, true, kKey);
}

void Eyes(Canvas& c, int x, int y, int gap, bool closed) {
  if (closed) {
    c.Rect(x - gap - 1, y, 3, 1, pal::ink);
    c.Rect(x + gap - 1, y, 3, 1, pal::ink);
  } else {
    c.Rect(x - gap - 1, y - 1, 2, 3, pal::ink);
    c.Rect(x + gap, y - 1, 2, 3, pal::ink);
    c.Set(x - gap - 1, y - 1, pal::white);
    c.Set(x + gap, y - 1, pal::white);
  }
}

void Streams(Canvas& c, int x, int y, int gap) {  // rivers of tears
  for (int k = 0; k < 9; ++k) {
    c.Rect(x - gap - 2 - k / 3, y + 1 + k, 2, 1, pal::tear);
    c.Rect(x + gap + 1 + k / 3, y + 1 + k, 2, 1, pal::tear);
  }
}

void Bear(Canvas& c, int x, int y, bool crying) {
  Figure(c, [&](Canvas& f) {
    f.Ellipse(x - 14, y - 2, 7, 4, pal::bear);  // feet
    f.Ellipse(x + 14, y - 2, 7, 4, pal::bear);
    f.Ellipse(x, y - 16, 18, 16, pal::bear);
    f.Ellipse(x, y - 14, 10, 10, pal::bearLight);
    f.Ellipse(x - 17, y - 20, 5, 9, pal::bearDark);  // arms
    f.Ellipse(x + 17, y - 20, 5, 9, pal::bearDark);
    f.Circle(x - 12, y - 50, 6, pal::bear);
    f.Circle(x + 12, y - 50, 6, pal::bear);
    f.Circle(x, y - 38, 15, pal::bear);
  });
  c.Circle(x - 12, y - 50, 3, pal::bearLight);
  c.Circle(x + 12, y - 50, 3, pal::bearLight);
  c.Ellipse(x, y - 33, 7, 5, pal::bearLight);
  c.Rect(x - 2, y - 37, 5, 3, pal::ink);
  c.Ellipse(x - 14, y - 2, 3, 2, pal::bearLight);
  c.Ellipse(x + 14, y - 2, 3, 2, pal::bearLight);
  if (!crying) {
    Eyes(c, x, y - 41, 6, false);
    c.Line(x - 2, y - 31, x, y - 30, pal::ink);
    c.Line(x, y - 30, x + 2, y - 31, pal::ink);
    c.Rect(x - 12, y - 36, 3, 2, pal::blush);
    c.Rect(x + 10, y - 36, 3, 2, pal::blush);
  } else {
    c.Line(x - 9, y - 42, x - 4, y - 40, pal::ink);  // squeezed eyes
    c.Line(x + 9, y - 42, x + 4, y - 40, pal::ink);
    c.Ellipse(x, y - 30, 3, 2, pal::redDark);
    Streams(c, x, y - 40, 7);
    TearDrop(c, x - 22, y - 52);
    TearDrop(c, x + 22, y - 48);
  }
}

void Cat(Canvas& c, int x, int y, bool angry) {
  const Rgb fur{226, 176, 120}, furDark{188, 132, 84};
  Figure(c, [&](Canvas& f) {
    if (angry) {  // fur on end, tail bristling straight up
      for (int k = 0; k < 14; ++k) {
        double a = kPi * (0.95 + k * 0.08);
        f.Line(x, y - 16, x + RoundToInt(22 * Cosine(a)), y - 16 + RoundToInt(18 * Sine(a)), fur, 3);
      }
      f.Ellipse(x + 21, y - 26, 5, 20, furDark);  // puffed-up tail
      for (int k = 0; k < 7; ++k) {
        f.Triangle(x + 16, y - 40 + k * 5, x + 12, y - 38 + k * 5, x + 17, y - 35 + k * 5, furDark);
        f.Triangle(x + 26, y - 40 + k * 5, x + 30, y - 38 + k * 5, x + 25, y - 35 + k * 5, furDark);
      }
    } else {
      for (int k = 0; k < 24; ++k) f.Rect(x + 14 + k / 2, y - 2 - k * k / 30, 4, 3, furDark);  // curled tail
    }
    f.Ellipse(x, y - 14, 14, 14, fur);
    f.Ellipse(x - 6, y - 1, 4, 3, fur);
    f.Ellipse(x + 6, y - 1, 4, 3, fur);
    f.Triangle(x - 14, y - 50, x - 12, y - 34, x - 2, y - 42, fur);
    f.Triangle(x + 14, y - 50, x + 12, y - 34, x + 2, y - 42, fur);
    f.Ellipse(x, y - 36, 14, 11, fur);
  });
  c.Triangle(x - 12, y - 46, x - 11, y - 38, x - 5, y - 42, pal::pink);
  c.Triangle(x + 12, y - 46, x + 11, y - 38, x + 5, y - 42, pal::pink);
  c.Ellipse(x, y - 12, 7, 8, pal::cream);
  c.Rect(x - 3, y - 44, 1, 4, furDark);  // tabby stripes
  c.Rect(x + 3, y - 44, 1, 4, furDark);
  c.Rect(x, y - 45, 1, 5, furDark);
  if (!angry) {
    Eyes(c, x, y - 36, 6, false);
    c.Set(x, y - 33, pal::pinkDark);
    c.Line(x - 2, y - 31, x, y - 32, pal::ink);
    c.Line(x, y - 32, x + 2, y - 31, pal::ink);
  } else {
    c.Line(x - 9, y - 39, x - 3, y - 36, pal::ink, 2);  // slanted glare
    c.Line(x + 9, y - 39, x + 3, y - 36, pal::ink, 2);
    c.Ellipse(x, y - 30, 5, 3, pal::redDark);
    c.Set(x - 3, y - 32, pal::white);
    c.Set(x + 3, y - 32, pal::white);
    c.Rect(x + 24, y - 58, 2, 7, pal::red);  // anger marks
    c.Rect(x + 24, y - 49, 2, 2, pal::red);
    c.Rect(x + 28, y - 58, 2, 7, pal::red);
    c.Rect(x + 28, y - 49, 2, 2, pal::red);
  }
  for (int k = -1; k <= 1; k += 2) {  // whiskers
    c.Line(x + k * 6, y - 33, x + k * 16, y - 35, pal::white);
    c.Line(x + k * 6, y - 32, x + k * 16, y - 30, pal::white);
  }
}

void Owl(Canvas& c, int x, int y, bool crying) {
  const Rgb body{150, 108, 78}, face{226, 196, 150};
  c.Rect(0, y, kArt, 5, pal::trunk);  // the branch he sits on
  c.Rect(0, y + 4, kArt, 1, pal::trunkDark);
  Figure(c, [&](Canvas& f) {
    f.Triangle(x - 18, y - 56, x - 12, y - 38, x - 6, y - 48, body);  // ear tufts
    f.Triangle(x + 18, y - 56, x + 12, y - 38, x + 6, y - 48, body);
    f.Ellipse(x, y - 24, 20, 25, body);
    f.Ellipse(x - 6, y + 1, 3, 2, pal::gold);
    f.Ellipse(x + 6, y + 1, 3, 2, pal::gold);
  });
  c.Ellipse(x, y - 16, 12, 13, face);
  for (int k = 0; k < 4; ++k) c.Line(x - 6 + k * 4, y - 14 + (k & 1) * 4, x - 4 + k * 4, y - 12 + (k & 1) * 4, body);
  c.Ellipse(x - 8, y - 36, 8, 8, face);
  c.Ellipse(x + 8, y - 36, 8, 8, face);
  c.Triangle(x - 3, y - 32, x + 3, y - 32, x, y - 26, pal::gold);
  // head mirror of a doctor
  c.Rect(x - 16, y - 46, 32, 2, pal::white);
  c.Circle(x, y - 48, 4, pal::rockLight);
  c.Circle(x, y - 48, 2, pal::white);
  if (!crying) {
    c.Circle(x - 8, y - 36, 4, pal::gold);
    c.Circle(x + 8, y - 36, 4, pal::gold);
    c.Circle(x - 8, y - 36, 2, pal::ink);
    c.Circle(x + 8, y - 36, 2, pal::ink);
    c.EllipseOutline(x - 8, y - 36, 6, 6, pal::grayDark);  // round spectacles
    c.EllipseOutline(x + 8, y - 36, 6, 6, pal::grayDark);
    c.Line(x - 2, y - 37, x + 2, y - 37, pal::grayDark);
  } else {
    c.Line(x - 12, y - 36, x - 4, y - 36, pal::ink, 2);
    c.Line(x + 4, y - 36, x + 12, y - 36, pal::ink, 2);
    c.EllipseOutline(x - 8, y - 34, 6, 6, pal::grayDark);  // spectacles knocked askew
    c.EllipseOutline(x + 9, y - 33, 6, 6, pal::grayDark);
    Streams(c, x, y - 35, 8);
    c.Ellipse(x, y - 24, 3, 2, pal::redDark);
    c.Rect(x + 14, y - 62, 4, 4, pal::red);  // the bump where the stone hit
    c.Circle(x + 16, y - 58, 3, pal::pink);
  }
}

void Rabbit(Canvas& c, int x, int y, int pose) {
  // pose 0 hanging from paws at (x, y), 1 standing on y, 2 small and falling
  const Rgb fur = pal::white, inner = pal::pink;
  Figure(c, [&](Canvas& f) {
    if (pose == 0) {
      f.Ellipse(x - 3, y - 10, 3, 8, fur);  // ears
      f.Ellipse(x + 5, y - 11, 3, 8, fur);
      f.Circle(x, y + 2, 8, fur);
      f.Ellipse(x, y + 16, 7, 9, fur);
      f.Ellipse(x - 4, y + 26, 3, 4, fur);
      f.Ellipse(x + 5, y + 27, 3, 4, fur);
      f.Line(x - 5, y - 2, x - 8, y - 14, fur, 3);  // both paws hooked over the edge
      f.Line(x + 4, y - 2, x - 3, y - 14, fur, 3);
    } else if (pose == 1) {
      f.Ellipse(x - 4, y - 34, 3, 9, fur);
      f.Ellipse(x + 4, y - 34, 3, 9, fur);
      f.Circle(x, y - 20, 8, fur);
      f.Ellipse(x, y - 7, 8, 8, fur);
      f.Ellipse(x - 5, y, 4, 2, fur);
      f.Ellipse(x + 5, y, 4, 2, fur);
    } else {
      f.Ellipse(x - 2, y - 6, 2, 4, fur);
      f.Ellipse(x + 3, y - 6, 2, 4, fur);
      f.Circle(x, y, 4, fur);
      f.Ellipse(x, y + 6, 3, 4, fur);
    }
  });
  if (pose == 0) {
    c.Ellipse(x - 3, y - 10, 1, 5, inner);
    c.Ellipse(x + 5, y - 11, 1, 5, inner);
    c.Line(x - 4, y + 1, x - 2, y + 2, pal::ink);  // >_< eyes
    c.Line(x + 4, y + 1, x + 2, y + 2, pal::ink);
    c.Ellipse(x, y + 6, 2, 1, pal::redDark);
    TearDrop(c, x + 12, y - 6);
  } else if (pose == 1) {
    c.Ellipse(x - 4, y - 34, 1, 6, inner);
    c.Ellipse(x + 4, y - 34, 1, 6, inner);
    Eyes(c, x, y - 21, 3, false);
    c.Set(x, y - 17, pal::pinkDark);
    c.Rect(x - 7, y - 18, 2, 1, pal::blush);
    c.Rect(x + 6, y - 18, 2, 1, pal::blush);
  } else {
    c.Set(x - 1, y, pal::ink);
    c.Set(x + 2, y, pal::ink);
  }
}

void Cliff(Canvas& c, int seed) {
  GrassBackdrop(c, seed);
  // the cliff: grass top on the left, a sheer drop to the right
  c.Polygon({0, 64, 80, 64, 86, 150, 0, 150}, pal::earth);
  c.Polygon({70, 64, 80, 64, 86, 150, 76, 150}, pal::earthDark);
  c.Rect(0, 60, 82, 5, pal::grass);
  c.Rect(0, 60, 82, 1, pal::grassLight);
  // far below: a valley with a river, so the drop reads as a height
  c.VGradient(86, 66, 64, 149, Mix(pal::skyLow, pal::grass, 90), Rgb(70, 110, 90), 5);
  for (int k = 0; k < 6; ++k) {
    int tx = 92 + k * 10, ty = 118 + (k * 5) % 9;
    c.Circle(tx, ty - 2, 3, Mix(pal::leafDark, pal::skyLow, 70));
    c.Rect(tx, ty, 1, 2, pal::trunkDark);
  }
  for (int y = 130; y < 150; ++y) c.Rect(104 + (y - 130) / 2, y, 6 + (y - 130) / 4, 1, Mix(pal::sea, pal::skyLow, 60));
  for (int k = 0; k < 5; ++k) c.Rect(10 + k * 14, 76 + (k * 9) % 30, 6, 2, pal::earthDark);
  Bush(c, 20, 61, 6);
}

void Fox(Canvas& c, int x, int y, int pose) {
  // pose 0 curled asleep, 1 startled awake, 2 rolling away
  Figure(c, [&](Canvas& f) {
    if (pose == 2) {
      f.Circle(x, y - 14, 14, pal::fox);
      f.Ellipse(x - 8, y - 22, 8, 5, pal::fox);
      f.Triangle(x + 8, y - 30, x + 16, y - 36, x + 14, y - 24, pal::fox);  // ear on the side
      return;
    }
    f.Ellipse(x + 4, y - 10, 24, 11, pal::fox);  // curled body
    f.Ellipse(x + 24, y - 8, 12, 7, pal::fox);   // tail wrapped in front
    f.Ellipse(x + 32, y - 7, 5, 5, pal::white);
    int hy = pose == 1 ? y - 30 : y - 16;
    f.Triangle(x - 24, hy - 14, x - 22, hy - 2, x - 14, hy - 6, pal::fox);
    f.Triangle(x - 8, hy - 14, x - 6, hy - 2, x - 14, hy - 6, pal::fox);
    f.Ellipse(x - 16, hy, 10, 8, pal::fox);
    f.Ellipse(x - 26, hy + 3, 6, 3, pal::fox);  // snout
    if (pose == 1) f.Rect(x - 18, hy + 6, 8, y - hy - 12, pal::fox);
  });
  if (pose == 2) {
    c.Circle(x, y - 14, 6, pal::cream);
    c.Rect(x - 6, y - 22, 2, 2, pal::ink);
    c.Line(x - 4, y - 8, x + 4, y - 6, pal::ink);
    for (int k = 0; k < 4; ++k) c.Line(x - 40 - k * 4, y - 24 + k * 6, x - 20 - k * 4, y - 24 + k * 6, pal::white);
    c.Ellipse(x - 30, y - 1, 6, 2, pal::earthLight);  // dust behind
    c.Ellipse(x - 42, y - 2, 4, 2, pal::earthLight);
    return;
  }
  int hy = pose == 1 ? y - 30 : y - 16;
  c.Ellipse(x - 22, hy + 4, 5, 2, pal::white);
  c.Set(x - 31, hy + 2, pal::ink);
  c.Triangle(x - 21, hy - 10, x - 20, hy - 4, x - 16, hy - 7, pal::foxDark);
  if (pose == 0) {
    c.Line(x - 20, hy - 1, x - 16, hy, pal::ink);  // peaceful closed eye
    // nose bubble and z's
    c.EllipseOutline(x - 38, hy + 2, 7, 7, pal::tear);
    c.Rect(x - 41, hy - 2, 2, 2, pal::white);
    c.Line(x - 12, hy - 22, x - 8, hy - 22, pal::white);
    c.Line(x - 8, hy - 22, x - 12, hy - 18, pal::white);
    c.Line(x - 12, hy - 18, x - 8, hy - 18, pal::white);
    c.Line(x - 4, hy - 30, x + 1, hy - 30, pal::white);
    c.Line(x + 1, hy - 30, x - 4, hy - 25, pal::white);
    c.Line(x - 4, hy - 25, x + 1, hy - 25, pal::white);
  } else {
    c.Circle(x - 18, hy - 1, 2, pal::white);  // wide eyes
    c.Set(x - 18, hy - 1, pal::ink);
    c.Circle(x - 12, hy - 1, 2, pal::white);
    c.Set(x - 12, hy - 1, pal::ink);
    for (int k = 0; k < 8; ++k) {  // the popped bubble
      double a = k * kPi / 4;
      c.Line(x - 40 + RoundToInt(5 * Cosine(a)), hy + 2 + RoundToInt(5 * Sine(a)), x - 40 + RoundToInt(11 * Cosine(a)),
             hy + 2 + RoundToInt(11 * Sine(a)), k & 1 ? pal::tear : pal::white);
    }
    c.Rect(x + 6, hy - 24, 2, 8, pal::red);
    c.Rect(x + 6, hy - 14, 2, 2, pal::red);
  }
}

void BearRabbit(Canvas& c, int x, int y, int scale, bool singing) {
  Figure(c, [&](Canvas& f) {
    f.Ellipse(x - 5 * scale, y - 28 * scale, 2 * scale, 8 * scale, pal::bearLight);  // rabbit ears
    f.Ellipse(x + 5 * scale, y - 28 * scale, 2 * scale, 8 * scale, pal::bearLight);
    f.Ellipse(x, y - 8 * scale, 9 * scale, 8 * scale, pal::bear);
    f.Circle(x, y - 18 * scale, 8 * scale, pal::bear);
  });
  if (scale < 2) return;
  c.Ellipse(x - 5 * scale, y - 28 * scale, scale / 2 + 1, 5 * scale, pal::pink);
  c.Ellipse(x + 5 * scale, y - 28 * scale, scale / 2 + 1, 5 * scale, pal::pink);
  c.Ellipse(x, y - 7 * scale, 5 * scale, 5 * scale, pal::bearLight);
  c.Ellipse(x, y - 15 * scale, 4 * scale, 3 * scale, pal::bearLight);
  c.Line(x - 5 * scale, y - 21 * scale, x - 2 * scale, y - 20 * scale, pal::ink, 2);
  c.Line(x + 5 * scale, y - 21 * scale, x + 2 * scale, y - 20 * scale, pal::ink, 2);
  if (singing) {
    c.Ellipse(x, y - 14 * scale, 2 * scale, 2 * scale, pal::redDark);
    for (int k = 0; k < 3; ++k) {  // notes
      int nx = x + 14 * scale + k * 10, ny = y - 30 * scale + (k & 1) * 8;
      c.Ellipse(nx, ny, 2, 2, pal::white);
      c.Rect(nx + 2, ny - 8, 1, 8, pal::white);
      c.Rect(nx + 2, ny - 8, 3, 1, pal::white);
    }
  }
}

void Shark(Canvas& c) {
  Figure(c, [&](Canvas& f) {
    f.Ellipse(75, 56, 56, 24, pal::grayDark);
    f.Triangle(60, 36, 78, 4, 88, 38, pal::grayDark);      // dorsal fin
    f.Triangle(124, 56, 146, 30, 146, 80, pal::grayDark);  // tail
  });
  c.Ellipse(70, 66, 46, 12, pal::rockLight);
  c.Polygon({20, 56, 70, 62, 20, 78}, pal::redDark);  // open jaws
  for (int k = 0; k < 7; ++k) {
    c.Triangle(24 + k * 7, 58 + k, 28 + k * 7, 65 + k / 2, 31 + k * 7, 59 + k, pal::white);
    c.Triangle(24 + k * 7, 76 - k, 28 + k * 7, 70 - k / 2, 31 + k * 7, 75 - k, pal::white);
  }
  c.Circle(44, 46, 3, pal::white);
  c.Circle(44, 46, 1, pal::red);
  c.Line(38, 41, 50, 44, pal::ink, 2);
  for (int k = 0; k < 3; ++k) c.Line(80 + k * 5, 54, 82 + k * 5, 64, pal::rockDark);
}

void Palace(Canvas& c) {
  const Rgb vermilion{214, 76, 62};
  int x = 75, y = 98;
  for (int r = 50; r > 10; r -= 6)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r * 3 / 2; dx <= r * 3 / 2; ++dx)
        if (dx * dx + dy * dy * 2 <= r * r * 2) c.Blend(x + dx, 70 + dy, Rgb(140, 220, 230), 14);
  c.Rect(x - 44, y - 8, 88, 8, pal::rockLight);  // stone base
  c.Rect(x - 38, y - 34, 76, 26, pal::cream);
  for (int k = 0; k < 6; ++k) c.Rect(x - 36 + k * 14, y - 34, 4, 26, vermilion);
  c.Polygon({x - 50, y - 34, x + 50, y - 34, x + 40, y - 44, x - 40, y - 44}, Rgb(40, 120, 110));
  c.Rect(x - 24, y - 56, 48, 12, pal::cream);
  for (int k = 0; k < 4; ++k) c.Rect(x - 22 + k * 14, y - 56, 3, 12, vermilion);
  c.Polygon({x - 34, y - 56, x + 34, y - 56, x + 24, y - 66, x - 24, y - 66}, Rgb(40, 120, 110));
  c.Rect(x - 2, y - 74, 4, 8, pal::gold);
  c.Triangle(x - 54, y - 34, x - 50, y - 34, x - 56, y - 40, Rgb(40, 120, 110));  // upturned eaves
  c.Triangle(x + 54, y - 34, x + 50, y - 34, x + 56, y - 40, Rgb(40, 120, 110));
  c.Rect(x - 8, y - 24, 16, 16, pal::gold);  // the gate shines
  c.Rect(x - 6, y - 22, 12, 14, pal::yellow);
  Sparkle(c, x - 30, y - 66, pal::yellow);
  Sparkle(c, x + 34, y - 60, pal::white);
  for (int k = 0; k < 5; ++k) {  // little fish guards
    int fx = 18 + k * 28, fy = 24 + (k % 2) * 10;
    c.Ellipse(fx, fy, 4, 2, k & 1 ? pal::pink : pal::gold);
    c.Triangle(fx + 3, fy, fx + 7, fy - 3, fx + 7, fy + 3, k & 1 ? pal::pink : pal::gold);
  }
}

// ---- the scenes --------------------------------------------------------------

void Kuma(Canvas& c) {
  ForestBackdrop(c, 30);
  GroundShadow(c, 75, 102, 24, 4);
  Bear(c, 75, 102, false);
}
void KumaCry(Canvas& c) {
  ForestBackdrop(c, 30);
  GroundShadow(c, 75, 102, 24, 4);
  Bear(c, 75, 102, true);
}
void KumaGone(Canvas& c) {
  ForestBackdrop(c, 30);
  for (int k = 0; k < 4; ++k) {  // footprints leading away and a cloud of dust
    c.Ellipse(66 + k * 6, 110 - k * 8, 2, 1, pal::earthDark);
    c.Ellipse(72 + k * 6, 106 - k * 8, 2, 1, pal::earthDark);
  }
  c.Ellipse(100, 78, 8, 4, pal::cream);
  c.Ellipse(108, 76, 5, 3, pal::cream);
  for (int k = 0; k < 3; ++k) c.Line(112 + k * 4, 70 + k * 4, 124 + k * 4, 70 + k * 4, pal::white);
}
void Neko(Canvas& c) {
  ForestBackdrop(c, 31);
  GroundShadow(c, 75, 102, 18, 3);
  Cat(c, 75, 102, false);
}
void Neko2(Canvas& c) {
  ForestBackdrop(c, 31);
  c.Tint(0, 0, kArt, kArt, pal::red, 40);
  GroundShadow(c, 75, 102, 20, 3);
  Cat(c, 75, 102, true);
}
void Fuku(Canvas& c) {
  ForestBackdrop(c, 32);
  c.Tint(0, 0, kArt, 100, Rgb(40, 50, 90), 70);
  Owl(c, 75, 88, false);
}
void FukuCry(Canvas& c) {
  ForestBackdrop(c, 32);
  c.Tint(0, 0, kArt, 100, Rgb(40, 50, 90), 70);
  Owl(c, 75, 88, true);
}

void Gake(Canvas& c) {
  Cliff(c, 33);
  Rabbit(c, 90, 74, 0);
  for (int k = 0; k < 3; ++k) c.Rect(96 + k * 5, 100 + k * 9, 2, 2, pal::earthDark);  // pebbles falling away
}
void Gake1(Canvas& c) {
  Cliff(c, 33);
  Rabbit(c, 44, 61, 1);
  Heart(c, 56, 30, pal::pinkDark);
  Sparkle(c, 30, 36, pal::yellow);
}
void Gake2(Canvas& c) {
  Cliff(c, 33);
  Rabbit(c, 116, 124, 2);
  for (int k = 0; k < 3; ++k) c.Rect(112 + k * 4, 100 + k * 3, 1, 12, pal::white);  // falling lines
  c.Rect(92, 52, 2, 8, pal::white);                                                 // a tuft left behind at the edge
  c.Rect(90, 56, 6, 1, pal::white);
}

void Kitune(Canvas& c) {
  GrassBackdrop(c, 34);
  GroundShadow(c, 80, 104, 30, 4);
  Fox(c, 86, 104, 0);
}
void Kitune2(Canvas& c) {
  GrassBackdrop(c, 34);
  GroundShadow(c, 80, 104, 30, 4);
  Fox(c, 86, 104, 1);
}
void Kitune3(Canvas& c) {
  GrassBackdrop(c, 34);
  GroundShadow(c, 110, 104, 16, 3);
  Fox(c, 112, 104, 2);
}

void Usa0(Canvas& c) {
  SeaBackdrop(c, 35, 60);
  c.Polygon({90, 92, 104, 78, 124, 76, 140, 92}, pal::rockDark);  // a rock far out
  BearRabbit(c, 114, 78, 1, false);
}
void Usa(Canvas& c) {
  SeaBackdrop(c, 35, 60);
  c.Polygon({0, 104, 150, 96, 150, 150, 0, 150}, pal::sand);
  c.Polygon({0, 104, 150, 96, 150, 99, 0, 107}, pal::foam);
  GroundShadow(c, 70, 104, 22, 3);
  BearRabbit(c, 70, 104, 3, true);
}

void Sinkai(Canvas& c) {
  DeepSeaBackdrop(c, 36);
  for (int k = 0; k < 4; ++k) {
    int fx = 30 + k * 28, fy = 50 + (k % 2) * 14;  // a shoal passing by
    c.Ellipse(fx, fy, 5, 2, Rgb(90, 150, 200));
    c.Triangle(fx + 4, fy, fx + 8, fy - 3, fx + 8, fy + 3, Rgb(90, 150, 200));
  }
  Bubbles(c, 37, 20, 60, 90, 20, 110);
}
void Sinkai2(Canvas& c) {
  DeepSeaBackdrop(c, 38);
  for (int r = 24; r > 4; r -= 5)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (dx * dx + dy * dy <= r * r) c.Blend(80 + dx, 96 + dy, pal::yellow, 22);
  c.Ellipse(80, 100, 8, 4, pal::pink);  // a shell ajar with a glint
  c.Ellipse(80, 97, 7, 3, pal::blush);
  c.Circle(80, 99, 2, pal::white);
  Sparkle(c, 90, 88, pal::yellow);
  Sparkle(c, 70, 84, pal::white);
  c.Rect(78, 60, 4, 12, pal::yellow);  // "!"
  c.Rect(78, 75, 4, 4, pal::yellow);
}
void Sinkai3(Canvas& c) {
  DeepSeaBackdrop(c, 39);
  Palace(c);
}
void Sinkai4(Canvas& c) {
  DeepSeaBackdrop(c, 40);
  c.Tint(0, 0, kArt, kArt, pal::redDark, 50);
  Shark(c);
  Bubbles(c, 41, 10, 10, 40, 30, 90);
}

NamedPicture Make(const char* name, void (*draw)(Canvas&)) {
  Canvas art(kArt, kArt, pal::ink);
  draw(art);
  return {name, FinishScene(art)};
}

}  // namespace

std::vector<NamedPicture> DrawEventScenes() {
  std::vector<NamedPicture> v;
  v.push_back(Make("kuma.bmp", Kuma));
  v.push_back(Make("kuma0.bmp", KumaGone));
  v.push_back(Make("kuma_cry.bmp", KumaCry));
  v.push_back(Make("neko.bmp", Neko));
  v.push_back(Make("neko2.bmp", Neko2));
  v.push_back(Make("fuku.bmp", Fuku));
  v.push_back(Make("fuku_cry.bmp", FukuCry));
  v.push_back(Make("gake.bmp", Gake));
  v.push_back(Make("gake1.bmp", Gake1));
  v.push_back(Make("gake2.bmp", Gake2));
  v.push_back(Make("kitune.bmp", Kitune));
  v.push_back(Make("kitune2.bmp", Kitune2));
  v.push_back(Make("kitune3.bmp", Kitune3));
  v.push_back(Make("usa0.bmp", Usa0));
  v.push_back(Make("usa.bmp", Usa));
  v.push_back(Make("sinkai.bmp", Sinkai));
  v.push_back(Make("sinkai2.bmp", Sinkai2));
  v.push_back(Make("sinkai3.bmp", Sinkai3));
  v.push_back(Make("sinkai4.bmp", Sinkai4));
  return v;
}

}  // namespace assetgen
