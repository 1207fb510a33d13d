// SPDX-License-Identifier: GPL-3.0-or-later
// The message log (storage, byte rules, colours, drawing) and the choice buttons
// (waits, picks, gaps, slides, hover, the CLICK prompt).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/sound.h"
#include "screen_fixture.h"

namespace {

std::string Kana(size_t bytes) {  // double-byte text of an even length
  std::string s;
  while (s.size() < bytes) s += J("あ");
  return s;
}

bool DrewText(const SoftCanvas& c, const std::string& text) {
  return std::any_of(c.texts.begin(), c.texts.end(), [&](const TextRecord& t) { return t.text == text; });
}

}  // namespace

TEST(LogBytes, PaddingAndTheSplitAfterByte44) {
  ScreenRun r;
  Game& g = *r.g;
  LogLine(g, Kana(98));
  EXPECT_EQ(g.MessageLog[0].text, Kana(98));

  LogLine(g, Kana(96) + "x");  // 97 bytes: padded to 98, not split
  EXPECT_EQ(g.MessageLog[0].text, Kana(96) + "x ");
  EXPECT_EQ(g.MessageLog[1].text, Kana(98));

  LogColoured(g, Kana(98) + "1", "red");  // 99 bytes: padded to 100, then 44 + "　" 56
  EXPECT_EQ(g.MessageLog[1].text, Kana(44));
  EXPECT_EQ(g.MessageLog[0].text, J("　") + Kana(54) + "1 ");
  EXPECT_EQ(g.MessageLog[0].text.size(), 58u);
  EXPECT_EQ(g.MessageLog[0].color, 307);
  EXPECT_EQ(g.MessageLog[1].color, 307);

  LogLine(g, Kana(300));  // the continuation is never split again
  EXPECT_EQ(g.MessageLog[1].text, Kana(44));
  EXPECT_EQ(g.MessageLog[0].text.size(), 2u + 256u);
}

TEST(LogBytes, SplitNeverCutsADoubleByteCharacter) {
  ScreenRun r;
  Game& g = *r.g;
  // One digit shifts the characters: byte 44 would be the lead byte of a kana.
  const std::string line = "7" + Kana(100) + "1";
  LogLine(g, line);
  EXPECT_EQ(g.MessageLog[1].text, "7" + Kana(42));
  EXPECT_EQ(g.MessageLog[0].text, J("　") + Kana(58) + "1");
  EXPECT_EQ(Cp932ToUtf8(g.MessageLog[1].text).find("・"), std::string::npos);
  EXPECT_EQ(Cp932ToUtf8(g.MessageLog[0].text).find("・"), std::string::npos);
}

TEST(LogBytes, EmptyLinesClearLogAndTheTwentyOneEntries) {
  ScreenRun r;
  Game& g = *r.g;
  for (int i = 1; i <= 21; ++i) LogLine(g, (i < 10 ? "0" : "") + Num(i));
  EXPECT_EQ(g.MessageLog[20].text, "01");
  EXPECT_EQ(g.MessageLog[0].text, "21");
  LogLine(g, "");  // a blank row; the first line falls off
  EXPECT_EQ(g.MessageLog[0].text, "");
  EXPECT_EQ(g.MessageLog[1].text, "21");
  EXPECT_EQ(g.MessageLog[20].text, "02");

  ClearLog(g);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(g.MessageLog[i].text, "") << i;
  EXPECT_EQ(g.MessageLog[20].text, "02");  // kept until the next push
  LogLine(g, "ab");
  EXPECT_EQ(g.MessageLog[20].text, "");
}

