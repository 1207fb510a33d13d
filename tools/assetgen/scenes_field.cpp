// SPDX-License-Identifier: GPL-3.0-or-later
// The four fields, their battle grounds and the finds of a search.
#include "assets.h"
#include "mathx.h"
#include "props.h"

namespace assetgen {

void ForestBackdrop(Canvas& c, int seed) {
  Sky(c, 80, Rgb(110, 170, 150), Rgb(200, 226, 176));
  // far trees as a soft wall, near trunks framing the path
  for (int k = 0; k < 12; ++k) Tree(c, 6 + k * 13, 74 + (k * 5 + seed) % 6, 6, Rgb(92, 146, 104));
  c.Rect(0, 74, kArt, 76, Rgb(96, 150, 80));
  c.Polygon({56, 150, 70, 76, 82, 76, 100, 150}, pal::earthLight);
  Tree(c, 14, 112, 13);
  Tree(c, 138, 114, 14, Rgb(64, 132, 80));
  Tree(c, 36, 88, 8, Rgb(84, 150, 84));
  Tree(c, 116, 88, 8, Rgb(84, 150, 84));
  Bush(c, 48, 104, 6);
  Bush(c, 106, 106, 7);
  GrassTufts(c, 80, 148, seed, 50, pal::grassDark);
  Flowers(c, 84, 110, seed + 1, 10);
  // light falling through the canopy
  for (int k = 0; k < 3; ++k)
    for (int y = 0; y < 80; ++y)
      c.Rect(50 + k * 20 + y / 4, y, 3, 1, Mix(c.Get(50 + k * 20 + y / 4, y), pal::yellow, 50));
  // leaves hanging in from above frame the picture
  Prng rng(seed + 77);
  for (int x = -6; x < kArt + 6; x += 9) {
    int d = 4 + rng.Below(7) + ((x < 40 || x > 110) ? 6 : 0);
    c.Ellipse(x, d - 4, 8, 8, pal::leafDark);
    c.Ellipse(x - 2, d - 6, 4, 3, pal::leaf);
  }
}

void GrassBackdrop(Canvas& c, int seed) {
  Sky(c, 78, pal::skyTop, pal::skyLow);
  Cloud(c, 28 + seed % 10, 22, 6);
  Cloud(c, 112, 14 + seed % 7, 4);
  Hills(c, 70, 6, seed, Mix(pal::grass, pal::skyLow, 120), Mix(pal::grass, pal::skyLow, 120));
  Hills(c, 82, 4, seed + 3, pal::grass, pal::grassLight);
  c.VGradient(0, 84, kArt, 149, pal::grass, pal::grassDark, 4);
  GrassTufts(c, 84, 148, seed, 90, pal::grassDark);
  GrassTufts(c, 84, 148, seed + 9, 40, pal::grassLight);
  Flowers(c, 86, 140, seed + 2, 30);
  Tree(c, 136, 80, 5);
}

void SeaBackdrop(Canvas& c, int seed, int horizon) {
  Sky(c, horizon, Rgb(96, 160, 226), Rgb(206, 232, 242));
  Cloud(c, 30, 18, 5);
  Cloud(c, 118, 30, 4);
  c.VGradient(0, horizon, kArt, 149, pal::seaLight, pal::seaDark, 6);
  Waves(c, horizon + 3, 149, seed, pal::foam);
  c.Rect(0, horizon, kArt, 1, pal::foam);
}

void CaveBackdrop(Canvas& c, int seed) {
  c.VGradient(0, 0, kArt, 149, pal::caveDark, pal::cave, 5);
  // a lighter tunnel mouth in the middle, rocky walls on both sides
  c.Ellipse(75, 70, 40, 44, pal::caveMid);
  c.Ellipse(75, 76, 28, 34, Rgb(96, 84, 110));
  c.Ellipse(75, 84, 14, 22, Rgb(120, 104, 128));
  Prng rng(seed);
  for (int k = 0; k < 7; ++k) {  // stalactites
    int x = 10 + k * 21 + rng.Below(6), len = 10 + rng.Below(18);
    c.Triangle(x - 4, 0, x + 4, 0, x, len, pal::rockDark);
    c.Line(x - 2, 1, x, len - 2, pal::rock);
  }
  c.Rect(0, 100, kArt, 50, Rgb(62, 54, 72));
  Rock(c, 16, 108, 26, 20, seed + 1);
  Rock(c, 134, 112, 30, 24, seed + 2);
  // glowing crystals
  for (int k = 0; k < 4; ++k) {
    int x = 30 + rng.Below(90), y = 94 + rng.Below(12);
    c.Triangle(x - 2, y, x, y - 6, x + 2, y, pal::lilac);
    c.Set(x, y - 4, pal::white);
  }
}

void DeepSeaBackdrop(Canvas& c, int seed) {
  c.VGradient(0, 0, kArt, 149, Rgb(36, 84, 150), pal::deepDark, 7);
  for (int k = 0; k < 4; ++k)  // light shafts from far above
    for (int y = 0; y < 110; ++y)
      for (int w = 0; w < 5; ++w) c.Blend(20 + k * 34 + y / 3 + w, y, pal::seaLight, 30 - y / 5);
  c.Ellipse(75, 150, 110, 22, Rgb(40, 44, 70));
  Prng rng(seed);
  for (int k = 0; k < 9; ++k) {  // swaying weed
    int x = rng.Below(kArt), h = 14 + rng.Below(24);
    for (int y = 0; y < h; ++y)
      c.Rect(x + RoundToInt(2 * Sine(y * 0.4 + k)), 140 - y, 2, 1, k & 1 ? Rgb(60, 110, 90) : Rgb(90, 70, 120));
  }
  Bubbles(c, seed + 5, 14, 10, 140, 10, 100);
}

void Chest(Canvas& c, int x, int y, bool open) {
  const int w = 36, h = 18;
  GroundShadow(c, x, y + 1, w / 2 + 4, 3);
  c.Rect(x - w / 2, y - h, w, h, pal::wood);
  c.Rect(x - w / 2, y - h, w, 2, pal::woodLight);
  c.Rect(x - w / 2, y - 2, w, 2, pal::woodDark);
  c.Rect(x - w / 2, y - h, 3, h, pal::goldDark);
  c.Rect(x + w / 2 - 3, y - h, 3, h, pal::goldDark);
  if (!open) {
    c.Rect(x - w / 2 - 1, y - h - 10, w + 2, 11, pal::woodDark);
    c.Ellipse(x, y - h - 10, w / 2, 5, pal::wood);
    c.Rect(x - w / 2, y - h - 10, w, 10, pal::wood);
    c.Rect(x - w / 2, y - h - 10, 3, 10, pal::goldDark);
    c.Rect(x + w / 2 - 3, y - h - 10, 3, 10, pal::goldDark);
    c.Rect(x - w / 2, y - h - 1, w, 2, pal::goldDark);
    c.Rect(x - 3, y - h - 4, 6, 8, pal::gold);
    c.Rect(x - 1, y - h - 1, 2, 3, pal::ink);
  } else {
    c.Rect(x - w / 2, y - h - 14, w, 14, pal::woodDark);  // lid thrown back
    c.Rect(x - w / 2 + 2, y - h - 12, w - 4, 10, pal::trunkDark);
    c.Rect(x - w / 2, y - h - 14, w, 2, pal::goldDark);
    c.Ellipse(x, y - h, w / 2 - 3, 4, pal::gold);  // heap of gold
    c.Circle(x - 6, y - h - 2, 3, pal::yellow);
    c.Circle(x + 5, y - h - 3, 3, pal::yellow);
    c.Circle(x + 10, y - h - 6, 2, pal::red);
    for (int r = 26; r > 6; r -= 5)
      for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
          if (dx * dx + dy * dy <= r * r) c.Blend(x + dx, y - h - 6 + dy, pal::yellow, 26);
    Sparkle(c, x - 14, y - h - 16, pal::yellow);
    Sparkle(c, x + 15, y - h - 20, pal::yellow);
    Sparkle(c, x + 2, y - h - 26, pal::white);
  }
}

namespace {

void Forest(Canvas& c) { ForestBackdrop(c, 3); }
void Grass(Canvas& c) { GrassBackdrop(c, 4); }
void Sea(Canvas& c) {
  SeaBackdrop(c, 5, 62);
  c.Polygon({0, 112, 60, 100, 150, 118, 150, 150, 0, 150}, pal::sand);  // the beach
  c.Polygon({0, 112, 60, 100, 150, 118, 150, 121, 60, 103, 0, 115}, pal::foam);
  for (int k = 0; k < 6; ++k) c.Set(20 + k * 23, 126 + (k * 7) % 14, pal::sandDark);
  // palm
  for (int y = 0; y < 46; ++y) c.Rect(124 + y / 8, 112 - y, 4, 1, y & 2 ? pal::trunk : pal::trunkDark);
  for (int k = 0; k < 5; ++k) {
    int ex = 128 + RoundToInt(22 * Cosine(kPi * (0.1 + k * 0.2))),
        ey = 70 + RoundToInt(8 * Sine(kPi * (0.1 + k * 0.2)));
    c.Line(130, 66, ex, ey, pal::leaf, 3);
  }
  c.Triangle(30, 60, 36, 50, 40, 60, pal::white);  // far sail
  c.Rect(26, 60, 16, 3, pal::woodDark);
}
void Cave(Canvas& c) { CaveBackdrop(c, 6); }

// Battle grounds: the field with a clearing in the middle where the enemy stands.
void Arena(Canvas& c, Rgb ring) {
  c.Ellipse(75, 104, 38, 8, Shade(ring, 200));
  c.Ellipse(75, 103, 34, 6, ring);
}
void BattleForest(Canvas& c) {
  ForestBackdrop(c, 8);
  c.Tint(0, 0, kArt, kArt, Rgb(40, 30, 70), 60);
  Arena(c, pal::earth);
}
void BattleGrass(Canvas& c) {
  GrassBackdrop(c, 9);
  c.Tint(0, 0, kArt, kArt, Rgb(120, 60, 40), 40);
  Arena(c, pal::earthLight);
}
void BattleSea(Canvas& c) {
  SeaBackdrop(c, 10, 58);
  c.Ellipse(75, 112, 90, 20, pal::sand);
  c.Ellipse(75, 94, 90, 3, pal::foam);
  c.Tint(0, 0, kArt, kArt, Rgb(20, 40, 90), 40);
  Arena(c, pal::sandDark);
}
void BattleCave(Canvas& c) {
  CaveBackdrop(c, 11);
  c.Tint(0, 0, kArt, kArt, Rgb(80, 10, 40), 40);
  Arena(c, pal::rockDark);
}

void Treasure(Canvas& c) {
  ForestBackdrop(c, 12);
  Chest(c, 75, 96, false);
}
void TreasureOpen(Canvas& c) {
  ForestBackdrop(c, 12);
  Chest(c, 75, 96, true);
}

void Dig(Canvas& c) {
  GrassBackdrop(c, 13);
  c.Ellipse(70, 94, 18, 6, pal::earth);  // fresh mound with an X mark
  c.Ellipse(70, 92, 14, 4, pal::earthLight);
  c.Line(62, 88, 78, 96, pal::redDark, 2);
  c.Line(78, 88, 62, 96, pal::redDark, 2);
  c.Line(98, 60, 92, 92, pal::trunk, 2);  // a shovel stuck in the ground
  c.Rect(95, 56, 7, 2, pal::trunk);
  c.Polygon({88, 88, 96, 88, 96, 98, 92, 101, 88, 98}, pal::gray);
  c.Line(89, 89, 89, 97, pal::rockLight);
  Sparkle(c, 70, 82, pal::yellow);
}

void FishPond(Canvas& c, int stage) {
  SeaBackdrop(c, 14, 44);
  // wooden pier along the bottom, the angler's rod from the left
  c.Rect(0, 104, kArt, 46, pal::woodDark);
  for (int x = 0; x < kArt; x += 10) c.Rect(x, 104, 9, 46, pal::wood);
  c.Rect(0, 104, kArt, 2, pal::woodLight);
  if (stage == 0) {  // a dark fish shadow and ripples
    c.Ellipse(80, 80, 12, 4, Shade(pal::seaDark, 180));
    c.Triangle(92, 80, 100, 75, 100, 85, Shade(pal::seaDark, 180));
    c.EllipseOutline(80, 78, 18, 4, pal::foam);
    c.EllipseOutline(80, 78, 26, 6, pal::seaLight);
    c.Rect(46, 40, 12, 9, pal::white);  // "!" bubble
    c.Rect(51, 41, 2, 4, pal::red);
    c.Rect(51, 46, 2, 2, pal::red);
  } else if (stage == 1) {  // line cast, float on the water
    c.Line(8, 130, 52, 40, pal::woodDark, 2);
    for (int t = 0; t <= 40; ++t) {
      int x = 52 + t * 30 / 40, y = 40 + t * t * 40 / 1600;
      c.Set(x, y, pal::white);
    }
    c.Rect(81, 78, 3, 3, pal::red);
    c.Rect(81, 81, 3, 2, pal::white);
    c.EllipseOutline(82, 82, 8, 2, pal::foam);
    for (int k = 0; k < 4; ++k) c.Line(60 + k * 6, 30 - k, 64 + k * 6, 26 - k, pal::white);  // swoosh
  } else {  // hit: rod bent, a fish leaps with a splash
    // the rod bends hard towards the catch; handle and reel at the bottom
    int px = 4, py = 146;
    for (int t = 0; t <= 30; ++t) {
      int x = 4 + t * 9 / 5, y = 146 - t * 14 / 5 + t * t / 30;
      c.Line(px, py, x, y, pal::woodDark, t < 12 ? 3 : 2);
      px = x;
      py = y;
    }
    c.Line(4, 146, 12, 132, pal::ink, 4);
    c.Circle(14, 134, 3, pal::gray);
    c.Set(13, 133, pal::white);
    c.Line(px, py, 84, 50, pal::white);
    int fx = 96, fy = 46;
    c.Ellipse(fx, fy, 14, 7, pal::seaLight);
    c.Ellipse(fx, fy + 2, 12, 4, pal::foam);
    c.Triangle(fx + 12, fy, fx + 22, fy - 8, fx + 22, fy + 8, pal::seaLight);
    c.Circle(fx - 8, fy - 2, 2, pal::white);
    c.Set(fx - 8, fy - 2, pal::ink);
    for (int k = 0; k < 7; ++k) c.Circle(80 + k * 6, 74 - (k % 3) * 4, 2, pal::foam);
    Sparkle(c, 120, 30, pal::yellow);
    Sparkle(c, 72, 36, pal::yellow);
  }
}
void Fish0(Canvas& c) { FishPond(c, 0); }
void Fish1(Canvas& c) { FishPond(c, 1); }
void Fish2(Canvas& c) { FishPond(c, 2); }

void SuspiciousRock(Canvas& c) {
  CaveBackdrop(c, 15);
  Rock(c, 75, 102, 56, 40, 3);
  c.Line(68, 72, 74, 86, pal::rockDark);  // cracks and a glint of ore
  c.Line(74, 86, 70, 96, pal::rockDark);
  c.Rect(82, 80, 3, 3, pal::gold);
  c.Rect(62, 90, 2, 2, pal::lilac);
  Sparkle(c, 84, 78, pal::yellow);
  static const char* q[] = {".###.", "##.##", "...##", "..##.", "..#..", ".....", "..#.."};
  for (int r = 0; r < 7; ++r)
    for (int k = 0; k < 5; ++k)
      if (q[r][k] == '#') c.Rect(90 + k * 2, 50 + r * 2, 2, 2, pal::yellow);
}

void FruitTree(Canvas& c, bool picked) {
  GrassBackdrop(c, 16);
  Tree(c, 75, 102, 18);
  Prng rng(7);
  for (int k = 0; k < 8; ++k) {
    int x = 52 + rng.Below(46), y = 22 + rng.Below(30);
    if (picked && k == 3) continue;
    c.Circle(x, y, 3, pal::red);
    c.Set(x - 1, y - 1, pal::white);
  }
  if (picked) {  // the fruit on the ground, shining
    c.Circle(104, 100, 5, pal::red);
    c.Set(102, 97, pal::white);
    c.Rect(104, 93, 1, 3, pal::trunk);
    c.Ellipse(107, 94, 2, 1, pal::leaf);
    Sparkle(c, 114, 90, pal::yellow);
    Sparkle(c, 96, 88, pal::yellow);
    for (int y = 50; y < 86; y += 6) c.Set(104, y, pal::white);  // its fall
  }
}
void Tree1(Canvas& c) { FruitTree(c, false); }
void Tree2(Canvas& c) { FruitTree(c, true); }

void Stranded(Canvas& c) {
  SeaBackdrop(c, 17, 56);
  c.Ellipse(122, 58, 12, 3, pal::sand);  // a far island
  c.Rect(122, 44, 2, 13, pal::trunk);
  c.Line(123, 44, 116, 48, pal::leaf, 2);
  c.Line(123, 44, 130, 47, pal::leaf, 2);
  // a little raft adrift with its sail torn
  int x = 62, y = 92;
  c.Polygon({x - 20, y, x + 20, y, x + 16, y + 6, x - 16, y + 6}, pal::wood);
  for (int k = -18; k < 20; k += 6) c.Rect(x + k, y, 1, 6, pal::woodDark);
  c.Rect(x, y - 32, 2, 32, pal::trunk);
  c.Polygon({x + 2, y - 30, x + 16, y - 20, x + 4, y - 12, x + 10, y - 8, x + 2, y - 6}, pal::cream);
  c.Circle(x - 8, y - 6, 4, pal::skin);  // the shopkeeper sitting, small
  c.Rect(x - 11, y - 11, 7, 3, pal::orange);
  c.Set(x - 9, y - 6, pal::ink);
  c.Set(x - 6, y - 6, pal::ink);
  c.Rect(x - 11, y - 2, 7, 3, pal::pink);
  c.Polygon({x - 40, y + 8, x + 40, y + 8, x + 30, y + 10, x - 30, y + 10}, pal::foam);
  TearDrop(c, x - 3, y - 12);
}

void Pit(Canvas& c) {
  // looking up from the bottom of a pit: dark round walls, a circle of light above
  c.Fill(Rgb(40, 28, 24));
  for (int r = 80; r > 20; r -= 6) c.Ellipse(75, 40, r, r * 3 / 4, Mix(Rgb(40, 28, 24), pal::earth, (80 - r) * 3));
  c.Ellipse(75, 30, 26, 14, Rgb(150, 170, 200));
  c.Ellipse(75, 30, 20, 10, Rgb(200, 220, 236));
  Prng rng(19);
  for (int k = 0; k < 30; ++k) {
    int a = rng.Below(360);
    int x = 75 + RoundToInt((34 + rng.Below(40)) * Cosine(a * kPi / 180));
    int y = 40 + RoundToInt((28 + rng.Below(30)) * Sine(a * kPi / 180));
    c.Rect(x, y, 3, 2, pal::rockDark);
  }
  for (int k = 0; k < 6; ++k) {  // roots dangling over the rim
    int x = 54 + k * 8;
    c.Line(x, 22 + (k % 2) * 14, x + (k % 3) - 1, 38 + (k % 2) * 10, pal::trunkDark);
  }
  // dust and stars of the fall
  c.Rect(0, 104, kArt, 46, pal::earthDark);
  for (int k = 0; k < 5; ++k) Sparkle(c, 50 + k * 12, 80 + (k % 2) * 8, pal::yellow);
  c.Ellipse(75, 104, 40, 5, pal::earth);
}

void WallWriting(Canvas& c) {
  CaveBackdrop(c, 20);
  // a flat wall slab covered in scratched writing
  c.Polygon({24, 20, 126, 16, 130, 96, 20, 100}, pal::rock);
  c.Polygon({24, 20, 126, 16, 127, 22, 24, 26}, pal::rockLight);
  Prng rng(21);
  for (int row = 0; row < 6; ++row) {
    int y = 32 + row * 11, x = 32;
    while (x < 116) {
      int glyph = rng.Below(5);
      Rgb ink = row == 3 ? pal::red : Rgb(60, 50, 70);
      switch (glyph) {
        case 0:
          c.Line(x, y, x + 5, y, ink);
          c.Line(x + 2, y - 3, x + 2, y + 4, ink);
          break;
        case 1:
          c.Line(x, y - 3, x + 4, y + 4, ink);
          c.Line(x + 4, y - 3, x, y + 4, ink);
          break;
        case 2: c.EllipseOutline(x + 2, y, 2, 3, ink); break;
        case 3:
          c.Line(x, y - 2, x + 5, y - 2, ink);
          c.Line(x + 5, y - 2, x + 1, y + 4, ink);
          break;
        default:
          c.Line(x + 1, y - 3, x + 1, y + 4, ink);
          c.Line(x + 4, y - 1, x + 4, y + 3, ink);
          break;
      }
      x += 8 + (rng.Below(6) == 0 ? 6 : 0);
    }
  }
  Heart(c, 108, 84, pal::pinkDark);
  c.Circle(40, 86, 5, pal::bearLight);  // a doodle of the bear-rabbit
  c.Rect(36, 76, 2, 6, pal::bearLight);
  c.Rect(42, 76, 2, 6, pal::bearLight);
  c.Set(38, 85, pal::ink);
  c.Set(42, 85, pal::ink);
}

NamedPicture Make(const char* name, void (*draw)(Canvas&)) {
  Canvas art(kArt, kArt, pal::ink);
  draw(art);
  return {name, FinishScene(art)};
}

}  // namespace

std::vector<NamedPicture> DrawFieldScenes() {
  std::vector<NamedPicture> v;
  v.push_back(Make("forest.bmp", Forest));
  v.push_back(Make("kusa.bmp", Grass));
  v.push_back(Make("sea.bmp", Sea));
  v.push_back(Make("ana.bmp", Cave));
  v.push_back(Make("battle.bmp", BattleForest));
  v.push_back(Make("battle1.bmp", BattleGrass));
  v.push_back(Make("battle2.bmp", BattleSea));
  v.push_back(Make("battle3.bmp", BattleCave));
  v.push_back(Make("takara.bmp", Treasure));
  v.push_back(Make("takara1.bmp", TreasureOpen));
  v.push_back(Make("scop.bmp", Dig));
  v.push_back(Make("sakana.bmp", Fish0));
  v.push_back(Make("sakana1.bmp", Fish1));
  v.push_back(Make("sakana2.bmp", Fish2));
  v.push_back(Make("iwa.bmp", SuspiciousRock));
  v.push_back(Make("tree.bmp", Tree1));
  v.push_back(Make("tree2.bmp", Tree2));
  v.push_back(Make("sounan.bmp", Stranded));
  v.push_back(Make("otosi.bmp", Pit));
  v.push_back(Make("d_mes.bmp", WallWriting));
  return v;
}

}  // namespace assetgen
