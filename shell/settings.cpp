// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings.h"

#include <algorithm>

#include "core/file_io.h"
#include "core/game.h"
#include "platform/ini_file.h"
#include "presentation/sound.h"

DesktopSettings ParseSettings(const std::string& text) {
  const IniFile ini = IniFile::Parse(text);
  DesktopSettings s;
  const int scale = ini.ReadInt("window", "scale", s.scale);
  if (scale >= kMinScale && scale <= kMaxScale) s.scale = scale;
  s.muted = ini.ReadInt("sound", "mute", 0) == 1;
  // Only a plain 0 turns the music off; anything unreadable leaves it on, as a new player finds it.
  s.music = ini.ReadInt("sound", "music", 1) != 0;
  const int volume = ini.ReadInt("sound", "music_volume", s.music_volume);
  if (volume >= 0 && volume <= 100) s.music_volume = volume;
  return s;
}

std::string FormatSettings(const DesktopSettings& s) {
  return "[window]\nscale=" + std::to_string(s.scale) + "\n\n[sound]\nmute=" + (s.muted ? "1" : "0") +
         "\nmusic=" + (s.music ? "1" : "0") + "\nmusic_volume=" + std::to_string(s.music_volume) + "\n";
}

std::string SettingsPath(const Game& g) { return g.plat.ConfigDir() + "pomurie.ini"; }

void ApplySavedSettings(Game& g) {
  std::string text;
  if (ReadWholeFile(SettingsPath(g), text, kMaxSettingsBytes) != 0) text.clear();
  const DesktopSettings s = ParseSettings(text);
  g.plat.SetWindowScale(s.scale);
  SetMuted(g, s.muted);
  g.sound.music.on = s.music;
  SetMusicVolume(g, s.music_volume);
}

void SaveSettings(Game& g) {
  DesktopSettings s;
  s.scale = std::clamp(g.plat.WindowScale(), kMinScale, kMaxScale);
  s.muted = g.sound.muted;
  s.music = g.sound.music.on;
  s.music_volume = g.sound.music.volume;
  MakeFolders(g.plat.ConfigDir());
  ReplaceFile(SettingsPath(g), FormatSettings(s));
  g.plat.FilesWritten();
}
