// SPDX-License-Identifier: GPL-3.0-or-later
// Floating texts and effects: the ring, the text kinds' bounce and fade, and the
// lives and drawing targets of the animation kinds.
#include <gtest/gtest.h>

#include "fx_fixture.h"
#include "presentation/effects.h"
#include "presentation/effects_internal.h"
#include "presentation/screen.h"

namespace {

constexpr int kAnimationKinds[] = {12,  33,  34,  35,  43,  44,  51,  57,  63,  75,  78,  83,
                                   113, 120, 140, 158, 160, 175, 178, 189, 190, 191, 251, 266};

struct Fx : FxGame {
  void Tick() {
    Clear();
    DrawEffects(g);
    ++g.FrameCounter;
  }
  int Living() {
    int n = 0;
    for (int a : g.fx.pop_age) n += a >= 1;
    return n;
  }
};

TEST(Effects, RingOverwritesInOrder) {
  Fx f;
  for (int i = 0; i < 101; ++i) PopText(f.g, i, 0, 16, Num(i));
  const int first = 1;  // the slot after the initial cursor
  EXPECT_EQ(f.g.pop_text[first], "100");
  EXPECT_EQ(f.g.fx.pop_x[first], 100);
  EXPECT_EQ(f.g.fx.PopCursor, first);
  EXPECT_EQ(f.g.pop_text[0], "99");
  EXPECT_EQ(f.Living(), 100);

  // Spawning reuses a living slot and restarts it completely.
  f.g.fx.pop_scratch[2][0] = 7;
  f.g.fx.pop_age[2] = 30;
  PopMove(f.g, 270, 50, 150, 150, 78);
  EXPECT_EQ(f.g.fx.PopCursor, 2);
  EXPECT_EQ(f.g.fx.pop_age[2], 1);
  EXPECT_EQ(f.g.fx.pop_scratch[2][0], 0);
  EXPECT_EQ(f.g.pop_text[2], "");
  EXPECT_EQ(f.g.fx.pop_x0[2], 270);
  EXPECT_EQ(f.g.fx.pop_ay[2], 50);
  EXPECT_EQ(f.g.fx.pop_x[2], 150);
  EXPECT_EQ(f.g.fx.pop_kind[2], 78);

  ClearEffects(f.g);
  EXPECT_EQ(f.Living(), 0);
  f.Tick();
  EXPECT_FALSE(f.AnyLit(f.bak()));
  EXPECT_TRUE(f.texts().empty());
}

TEST(Effects, DamageFigureBouncesSinksAndFades) {
  Fx f;
  PopText(f.g, 227, 38, 16, "12");
  std::vector<int> ys;
  std::vector<Rgb> colours;
  int ticks = 0;
  while (f.Living() > 0 && ticks < 100) {
    f.Tick();
    ++ticks;
    ASSERT_EQ(f.texts().size(), 1u);
    const TextRecord& t = f.texts()[0];
    ys.push_back(t.y);
    colours.push_back(t.font.color);
    EXPECT_FALSE(t.opaque);
    EXPECT_TRUE(t.font.bold);
    f.bak().soft_canvas().font = t.font;
    EXPECT_EQ(t.x, 227 - f.bak().soft_canvas().TextWidth("12") / 2);
  }
  EXPECT_EQ(ticks, 22);
  std::vector<int> expected = {38, 28, 32, 30, 32};
  for (int y = 33; expected.size() < 22; ++y) expected.push_back(y);
  EXPECT_EQ(ys, expected);

  // First colour through age 28, then one step per two ages, holding the last.
  const Rgb ramp[7] = {{255, 112, 112}, {221, 80, 80}, {187, 48, 48}, {153, 16, 16},
                       {119, 0, 0},     {85, 0, 0},    {51, 0, 0}};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(colours[i], ramp[0]) << i;
  for (int i = 14; i < 20; ++i) EXPECT_EQ(colours[i], ramp[i - 13]) << i;
  EXPECT_EQ(colours[20], ramp[6]);
  EXPECT_EQ(colours[21], ramp[6]);
}

TEST(Effects, TextSizesByKindAndLength) {
  const struct {
    int kind;
    const char* text;
    int size;
    Rgb colour;
  } cases[] = {
      {16, "Miss....", 10, {255, 112, 112}}, {16, "7", 10, {255, 112, 112}},       {17, "123", 10, {47, 151, 255}},
      {17, "1234", 8, {47, 151, 255}},       {18, "Miss....", 8, {255, 172, 214}}, {18, "abc", 10, {255, 172, 214}},
      {19, "100", 10, {255, 255, 255}},      {19, "1000", 8, {255, 255, 255}},
  };
  for (const auto& c : cases) {
    Fx f;
    PopText(f.g, 100, 100, c.kind, c.text);
    f.Tick();
    ASSERT_EQ(f.texts().size(), 1u);
    EXPECT_EQ(f.texts()[0].font.size, c.size) << c.kind << " " << c.text;
    EXPECT_EQ(f.texts()[0].font.color, c.colour) << c.kind;
  }
  // Bytes count, not characters: two double-byte characters make four.
  Fx f;
  PopText(f.g, 100, 100, 17, J("回復"));
  f.Tick();
  EXPECT_EQ(f.texts()[0].font.size, 8);
}

TEST(Effects, PopTextAtPlacesOverEnemyOrPlayer) {
  Fx f;
  f.g.monster[1].size = 15;
  int min_x = 999, max_x = -999, min_y = 999, max_y = -999;
  for (int i = 0; i < 2000; ++i) {
    PopTextAt(f.g, 1, 16, "1");
    const int s = f.g.fx.PopCursor;
    min_x = std::min(min_x, f.g.fx.pop_x[s]);
    max_x = std::max(max_x, f.g.fx.pop_x[s]);
    min_y = std::min(min_y, f.g.fx.pop_y[s]);
    max_y = std::max(max_y, f.g.fx.pop_y[s]);
    EXPECT_EQ(f.g.fx.pop_x0[s], f.g.fx.pop_x[s]);
    EXPECT_EQ(f.g.fx.pop_ax[s], 0);
  }
  EXPECT_EQ(min_x, 140);
  EXPECT_EQ(max_x, 160);
  EXPECT_EQ(min_y, 150 - 30 - 29);
  EXPECT_EQ(max_y, 150 - 30);

  min_x = min_y = 999;
  max_x = max_y = -999;
  for (int i = 0; i < 2000; ++i) {
    PopTextAt(f.g, 0, 140, "");
    const int s = f.g.fx.PopCursor;
    min_x = std::min(min_x, f.g.fx.pop_x[s]);
    max_x = std::max(max_x, f.g.fx.pop_x[s]);
    min_y = std::min(min_y, f.g.fx.pop_y[s]);
    max_y = std::max(max_y, f.g.fx.pop_y[s]);
  }
  EXPECT_EQ(min_x, 230);
  EXPECT_EQ(max_x, 250);
  EXPECT_EQ(min_y, 35);
  EXPECT_EQ(max_y, 54);

  // A unit number beyond the catalogue falls back to the common frame size.
  PopTextAt(f.g, 5000, 16, "1");
  EXPECT_LE(f.g.fx.pop_y[f.g.fx.PopCursor], 120);
}

TEST(Effects, AnimationKindsLiveTheirTicksAndDrawIntoTheOverlay) {
  const std::pair<int, int> lives[] = {{12, 15},  {63, 28},  {113, 20}, {120, 38}, {140, 60}, {158, 26},
                                       {160, 17}, {175, 10}, {178, 16}, {189, 17}, {251, 20}, {266, 22}};
  for (auto [kind, life] : lives) EXPECT_EQ(EffectLife(kind), life) << kind;

  for (int kind : kAnimationKinds) {
    Fx f;
    PopText(f.g, 150, 150, kind, "");
    int ticks = 0, lit_bak = 0, lit_cg = 0;
    while (f.Living() > 0 && ticks < 100) {
      f.Tick();
      ++ticks;
      lit_bak += f.AnyLit(f.bak());
      lit_cg += f.AnyLit(f.cg());
      EXPECT_TRUE(f.texts().empty()) << kind;
      // Animations never move their own position.
      EXPECT_EQ(f.g.fx.pop_y[1], 150) << kind;
    }
    EXPECT_EQ(ticks, EffectLife(kind)) << kind;
    if (kind == 160) {
      EXPECT_EQ(lit_bak, 0);
      EXPECT_GT(lit_cg, 10);
    } else {
      EXPECT_GT(lit_bak, 0) << kind;
      EXPECT_EQ(lit_cg, 0) << kind;
      // Something to see on the first tick, when the effect matters most.
      Fx first;
      PopText(first.g, 150, 150, kind, "");
      first.Tick();
      EXPECT_TRUE(first.AnyLit(first.bak())) << kind;
    }
  }
}

TEST(Effects, EffectsAtTheEdgesAndAUnknownKindAreHarmless) {
  Fx f;
  for (int kind : kAnimationKinds) {
    PopText(f.g, 0, 0, kind, "");
    PopText(f.g, 299, 299, kind, "");
    PopText(f.g, -500, 4000, kind, "");
  }
  PopText(f.g, 10, 10, 999, "x");
  for (int i = 0; i < 70; ++i) f.Tick();
  EXPECT_EQ(f.Living(), 0);
  // Without surfaces effects still age and end.
  PopText(f.g, 10, 10, 16, "1");
  f.g.screen.bak = f.g.screen.cg = nullptr;
  for (int i = 0; i < 22; ++i) DrawEffects(f.g);
  EXPECT_EQ(f.Living(), 0);
}

TEST(Effects, VictoryFlashOnlyAddsLightToThePicture) {
  Fx f;
  PopText(f.g, 150, 150, 160, "");
  for (int i = 0; i < 17; ++i) {
    f.Clear();
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 300; ++x) f.cg().SetPixel(x, y, Rgb((x * 7) & 255, (y * 3) & 255, 0x40));
    }
    DrawEffects(f.g);
    int brighter = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 300; ++x) {
        const uint32_t before = Rgb((x * 7) & 255, (y * 3) & 255, 0x40).Packed();
        const uint32_t after = f.cg().Pixel(x, y).Packed();
        ASSERT_EQ(after & before, before) << x << "," << y;  // OR keeps every bit
        brighter += after != before;
      }
    }
    EXPECT_GT(brighter, 0) << "tick " << i;
  }
  // Its two work pictures are made once and kept.
  ASSERT_TRUE(f.g.fx.work[0] && f.g.fx.work[1]);
  const Picture* w0 = f.g.fx.work[0].get();
  PopText(f.g, 150, 150, 160, "");
  f.Tick();
  EXPECT_EQ(f.g.fx.work[0].get(), w0);
}

