// SPDX-License-Identifier: GPL-3.0-or-later
// Mixing one block of the default length (2048 samples at 11025 Hz) with five
// effect channels playing, and the same under music at its own gain. The
// target is a median within 5 microseconds a block.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"

namespace {

std::vector<uint8_t> WaveFile(size_t frames, int seed) {
  std::vector<uint8_t> data(frames);
  for (size_t i = 0; i < frames; ++i) data[i] = static_cast<uint8_t>((i * (7 + seed) + seed * 31) & 0xFF);
  std::vector<uint8_t> f = {'R',  'I',  'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V',  'E',  'f', 'm',
                            't',  ' ',  16,  0,   0, 0, 1, 0, 1,   0,   0x11, 0x2B, 0,   0,
                            0x11, 0x2B, 0,   0,   1, 0, 8, 0, 'd', 'a', 't',  'a'};
  for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(frames >> (8 * i)));
  f.insert(f.end(), data.begin(), data.end());
  const size_t riff = f.size() - 8;
  for (int i = 0; i < 4; ++i) f[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
  return f;
}

void MixBlocks(benchmark::State& state, bool music) {
  FakeWaveOut device;
  int64_t now = 0;
  Mixer mixer(device, [&] { return now; });
  mixer.SetChannels(music ? 0x3F : 0x1F);
  mixer.SetActivated(true);
  if (music) {
    // A tune of 40 s at 40%, as the game plays it under the effects.
    MixerWave* tune = mixer.OpenWaveFromMemory(WaveFile(441000, 9), "tune");
    mixer.SetGain(5, 40);
    mixer.Play(5, tune, kLoopForever);
  }
  // Lengths that are not multiples of the block, so loops wrap inside blocks.
  const size_t lengths[5] = {3001, 5512, 11025, 777, 2049};
  for (int k = 0; k < 5; ++k) {
    MixerWave* w = mixer.OpenWaveFromMemory(WaveFile(lengths[k], k), "bench");
    mixer.Play(k, w, kLoopForever);
  }
  std::vector<uint8_t> block;
  for (auto _ : state) {
    mixer.MixNextBlock(block);
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * mixer.settings().block_len);
}

void BM_MixBlockFiveChannels(benchmark::State& state) { MixBlocks(state, false); }
void BM_MixBlockMusicAndFiveEffects(benchmark::State& state) { MixBlocks(state, true); }
BENCHMARK(BM_MixBlockFiveChannels)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_MixBlockMusicAndFiveEffects)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
