// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/soft/soft_picture.h"

#include <algorithm>
#include <cmath>

#include "platform/raster.h"
#include "platform/text.h"

SoftPicture::SoftPicture(int width, int height)
    : w_(std::max(width, 0)), h_(std::max(height, 0)), px_(static_cast<size_t>(w_) * h_, 0), canvas_(*this) {}

Rgb SoftPicture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return colors::kBlack;
  return Rgb::FromPacked(px_[static_cast<size_t>(y) * w_ + x]);
}

void SoftPicture::SetPixel(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  px_[static_cast<size_t>(y) * w_ + x] = c.Packed();
}

int SoftCanvas::Width() const { return pic_.Width(); }
int SoftCanvas::Height() const { return pic_.Height(); }

PixelTarget SoftCanvas::Target() {
  return PixelTarget{pic_.pixels().data(), pic_.Width(), pic_.Height(), pic_.Width(), 0};
}

ShapeStyle SoftCanvas::Style() const {
  ShapeStyle s{pen_color, pen_width, std::nullopt};
  if (brush_style == BrushStyle::Solid) s.brush = brush_color;
  return s;
}

void SoftCanvas::FillRect(const Rect& r) { RasterFill(Target(), r.left, r.top, r.right, r.bottom, brush_color); }

void SoftCanvas::Rectangle(int x1, int y1, int x2, int y2) { RasterRectangle(Target(), x1, y1, x2, y2, Style()); }

void SoftCanvas::Ellipse(int x1, int y1, int x2, int y2) { RasterEllipse(Target(), x1, y1, x2, y2, Style()); }

void SoftCanvas::Polygon(const std::vector<Point>& points) { RasterPolygon(Target(), points, Style()); }

void SoftCanvas::Line(int x1, int y1, int x2, int y2) { RasterLine(Target(), x1, y1, x2, y2, pen_color, pen_width); }

int SoftCanvas::TextWidth(std::string_view cp932) {
  // A stand-in metric: double-byte characters are square, single bytes half as wide.
  const int px = FontPixelHeight(font.size);
  int width = 0;
  for (size_t i = 0; i < cp932.size(); ++i) {
    if (IsCp932Lead(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size()) {
      width += px;
      ++i;
    } else {
      width += std::max(px / 2, 1);
    }
  }
  return width;
}

int SoftCanvas::TextHeight(std::string_view) { return FontPixelHeight(font.size); }

void SoftCanvas::TextOut(int x, int y, std::string_view cp932) {
  const bool opaque = brush_style == BrushStyle::Solid;
  if (opaque) RasterFill(Target(), x, y, x + TextWidth(cp932), y + TextHeight(cp932), brush_color);
  texts.push_back(TextRecord{x, y, std::string(cp932), font, opaque});
}

namespace {

// Pixels of any picture; direct access when it is one of ours.
struct Source {
  explicit Source(const Picture& p) : pic(p), soft(dynamic_cast<const SoftPicture*>(&p)) {}
  uint32_t At(int x, int y) const {
    if (soft) return soft->pixels()[static_cast<size_t>(y) * soft->Width() + x];
    return pic.Pixel(x, y).Packed();
  }
  const Picture& pic;
  const SoftPicture* soft;
};

}  // namespace

void SoftCanvas::CopyRect(const Rect& dst, const Picture& src, const Rect& src_rect, CopyMode mode) {
  const int dw = dst.Width(), dh = dst.Height(), sw = src_rect.Width(), sh = src_rect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int W = pic_.Width(), H = pic_.Height();
  Source s(src);
  // Read the source first when it is this picture: the shake copies a picture onto itself.
  const bool self = s.soft == &pic_;
  thread_local std::vector<uint32_t> rows;
  if (self) rows.assign(pic_.pixels().begin(), pic_.pixels().end());
  const uint32_t* base = self ? rows.data() : s.soft ? s.soft->pixels().data() : nullptr;
  const int src_w = src.Width();
  // The source column of each destination column, -1 where either side is outside
  // its picture: worked out once per copy, and only when rows are not copied as runs.
  thread_local std::vector<int> cols;
  if (sw != dw || !base) {
    cols.resize(static_cast<size_t>(dw));
    for (int x = 0; x < dw; ++x) {
      const int sx = src_rect.left + static_cast<int>(static_cast<int64_t>(x) * sw / dw);
      const int dx = dst.left + x;
      cols[x] = (sx < 0 || sx >= src.Width() || dx < 0 || dx >= W) ? -1 : sx;
    }
  }
  uint32_t* out_px = pic_.pixels().data();
  for (int y = 0; y < dh; ++y) {
    const int sy = src_rect.top + static_cast<int>(static_cast<int64_t>(y) * sh / dh);
    const int dy = dst.top + y;
    if (sy < 0 || sy >= src.Height() || dy < 0 || dy >= H) continue;
    uint32_t* out = out_px + static_cast<size_t>(dy) * W;
    const uint32_t* in = base ? base + static_cast<size_t>(sy) * src_w : nullptr;
    if (in && sw == dw) {  // unscaled: the clipped span is one run
      const int lo = std::max({0, -src_rect.left, -dst.left});
      const int hi = std::min({dw, src_w - src_rect.left, W - dst.left});
      if (lo >= hi) continue;
      const uint32_t* from = in + (src_rect.left + lo);
      uint32_t* to = out + (dst.left + lo);
      if (mode == CopyMode::Copy) {
        std::copy(from, from + (hi - lo), to);
      } else {
        for (int x = 0; x < hi - lo; ++x) to[x] |= from[x];
      }
      continue;
    }
    for (int x = 0; x < dw; ++x) {
      const int sx = cols[x];
      if (sx < 0) continue;
      uint32_t v = in ? in[sx] : src.Pixel(sx, sy).Packed();
      uint32_t& d = out[dst.left + x];
      if (mode == CopyMode::Or) v |= d;
      d = v;
    }
  }
}

void SoftCanvas::StretchDrawTransparent(const Rect& dst, const Picture& src) {
  const int dw = dst.Width(), dh = dst.Height(), sw = src.Width(), sh = src.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  Source s(src);
  for (int y = 0; y < dh; ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y) * sh / dh);
    for (int x = 0; x < dw; ++x) {
      const uint32_t v = s.At(static_cast<int>(static_cast<int64_t>(x) * sw / dw), sy);
      if (v != 0) pic_.SetPixel(dst.left + x, dst.top + y, Rgb::FromPacked(v));
    }
  }
}
