// SPDX-License-Identifier: GPL-3.0-or-later
// The mixer on the fake device: scheduling on channels, the play flags, the two
// remix policies, block mixing, completion, settings and the error messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"
#include "tests/mixer_test_wav.h"

using namespace testwav;

namespace {

// A mixer on the fake device at 11025 Hz: blocks of 2048 samples, 3 in flight.
struct Rig {
  int64_t now = 0;  // the mixer's clock
  FakeWaveOut dev;
  IniFile ini;
  std::unique_ptr<Mixer> mixer;

  explicit Rig(const std::string& settings = "") : ini(IniFile::Parse(settings)) {
    mixer = std::make_unique<Mixer>(
        dev, [this] { return now; }, &ini);
    mixer->SetChannels(31);
    mixer->SetActivated(true);
  }
  // Moves the clock and lets the device play up to it.
  void Advance(int64_t ms) {
    now += ms;
    dev.AdvanceTo(now);
  }
  MixerWave* Wave(uint8_t value, size_t n) { return Wave(Bytes(n, value)); }
  MixerWave* Wave(const Bytes& samples) { return mixer->OpenWaveFromMemory(Wav(1, 11025, 8, samples), "t"); }

  // True when played[from, to) all equal v.
  bool Run(size_t from, size_t to, uint8_t v) const {
    if (dev.played.size() < to) return false;
    return std::all_of(dev.played.begin() + static_cast<long>(from), dev.played.begin() + static_cast<long>(to),
                       [v](uint8_t s) { return s == v; });
  }
};

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EMixerError& e) {
    return e.cause().empty() ? e.what() : std::string(e.what()) + ": " + e.cause();
  }
  return "(no error)";
}

// 50 ms into playback at 11025 Hz: 551 samples have been played.
constexpr size_t kAt50ms = 551;

}  // namespace

TEST(MixerPlay, IdleMixerStartsAtOnceAndGoesQuietWhenDone) {
  Rig r;
  r.mixer->Play(0, r.Wave(200, 300));
  r.Advance(1000);
  EXPECT_TRUE(r.Run(0, 300, 200));
  EXPECT_TRUE(r.Run(300, 2048, 128));
  EXPECT_EQ(r.dev.played.size(), 2048u);   // one block, then nothing more to mix
  EXPECT_EQ(r.mixer->QueueLength(0), 0u);  // the finished play was retired
  EXPECT_EQ(r.mixer->BlocksQueued(), 0u);

  // Much later the stream starts over, again at once.
  r.Advance(5000);
  r.mixer->Play(3, r.Wave(60, 100));
  EXPECT_EQ(r.mixer->MixPosition(), 2048);
  r.Advance(1000);
  EXPECT_TRUE(r.Run(2048, 2148, 60));
}

TEST(MixerPlay, OneChannelQueuesTwoChannelsOverlap) {
  {
    // The second follows the first sample for sample while the first is still being mixed.
    Rig r;
    r.mixer->Play(0, r.Wave(60, 7000));
    r.mixer->Play(0, r.Wave(200, 300));
    r.Advance(2000);
    EXPECT_TRUE(r.Run(0, 7000, 60));
    EXPECT_TRUE(r.Run(7000, 7300, 200));
    EXPECT_TRUE(r.Run(7300, 8192, 128));
  }
  {
    // A short first sound is already mixed out: the second comes after the queued audio,
    // never over it.
    Rig r;
    r.mixer->Play(0, r.Wave(60, 300));
    r.mixer->Play(0, r.Wave(200, 300));
    r.Advance(2000);
    EXPECT_TRUE(r.Run(0, 300, 60));
    EXPECT_TRUE(r.Run(300, 2048, 128));
    EXPECT_TRUE(r.Run(2048, 2348, 200));
  }
  {
    // On two channels they overlap.
    Rig r;
    r.mixer->Play(0, r.Wave(60, 7000));
    r.mixer->Play(2, r.Wave(200, 300));
    r.Advance(2000);
    // The first filled all three blocks at once, so the second comes in after them.
    EXPECT_TRUE(r.Run(0, 6144, 60));
    EXPECT_TRUE(r.Run(6144, 6444, 60 + 200 - 128));
    EXPECT_TRUE(r.Run(6444, 7000, 60));
  }
  {
    // Loops and a held request released together: 3 x 1000 samples, then the next.
    Rig r;
    r.mixer->Play(1, r.Wave(90, 1000), 2, kPlayWait);
    r.mixer->Play(1, r.Wave(170, 500));
    r.Advance(2000);
    EXPECT_TRUE(r.Run(0, 3000, 90));
    EXPECT_TRUE(r.Run(3000, 3500, 170));
    EXPECT_TRUE(r.Run(3500, 4096, 128));
  }
}

