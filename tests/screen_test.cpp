// SPDX-License-Identifier: GPL-3.0-or-later
// Screen composition: the picture table, scene pictures, sprite frames, the enemy
// blink, the shake, the layer rules and the panel layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "fx_fixture.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/panel.h"
#include "presentation/screen.h"
#include "screen_fixture.h"

namespace {

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};

Rgb FrameColour(int i) { return Rgb(40 + 30 * i, 100, 20); }

// A strip of six square frames of side `side`, frame i in FrameColour(i).
BmpImage Strip(int side) {
  BmpImage img;
  img.width = 6 * side;
  img.height = side;
  img.pixels.resize(static_cast<size_t>(img.width) * side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < img.width; ++x)
      img.pixels[static_cast<size_t>(y) * img.width + x] = FrameColour(x / side).Packed();
  return img;
}

bool DrewText(const SoftCanvas& c, const std::string& text) {
  return std::any_of(c.texts.begin(), c.texts.end(), [&](const TextRecord& t) { return t.text == text; });
}

}  // namespace

TEST(ScreenSurfaces, PictureTableAndTheMaskOfSlotZero) {
  ScreenRun r;
  BmpImage opening;
  opening.width = opening.height = 300;
  opening.pixels.assign(300 * 300, kBlue.Packed());
  for (int x = 0; x < 300; ++x) opening.pixels[10 * 300 + x] = 0;  // a black row
  opening.pixels[20 * 300 + 7] = 0;                                // and a black dot
  r.WritePicture("00.bmp", opening);
  r.Start();
  ScreenState& s = r.g->screen;

  ASSERT_NE(s.cg, nullptr);
  EXPECT_EQ(s.cg, r.W("cg").picture());
  EXPECT_EQ(s.bak, r.W("bak").picture());
  for (int i = 0; i < 100; ++i) ASSERT_NE(s.PictureSlots[i], nullptr) << i;
  EXPECT_EQ(s.PictureSlots[0]->Pixel(5, 5), kBlue);
  EXPECT_EQ(Background(*r.g)->Pixel(5, 5), kBlue);
  const Picture& mask = *s.PictureSlots[kMaskBase];
  EXPECT_EQ(mask.Pixel(123, 10), colors::kWhite);
  EXPECT_EQ(mask.Pixel(7, 20), colors::kWhite);
  EXPECT_EQ(mask.Pixel(8, 20), colors::kBlack);
  EXPECT_EQ(mask.Pixel(123, 11), colors::kBlack);
}

TEST(ScreenSurfaces, ShowCgMissingOrBrokenFileKeepsTheScene) {
  ScreenRun r;
  r.Start();  // no 00.bmp: the scene starts black
  Game& g = *r.g;
  EXPECT_EQ(Background(g)->Pixel(1, 1), colors::kBlack);
  r.WritePicture("a.bmp", kRed);
  ShowCg(g, "a.bmp");
  EXPECT_EQ(Background(g)->Pixel(299, 299), kRed);
  ASSERT_NE(g.screen.haikei, nullptr);

  ShowCg(g, "missing.bmp");
  std::ofstream(r.dir / "cg" / "broken.bmp", std::ios::binary) << "BM not really a bitmap";
  ShowCg(g, "broken.bmp");
  EXPECT_EQ(Background(g)->Pixel(150, 150), kRed);
  EXPECT_EQ(g.screen.haikei->Pixel(150, 150), kRed);

  r.WritePicture("small.bmp", kBlue, 100, 50);  // covers only the top left
  ShowCg(g, "small.bmp");
  EXPECT_EQ(Background(g)->Pixel(99, 49), kBlue);
  EXPECT_EQ(Background(g)->Pixel(100, 49), kRed);
  EXPECT_EQ(Background(g)->Pixel(99, 50), kRed);
}

