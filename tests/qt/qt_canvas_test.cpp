// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel probes of the painter canvas.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/bmp.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_platform.h"
#include "platform/text.h"

namespace {

constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0}, kYellow{255, 255, 0};

// Bounding box of the pixels that are not black.
Rect Extent(const Picture& p) {
  Rect r{p.Width(), p.Height(), 0, 0};
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if (!(p.Pixel(x, y) == colors::kBlack)) {
        r.left = std::min(r.left, x);
        r.top = std::min(r.top, y);
        r.right = std::max(r.right, x + 1);
        r.bottom = std::max(r.bottom, y + 1);
      }
  return r;
}

int CountColour(const Picture& p, Rgb c, Rect in) {
  int n = 0;
  for (int y = in.top; y < in.bottom; ++y)
    for (int x = in.left; x < in.right; ++x) n += p.Pixel(x, y) == c;
  return n;
}

TEST(QtCanvas, RectangleAndEllipseExcludeRightAndBottom) {
  QtPicture pic(30, 30);
  Canvas& c = pic.canvas();
  c.pen_color = kRed;
  c.brush_color = kBlue;
  c.Rectangle(2, 3, 8, 9);
  EXPECT_EQ(Extent(pic), (Rect{2, 3, 8, 9}));
  EXPECT_EQ(pic.Pixel(2, 3), kRed);
  EXPECT_EQ(pic.Pixel(7, 8), kRed);
  EXPECT_EQ(pic.Pixel(4, 5), kBlue);

  // A clear brush leaves the inside alone; a wide pen grows inwards.
  QtPicture open(30, 30);
  open.canvas().pen_color = kRed;
  open.canvas().pen_width = 2;
  open.canvas().brush_style = BrushStyle::Clear;
  open.canvas().Rectangle(0, 0, 10, 10);
  EXPECT_EQ(Extent(open), (Rect{0, 0, 10, 10}));
  EXPECT_EQ(open.Pixel(1, 5), kRed);
  EXPECT_EQ(open.Pixel(2, 5), colors::kBlack);

  // The log's rounded line end: a 19 x 12 box in one colour.
  QtPicture ell(40, 30);
  ell.canvas().pen_color = ell.canvas().brush_color = kGreen;
  ell.canvas().Ellipse(5, 4, 24, 16);
  EXPECT_EQ(Extent(ell), (Rect{5, 4, 24, 16}));
  EXPECT_EQ(ell.Pixel(14, 10), kGreen);        // filled centre
  EXPECT_EQ(ell.Pixel(5, 4), colors::kBlack);  // corners stay outside
}

TEST(QtCanvas, LinesStopBeforeTheirEndAndPolygonsFill) {
  QtPicture pic(20, 20);
  Canvas& c = pic.canvas();
  c.pen_color = kRed;
  c.Line(2, 5, 9, 5);
  EXPECT_EQ(Extent(pic), (Rect{2, 5, 9, 6}));
  c.Line(30, 30, -5, -5);  // clipped, must not write outside
  EXPECT_EQ(pic.Pixel(0, 0), kRed);

  QtPicture tri(20, 20);
  tri.canvas().pen_color = tri.canvas().brush_color = kYellow;
  tri.canvas().Polygon({{2, 2}, {12, 2}, {2, 12}});
  EXPECT_EQ(Extent(tri), (Rect{2, 2, 13, 13}));
  EXPECT_EQ(tri.Pixel(4, 4), kYellow);
  EXPECT_EQ(tri.Pixel(11, 11), colors::kBlack);
}

