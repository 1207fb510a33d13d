// SPDX-License-Identifier: GPL-3.0-or-later
// CP932 conversions of the web build. Its C library has no CP932, so the tables are
// generated from the build machine's iconv (cp932_table_gen): the same results as
// platform/text.cpp, character for character.
#include <algorithm>
#include <cstdint>
#include <string>

#include "cp932_table.inc"
#include "platform/text.h"

namespace {

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point of the UTF-8 sequence of `n` bytes at i, or -1 when it is not one
// whole, shortest, non-surrogate character (iconv refuses those too).
int32_t Utf8Char(std::string_view s, size_t i, size_t n, size_t expected) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
  if (n != expected) return -1;
  if (n == 1) return b(0) < 0x80 ? b(0) : -1;
  for (size_t k = 1; k < n; ++k)
    if ((b(k) & 0xC0) != 0x80) return -1;
  if (n == 2) {
    const int32_t c = ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    return c >= 0x80 ? c : -1;
  }
  if (n == 3) {
    const int32_t c = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    return c >= 0x800 && (c < 0xD800 || c > 0xDFFF) ? c : -1;
  }
  return -1;  // beyond the BMP: CP932 has none of it
}

size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string J(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const size_t expected = Utf8Length(static_cast<unsigned char>(utf8[i]));
    const size_t n = std::min(expected, utf8.size() - i);
    const int32_t c = Utf8Char(utf8, i, n, expected);
    i += n;
    if (c == 0) {
      out += '\0';
      continue;
    }
    const auto* end = std::end(kCp932Encode);
    const auto* it =
        std::lower_bound(std::begin(kCp932Encode), end, c, [](const Cp932Code& e, int32_t v) { return e.unicode < v; });
    if (c < 0 || it == end || it->unicode != c) {
      out += '?';
    } else if (it->bytes > 0xFF) {
      out += static_cast<char>(it->bytes >> 8);
      out += static_cast<char>(it->bytes & 0xFF);
    } else {
      out += static_cast<char>(it->bytes);
    }
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  constexpr uint32_t kBad = 0x30FB, kYen = 0xA5;
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  for (size_t i = 0; i < cp932.size();) {
    const unsigned char c = static_cast<unsigned char>(cp932[i]);
    uint32_t u = kBad;
    size_t n = 1;
    if (c == 0x5C) {
      u = kYen;
    } else if (c < 0x80) {
      u = c;
    } else if (IsCp932Lead(c)) {
      const unsigned char t = i + 1 < cp932.size() ? static_cast<unsigned char>(cp932[i + 1]) : 0;
      if (t >= 0x40 && t <= 0xFC && kCp932Double[c - 0x81][t - 0x40] != 0) {
        u = kCp932Double[c - 0x81][t - 0x40];
        n = 2;
      }
    } else if (c >= 0xA1 && c <= 0xDF && kCp932Single[c] != 0) {
      u = kCp932Single[c];
    }
    AppendUtf8(out, u);
    i += n;
  }
  return out;
}

std::string Num(long long value) { return std::to_string(value); }
