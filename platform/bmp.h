// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing Windows bitmap files. Reading accepts uncompressed 24- and
// 32-bit pictures and 1/4/8-bit palette pictures, top-down or bottom-up; every size
// in the header is checked against the bytes present.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct BmpImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, row-major from the top
};

// Largest side accepted; bigger headers are treated as damaged.
inline constexpr int kBmpMaxSide = 8192;

std::optional<BmpImage> DecodeBmp(const uint8_t* data, size_t size);
std::optional<BmpImage> ReadBmpFile(const std::string& path);
// 24-bit, bottom-up, rows padded to four bytes.
std::vector<uint8_t> EncodeBmp24(const BmpImage& image);
