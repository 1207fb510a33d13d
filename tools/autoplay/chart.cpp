// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/autoplay/chart.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kWidth = 720;
constexpr int kBand = 120;
constexpr int kLeft = 70, kRight = 12, kTop = 10, kGap = 14;
constexpr int kHeight = kTop + 3 * (kBand + kGap) + 16;

enum Colour : uint8_t { kBack, kFrame, kGrid, kText, kMoney, kFame, kLevel };

// A 3 x 5 pixel font for the few characters the chart writes.
struct Glyph {
  char c;
  uint8_t rows[5];  // three bits a row, left bit first
};
constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'-', {0, 0, 7, 0, 0}}, {'A', {2, 5, 7, 5, 5}},
    {'D', {6, 5, 5, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'F', {7, 4, 6, 4, 4}}, {'L', {4, 4, 4, 4, 7}},
    {'M', {5, 7, 7, 5, 5}}, {'N', {6, 5, 5, 5, 5}}, {'O', {7, 5, 5, 5, 7}}, {'V', {5, 5, 5, 5, 2}},
    {'Y', {5, 5, 2, 2, 2}}, {'S', {7, 4, 7, 1, 7}}, {' ', {0, 0, 0, 0, 0}},
};

struct Canvas {
  IndexedImage img;
  void Set(int x, int y, uint8_t c) {
    if (x >= 0 && y >= 0 && x < img.width && y < img.height) img.pixels[static_cast<size_t>(y) * img.width + x] = c;
  }
  void Rect(int x0, int y0, int x1, int y1, uint8_t c) {
    for (int x = x0; x <= x1; ++x) Set(x, y0, c), Set(x, y1, c);
    for (int y = y0; y <= y1; ++y) Set(x0, y, c), Set(x1, y, c);
  }
  void Line(int x0, int y0, int x1, int y1, uint8_t c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int err = dx + dy;;) {
      Set(x0, y0, c), Set(x0, y0 + 1, c);  // two pixels thick
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
  // Text at twice the font's size; returns the x after it.
  int Text(int x, int y, const std::string& s, uint8_t c) {
    for (char ch : s) {
      for (const Glyph& g : kGlyphs) {
        if (g.c != ch) continue;
        for (int r = 0; r < 5; ++r)
          for (int b = 0; b < 3; ++b)
            if (g.rows[r] & (4 >> b))
              for (int k = 0; k < 4; ++k) Set(x + 2 * b + k % 2, y + 2 * r + k / 2, c);
      }
      x += 8;
    }
    return x;
  }
};

void Band(Canvas& cv, int top, const char* name, uint8_t colour, const std::vector<DayRow>& rows,
          const std::function<long long(const DayRow&)>& value) {
  const int bottom = top + kBand;
  const int x1 = kWidth - kRight;
  cv.Rect(kLeft, top, x1, bottom, kFrame);
  for (int q = 1; q < 4; ++q)
    for (int x = kLeft + 1; x < x1; x += 4) cv.Set(x, top + q * kBand / 4, kGrid);
  long long lo = 0, hi = 1;
  for (const DayRow& r : rows) lo = std::min(lo, value(r)), hi = std::max(hi, value(r));
  cv.Text(4, top + 2, name, colour);
  cv.Text(4, top + 18, std::to_string(hi), kText);
  cv.Text(4, bottom - 10, std::to_string(lo), kText);
  if (rows.empty()) return;
  const long long first = rows.front().day, span = std::max<long long>(1, rows.back().day - first);
  auto px = [&](const DayRow& r) { return kLeft + 1 + static_cast<int>((r.day - first) * (x1 - kLeft - 2) / span); };
  auto py = [&](const DayRow& r) { return bottom - 2 - static_cast<int>((value(r) - lo) * (kBand - 4) / (hi - lo)); };
  for (size_t i = 1; i < rows.size(); ++i) cv.Line(px(rows[i - 1]), py(rows[i - 1]), px(rows[i]), py(rows[i]), colour);
  if (rows.size() == 1) cv.Line(px(rows[0]), py(rows[0]), px(rows[0]) + 1, py(rows[0]), colour);
}

}  // namespace

IndexedImage DrawChart(const std::vector<DayRow>& rows) {
  Canvas cv;
  cv.img.width = kWidth;
  cv.img.height = kHeight;
  cv.img.pixels.assign(static_cast<size_t>(kWidth) * kHeight, kBack);
  cv.img.palette = {{250, 248, 240}, {90, 80, 70},  {200, 195, 185}, {40, 35, 30},
                    {214, 150, 20},  {200, 50, 90}, {40, 110, 200}};
  Band(cv, kTop, "MONEY", kMoney, rows, [](const DayRow& r) { return static_cast<long long>(r.money); });
  Band(cv, kTop + kBand + kGap, "FAME", kFame, rows, [](const DayRow& r) { return static_cast<long long>(r.fame); });
  Band(cv, kTop + 2 * (kBand + kGap), "LEVEL", kLevel, rows,
       [](const DayRow& r) { return static_cast<long long>(r.level); });
  const int axis = kTop + 3 * (kBand + kGap) - kGap + 4;
  if (!rows.empty()) {
    cv.Text(kLeft, axis, "DAY " + std::to_string(rows.front().day), kText);
    const std::string last = "DAY " + std::to_string(rows.back().day);
    cv.Text(kWidth - kRight - 8 * static_cast<int>(last.size()), axis, last, kText);
  }
  return cv.img;
}

bool WriteChart(const std::string& path, const std::vector<DayRow>& rows) { return WritePng(path, DrawChart(rows)); }
