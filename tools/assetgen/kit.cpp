// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit.h"

#include <algorithm>
#include <cstring>

#include "mathx.h"

namespace assetgen {

void Sky(Canvas& c, int horizon, Rgb top, Rgb low) {
  c.VGradient(0, 0, c.width(), horizon, top, low, 7);
  c.Rect(0, horizon + 1, c.width(), c.height() - horizon - 1, low);  // no gap under low hills
}

void Cloud(Canvas& c, int x, int y, int s) {
  // shaded underside first, then the bright puffs shifted up
  c.Ellipse(x, y + 1, s * 2, s * 2 / 3 + 1, pal::cloudShade);
  c.Ellipse(x - s, y, s, s * 2 / 3, pal::cloud);
  c.Ellipse(x + s / 2, y - s / 3, s + 1, s * 3 / 4 + 1, pal::cloud);
  c.Ellipse(x + s + s / 2, y + 1, s * 2 / 3 + 1, s / 2, pal::cloud);
}

void Sun(Canvas& c, int x, int y, int r, Rgb col, Rgb glow) {
  for (int k = 3; k >= 1; --k)
    for (int dy = -r - 3 * k; dy <= r + 3 * k; ++dy)
      for (int dx = -r - 3 * k; dx <= r + 3 * k; ++dx)
        if (dx * dx + dy * dy <= (r + 3 * k) * (r + 3 * k)) c.Blend(x + dx, y + dy, glow, 40);
  c.Circle(x, y, r, col);
}

void Stars(Canvas& c, int seed, int count, int maxY) {
  Prng rng(seed);
  for (int i = 0; i < count; ++i) {
    int x = rng.Below(c.width()), y = rng.Below(maxY);
    int kind = rng.Below(6);
    Rgb col = kind == 0 ? pal::yellow : pal::white;
    c.Set(x, y, kind < 4 ? Shade(col, 180) : col);
    if (kind == 5) {
      c.Set(x - 1, y, Shade(col, 150));
      c.Set(x + 1, y, Shade(col, 150));
      c.Set(x, y - 1, Shade(col, 150));
      c.Set(x, y + 1, Shade(col, 150));
    }
  }
}

void Hills(Canvas& c, int base, int amp, int seed, Rgb fill, Rgb edge) {
  double ph1 = (seed % 7) * 0.9, ph2 = (seed % 5) * 1.7;
  for (int x = 0; x < c.width(); ++x) {
    double t = x / static_cast<double>(c.width());
    int y = base - RoundToInt(amp * (0.6 * Sine(t * 2 * kPi * 1.1 + ph1) + 0.4 * Sine(t * 2 * kPi * 2.3 + ph2)));
    c.Rect(x, y, 1, c.height() - y, fill);
    c.Set(x, y, edge);
  }
}

void Tree(Canvas& c, int x, int y, int s, Rgb leafMid) {
  Rgb dark = Shade(leafMid, 160), light = Mix(leafMid, pal::yellow, 90);
  // trunk with a darker right side
  int tw = std::max(2, s / 3);
  c.Rect(x - tw / 2, y - s * 2, tw, s * 2, pal::trunk);
  c.Rect(x + tw / 2 - 1, y - s * 2, 1, s * 2, pal::trunkDark);
  c.Line(x, y - s, x + s / 2, y - s - s / 3, pal::trunk);
  // canopy: dark base clumps, mid clumps, light highlights top-left
  int cy = y - s * 2 - s / 2;
  c.Ellipse(x, cy + s / 3, s + s / 2, s, dark);
  c.Ellipse(x - s / 2, cy, s, s * 3 / 4 + 1, leafMid);
  c.Ellipse(x + s / 2, cy - s / 4, s, s * 3 / 4 + 1, leafMid);
  c.Ellipse(x, cy - s / 2, s * 3 / 4 + 1, s * 2 / 3 + 1, leafMid);
  c.Ellipse(x - s / 3, cy - s / 2, s / 3 + 1, s / 4 + 1, light);
  c.Ellipse(x - s / 2 - 1, cy + 1, s / 4 + 1, s / 5 + 1, light);
}

void Pine(Canvas& c, int x, int y, int h, Rgb col) {
  Rgb light = Mix(col, pal::leafLight, 100);
  c.Rect(x - 1, y - h / 5, 3, h / 5, pal::trunkDark);
  for (int k = 0; k < 3; ++k) {
    int top = y - h + k * h / 4, bot = y - h / 5 + k * 0 - (2 - k) * h / 6;
    int half = (bot - top) * 2 / 3 + 2;
    c.Triangle(x, top, x - half, bot, x + half + 1, bot, col);
    c.Line(x - 1, top + 2, x - 3, top + 5, light);
  }
}

void Bush(Canvas& c, int x, int y, int s) {
  c.Ellipse(x, y - s / 2, s + 2, s / 2 + 1, pal::leafDark);
  c.Ellipse(x - s / 2, y - s / 2 - 1, s / 2 + 1, s / 2, pal::leaf);
  c.Ellipse(x + s / 2, y - s / 2 - 2, s / 2 + 1, s / 2, pal::leaf);
  c.Ellipse(x - s / 2, y - s / 2 - 2, s / 4 + 1, s / 5 + 1, pal::leafLight);
}

void GrassTufts(Canvas& c, int y0, int y1, int seed, int count, Rgb col) {
  Prng rng(seed);
  for (int i = 0; i < count; ++i) {
    int x = rng.Below(c.width()), y = rng.Range(y0, y1);
    c.Set(x, y, col);
    c.Set(x - 1, y - 1, col);
    c.Set(x + 1, y - 1, col);
    c.Set(x, y - 1, col);
    c.Set(x, y - 2, col);
  }
}

void Flowers(Canvas& c, int y0, int y1, int seed, int count) {
  Prng rng(seed);
  const Rgb cols[] = {pal::pink, pal::yellow, pal::white, pal::lilac};
  for (int i = 0; i < count; ++i) {
    int x = rng.Below(c.width()), y = rng.Range(y0, y1);
    Rgb p = cols[rng.Below(4)];
    c.Set(x - 1, y, p);
    c.Set(x + 1, y, p);
    c.Set(x, y - 1, p);
    c.Set(x, y + 1, p);
    c.Set(x, y, pal::gold);
  }
}

void Waves(Canvas& c, int y0, int y1, int seed, Rgb line) {
  Prng rng(seed);
  for (int y = y0; y < y1; y += 5) {
    int off = rng.Below(20);
    int len = 4 + (y - y0) / 8;
    for (int x = off - 20; x < c.width(); x += len * 3) {
      for (int k = 0; k < len; ++k) c.Set(x + k, y + (k == 0 || k == len - 1 ? 1 : 0), line);
    }
  }
}

void Rock(Canvas& c, int x, int y, int w, int h, int seed) {
  Prng rng(seed);
  int j = std::max(1, w / 6);
  std::vector<int> pts = {x - w / 2, y,     x - w / 2 + rng.Below(j), y - h * 2 / 3, x - w / 4, y - h + rng.Below(j),
                          x + w / 5, y - h, x + w / 2 - rng.Below(j), y - h / 2,     x + w / 2, y};
  c.Polygon(pts, pal::rock);
  // light top-left face and dark right face
  c.Polygon({x - w / 2 + 1, y - h * 2 / 3 + 1, x - w / 4, y - h + 2, x + w / 5 - 1, y - h + 1, x - w / 8, y - h / 2},
            pal::rockLight);
  c.Polygon({x + w / 5, y - h + 1, x + w / 2 - 1, y - h / 2, x + w / 2, y, x + w / 8, y}, pal::rockDark);
  c.Rect(x - w / 2, y, w + 1, 1, pal::rockDark);
}

void Bubbles(Canvas& c, int seed, int count, int x0, int x1, int y0, int y1) {
  Prng rng(seed);
  for (int i = 0; i < count; ++i) {
    int x = rng.Range(x0, x1), y = rng.Range(y0, y1), r = rng.Range(1, 3);
    c.EllipseOutline(x, y, r, r, pal::seaLight);
    c.Set(x - r / 2, y - r / 2, pal::foam);
  }
}

void GroundShadow(Canvas& c, int cx, int cy, int rx, int ry) {
  for (int dy = -ry; dy <= ry; ++dy)
    for (int dx = -rx; dx <= rx; ++dx)
      if (dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry)
        c.Set(cx + dx, cy + dy, Shade(c.Get(cx + dx, cy + dy), 170));
}

void Sparkle(Canvas& c, int x, int y, Rgb col) {
  c.Set(x, y, pal::white);
  for (int k = 1; k <= 2; ++k) {
    c.Set(x - k, y, col);
    c.Set(x + k, y, col);
    c.Set(x, y - k, col);
    c.Set(x, y + k, col);
  }
}

void TearDrop(Canvas& c, int x, int y) {
  c.Set(x, y, pal::tear);
  c.Rect(x - 1, y + 1, 3, 2, pal::tear);
  c.Set(x, y + 3, pal::tear);
  c.Set(x - 1, y + 1, pal::white);
}

void Heart(Canvas& c, int x, int y, Rgb col) {
  static const char* rows[] = {".##.##.", "#######", "#######", ".#####.", "..###..", "...#..."};
  for (int r = 0; r < 6; ++r)
    for (int k = 0; k < 7; ++k)
      if (rows[r][k] == '#') c.Set(x + k - 3, y + r, col);
  c.Set(x - 2, y + 1, pal::white);
}

// ---- title lettering -------------------------------------------------------

namespace {
constexpr int kGlyphW = 11, kGlyphH = 10;
const char* const kGlyphs[4][kGlyphH] = {
    {// po
     "....#...###", "....#...#.#", "....#...###", "#########..", "....#......", "..#.#.#....", ".#..#..#...",
     "#...#...#..", "....#......", "..###......"},
    {// mu
     "....##.....", "....#......", "...##......", "...#.......", "..##...#...", "..#.....#..", ".##......#.",
     ".##########", "...........", "..........."},
    {// ri
     ".#.....#...", ".#.....#...", ".#.....#...", ".#.....#...", ".#.....#...", ".......#...", "......##...",
     ".....##....", "...###.....", "..##......."},
    {// e
     "...........", ".#########.", ".....#.....", ".....#.....", ".....#.....", ".....#.....", ".....#.....",
     "###########", "...........", "..........."},
};
}  // namespace

int TitleTextWidth(int scale) { return 4 * (kGlyphW + 2) * scale - 2 * scale; }

void DrawTitleText(Canvas& c, int x, int y, int scale, Rgb fill, Rgb shadow) {
  auto stamp = [&](int ox, int oy, Rgb col, int grow) {
    for (int g = 0; g < 4; ++g)
      for (int r = 0; r < kGlyphH; ++r)
        for (int k = 0; k < kGlyphW; ++k)
          if (kGlyphs[g][r][k] == '#')
            c.Rect(ox + (g * (kGlyphW + 2) + k) * scale - grow, oy + r * scale - grow, scale + 2 * grow,
                   scale + 2 * grow, col);
  };
  stamp(x + scale / 2 + 1, y + scale / 2 + 1, shadow, 1);  // drop shadow
  stamp(x, y, pal::ink, 1);                                // outline
  stamp(x, y, fill, 0);
  // a highlight dot on the upper-left of every stroke run
  for (int g = 0; g < 4; ++g)
    for (int r = 0; r < kGlyphH; ++r)
      for (int k = 0; k < kGlyphW; ++k)
        if (kGlyphs[g][r][k] == '#' && (r == 0 || kGlyphs[g][r - 1][k] != '#') && scale >= 2)
          c.Rect(x + (g * (kGlyphW + 2) + k) * scale, y + r * scale, scale / 2, 1, Mix(fill, pal::white, 170));
}

Canvas FinishScene(Canvas& art, bool calmBottom) {
  if (!calmBottom) return art.Scaled(2);
  // The status panel is OR-combined over the top edge and the right column, so
  // a bright sky would wash its colours out: dim those areas softly (as dusk at
  // the top, as shade on the right), never to black, so the scene still reads.
  // Every dimming ramps in over many pixels so no edge shows in the picture.
  for (int y = 0; y < std::min(art.height(), 120); ++y) {
    for (int x = 0; x < art.width(); ++x) {
      int num = 256;
      if (y < 60) num = std::min(num, 104 + (y * 152) / 60);  // 40% at the top edge
      if (x < 80 && y < 60) {                                 // the shop's RANK, exp. and fame lines on the left
        const int across = std::min(80 - x, 36);
        const int down = y < 36 ? 0 : (y - 36) * 5;
        num = std::min(num, std::min(256, 256 - across * 3 + down));  // down to about 58%
      }
      if (x >= 60) {
        const int across = std::min(x - 60, 36);                      // ramps in over 36 art pixels
        const int down = y < 90 ? 0 : (y - 90) * 4;                   // fades out under the state lists
        num = std::min(num, std::min(256, 256 - across * 3 + down));  // down to about 58%
      }
      if (num < 256) art.Set(x, y, Shade(art.Get(x, y), num));
    }
  }
  // Below the art row 100 sit the message log (left) and the choice buttons
  // (right): fade towards a calm, darker tone so white text stays readable.
  for (int y = 92; y < art.height(); ++y) {
    int t = std::min(y - 92, 12);  // 0..12
    int num = 256 - t * 9;         // down to about 58%
    for (int x = 0; x < art.width(); ++x) {
      Rgb p = Shade(art.Get(x, y), num);
      art.Set(x, y, Mix(p, pal::ink, t * 4));
    }
  }
  return art.Scaled(2);
}

}  // namespace assetgen