TEST(ScreenSprites, FramesAreCutForNamedMonstersOnly) {
  ScreenRun r;
  r.Start();
  Game& g = *r.g;
  g.monster[3].name = "a";
  g.monster[3].size = 5;
  g.monster[4].name = "b";  // named, but no strip on disk
  g.monster[4].size = 5;
  g.monster[5].size = 5;     // a strip, but no name
  g.monster[40].name = "c";  // beyond the cut sets
  g.monster[40].size = 5;
  r.WritePicture("man3.bmp", Strip(10));
  r.WritePicture("man5.bmp", Strip(10));
  r.WritePicture("man40.bmp", Strip(10));
  CutSpriteFrames(g);
  for (int i = 0; i < 6; ++i) {
    const Picture* f = g.screen.PictureSlots[kSpriteBase + 6 * 3 + i].get();
    ASSERT_NE(f, nullptr) << i;
    EXPECT_EQ(f->Width(), 10);
    EXPECT_EQ(f->Height(), 10);
    EXPECT_EQ(f->Pixel(0, 0), FrameColour(i));
    EXPECT_EQ(f->Pixel(9, 9), FrameColour(i));
    EXPECT_EQ(g.screen.PictureSlots[kSpriteBase + 6 * 4 + i], nullptr);
    EXPECT_EQ(g.screen.PictureSlots[kSpriteBase + 6 * 5 + i], nullptr);
    EXPECT_EQ(g.screen.PictureSlots[kSpriteBase + 6 * 40 + i], nullptr);
  }
}

class ScreenFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    r.Start();
    g().GamePhase = 0;
    g().monster[3].name = "a";
    g().monster[3].size = 5;
    r.WritePicture("man3.bmp", Strip(10));
    CutSpriteFrames(g());
    g().in_battle = 1;
    g().foe_index = 1;
    g().unit[1].map_kind = 3;
    g().unit[1].size = 5;
    g().unit[1].map_active = 1;
  }
  Game& g() { return *r.g; }
  // The centre of the picture after one composed frame.
  Rgb CentreAfterFrame() {
    StepFrame(g());
    DrawFrame(g());
    return g().screen.cg->Pixel(150, 150);
  }
  ScreenRun r;
};

TEST_F(ScreenFrames, EnemyFrameFollowsTheAnimationCounter) {
  for (int f : {0, 4, 11}) {
    g().FrameCounter = f;
    EXPECT_EQ(CentreAfterFrame(), FrameColour(f % 6)) << f;
  }
  // The square has side 4 * size, centred.
  EXPECT_NE(g().screen.cg->Pixel(140, 140), colors::kBlack);
  EXPECT_EQ(g().screen.cg->Pixel(139, 150), colors::kBlack);
  EXPECT_EQ(g().screen.cg->Pixel(160, 150), colors::kBlack);
  g().in_battle = 0;
  EXPECT_EQ(CentreAfterFrame(), colors::kBlack);
}

TEST_F(ScreenFrames, BlinkShowsTheEnemyOnThreeOfSixTicks) {
  for (int active : {1, 0}) {
    g().unit[1].map_active = active;
    g().screen.EnemyBlinkCounter = 6;
    std::vector<bool> shown;
    for (int t = 0; t < 8; ++t) shown.push_back(CentreAfterFrame() != colors::kBlack);
    EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false, true, false, active == 1, active == 1}))
        << "map_active " << active;
    EXPECT_EQ(g().screen.EnemyBlinkCounter, 0);
  }
}

TEST_F(ScreenFrames, ShakeJoltsOnceThenStandsStill) {
  g().in_battle = 0;
  // A scene whose rows can be told apart.
  BmpImage rows;
  rows.width = rows.height = 300;
  rows.pixels.resize(300 * 300);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) rows.pixels[static_cast<size_t>(y) * 300 + x] = Rgb(y % 256, y / 256 + 1, 9).Packed();
  r.WritePicture("rows.bmp", rows);
  ShowCg(g(), "rows.bmp");
  auto row_of = [&](int y) {
    const Rgb c = g().screen.cg->Pixel(150, y);
    return c.r + 256 * (c.g - 1);
  };

  // Find a seed whose first jolt is not zero, then predict it.
  int d = 0;
  for (uint32_t seed = 1; d == 0; ++seed) {
    g().rng.Seed(seed);
    Rng copy = g().rng;
    d = copy.Random(9) - 4;
  }
  Rng after_jolt = g().rng;
  after_jolt.Random(9);

  g().screen.ShakeCounter = 1;
  StepFrame(g());
  DrawFrame(g());
  EXPECT_EQ(g().screen.ShakeCounter, 0);
  for (int y : {100, 150, 200}) EXPECT_EQ(row_of(y), y - d) << "d " << d;

  StepFrame(g());

  DrawFrame(g());  // no more shaking, and no random draw
  for (int y : {100, 150, 200}) EXPECT_EQ(row_of(y), y);
  Rng copy = g().rng;
  EXPECT_EQ(copy.Random(1000000), after_jolt.Random(1000000));
}