TEST(Effects, HealSparksSpiralUpAndEndBeforeTheirEffect) {
  Fx f;
  PopText(f.g, 150, 200, 140, "");
  std::vector<int> highest;
  int last_lit = 0;
  for (int t = 1; t <= 60; ++t) {
    f.Tick();
    int top = 300;
    for (int y = 0; y < 300 && top == 300; ++y) {
      for (int x = 0; x < 300; ++x) {
        if (f.bak().Pixel(x, y) != Rgb{}) {
          top = y;
          break;
        }
      }
    }
    if (top < 300) last_lit = t;
    highest.push_back(top);
  }
  EXPECT_EQ(f.g.fx.pop_scratch[1][0], 1);
  // The sparks rise well above the spawn point, and every one is gone by its age 30.
  EXPECT_LT(*std::min_element(highest.begin(), highest.end()), 200 - 30);
  EXPECT_GE(last_lit, 20);
  EXPECT_LE(last_lit, 28);
  EXPECT_EQ(f.Living(), 0);

  // Every fifth age step a young spark grows back up to 5, never down to it.
  Fx h;
  h.g.FrameCounter = 1;  // no fifth-tick shrink on the two ticks below
  PopText(h.g, 150, 200, 140, "");
  h.Tick();
  int32_t* scratch = h.g.fx.pop_scratch[1].data();
  auto size = [&](int i) -> int32_t& { return scratch[i * fx::kParticleStride + fx::kSize]; };
  size(2) = 7;  // particle 2 reaches age 5 on the next tick
  size(7) = 3;  // particle 7 reaches age 10
  h.Tick();
  EXPECT_EQ(size(2), 7);
  EXPECT_EQ(size(7), 4);
}

}  // namespace