TEST(QtCanvas, OrCopyAndCopyOntoItself) {
  QtPicture dst(4, 4), src(4, 4);
  dst.canvas().brush_color = Rgb(0x10, 0x20, 0x30);
  dst.canvas().FillRect({0, 0, 4, 4});
  src.canvas().brush_color = Rgb(0x01, 0x42, 0x03);
  src.canvas().FillRect({0, 0, 2, 4});
  dst.canvas().CopyRect({0, 0, 4, 4}, src, {0, 0, 4, 4}, CopyMode::Or);
  EXPECT_EQ(dst.Pixel(0, 0), Rgb(0x11, 0x62, 0x33));
  EXPECT_EQ(dst.Pixel(3, 3), Rgb(0x10, 0x20, 0x30));  // black adds nothing

  // The screen shake: rows move down by two, the rows above keep their old pixels.
  QtPicture shake(3, 6);
  for (int y = 0; y < 6; ++y) {
    shake.canvas().brush_color = Rgb(y * 40, 0, 0);
    shake.canvas().FillRect({0, y, 3, y + 1});
  }
  shake.canvas().CopyRect({0, 2, 3, 8}, shake, {0, 0, 3, 6}, CopyMode::Copy);
  for (int y = 2; y < 6; ++y) EXPECT_EQ(shake.Pixel(1, y), Rgb((y - 2) * 40, 0, 0)) << y;
  EXPECT_EQ(shake.Pixel(1, 1), Rgb(40, 0, 0));

  // A source rectangle hanging over the edge copies only what exists.
  QtPicture edge(4, 4);
  edge.canvas().brush_color = kBlue;
  edge.canvas().FillRect({0, 0, 4, 4});
  edge.canvas().CopyRect({0, 0, 4, 4}, src, {2, 0, 6, 4}, CopyMode::Copy);
  EXPECT_EQ(edge.Pixel(0, 0), colors::kBlack);
  EXPECT_EQ(edge.Pixel(3, 0), kBlue);
}

TEST(QtCanvas, StretchDrawLeavesBlackTransparentAndSeesChanges) {
  QtPicture sprite(2, 2);
  sprite.canvas().brush_color = kRed;
  sprite.canvas().FillRect({1, 0, 2, 2});
  sprite.canvas().FillRect({0, 1, 1, 2});
  QtPicture scene(6, 6);
  scene.canvas().brush_color = kGreen;
  scene.canvas().FillRect({0, 0, 6, 6});
  scene.canvas().StretchDrawTransparent({1, 1, 5, 5}, sprite);
  EXPECT_EQ(CountColour(scene, kGreen, {1, 1, 3, 3}), 4);  // the black quarter, doubled
  EXPECT_EQ(CountColour(scene, kRed, {1, 1, 5, 5}), 12);
  EXPECT_EQ(scene.Pixel(0, 0), kGreen);

  // The cached transparent copy follows changes of the sprite.
  sprite.canvas().brush_color = kBlue;
  sprite.canvas().FillRect({0, 0, 1, 1});
  scene.canvas().StretchDrawTransparent({1, 1, 5, 5}, sprite);
  EXPECT_EQ(CountColour(scene, kBlue, {1, 1, 3, 3}), 4);
}

TEST(QtCanvas, TextCellIsOpaqueOnlyWithASolidBrush) {
  const std::string text = J("あいう");
  QtPicture opaque(80, 20), clear(80, 20);
  for (QtPicture* p : {&opaque, &clear}) {
    Canvas& c = p->canvas();
    c.font = Font{9, true, false, colors::kWhite};
    c.brush_color = kYellow;
    c.brush_style = p == &opaque ? BrushStyle::Solid : BrushStyle::Clear;
    c.TextOut(2, 3, text);
  }
  Canvas& c = opaque.canvas();
  const int w = c.TextWidth(text), h = c.TextHeight(text);
  EXPECT_EQ(h, 12);
  EXPECT_GT(w, 24);
  EXPECT_LT(w, 40);
  EXPECT_EQ(opaque.Pixel(2, 3), kYellow);  // the cell's corner
  EXPECT_EQ(opaque.Pixel(2 + w - 1, 3 + h - 1), kYellow);
  EXPECT_EQ(opaque.Pixel(2 + w, 3), colors::kBlack);
  EXPECT_EQ(clear.Pixel(2, 3), colors::kBlack);
  EXPECT_GT(80 * 20 - CountColour(clear, colors::kBlack, {0, 0, 80, 20}), 40);  // the glyphs themselves
  EXPECT_EQ(CountColour(clear, kYellow, {0, 0, 80, 20}), 0);
  const Rect ink = Extent(clear);
  EXPECT_GE(ink.top, 3);
  EXPECT_LE(ink.bottom, 3 + h + 1);

  // Glyphs take the font colour, also when the same text comes again in another colour.
  for (Rgb colour : {kRed, kGreen}) {
    QtPicture tinted(80, 20);
    tinted.canvas().brush_style = BrushStyle::Clear;
    tinted.canvas().font = Font{9, true, false, colour};
    tinted.canvas().TextOut(0, 0, text);
    EXPECT_GT(CountColour(tinted, colour, {0, 0, 80, 20}), 10);
  }

  // Bigger sizes are bigger.
  c.font.size = 16;
  EXPECT_EQ(c.TextHeight(text), 21);
  EXPECT_GT(c.TextWidth(text), w);
}

