// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "field/field.h"
#include "field/finds.h"
#include "tests/field_fixture.h"

namespace {

using FieldFinds = FieldTest;

// Each lucky multiplier alone, on a draw of 0 in its one-in (the others missing); then
// the charms and find_boost on a budget no multiplier touched.
TEST_F(FieldFinds, MultipliersCharmsAndBoostRaiseTheBudget) {
  const int32_t one_in[] = {3, 5, 10, 20, 40, 80, 160}, factor[] = {2, 3, 5, 10, 20, 50, 100};
  for (int k = 0; k < 7; ++k) {
    std::vector<Draw> draws;
    for (int i = 0; i < 7; ++i) draws.push_back({one_in[i], i == k ? kOnlyZero : kNonZero});
    SteerDraws(g(), draws);
    EXPECT_EQ(FindBudget(g(), 100), 100 * factor[k]) << "one in " << one_in[k];
  }
  struct Case {
    bool quarter, half, boost;
    int32_t budget;
  } const cases[] = {
      {false, false, false, 100}, {true, false, false, 126},  // + 100/4 + 1
      {false, true, false, 151},                              // + 100/2 + 1
      {true, true, false, 190},                               // 126, then + 63 + 1
      {true, true, true, 380},                                // doubled last
  };
  for (const Case& c : cases) {
    g().my.item_count[52] = c.quarter;
    g().my.item_count[53] = c.half;
    g().unit[kPlayer].find_boost = c.boost ? 3 : 0;
    SteerDraws(g(), Expand({kPlainFind}));
    EXPECT_EQ(FindBudget(g(), 100), c.budget) << c.quarter << c.half << c.boost;
  }
  // Every multiplier at once must not wrap a large budget round to nothing.
  for (int i = 0; i < 20000; ++i) ASSERT_GE(FindBudget(g(), 1 << 29), 1 << 29);
}

TEST_F(FieldFinds, FindsComeFromTheirAreaAndCountsStayAtMost99) {
  struct Case {
    int location, area;
  } const cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {kHome, 0}, {kShop, 0}};
  for (const Case& c : cases) {
    g().my.location = c.location;
    for (int i = 0; i < 40; ++i) {
      const auto before = g().my.item_count;
      ItemFind(g(), 1000000);
      for (int n = 0; n < kItemCount; ++n)
        if (g().my.item_count[n] != before[n]) {
          EXPECT_EQ(g().item_def[n].area, c.area) << n;
          EXPECT_EQ(g().item_def[n].special, 0) << n;
          EXPECT_EQ(g().item_def[n].recipe, 0) << n;
        }
    }
  }
  g().my.location = kSea;
  int island_finds = 0;
  for (int i = 0; i < 40; ++i) {
    const auto before = g().my.item_count;
    ItemFindIn(g(), 1000000, kIsland);
    for (int n = 0; n < kItemCount; ++n)
      if (g().my.item_count[n] != before[n]) {
        EXPECT_EQ(g().item_def[n].area, kIsland) << n;
        ++island_finds;
      }
  }
  EXPECT_GT(island_finds, 30);
  EXPECT_EQ(g().my.location, kSea);

  // Full bags: every way of gaining leaves every count at 99.
  g().my.item_count.fill(99);
  g().my.item_count[7] = 150;  // a count from elsewhere is capped by the next gain too
  GainItem(g(), 5);
  EXPECT_NE(g().MessageLog[0].text.find(J("(所持:99個)")), std::string::npos) << g().MessageLog[0].text;
  ItemFind(g(), 1000000);
  EXPECT_NE(g().MessageLog[0].text.find(J("(所持:99個)")), std::string::npos) << g().MessageLog[0].text;
  GiveGift(g(), 1000000);
  EXPECT_EQ(*std::max_element(g().my.item_count.begin(), g().my.item_count.end()), 99);
}

TEST_F(FieldFinds, ExperienceCharmsAddTheirBonus) {
  struct Case {
    int item, count;
    int32_t amount, gained, one_in;  // a break draw of 0 in one_in takes a copy
  } const cases[] = {
      {0, 0, 10, 10, 0},   {97, 1, 10, 12, 70},  {98, 1, 10, 14, 60},
      {99, 1, 10, 16, 50}, {100, 1, 10, 18, 40}, {105, 3, 10, 16, 40},  // two per owned copy
      {100, 1, 0, 0, 0},                                                // nothing gained, nothing added
  };
  for (const Case& c : cases) {
    g().my.item_count = {};
    g().my.item_count[c.item] = c.count;
    g().unit[kPlayer].exp = 0;
    if (c.one_in > 0) SteerDraws(g(), {{c.one_in, kOnlyZero}});
    GainExp(g(), c.amount);
    EXPECT_EQ(g().unit[kPlayer].exp, c.gained) << c.item;
    EXPECT_EQ(g().my.item_count[c.item], c.count - (c.one_in > 0)) << c.item;
  }
  // Charms wear out now and then, each break taking one copy.
  g().my.item_count = {};
  g().my.item_count[100] = 99;
  for (int i = 0; i < 400; ++i) GainExp(g(), 1);
  EXPECT_LT(g().my.item_count[100], 99);
  EXPECT_GT(g().my.item_count[100], 80);

  for (int32_t v : {-100, 30}) ChangeFullnessQuiet(g(), kPlayer, v);
  EXPECT_EQ(g().unit[kPlayer].fullness, 30);  // clamped at 0 on the way, not only at the end
}

}  // namespace
