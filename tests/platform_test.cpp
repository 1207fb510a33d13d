// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of the platform layer that need no display: CP932 text, settings
// files, bitmaps, and the headless platform's script and clock.
#include <gtest/gtest.h>

#include "platform/bmp.h"
#include "platform/headless/headless_platform.h"
#include "platform/ini_file.h"
#include "platform/text.h"

TEST(Cp932Text, RoundTripsJapaneseAndAscii) {
  const std::string s = J("ヘッド abc 名声１００");
  EXPECT_EQ(s.size(), 6u + 5u + 10u);  // 3 kana, " abc ", 5 double-byte
  EXPECT_EQ(Cp932ToUtf8(s), "ヘッド abc 名声１００");
}

TEST(Cp932Text, BackslashByteIsYen) { EXPECT_EQ(Cp932ToUtf8("100\\"), "100¥"); }

TEST(Cp932Text, DamagedBytesNeverStopDecoding) {
  std::string s = J("あい");
  std::string cut = s.substr(0, 3) + " xyz";  // a lead byte followed by a byte no pair ends in
  EXPECT_EQ(Cp932ToUtf8(cut), "あ・ xyz");
  EXPECT_EQ(Cp932ToUtf8(std::string("\x82", 1)), "・");              // lone lead byte at the end
  EXPECT_EQ(Cp932ToUtf8(std::string("\xA0\xFD\xFF", 3)), "・・・");  // bytes that start nothing
  EXPECT_EQ(Cp932ToUtf8(J("ｱ")), "ｱ");                               // half-width katakana are single bytes
}

TEST(Cp932Text, UnmappableBecomesQuestionMark) { EXPECT_EQ(J("a😀b"), "a?b"); }

TEST(IniFile, SectionsKeysAndDefaults) {
  IniFile ini = IniFile::Parse("; comment\r\n[Mixer]\r\nRate = 22050\r\nName=x\r\n[other]\r\nrate=1\r\nbad=12abc\r\n");
  EXPECT_EQ(ini.ReadInt("MIXER", "rate", 0), 22050);
  EXPECT_EQ(ini.ReadInt("Other", "Rate", 0), 1);
  EXPECT_EQ(ini.ReadInt("other", "bad", 7), 7);
  EXPECT_EQ(ini.ReadInt("other", "missing", 7), 7);
  EXPECT_EQ(ini.ReadString("mixer", "name", ""), "x");
  EXPECT_EQ(ini.ReadInt("other", "huge", 3), 3);
  EXPECT_EQ(IniFile::Parse("[a]\nv=99999999999\n").ReadInt("a", "v", 5), 5);
  EXPECT_FALSE(IniFile::Load("/nonexistent/MIXER.INI").has_value());
}

TEST(Bmp, EncodeDecodeRoundTrip) {
  BmpImage img{3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x010203}};
  auto bytes = EncodeBmp24(img);
  EXPECT_EQ(bytes.size(), 54u + 2 * 12);  // rows padded to 12 bytes
  auto back = DecodeBmp(bytes.data(), bytes.size());
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->height, 2);
  EXPECT_EQ(back->pixels, img.pixels);
}

TEST(Bmp, RejectsTruncatedAndHugeHeaders) {
  BmpImage img{4, 4, std::vector<uint32_t>(16, 0xFFFFFF)};
  auto bytes = EncodeBmp24(img);
  for (size_t cut : {size_t{0}, size_t{2}, size_t{30}, size_t{54}, bytes.size() - 1}) {
    EXPECT_FALSE(DecodeBmp(bytes.data(), cut).has_value()) << cut;
  }
  auto huge = bytes;
  huge[18] = 0xFF;
  huge[19] = 0xFF;
  huge[20] = 0xFF;
  huge[21] = 0x7F;
  EXPECT_FALSE(DecodeBmp(huge.data(), huge.size()).has_value());
}

