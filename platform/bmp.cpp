// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bmp.h"

#include <cstring>
#include <iterator>

#include "platform/file_guard.h"

namespace {

uint32_t U16(const uint8_t* p) { return uint32_t{p[0]} | (uint32_t{p[1]} << 8); }
uint32_t U32(const uint8_t* p) { return U16(p) | (U16(p + 2) << 16); }
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::optional<BmpImage> DecodeBmp(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const uint32_t pixel_offset = U32(data + 10);
  const uint32_t header_size = U32(data + 14);
  if (header_size < 12 || header_size > size - 14) return std::nullopt;

  int64_t width, height;
  uint32_t bits, compression = 0, colours_used = 0;
  if (header_size == 12) {  // OS/2 core header
    width = U16(data + 18);
    height = static_cast<int16_t>(U16(data + 20));
    bits = U16(data + 24);
  } else {
    if (header_size < 40) return std::nullopt;
    width = S32(data + 18);
    height = S32(data + 22);
    bits = U16(data + 28);
    compression = U32(data + 30);
    colours_used = U32(data + 46);
  }
  // Only uncompressed pictures (BI_BITFIELDS is accepted for 32-bit with the usual masks).
  if (compression != 0 && !(compression == 3 && bits == 32)) return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
  const bool top_down = height < 0;
  if (top_down) height = -height;
  if (width <= 0 || height <= 0 || width > kBmpMaxSide || height > kBmpMaxSide) return std::nullopt;

  // Palette for the indexed formats.
  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const uint32_t entry = header_size == 12 ? 3 : 4;
    uint32_t count = colours_used != 0 ? colours_used : (1u << bits);
    if (count > 256) return std::nullopt;
    const uint64_t start = 14 + uint64_t{header_size};
    if (start + uint64_t{count} * entry > size) return std::nullopt;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = data + start + uint64_t{i} * entry;
      palette.push_back((uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0]);
    }
  }

  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  if (pixel_offset > size || stride * static_cast<uint64_t>(height) > size - pixel_offset) return std::nullopt;

  BmpImage img;
  img.width = static_cast<int>(width);
  img.height = static_cast<int>(height);
  img.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int64_t row = 0; row < height; ++row) {
    const uint8_t* src = data + pixel_offset + stride * static_cast<uint64_t>(row);
    const int64_t y = top_down ? row : height - 1 - row;
    uint32_t* dst = img.pixels.data() + y * width;
    for (int64_t x = 0; x < width; ++x) {
      uint32_t v;
      if (bits == 24) {
        const uint8_t* p = src + x * 3;
        v = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      } else if (bits == 32) {
        const uint8_t* p = src + x * 4;
        v = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      } else {
        const int64_t bit = x * bits;
        const uint8_t byte = src[bit / 8];
        const uint32_t index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        v = index < palette.size() ? palette[index] : 0;
      }
      dst[x] = v;
    }
  }
  return img;
}

std::optional<BmpImage> ReadBmpFile(const std::string& path) {
  // One read of the whole file: pictures are loaded at every change of scene.
  std::vector<uint8_t> bytes;
  if (ReadPlainFile(path, kMaxPictureBytes, bytes) != 0) return std::nullopt;
  return DecodeBmp(bytes.data(), bytes.size());
}

std::vector<uint8_t> EncodeBmp24(const BmpImage& image) {
  const uint32_t stride = ((static_cast<uint32_t>(image.width) * 3 + 3) / 4) * 4;
  const uint32_t data_size = stride * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> out;
  out.reserve(54 + data_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + data_size);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(image.width));
  Put32(out, static_cast<uint32_t>(image.height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, data_size);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint32_t* row = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));
      out.push_back(static_cast<uint8_t>(row[x] >> 8));
      out.push_back(static_cast<uint8_t>(row[x] >> 16));
    }
    for (uint32_t pad = static_cast<uint32_t>(image.width) * 3; pad < stride; ++pad) out.push_back(0);
  }
  return out;
}