TEST(LogColours, NamesCodesAndRipple) {
  EXPECT_EQ(LogColourCode("blue2"), 312);
  EXPECT_EQ(LogColourCode("Green"), 4);

  Rgb c;
  ASSERT_TRUE(LogRowColour(0, 7, &c));
  EXPECT_EQ(c, Rgb(255, 255, 255));
  ASSERT_TRUE(LogRowColour(301, 13, &c));  // phase 3
  EXPECT_EQ(c, Rgb(0, 181, 14));
  ASSERT_TRUE(LogRowColour(306, 15, &c));  // aqua is blue's ramp
  EXPECT_EQ(c, Rgb(15, 210, 232));
  ASSERT_TRUE(LogRowColour(310, 8 + 4, &c));  // an 8-step cycle
  EXPECT_EQ(c, Rgb(204, 136, 153));
  ASSERT_TRUE(LogRowColour(312, 999 + 5, &c));  // 1004 mod 12 = 8
  EXPECT_EQ(c, Rgb(0, 0, 255));
  EXPECT_FALSE(LogRowColour(4, 0, &c));
  EXPECT_FALSE(LogRowColour(311, 0, &c));
}

TEST(LogDraw, RowsColoursAndTheUnknownColourKeepingThePreviousOne) {
  ScreenRun r;
  r.Start();
  Game& g = *r.g;
  LogLine(g, "x6");  // seventh newest: never drawn
  LogColoured(g, J("みどり"), "green");
  LogLine(g, "");
  LogColoured(g, J("なぞ"), "mauve");  // code 4
  LogColoured(g, J("あか"), "red");
  LogLine(g, "ok");
  LogColoured(g, J("はなし"), "pink2");
  g.FrameCounter = 998;
  SoftCanvas& c = r.Cg();
  c.ClearRecord();
  c.font.color = Rgb(1, 2, 3);
  DrawMessageLog(g, c);

  ASSERT_EQ(c.texts.size(), 5u);  // the empty entry and the seventh line are not drawn
  const int ys[] = {285, 272, 259, 246, 220};
  for (size_t i = 0; i < c.texts.size(); ++i) {
    EXPECT_EQ(c.texts[i].x, 2);
    EXPECT_EQ(c.texts[i].y, ys[i]);
    EXPECT_EQ(c.texts[i].font.size, 9);
    EXPECT_TRUE(c.texts[i].font.bold);
    EXPECT_TRUE(c.texts[i].opaque);
  }
  EXPECT_EQ(c.texts[0].font.color, Rgb(238, 170, 187));  // pink2, (998 + 0) mod 8 = 6
  EXPECT_EQ(c.texts[1].font.color, Rgb(255, 255, 255));  // plain
  EXPECT_EQ(c.texts[2].font.color, Rgb(255, 70, 70));    // red, (998 + 2) mod 10 = 0
  EXPECT_EQ(c.texts[3].font.color, Rgb(255, 70, 70));    // unknown name: red stays
  EXPECT_EQ(c.texts[4].font.color, Rgb(0, 181, 14));     // green, (998 + 5) mod 10 = 3
  EXPECT_EQ(c.font.size, 10);
}

TEST(LogDraw, HiddenWhileTheBonusPanelShows) {
  ScreenRun r;
  r.Start();
  Game& g = *r.g;
  LogLine(g, "ab");
  r.W("bp_box").SetVisible(true);
  r.Cg().ClearRecord();
  DrawMessageLog(g, r.Cg());
  EXPECT_TRUE(r.Cg().texts.empty());
}

TEST(ChoiceButtons, SlideInAndOut) {
  ScreenRun r;
  r.Start();
  Game& g = *r.g;
  g.GamePhase = 0;
  g.log.ChoiceSlide = -200;
  g.log.ChoiceActive = 1;
  std::vector<int> in;
  for (int i = 0; i < 8; ++i) {
    StepChoiceButtons(g);
    DrawChoiceButtons(g, r.Cg());
    in.push_back(g.log.ChoiceSlide);
  }
  EXPECT_EQ(in, (std::vector<int>{-99, -49, -24, -11, -5, -2, 0, 0}));
  g.log.ChoiceActive = 0;
  std::vector<int> out;
  for (int i = 0; i < 9; ++i) {
    StepChoiceButtons(g);
    DrawChoiceButtons(g, r.Cg());
    out.push_back(g.log.ChoiceSlide);
  }
  EXPECT_EQ(out, (std::vector<int>{-151, -226, -264, -283, -292, -297, -299, -300, -300}));

  g.GamePhase = -1;  // nothing moves before play
  g.log.ChoiceActive = 1;
  StepChoiceButtons(g);
  DrawChoiceButtons(g, r.Cg());
  EXPECT_EQ(g.log.ChoiceSlide, -300);
}

