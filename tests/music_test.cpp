// SPDX-License-Identifier: GPL-3.0-or-later
// Music: the generated tunes and their seams, the place -> tune table, the
// mixer's channel gain and background channels, the B key and its settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "music.h"
#include "platform/events.h"
#include "platform/soft/fake_wave_out.h"
#include "presentation/music.h"
#include "presentation/sound.h"
#include "shell/settings.h"
#include "tests/mixer_test_wav.h"
#include "tests/shell_fixture.h"

namespace {

TEST(Tunes, EveryTuneLoopsWithoutAJumpAndIsOfPlayableLength) {
  for (const assetgen::TuneSpec& spec : assetgen::TuneSpecs()) {
    const std::vector<uint8_t> wav = assetgen::ComposeTune(spec);
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav[22], 1) << spec.file << ": mono";
    EXPECT_EQ(wav[34], 8) << spec.file << ": 8-bit";
    const std::vector<int> s(wav.begin() + 44, wav.end());
    EXPECT_EQ(static_cast<int64_t>(s.size()), assetgen::TuneSamples(spec));
    const double seconds = static_cast<double>(s.size()) / assetgen::kMusicRate;
    EXPECT_GE(seconds, 30) << spec.file;
    EXPECT_LE(seconds, 90) << spec.file;
    // The step across the loop point is no bigger than the tune's ordinary steps
    // (95% of them are at least as small), and the tune is not silence.
    std::vector<int> steps;
    for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 95 / 100, steps.end());
    EXPECT_LE(std::abs(s.front() - s.back()), steps[steps.size() * 95 / 100]) << spec.file;
    EXPECT_GT(*std::max_element(s.begin(), s.end()) - *std::min_element(s.begin(), s.end()), 150) << spec.file;
  }
}

TEST(Tunes, PlaceToTuneTable) {
  GameRun run;
  Game& g = *run.g;
  g.my.day_hours = 12;
  g.unit[kPlayer].lifespan_days = 100;
  struct Case {
    int phase, location, battle, hours, age;
    Tune tune;
  } cases[] = {
      {-2, kHome, 0, 0, 0, Tune::Title}, {-1, kHome, 0, 0, 0, Tune::Title},  {0, kHome, 0, 0, 0, Tune::Home},
      {0, kHome, 0, 11, 89, Tune::Home}, {0, kHome, 0, 0, 90, Tune::OldAge}, {0, kShop, 0, 0, 95, Tune::Shop},
      {0, 0, 0, 0, 0, Tune::Forest},     {0, 1, 0, 0, 0, Tune::Grassland},   {0, 2, 0, 0, 0, Tune::Sea},
      {0, 3, 0, 0, 0, Tune::Cave},       {0, 3, 1, 0, 0, Tune::Battle},      {0, 0, 1, 12, 0, Tune::Battle},
      {0, 0, 0, 12, 0, Tune::Night},     {0, kHome, 0, 12, 99, Tune::Night}, {0, kHome, 0, 12, 100, Tune::OldAge},
  };
  for (const Case& c : cases) {
    g.GamePhase = c.phase, g.my.location = c.location, g.in_battle = static_cast<uint8_t>(c.battle);
    g.my.hours_used = c.hours, g.unit[kPlayer].age_days = c.age;
    EXPECT_EQ(PlaceTune(g), c.tune) << c.phase << " " << c.location << " " << c.battle << " " << c.hours << " "
                                    << c.age;
  }
}

