// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures come from files anyone can replace: decoding must never over-read.
#include <cstddef>
#include <cstdint>

#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto img = DecodeBmp(data, size);
  if (img && img->pixels.size() != static_cast<size_t>(img->width) * static_cast<size_t>(img->height)) __builtin_trap();
  return 0;
}
