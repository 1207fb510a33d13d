// SPDX-License-Identifier: GPL-3.0-or-later
// The status panel: layout, colour rules, bars, slides and the running figures.
#include <gtest/gtest.h>

#include "fx_fixture.h"
#include "presentation/panel.h"

namespace {

struct Panel : FxGame {
  Panel() {
    tman& me = g.unit[kPlayer];
    me.name = J("ポム");
    me.level = 3;
    me.exp = 20;
    me.max_hp = me.hp = 100;
    me.max_mp = me.mp = 40;
    me.tp = 30;
    me.fullness = 50;
    me.lifespan_days = 100;
    me.age_days = 10;
    g.my.day_count = 4;
    g.my.day_hours = 10;
    g.my.hours_used = 3;
    g.my.money = 1234;
    g.my.location = kHome;
    g.panel.PanelSlide = 0;
    g.panel.EnemyPanelSlide = 0;
    Settle();
  }
  // Lets the shown figures reach the real ones.
  void Settle() {
    for (int i = 0; i < 60; ++i) Tick();
  }
  void Tick() {
    Clear();
    StepStatusPanel(g);
    DrawStatusPanel(g);
  }
  void Battle(const std::string& name) {
    tman& foe = g.unit[1];
    foe.name = name;
    foe.level = 7;
    foe.max_hp = foe.hp = 60;
    foe.max_mp = foe.mp = 10;
    foe.tp = 100;
    g.in_battle = 1;
    g.foe_index = 1;
  }
};

std::vector<int> Drops(Panel& p, int32_t PanelState::*shown) {
  std::vector<int> steps;
  int before = p.g.panel.*shown;
  for (int i = 0; i < 100 && p.g.panel.*shown != p.g.unit[kPlayer].hp; ++i) {
    p.Tick();
    steps.push_back(before - p.g.panel.*shown);
    before = p.g.panel.*shown;
  }
  return steps;
}

TEST(StatusPanel, HpFigureRunsDownWithoutOvershoot) {
  Panel p;
  p.g.unit[kPlayer].hp = 0;
  const std::vector<int> expected = {11, 9, 9, 8, 7, 6, 6, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(Drops(p, &PanelState::ShownHp), expected);
  // The text shows the figure of the tick it was drawn on, before the step.
  p.g.unit[kPlayer].hp = 5;
  p.Tick();
  ASSERT_NE(p.Find("HP:"), nullptr);
  EXPECT_EQ(p.Find("HP:")->text, "HP:0/100");

  Panel q;
  q.g.unit[kPlayer].hp = 95;
  EXPECT_EQ(Drops(q, &PanelState::ShownHp), std::vector<int>(5, 1));

  // Counting up after a load, and staying on the target.
  EXPECT_EQ(StepShown(0, 7), 1);
  EXPECT_EQ(StepShown(0, 10), 2);
  EXPECT_EQ(StepShown(9, 10), 10);
  EXPECT_EQ(StepShown(10, 10), 10);
  EXPECT_EQ(StepShown(-5, -5), -5);
  EXPECT_EQ(StepShown(INT32_MAX, INT32_MIN), INT32_MAX - (int64_t{INT32_MAX} - INT32_MIN) / 10 - 1);
}

TEST(StatusPanel, EveryShownValueFollowsItsTarget) {
  Panel p;
  tman& me = p.g.unit[kPlayer];
  me.mp = 3;
  me.tp = 100;
  me.fullness = 95;
  me.exp = 55;
  p.Battle(J("くま"));
  p.g.unit[1].hp = 13;
  p.g.unit[1].mp = 2;
  p.g.unit[1].tp = 7;
  p.Settle();
  const PanelState& s = p.g.panel;
  EXPECT_EQ(s.ShownMp, 3);
  EXPECT_EQ(s.ShownTp, 100);
  EXPECT_EQ(s.ShownFullness, 95);
  EXPECT_EQ(s.ShownExp, 55);
  EXPECT_EQ(s.ShownEnemyHp, 13);
  EXPECT_EQ(s.ShownEnemyMp, 2);
  EXPECT_EQ(s.ShownEnemyTp, 7);
}

TEST(StatusPanel, ZeroMaximaDivideByOne) {
  Panel p;
  tman& me = p.g.unit[kPlayer];
  me.max_hp = me.hp = 0;
  me.max_mp = me.mp = 0;
  me.lifespan_days = 0;
  me.level = -5;  // experience needs 0
  p.g.my.day_hours = 0;
  p.g.my.shop_rank = -1;  // rank progress needs 0
  p.g.my.location = kShop;
  p.Settle();
  EXPECT_EQ(p.Find("HP:")->font.color, (Rgb{128, 0, 0}));
  // A figure above a zero maximum counts as 500 % and its bar runs long but safely.
  p.g.panel.ShownHp = 5;
  p.g.unit[kPlayer].hp = 5;
  p.Tick();
  EXPECT_EQ(p.Find("HP:")->font.color, (Rgb{0, 255, 255}));
  EXPECT_EQ(PanelRatioColor(1, -7), (Rgb{0, 255, 255}));
  EXPECT_EQ(PanelAgeColor(0, 0), (Rgb{0, 255, 255}));
}

TEST(StatusPanel, ShopLinesAndBarOnlyInTheShop) {
  Panel p;
  p.g.my.location = kShop;
  p.g.my.shop_rank = 2;
  p.g.my.rank_progress = 15;
  p.g.my.fame = 60;
  p.Tick();
  ASSERT_NE(p.Find(J("店のRANK ")), nullptr);
  EXPECT_EQ(p.Find(J("店のRANK "))->text, J("店のRANK 2"));
  EXPECT_EQ(p.Find(J("店のRANK "))->y, 40);
  EXPECT_EQ(p.Find(J("店のexp. "))->text, J("店のexp. 15/30"));
  EXPECT_EQ(p.Find(J("店のexp. "))->y, 52);
  EXPECT_EQ(p.Find(J("店の名声 "))->font.color, (Rgb{204, 255, 255}));
  EXPECT_EQ(p.Find(J("店の名声 "))->y, 75);
  // Progress 15/30 over 75 pixels: fill 37 pixels from x -1, two rows above the track.
  EXPECT_EQ(p.cg().Pixel(0, 64), (Rgb{0, 34, 68}));
  EXPECT_EQ(p.cg().Pixel(35, 62), (Rgb{51, 221, 255}));
  EXPECT_EQ(p.cg().Pixel(35, 63), (Rgb{51, 221, 255}));
  EXPECT_EQ(p.cg().Pixel(36, 62), (Rgb{0, 0, 0}));

  p.g.my.location = kHome;
  p.Tick();
  EXPECT_EQ(p.Find(J("店の")), nullptr);
  EXPECT_EQ(p.cg().Pixel(0, 64), (Rgb{0, 0, 0}));
  EXPECT_EQ(p.cg().Pixel(35, 62), (Rgb{0, 0, 0}));
}

TEST(StatusPanel, RightBlockLayoutAndTexts) {
  Panel p;
  p.Tick();
  const TextRecord* exp = p.Find(" Exp ");
  const TextRecord* level = p.Find("3");
  const TextRecord* lv = p.Find("Lv ");
  ASSERT_TRUE(exp && level && lv);
  SoftCanvas& c = p.bak().soft_canvas();
  auto width = [&](const TextRecord& t) {
    c.font = t.font;
    return c.TextWidth(t.text);
  };
  EXPECT_EQ(exp->text, " Exp 20/80");
  EXPECT_EQ(exp->x + width(*exp), 300);
  EXPECT_EQ(level->x + width(*level), exp->x);
  EXPECT_EQ(lv->x + width(*lv), level->x);
  EXPECT_EQ(exp->font.size, 7);
  EXPECT_EQ(level->font.size, 9);
  EXPECT_EQ(level->y, 0);
  EXPECT_EQ(lv->y, 2);

  const TextRecord* name = nullptr;
  for (const TextRecord& t : p.texts()) {
    if (t.font.italic) name = &t;
  }
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->y, 15);
  EXPECT_EQ(name->text, J("ポム "));
  EXPECT_TRUE(name->font.bold && name->font.italic);
  EXPECT_EQ(name->font.size, 12);
  EXPECT_EQ(p.Find("MP:")->text, "MP:40/40");
  EXPECT_EQ(p.Find(J("寿命:"))->text, J("寿命:10/100"));
  EXPECT_EQ(p.Find(J("お腹:"))->text, J("お腹:50％"));
  EXPECT_EQ(p.Find(J("お金:"))->text, J("お金:1234円"));
  EXPECT_EQ(p.Find(J("残り時間 "))->text, J("残り時間 7 時間"));
  EXPECT_EQ(p.Find("4")->text, J("4日"));
  for (const TextRecord& t : p.texts()) {
    EXPECT_LE(t.x + width(t), 300) << t.text;
    EXPECT_FALSE(t.opaque);
  }

  // The HP bar: 80 pixels ending at the right edge, fill one left and two above.
  p.g.unit[kPlayer].hp = 50;
  p.g.panel.ShownHp = 50;
  p.Tick();
  EXPECT_EQ(p.cg().Pixel(220, 54), (Rgb{85, 51, 34}));
  EXPECT_EQ(p.cg().Pixel(299, 55), (Rgb{85, 51, 34}));
  EXPECT_EQ(p.cg().Pixel(219, 54), (Rgb{0, 0, 0}));
  EXPECT_EQ(p.cg().Pixel(219, 52), (Rgb{255, 119, 153}));
  EXPECT_EQ(p.cg().Pixel(258, 53), (Rgb{255, 119, 153}));
  EXPECT_EQ(p.cg().Pixel(259, 52), (Rgb{0, 0, 0}));
}

TEST(StatusPanel, TpBarFlashesOnEvenTicksWhenFull) {
  Panel p;
  p.g.unit[kPlayer].tp = 100;
  p.Settle();
  p.g.FrameCounter = 4;
  p.Tick();
  EXPECT_EQ(p.cg().Pixel(260, 72), (Rgb{170, 255, 170}));
  p.g.FrameCounter = 5;
  p.Tick();
  EXPECT_EQ(p.cg().Pixel(260, 72), (Rgb{51, 255, 51}));
  p.g.unit[kPlayer].tp = 99;
  p.Settle();
  p.g.FrameCounter = 4;
  p.Tick();
  EXPECT_EQ(p.cg().Pixel(260, 72), (Rgb{51, 255, 51}));
}

TEST(StatusPanel, StateListsInOrder) {
  Panel p;
  p.Tick();
  EXPECT_EQ(p.AtY(170), nullptr);
  EXPECT_EQ(p.AtY(195), nullptr);

  tman& me = p.g.unit[kPlayer];
  me.poison_turns = 3;
  me.paralysis_turns = 1;
  me.stomachache_turns = -2;  // not above 0
  me.power_state_turns = 1;
  me.infinite_state_turns = 9;
  me.attack_up_turns = 2;
  p.Tick();
  const TextRecord* bad = p.AtY(170);
  const TextRecord* good = p.AtY(195);
  ASSERT_TRUE(bad && good);
  EXPECT_EQ(bad->text, J("<麻痺><毒>"));
  EXPECT_EQ(good->text, J("<無限><攻↑><力>"));
  EXPECT_EQ(bad->font.color, (Rgb{255, 85, 85}));
  EXPECT_EQ(good->font.color, (Rgb{0, 255, 136}));
  EXPECT_EQ(bad->font.size, 9);

  // The lists stay at the right edge while the panel slides, and grow in battle.
  p.g.panel.PanelSlide = -100;
  p.Battle(J("くま"));
  p.Tick();
  SoftCanvas& c = p.bak().soft_canvas();
  c.font = p.AtY(170)->font;
  EXPECT_EQ(p.AtY(170)->x + c.TextWidth(p.AtY(170)->text), 300);
  EXPECT_EQ(p.AtY(170)->font.size, 10);
  EXPECT_EQ(p.AtY(195)->font.size, 10);
}

TEST(StatusPanel, EnemyBlockOnlyForANamedEnemy) {
  Panel p;
  p.Battle("");
  p.Tick();
  EXPECT_EQ(p.AtY(30), nullptr);
  EXPECT_EQ(p.AtY(38), nullptr);
  EXPECT_EQ(p.cg().Pixel(10, 68), (Rgb{0, 0, 0}));

  p.Battle(J("くま"));
  p.g.in_battle = 0;
  p.Tick();
  EXPECT_EQ(p.AtY(30), nullptr);

  p.g.in_battle = 1;
  p.g.panel.EnemyPanelSlide = -200;
  p.Tick();
  const TextRecord* name = p.AtY(30);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->x, -200);
  EXPECT_EQ(name->font.size, 16);
  SoftCanvas& c = p.bak().soft_canvas();
  c.font = name->font;
  const TextRecord* lv = p.AtY(38);
  ASSERT_NE(lv, nullptr);
  EXPECT_EQ(lv->text, "Lv 7");
  EXPECT_EQ(lv->x, -200 + c.TextWidth(name->text) + 2);

