// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures and their canvas on QPainter over a QImage (RGB32, used as 24-bit).
// Shapes follow the desktop conventions of the game's drawing code: boxes exclude
// their right and bottom edge, lines exclude their end point, nothing is antialiased.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QStaticText>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/canvas.h"
#include "platform/raster.h"

// A text laid out once in one font: the game draws the same few dozen strings every tick.
struct QtLaidOutText {
  QStaticText text;
  int width;
};

// The game's one face, resolved once per (size, bold, italic).
struct QtFontEntry {
  QFont font;
  QFontMetrics metrics;
  int ascent;  // baseline offset from the top of the text cell
  int height;  // height of the text cell
  // CP932 bytes to their laid-out text; bounded, emptied when full.
  std::unordered_map<std::string, QtLaidOutText> texts;
  const QtLaidOutText& Layout(std::string_view cp932);
};
QtFontEntry& QtFontFor(int size, bool bold, bool italic);
// A font of `px` pixels for widgets (labels, list, text field).
QFont QtWidgetFont(int px, bool bold);
// The face name the game's "ＭＳ Ｐゴシック" maps to.
inline constexpr const char* kQtFace = "IPAPGothic";

// CP932 game text as a QString for drawing.
QString QtText(std::string_view cp932);

class QtPicture;

class QtCanvas : public Canvas {
 public:
  explicit QtCanvas(QtPicture& pic) : pic_(pic) {}
  int Width() const override;
  int Height() const override;
  void FillRect(const Rect& r) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(const std::vector<Point>& points) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void TextOut(int x, int y, std::string_view cp932) override;
  int TextWidth(std::string_view cp932) override;
  int TextHeight(std::string_view cp932) override;
  void CopyRect(const Rect& dst, const Picture& src, const Rect& src_rect, CopyMode mode) override;
  void StretchDrawTransparent(const Rect& dst, const Picture& src) override;

 private:
  PixelTarget Target();  // marks the picture changed
  ShapeStyle Style() const;
  QtPicture& pic_;
};

class QtPicture : public Picture {
 public:
  QtPicture(int width, int height);  // black
  explicit QtPicture(QImage image);  // converted to RGB32
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  Canvas& canvas() override { return canvas_; }
  Rgb Pixel(int x, int y) const override;

  const QImage& image() const { return image_; }
  // For drawing into; call Touch() after changing the pixels.
  QImage& mutable_image() { return image_; }
  void Touch() { ++generation_; }
  // Changes with every drawing operation (widgets repaint and caches rebuild on change).
  uint64_t generation() const { return generation_; }
  // The picture with pure black made fully transparent, rebuilt only after a change.
  const QImage& TransparentImage() const;

 private:
  QImage image_;
  QtCanvas canvas_;
  uint64_t generation_ = 1;
  mutable QImage transparent_;
  mutable uint64_t transparent_generation_ = 0;
};

// Any Picture as a QImage (pictures of another implementation are copied pixel by pixel).
QImage QtImageOf(const Picture& pic);
