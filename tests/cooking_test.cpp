// SPDX-License-Identifier: GPL-3.0-or-later
// Cooking: the recipe match over the whole catalogue, and the kitchen as a player uses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "core/items.h"
#include "tests/item_box_fixture.h"
#include "town/cooking.h"

namespace {

constexpr int kMilk = 1, kSugar = 6, kHotMilk = 12, kWheat = 13, kBread = 262, kStone = 3;

std::array<int32_t, 4> Sorted(std::array<int32_t, 4> a) {
  std::sort(a.begin(), a.end());
  return a;
}

TEST(Recipe, EveryProductCooksFromItsIngredientsInAnySlotOrder) {
  GameState s;
  FillItemCatalogue(s);
  int recipes = 0;
  for (int n = 1; n < kItemCount; ++n) {
    const titem& it = s.item_def[n];
    if (it.name.empty() || std::all_of(it.ingredient.begin(), it.ingredient.end(), [](int32_t i) { return i == 0; }))
      continue;
    ++recipes;
    std::array<int32_t, 4> slots = Sorted(it.ingredient);
    do {
      const int32_t got = FindProduct(s, slots);
      ASSERT_GE(got, n) << "product " << n;
      EXPECT_EQ(Sorted(s.item_def[got].ingredient), Sorted(it.ingredient)) << "product " << n << " gave " << got;
    } while (std::next_permutation(slots.begin(), slots.end()));

    // Stones in the empty slots: a recipe never matches more ingredients than it has.
    const int used =
        static_cast<int>(std::count_if(it.ingredient.begin(), it.ingredient.end(), [](int32_t i) { return i != 0; }));
    if (used < 4) {
      std::array<int32_t, 4> padded = it.ingredient;
      for (int32_t& v : padded) v = v == 0 ? kStone : v;
      const int32_t got = FindProduct(s, padded);
      EXPECT_TRUE(got == 0 || std::count(s.item_def[got].ingredient.begin(), s.item_def[got].ingredient.end(), 0) == 0)
          << "product " << n << " padded gave " << got;
    }
  }
  EXPECT_EQ(recipes, 194);  // 193 products and じすたま, which has ingredients but no recipe mark
  EXPECT_EQ(FindProduct(s, {kWheat, 0, kWheat, 0}), kBread);
  EXPECT_EQ(FindProduct(s, {0, 0, kWheat, 0}), 0);
  EXPECT_EQ(FindProduct(s, {kMilk, 0, 0, 0}), 0);  // one slot never matches a pair
  EXPECT_EQ(FindProduct(s, {0, 0, 0, 0}), 0);
  EXPECT_EQ(FindProduct(s, {0, 13, 0, 58}), 33);  // an inner empty ingredient slot
}

// A player owning one ミルク and one さとう makes ホットミルク; the hour passes, the
// slots become the last recipe and 前回のやつ is offered; refilling it without the
// ingredients fills nothing.
TEST(Kitchen, HotMilkFromMilkAndSugarThenThePreviousRecipe) {
  BoxRun r;
  Game& g = r.game();
  r.count(kMilk) = 1;
  r.count(kSugar) = 1;
  OpenItemBox(g, BoxMode::Cook);
  EXPECT_EQ(r.W("item_box").Bounds().right, 302);
  EXPECT_FALSE(r.W("l_btn10").Visible());
  EXPECT_EQ(r.W("item_l2").Caption(), "\r" + J("★レシピ") + "\r\r " + J("？？？？") + "\r " + J("？？？？") + "\r " +
                                          J("？？？？") + "\r " + J("？？？？"));

  r.Select(kSugar);
  r.Press(11);
  r.Select(kMilk);
  r.Press(11);
  r.Then([&] {
    EXPECT_EQ(g.box.recipe, (std::array<int32_t, 4>{kSugar, kMilk, 0, 0}));
    EXPECT_EQ(r.count(kMilk), 0);
    EXPECT_EQ(g.box.entries, (std::vector<std::string>{"", ""}));  // used-up entries stay as blank lines
    EXPECT_EQ(r.W("l_btn13").Caption(), "RESET");
  });
  r.Then([&] {
    EXPECT_EQ(r.W("item_l2").Caption(), "\r" + J("★レシピ") + "\r\r " + J("さとう") + "\r " + J("ミルク") + "\r " +
                                            J("？？？？") + "\r " + J("？？？？"));
  });
  r.Press(12);
  r.Then([&] {
    EXPECT_TRUE(r.W("item_box").Visible());
    EXPECT_EQ(r.count(kHotMilk), 1);
    EXPECT_TRUE(r.Logged(J("【ホットミルク】が完成した☆(所持:1)")));
    EXPECT_EQ(g.my.hours_used, 1);
    EXPECT_EQ(g.box.recipe, (std::array<int32_t, 4>{}));
    EXPECT_EQ(r.W("l_btn13").Caption(), J("前回のやつ"));
    EXPECT_EQ(r.W("item_l3").Caption().substr(r.W("item_l3").Caption().size() - J("ホットミルク").size()),
              J("ホットミルク"));
  });
  r.Press(13);  // 前回のやつ with nothing left to put in
  r.Then([&] {
    EXPECT_EQ(g.box.recipe, (std::array<int32_t, 4>{}));
    EXPECT_EQ(r.W("l_btn13").Caption(), "RESET");
  });
  r.Press(9);
  r.Play();
  EXPECT_FALSE(r.W("item_box").Visible());
  EXPECT_EQ(g.ChoiceCaption[2], J("おかし作り"));  // the home menu asked
}

// Four things that make nothing explode: the hour is spent, 失敗 is shown, the caption
// is kept, and each slot's item comes back on a draw 0..1 of 0, in slot order.
TEST(Kitchen, AFailureExplodesAndKeepsTheCaption) {
  BoxRun r;
  Game& g = r.game();
  const std::array<int32_t, 4> pot = {kWheat, kMilk, kStone, kSugar};
  ASSERT_EQ(FindProduct(g, pot), 0);
  g.box.recipe = pot;
  OpenItemBox(g, BoxMode::Cook);
  r.Then([&] { SteerDraws(g, {{2, 0}, {2, 1}, {2, 1}, {2, 0}}); });
  r.Press(12);
  r.Then([&] {
    const std::string l3 = r.W("item_l3").Caption();
    EXPECT_EQ(l3.substr(l3.size() - J("×失敗").size()), J("×失敗"));
    EXPECT_EQ(r.W("l_btn13").Caption(), "RESET");
    EXPECT_TRUE(r.Logged(J("爆発した..調理失敗だ..")));
    EXPECT_EQ(g.my.hours_used, 1);
    EXPECT_EQ(g.box.previous, pot);
  });
  r.Play();
  EXPECT_EQ((std::array<int32_t, 4>{r.count(kWheat), r.count(kMilk), r.count(kStone), r.count(kSugar)}),
            (std::array<int32_t, 4>{1, 0, 0, 1}));
  EXPECT_TRUE(r.Logged(J("【ミルク】を失った..")));
  EXPECT_FALSE(r.Logged(J("【小麦】を失った..")));
}

// With cook skill 3 a product under 400 yen may come out twice, and one of 300 or more
// may teach, each on a draw 0..9 that gives 0 (the extra piece's first). A count of 99
// stays 99, the extra piece too.
TEST(Kitchen, ExtraPieceAndSkillDependOnPriceAndSkill) {
  struct Case {
    int32_t price, count;
    std::vector<Draw> draws;
    int32_t made, skill;
  };
  const Case cases[] = {
      {350, 0, {{10, 0}, {10, 0}}, 2, 4}, {399, 0, {{10, 9}, {10, 9}}, 1, 3}, {399, 99, {{10, 0}, {10, 0}}, 99, 4},
      {400, 0, {{10, 0}}, 1, 4},          {450, 0, {{10, 9}}, 1, 3},          {299, 0, {{10, 0}, {10, 0}}, 2, 3}};
  for (const Case& c : cases) {
    BoxRun r;
    Game& g = r.game();
    g.item_def[kHotMilk].price = c.price;
    g.WaitState = -1;  // no click waits: the script runs straight through
    g.unit[kPlayer].cook_skill = 3;
    r.count(kHotMilk) = c.count;
    g.box.recipe = {kMilk, kSugar, 0, 0};
    SteerDraws(g, c.draws);
    Cook(g);
    EXPECT_EQ(r.count(kHotMilk), c.made) << c.price;
    EXPECT_EQ(g.unit[kPlayer].cook_skill, c.skill) << c.price;
  }
}

// RESET gives the slots back; closing the window with something in the pot saves it
// back in the inventory; four full slots take nothing more.
TEST(Kitchen, ResetFullSlotsAndClosingKeepTheIngredients) {
  BoxRun r;
  Game& g = r.game();
  r.count(kWheat) = 6;
  OpenItemBox(g, BoxMode::Cook);
  for (int i = 0; i < 5; ++i) {
    r.Select(kWheat);
    r.Press(11);
  }
  r.Then([&] {
    EXPECT_EQ(g.box.recipe, (std::array<int32_t, 4>{kWheat, kWheat, kWheat, kWheat}));
    EXPECT_EQ(r.count(kWheat), 2);
  });
  r.Press(13);
  r.Then([&] { EXPECT_EQ(r.count(kWheat), 6); });
  r.Select(kWheat);
  r.Press(11);
  r.Play();
  EXPECT_EQ(r.count(kWheat), 6);
  EXPECT_NE(r.SaveBytes().find("\r\n6\r\n"), std::string::npos);
}

}  // namespace
