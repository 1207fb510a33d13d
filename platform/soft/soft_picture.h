// SPDX-License-Identifier: GPL-3.0-or-later
// A 24-bit picture in memory with a software canvas. Shapes, copies and the OR and
// transparent modes are exact; text is not rasterised (its cell is filled when the
// brush is solid) but every text drawn is recorded so tests can read it.
#pragma once

#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/raster.h"

struct TextRecord {
  int x, y;
  std::string text;  // CP932
  Font font;
  bool opaque;
};

class SoftPicture;

class SoftCanvas : public Canvas {
 public:
  explicit SoftCanvas(SoftPicture& pic) : pic_(pic) {}
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

  // Texts drawn since the last ClearRecord.
  std::vector<TextRecord> texts;
  void ClearRecord() { texts.clear(); }

 private:
  PixelTarget Target();
  ShapeStyle Style() const;
  SoftPicture& pic_;
};

class SoftPicture : public Picture {
 public:
  SoftPicture(int width, int height);
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  Canvas& canvas() override { return canvas_; }
  SoftCanvas& soft_canvas() { return canvas_; }
  Rgb Pixel(int x, int y) const override;
  void SetPixel(int x, int y, Rgb c);
  const std::vector<uint32_t>& pixels() const { return px_; }
  std::vector<uint32_t>& pixels() { return px_; }

 private:
  int w_, h_;
  std::vector<uint32_t> px_;  // 0xRRGGBB, row-major
  SoftCanvas canvas_;
};