  std::vector<int> slide;
  for (int i = 0; i < 8; ++i) {
    slide.push_back(p.g.panel.EnemyPanelSlide);
    p.Tick();
  }
  EXPECT_EQ(slide, (std::vector<int>{-99, -49, -24, -11, -5, -2, 0, 0}));
  p.Settle();
  EXPECT_EQ(p.Find("HP:60/60")->x, 0);
  EXPECT_EQ(p.Find("HP:60/60")->y, 54);
  EXPECT_EQ(p.Find("MP:10/10")->y, 70);
  // Enemy HP bar from x 0 at y 68, and the full TP bar flashing on even ticks.
  EXPECT_EQ(p.cg().Pixel(79, 68), (Rgb{85, 51, 34}));
  EXPECT_EQ(p.cg().Pixel(78, 66), (Rgb{255, 119, 153}));
  p.g.FrameCounter = 1;
  p.Tick();
  EXPECT_EQ(p.cg().Pixel(20, 92), (Rgb{85, 255, 51}));
  p.g.FrameCounter = 2;
  p.Tick();
  EXPECT_EQ(p.cg().Pixel(20, 92), (Rgb{170, 255, 170}));

  // An enemy index outside the units is no enemy at all.
  p.g.foe_index = 999;
  p.Tick();
  EXPECT_EQ(p.AtY(30), nullptr);
}