TEST(MixerPlay, ClearFlagCutsOffThePlayingWave) {
  {
    // Without "now" the new wave follows the blocks already queued, and the old one ends there.
    Rig r;
    r.mixer->Play(0, r.Wave(60, 20000));
    r.Advance(50);
    r.mixer->Play(0, r.Wave(200, 300), 0, kPlayClearQueue);
    r.Advance(2000);
    EXPECT_TRUE(r.Run(0, 6144, 60));
    EXPECT_TRUE(r.Run(6144, 6444, 200));
    EXPECT_TRUE(r.Run(6444, 8192, 128));
    EXPECT_EQ(r.dev.played.size(), 8192u);
  }
  {
    // With "now" it is heard at the playing position.
    Rig r;
    r.mixer->Play(0, r.Wave(60, 20000));
    r.Advance(50);
    r.mixer->Play(0, r.Wave(200, 300), 0, kPlayClearQueue | kPlayNow);
    r.Advance(2000);
    EXPECT_TRUE(r.Run(0, kAt50ms, 60));
    EXPECT_TRUE(r.Run(kAt50ms, kAt50ms + 300, 200));
    EXPECT_TRUE(r.Run(kAt50ms + 300, r.dev.played.size(), 128));
  }
}

TEST(MixerPlay, IdleChannelWhileOthersPlayAndTheRemixPolicies) {
  const uint8_t kBoth = 100 + 140 - 128;
  {
    // No flags: heard after the blocks already queued.
    Rig r;
    r.mixer->Play(0, r.Wave(100, 20000));
    r.Advance(50);
    r.mixer->Play(1, r.Wave(140, 200));
    r.Advance(1000);
    EXPECT_TRUE(r.Run(0, 6144, 100));
    EXPECT_TRUE(r.Run(6144, 6344, kBoth));
    EXPECT_TRUE(r.Run(6344, 8000, 100));
  }
  {
    // "Now" under the default policy: the queued audio is mixed again and it starts at once.
    Rig r;
    r.mixer->Play(0, r.Wave(100, 20000));
    r.Advance(50);
    r.mixer->Play(1, r.Wave(140, 200), 0, kPlayNow);
    r.Advance(1000);
    EXPECT_TRUE(r.Run(0, kAt50ms, 100));
    EXPECT_TRUE(r.Run(kAt50ms, kAt50ms + 200, kBoth));
    EXPECT_TRUE(r.Run(kAt50ms + 200, 8000, 100));  // the long wave goes on without a gap
  }
  {
    // "Now" under policy 2: it waits behind the queued blocks.
    Rig r("[default]\nRemix=2\n");
    r.mixer->Play(0, r.Wave(100, 20000));
    r.Advance(50);
    r.mixer->Play(1, r.Wave(140, 200), 0, kPlayNow);
    r.Advance(1000);
    EXPECT_TRUE(r.Run(0, 6144, 100));
    EXPECT_TRUE(r.Run(6144, 6344, kBoth));
  }
}

TEST(MixerPlay, PositionFromTheDeviceWithGoodWavePos) {
  // The clock stands still; only the device knows how far playback has come.
  Rig r("[default]\nGoodWavePos=1\n");
  r.mixer->Play(0, r.Wave(100, 20000));
  r.dev.AdvanceTo(50);
  EXPECT_EQ(r.mixer->PlayingPosition(), static_cast<int64_t>(kAt50ms));
  r.mixer->Play(1, r.Wave(140, 200), 0, kPlayNow);
  r.dev.AdvanceTo(1000);
  EXPECT_TRUE(r.Run(0, kAt50ms, 100));
  EXPECT_TRUE(r.Run(kAt50ms, kAt50ms + 200, 112));
}