TEST(ChoiceButtons, GapsHoverFlashAndClickPrompt) {
  ScreenRun r;
  r.Start();
  Game& g = *r.g;
  g.GamePhase = 0;
  g.ChoiceCaption = {"", "", "b", "", "d", ""};
  g.log.ChoiceSlide = -2;  // this tick's step brings it to rest
  g.log.ChoiceActive = 1;
  g.log.HoveredChoice = 4;
  g.FrameCounter = 10;
  SoftCanvas& c = r.Cg();
  c.ClearRecord();
  StepChoiceButtons(g);
  DrawChoiceButtons(g, c);
  ASSERT_EQ(c.texts.size(), 2u);
  EXPECT_EQ(c.texts[0].text, "b");
  EXPECT_EQ(c.texts[0].x, 205);
  EXPECT_EQ(c.texts[0].y, 224 + 12 - c.TextHeight("b") / 2);
  EXPECT_EQ(c.texts[0].font.color, Rgb(255, 255, 255));
  EXPECT_EQ(c.texts[1].text, "d");
  EXPECT_EQ(c.texts[1].y, 274 + 12 - c.TextHeight("d") / 2);
  EXPECT_EQ(c.texts[1].font.color, Rgb(255, 0, 0));  // flash phase 10 mod 8 = 2
  EXPECT_EQ(c.texts[1].font.size, 10);
  EXPECT_FALSE(DrewText(c, "CLICK"));  // no wait, no prompt

  g.log.ChoiceActive = 0;  // sliding out: 0 -> -151, drawn 302 px right
  g.WaitState = 0;
  c.ClearRecord();
  StepChoiceButtons(g);
  DrawChoiceButtons(g, c);
  ASSERT_EQ(c.texts.size(), 3u);
  EXPECT_EQ(c.texts[0].x, 200 + 302 + 5);
  const TextRecord& click = c.texts[2];
  EXPECT_EQ(click.text, "CLICK");
  EXPECT_EQ(click.y, 290);
  EXPECT_EQ(click.font.size, 8);
  c.font.size = 8;
  EXPECT_EQ(click.x, 300 - c.TextWidth("CLICK"));
  c.font.size = 10;
  EXPECT_EQ(c.font.size, 10);

  r.W("bp_box").SetVisible(true);  // no prompt during character creation
  c.ClearRecord();
  StepChoiceButtons(g);
  DrawChoiceButtons(g, c);
  EXPECT_FALSE(DrewText(c, "CLICK"));
}

// The nested waits, driven by scripted input through the shell's event routing.
class ChoiceWaits : public ::testing::Test {
 protected:
  void SetUp() override {
    r.Start();
    r.g->GamePhase = 0;
    ShowChoiceAreas(*r.g, true);
  }
  ScreenRun r;
};

TEST_F(ChoiceWaits, TalkWaitBlocksUntilAClickAndShowsThePrompt) {
  Game& g = *r.g;
  bool prompt_seen = false;
  bool released_early = false;
  r.plat.QueueTicks(3);
  r.plat.QueueAction([&] {
    prompt_seen = DrewText(r.Cg(), "CLICK");
    released_early = g.WaitState != 0;
  });
  r.plat.QueueMouseDown("cg", 10, 10);
  const int64_t ticks = r.plat.ticks_fired;
  LogTalkWait(g, J("まってね"));
  EXPECT_EQ(g.MessageLog[0].text, J("まってね"));
  EXPECT_EQ(g.MessageLog[0].color, 310);
  EXPECT_TRUE(prompt_seen);
  EXPECT_FALSE(released_early);
  EXPECT_GE(r.plat.ticks_fired - ticks, 3);
  EXPECT_EQ(g.WaitState, 1);
  EXPECT_EQ(r.plat.PendingInputs(), 0u);
}

