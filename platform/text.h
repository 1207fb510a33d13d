// SPDX-License-Identifier: GPL-3.0-or-later
// Game text is CP932 (Shift-JIS) bytes in std::string. Source literals are UTF-8
// and pass through J() once; only the platform turns CP932 back into Unicode.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to CP932. Characters CP932 cannot hold become '?'.
std::string J(std::string_view utf8);

// CP932 to UTF-8 for drawing. Never fails: a lone lead byte, a cut double-byte
// character or an undefined code becomes U+30FB '・' and decoding goes on.
// The byte 0x5C shows as the yen sign.
std::string Cp932ToUtf8(std::string_view cp932);

// True for a CP932 lead byte of a double-byte character.
constexpr bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Decimal text of an integer, as the game concatenates numbers into messages.
std::string Num(long long value);