TEST(SoftCanvas, ShapesCopiesAndOr) {
  SoftPicture pic(20, 20);
  Canvas& c = pic.canvas();
  c.brush_color = Rgb(10, 0, 0);
  c.pen_color = Rgb(0, 0, 200);
  c.Rectangle(2, 2, 6, 6);
  EXPECT_EQ(pic.Pixel(2, 2), Rgb(0, 0, 200));  // outline
  EXPECT_EQ(pic.Pixel(3, 3), Rgb(10, 0, 0));   // interior
  EXPECT_EQ(pic.Pixel(6, 6), Rgb(0, 0, 0));    // right/bottom exclusive

  SoftPicture over(20, 20);
  over.SetPixel(3, 3, Rgb(0, 5, 0));
  c.CopyRect(Rect{0, 0, 20, 20}, over, Rect{0, 0, 20, 20}, CopyMode::Or);
  EXPECT_EQ(pic.Pixel(3, 3), Rgb(10, 5, 0));

  // A picture copied onto itself, shifted down (the screen shake).
  SoftPicture shake(4, 4);
  shake.SetPixel(1, 0, Rgb(1, 1, 1));
  shake.canvas().CopyRect(Rect{0, 2, 4, 6}, shake, Rect{0, 0, 4, 4}, CopyMode::Copy);
  EXPECT_EQ(shake.Pixel(1, 2), Rgb(1, 1, 1));

  SoftPicture sprite(2, 1);
  sprite.SetPixel(1, 0, Rgb(9, 9, 9));
  SoftPicture scene(4, 2);
  scene.canvas().brush_color = Rgb(50, 50, 50);
  scene.canvas().FillRect(Rect{0, 0, 4, 2});
  scene.canvas().StretchDrawTransparent(Rect{0, 0, 4, 2}, sprite);
  EXPECT_EQ(scene.Pixel(0, 0), Rgb(50, 50, 50));  // black is transparent
  EXPECT_EQ(scene.Pixel(3, 1), Rgb(9, 9, 9));
}

