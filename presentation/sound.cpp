// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/sound.h"

#include "core/game.h"

namespace {

constexpr uint8_t kOpenChannels = 0x1F;  // channels 0..4
// Sounds queued behind this many newer ones on the channels are dropped: faster
// clicks than the output can follow (or a clock that stands still) must not pile
// up waves without end. A player never comes near it.
constexpr size_t kMaxReplaced = 32;

// Releases the replaced waves that no play needs any more.
void ReleaseReplaced(SoundState& s) {
  std::erase_if(s.replaced, [&](MixerWave* w) {
    if (s.mixer->WaveInUse(w)) return false;
    s.mixer->FreeWave(w);
    return true;
  });
}

}  // namespace

void OpenSoundChannels(Game& g) {
  SoundState& s = g.sound;
  try {
    std::optional<IniFile> ini = FindMixerIni(g.plat.ExeDir());
    Platform* plat = &g.plat;
    s.mixer = std::make_unique<Mixer>(
        g.plat.Audio(), [plat] { return plat->NowMs(); }, ini ? &*ini : nullptr);
    s.mixer->SetChannels(s.muted ? 0 : kOpenChannels);
    s.mixer->SetBackgroundChannels(kMusicChannelMask);
    s.mixer->SetActivated(true);
  } catch (const EMixerError&) {
    // No device (or a second game in this process): waves still load, plays fail quietly.
  }
  if (!s.mixer) return;
  for (MixerWave*& wave : s.current) {
    try {
      wave = OpenGameWave(g, "1.wav");
    } catch (const EMixerError&) {
    }
  }
}

MixerWave* OpenGameWave(Game& g, const std::string& file) {
  const std::string path = g.plat.ExeDir() + "dat/" + file;
  g.plat.AwaitGameFile(path);
  return g.sound.mixer->OpenWave(path);
}

void CloseSoundChannels(Game& g) {
  SoundState& s = g.sound;
  if (!s.mixer) return;
  try {
    for (int k = kSoundChannels - 1; k >= 0; --k) {
      s.mixer->FreeWave(s.current[k]);
      s.current[k] = nullptr;
    }
  } catch (const EMixerError&) {
    // As at any shutdown failure the rest is skipped; closing the mixer below frees it all.
  }
  s.current.fill(nullptr);
  s.replaced.clear();
  s.music.waves.fill(nullptr);
  s.music.playing = Tune::None;
  s.mixer.reset();
}

void PlayWave(Game& g, int channel, const std::string& file) {
  SoundState& s = g.sound;
  if (!s.mixer || s.muted || channel < 0 || channel >= static_cast<int>(s.current.size())) return;
  try {
    MixerWave* wave = OpenGameWave(g, file);
    if (s.current[channel]) s.replaced.push_back(s.current[channel]);
    s.current[channel] = wave;
    ReleaseReplaced(s);
    if (s.replaced.size() > kMaxReplaced) {
      s.mixer->FreeWave(s.replaced.front());  // drops what of it is still queued
      s.replaced.erase(s.replaced.begin());
    }
    s.mixer->Play(channel, wave, 0, 0);
  } catch (const EMixerError&) {
    // A missing or unplayable sound is silence, nothing more.
  }
}

void PlaySaveSound(Game& g) { PlayWave(g, kChannelNews, "save.wav"); }

void SetMuted(Game& g, bool muted) {
  SoundState& s = g.sound;
  s.muted = muted;
  if (s.mixer) s.mixer->SetChannels(muted ? 0 : kOpenChannels);
}
