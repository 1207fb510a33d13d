// SPDX-License-Identifier: GPL-3.0-or-later
#include "image.h"

#include <algorithm>
#include <cstdlib>

#include "platform/bmp.h"

namespace assetgen {

Rgb Mix(Rgb a, Rgb b, int t) {
  t = std::clamp(t, 0, 256);
  return Rgb((a.r * (256 - t) + b.r * t) >> 8, (a.g * (256 - t) + b.g * t) >> 8, (a.b * (256 - t) + b.b * t) >> 8);
}

Rgb Shade(Rgb c, int num) {
  auto f = [num](int v) { return std::clamp((v * num) >> 8, 0, 255); };
  return Rgb(f(c.r), f(c.g), f(c.b));
}

int Bayer4(int x, int y) {
  static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return m[y & 3][x & 3];
}

Canvas::Canvas(int w, int h, Rgb fill) : w_(w), h_(h), px_(static_cast<size_t>(w) * h * 3) { Fill(fill); }

Rgb Canvas::Get(int x, int y) const {
  if (!Inside(x, y)) return Rgb();
  const uint8_t* p = &px_[(static_cast<size_t>(y) * w_ + x) * 3];
  return Rgb(p[0], p[1], p[2]);
}

void Canvas::Set(int x, int y, Rgb c) {
  if (!Inside(x, y)) return;
  uint8_t* p = &px_[(static_cast<size_t>(y) * w_ + x) * 3];
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

void Canvas::Blend(int x, int y, Rgb c, int a) {
  if (!Inside(x, y)) return;
  Set(x, y, Mix(Get(x, y), c, a));
}

void Canvas::Fill(Rgb c) {
  for (size_t i = 0; i < px_.size(); i += 3) {
    px_[i] = c.r;
    px_[i + 1] = c.g;
    px_[i + 2] = c.b;
  }
}

void Canvas::Rect(int x, int y, int w, int h, Rgb c) {
  for (int yy = std::max(y, 0); yy < std::min(y + h, h_); ++yy)
    for (int xx = std::max(x, 0); xx < std::min(x + w, w_); ++xx) Set(xx, yy, c);
}

void Canvas::RectOutline(int x, int y, int w, int h, Rgb c) {
  Rect(x, y, w, 1, c);
  Rect(x, y + h - 1, w, 1, c);
  Rect(x, y, 1, h, c);
  Rect(x + w - 1, y, 1, h, c);
}

// Half-width of an ellipse row, integer only. The small bias rounds the
// outline the way hand-drawn pixel circles look.
static int EllipseSpan(int rx, int ry, int dy) {
  if (ry <= 0) return rx;
  const long long a = rx, b = ry;
  const long long lim = a * a * b * b + a * b;  // bias keeps tips from being single pixels
  long long x = a;
  while (x > 0 && x * x * b * b + static_cast<long long>(dy) * dy * a * a > lim) --x;
  if (x == 0 && static_cast<long long>(dy) * dy * a * a > lim) return -1;
  return static_cast<int>(x);
}

void Canvas::Ellipse(int cx, int cy, int rx, int ry, Rgb c) {
  if (rx < 0 || ry < 0) return;
  for (int dy = -ry; dy <= ry; ++dy) {
    int s = EllipseSpan(rx, ry, dy);
    if (s < 0) continue;
    for (int dx = -s; dx <= s; ++dx) Set(cx + dx, cy + dy, c);
  }
}

void Canvas::EllipseOutline(int cx, int cy, int rx, int ry, Rgb c) {
  for (int dy = -ry; dy <= ry; ++dy) {
    int s = EllipseSpan(rx, ry, dy);
    if (s < 0) continue;
    int prev = (dy == -ry) ? -1 : EllipseSpan(rx, ry, dy - 1);
    int next = (dy == ry) ? -1 : EllipseSpan(rx, ry, dy + 1);
    int inner = std::min(prev, next);
    for (int dx = std::max(inner + 1, 0); dx <= s; ++dx) {
      Set(cx + dx, cy + dy, c);
      Set(cx - dx, cy + dy, c);
    }
    Set(cx + s, cy + dy, c);
    Set(cx - s, cy + dy, c);
  }
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c, int thick) {
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  const int r = (thick - 1) / 2;
  for (;;) {
    if (thick <= 1) Set(x0, y0, c);
    else Rect(x0 - r, y0 - r, thick, thick, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::Polygon(const std::vector<int>& xy, Rgb c) {
  const size_t n = xy.size() / 2;
  if (n < 3) return;
  int ymin = xy[1], ymax = xy[1];
  for (size_t i = 0; i < n; ++i) {
    ymin = std::min(ymin, xy[2 * i + 1]);
    ymax = std::max(ymax, xy[2 * i + 1]);
  }
  std::vector<int> xs;
  for (int y = std::max(ymin, 0); y <= std::min(ymax, h_ - 1); ++y) {
    xs.clear();
    // Sample at the pixel centre: twice the coordinates keeps it integral.
    const long long sy = 2LL * y + 1;
    for (size_t i = 0; i < n; ++i) {
      long long ax = xy[2 * i], ay = xy[2 * i + 1];
      long long bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
      ay *= 2;
      by *= 2;
      if ((ay <= sy && by > sy) || (by <= sy && ay > sy)) {
        // x at sy, doubled: ax*2 + (sy-ay)*(bx-ax)*2/(by-ay)
        long long num = (sy - ay) * (bx - ax) * 2;
        long long den = by - ay;
        long long x2 = ax * 2 + num / den;
        xs.push_back(static_cast<int>(x2));
      }
    }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) {
      // pixel x is covered when its centre (2x+1) lies in [xs[k], xs[k+1])
      int xa = xs[k] >= 0 ? xs[k] / 2 : -((-xs[k] + 1) / 2);
      for (int x = std::max(xa, 0); 2 * x + 1 < xs[k + 1] && x < w_; ++x)
        if (2 * x + 1 >= xs[k]) Set(x, y, c);
    }
  }
}

void Canvas::VGradient(int x, int y0, int w, int y1, Rgb top, Rgb bottom, int steps) {
  if (y1 <= y0) return;
  steps = std::max(steps, 1);
  for (int y = y0; y <= y1; ++y) {
    // Position in 0..steps*16, then split into band and dither fraction.
    int pos = (y - y0) * steps * 16 / std::max(y1 - y0, 1);
    int band = pos / 16, frac = pos % 16;
    for (int xx = x; xx < x + w; ++xx) {
      int b = band + (frac > Bayer4(xx, y) ? 1 : 0);
      b = std::min(b, steps);
      Set(xx, y, Mix(top, bottom, b * 256 / steps));
    }
  }
}

void Canvas::Dither(int x, int y, int w, int h, Rgb c, int density) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx)
      if (Bayer4(xx, yy) < density) Set(xx, yy, c);
}

void Canvas::Darken(int x, int y, int w, int h, int num) {
  for (int yy = std::max(y, 0); yy < std::min(y + h, h_); ++yy)
    for (int xx = std::max(x, 0); xx < std::min(x + w, w_); ++xx) Set(xx, yy, Shade(Get(xx, yy), num));
}

void Canvas::Tint(int x, int y, int w, int h, Rgb c, int a) {
  for (int yy = std::max(y, 0); yy < std::min(y + h, h_); ++yy)
    for (int xx = std::max(x, 0); xx < std::min(x + w, w_); ++xx) Blend(xx, yy, c, a);
}

void Canvas::Blit(const Canvas& src, int dx, int dy, bool useKey, Rgb key) {
  for (int y = 0; y < src.h_; ++y)
    for (int x = 0; x < src.w_; ++x) {
      Rgb c = src.Get(x, y);
      if (useKey && c == key) continue;
      Set(dx + x, dy + y, c);
    }
}

void Canvas::BlitMirrored(const Canvas& src, int dx, int dy, Rgb key) {
  for (int y = 0; y < src.h_; ++y)
    for (int x = 0; x < src.w_; ++x) {
      Rgb c = src.Get(src.w_ - 1 - x, y);
      if (c == key) continue;
      Set(dx + x, dy + y, c);
    }
}

Canvas Canvas::Scaled(int f) const { return Resized(w_ * f, h_ * f); }

Canvas Canvas::Resized(int w, int h) const {
  Canvas out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.Set(x, y, Get(x * w_ / w, y * h_ / h));
  return out;
}

void Canvas::Outline(Rgb bg, Rgb ink) {
  std::vector<uint8_t> edge(static_cast<size_t>(w_) * h_, 0);
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      if (!(Get(x, y) == bg)) continue;
      bool near = false;
      static const int d[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
      for (auto& k : d) {
        int nx = x + k[0], ny = y + k[1];
        if (Inside(nx, ny) && !(Get(nx, ny) == bg) && !(Get(nx, ny) == ink)) near = true;
      }
      if (near) edge[static_cast<size_t>(y) * w_ + x] = 1;
    }
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (edge[static_cast<size_t>(y) * w_ + x]) Set(x, y, ink);
}

// ---- writers ---------------------------------------------------------------

static void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(x & 0xFF);
  v.push_back((x >> 8) & 0xFF);
}
static void Put32BE(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back((x >> 24) & 0xFF);
  v.push_back((x >> 16) & 0xFF);
  v.push_back((x >> 8) & 0xFF);
  v.push_back(x & 0xFF);
}

std::vector<uint8_t> EncodeBmp(const Canvas& c) {
  // The game's own writer, so what we write is what its reader was made for.
  BmpImage img{c.width(), c.height(), {}};
  img.pixels.reserve(static_cast<size_t>(img.width) * img.height);
  for (int y = 0; y < img.height; ++y) {
    for (int x = 0; x < img.width; ++x) {
      const Rgb p = c.Get(x, y);
      img.pixels.push_back((uint32_t{p.r} << 16) | (uint32_t{p.g} << 8) | p.b);
    }
  }
  return EncodeBmp24(img);
}

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc) {
  static uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t k = i;
      for (int j = 0; j < 8; ++j) k = (k & 1) ? 0xEDB88320u ^ (k >> 1) : k >> 1;
      table[i] = k;
    }
    ready = true;
  }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

