// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace {

// One converter per direction and thread; iconv_open is far too slow to call per string.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole input; returns false (output unspecified) on any error.
  bool Convert(std::string_view in, std::string* out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out->clear();
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char buffer[256];
    while (src_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out->append(buffer, dst - buffer);
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToCp932() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}
Converter& FromCp932() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

// Length of the UTF-8 sequence starting with c (1 for stray bytes).
size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string J(std::string_view utf8) {
  std::string out;
  Converter& conv = ToCp932();
  if (conv.ok() && conv.Convert(utf8, &out)) return out;
  // Slow path: convert character by character so one unmappable character costs one '?'.
  out.clear();
  std::string piece;
  for (size_t i = 0; i < utf8.size();) {
    size_t n = std::min(Utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    if (conv.ok() && conv.Convert(utf8.substr(i, n), &piece)) {
      out += piece;
    } else {
      out += '?';
    }
    i += n;
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  static constexpr char kBad[] = "\xE3\x83\xBB";  // U+30FB
  static constexpr char kYen[] = "\xC2\xA5";      // U+00A5
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  Converter& conv = FromCp932();
  std::string piece;
  size_t i = 0;
  while (i < cp932.size()) {
    unsigned char c = static_cast<unsigned char>(cp932[i]);
    if (c == 0x5C) {
      out += kYen;
      ++i;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
    } else if (IsCp932Lead(c)) {
      if (i + 1 < cp932.size() && conv.ok() && conv.Convert(cp932.substr(i, 2), &piece)) {
        out += piece;
        i += 2;
      } else {
        out += kBad;
        ++i;
      }
    } else if (c >= 0xA1 && c <= 0xDF && conv.ok() && conv.Convert(cp932.substr(i, 1), &piece)) {
      out += piece;  // half-width katakana
      ++i;
    } else {
      out += kBad;
      ++i;
    }
  }
  return out;
}

std::string Num(long long value) { return std::to_string(value); }
