// SPDX-License-Identifier: GPL-3.0-or-later
// The player's desktop settings, kept between runs in pomurie.ini of the
// configuration folder: the picture's scale, whether the sound is muted, and
// the music's switch and volume.
#pragma once

#include <string>

#include "presentation/music.h"

struct Game;

struct DesktopSettings {
  int scale = 1;  // 1..4
  bool muted = false;
  bool music = true;
  int music_volume = kDefaultMusicVolume;  // percent, 0..100
};

inline constexpr int kMinScale = 1;
inline constexpr int kMaxScale = 4;

// The file's text and back. Unknown keys are ignored; a missing, unreadable or
// out-of-range value keeps its default.
DesktopSettings ParseSettings(const std::string& text);
std::string FormatSettings(const DesktopSettings& s);

std::string SettingsPath(const Game& g);

// Start-up: reads the file and applies it (window scale, mute).
void ApplySavedSettings(Game& g);
// Writes the current scale, mute and music. A failure only loses the preference, so it
// is not worth interrupting play for.
void SaveSettings(Game& g);