static void PngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  Put32BE(out, static_cast<uint32_t>(body.size()));
  std::vector<uint8_t> tb(type, type + 4);
  tb.insert(tb.end(), body.begin(), body.end());
  out.insert(out.end(), tb.begin(), tb.end());
  Put32BE(out, Crc32(tb.data(), tb.size()));
}

std::vector<uint8_t> EncodePng(const Canvas& c, const Rgb* transparent) {
  const int w = c.width(), h = c.height();
  const int channels = transparent ? 4 : 3;
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(h) * (w * channels + 1));
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < w; ++x) {
      Rgb p = c.Get(x, y);
      raw.push_back(p.r);
      raw.push_back(p.g);
      raw.push_back(p.b);
      if (transparent) raw.push_back(p == *transparent ? 0 : 255);
    }
  }
  // zlib stream made of stored deflate blocks.
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  do {
    size_t len = std::min<size_t>(65535, raw.size() - pos);
    bool last = pos + len == raw.size();
    z.push_back(last ? 1 : 0);
    Put16(z, static_cast<uint32_t>(len));
    Put16(z, static_cast<uint32_t>(~len & 0xFFFF));
    z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + len);
    pos += len;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Put32BE(z, (b << 16) | a);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  Put32BE(ihdr, w);
  Put32BE(ihdr, h);
  ihdr.insert(ihdr.end(), {8, static_cast<uint8_t>(transparent ? 6 : 2), 0, 0, 0});  // 8-bit RGB or RGBA
  PngChunk(out, "IHDR", ihdr);
  PngChunk(out, "IDAT", z);
  PngChunk(out, "IEND", {});
  return out;
}

}  // namespace assetgen
