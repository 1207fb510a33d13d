#include <algorithm>

#include "field/field.h"
#include "field/inscriptions.h"
#include "field/owl_lines.h"
#include "field/scenes.h"
#include "tests/field_fixture.h"

namespace {

using FieldScenes = FieldTest;

constexpr int kShovel = 214;

TEST_F(FieldScenes, DigUsesUpTheShovelAndBreaksOnlyASecondOne) {
  const std::string broke = J("【スコップ】が壊れてしまった");
  int broken_spares = 0;
  for (int i = 0; i < 60; ++i) {
    const int shovels = 1 + i % 2;  // the only shovel, or one spare
    g().my.item_count[kShovel] = shovels;
    const auto before = g().my.item_count;
    ClearLogLines();
    answers = {1};
    ASSERT_TRUE(Digging(g()));
    int gained = 0;
    for (int n = 0; n < kItemCount; ++n)
      if (n != kShovel) gained += g().my.item_count[n] - before[n];
    EXPECT_EQ(gained, 1);
    if (shovels == 1) {
      EXPECT_EQ(g().my.item_count[kShovel], 0);
      EXPECT_FALSE(LogHas(broke));
    } else {
      broken_spares += g().my.item_count[kShovel] == 0;
      EXPECT_EQ(LogHas(broke), g().my.item_count[kShovel] == 0);
    }
  }
  EXPECT_GT(broken_spares, 0);
  EXPECT_EQ(asked.front()[0], J("掘る(スコップ:1)"));

  g().my.item_count[kShovel] = 0;
  answers = {1};
  Digging(g());
  EXPECT_TRUE(LogHas(J("スコップ持ってねーじゃん!!")));
}

TEST_F(FieldScenes, StrandedCostsHoursAndTheIslandCloses) {
  // Calling for help: 1 hour when the ship comes, 2 each time nobody answers.
  g().my.location = kSea;
  answers = std::deque<int>(50, 1);
  ASSERT_TRUE(Stranded(g()));
  int unanswered = 0;
  for (const auto& a : asked) EXPECT_EQ(a[1], J("島へ行く"));
  unanswered = static_cast<int>(asked.size()) - 1;
  EXPECT_EQ(g().my.hours_used, 2 * unanswered + 1);

  // Two island trips spend the last four hours; then only calling for help is left.
  asked.clear();
  g().my.hours_used = 0;
  g().my.day_hours = 4;
  answers = {2, 2};
  answers.insert(answers.end(), 50, 1);
  ASSERT_TRUE(Stranded(g()));
  ASSERT_GE(asked.size(), 3u);
  EXPECT_EQ(asked[1][1], J("島へ行く"));
  for (size_t i = 2; i < asked.size(); ++i) EXPECT_EQ(asked[i][1], "");
  EXPECT_GE(g().my.hours_used, 4);
  EXPECT_EQ(g().my.location, kSea);

  // Closing the window ends the loop with no way back to the field menu.
  answers.clear();
  run.plat.SetIdleHandler([this] { run.plat.QueueClose(); });
  EXPECT_FALSE(Stranded(g()));
}

TEST_F(FieldScenes, OwlTalksThroughSevenStagesThenRepeats) {
  const std::string again = J("フォッフー、またおまえか");
  for (int visit = 0; visit < 10; ++visit) {
    ClearLogLines();
    answers = {1};  // はなす; the stage's own question is answered at random
    OwlDoctor(g());
    EXPECT_EQ(OwlVisits(g()), std::min(visit + 1, kOwlLastStage));
    EXPECT_EQ(LogHas(again), visit >= kOwlLastStage) << visit;
  }
  // Every stage asks its own question; the repeat asks none.
  ASSERT_EQ(asked.size(), 10u + kOwlStages);
  EXPECT_EQ(asked[1][0], J("旅人です"));
  EXPECT_EQ(asked[13][0], J("だからいったの"));

  // A damaged save's negative stage starts the talks over.
  OwlVisits(g()) = -5;
  answers = {1};
  OwlDoctor(g());
  EXPECT_EQ(OwlVisits(g()), 1);
}

// Our own texts must survive the CP932 conversion whole and fit the log unsplit.
TEST_F(FieldScenes, OwnTextsFitTheLog) {
  auto check = [](const char* utf8) {
    const std::string t = J(utf8);
    EXPECT_EQ(t.find('?'), std::string::npos) << utf8;
    EXPECT_LE(t.size(), 60u) << utf8;
  };
  for (int k = 0; k < kInscriptionCount; ++k) {
    const auto lines = InscriptionAt(k);
    EXPECT_GE(lines.size(), 1u);
    EXPECT_LE(lines.size(), 5u);
    for (const char* l : lines) check(l);
  }
  for (int s = 0; s < kOwlStages; ++s) {
    for (const char* l : OwlLines(OwlStageAt(s).before)) check(l);
    for (const char* l : OwlLines(OwlStageAt(s).after)) check(l);
  }
}

// The tool scenes word for word: passing by, going ahead without the tool, and going
// ahead with one, for each draw of the find table (the chest finds by value).
TEST_F(FieldScenes, ToolScenesSayTheirLinesAndFindByTheirTables) {
  struct Case {
    bool (*scene)(Game&);
    std::vector<int> tools, finds;
    const char *caption, *sighting, *passed, *lacking, *used;
  };
  const Case cases[] = {
      {TreasureChest, {2}, {}, "あける(鍵:", "おや、宝箱があるぞ", "無視しーた", "でも鍵を持ってないのでほっといた",
       "鍵を使って開けた!!(鍵:0)"},
      {Digging, {214}, {324, 324, 325, 325, 325, 49, 49, 326, 326, 334, 334, 334, 220, 13, 221}, "掘る(スコップ:",
       "むむっ、ここ絶対ある！", "なんかあった？しーらないっ", "スコップ持ってねーじゃん!!", nullptr},
      {Fishing, {102, 101}, {113, 113, 113, 113, 109, 109, 109, 111, 111, 115, 116, 283, 283}, "釣る(ｲｽﾞﾐﾐｽﾞ:",
       "あっ、なんかいる！！", "じーーーーっと見た。", "釣竿か餌がないから諦めた", "ヒット!!"},
      {Rock, {215}, {7, 7, 3, 3, 3, 14, 14, 11, 11, 178, 178, 178, 55, 9}, "発掘(ﾂﾙﾊｼ:", "なんか怪しい、この岩！",
       "通り過ぎた", "つるはしがないから諦めた", "つるはしで掘り出した(残:0)"},
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(c.finds.size());
    for (int run = -2; run < std::max(n, 1); ++run) {  // -2 passing by, -1 without the tool
      const int owned = run >= 0;
      ClearLogLines();
      asked.clear();
      for (int tool : c.tools) g().my.item_count[tool] = owned;
      for (int item : c.finds) g().my.item_count[item] = 0;
      answers = {run == -2 ? 2 : 1};
      if (owned && n > 0) SteerDraws(g(), {{n, run}, {10, 0}});  // then a rod's 1 in 10
      ASSERT_TRUE(c.scene(g()));
      SCOPED_TRACE(testing::Message() << c.caption << " run " << run);
      ASSERT_EQ(asked.size(), 1u);
      EXPECT_EQ(asked[0][0], J(c.caption) + std::to_string(owned) + ")");
      EXPECT_TRUE(Said(c.sighting));
      if (!owned) {
        EXPECT_TRUE(Said(run == -2 ? c.passed : c.lacking));
        continue;
      }
      EXPECT_TRUE(!c.used || Said(c.used));
      EXPECT_EQ(n > 0 ? g().my.item_count[c.finds[run]] : 1, 1);
      EXPECT_EQ(Said("今だ！釣糸シュート！"), c.scene == Fishing);
      if (c.scene == Fishing) {
        EXPECT_EQ(g().my.item_count[101], 0);  // the rod breaks on a draw of 0 in 10
      }
    }
  }
}

}  // namespace
