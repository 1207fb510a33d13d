// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/music.h"

#include <algorithm>

#include "core/game.h"
#include "presentation/sound.h"

namespace {

constexpr int kCrossFadeMs = 400;
constexpr int kSwitchFadeMs = 150;  // B, mute and volume answer quicker

int64_t Samples(const Mixer& m, int ms) { return int64_t{m.settings().samples_per_sec} * ms / 1000; }

MixerWave* TuneWave(Game& g, Tune t) {
  MusicState& m = g.sound.music;
  const auto k = static_cast<size_t>(t);
  if (!m.waves[k] && !m.missing[k]) {
    try {
      m.waves[k] = OpenGameWave(g, TuneFile(t));
    } catch (const EMixerError&) {
      m.missing[k] = true;  // a missing tune is silence, like a missing effect
    }
  }
  return m.waves[k];
}

}  // namespace

const char* TuneFile(Tune t) {
  // clang-format off
  static constexpr const char* kFiles[kTuneCount] = {
      "",             "bgm_title.wav", "bgm_home.wav",   "bgm_shop.wav",  "bgm_forest.wav", "bgm_kusa.wav",
      "bgm_sea.wav",  "bgm_ana.wav",   "bgm_battle.wav", "bgm_night.wav", "bgm_old.wav"};
  // clang-format on
  return kFiles[static_cast<size_t>(t)];
}

Tune PlaceTune(const Game& g) {
  if (g.GamePhase < 0) return Tune::Title;
  if (g.in_battle == 1) return Tune::Battle;
  const tman& p = g.unit[kPlayer];
  // The night runs from the moment the day's hours are spent until the morning sets them back.
  if (g.my.hours_used >= g.my.day_hours) return p.age_days >= p.lifespan_days ? Tune::OldAge : Tune::Night;
  switch (g.my.location) {
    case kShop: return Tune::Shop;
    case 0: return Tune::Forest;
    case 1: return Tune::Grassland;
    case 2: return Tune::Sea;
    case 3: return Tune::Cave;
    default: return p.lifespan_days - p.age_days <= kOldAgeDays ? Tune::OldAge : Tune::Home;
  }
}

void UpdateMusic(Game& g) {
  SoundState& s = g.sound;
  MusicState& m = s.music;
  if (!s.mixer || !s.mixer->Activated()) return;
  Mixer& mixer = *s.mixer;
  const Tune want = m.on && !s.muted ? PlaceTune(g) : Tune::None;
  const int channel = kMusicChannels[m.turn];
  // A mute drops the channels' queues; the tune starts again when they reopen.
  if (want == m.playing &&
      (want == Tune::None || mixer.QueueLength(channel) > 0 || m.missing[static_cast<size_t>(want)])) {
    return;
  }
  const bool change = m.playing != Tune::None && want != Tune::None;
  mixer.FadeOut(channel, Samples(mixer, change ? kCrossFadeMs : kSwitchFadeMs));
  m.playing = want;
  if (want == Tune::None) return;
  MixerWave* wave = TuneWave(g, want);
  if (!wave) return;
  if ((mixer.Channels() & kMusicChannelMask) != kMusicChannelMask) {
    mixer.SetChannels(mixer.Channels() | kMusicChannelMask);
  }
  m.turn = 1 - m.turn;
  const int next = kMusicChannels[m.turn];
  try {
    mixer.SetGain(next, 0);
    mixer.Play(next, wave, kLoopForever, kPlayClearQueue);
    mixer.RampGain(next, m.volume, Samples(mixer, change ? kCrossFadeMs : kSwitchFadeMs));
  } catch (const EMixerError&) {
    // As with an effect: no music, no message.
  }
}

void SetMusicOn(Game& g, bool on) {
  g.sound.music.on = on;
  UpdateMusic(g);
}

void SetMusicVolume(Game& g, int percent) {
  MusicState& m = g.sound.music;
  m.volume = std::clamp(percent, 0, 100);
  if (g.sound.mixer && m.playing != Tune::None) {
    g.sound.mixer->RampGain(kMusicChannels[m.turn], m.volume, Samples(*g.sound.mixer, kSwitchFadeMs));
  }
}
