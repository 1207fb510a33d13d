// SPDX-License-Identifier: GPL-3.0-or-later
// Home, shop, kitchen, camp, night, morning, the merchant and the title
// pictures.
#include "assets.h"
#include "mathx.h"
#include "props.h"

namespace assetgen {

void ShopHouse(Canvas& c, int x, int y, bool lit) {
  const int w = 64, h = 34;
  int l = x - w / 2;
  // chimney, roof, walls
  c.Rect(x + 14, y - h - 26, 7, 14, pal::redDark);
  c.Rect(x + 13, y - h - 27, 9, 3, pal::rockDark);
  c.Polygon({l - 6, y - h, x, y - h - 24, l + w + 6, y - h}, pal::red);
  c.Polygon({x, y - h - 24, l + w + 6, y - h, x + 4, y - h}, pal::redDark);
  c.Line(l - 6, y - h, l + w + 6, y - h, pal::redDark, 2);
  c.Rect(l, y - h, w, h, pal::cream);
  c.Rect(l + w - 6, y - h, 6, h, Shade(pal::cream, 215));
  c.Rect(l, y - 2, w, 2, pal::woodDark);
  // door
  c.Rect(l + 8, y - 22, 13, 22, pal::woodDark);
  c.Rect(l + 9, y - 21, 11, 21, pal::wood);
  c.Set(l + 18, y - 11, pal::gold);
  c.Rect(l + 11, y - 19, 7, 5, lit ? pal::yellow : pal::seaLight);
  // shop window with a striped awning
  Rgb glass = lit ? pal::yellow : pal::seaLight;
  c.Rect(l + 28, y - 22, 28, 14, pal::woodDark);
  c.Rect(l + 29, y - 21, 26, 12, glass);
  c.Rect(l + 41, y - 21, 1, 12, pal::woodDark);
  if (!lit) c.Line(l + 31, y - 12, l + 36, y - 19, pal::white);
  for (int k = 0; k < 8; ++k) {
    Rgb s = (k & 1) ? pal::white : pal::pink;
    c.Rect(l + 26 + k * 4, y - 28, 4, 5, s);
    c.Rect(l + 27 + k * 4, y - 23, 2, 1, s);
  }
  Cake(c, l + 35, y - 10, 3);
  Cake(c, l + 48, y - 10, 3);
  // sign
  c.Rect(x - 13, y - h - 9, 26, 8, pal::woodDark);
  c.Rect(x - 12, y - h - 8, 24, 6, pal::woodLight);
  Heart(c, x, y - h - 8, pal::pinkDark);
}

void Cake(Canvas& c, int x, int y, int s) {
  // (x, y) is the bottom centre; s scales the slice.
  int w = s * 4, h = s * 3;
  c.Rect(x - w / 2, y - h, w, h, pal::cream);
  c.Rect(x - w / 2, y - h / 2, w, std::max(1, s / 2), pal::pink);
  c.Rect(x - w / 2, y - h - std::max(1, s / 2), w, std::max(1, s / 2) + 1, pal::white);
  c.Ellipse(x, y - h - s / 2 - 1, std::max(1, s / 2), std::max(1, s / 2), pal::red);
  c.Rect(x - w / 2, y, w, 1, Shade(pal::cream, 180));
}

namespace {

void Splash(Canvas& c) {
  c.VGradient(0, 0, kArt, kArt - 1, Rgb(252, 214, 222), Rgb(236, 168, 196), 8);
  // polka dots like a sweets box
  for (int y = 4; y < kArt; y += 14)
    for (int x = ((y / 14) & 1) * 7 + 3; x < kArt; x += 14) c.Circle(x, y, 2, Rgb(255, 232, 238));
  // a big strawberry shortcake
  int cx = 75, base = 96;
  c.Ellipse(cx, base + 2, 40, 7, Shade(Rgb(236, 168, 196), 190));
  c.Ellipse(cx, base, 38, 6, pal::white);
  c.Rect(cx - 30, base - 22, 61, 22, pal::cream);
  c.Ellipse(cx, base, 30, 4, pal::cream);
  c.Rect(cx - 30, base - 14, 61, 3, pal::pink);
  c.Rect(cx - 30, base - 13, 61, 1, pal::red);
  c.Ellipse(cx, base - 22, 30, 5, pal::white);
  for (int k = 0; k < 5; ++k) {
    int sx = cx - 24 + k * 12;
    c.Ellipse(sx, base - 27, 4, 4, pal::red);
    c.Set(sx - 1, base - 28, pal::white);
    c.Rect(sx - 1, base - 32, 3, 2, pal::leaf);
  }
  c.Rect(cx + 22, base - 22, 8, 22, Shade(pal::cream, 220));
  DrawTitleText(c, 75 - TitleTextWidth(2) / 2, 16, 2, pal::white, pal::pinkDark);
  Sparkle(c, 14, 20, pal::yellow);
  Sparkle(c, 136, 52, pal::yellow);
  Sparkle(c, 22, 62, pal::white);
  Sparkle(c, 124, 18, pal::white);
}

void Title(Canvas& c) {
  Sky(c, 80, Rgb(120, 150, 220), Rgb(250, 206, 196));
  Cloud(c, 26, 62, 6);
  Cloud(c, 122, 56, 5);
  Hills(c, 96, 6, 3, pal::grassDark, pal::grassDark);
  Hills(c, 104, 4, 5, pal::grass, pal::grassLight);
  ShopHouse(c, 75, 104, false);
  Tree(c, 22, 104, 8);
  Tree(c, 130, 106, 7);
  Flowers(c, 106, 120, 9, 30);
  DrawTitleText(c, 75 - TitleTextWidth(2) / 2, 12, 2, pal::yellow, pal::purpleDark);
}

void Home(Canvas& c) {
  Sky(c, 80, pal::skyTop, pal::skyLow);
  Cloud(c, 30, 20, 6);
  Cloud(c, 110, 30, 5);
  Hills(c, 82, 5, 2, Mix(pal::grassDark, pal::skyLow, 90), Mix(pal::grassDark, pal::skyLow, 90));
  Hills(c, 98, 3, 4, pal::grass, pal::grassLight);
  // path to the door
  c.Polygon({58, 150, 66, 100, 74, 100, 88, 150}, pal::sand);
  ShopHouse(c, 80, 100, false);
  Tree(c, 18, 100, 9);
  Bush(c, 130, 101, 8);
  Bush(c, 40, 102, 6);
  c.Rect(104, 96, 40, 2, pal::woodDark);  // fence
  for (int k = 0; k < 6; ++k) c.Rect(106 + k * 7, 90, 2, 8, pal::woodLight);
  Flowers(c, 102, 115, 11, 24);
  GrassTufts(c, 100, 148, 12, 40, pal::grassDark);
}

void Store(Canvas& c) {
  // wallpaper with soft stripes
  for (int x = 0; x < kArt; ++x) c.Rect(x, 0, 1, 100, ((x / 6) & 1) ? Rgb(246, 222, 214) : Rgb(238, 206, 200));
  c.Rect(0, 0, kArt, 4, pal::woodDark);
  // shelves with jars and boxes
  for (int s = 0; s < 2; ++s) {
    int sy = 28 + s * 26;
    c.Rect(8, sy, 134, 3, pal::woodDark);
    c.Rect(8, sy, 134, 1, pal::woodLight);
    Prng rng(40 + s);
    for (int x = 12; x < 136; x += 12) {
      int kind = rng.Below(3);
      if (kind == 0) {  // jar of candy
        c.Rect(x, sy - 10, 8, 10, pal::seaLight);
        c.Rect(x + 1, sy - 7, 6, 7, s ? pal::pink : pal::yellow);
        c.Rect(x - 1, sy - 12, 10, 2, pal::red);
      } else if (kind == 1) {  // gift box
        c.Rect(x, sy - 8, 9, 8, s ? pal::lilac : pal::pink);
        c.Rect(x + 4, sy - 8, 1, 8, pal::white);
        c.Rect(x, sy - 5, 9, 1, pal::white);
      } else {
        c.Circle(x + 4, sy - 4, 4, pal::woodLight);  // cookie tin
        c.Circle(x + 4, sy - 4, 2, pal::earthDark);
      }
    }
  }
  // bunting
  for (int k = 0; k < 10; ++k) {
    Rgb f = (k % 3 == 0) ? pal::pink : (k % 3 == 1 ? pal::yellow : pal::seaLight);
    c.Triangle(4 + k * 15, 6, 16 + k * 15, 6, 10 + k * 15, 14, f);
  }
  // counter with a glass case of cakes
  c.Rect(0, 72, kArt, 78, pal::woodDark);
  c.Rect(0, 72, kArt, 4, pal::woodLight);
  for (int x = 0; x < kArt; x += 18) c.Rect(x, 80, 1, 70, Shade(pal::woodDark, 200));
  c.Rect(24, 60, 80, 14, Mix(pal::seaLight, pal::white, 100));
  c.RectOutline(24, 60, 80, 14, pal::gray);
  for (int k = 0; k < 5; ++k) Cake(c, 32 + k * 16, 72, 2 + (k & 1));
  c.Line(26, 62, 30, 62, pal::white);
  // cash register
  c.Rect(112, 56, 24, 16, pal::gold);
  c.Rect(114, 58, 20, 6, pal::goldDark);
  c.Rect(115, 59, 8, 3, Rgb(160, 230, 150));
  c.Rect(112, 68, 24, 4, pal::goldDark);
}

void Kitchen(Canvas& c) {
  // tiled wall
  c.Rect(0, 0, kArt, 90, Rgb(236, 240, 230));
  for (int y = 0; y < 90; y += 8) c.Rect(0, y, kArt, 1, Rgb(200, 210, 204));
  for (int y = 0; y < 90; y += 8)
    for (int x = (y / 8 & 1) * 4; x < kArt; x += 8) c.Rect(x, y, 1, 8, Rgb(200, 210, 204));
  // window
  c.Rect(96, 10, 40, 28, pal::woodDark);
  c.VGradient(98, 12, 36, 36, pal::skyTop, pal::skyLow, 4);
  c.Rect(115, 12, 2, 24, pal::woodDark);
  Cloud(c, 106, 20, 3);
  // oven
  c.Rect(10, 30, 44, 60, pal::grayDark);
  c.Rect(12, 32, 40, 8, pal::gray);
  for (int k = 0; k < 3; ++k) c.Circle(18 + k * 10, 36, 2, pal::ink);
  c.Rect(14, 46, 36, 28, pal::ink);
  c.VGradient(16, 48, 32, 72, pal::yellow, pal::orange, 4);
  Cake(c, 32, 68, 3);
  c.Rect(14, 44, 36, 2, pal::rockLight);
  // hanging pans and utensils
  c.Rect(62, 8, 30, 1, pal::grayDark);
  c.Circle(68, 22, 6, pal::grayDark);
  c.Rect(67, 9, 2, 8, pal::grayDark);
  c.Rect(78, 9, 1, 14, pal::woodDark);
  c.Ellipse(78, 25, 2, 3, pal::woodLight);
  c.Rect(86, 9, 1, 12, pal::gray);
  for (int k = -2; k <= 2; ++k) c.Line(86, 21, 86 + k, 27, pal::gray);
  // table with a mixing bowl, eggs and flour
  c.Rect(0, 80, kArt, 70, pal::wood);
  c.Rect(0, 80, kArt, 3, pal::woodLight);
  c.Ellipse(92, 76, 16, 6, pal::white);
  c.Rect(76, 70, 33, 7, pal::white);
  c.Ellipse(92, 70, 16, 3, pal::cream);
  c.Line(98, 58, 94, 70, pal::gray, 2);
  c.Ellipse(124, 78, 3, 4, pal::cream);
  c.Ellipse(132, 79, 3, 4, Rgb(240, 220, 190));
  c.Rect(56, 64, 14, 16, Rgb(236, 226, 200));
  c.Rect(56, 64, 14, 3, pal::sandDark);
  c.Rect(59, 70, 8, 5, pal::white);
}

void Camp(Canvas& c) {
  Sky(c, 90, Rgb(72, 60, 128), Rgb(238, 140, 112));
  Stars(c, 5, 20, 30);
  for (int k = 0; k < 9; ++k) Pine(c, 6 + k * 18, 96 - (k % 3) * 2, 40 + (k * 7) % 14, Rgb(40, 50, 72));
  c.Rect(0, 92, kArt, 58, Rgb(70, 76, 70));
  // tent
  c.Triangle(18, 98, 44, 58, 70, 98, pal::orange);
  c.Triangle(44, 58, 70, 98, 56, 98, pal::foxDark);
  c.Triangle(38, 98, 44, 76, 50, 98, pal::ink);
  // warm glow, logs and the fire
  for (int r = 30; r > 4; r -= 4)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (dx * dx + dy * dy * 3 <= r * r) c.Blend(104 + dx, 92 + dy, pal::orange, 22);
  c.Line(92, 98, 116, 92, pal::trunk, 3);
  c.Line(92, 92, 116, 98, pal::trunkDark, 3);
  c.Triangle(96, 94, 104, 70, 112, 94, pal::orange);
  c.Triangle(99, 94, 104, 78, 109, 94, pal::yellow);
  c.Triangle(102, 94, 104, 86, 106, 94, pal::white);
  Sparkle(c, 96, 66, pal::orange);
  c.Set(110, 62, pal::yellow);
  // log seat
  c.Rect(122, 96, 22, 6, pal::trunk);
  c.Ellipse(122, 99, 2, 3, pal::woodLight);
}

void Night(Canvas& c) {
  Sky(c, 96, pal::nightTop, pal::nightLow);
  Stars(c, 7, 70, 80);
  c.Circle(118, 24, 11, Rgb(250, 240, 190));
  c.Circle(124, 20, 10, pal::nightTop);  // crescent
  Hills(c, 92, 5, 2, Rgb(34, 42, 70), Rgb(50, 60, 96));
  Hills(c, 102, 3, 4, Rgb(40, 62, 66), Rgb(56, 84, 80));
  ShopHouse(c, 70, 102, true);
  c.Tint(0, 40, kArt, 70, Rgb(30, 30, 90), 90);
  // the lit windows glow through the night tint (positions as in ShopHouse)
  const int l = 70 - 32, y = 102;
  c.Rect(l + 11, y - 19, 7, 5, pal::yellow);
  c.Rect(l + 29, y - 21, 26, 12, pal::yellow);
  c.Rect(l + 41, y - 21, 1, 12, pal::woodDark);
  Cake(c, l + 35, y - 10, 3);
  Cake(c, l + 48, y - 10, 3);
  for (int dy = 0; dy < 10; ++dy) c.Tint(l + 26 - dy, y + dy, 32 + 2 * dy, 1, pal::yellow, 50 - dy * 5);
  Tree(c, 130, 104, 8, Rgb(44, 76, 70));
}

void Morning(Canvas& c) {
  Sky(c, 96, Rgb(150, 190, 236), Rgb(252, 206, 160));
  Sun(c, 112, 78, 12, Rgb(255, 232, 150), pal::white);
  Cloud(c, 40, 30, 5);
  c.Line(60, 22, 63, 24, pal::ink);
  c.Line(63, 24, 66, 22, pal::ink);
  c.Line(72, 30, 74, 31, pal::ink);
  c.Line(74, 31, 76, 30, pal::ink);
  Hills(c, 90, 6, 1, Rgb(110, 160, 110), Rgb(140, 190, 120));
  Hills(c, 102, 3, 6, pal::grass, pal::grassLight);
  ShopHouse(c, 54, 102, false);
  Tree(c, 136, 104, 7);
  Flowers(c, 104, 118, 13, 24);
}

void Merchant(Canvas& c) {
  // a hazy violet forest path
  Sky(c, 80, Rgb(60, 40, 92), Rgb(140, 110, 170));
  for (int k = 0; k < 8; ++k) Pine(c, 4 + k * 20, 90, 50 + (k * 11) % 20, Rgb(50, 40, 80));
  c.Rect(0, 86, kArt, 64, Rgb(70, 60, 86));
  c.Polygon({40, 150, 66, 86, 84, 86, 112, 150}, Rgb(96, 84, 104));
  // the merchant: a big cloak, a huge pack and a lantern
  int x = 75, y = 100;
  GroundShadow(c, x, y, 22, 3);
  c.Rect(x - 22, y - 62, 30, 40, pal::woodDark);  // pack behind
  c.Rect(x - 20, y - 60, 26, 36, pal::wood);
  c.Rect(x - 20, y - 48, 26, 2, pal::woodDark);
  c.Circle(x - 18, y - 64, 5, pal::red);  // bundled goods
  c.Rect(x - 10, y - 70, 4, 9, pal::gold);
  c.Polygon({x - 16, y, x, y - 52, x + 16, y}, pal::purple);
  c.Polygon({x, y - 52, x + 16, y, x + 6, y}, pal::purpleDark);
  c.Circle(x, y - 50, 11, pal::purple);
  c.Triangle(x - 3, y - 66, x + 8, y - 58, x + 2, y - 71, pal::purple);  // hood tip
  c.Circle(x, y - 47, 8, pal::caveDark);
  c.Rect(x - 4, y - 49, 2, 2, pal::yellow);  // glowing eyes
  c.Rect(x + 2, y - 49, 2, 2, pal::yellow);
  c.Line(x - 3, y - 43, x + 3, y - 43, Rgb(90, 70, 110));
  c.Line(x + 14, y - 30, x + 22, y - 34, pal::purpleDark, 2);  // arm and lantern
  c.Rect(x + 21, y - 36, 1, 4, pal::grayDark);
  c.Rect(x + 19, y - 32, 6, 8, pal::goldDark);
  c.Rect(x + 20, y - 31, 4, 6, pal::yellow);
  for (int r = 12; r > 2; r -= 3)
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (dx * dx + dy * dy <= r * r) c.Blend(x + 22 + dx, y - 28 + dy, pal::yellow, 18);
  c.Set(x - 24, y - 72, pal::lilac);
  Sparkle(c, x + 30, y - 60, pal::lilac);
  Sparkle(c, x - 34, y - 40, pal::lilac);
}

// The splash and the title carry no message log, so they keep their colours.
NamedPicture Make(const char* name, void (*draw)(Canvas&), bool calm = true) {
  Canvas art(kArt, kArt, pal::ink);
  draw(art);
  return {name, FinishScene(art, calm)};
}

}  // namespace

std::vector<NamedPicture> DrawTownScenes() {
  std::vector<NamedPicture> v;
  v.push_back(Make("00.bmp", Splash, false));
  v.push_back(Make("title.bmp", Title, false));
  v.push_back(Make("haikei01.bmp", Home));
  v.push_back(Make("store.bmp", Store));
  v.push_back(Make("cook.bmp", Kitchen));
  v.push_back(Make("camp.bmp", Camp));
  v.push_back(Make("night.bmp", Night));
  v.push_back(Make("asa.bmp", Morning));
  v.push_back(Make("nazo.bmp", Merchant));
  return v;
}

}  // namespace assetgen
