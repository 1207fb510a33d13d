#include "platform/headless/soft_picture.h"

#include <algorithm>
#include <cmath>

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

void SoftCanvas::Plot(int x, int y, Rgb c) { pic_.SetPixel(x, y, c); }

void SoftCanvas::FillSpan(int y, int x1, int x2, Rgb c) {
  if (y < 0 || y >= pic_.Height()) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, pic_.Width());
  for (int x = x1; x < x2; ++x) Plot(x, y, c);
}

void SoftCanvas::FillRect(const Rect& r) {
  ++shapes;
  for (int y = r.top; y < r.bottom; ++y) FillSpan(y, r.left, r.right, brush_color);
}

void SoftCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  ++shapes;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (brush_style == BrushStyle::Solid) {
    for (int y = y1; y < y2; ++y) FillSpan(y, x1, x2, brush_color);
  }
  const int w = std::max(pen_width, 1);
  for (int i = 0; i < w; ++i) {
    FillSpan(y1 + i, x1, x2, pen_color);
    FillSpan(y2 - 1 - i, x1, x2, pen_color);
    for (int y = y1; y < y2; ++y) {
      Plot(x1 + i, y, pen_color);
      Plot(x2 - 1 - i, y, pen_color);
    }
  }
}

void SoftCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  ++shapes;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  const double cx = (x1 + x2 - 1) / 2.0, cy = (y1 + y2 - 1) / 2.0;
  const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  if (rx <= 0 || ry <= 0) return;
  const double pen = std::max(pen_width, 1);
  for (int y = y1; y < y2; ++y) {
    const double dy = (y - cy) / ry;
    if (dy * dy > 1) continue;
    const double half = rx * std::sqrt(1 - dy * dy);
    const int a = static_cast<int>(std::lround(cx - half + 0.5)), b = static_cast<int>(std::lround(cx + half - 0.5));
    if (brush_style == BrushStyle::Solid) FillSpan(y, a, b + 1, brush_color);
    // Outline: the pixels within the pen width of the edge of this row, plus the caps.
    const double inner_ry = ry - pen, inner_rx = rx - pen;
    double inner_half = -1;
    if (inner_rx > 0 && inner_ry > 0) {
      const double idy = (y - cy) / inner_ry;
      if (idy * idy <= 1) inner_half = inner_rx * std::sqrt(1 - idy * idy);
    }
    if (inner_half < 0) {
      FillSpan(y, a, b + 1, pen_color);
    } else {
      const int ia = static_cast<int>(std::lround(cx - inner_half + 0.5));
      const int ib = static_cast<int>(std::lround(cx + inner_half - 0.5));
      FillSpan(y, a, ia, pen_color);
      FillSpan(y, ib + 1, b + 1, pen_color);
    }
  }
}

void SoftCanvas::Polygon(const std::vector<Point>& points) {
  ++shapes;
  if (points.size() < 2) return;
  if (brush_style == BrushStyle::Solid && points.size() >= 3) {
    int top = points[0].y, bottom = points[0].y;
    for (const Point& p : points) {
      top = std::min(top, p.y);
      bottom = std::max(bottom, p.y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, pic_.Height() - 1);
    std::vector<double> xs;
    for (int y = top; y <= bottom; ++y) {
      xs.clear();
      const double sy = y + 0.5;
      for (size_t i = 0; i < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        if ((a.y <= sy) != (b.y <= sy)) xs.push_back(a.x + (sy - a.y) * (b.x - a.x) / double(b.y - a.y));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        FillSpan(y, static_cast<int>(std::lround(xs[i])), static_cast<int>(std::lround(xs[i + 1])), brush_color);
      }
    }
  }
  const int saved = shapes;
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& a = points[i];
    const Point& b = points[(i + 1) % points.size()];
    Line(a.x, a.y, b.x, b.y);
  }
  shapes = saved;
}

void SoftCanvas::Line(int x1, int y1, int x2, int y2) {
  ++shapes;
  const int w = std::max(pen_width, 1);
  const int lo = -(w - 1) / 2, hi = w / 2;
  auto stamp = [&](int x, int y) {
    for (int dy = lo; dy <= hi; ++dy)
      for (int dx = lo; dx <= hi; ++dx) Plot(x + dx, y + dy, pen_color);
  };
  int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (!(x == x2 && y == y2)) {  // the end point itself is not drawn
    stamp(x, y);
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
  if (opaque) {
    const int w = TextWidth(cp932), h = TextHeight(cp932);
    for (int yy = y; yy < y + h; ++yy) FillSpan(yy, x, x + w, brush_color);
  }
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
  ++shapes;
  const int dw = dst.Width(), dh = dst.Height(), sw = src_rect.Width(), sh = src_rect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  // Read the source first: the shake copies a picture onto itself.
  Source s(src);
  std::vector<uint32_t> block(static_cast<size_t>(dw) * dh);
  std::vector<bool> valid(block.size());
  for (int y = 0; y < dh; ++y) {
    const int sy = src_rect.top + static_cast<int>(static_cast<int64_t>(y) * sh / dh);
    for (int x = 0; x < dw; ++x) {
      const int sx = src_rect.left + static_cast<int>(static_cast<int64_t>(x) * sw / dw);
      if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) continue;
      block[static_cast<size_t>(y) * dw + x] = s.At(sx, sy);
      valid[static_cast<size_t>(y) * dw + x] = true;
    }
  }
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      const size_t i = static_cast<size_t>(y) * dw + x;
      if (!valid[i]) continue;
      uint32_t v = block[i];
      if (mode == CopyMode::Or) v |= pic_.Pixel(dst.left + x, dst.top + y).Packed();
      pic_.SetPixel(dst.left + x, dst.top + y, Rgb::FromPacked(v));
    }
  }
}

void SoftCanvas::StretchDrawTransparent(const Rect& dst, const Picture& src) {
  ++shapes;
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