TEST(StatusPanel, PanelSlidesInOnceInFifteenTicks) {
  Panel p;
  p.g.panel.PanelSlide = -200;
  p.Tick();
  EXPECT_EQ(p.Find(J("残り時間 "))->x, -199);
  EXPECT_EQ(p.Find("HP:")->y, 40);
  int ticks = 1;
  while (p.g.panel.PanelSlide < 0 && ticks < 100) {
    p.Tick();
    ++ticks;
  }
  EXPECT_EQ(ticks, 15);
  EXPECT_EQ(p.g.panel.PanelSlide, 0);
  p.Tick();
  EXPECT_EQ(p.g.panel.PanelSlide, 0);
  EXPECT_EQ(p.Find(J("残り時間 "))->x, 1);
}

TEST(StatusPanel, ColourRulesAtTheirBoundaries) {
  // Ratio: p = value * 100 / max.
  const std::pair<int, Rgb> ratio[] = {
      {10, {128, 0, 0}},     {11, {255, 0, 0}},     {20, {255, 0, 0}},     {21, {255, 119, 68}},
      {30, {255, 119, 68}},  {31, {255, 204, 85}},  {50, {255, 204, 85}},  {51, {255, 255, 187}},
      {65, {255, 255, 187}}, {66, {255, 255, 221}}, {75, {255, 255, 221}}, {76, {255, 255, 255}},
      {99, {255, 255, 255}}, {100, {0, 255, 255}},  {130, {0, 255, 255}},  {-3, {128, 0, 0}}};
  for (auto [v, c] : ratio) EXPECT_EQ(PanelRatioColor(v, 100), c) << v;
  EXPECT_EQ(PanelRatioColor(1, 9), (Rgb{255, 0, 0}));  // 11 %

  const std::pair<int, Rgb> age[] = {
      {19, {0, 255, 255}},   {20, {255, 255, 255}}, {34, {255, 255, 255}}, {35, {255, 255, 221}}, {44, {255, 255, 221}},
      {45, {255, 255, 187}}, {54, {255, 255, 187}}, {55, {255, 204, 85}},  {64, {255, 204, 85}},  {65, {255, 119, 68}},
      {79, {255, 119, 68}},  {80, {255, 0, 0}},     {89, {255, 0, 0}},     {90, {128, 0, 0}},     {100, {128, 0, 0}}};
  for (auto [v, c] : age) EXPECT_EQ(PanelAgeColor(v, 100), c) << v;

  const std::pair<int, Rgb> fame[] = {
      {0, {255, 0, 0}},      {10, {255, 0, 0}},     {11, {255, 119, 0}},   {20, {255, 119, 0}},   {21, {255, 204, 68}},
      {30, {255, 204, 68}},  {31, {255, 204, 153}}, {45, {255, 204, 153}}, {46, {255, 255, 255}}, {55, {255, 255, 255}},
      {56, {204, 255, 255}}, {65, {204, 255, 255}}, {66, {153, 255, 255}}, {75, {153, 255, 255}}, {76, {85, 255, 255}},
      {99, {85, 255, 255}},  {100, {0, 255, 255}}};
  for (auto [v, c] : fame) EXPECT_EQ(PanelFameColor(v), c) << v;

  const std::pair<int, Rgb> belly[] = {{0, {255, 0, 0}},      {10, {255, 0, 0}},     {11, {255, 128, 128}},
                                       {20, {255, 128, 128}}, {21, {255, 255, 255}}, {69, {255, 255, 255}},
                                       {70, {106, 181, 255}}, {89, {106, 181, 255}}, {90, {138, 255, 255}},
                                       {100, {138, 255, 255}}};
  for (auto [v, c] : belly) EXPECT_EQ(PanelFullnessColor(v), c) << v;

  // The fullness text takes its colour from the real value, not the running figure.
  Panel p;
  p.g.unit[kPlayer].fullness = 5;
  p.Tick();
  EXPECT_EQ(p.Find(J("お腹:"))->text, J("お腹:50％"));
  EXPECT_EQ(p.Find(J("お腹:"))->font.color, (Rgb{255, 0, 0}));
}

}  // namespace