TEST(Tunes, ChannelGainRampsFadesAndBackgroundChannelsKeepEffectsPrompt) {
  using namespace testwav;
  int64_t now = 0;
  FakeWaveOut dev;
  Mixer mixer(dev, [&] { return now; });
  mixer.SetChannels(0x7F);
  mixer.SetActivated(true);
  mixer.SetBackgroundChannels(0x60);
  MixerWave* music = mixer.OpenWaveFromMemory(Wav(1, 11025, 8, Bytes(1000, 228)), "m");  // +100
  MixerWave* fx = mixer.OpenWaveFromMemory(Wav(1, 11025, 8, Bytes(300, 28)), "fx");      // -100

  mixer.SetGain(5, 140);
  EXPECT_EQ(mixer.Gain(5), 100);
  mixer.SetGain(5, 40);
  mixer.Play(5, music, kLoopForever);
  // Music alone: short blocks, a sixth of the usual audio ahead or less.
  EXPECT_LE(mixer.SamplesQueued(), 7 * 256);
  EXPECT_EQ(dev.Queued(), 7u);
  now = 100, dev.AdvanceTo(now);
  ASSERT_GT(dev.played.size(), 1000u);
  EXPECT_EQ(dev.played[0], 128 + 40);
  EXPECT_EQ(dev.played[1000], 128 + 40);

  // An effect starts at the end of the short lookahead, at full gain over the music.
  EXPECT_LE(mixer.MixPosition() - mixer.PlayingPosition(), 7 * 256);  // where the effect starts
  mixer.Play(0, fx);
  now = 400, dev.AdvanceTo(now);
  EXPECT_NE(std::find(dev.played.begin(), dev.played.end(), 128 + 40 - 100), dev.played.end());

  // A fade goes down in a straight line, ends the music, and leaves silence.
  const auto at = static_cast<size_t>(mixer.MixPosition());
  mixer.FadeOut(5, 1000);
  EXPECT_EQ(mixer.Gain(5), 0);
  now = 1600, dev.AdvanceTo(now);
  ASSERT_GT(dev.played.size(), at + 1005);
  EXPECT_EQ(dev.played[at], 128 + 40);
  EXPECT_EQ(dev.played[at + 500], 128 + 20);
  EXPECT_EQ(dev.played[at + 1002], 128);
  EXPECT_EQ(mixer.QueueLength(5), 0u);
}

TEST(Tunes, SettingsFallBackFromAbsurdValues) {
  struct Case {
    const char* text;
    bool music;
    int volume;
  } cases[] = {
      {"", true, 40},
      {"[sound]\nmusic=0\nmusic_volume=0\n", false, 0},
      {"[sound]\nmusic=1\nmusic_volume=100\n", true, 100},
      {"[sound]\nmusic=off\nmusic_volume=101\n", true, 40},
      {"[sound]\nmusic=\nmusic_volume=-5\n", true, 40},
      {"[sound]\nmusic_volume=75%\n", true, 40},
  };
  for (const Case& c : cases) {
    const DesktopSettings s = ParseSettings(c.text);
    EXPECT_EQ(s.music, c.music) << c.text;
    EXPECT_EQ(s.music_volume, c.volume) << c.text;
  }
  DesktopSettings s;
  s.music = false, s.music_volume = 65;
  const DesktopSettings back = ParseSettings(FormatSettings(s));
  EXPECT_FALSE(back.music);
  EXPECT_EQ(back.music_volume, 65);
}

// A session with a tune for home and one for the forest: B switches the music
// off and on (and is remembered), a change of place cross-fades.
TEST(Tunes, MusicFollowsThePlaceAndTheBKey) {
  using namespace testwav;
  GameRun run;
  for (const char* name : {"bgm_home.wav", "bgm_forest.wav", "bgm_battle.wav"}) {
    const Bytes wav = Wav(1, 11025, 8, Bytes(5000, 200));
    std::ofstream(run.dir / "dat" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(wav.data()), static_cast<long>(wav.size()));
  }
  run.Start();
  Game& g = *run.g;
  g.GamePhase = 0, g.my.location = kHome, g.my.day_hours = 12, g.unit[kPlayer].lifespan_days = 100;
  ASSERT_TRUE(g.sound.mixer);
  Mixer& mixer = *g.sound.mixer;
  auto music_queued = [&] { return mixer.QueueLength(5) + mixer.QueueLength(6); };

  UpdateMusic(g);
  EXPECT_EQ(g.sound.music.playing, Tune::Home);
  EXPECT_EQ(music_queued(), 1u);
  EXPECT_EQ(mixer.Gain(kMusicChannels[g.sound.music.turn]), kDefaultMusicVolume);

  run.events.FormKeyDown(vk::kB);
  EXPECT_EQ(g.sound.music.playing, Tune::None);
  EXPECT_EQ(mixer.Gain(kMusicChannels[g.sound.music.turn]), 0);
  std::ifstream saved(SettingsPath(g));
  EXPECT_FALSE(ParseSettings(std::string(std::istreambuf_iterator<char>(saved), {})).music);
  run.events.FormKeyDown(vk::kB);
  EXPECT_EQ(g.sound.music.playing, Tune::Home);

  g.my.location = 0;
  UpdateMusic(g);
  EXPECT_EQ(g.sound.music.playing, Tune::Forest);
  EXPECT_EQ(music_queued(), 2u) << "home fades out under the forest";

  run.events.FormKeyDown(vk::kM);  // the mute silences the music too, and brings it back
  UpdateMusic(g);
  EXPECT_EQ(music_queued(), 0u);
  run.events.FormKeyDown(vk::kM);
  UpdateMusic(g);
  EXPECT_EQ(music_queued(), 1u);
}

}  // namespace