TEST(QtCanvas, YenSignAndBrokenTextStillDraw) {
  QtPicture pic(60, 20);
  Canvas& c = pic.canvas();
  c.brush_style = BrushStyle::Clear;
  c.TextOut(0, 0, "\x5C");
  EXPECT_GT(60 * 20 - CountColour(pic, colors::kBlack, {0, 0, 60, 20}), 3);
  EXPECT_GT(c.TextWidth("\x5C"), 0);

  // A lone lead byte, a cut double-byte character and an undefined code: the rest
  // of the line is still drawn.
  const std::string broken = std::string("\x82") + "A" + J("あ").substr(0, 1) + "\xFF\xFF" + J("い");
  QtPicture b(120, 20);
  b.canvas().brush_style = BrushStyle::Clear;
  b.canvas().TextOut(0, 0, broken);
  EXPECT_GT(b.canvas().TextWidth(broken), b.canvas().TextWidth(J("い")) * 2);
  EXPECT_GT(Extent(b).right, b.canvas().TextWidth(broken) - 14);  // the last glyph is there
}

TEST(QtPlatformPictures, LoadsBitmapsAndRejectsMissingOrDamagedFiles) {
  QtPlatform platform;
  BmpImage img;
  img.width = 3;
  img.height = 2;
  img.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0x000000, 0xFFFFFF};
  const std::vector<uint8_t> bytes = EncodeBmp24(img);
  const std::string path = std::string(POMURIE_BUILD_DIR) + "/qt_test_picture.bmp";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  auto pic = platform.LoadPicture(path);
  ASSERT_NE(pic, nullptr);
  EXPECT_EQ(pic->Width(), 3);
  EXPECT_EQ(pic->Height(), 2);
  EXPECT_EQ(pic->Pixel(0, 0), kRed);
  EXPECT_EQ(pic->Pixel(0, 1), Rgb(0x12, 0x34, 0x56));
  EXPECT_EQ(pic->Pixel(2, 1), colors::kWhite);

  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 40);
  EXPECT_EQ(platform.LoadPicture(path), nullptr);
  std::remove(path.c_str());
  EXPECT_EQ(platform.LoadPicture(path), nullptr);
}

// Saves a sample of the game's text for a person to look at (set POMURIE_QT_SNAPSHOT_DIR).
TEST(QtCanvas, TextSnapshot) {
  const char* dir = std::getenv("POMURIE_QT_SNAPSHOT_DIR");
  if (!dir) GTEST_SKIP() << "POMURIE_QT_SNAPSHOT_DIR not set";
  QtPicture pic(300, 120);
  Canvas& c = pic.canvas();
  c.brush_color = Rgb(136, 68, 85);
  c.pen_color = Rgb(136, 68, 85);
  int y = 4;
  for (int size : {7, 8, 9, 10, 12, 16}) {
    c.font = Font{size, true, size == 12, colors::kWhite};
    const std::string line = J("ポムリエ お金:1234円 <毒>") + "\x5C" + "100";
    c.Ellipse(2 + c.TextWidth(line) - 10, y, 2 + c.TextWidth(line) + 9, y + c.TextHeight(line));
    c.TextOut(2, y, line);
    y += c.TextHeight(line) + 3;
  }
  ASSERT_TRUE(pic.image().save(QString::fromUtf8(dir) + "/qt_text.png"));
  ASSERT_TRUE(pic.image().scaled(900, 360).save(QString::fromUtf8(dir) + "/qt_text_x3.png"));
}

}  // namespace