namespace {

struct RecordingEvents : GameEvents {
  std::vector<std::string> log;
  void FormCreate() override { log.push_back("create"); }
  void FormClose() override { log.push_back("close"); }
  void FormDestroy() override { log.push_back("destroy"); }
  void Timer1Timer() override { ++ticks; }
  void cgMouseDown(MouseButton b, int x, int y) override {
    log.push_back("cg " + std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void cgMouseMove(int, int) override { log.push_back("cgmove"); }
  void bp_boxMouseMove(int, int) override { log.push_back("panelmove"); }
  void selMouseDown(int k, MouseButton, int, int) override { log.push_back("sel" + std::to_string(k)); }
  void selMouseMove(int k, int, int) override { log.push_back("selmove" + std::to_string(k)); }
  void l_btnMouseDown(int k, MouseButton, int, int) override { log.push_back("l_btn" + std::to_string(k)); }
  void l_btnMouseMove(int k, int, int) override { log.push_back("l_btnmove" + std::to_string(k)); }
  void FormKeyDown(int key) override { log.push_back("key" + std::to_string(key)); }
  void item_listClick() override { log.push_back("list"); }
  void item_listKeyDown(int key) override { log.push_back("listkey" + std::to_string(key)); }
  int ticks = 0;
};

void RunUntilClosed(HeadlessPlatform& p) {
  while (!p.Closed()) {
    p.WaitMessage();
    p.ProcessMessages();
  }
}

}  // namespace

TEST(HeadlessPlatform, ScriptRoutesByWidgetNameAndClosesWhenIdle) {
  HeadlessPlatform p;
  RecordingEvents ev;
  p.SetEvents(&ev);
  p.QueueMouseDown("cg", 5, 6, MouseButton::Right);
  p.QueueMouseDown("sel3");
  p.QueueMouseMove("l_btn12");
  p.QueueMouseDown("l_btn1x");  // not a handler name: the picture gets it
  p.QueueKey(vk::kF1);
  RunUntilClosed(p);
  std::vector<std::string> want = {"cg 1 5,6", "sel3", "l_btnmove12", "cg 0 0,0", "key112", "close"};
  EXPECT_EQ(ev.log, want);
  EXPECT_GT(ev.ticks, p.idle_close_ticks - 1);
}

TEST(HeadlessPlatform, MovesOverThePanelsAndTheirPicturesReachThePanelHandler) {
  HeadlessPlatform p;
  RecordingEvents ev;
  p.SetEvents(&ev);
  WidgetSpec box;
  box.name = "item_box";
  box.kind = WidgetKind::Panel;
  p.CreateWidget(box);
  WidgetSpec back;
  back.name = "item_l_cg";
  back.parent = "item_box";
  p.CreateWidget(back);
  p.QueueMouseMove("item_box");
  p.QueueMouseMove("item_l_cg");
  p.QueueMouseDown("item_l_cg");  // a press on the background does nothing
  p.QueueClose();
  RunUntilClosed(p);
  std::vector<std::string> want = {"panelmove", "panelmove", "close"};
  EXPECT_EQ(ev.log, want);
}

TEST(HeadlessPlatform, HiddenWidgetsLetThePressThroughToThePicture) {
  HeadlessPlatform p;
  RecordingEvents ev;
  p.SetEvents(&ev);
  WidgetSpec panel;
  panel.name = "box";
  panel.kind = WidgetKind::Panel;
  panel.left = 10;
  panel.top = 20;
  panel.visible = false;
  p.CreateWidget(panel);
  WidgetSpec button;
  button.name = "l_btn7";
  button.kind = WidgetKind::Label;
  button.parent = "box";
  button.left = 1;
  button.top = 2;
  p.CreateWidget(button);
  p.QueueMouseDown("l_btn7", 3, 4);
  p.QueueAction([&] { p.FindWidget("box")->SetVisible(true); });
  p.QueueMouseDown("l_btn7", 3, 4);
  p.QueueMouseMove("box", 1, 1);  // not a panel of the game's: nobody listens
  p.QueueClose();
  RunUntilClosed(p);
  std::vector<std::string> want = {"cg 0 14,26", "l_btn7", "cgmove", "close"};
  EXPECT_EQ(ev.log, want);
}

TEST(HeadlessPlatform, TicksDelayInputOnTheVirtualClock) {
  HeadlessPlatform p;
  RecordingEvents ev;
  p.SetEvents(&ev);
  int ticks_at_action = -1;
  p.QueueTicks(10);
  p.QueueAction([&] { ticks_at_action = ev.ticks; });
  p.QueueClose();
  RunUntilClosed(p);
  EXPECT_EQ(ticks_at_action, 10);
  EXPECT_EQ(p.NowMs(), 10 * 90);
}

TEST(HeadlessPlatform, TimerIntervalChangesWhileRunning) {
  HeadlessPlatform p;
  RecordingEvents ev;
  p.SetEvents(&ev);
  p.QueueTicks(2);
  p.QueueAction([&] { p.SetTimerInterval(100); });
  p.QueueTicks(3);
  p.QueueClose();
  RunUntilClosed(p);
  EXPECT_EQ(ev.ticks, 5);
  EXPECT_EQ(p.NowMs(), 2 * 90 + 3 * 100 - 10);  // the tick after the change was already due at +90
}

TEST(HeadlessPlatform, DialogAnswersComeFromTheScript) {
  HeadlessPlatform p;
  p.QueueDialogAnswer(true);
  EXPECT_TRUE(p.AskYesNo("q1"));
  EXPECT_FALSE(p.AskYesNo("q2"));  // default answer
  EXPECT_EQ(p.questions.size(), 2u);
}

TEST(FakeWaveOut, PlaysBlocksOnVirtualTimeInOrder) {
  FakeWaveOut w;
  std::vector<int> done;
  w.SetDoneHandler([&](int id) { done.push_back(id); });
  ASSERT_TRUE(w.Open(11025, 0, nullptr));
  w.Write(std::vector<uint8_t>(1102, 1), 1);
  w.Write(std::vector<uint8_t>(1102, 2), 2);
  w.AdvanceTo(0);
  w.AdvanceTo(100);  // 1102.5 samples
  EXPECT_EQ(done, std::vector<int>{1});
  w.AdvanceTo(200);
  EXPECT_EQ(done, (std::vector<int>{1, 2}));
  EXPECT_EQ(w.played.size(), 2204u);
  w.fail_open = true;
  std::string err;
  EXPECT_FALSE(w.Open(11025, 0, &err));
  EXPECT_FALSE(err.empty());
}