TEST_F(ScreenFrames, LogHiddenButButtonsDrawnWhileTheBonusPanelShows) {
  g().in_battle = 0;
  LogLine(g(), J("ログ"));
  g().ChoiceCaption[1] = J("ボタン");
  SoftCanvas& c = r.Cg();
  c.ClearRecord();
  StepFrame(g());
  DrawFrame(g());
  EXPECT_TRUE(DrewText(c, J("ログ")));
  EXPECT_TRUE(DrewText(c, J("ボタン")));

  r.W("bp_box").SetVisible(true);  // the level-up panel during play
  c.ClearRecord();
  StepFrame(g());
  DrawFrame(g());
  EXPECT_FALSE(DrewText(c, J("ログ")));
  EXPECT_TRUE(DrewText(c, J("ボタン")));
}

TEST_F(ScreenFrames, OverlayIsClearedAndOrCombined) {
  g().in_battle = 0;
  r.WritePicture("dim.bmp", Rgb(0x10, 0x20, 0x40));
  ShowCg(g(), "dim.bmp");
  // Whatever an earlier tick left in bak is gone; black adds nothing.
  Canvas& b = g().screen.bak->canvas();
  b.brush_color = Rgb(0x01, 0x02, 0x04);
  b.FillRect(Rect{0, 0, 300, 300});
  EXPECT_EQ(CentreAfterFrame(), Rgb(0x10, 0x20, 0x40));
  EXPECT_EQ(g().screen.bak->Pixel(150, 150), colors::kBlack);
}

TEST(ScreenPanels, LayoutOfTheTwoPanels) {
  ScreenRun r;
  r.Start();
  struct Expect {
    const char* name;
    Rect bounds;  // relative to the panel
  };
  const Expect expected[] = {
      {"bp_box", {0, 0, 301, 301}},      {"bp_l", {4, 4, 297, 29}},          {"l_btn1", {76, 128, 145, 153}},
      {"l_btn2", {156, 128, 225, 153}},  {"l_btn3", {76, 158, 145, 183}},    {"l_btn4", {156, 158, 225, 183}},
      {"l_btn5", {76, 190, 145, 215}},   {"l_btn6", {156, 190, 225, 215}},   {"l_btn5_cg", {72, 188, 149, 217}},
      {"l_btn7", {8, 272, 101, 297}},    {"l_btn7_cg", {2, 270, 109, 299}},  {"l_btn8", {196, 272, 293, 297}},
      {"name_box", {56, 64, 245, 113}},  {"name_l", {52, 24, 181, 45}},      {"item_box", {0, 0, 302, 301}},
      {"Label8", {4, 4, 109, 29}},       {"item_list", {112, 4, 209, 269}},  {"item_l", {4, 40, 109, 269}},
      {"l_btn10", {4, 272, 109, 297}},   {"l_btn10_cg", {2, 270, 109, 299}}, {"l_btn9", {111, 272, 207, 297}},
      {"l_btn11", {212, 4, 297, 29}},    {"item_l2", {212, 32, 297, 141}},   {"item_l3", {212, 124, 297, 241}},
      {"l_btn13", {212, 243, 297, 268}}, {"l_btn12", {212, 272, 297, 297}},
  };
  for (const Expect& e : expected) EXPECT_EQ(r.W(e.name).Bounds(), e.bounds) << e.name;
  EXPECT_FALSE(r.W("bp_box").Visible());
  EXPECT_FALSE(r.W("item_box").Visible());
  EXPECT_FALSE(r.W("name_box").Visible());
  EXPECT_EQ(r.W("l_btn1").Caption(), J("力"));
  EXPECT_EQ(r.W("l_btn6").Caption(), J("回避率"));
  EXPECT_EQ(r.W("l_btn9").Caption(), ">BACK");
  EXPECT_EQ(r.W("l_btn12").Caption(), J("調理開始"));
  EXPECT_EQ(r.W("bp_l").Caption(), J("いろいろすること"));
}