TEST(MixerPlay, SumIsCentredAndClamped) {
  auto mix = [](std::vector<uint8_t> values) {
    Rig r;
    // Held and released in one go, so that all start on the same sample.
    for (size_t k = 0; k < values.size(); ++k) {
      r.mixer->Play(static_cast<int>(k), r.Wave(values[k], 10), 0, k + 1 < values.size() ? kPlayWait : 0);
    }
    r.Advance(1000);
    return r.dev.played.at(5);
  };
  EXPECT_EQ(mix({255, 255, 255}), 255);
  EXPECT_EQ(mix({0, 0, 0}), 0);
  EXPECT_EQ(mix({200, 200}), 255);
  EXPECT_EQ(mix({100, 100}), 72);
  EXPECT_EQ(mix({255, 0}), 127);
  EXPECT_EQ(mix({255, 255, 0, 0, 77}), 75);  // 128 + 127 + 127 - 128 - 128 - 51
  EXPECT_EQ(mix({37}), 37);
}

TEST(MixerPlay, NeverEndingLoopPlaysUntilItsQueueIsCleared) {
  const Bytes ramp{0, 20, 40, 60, 80, 100, 120, 140, 160, 180};
  for (bool by_closing : {false, true}) {
    Rig r;
    r.mixer->Play(0, r.Wave(ramp), kLoopForever);
    r.Advance(3000);
    ASSERT_GE(r.dev.played.size(), 33000u);
    for (size_t i = 0; i < r.dev.played.size(); ++i) ASSERT_EQ(r.dev.played[i], ramp[i % 10]) << i;
    EXPECT_EQ(r.mixer->QueueLength(0), 1u);
    EXPECT_EQ(r.dev.Queued(), 3u);

    if (by_closing) {
      r.mixer->SetChannels(0x1E);
    } else {
      r.mixer->Play(0, r.Wave(200, 50), 0, kPlayClearQueue);
    }
    const size_t mixed = static_cast<size_t>(r.mixer->MixPosition());
    r.Advance(3000);
    EXPECT_EQ(r.dev.Queued(), 0u);  // the stream has stopped
    EXPECT_EQ(r.mixer->QueueLength(0), 0u);
    if (!by_closing) {
      EXPECT_TRUE(r.Run(mixed, mixed + 50, 200));
    }
    EXPECT_LE(r.dev.played.size(), mixed + 2048);
  }
}

TEST(MixerPlay, WaitFlagHoldsUntilALaterPlay) {
  Rig r;
  r.mixer->Play(0, r.Wave(150, 100), 0, kPlayWait);
  r.Advance(500);
  EXPECT_TRUE(r.dev.played.empty());
  EXPECT_EQ(r.mixer->QueueLength(0), 0u);
  r.mixer->Play(1, r.Wave(150, 100));
  r.Advance(500);
  EXPECT_TRUE(r.Run(0, 100, 150 + 150 - 128));  // both together
}

TEST(MixerPlay, LeastRecentlyUsedChannelPrefersAnEmptyOne) {
  Rig r;
  MixerWave* w = r.Wave(140, 20000);
  r.mixer->Play(0, w);
  r.mixer->Play(1, w);
  for (int expected : {2, 3, 4}) {
    r.mixer->Play(0, w, 0, kPlayUseLru);
    EXPECT_EQ(r.mixer->QueueLength(expected), 1u) << expected;
  }
  // All busy: the least recently used one, channel 0.
  r.mixer->Play(4, w, 0, kPlayUseLru);
  EXPECT_EQ(r.mixer->QueueLength(0), 2u);
}

TEST(MixerPlay, NotificationWhenThePlayHasEnded) {
  Rig r;
  MixerWave* w = r.Wave(90, 3000);
  std::vector<std::pair<int, MixerWave*>> ended;
  MixerPlayRequest req{2, w, 0, 0, [&](int ch, MixerWave* wave) { ended.emplace_back(ch, wave); }};
  r.mixer->Play(&req);
  r.Advance(200);  // first block done, the wave still has samples to play
  EXPECT_TRUE(ended.empty());
  r.Advance(1000);
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_EQ(ended[0], std::make_pair(2, w));
}

