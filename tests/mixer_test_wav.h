// SPDX-License-Identifier: GPL-3.0-or-later
// Builds RIFF WAVE images for the mixer and sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testwav {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

// One chunk; `declared` overrides the size field (damaged files). Odd sizes get their pad byte.
inline Bytes Chunk(const std::string& id, const Bytes& body, int64_t declared = -1) {
  Bytes b(id.begin(), id.end());
  Put32(b, declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared));
  b.insert(b.end(), body.begin(), body.end());
  if (body.size() & 1) b.push_back(0);
  return b;
}

inline Bytes Fmt(int channels, uint32_t rate, int bits, int tag = 1) {
  Bytes f;
  Put16(f, static_cast<uint16_t>(tag));
  Put16(f, static_cast<uint16_t>(channels));
  Put32(f, rate);
  Put32(f, rate * static_cast<uint32_t>(channels * bits / 8));
  Put16(f, static_cast<uint16_t>(channels * bits / 8));
  Put16(f, static_cast<uint16_t>(bits));
  return Chunk("fmt ", f);
}

inline Bytes Riff(const std::vector<Bytes>& chunks, int64_t declared = -1) {
  Bytes body{'W', 'A', 'V', 'E'};
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes b{'R', 'I', 'F', 'F'};
  Put32(b, declared < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(declared));
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// A well-formed file.
inline Bytes Wav(int channels, uint32_t rate, int bits, const Bytes& data) {
  return Riff({Fmt(channels, rate, bits), Chunk("data", data)});
}

// 16-bit samples (interleaved when stereo) as little-endian bytes.
inline Bytes Pcm16(const std::vector<int16_t>& samples) {
  Bytes b;
  for (int16_t s : samples) Put16(b, static_cast<uint16_t>(s));
  return b;
}

}  // namespace testwav
