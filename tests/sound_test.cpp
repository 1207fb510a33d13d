// SPDX-License-Identifier: GPL-3.0-or-later
// Sound effects through the game: the channels' current waves, PlayWave's
// queueing and silent failures, start-up without a device, the settings file,
// and the shutdown order.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include <unistd.h>

#include "core/game.h"
#include "platform/headless/headless_platform.h"
#include "presentation/midi.h"
#include "presentation/sound.h"
#include "tests/mixer_test_wav.h"

using namespace testwav;

namespace {

namespace fs = std::filesystem;

struct SoundRig {
  fs::path dir;
  std::unique_ptr<HeadlessPlatform> plat;
  std::unique_ptr<Game> g;

  SoundRig() {
    static std::atomic<int> serial{0};
    dir = fs::temp_directory_path() / ("pomurie_sound_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    fs::remove_all(dir);
    fs::create_directories(dir / "dat");
    Write("1.wav", Wav(1, 11025, 8, Bytes(100, 10)));
    Write("a.wav", Wav(1, 11025, 8, Bytes(7000, 60)));
    // 16-bit stereo at 22050 Hz: 0x4000 -> 0xC0 -> mono 192 at half the frames.
    Write("b.wav", Wav(2, 22050, 16, Pcm16(std::vector<int16_t>(1200, 0x4000))));
    Write("bad.wav", Riff({Fmt(1, 11025, 24), Chunk("data", {1, 2, 3})}));
  }
  ~SoundRig() {
    g.reset();
    plat.reset();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  void Write(const std::string& name, const Bytes& b, const char* sub = "dat") {
    std::ofstream(dir / sub / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<long>(b.size()));
  }
  Game& Start(bool device = true) {
    plat = std::make_unique<HeadlessPlatform>(dir.string());
    plat->fake_audio().fail_open = !device;
    g = std::make_unique<Game>(*plat);
    OpenSoundChannels(*g);
    return *g;
  }
  FakeWaveOut& dev() { return plat->fake_audio(); }
  void Advance(int64_t ms) {
    plat->SetNowMs(plat->NowMs() + ms);
    dev().AdvanceTo(plat->NowMs());
  }
  bool Run(size_t from, size_t to, uint8_t v) {
    const auto& p = dev().played;
    return p.size() >= to && std::all_of(p.begin() + static_cast<long>(from), p.begin() + static_cast<long>(to),
                                         [v](uint8_t s) { return s == v; });
  }
};

}  // namespace

TEST(Sound, StartUpLoadsOneWavOnEveryChannelWithoutPlayingIt) {
  SoundRig r;
  Game& g = r.Start();
  ASSERT_NE(g.sound.mixer, nullptr);
  EXPECT_TRUE(g.sound.mixer->Activated());
  EXPECT_EQ(g.sound.mixer->Channels(), 31);
  for (int k = 0; k < 5; ++k) {
    ASSERT_NE(g.sound.current[k], nullptr) << k;
    EXPECT_EQ(g.sound.current[k]->name, "1.wav");
    for (int j = 0; j < k; ++j) EXPECT_NE(g.sound.current[k], g.sound.current[j]);
  }
  r.Advance(1000);
  EXPECT_TRUE(r.dev().played.empty());
}

TEST(Sound, PlayWaveQueuesOnAChannelAndOverlapsAcrossChannels) {
  SoundRig r;
  Game& g = r.Start();
  PlayWave(g, 0, "a.wav");
  MixerWave* a = g.sound.current[0];
  PlayWave(g, 0, "b.wav");  // converted from 16-bit stereo 22050 Hz: 300 samples of 192
  EXPECT_NE(g.sound.current[0], a);
  PlayWave(g, 2, "b.wav");  // another channel: comes in over a.wav after the queued blocks
  r.Advance(3000);
  EXPECT_TRUE(r.Run(0, 6144, 60));
  EXPECT_TRUE(r.Run(6144, 6444, 60 + 192 - 128));
  EXPECT_TRUE(r.Run(6444, 7000, 60));
  EXPECT_TRUE(r.Run(7000, 7300, 192));  // channel 0's second sound right after its first
  EXPECT_TRUE(r.Run(7300, 8192, 128));
  // The replaced waves are released once nothing of them is queued.
  PlayWave(g, 1, "1.wav");
  EXPECT_TRUE(g.sound.replaced.empty());
  // With a clock that stands still the queue stays bounded, and the newest sound still plays.
  for (int i = 0; i < 500; ++i) PlayWave(g, i % 5, i % 2 ? "a.wav" : "b.wav");
  EXPECT_LE(g.sound.replaced.size(), 32u);
  const size_t before = r.dev().played.size();
  r.Advance(60000);
  EXPECT_GT(r.dev().played.size(), before);
}

TEST(Sound, FailuresAreSilentAndKeepTheCurrentWave) {
  SoundRig r;
  Game& g = r.Start();
  MixerWave* before = g.sound.current[1];
  PlayWave(g, 1, "nothing.wav");
  PlayWave(g, 1, "bad.wav");
  PlayWave(g, 7, "a.wav");
  PlayWave(g, -1, "a.wav");
  EXPECT_EQ(g.sound.current[1], before);
  r.Advance(500);
  EXPECT_TRUE(r.dev().played.empty());
  // The next play on that channel works.
  PlayWave(g, 1, "1.wav");
  r.Advance(500);
  EXPECT_TRUE(r.Run(0, 100, 10));
}

TEST(Sound, WithoutAnAudioDeviceTheGameGoesOnSilently) {
  SoundRig r;
  Game& g = r.Start(/*device=*/false);
  ASSERT_NE(g.sound.mixer, nullptr);
  EXPECT_FALSE(g.sound.mixer->Activated());
  EXPECT_NE(g.sound.current[0], nullptr);  // loading needs no device
  PlayWave(g, 0, "a.wav");
  EXPECT_NE(g.sound.current[0]->name, "1.wav");
  r.Advance(500);
  EXPECT_TRUE(r.dev().played.empty());
  CloseSoundChannels(g);
  EXPECT_EQ(g.sound.mixer, nullptr);
}

TEST(Sound, SettingsFileBesideTheProgramOrInTheUserConfig) {
  {
    SoundRig r;
    r.Write("MIXER.INI", Bytes{'[', 'd', 'e', 'f', 'a', 'u', 'l', 't', ']', '\n', 'S', 'a', 'm', 'p',
                               'l', 'e', 's', 'P', 'e', 'r', 'S', 'e', 'c', '=',  '2', '2', '\n'},
            ".");
    Game& g = r.Start();
    EXPECT_EQ(r.dev().rate, 22050);
    EXPECT_EQ(g.sound.current[0]->data.size(), 200u);  // 1.wav doubled
  }
  {
    SoundRig r;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    fs::create_directories(r.dir / "cfg" / "pomurie");
    r.Write("MIXER.INI", Bytes{'[', 'd', 'e', 'f', 'a', 'u', 'l', 't', ']', '\n', 'W', 'a',
                               'v', 'e', 'B', 'l', 'o', 'c', 'k', 's', '=', '5',  '\n'},
            "cfg/pomurie");
    ::setenv("XDG_CONFIG_HOME", (r.dir / "cfg").c_str(), 1);
    Game& g = r.Start();
    if (old) {
      ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(g.sound.mixer->settings().wave_blocks, 5);
  }
}

TEST(Sound, ShutdownReleasesTheWavesAndTheDevice) {
  SoundRig r;
  Game& g = r.Start();
  PlayWave(g, 3, "a.wav");
  MidiSetDevice(-1, 0);
  EXPECT_TRUE(GetMidiStatus().device_selected);
  EXPECT_EQ(GetMidiStatus().device, -1);
  MidiFree();
  EXPECT_FALSE(GetMidiStatus().device_selected);
  CloseSoundChannels(g);
  EXPECT_EQ(g.sound.mixer, nullptr);
  EXPECT_FALSE(r.dev().IsOpen());
  for (MixerWave* w : g.sound.current) EXPECT_EQ(w, nullptr);
  PlayWave(g, 0, "a.wav");  // after shutdown: nothing, no crash
  CloseSoundChannels(g);
  // A second game in the same process can open the mixer again.
  OpenSoundChannels(g);
  EXPECT_NE(g.sound.mixer, nullptr);
}
