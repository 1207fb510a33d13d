// SPDX-License-Identifier: GPL-3.0-or-later
// Reading RIFF WAVE images and converting their PCM samples to the mixer's format.
// A wave file is outside input: every size in it is checked against the bytes
// that are really there, and the converted size is bounded before allocating.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct WaveFormat {
  int channels = 1;  // 1 mono, 2 stereo
  uint32_t samples_per_sec = 11025;
  int bits_per_sample = 8;  // 8 unsigned centred on 128, or 16 signed little-endian
};

// Largest converted wave and largest file we agree to hold in memory; anything
// bigger ends in the out-of-memory message rather than in a huge allocation.
inline constexpr size_t kMaxWaveBytes = size_t{8} << 20;
inline constexpr size_t kMaxWaveFileBytes = size_t{64} << 20;

// Parses the RIFF image and returns its samples converted to `out`.
// The file's own format is stored in *in_format when given. Throws EMixerError.
std::vector<uint8_t> DecodeWave(std::span<const uint8_t> file, const WaveFormat& out, WaveFormat* in_format = nullptr);

// Converts raw PCM data of format `in` to format `out`: bits, then channels, then
// rate, each only when they differ. A trailing partial frame is ignored.
// Throws EMixerError.
std::vector<uint8_t> ConvertWave(const WaveFormat& in, std::span<const uint8_t> data, const WaveFormat& out);
