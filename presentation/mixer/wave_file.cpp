// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/mixer/wave_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "presentation/mixer/mixer_error.h"

namespace {

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct Chunk {
  uint64_t data;  // offset of the chunk's data in the file
  uint64_t size;  // declared size, not yet checked against the file
};

// Walks the chunks in [pos, end) looking for `id`. A chunk that would have to
// be skipped but runs past `end` ends the search, as a seek past the file would.
std::optional<Chunk> FindChunk(std::span<const uint8_t> f, uint64_t pos, uint64_t end, const char* id) {
  while (pos + 8 <= end) {
    const uint8_t* h = f.data() + pos;
    uint64_t size = U32(h + 4);
    if (std::memcmp(h, id, 4) == 0) return Chunk{pos + 8, size};
    pos += 8 + size + (size & 1);  // chunks are padded to even length
  }
  return std::nullopt;
}

[[noreturn]] void Fail(const char* message) { throw EMixerError(message); }

// Samples in a flat array: 0..255 for 8 bits, -32768..32767 for 16 bits.
using Samples = std::vector<int16_t>;

void CheckSize(uint64_t frames, int channels, int bits) {
  if (frames * static_cast<uint64_t>(channels) * static_cast<uint64_t>(bits / 8) > kMaxWaveBytes) {
    Fail(mixer_msg::kOutOfMemory);
  }
}

}  // namespace

std::vector<uint8_t> ConvertWave(const WaveFormat& in, std::span<const uint8_t> data, const WaveFormat& out) {
  if ((in.bits_per_sample != 8 && in.bits_per_sample != 16) ||
      (out.bits_per_sample != 8 && out.bits_per_sample != 16)) {
    Fail(mixer_msg::kFormatNotSupported);
  }
  if (in.channels < 1 || in.channels > 2 || out.channels < 1 || out.channels > 2 || in.samples_per_sec == 0 ||
      out.samples_per_sec == 0) {
    Fail(mixer_msg::kConvert);
  }
  const size_t in_bytes = static_cast<size_t>(in.bits_per_sample / 8);
  const uint64_t frames = data.size() / (in_bytes * static_cast<size_t>(in.channels));
  if (frames == 0) Fail(mixer_msg::kNoData);
  CheckSize(frames, in.channels, out.bits_per_sample);
  CheckSize(frames, out.channels, out.bits_per_sample);

  try {
    // Bits: 16 -> 8 keeps the high byte with its sign bit flipped; 8 -> 16 is s * 256 - 32768.
    Samples s(frames * static_cast<size_t>(in.channels));
    for (size_t i = 0; i < s.size(); ++i) {
      if (in.bits_per_sample == 8) {
        int v = data[i];
        s[i] = static_cast<int16_t>(out.bits_per_sample == 8 ? v : v * 256 - 32768);
      } else {
        int v = static_cast<int16_t>(U16(&data[2 * i]));
        s[i] = static_cast<int16_t>(out.bits_per_sample == 16 ? v : ((v >> 8) & 0xFF) ^ 0x80);
      }
    }

    // Channels: mono -> stereo duplicates, stereo -> mono averages the pair.
    int ch = in.channels;
    if (ch != out.channels) {
      Samples t(frames * static_cast<size_t>(out.channels));
      for (size_t f = 0; f < frames; ++f) {
        if (out.channels == 2) {
          t[2 * f] = t[2 * f + 1] = s[f];
        } else {
          t[f] = static_cast<int16_t>((s[2 * f] + s[2 * f + 1]) / 2);
        }
      }
      s.swap(t);
      ch = out.channels;
    }

    // Rate: up by the integer factor out/in, interpolating between neighbours and
    // repeating the last frame; down by in/out rounded to nearest, averaging groups.
    uint64_t n = frames;
    const uint64_t rin = in.samples_per_sec, rout = out.samples_per_sec;
    if (rout > rin && rout / rin > 1) {
      const uint64_t k = rout / rin;
      CheckSize(n * k, ch, out.bits_per_sample);
      Samples t(n * k * static_cast<size_t>(ch));
      for (uint64_t f = 0; f < n; ++f) {
        for (int c = 0; c < ch; ++c) {
          const int a = s[f * ch + c];
          const int b = f + 1 < n ? s[(f + 1) * ch + c] : a;
          for (uint64_t j = 0; j < k; ++j) {
            t[(f * k + j) * ch + c] = static_cast<int16_t>(a + static_cast<int64_t>(b - a) * static_cast<int64_t>(j) /
                                                                   static_cast<int64_t>(k));
          }
        }
      }
      s.swap(t);
      n *= k;
    } else if (rin > rout && (rin + rout / 2) / rout > 1) {
      const uint64_t k = (rin + rout / 2) / rout;
      const uint64_t groups = (n + k - 1) / k;  // a short last group is averaged over what it has
      Samples t(groups * static_cast<size_t>(ch));
      for (uint64_t g = 0; g < groups; ++g) {
        const uint64_t first = g * k, count = std::min(k, n - first);
        for (int c = 0; c < ch; ++c) {
          int64_t sum = 0;
          for (uint64_t j = 0; j < count; ++j) sum += s[(first + j) * ch + c];
          t[g * ch + c] = static_cast<int16_t>(sum / static_cast<int64_t>(count));
        }
      }
      s.swap(t);
      n = groups;
    }

    std::vector<uint8_t> result;
    if (out.bits_per_sample == 8) {
      result.resize(s.size());
      for (size_t i = 0; i < s.size(); ++i) result[i] = static_cast<uint8_t>(s[i]);
    } else {
      result.resize(s.size() * 2);
      for (size_t i = 0; i < s.size(); ++i) {
        const auto v = static_cast<uint16_t>(s[i]);
        result[2 * i] = static_cast<uint8_t>(v & 0xFF);
        result[2 * i + 1] = static_cast<uint8_t>(v >> 8);
      }
    }
    return result;
  } catch (const std::bad_alloc&) {
    Fail(mixer_msg::kOutOfMemory);
  }
}