// Every state at once: the good list breaks into rows above its line instead of
// running off the left edge, and its rows stay clear of the bad list's.
TEST(ScreenPanels, EveryStateAtOnceStaysInsideTheWindow) {
  FxGame f;
  tman& me = f.g.unit[kPlayer];
  me.name = J("ポム");
  // clang-format off
  for (int32_t* turns :
       {&me.paralysis_turns, &me.poison_turns, &me.faint_turns, &me.stomachache_turns, &me.infinite_state_turns,
        &me.full_state_turns, &me.reflect_turns, &me.guard_all, &me.find_boost, &me.logic_attack_up_turns,
        &me.logic_defence_up_turns, &me.logic_armour_turns, &me.attack_up_turns, &me.phys_defence_up_turns,
        &me.magic_defence_up_turns, &me.magic_attack_up_turns, &me.heal_state_turns, &me.mana_state_turns,
        &me.spirit_state_turns, &me.extra_state_turns, &me.power_state_turns})
    *turns = 3;
  // clang-format on
  for (bool battle : {false, true}) {
    f.g.unit[1].name = J("くま");
    f.g.in_battle = battle ? 1 : 0;
    f.g.foe_index = 1;
    f.Clear();
    StepStatusPanel(f.g);
    DrawStatusPanel(f.g);
    SoftCanvas& c = f.bak().soft_canvas();
    std::string good;
    int bad_bottom = 0, good_top = 300;
    for (const TextRecord& t : f.texts()) {
      if (t.text.rfind("<", 0) != 0) continue;
      c.font = t.font;
      EXPECT_GE(t.x, 0) << t.text;
      EXPECT_EQ(t.x + c.TextWidth(t.text), 300) << t.text;
      if (t.font.color == Rgb{255, 85, 85}) {
        bad_bottom = t.y + FontPixelHeight(t.font.size) - 1;
      } else {
        good += t.text;
        good_top = std::min(good_top, t.y);
      }
    }
    EXPECT_EQ(
        good.size(),
        J("<無限><満腹><反射><英雄><怪盗><論攻><論防><理装><攻↑><防↑><魔防↑><魔攻↑><癒><魔><精><追加><力>").size());
    EXPECT_LT(bad_bottom, good_top);
  }
}

// The tick moves the animations before the drawing; drawing only paints, so the
// same state drawn twice is the same frame, and the panel still shows the figures
// of the moment the tick began.
TEST_F(ScreenFrames, AFrameDrawnTwiceIsTheSameFrame) {
  g().GamePhase = 0;
  g().unit[kPlayer].hp = 40;
  g().unit[kPlayer].max_hp = 100;
  g().panel.ShownHp = 10;
  g().log.ChoiceSlide = -200;
  g().log.ChoiceActive = 1;
  g().ChoiceCaption[1] = J("ボタン");
  StepFrame(g());
  EXPECT_EQ(g().panel.drawn.Hp, 10);
  EXPECT_EQ(g().panel.ShownHp, StepShown(10, 40));
  EXPECT_EQ(g().log.ChoiceSlide, -99);

  auto picture = [this] {
    std::vector<Rgb> px;
    for (int y = 0; y < kScreenSize; ++y)
      for (int x = 0; x < kScreenSize; ++x) px.push_back(g().screen.cg->Pixel(x, y));
    return px;
  };
  SoftCanvas& c = r.Cg();
  c.ClearRecord();
  DrawFrame(g());
  const std::vector<Rgb> first = picture();
  const size_t texts = c.texts.size();
  DrawFrame(g());
  EXPECT_EQ(picture(), first);
  EXPECT_EQ(c.texts.size(), 2 * texts);
  EXPECT_EQ(g().panel.ShownHp, StepShown(10, 40));
  EXPECT_EQ(g().log.ChoiceSlide, -99);
}
