// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer's settings from "MIXER.INI": section "default", then the section
// named after the output device overriding it, then "general".
#pragma once

#include <optional>
#include <string>

#include "platform/ini_file.h"

struct MixerSettings {
  int remix = 1;          // 2: a late "start now" play waits behind queued audio; else remix at once
  int good_wave_pos = 0;  // 1: playing position from the device, else from the clock
  int wave_blocks = 3;    // blocks in flight, 2..6
  int samples_per_sec = 11025;
  int block_len = 2048;     // bytes per block, a multiple of 4 in 512..4096
  int wave_out_device = 0;  // the output by its number, the system's default being 0
  int debug = 0;
};

// Name used for the device section when the device cannot tell its own.
inline constexpr const char* kUnknownDevice = "Unknown Device";

// The output the settings pick, by its number (section "general"); it names the device section.
int ReadWaveOutDevice(const IniFile* ini);

// Reads the settings (defaults when `ini` is null). Throws EMixerError when the
// file lists the device as not compatible.
MixerSettings ReadMixerSettings(const IniFile* ini, const std::string& device_name = kUnknownDevice);

// Looks for MIXER.INI beside the executable, then in the user's configuration
// folder ($XDG_CONFIG_HOME or ~/.config, subfolder pomurie).
std::optional<IniFile> FindMixerIni(const std::string& exe_dir);
