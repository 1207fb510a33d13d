// SPDX-License-Identifier: GPL-3.0-or-later
// Sound effects on the five mixer channels.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "presentation/mixer/mixer.h"
#include "presentation/music.h"

struct Game;

// The five mixer channels. A channel queues its sounds and different channels
// overlap, so the channel a sound is played on is part of its rule.
enum SoundChannel : int {
  kChannelUi = 0,     // interface and short feedback: hover, confirm, refusal
  kChannelHits = 1,   // blows, spells and bites of exploration and battle
  kChannelActs = 2,   // turns, techniques, healing, the course of events
  kChannelNews = 3,   // finds, quests, the shop's news, the save
  kChannelClick = 4,  // the choice button's click only
};
inline constexpr int kSoundChannels = 5;

struct SoundState {
  // Null when the mixer could not be created; then every sound is silent.
  std::unique_ptr<Mixer> mixer;
  // Each channel's current wave: the one most recently loaded for it.
  std::array<MixerWave*, kSoundChannels> current{};
  // Replaced current waves, released once nothing of them is queued any more.
  std::vector<MixerWave*> replaced;
  // The player's mute (the M key): no sound is started and the channels are closed.
  bool muted = false;
  MusicState music;
};

// Start-up: creates the mixer (settings from MIXER.INI), opens channels 0..4
// (the music opens its own when it first plays), acquires the wave-out device and loads dat/1.wav as each channel's
// current wave. Every failure is dropped: without a device the game runs silent.
void OpenSoundChannels(Game& g);
// Shutdown, after MidiFree: releases the current waves from channel 4 down to 0
// (the first failure skips the rest), then closes the mixer.
void CloseSoundChannels(Game& g);

// Opens the game's own sound file dat/`file` in the open mixer, first waiting for it
// where the platform is still making the game's files. Throws as Mixer::OpenWave does.
MixerWave* OpenGameWave(Game& g, const std::string& file);

// Plays a wave file of the dat folder on channel 0..4; failures are silent, and
// so is every play while muted.
void PlayWave(Game& g, int channel, const std::string& file);

// The chime of a finished save, on the channel of the game's own signals.
void PlaySaveSound(Game& g);

// Muting closes the five channels, which drops what they still had to play;
// unmuting opens them again for the next sounds.
void SetMuted(Game& g, bool muted);
