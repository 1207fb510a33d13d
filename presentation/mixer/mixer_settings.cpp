// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/mixer/mixer_settings.h"

#include <algorithm>
#include <cstdlib>

#include "presentation/mixer/mixer_error.h"

namespace {

int RateOf(int code) {
  switch (code) {
    case 22: return 22050;
    case 44: return 44100;
    default: return 11025;
  }
}

}  // namespace

int ReadWaveOutDevice(const IniFile* ini) { return ini ? ini->ReadInt("general", "WaveOutDevice", 0) : 0; }

MixerSettings ReadMixerSettings(const IniFile* ini, const std::string& device_name) {
  const IniFile empty = IniFile::Parse("");
  const IniFile& f = ini ? *ini : empty;
  MixerSettings s;

  const int remix = f.ReadInt("default", "Remix", 1);
  const int good = f.ReadInt("default", "GoodWavePos", 0);
  const int blocks = f.ReadInt("default", "WaveBlocks", 3);
  const int len = f.ReadInt("default", "WaveBlockLen", 0) / 4 * 4;
  const int rate = f.ReadInt("default", "SamplesPerSec", 11);
  s.wave_out_device = ReadWaveOutDevice(ini);
  s.debug = f.ReadInt("general", "debug", 0);

  if (f.ReadInt("not compatible", device_name, 0) != 0) {
    throw EMixerError(device_name + mixer_msg::kNotCompatible);
  }

  s.remix = f.ReadInt(device_name, "Remix", remix);
  s.good_wave_pos = f.ReadInt(device_name, "GoodWavePos", good);
  s.wave_blocks = std::clamp(f.ReadInt(device_name, "WaveBlocks", blocks), 2, 6);
  s.samples_per_sec = RateOf(f.ReadInt(device_name, "SamplesPerSec", rate));
  int block_len = f.ReadInt(device_name, "WaveBlockLen", len) / 4 * 4;
  if (block_len == 0) block_len = s.samples_per_sec / 11025 * 2048;
  s.block_len = std::clamp(block_len, 512, 4096);
  return s;
}

std::optional<IniFile> FindMixerIni(const std::string& exe_dir) {
  if (auto ini = IniFile::Load(exe_dir + "MIXER.INI")) return ini;
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    config = std::string(home) + "/.config";
  } else {
    return std::nullopt;
  }
  return IniFile::Load(config + "/pomurie/MIXER.INI");
}
