// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

void Span(const PixelTarget& t, int y, int x1, int x2, uint32_t v) {  // x2 exclusive
  if (y < 0 || y >= t.height) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, t.width);
  if (x1 >= x2) return;
  uint32_t* row = t.pixels + t.stride * y;
  std::fill(row + x1, row + x2, v);
}

uint32_t Value(const PixelTarget& t, Rgb c) { return t.fixed_bits | c.Packed(); }

}  // namespace

void RasterFill(const PixelTarget& t, int left, int top, int right, int bottom, Rgb c) {
  const uint32_t v = Value(t, c);
  for (int y = std::max(top, 0); y < std::min(bottom, t.height); ++y) Span(t, y, left, right, v);
}

void RasterRectangle(const PixelTarget& t, int x1, int y1, int x2, int y2, const ShapeStyle& s) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  if (s.brush) RasterFill(t, x1, y1, x2, y2, *s.brush);
  // The pen runs along the box's inner edge; a wider pen grows inwards.
  const int band = std::max(1, s.pen_width);
  RasterFill(t, x1, y1, x2, std::min(y2, y1 + band), s.pen);
  RasterFill(t, x1, std::max(y1, y2 - band), x2, y2, s.pen);
  RasterFill(t, x1, y1, std::min(x2, x1 + band), y2, s.pen);
  RasterFill(t, std::max(x1, x2 - band), y1, x2, y2, s.pen);
}

void RasterEllipse(const PixelTarget& t, int x1, int y1, int x2, int y2, const ShapeStyle& s) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (x2 - x1 < 1 || y2 - y1 < 1) return;
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;  // centre of the pixel box
  const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  const double pen = std::max(s.pen_width, 1);
  const double irx = rx - pen, iry = ry - pen;
  const uint32_t pen_v = Value(t, s.pen);
  const uint32_t brush_v = s.brush ? Value(t, *s.brush) : 0;
  const int top = std::max(y1, 0), bottom = std::min(y2, t.height);
  // Each row: the pixels whose centres fall inside the ellipse; those outside the
  // ellipse shrunk by the pen width are the outline.
  auto half_width = [](double r_x, double r_y, double dy) {
    if (r_x <= 0 || r_y <= 0) return -1.0;
    const double q = 1 - (dy * dy) / (r_y * r_y);
    return q < 0 ? -1.0 : r_x * std::sqrt(q);
  };
  for (int y = top; y < bottom; ++y) {
    const double dy = y + 0.5 - cy;
    const double h = half_width(rx, ry, dy);
    if (h < 0) continue;
    const int a = static_cast<int>(std::ceil(cx - h - 0.5)), b = static_cast<int>(std::floor(cx + h - 0.5)) + 1;
    if (a >= b) continue;
    const double ih = half_width(irx, iry, dy);
    if (ih < 0) {
      Span(t, y, a, b, pen_v);
      continue;
    }
    const int ia = std::max(a, static_cast<int>(std::ceil(cx - ih - 0.5)));
    const int ib = std::min(b, static_cast<int>(std::floor(cx + ih - 0.5)) + 1);
    Span(t, y, a, ia, pen_v);
    if (s.brush) Span(t, y, ia, ib, brush_v);
    Span(t, y, std::max(ib, ia), b, pen_v);
  }
}

void RasterPolygon(const PixelTarget& t, const std::vector<Point>& points, const ShapeStyle& s) {
  if (points.empty()) return;
  if (s.brush && points.size() >= 3) {
    int top = points[0].y, bottom = points[0].y;
    for (const Point& p : points) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    const uint32_t v = Value(t, *s.brush);
    std::vector<double> xs;
    for (int y = std::max(top, 0); y <= std::min(bottom, t.height - 1); ++y) {
      xs.clear();
      const double sy = y + 0.5;
      for (size_t i = 0; i < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        if ((a.y <= sy) != (b.y <= sy)) xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / double(b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());  // even-odd rule
      for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        Span(t, y, static_cast<int>(std::ceil(xs[i] - 0.5)), static_cast<int>(std::ceil(xs[i + 1] - 0.5)), v);
      }
    }
  }
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % points.size()];
    RasterLine(t, a.x, a.y, b.x, b.y, s.pen, s.pen_width);
  }
}

void RasterLine(const PixelTarget& t, int x1, int y1, int x2, int y2, Rgb pen, int pen_width) {
  const uint32_t v = Value(t, pen);
  const int w = std::max(pen_width, 1);
  const int lo = -(w - 1) / 2, hi = w / 2 + 1;  // a square pen centred on the path
  int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {  // the end point itself is not drawn
    if (w == 1) {
      if (x >= 0 && y >= 0 && x < t.width && y < t.height) t.pixels[t.stride * y + x] = v;
    } else {
      for (int yy = y + lo; yy < y + hi; ++yy) Span(t, yy, x + lo, x + hi, v);
    }
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}