std::vector<uint8_t> DecodeWave(std::span<const uint8_t> f, const WaveFormat& out, WaveFormat* in_format) {
  if (f.size() < 12 || std::memcmp(f.data(), "RIFF", 4) != 0 || std::memcmp(f.data() + 8, "WAVE", 4) != 0) {
    Fail(mixer_msg::kNotWave);
  }
  // A RIFF size beyond the file is common in the wild; the chunks are searched
  // within the bytes that are there.
  const uint64_t end = std::min<uint64_t>(8 + uint64_t{U32(f.data() + 4)}, f.size());

  auto fmt = FindChunk(f, 12, end, "fmt ");
  if (!fmt) Fail(mixer_msg::kCorrupted);
  if (fmt->size < 16 || fmt->data + 16 > f.size()) Fail(mixer_msg::kReadFormat);
  const uint8_t* p = f.data() + fmt->data;
  if (U16(p) != 1) Fail(mixer_msg::kNotPcm);
  WaveFormat in;
  in.channels = U16(p + 2);
  in.samples_per_sec = U32(p + 4);
  in.bits_per_sample = U16(p + 14);
  if (in_format) *in_format = in;

  // Ascend out of the format chunk; one that claims more bytes than the file has is damaged.
  const uint64_t after_fmt = fmt->data + fmt->size + (fmt->size & 1);
  if (fmt->data + fmt->size > f.size()) Fail(mixer_msg::kCorrupted);

  auto data = FindChunk(f, after_fmt, end, "data");
  if (!data) Fail(mixer_msg::kNoDataChunk);
  if (data->size == 0) Fail(mixer_msg::kNoData);
  if (data->data + data->size > f.size()) Fail(mixer_msg::kReadData);

  return ConvertWave(in, f.subspan(data->data, data->size), out);
}
