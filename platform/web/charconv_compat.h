// SPDX-License-Identifier: GPL-3.0-or-later
// Debian's emscripten ships a libc++ without the floating-point to_chars and
// from_chars; the save file's reals use them. These overloads give the same text
// (the C library runs in the "C" locale here) until the toolchain has its own.
#pragma once

#ifdef __EMSCRIPTEN__
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace std {

inline from_chars_result from_chars(const char* first, const char* last, double& value,
                                    chars_format = chars_format::general) {
  // from_chars takes no leading space, sign '+' or hexadecimal; strtod would.
  const string text(first, last);
  if (text.empty() || isspace(static_cast<unsigned char>(text[0])) || text[0] == '+' ||
      text.find_first_of("xX") != string::npos) {
    return {first, errc::invalid_argument};
  }
  char* end = nullptr;
  const double v = strtod(text.c_str(), &end);
  if (end == text.c_str()) return {first, errc::invalid_argument};
  value = v;
  return {first + (end - text.c_str()), errc()};
}

inline to_chars_result to_chars(char* first, char* last, double value, chars_format fmt, int precision) {
  char buf[512];
  const int n = snprintf(buf, sizeof buf,
                         fmt == chars_format::scientific ? "%.*e"
                         : fmt == chars_format::fixed    ? "%.*f"
                                                         : "%.*g",
                         precision, value);
  if (n < 0 || n > last - first) return {last, errc::value_too_large};
  memcpy(first, buf, static_cast<size_t>(n));
  return {first + n, errc()};
}

}  // namespace std
#endif