TEST_F(ChoiceWaits, GapsAreNotClickableAndPictureClicksDoNotAnswer) {
  Game& g = *r.g;
  int result_meanwhile = -9;
  r.plat.QueueMouseDown("sel1");  // empty caption
  r.plat.QueueMouseDown("sel3");
  r.plat.QueueMouseDown("cg");  // a click on the picture releases nothing
  r.plat.QueueAction([&] { result_meanwhile = g.ChoiceResult; });
  r.plat.QueueMouseDown("sel4");
  AskChoice(g, "", "b", "", "d");
  EXPECT_EQ(result_meanwhile, 0);
  EXPECT_EQ(g.ChoiceResult, 4);
  EXPECT_EQ(g.log.ChoiceResultCaption, "d");
  EXPECT_EQ(g.ChoicePending, 0);
  EXPECT_EQ(g.log.ChoiceActive, 0);
  EXPECT_EQ(g.WaitState, 1);
  EXPECT_EQ(g.ChoiceCaption[2], "b");  // captions stay for the slide out
}

TEST_F(ChoiceWaits, IdleButtonAreaCountsAsAClickOnThePicture) {
  Game& g = *r.g;
  // Sliding out after a pick, and as start-up leaves them (active, nothing asked yet):
  // a press on the invisible area must release the wait, not vanish.
  for (int active : {0, 1}) {
    g.log.ChoiceActive = active;
    r.plat.QueueMouseDown("sel2");
    LogLineWait(g, "ab");
    EXPECT_EQ(g.WaitState, 1) << "ChoiceActive " << active;
    EXPECT_EQ(r.plat.PendingInputs(), 0u);
    EXPECT_EQ(g.ChoiceResult, 0);
  }
}

TEST_F(ChoiceWaits, RightClickOnAButtonCancelsACancellableChoice) {
  Game& g = *r.g;
  g.menu_cancel_allowed = 1;
  r.plat.QueueMouseDown("sel2", 5, 5, MouseButton::Right);
  EXPECT_EQ(AskChoice(g, "a", "b", "c", "d"), 5);  // the answer, also left in ChoiceResult
  EXPECT_EQ(g.ChoiceResult, 5);
  EXPECT_EQ(g.log.ChoiceResultCaption, "");
  EXPECT_EQ(g.menu_cancel_allowed, 0);
  EXPECT_EQ(g.log.ChoiceActive, 0);
  EXPECT_GT(g.log.CancelBlink, 0);

  // The blink hides the buttons on every other tick while they slide out.
  std::vector<bool> shown;
  while (g.log.CancelBlink > 0) {
    r.Cg().ClearRecord();
    StepChoiceButtons(g);
    DrawChoiceButtons(g, r.Cg());
    shown.push_back(DrewText(r.Cg(), "a"));
  }
  EXPECT_EQ(shown, (std::vector<bool>{false, true, false, true, false, true}));
}

TEST_F(ChoiceWaits, ReleaseClickWaitRules) {
  Game& g = *r.g;
  g.WaitState = 0;
  g.ChoicePending = 1;
  EXPECT_FALSE(ReleaseClickWait(g));
  EXPECT_EQ(g.WaitState, 0);  // a pending choice changes nothing
  g.ChoicePending = 0;
  EXPECT_TRUE(ReleaseClickWait(g));
  EXPECT_EQ(g.WaitState, 1);
  EXPECT_FALSE(ReleaseClickWait(g));
  EXPECT_EQ(g.WaitState, 1);
  g.WaitState = -1;
  EXPECT_FALSE(ReleaseClickWait(g));
  EXPECT_EQ(g.WaitState, -1);  // closing stays closing
}

