// SPDX-License-Identifier: GPL-3.0-or-later
// The web build's table-driven CP932 conversions (text_web.cpp, built here under
// other names) against the desktop's iconv ones, on every double-byte code and on
// random bytes, valid and broken: the page must show and save exactly the same text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/text.h"

std::string WebJ(std::string_view utf8);
std::string WebCp932ToUtf8(std::string_view cp932);

TEST(WebCp932, TablesConvertAsIconvDoes) {
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0; trail <= 0xFF; ++trail) {
      const std::string s{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(WebCp932ToUtf8(s), Cp932ToUtf8(s)) << std::hex << lead << ' ' << trail;
      const std::string utf8 = Cp932ToUtf8(s);
      ASSERT_EQ(WebJ(utf8), J(utf8)) << utf8;
    }
  }
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) {
    std::string bytes;
    for (int n = static_cast<int>(rng() % 7); n > 0; --n) bytes += static_cast<char>(rng() % 256);
    ASSERT_EQ(WebCp932ToUtf8(bytes), Cp932ToUtf8(bytes));
    ASSERT_EQ(WebJ(bytes), J(bytes));  // bytes that are no UTF-8 become '?' alike
  }
}
