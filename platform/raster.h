// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel-exact shapes on a 32-bit pixel buffer, shared by both canvases so that the
// headless pictures tests probe and the window shows are drawn the same way. Boxes
// exclude their right and bottom edge, lines their end point; nothing is antialiased.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas.h"

struct PixelTarget {
  uint32_t* pixels = nullptr;  // 0x..RRGGBB, row-major
  int width = 0;
  int height = 0;
  ptrdiff_t stride = 0;     // in pixels
  uint32_t fixed_bits = 0;  // ORed into every value written (an opaque alpha byte)
};

// An outline in `pen` (width >= 1) and, when given, an interior in `brush`.
struct ShapeStyle {
  Rgb pen;
  int pen_width = 1;
  std::optional<Rgb> brush;
};

void RasterFill(const PixelTarget& t, int left, int top, int right, int bottom, Rgb c);
void RasterRectangle(const PixelTarget& t, int x1, int y1, int x2, int y2, const ShapeStyle& s);
void RasterEllipse(const PixelTarget& t, int x1, int y1, int x2, int y2, const ShapeStyle& s);
void RasterPolygon(const PixelTarget& t, const std::vector<Point>& points, const ShapeStyle& s);
void RasterLine(const PixelTarget& t, int x1, int y1, int x2, int y2, Rgb pen, int pen_width);
