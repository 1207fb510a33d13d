// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures behind the labels of the character-creation and item panels, and
// the application icon. Panel pictures sit under white label text, so they
// stay in the darker berry and plum tones of the game's palette.
#include "assets.h"
#include "kit.h"
#include "props.h"

namespace assetgen {

namespace {

const Rgb kPlum{62, 42, 78}, kPlumDark{40, 28, 54}, kPlumLight{96, 68, 116};
const Rgb kBerry{150, 64, 100}, kBerryDark{100, 40, 72}, kBerryLight{206, 112, 150};

void RoundCorners(Canvas& c, Rgb outside) {
  const int w = c.width(), h = c.height();
  const int pts[][2] = {{0, 0}, {1, 0}, {0, 1}};
  for (auto& p : pts) {
    c.Set(p[0], p[1], outside);
    c.Set(w - 1 - p[0], p[1], outside);
    c.Set(p[0], h - 1 - p[1], outside);
    c.Set(w - 1 - p[0], h - 1 - p[1], outside);
  }
}

// A large panel background: plum with a faint diamond pattern and a wooden frame.
Canvas Background(int w, int h) {
  Canvas c(w, h);
  c.VGradient(0, 0, w, h - 1, kPlumLight, kPlumDark, 6);
  for (int y = 6; y < h - 4; y += 12)
    for (int x = ((y / 12) & 1) * 8 + 6; x < w - 4; x += 16) {
      c.Blend(x, y - 1, kBerryLight, 60);
      c.Blend(x - 1, y, kBerryLight, 60);
      c.Blend(x + 1, y, kBerryLight, 60);
      c.Blend(x, y + 1, kBerryLight, 60);
    }
  c.RectOutline(0, 0, w, h, pal::woodDark);
  c.RectOutline(1, 1, w - 2, h - 2, pal::wood);
  c.RectOutline(2, 2, w - 4, h - 4, pal::woodDark);
  c.Rect(3, 3, w - 6, 1, kPlumLight);
  return c;
}

// Title bar: berry ribbon with a bright top edge and a stitched seam. Only
// horizontal features, so it stretches to any width.
Canvas TitleBar(int w, int h) {
  Canvas c(w, h);
  c.VGradient(0, 0, w, h - 1, kBerryLight, kBerryDark, 5);
  c.Rect(1, 1, w - 2, 1, Mix(kBerryLight, pal::white, 120));
  for (int x = 3; x < w - 3; x += 4) c.Rect(x, h - 5, 2, 1, Mix(kBerryLight, pal::white, 60));
  c.RectOutline(0, 0, w, h, kPlumDark);
  RoundCorners(c, kPlumDark);
  return c;
}

// Button plate: rounded bevelled plate.
Canvas Button(int w, int h, Rgb face) {
  Canvas c(w, h);
  c.VGradient(0, 0, w, h - 1, Mix(face, pal::white, 50), Shade(face, 190), 4);
  c.Rect(2, 1, w - 4, 1, Mix(face, pal::white, 150));
  c.Rect(1, 2, 1, h - 4, Mix(face, pal::white, 90));
  c.Rect(2, h - 2, w - 4, 1, Shade(face, 140));
  c.Rect(w - 2, 2, 1, h - 4, Shade(face, 150));
  c.RectOutline(0, 0, w, h, kPlumDark);
  RoundCorners(c, kPlumDark);
  return c;
}

// An inset field for texts: darker than the panel, thin light rim at the bottom.
Canvas Inset(int w, int h) {
  Canvas c(w, h);
  c.VGradient(0, 0, w, h - 1, kPlumDark, kPlum, 4);
  c.RectOutline(0, 0, w, h, Rgb(28, 20, 38));
  c.Rect(1, h - 1, w - 1, 1, kPlumLight);
  c.Rect(w - 1, 1, 1, h - 1, kPlumLight);
  for (int y = 14; y < h - 2; y += 14) c.Rect(4, y, w - 8, 1, Mix(kPlumDark, kPlum, 160));
  return c;
}

// The application icon's 32 x 32 art; `outside` fills the rounded-off corners.
Canvas IconArt(Rgb outside) {
  Canvas art(32, 32, Rgb(250, 214, 226));
  art.VGradient(0, 0, 32, 31, Rgb(252, 222, 232), Rgb(236, 160, 190), 5);
  art.RectOutline(0, 0, 32, 32, pal::pinkDark);
  RoundCorners(art, outside);
  art.Ellipse(16, 25, 12, 3, pal::white);
  Cake(art, 16, 24, 5);
  Sparkle(art, 5, 6, pal::yellow);
  return art;
}

Canvas Icon() { return IconArt(Rgb(0, 0, 0)).Scaled(2); }

}  // namespace

std::vector<NamedPicture> DrawPanels() {
  // One picture per role; the widgets stretch them to their own sizes, so each
  // is drawn at the size of its most common widget and shapes stay stretch-safe.
  std::vector<NamedPicture> v;
  v.push_back({"panel_back.bmp", Background(301, 273)});              // bp_box background
  v.push_back({"panel_title.bmp", TitleBar(295, 28)});                // title bars of both panels
  v.push_back({"btn_stat.bmp", Button(77, 29, kBerry)});              // the six stat buttons
  v.push_back({"btn_wide.bmp", Button(107, 29, Rgb(92, 120, 168))});  // RESET, OK, use/buy, >BACK
  v.push_back({"btn_small.bmp", Button(89, 29, Rgb(196, 120, 60))});  // cooking column buttons
  v.push_back({"panel_detail.bmp", Inset(113, 237)});                 // item description
  v.push_back({"panel_cook.bmp", Inset(93, 209)});                    // recipe column
  v.push_back({"icon.bmp", Icon()});
  return v;
}

std::vector<SizedIcon> DrawAppIcons() {
  const Canvas art = IconArt(kIconTransparent);
  std::vector<SizedIcon> v;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) v.push_back({size, art.Resized(size, size)});
  return v;
}

}  // namespace assetgen
