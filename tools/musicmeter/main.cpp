// SPDX-License-Identifier: GPL-3.0-or-later
// musicmeter: prints the listening measurements of the game's tunes as a table,
// or with --trace FILE.wav the A-weighted loudness of a recording, a line per
// half second (to see the steps when the game changes place).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "assets.h"
#include "meter.h"
#include "presentation/mixer/mixer_error.h"
#include "presentation/mixer/wave_file.h"

namespace {

int Trace(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  std::vector<uint8_t> pcm;
  try {
    pcm = DecodeWave(bytes, WaveFormat{1, assetgen::kMusicRate, 16});
  } catch (const EMixerError& e) {
    std::fprintf(stderr, "musicmeter: %s: %s\n", path, e.what());
    return 2;
  }
  std::vector<double> x(pcm.size() / 2);
  for (size_t i = 0; i < x.size(); ++i) x[i] = static_cast<int16_t>(pcm[2 * i] | pcm[2 * i + 1] << 8) / 256.0;
  const musicmeter::Analysis a = musicmeter::Analyse(x, assetgen::kMusicRate, false);
  const size_t per = assetgen::kMusicRate / 2 / musicmeter::kHop;  // frames in half a second
  for (size_t k = 0; k + per <= a.frame_power.size(); k += per) {
    double p = 0;
    for (size_t j = k; j < k + per; ++j) p += a.frame_power[j] / static_cast<double>(per);
    std::printf("%7.1f %6.1f\n", static_cast<double>(k * musicmeter::kHop) / assetgen::kMusicRate, musicmeter::Db(p));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--trace") == 0) return Trace(argv[2]);
  if (argc != 1) {
    std::fputs("usage: musicmeter [--trace recording.wav]\n", stderr);
    return 2;
  }
  std::vector<std::vector<uint8_t>> effects;
  for (assetgen::NamedFile& f : assetgen::MakeSounds()) effects.push_back(std::move(f.bytes));
  const musicmeter::Report r = musicmeter::Measure(assetgen::TuneSpecs(), effects);
  std::fputs(musicmeter::FormatReport(r).c_str(), stdout);
  return 0;
}
