// SPDX-License-Identifier: GPL-3.0-or-later
// Music: a looping tune for each place, chosen from the state on every tick
// (so no script has to ask for it), on two mixer channels of its own that take
// turns, so that one tune fades into the next instead of cutting.
#pragma once

#include <array>
#include <cstdint>

struct Game;
struct MixerWave;

enum class Tune { None, Title, Home, Shop, Forest, Grassland, Sea, Cave, Battle, Night, OldAge };
inline constexpr int kTuneCount = static_cast<int>(Tune::OldAge) + 1;

// The effects use channels 0..4; the music takes turns on these two.
inline constexpr int kMusicChannels[2] = {5, 6};
inline constexpr uint8_t kMusicChannelMask = 0x60;
inline constexpr int kDefaultMusicVolume = 40;  // percent: under the effects
// The last days of a life sound at home with the old-age tune.
inline constexpr int kOldAgeDays = 10;

struct MusicState {
  bool on = true;  // the B key
  int volume = kDefaultMusicVolume;
  Tune playing = Tune::None;
  int turn = 0;  // kMusicChannels[turn] carries the tune that plays
  // Opened on first use and kept: each tune is read once per run.
  std::array<MixerWave*, kTuneCount> waves{};
  std::array<bool, kTuneCount> missing{};  // a tune that failed to open is not retried
};

// The file of a tune in the dat folder; empty for None.
const char* TuneFile(Tune t);
// The tune of the place the state is in: the title, a battle, the night (the old
// age at the end of a life), else the place of `location`.
Tune PlaceTune(const Game& g);

// Each tick: starts, changes (with a cross-fade) or stops the music to match
// the place, the B switch and the mute.
void UpdateMusic(Game& g);
void SetMusicOn(Game& g, bool on);
void SetMusicVolume(Game& g, int percent);