TEST(MixerPlay, FreeWaveStopsItsPlaysAndRejectsStrangers) {
  Rig r;
  MixerWave* a = r.Wave(90, 20000);
  MixerWave* b = r.Wave(170, 100);
  r.mixer->Play(0, a);
  r.mixer->Play(0, b);
  EXPECT_TRUE(r.mixer->WaveInUse(a));
  r.mixer->FreeWave(a);
  EXPECT_EQ(r.mixer->QueueLength(0), 1u);
  EXPECT_EQ(ErrorOf([&] { r.mixer->FreeWave(a); }), "The given pointer was not valid");
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(0, a); }), "The given pointer was not valid");
  MixerWave stranger;
  EXPECT_EQ(ErrorOf([&] { r.mixer->FreeWave(&stranger); }), "The given pointer was not valid");
  r.mixer->FreeWave(b);
  EXPECT_FALSE(r.mixer->WaveInUse(b));
}

TEST(MixerPlay, ErrorsWordForWord) {
  Rig r;
  MixerWave* w = r.Wave(90, 100);
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(nullptr); }), "nil parameters pointer passed to MixerPlay");
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(0, nullptr); }), "nil wave pointer passed to MixerPlay!");
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(5, w); }), "The specified channel was not open");
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(-1, w); }), "The specified channel was not open");
  r.mixer->SetChannels(0);
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(0, w); }), "You must open a channel before you can play a wave");
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(0, w, 0, kPlayUseLru); }),
            "You must open a channel before you can play a wave");
  r.mixer->SetActivated(false);
  EXPECT_FALSE(r.dev.IsOpen());
  EXPECT_EQ(ErrorOf([&] { r.mixer->Play(0, w); }), "Wave device not allocated, call MixerActivate(hMixSession,TRUE)");
  EXPECT_EQ(ErrorOf([&] { Mixer second(r.dev, [] { return int64_t{0}; }); }),
            "Initialization failed (MixerInit): Session already initialized");

  // Reactivated, it plays again.
  r.mixer->SetChannels(255);
  r.mixer->SetActivated(true);
  r.mixer->Play(7, w);
  r.Advance(500);
  EXPECT_EQ(r.dev.played.size(), 2048u);
}

TEST(MixerPlay, DeviceRefusals) {
  {
    FakeWaveOut dev;
    dev.fail_open = true;
    Mixer m(dev, [] { return int64_t{0}; });
    EXPECT_EQ(ErrorOf([&] { m.SetActivated(true); }), "Failed to open waveform output device #1");
    EXPECT_FALSE(m.Activated());
  }
  {
    FakeWaveOut dev;
    std::string why;
    ASSERT_TRUE(dev.Open(11025, 0, &why));
    Mixer m(dev, [] { return int64_t{0}; });
    EXPECT_EQ(ErrorOf([&] { m.SetActivated(true); }), "Resource is already allocated to a process");
  }
  {
    FakeWaveOut dev;
    IniFile ini = IniFile::Parse("[not compatible]\nUnknown Device=1\n");
    EXPECT_EQ(ErrorOf([&] {
                Mixer m(
                    dev, [] { return int64_t{0}; }, &ini);
              }),
              "Initialization failed (MixerInit): Unknown Device is not compatible with the realtime mixer");
    // The refusal left no instance behind.
    Mixer m(dev, [] { return int64_t{0}; });
  }
  {
    FakeWaveOut dev;
    dev.outputs = {"Speakers"};
    IniFile ini = IniFile::Parse("[not compatible]\nSpeakers=1\n");
    EXPECT_EQ(ErrorOf([&] {
                Mixer m(
                    dev, [] { return int64_t{0}; }, &ini);
              }),
              "Initialization failed (MixerInit): Speakers is not compatible with the realtime mixer");
  }
  {
    FakeWaveOut dev;
    dev.no_device = true;
    EXPECT_EQ(ErrorOf([&] { Mixer m(dev, [] { return int64_t{0}; }); }),
              "Initialization failed (MixerInit): No wave output devices available");
    dev.no_device = false;
    Mixer m(dev, [] { return int64_t{0}; });  // nor did this one
  }
}

