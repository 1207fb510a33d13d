// SPDX-License-Identifier: GPL-3.0-or-later
// Playing from the keyboard, the Ctrl skip, the mute and the remembered settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/events.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "shell/settings.h"
#include "shell/skip.h"
#include "tests/mixer_test_wav.h"
#include "tests/shell_fixture.h"

namespace {

struct DesktopKeys : ::testing::Test {
  void SetUp() override {
    run.Start();
    g().GamePhase = 0;
    ShowChoiceAreas(g(), true);
  }
  Game& g() { return *run.g; }
  void Key(int vk) { run.events.FormKeyDown(vk); }
  GameRun run;
};

TEST_F(DesktopKeys, NumberKeysEnterAndEscapePlayAsTheMouseDoes) {
  auto& p = run.plat;
  // A choice with a gap: the gap's key and Enter do nothing, the third key picks.
  p.QueueKey('1');
  p.QueueKey(vk::kReturn);
  p.QueueKey(vk::kEscape);  // not cancellable here
  p.QueueAction([&] {
    EXPECT_EQ(g().ChoicePending, 1);
    EXPECT_EQ(g().ChoiceResult, 0);
  });
  p.QueueKey('3');
  AskChoice(g(), "", "b", "c", "");
  EXPECT_EQ(g().ChoiceResult, 3);
  EXPECT_EQ(g().log.ChoiceResultCaption, "c");

  // Enter ends a click wait; a number key does not (it picks buttons only).
  p.QueueKey('2');
  p.QueueAction([&] { EXPECT_EQ(g().WaitState, 0); });
  p.QueueKey(vk::kReturn);
  LogLineWait(g(), "ab");
  EXPECT_EQ(g().WaitState, 1);
  EXPECT_EQ(p.PendingInputs(), 0u);

  // Esc is the right-click cancel of a cancellable menu.
  g().menu_cancel_allowed = 1;
  p.QueueKey(vk::kEscape);
  AskChoice(g(), "a", "b", "c", "d");
  EXPECT_EQ(g().ChoiceResult, 5);

  // An open panel keeps the buttons out of reach of the keys, as of the mouse.
  run.W("item_box").SetVisible(true);
  p.QueueKey('1');
  p.QueueKey(vk::kReturn);
  p.QueueAction([&] { run.W("item_box").SetVisible(false); });
  p.QueueKey('4');
  AskChoice(g(), "a", "b", "c", "d");
  EXPECT_EQ(g().ChoiceResult, 4);

  // Before play Esc does nothing (a right-click would leave the splash).
  g().GamePhase = -2;
  Key(vk::kEscape);
  EXPECT_EQ(g().GamePhase, -2);
  Key(vk::kReturn);
  EXPECT_EQ(g().GamePhase, -1);
}

TEST_F(DesktopKeys, CtrlSkipsClickWaitsAtASteadyPaceAndStopsAtAChoice) {
  auto& p = run.plat;
  std::vector<int64_t> released_at;
  p.QueueAction([&] { p.control_held = true; });
  for (int i = 0; i < 5; ++i) {
    LogLineWait(g(), "ab");
    released_at.push_back(p.NowMs());
  }
  for (size_t i = 1; i < released_at.size(); ++i) {
    EXPECT_GE(released_at[i] - released_at[i - 1], kSkipPaceMs);
    EXPECT_LE(released_at[i] - released_at[i - 1], 2 * kSkipPaceMs + 100);  // steady, not stalled
  }

  // Held through a choice, a panel and the title, it answers none of them.
  p.QueueTicks(10);
  p.QueueAction([&] { EXPECT_EQ(g().ChoicePending, 1); });
  p.QueueKey('2');
  AskChoice(g(), "a", "b", "", "");
  EXPECT_EQ(g().ChoiceResult, 2);

  for (const char* panel : {"bp_box", "item_box"}) {
    run.W(panel).SetVisible(true);
    g().WaitState = 0;
    for (int i = 0; i < 5; ++i) p.ProcessMessages(), p.WaitMessage();
    EXPECT_EQ(g().WaitState, 0) << panel;
    run.W(panel).SetVisible(false);
  }
  g().GamePhase = -1;
  for (int i = 0; i < 5; ++i) p.ProcessMessages(), p.WaitMessage();
  EXPECT_EQ(g().WaitState, 0);

  // Let go, and waits wait for the player again.
  g().GamePhase = 0;
  p.control_held = false;
  for (int i = 0; i < 5; ++i) p.ProcessMessages(), p.WaitMessage();
  EXPECT_EQ(g().WaitState, 0);
  g().WaitState = 1;
}

TEST_F(DesktopKeys, MuteSilencesEveryChannelAndIsRememberedWithTheScale) {
  const testwav::Bytes wav = testwav::Wav(1, 11025, 8, testwav::Bytes(40000, 200));  // 3.6 s
  std::ofstream(run.dir / "dat" / "a.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(wav.data()), static_cast<long>(wav.size()));
  Mixer& mixer = *g().sound.mixer;

  Key(vk::kM);
  EXPECT_TRUE(g().sound.muted);
  PlayWave(g(), 1, "a.wav");
  EXPECT_EQ(mixer.QueueLength(1), 0u);
  Key(vk::kM);
  PlayWave(g(), 1, "a.wav");
  EXPECT_EQ(mixer.QueueLength(1), 1u);
  auto play_for = [&](int ms) {
    for (const int64_t end = run.plat.NowMs() + ms; run.plat.NowMs() < end;) {
      run.plat.ProcessMessages();
      run.plat.WaitMessage();
    }
  };
  play_for(100);
  const std::vector<uint8_t>& out = run.plat.fake_audio().played;
  EXPECT_NE(std::count(out.begin(), out.end(), 200), 0);  // the sound is heard
  Key(vk::kM);                                            // muting drops what was still to play
  EXPECT_EQ(mixer.QueueLength(1), 0u);
  play_for(1000);
  const size_t after_mute = out.size();
  play_for(2000);
  EXPECT_EQ(out.size(), after_mute) << "nothing more reaches the output";
  EXPECT_LT(std::count(out.begin(), out.end(), 200), 40000 / 4) << "the sound was cut short";

  // + and - step the scale within 1..4; F11 toggles full screen.
  for (int i = 0; i < 5; ++i) Key(vk::kPlus);
  EXPECT_EQ(run.plat.WindowScale(), 4);
  Key(vk::kMinus);
  EXPECT_EQ(run.plat.WindowScale(), 3);
  Key(vk::kF11);
  EXPECT_TRUE(run.plat.FullScreen());
  Key(vk::kF11);
  EXPECT_FALSE(run.plat.FullScreen());

  // The next run starts muted, at the same scale.
  HeadlessPlatform again(run.dir.string());
  auto g2 = std::make_unique<Game>(again);
  ShellEvents events2(*g2);
  again.SetEvents(&events2);
  CreateMainWindow(*g2);
  events2.FormCreate();
  EXPECT_TRUE(g2->sound.muted);
  EXPECT_EQ(again.WindowScale(), 3);
  events2.FormDestroy();
  again.SetEvents(nullptr);
}

TEST(DesktopSettingsFile, RoundTripAndDamagedValues) {
  for (int scale = kMinScale; scale <= kMaxScale; ++scale) {
    for (bool muted : {false, true}) {
      const DesktopSettings back = ParseSettings(FormatSettings({scale, muted}));
      EXPECT_EQ(back.scale, scale);
      EXPECT_EQ(back.muted, muted);
    }
  }
  struct Case {
    const char* text;
    int scale;
    bool muted;
  } cases[] = {
      {"", 1, false},
      {"[window]\nscale=0\n[sound]\nmute=1\n", 1, true},
      {"[window]\nscale=5\n", 1, false},
      {"[WINDOW]\r\nScale=2\r\n", 2, false},
      {"[window]\nscale=x\n[sound]\nmute=yes\n", 1, false},
      {"\xff\xfe garbage", 1, false},
  };
  for (const Case& c : cases) {
    const DesktopSettings s = ParseSettings(c.text);
    EXPECT_EQ(s.scale, c.scale) << c.text;
    EXPECT_EQ(s.muted, c.muted) << c.text;
  }
}

}  // namespace