TEST_F(ChoiceWaits, ClosingEndsEveryWaitAndMakesLaterOnesNoOps) {
  Game& g = *r.g;
  r.plat.QueueTicks(2);
  r.plat.QueueClose();
  AskChoice(g, "a", "b", "", "");
  EXPECT_TRUE(r.plat.Closed());
  EXPECT_EQ(g.WaitState, -1);
  EXPECT_EQ(g.ChoiceResult, 0);
  EXPECT_EQ(g.ChoicePending, 0);

  // Scripts still running drain without blocking or writing.
  const std::string newest = g.MessageLog[0].text;
  LogLineWait(g, J("もう遅い"));
  LogTalkWait(g, J("もう遅い"));
  LogLine(g, "zz");
  EXPECT_EQ(g.MessageLog[0].text, newest);
  g.ChoiceResult = -1;
  AskChoice(g, "x", "y", "", "");
  EXPECT_EQ(g.ChoiceResult, -1);  // as the caller preset it
  EXPECT_EQ(g.ChoiceCaption[1], "a");
  EXPECT_EQ(g.ChoicePending, 0);
  WaitForClick(g);
  EXPECT_EQ(g.WaitState, -1);
}

TEST_F(ChoiceWaits, NoPicksWhileTheBonusPanelShows) {
  Game& g = *r.g;
  g.ChoiceCaption = {"", "a", "b", "c", "d", ""};
  g.ChoicePending = 1;
  g.log.ChoiceActive = 1;
  r.W("bp_box").SetVisible(true);
  SelMouseDown(g, 1, MouseButton::Left);
  EXPECT_EQ(g.ChoicePending, 1);
  r.W("bp_box").SetVisible(false);
  SelMouseDown(g, 1, MouseButton::Left);
  EXPECT_EQ(g.ChoicePending, 0);
  EXPECT_EQ(g.ChoiceResult, 1);
}

namespace {

// A short silent 8-bit mono RIFF wave.
void WriteWave(const std::filesystem::path& path) {
  const uint32_t samples = 64;
  std::string b = "RIFF";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 255);
  };
  auto u16 = [&](uint16_t v) {
    for (int i = 0; i < 2; ++i) b += static_cast<char>((v >> (8 * i)) & 255);
  };
  u32(36 + samples);
  b += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(1);
  u32(11025);
  u32(11025);
  u16(1);
  u16(8);
  b += "data";
  u32(samples);
  b += std::string(samples, static_cast<char>(128));
  std::ofstream(path, std::ios::binary) << b;
}

}  // namespace

TEST_F(ChoiceWaits, HoverSoundOnEnteringAButtonWithACaption) {
  Game& g = *r.g;
  WriteWave(r.dir / "dat" / "key.wav");
  WriteWave(r.dir / "dat" / "other.wav");
  OpenSoundChannels(g);
  ASSERT_NE(g.sound.mixer, nullptr);
  g.ChoiceCaption = {"", "a", "b", "", "d", ""};
  g.log.ChoiceActive = 1;
  // Channel 0's current wave tells whether a move asked for key.wav.
  auto move_plays_key = [&](int k) {
    PlayWave(g, 0, "other.wav");
    SelMouseMove(g, k, 4, 4);
    return g.sound.current[0] != nullptr && g.sound.current[0]->name == "key.wav";
  };
  ASSERT_TRUE(g.sound.current[0] == nullptr || g.sound.current[0]->name != "key.wav");
  EXPECT_TRUE(move_plays_key(1));
  EXPECT_FALSE(move_plays_key(1));  // within the same button
  EXPECT_TRUE(move_plays_key(2));
  EXPECT_TRUE(move_plays_key(1));   // and back: twice in all
  EXPECT_FALSE(move_plays_key(3));  // a gap is silent
  EXPECT_EQ(g.log.HoveredChoice, 3);
  EXPECT_TRUE(move_plays_key(4));
  g.log.ChoiceActive = 0;
  EXPECT_FALSE(move_plays_key(1));  // idle buttons ignore the mouse
  EXPECT_EQ(g.log.HoveredChoice, 4);
  g.log.ChoiceActive = 1;
  g.GamePhase = -1;
  EXPECT_FALSE(move_plays_key(1));  // not before play
  CloseSoundChannels(g);
}
