// SPDX-License-Identifier: GPL-3.0-or-later
// Pixel canvas, drawing primitives and file writers for the asset generator.
// Everything is integer or explicitly rounded float math so the output is
// identical on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  constexpr Rgb() = default;
  constexpr Rgb(int rr, int gg, int bb)
      : r(static_cast<uint8_t>(rr)), g(static_cast<uint8_t>(gg)), b(static_cast<uint8_t>(bb)) {}
  constexpr bool operator==(const Rgb&) const = default;
};

// Linear mix of two colours, t in 0..256.
Rgb Mix(Rgb a, Rgb b, int t);
// Scale brightness by num/256 (values above 256 brighten, clamped).
Rgb Shade(Rgb c, int num);

// Small deterministic generator (xorshift32); never seeded from the clock.
class Prng {
 public:
  explicit Prng(uint32_t seed) : s_(seed ? seed : 0x9E3779B9u) {}
  uint32_t Next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
  }
  // Uniform-ish integer in 0..n-1 (n > 0).
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }

 private:
  uint32_t s_;
};

// 4x4 ordered-dither threshold, 0..15.
int Bayer4(int x, int y);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int w, int h, Rgb fill = Rgb());

  int width() const { return w_; }
  int height() const { return h_; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  Rgb Get(int x, int y) const;
  void Set(int x, int y, Rgb c);
  // Alpha-blend c over the pixel, a in 0..256.
  void Blend(int x, int y, Rgb c, int a);

  void Fill(Rgb c);
  void Rect(int x, int y, int w, int h, Rgb c);
  void RectOutline(int x, int y, int w, int h, Rgb c);
  void Ellipse(int cx, int cy, int rx, int ry, Rgb c);
  void EllipseOutline(int cx, int cy, int rx, int ry, Rgb c);
  void Circle(int cx, int cy, int r, Rgb c) { Ellipse(cx, cy, r, r, c); }
  void Line(int x0, int y0, int x1, int y1, Rgb c, int thick = 1);
  // Filled polygon, even-odd rule, pixel centres.
  void Polygon(const std::vector<int>& xy, Rgb c);
  void Triangle(int x0, int y0, int x1, int y1, int x2, int y2, Rgb c) { Polygon({x0, y0, x1, y1, x2, y2}, c); }

  // Vertical gradient over rows y0..y1 with ordered dithering between steps.
  void VGradient(int x, int y0, int w, int y1, Rgb top, Rgb bottom, int steps = 6);
  // Ordered-dither fill of c over the rectangle at density 0..16.
  void Dither(int x, int y, int w, int h, Rgb c, int density);
  // Multiply every pixel of the rectangle by num/256.
  void Darken(int x, int y, int w, int h, int num);
  void Tint(int x, int y, int w, int h, Rgb c, int a);

  // Copy other at (dx, dy); pixels equal to key are skipped when useKey.
  void Blit(const Canvas& src, int dx, int dy, bool useKey = false, Rgb key = Rgb());
  void BlitMirrored(const Canvas& src, int dx, int dy, Rgb key);
  Canvas Scaled(int factor) const;
  // Nearest-neighbour to any size (pixel art keeps hard edges).
  Canvas Resized(int w, int h) const;
  // Adds a one-pixel outline of colour `ink` around every pixel that differs
  // from `bg` (used for sprites and cut-out figures).
  void Outline(Rgb bg, Rgb ink);

  const std::vector<uint8_t>& pixels() const { return px_; }

 private:
  int w_ = 0, h_ = 0;
  std::vector<uint8_t> px_;  // RGB, row-major, top-down
};

// 24-bit uncompressed BMP, bottom-up rows padded to 4 bytes.
std::vector<uint8_t> EncodeBmp(const Canvas& c);
// RGB PNG with stored (uncompressed) deflate blocks; with a key colour, RGBA
// with the pixels of that colour fully transparent.
std::vector<uint8_t> EncodePng(const Canvas& c, const Rgb* transparent = nullptr);
uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0);

}  // namespace assetgen
