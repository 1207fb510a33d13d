// SPDX-License-Identifier: GPL-3.0-or-later
// Wave files are outside input: decoding must end in a result or an EMixerError,
// never in a crash, an over-read or a huge allocation. A decoded wave is also
// played through the mixer, so odd lengths reach the block mixing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FakeWaveOut device;
  static int64_t now = 0;
  static Mixer* mixer = [] {
    auto* m = new Mixer(device, [] { return now; });
    m->SetChannels(255);
    m->SetActivated(true);
    return m;
  }();
  device.max_recorded = 0;

  const std::span<const uint8_t> bytes(data, size);
  // Other output formats exercise the other conversion paths.
  for (const WaveFormat& out : {WaveFormat{1, 22050, 8}, WaveFormat{2, 44100, 16}}) {
    try {
      DecodeWave(bytes, out);
    } catch (const EMixerError&) {
    }
  }
  try {
    MixerWave* wave = mixer->OpenWaveFromMemory(bytes, "fuzz");
    const int flags = size > 0 ? data[0] & 7 : 0;
    const uint16_t loops = size > 1 && (data[1] & 1) ? kLoopForever : 1;
    mixer->Play(static_cast<int>(size % 8), wave, loops, flags);
    now += 200;
    device.AdvanceTo(now);
    mixer->FreeWave(wave);
    now += 1000;
    device.AdvanceTo(now);
  } catch (const EMixerError&) {
  }
  return 0;
}
