// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer's settings file is outside input: any bytes must give settings
// within the mixer's ranges (or the one refusal it names), and a mixer built on
// them must open, play and drain a wave.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ini_file.h"
#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"
#include "presentation/mixer/mixer_settings.h"

namespace {

bool InRange(const MixerSettings& s) {
  const bool rate = s.samples_per_sec == 11025 || s.samples_per_sec == 22050 || s.samples_per_sec == 44100;
  return rate && s.wave_blocks >= 2 && s.wave_blocks <= 6 && s.block_len >= 512 && s.block_len <= 4096 &&
         s.block_len % 4 == 0;
}

// A short 8-bit mono wave in memory.
std::vector<uint8_t> TinyWave() {
  std::vector<uint8_t> w = {'R', 'I', 'F', 'F', 0, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm',  't',
                            ' ', 16,  0,   0,   0, 1, 0,   1,   0,   0x11, 0x2B, 0,   0,   0x11, 0x2B,
                            0,   0,   1,   0,   8, 0, 'd', 'a', 't', 'a',  0,    0,   0,   0};
  const uint32_t n = 700;
  for (uint32_t i = 0; i < n; ++i) w.push_back(static_cast<uint8_t>(i * 7));
  const uint32_t riff = static_cast<uint32_t>(w.size() - 8);
  for (int k = 0; k < 4; ++k) {
    w[4 + k] = static_cast<uint8_t>(riff >> (8 * k));
    w[40 + k] = static_cast<uint8_t>(n >> (8 * k));
  }
  return w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::Parse(text);
  // The output the file picks names its section; a machine with named outputs
  // or with one that cannot tell its name.
  static FakeWaveOut device;
  device.outputs =
      size > 0 && (data[0] & 1) ? std::vector<std::string>{"Default Out", "Fuzz Device"} : std::vector<std::string>{""};
  device.max_recorded = 0;
  const std::string name = device.DeviceName(ReadWaveOutDevice(&ini));
  try {
    if (!InRange(ReadMixerSettings(&ini, name.empty() ? kUnknownDevice : name))) std::abort();
  } catch (const EMixerError&) {
    return 0;  // listed as not compatible: the one refusal the file can cause
  }

  static int64_t now = 0;
  Mixer mixer(
      device, [] { return now; }, &ini);
  if (!InRange(mixer.settings())) std::abort();
  static const std::vector<uint8_t> wave_bytes = TinyWave();
  mixer.SetChannels(31);
  mixer.SetActivated(true);
  MixerWave* wave = mixer.OpenWaveFromMemory(wave_bytes, "tiny");
  mixer.Play(0, wave, 0, 0);
  mixer.Play(1, wave, 1, 4);
  now += 150;  // past the first block, into the refill
  device.AdvanceTo(now);
  mixer.FreeWave(wave);
  now += 400;
  device.AdvanceTo(now);
  mixer.SetActivated(false);
  return 0;
}