TEST(MixerSettingsFile, DefaultsOverridesAndClamps) {
  MixerSettings d = ReadMixerSettings(nullptr);
  EXPECT_EQ(d.remix, 1);
  EXPECT_EQ(d.good_wave_pos, 0);
  EXPECT_EQ(d.wave_blocks, 3);
  EXPECT_EQ(d.samples_per_sec, 11025);
  EXPECT_EQ(d.block_len, 2048);

  auto read = [](const std::string& text) {
    IniFile ini = IniFile::Parse(text);
    return ReadMixerSettings(&ini);
  };
  EXPECT_EQ(read("[default]\nWaveBlocks=9\n").wave_blocks, 6);
  EXPECT_EQ(read("[default]\nWaveBlocks=1\n").wave_blocks, 2);
  EXPECT_EQ(read("[default]\nWaveBlockLen=1003\n").block_len, 1000);
  EXPECT_EQ(read("[default]\nWaveBlockLen=100\n").block_len, 512);
  EXPECT_EQ(read("[default]\nWaveBlockLen=-8\n").block_len, 512);
  EXPECT_EQ(read("[default]\nWaveBlockLen=9000\n").block_len, 4096);
  EXPECT_EQ(read("[default]\nSamplesPerSec=22\n").block_len, 4096);
  EXPECT_EQ(read("[default]\nSamplesPerSec=22\n").samples_per_sec, 22050);
  EXPECT_EQ(read("[default]\nSamplesPerSec=44\n").samples_per_sec, 44100);
  EXPECT_EQ(read("[default]\nSamplesPerSec=16\n").samples_per_sec, 11025);
  // The device's own section overrides "default", key by key.
  MixerSettings o = read(
      "[default]\nRemix=2\nWaveBlocks=4\nWaveBlockLen=1024\n"
      "[Unknown Device]\nWaveBlocks=5\nGoodWavePos=1\n"
      "[general]\nWaveOutDevice=3\ndebug=1\n");
  EXPECT_EQ(o.remix, 2);
  EXPECT_EQ(o.wave_blocks, 5);
  EXPECT_EQ(o.good_wave_pos, 1);
  EXPECT_EQ(o.block_len, 1024);
  EXPECT_EQ(o.wave_out_device, 3);
  EXPECT_EQ(o.debug, 1);
}

TEST(MixerSettingsFile, ShapeTheStream) {
  // 22050 Hz with two 512-byte blocks: the device is opened at that rate and
  // no more than two blocks are ever in flight.
  Rig r("[default]\nSamplesPerSec=22\nWaveBlocks=2\nWaveBlockLen=512\n");
  EXPECT_EQ(r.dev.rate, 22050);
  r.mixer->Play(0, r.mixer->OpenWaveFromMemory(Wav(1, 11025, 8, Bytes(1000, 30)), "t"));
  EXPECT_EQ(r.dev.Queued(), 2u);
  r.Advance(10);  // 220 samples: nothing finished yet
  EXPECT_EQ(r.dev.Queued(), 2u);
  r.Advance(1000);
  EXPECT_TRUE(r.Run(0, 2000, 30));  // doubled to 22050 Hz
  EXPECT_TRUE(r.Run(2000, 2048, 128));
}

TEST(MixerSettingsFile, WaveOutDevicePicksTheOutputByNumber) {
  // Output 0 is the system's default; a number past the outputs means the default.
  // The chosen output's own section shapes the stream.
  const struct {
    const char* number;
    int output;
    int blocks;
  } cases[] = {{"", 0, 3}, {"0", 0, 3}, {"1", 1, 4}, {"2", 2, 5}, {"3", 0, 3}, {"99", 0, 3}, {"-1", 0, 3}};
  for (const auto& c : cases) {
    FakeWaveOut dev;
    dev.outputs = {"Speakers", "Headphones", "HDMI"};
    std::string text = "[Headphones]\nWaveBlocks=4\n[HDMI]\nWaveBlocks=5\n";
    if (*c.number) text += std::string("[general]\nWaveOutDevice=") + c.number + "\n";
    const IniFile ini = IniFile::Parse(text);
    Mixer m(
        dev, [] { return int64_t{0}; }, &ini);
    m.SetActivated(true);
    EXPECT_EQ(dev.output, c.output) << c.number;
    EXPECT_EQ(m.settings().wave_blocks, c.blocks) << c.number;
  }
}
