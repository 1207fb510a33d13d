#include <map>
#include <set>

#include "field/field.h"
#include "field/search.h"
#include "shell/scene_loop.h"
#include "tests/field_fixture.h"

namespace {

using FieldSearch = FieldTest;

TEST_F(FieldSearch, HungerSpoilsOrdinarySearchesOnlyAtThirtyOrBelow) {
  struct Case {
    int32_t fullness;
    int spoiled_min, spoiled_max;  // of 1700 searches
  } const cases[] = {
      {0, 770, 930},   // one in 2
      {30, 65, 140},   // one in 17
      {31, 0, 0},      // never
      {100, 0, 0},
  };
  const std::string spoiled = J("お腹が減って探せなかった..");
  for (const Case& c : cases) {
    int n = 0;
    for (int i = 0; i < 1700; ++i) {
      g().unit[kPlayer].fullness = c.fullness;
      ClearLogLines();
      ASSERT_TRUE(RunSearchSlot(g(), 0));
      n += g().MessageLog[0].text == spoiled;
    }
    EXPECT_GE(n, c.spoiled_min) << c.fullness;
    EXPECT_LE(n, c.spoiled_max) << c.fullness;
  }
}

// Many searches in each field with a random player: every slot comes up, each spends
// time, keeps the player in the field and hands over exactly as its outcome says. The
// merchant's box stays open until the player presses >BACK, as the player must before
// anything else can be clicked.
TEST_F(FieldSearch, EverySlotInEveryFieldComesUpAndReturnsAsItShould) {
  const std::set<int> handed_over = {5, 14, 16, 20};  // battles
  for (int field = 0; field < kFieldCount; ++field) {
    g().rng.Seed(1000 + field);
    g().my.location = field;
    std::set<int> seen;
    for (int i = 0; i < 700; ++i) {
      for (int tool : {2, 101, 102, 214, 215}) g().my.item_count[tool] = i % 3;
      g().unit[kPlayer].hp = 50;
      g().unit[kPlayer].fullness = i % 2 ? 80 : 10;
      g().in_battle = 0;  // a battle handed over is dropped unfought below
      Rng probe = g().rng;
      const int slot = probe.Random(kSearchSlots);
      seen.insert(slot);
      const int32_t hours = g().my.hours_used;
      SearchField(g());

      ASSERT_FALSE(run.plat.Closed());
      EXPECT_GE(g().my.hours_used, hours + 1) << "slot " << slot;
      EXPECT_EQ(g().my.location, field) << "slot " << slot;
      for (int32_t n : g().my.item_count) ASSERT_LE(n, 99);
      if (slot == 13) {
        ASSERT_TRUE(IsShown(g(), "item_box"));
        EXPECT_EQ(run.W("l_btn10").Caption(), J("買う"));
        EXPECT_TRUE(g().shell.scenes.empty());
        run.plat.QueueMouseDown("l_btn9");
        run.plat.ProcessMessages();
        EXPECT_FALSE(IsShown(g(), "item_box"));
        ASSERT_TRUE(SceneStep(g()));
        EXPECT_TRUE(LogHas(J("商人はどこかへ去っていった....")));
      }
      const int returns = TakeReturns();
      if (handed_over.count(slot)) {
        EXPECT_EQ(returns, 0) << "slot " << slot;
      } else if (!(field == kCave && slot == 22)) {  // the dragon sometimes fights
        EXPECT_EQ(returns, 1) << "field " << field << " slot " << slot;
      }
    }
    EXPECT_EQ(seen.size(), 24u) << "field " << field;
  }
}

TEST_F(FieldSearch, FieldMenuRoutesEachChoice) {
  answers = {4};
  FieldMenu(g(), kSea);
  EXPECT_EQ(g().my.location, kSea);
  EXPECT_TRUE(LogHas(J("帰ろーっと")));
  ASSERT_EQ(g().shell.scenes.size(), 1u);
  EXPECT_EQ(*g().shell.scenes.front().target<void (*)(Game&)>(), &HomeMenu);
  g().shell.scenes.clear();

  answers = {3};
  FieldMenu(g(), kCave);
  EXPECT_EQ(run.W("l_btn10").Caption(), J("使う"));
  EXPECT_EQ(asked.back()[0], J("さがす"));
  Show(g(), "item_box", false);  // as >BACK does

  answers = {1};
  const int32_t hours = g().my.hours_used;
  FieldMenu(g(), kForest);
  EXPECT_GT(g().my.hours_used, hours);

  // A damaged location sends the player home instead of indexing past the fields.
  g().shell.scenes.clear();
  FieldMenu(g(), 7);
  ASSERT_EQ(g().shell.scenes.size(), 1u);
  EXPECT_EQ(*g().shell.scenes.front().target<void (*)(Game&)>(), &HomeMenu);
}

// The hours of every outcome of a search in every field, the slot steered (0..23); the
// scenes answered with their second button, the deep sea with もっと潜る. Then a camp.
TEST_F(FieldSearch, EveryOutcomeCostsItsHours) {
  for (int field = 0; field < kFieldCount; ++field) {
    for (int slot = 0; slot < kSearchSlots; ++slot) {
      if (field == kSea && slot == 18) continue;  // stranded: counted by its own test
      const bool dive = field == kSea && slot == 22;
      g().my.location = field;
      g().in_battle = 0;
      g().unit[kPlayer].hp = g().unit[kPlayer].fullness = 50;
      g().my.item_count[870] = 0;
      Show(g(), "item_box", false);
      answers = {dive ? 1 : 2};
      const int32_t hours = g().my.hours_used;
      // The slot, then an hour's hunger of 2; 拾い食い gives 5 + 4 back; a dive's hour and
      // its last outcome, 竜宮城's 玉手箱.
      std::vector<Draw> draws = {{kSearchSlots, slot}, {4, 0}, {5, 4}};
      if (dive) draws = {{kSearchSlots, slot}, {4, 0}, {4, 0}, {9, 8}};
      SteerDraws(g(), draws);
      SearchField(g());
      EXPECT_EQ(g().my.hours_used - hours, slot == 11 || dive ? 2 : 1) << "field " << field << " slot " << slot;
      if (slot == 12) {
        EXPECT_EQ(g().unit[kPlayer].fullness, 50 - 2 + 9);
      }
      EXPECT_EQ(g().my.item_count[870], dive ? 1 : 0);
      const std::map<int, std::vector<const char*>> lines = {
          {6, {"一人休みした....HP +1"}}, {7, {"転んでケガした....HP -1"}}, {8, {"何も無かった...."}},
          {11, {"道に迷ってしまった...."}}, {13, {"謎の商人が現れた", "「あれー、あんた何してるのー？」"}}};
      for (const char* line : lines.count(slot) ? lines.at(slot) : std::vector<const char*>{}) EXPECT_TRUE(Said(line));
      TakeReturns();
    }
  }
  const int32_t hours = g().my.hours_used;
  Camp(g());
  EXPECT_EQ(g().my.hours_used - hours, 2);
}

}  // namespace
