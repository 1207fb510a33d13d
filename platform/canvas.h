// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing surfaces of the platform: 24-bit pictures and the canvas that draws on them.
// The canvas keeps brush, pen and font as plain state that each call reads, the way the
// game's drawing code is written (set colours, then draw).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  constexpr Rgb() = default;
  constexpr Rgb(int red, int green, int blue)
      : r(static_cast<uint8_t>(red)), g(static_cast<uint8_t>(green)), b(static_cast<uint8_t>(blue)) {}
  constexpr bool operator==(const Rgb&) const = default;
  constexpr uint32_t Packed() const { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }
  static constexpr Rgb FromPacked(uint32_t v) { return Rgb(int((v >> 16) & 255), int((v >> 8) & 255), int(v & 255)); }
};

namespace colors {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
}  // namespace colors

struct Point {
  int x = 0, y = 0;
  constexpr bool operator==(const Point&) const = default;
};

// Left/top inclusive, right/bottom exclusive.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr bool operator==(const Rect&) const = default;
};

enum class BrushStyle { Solid, Clear };
enum class CopyMode { Copy, Or };

// The one face of the game (a proportional gothic); size in points at 96 dpi,
// so size 9 is 12 pixels high.
struct Font {
  int size = 10;
  bool bold = false;
  bool italic = false;
  Rgb color = colors::kWhite;
  constexpr bool operator==(const Font&) const = default;
};

// Pixel height of a font size in points at 96 dpi, rounded like the desktop does.
constexpr int FontPixelHeight(int points) { return (points * 96 + 36) / 72; }

class Picture;

class Canvas {
 public:
  virtual ~Canvas() = default;

  Rgb brush_color = colors::kWhite;
  BrushStyle brush_style = BrushStyle::Solid;
  Rgb pen_color = colors::kBlack;
  int pen_width = 1;
  Font font;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Fills with the brush colour, no outline.
  virtual void FillRect(const Rect& r) = 0;
  // Outline with the pen, interior with the brush (unless the brush is clear).
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // Ellipse inscribed in the box (x1,y1)-(x2,y2): pen outline, brush interior.
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;
  // A line in the pen colour and width; the end point itself is not drawn.
  virtual void Line(int x1, int y1, int x2, int y2) = 0;

  // CP932 text with its top-left at (x, y). With a solid brush the text cell is
  // filled with the brush colour first; with a clear brush the background shows.
  virtual void TextOut(int x, int y, std::string_view cp932) = 0;
  virtual int TextWidth(std::string_view cp932) = 0;
  virtual int TextHeight(std::string_view cp932) = 0;

  // Copies src rectangle of a picture into dst (same size), plain or OR-combined.
  // Source and destination may be the same picture.
  virtual void CopyRect(const Rect& dst, const Picture& src, const Rect& src_rect, CopyMode mode) = 0;
  // Scales the whole picture into dst; pure black pixels of src are transparent.
  virtual void StretchDrawTransparent(const Rect& dst, const Picture& src) = 0;

  void Draw(int x, int y, const Picture& src);
};

// A 24-bit picture with its own canvas.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual Canvas& canvas() = 0;
  virtual Rgb Pixel(int x, int y) const = 0;
};
