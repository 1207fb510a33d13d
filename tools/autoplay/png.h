// SPDX-License-Identifier: GPL-3.0-or-later
// A PNG writer of our own: 8-bit palette pictures in stored (uncompressed)
// deflate blocks, which every viewer reads; no library needed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;                  // palette indices, row by row
  std::vector<std::array<uint8_t, 3>> palette;  // at most 256 RGB entries
};

std::vector<uint8_t> EncodePng(const IndexedImage& image);
bool WritePng(const std::string& path, const IndexedImage& image);

// The checksums PNG and zlib use, exposed for their tests.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);
