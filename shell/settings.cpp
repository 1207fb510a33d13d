#include "shell/settings.h"

#include <algorithm>

#include "platform/ini_file.h"
#include "presentation/sound.h"
#include "shell/file_io.h"
#include "shell/game.h"

DesktopSettings ParseSettings(const std::string& text) {
  const IniFile ini = IniFile::Parse(text);
  DesktopSettings s;
  const int scale = ini.ReadInt("window", "scale", s.scale);
  if (scale >= kMinScale && scale <= kMaxScale) s.scale = scale;
  s.muted = ini.ReadInt("sound", "mute", 0) == 1;
  return s;
}

std::string FormatSettings(const DesktopSettings& s) {
  return "[window]\nscale=" + std::to_string(s.scale) + "\n\n[sound]\nmute=" + (s.muted ? "1" : "0") + "\n";
}

std::string SettingsPath(const Game& g) { return g.plat.ConfigDir() + "pomurie.ini"; }

void ApplySavedSettings(Game& g) {
  std::string text;
  if (ReadWholeFile(SettingsPath(g), text) != 0) text.clear();
  const DesktopSettings s = ParseSettings(text);
  g.plat.SetWindowScale(s.scale);
  SetMuted(g, s.muted);
}

void SaveSettings(Game& g) {
  DesktopSettings s;
  s.scale = std::clamp(g.plat.WindowScale(), kMinScale, kMaxScale);
  s.muted = g.sound.muted;
  MakeFolders(g.plat.ConfigDir());
  ReplaceFile(SettingsPath(g), FormatSettings(s));
  g.plat.FilesWritten();
}
