// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "field/field.h"
#include "field/finds.h"
#include "field/inscriptions.h"
#include "field/owl_lines.h"
#include "field/scenes.h"
#include "field/search.h"
#include "tests/field_fixture.h"

namespace {

using FieldScenes = FieldTest;

constexpr int kShovel = 214;

// A dig takes its shovel; a draw 0..9 of 0 then breaks a second one, if there is one.
TEST_F(FieldScenes, DigUsesUpTheShovelAndBreaksOnlyASecondOne) {
  const std::string broke = J("【スコップ】が壊れてしまった");
  struct Case {
    int32_t shovels;
    Draw brk;
    int32_t left;
  } const cases[] = {{1, {10, kOnlyZero}, 0}, {2, {10, kOnlyZero}, 0}, {2, {10, kNonZero}, 1}};
  for (const Case& c : cases) {
    g().my.item_count[kShovel] = c.shovels;
    ClearLogLines();
    answers = {1};
    SteerDraws(g(), {{15, kAnyDraw}, c.brk});
    ASSERT_TRUE(Digging(g()));
    EXPECT_EQ(g().my.item_count[kShovel], c.left) << c.shovels;
    EXPECT_EQ(LogHas(broke), c.shovels - c.left == 2) << c.shovels;
  }
  g().my.item_count[kShovel] = 0;
  answers = {1};
  Digging(g());
  EXPECT_TRUE(LogHas(J("スコップ持ってねーじゃん!!")));
}

// Two island trips spend the last four hours; then only calling for help is left.
TEST_F(FieldScenes, TheIslandClosesWithTheDay) {
  g().my.location = kSea;
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

// Each stage's find is worth its value (500 more a stage, 1000 from stage 7 on): the
// dearest item it still finds.
TEST_F(FieldScenes, OwlTalksThroughSevenStagesThenRepeats) {
  const std::string again = J("フォッフー、またおまえか");
  const int32_t values[] = {500, 1000, 1500, 2000, 2500, 3000, 3500, 1000, 1000};
  for (int stage = 0; stage < 9; ++stage) {
    for (const int32_t price : {values[stage] + 1, values[stage]}) {
      OwlVisits(g()) = stage;
      FindOnly(kForest, price);
      ClearLogLines();
      answers = {1};  // はなす; the stage's own question is answered at random
      const int32_t items = Owned();
      SteerDraws(g(), Expand({price > values[stage] ? kMissFind : kPlainFind}));
      OwlDoctor(g());
      EXPECT_EQ(Owned() - items, price == values[stage] ? 1 : 0) << stage;
      EXPECT_EQ(OwlVisits(g()), std::min(stage + 1, kOwlLastStage));
      EXPECT_EQ(LogHas(again), stage >= kOwlLastStage) << stage;
    }
  }
  // Every stage asks its own question; the repeat asks none.
  ASSERT_EQ(asked.size(), 18u + 2 * kOwlStages);
  EXPECT_EQ(asked[1][0], J("旅人です"));
  EXPECT_EQ(asked[25][0], J("だからいったの"));

  // A damaged save's negative stage starts the talks over.
  OwlVisits(g()) = -5;
  answers = {1};
  OwlDoctor(g());
  EXPECT_EQ(OwlVisits(g()), 1);
}

// Every scene of every field on steered draws, run from its search slot (its draw, then
// the hour's hunger of 2, then the scene's own): the hours, HP, fullness and owned items
// it changes, exactly. A find's value shows as the dearest price it still finds (every
// item findable at `price`; -1 leaves the catalogue as it is).
TEST_F(FieldScenes, EverySceneChangesExactlyWhatItShould) {
  struct Case {
    int field, slot;
    std::deque<int> answers;
    std::vector<int> tools;
    int32_t price;
    std::vector<Draw> draws;
    int32_t hours, hp, items;
    int gained;  // an item that must come once, or 0
    const char* line;
  };
  const int32_t kAsIs = -1;
  // clang-format off
  std::vector<Case> cases = {
      // The chest's two finds: skill x 50 + 150, then skill x 150 + 500 (skill 1); the key goes.
      {kForest, 17, {1}, {2}, 200, {kPlainFind, kPlainFind}, 1, 0, 1, 0, "鍵を使って開けた!!(鍵:0)"},
      {kForest, 17, {1}, {2}, 201, {kMissFind, kPlainFind}, 1, 0, 0, 0, nullptr},
      {kForest, 17, {1}, {2}, 650, {kMissFind, kPlainFind}, 1, 0, 0, 0, nullptr},
      {kForest, 17, {1}, {2}, 651, {kMissFind, kMissFind}, 1, 0, -1, 0, nullptr},
      // The bear's and the cat's talk: a gift of 500, none, 1000 or 1500 by a draw 0..3.
      {kForest, 18, {1}, {}, 500, {{4, 0}, kPlainFind}, 1, 0, 1, 0, "クマ「こんにちは」"},
      {kForest, 18, {1}, {}, 501, {{4, 0}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kForest, 18, {1}, {}, 0, {{4, 1}}, 1, 0, 0, 0, "クマさんは走って逃げて行った.."},
      {kForest, 18, {1}, {}, 1000, {{4, 2}, kPlainFind}, 1, 0, 1, 0, "クマ「ぼく、ウサクマとは違うよ」"},
      {kForest, 18, {1}, {}, 1001, {{4, 2}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kForest, 18, {1}, {}, 1500, {{4, 3}, kPlainFind}, 1, 0, 1, 0, "クマ「なにしてるの？」"},
      {kForest, 18, {1}, {}, 1501, {{4, 3}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kForest, 18, {2}, {}, 0, {{2, 0}}, 1, 0, 0, 0, "泣いた。"},
      {kForest, 18, {2}, {}, 0, {{2, 1}}, 1, 0, 0, 0, "クマさんは走って逃げて行った.."},
      {kForest, 21, {1}, {}, 500, {{4, 0}, kPlainFind}, 1, 0, 1, 0, "ネコ「ごきげんよう！」"},
      {kForest, 21, {1}, {}, 501, {{4, 0}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kForest, 21, {1}, {}, 0, {{4, 1}}, 1, 0, 0, 0, "ネコは一目散に駆けて行った..何故.."},
      {kForest, 21, {1}, {}, 1000, {{4, 2}, kPlainFind}, 1, 0, 1, 0, "ネコ「シャー！！！」"},
      {kForest, 21, {1}, {}, 1001, {{4, 2}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kForest, 21, {1}, {}, 1500, {{4, 3}, kPlainFind}, 1, 0, 1, 0, "ネコ「犬と比べないで！！」"},
      {kForest, 21, {1}, {}, 1501, {{4, 3}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kForest, 22, {2}, {}, kAsIs, {{2, 0}}, 1, -5, 0, 0, "カアアアアア！！"},
      {kForest, 22, {2}, {}, kAsIs, {{2, 1}}, 1, 0, 0, 0, "うわーあああん"},
      // The fruit tree's fall and the rabbit: a jump fails on a draw 0..4 of 0.
      {kGrassland, 18, {1}, {}, kAsIs, {{5, kOnlyZero}}, 1, -2, 0, 0, "そして尻餅をついてケガをした"},
      {kGrassland, 21, {1}, {}, 1000, {{5, kNonZero}, kPlainFind}, 1, 0, 1, 0, "ウサギ「ありがとうぴょん！」"},
      {kGrassland, 21, {1}, {}, 1001, {{5, kNonZero}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kGrassland, 21, {1}, {}, 0, {{5, kOnlyZero}}, 1, 0, 0, 0, "ウサギさんは落ちていった...."},
      {kGrassland, 21, {2}, {}, kAsIs, {{3, 0}}, 1, 0, 0, 0, "助けなかった...."},
      {kGrassland, 21, {2}, {}, kAsIs, {{3, 1}}, 1, 0, 0, 0, "ひとでなしー！！！...."},
      {kGrassland, 21, {2}, {}, kAsIs, {{3, 2}}, 1, 0, 0, 0, "見てみぬふりをした...."},
      {kGrassland, 22, {1}, {}, 500, {{2, 0}, kPlainFind}, 1, 0, 1, 0, "起こしてくれてありがとう"},
      {kGrassland, 22, {1}, {}, 501, {{2, 0}, kMissFind}, 1, 0, 0, 0, nullptr},
      {kGrassland, 22, {1}, {}, 0, {{2, 1}}, 1, 0, 0, 0, "キツネは怒りました"},
      // Stranded: the island (2 hours, a find of skill x 500 + 500 there), then a call for
      // help that a ship answers on a draw 0..2 of 0 (1 hour) or nobody does (2 hours).
      {kSea, 18, {2, 1}, {}, 1000, {kHour, kPlainFind, kHour, {3, kOnlyZero}}, 4, 0, 1, 0, nullptr},
      {kSea, 18, {2, 1}, {}, 1001, {kHour, kMissFind, kHour, {3, kOnlyZero}}, 4, 0, 0, 0, nullptr},
      {kSea, 18, {1, 1}, {}, kAsIs, {kHour, {3, kNonZero}, kHour, kHour, {3, kOnlyZero}}, 4, 0, 0, 0, "何の反応も無い.."},
      {kSea, 21, {}, {}, kAsIs, {}, 1, 0, 0, 0, "そっとしておこう…"},
      // The deep sea, one more hour and a draw 0..8.
      {kSea, 22, {1}, {}, kAsIs, {kHour, {9, 0}}, 2, 0, 0, 0, "何も無かった...."},
      {kSea, 22, {2}, {}, kAsIs, {}, 1, 0, 0, 0, nullptr},
  };
  // clang-format on
  for (const int32_t d : {2, 7})
    cases.push_back({kSea, 22, {1}, {}, kAsIs, {kHour, {9, d}}, 2, -21, 0, 0, "ギャアアアアア"});
  for (const int32_t d : {3, 8}) cases.push_back({kSea, 22, {1}, {}, kAsIs, {kHour, {9, d}}, 2, 0, 1, 870, nullptr});
  cases.push_back({kSea, 22, {1}, {}, kAsIs, {kHour, {9, 4}}, 2, 0, 1, 871, "裏・竜宮城だあああ！！！"});
  for (const int32_t d : {1, 5, 6}) {
    cases.push_back({kSea, 22, {1}, {}, 1500, {kHour, {9, d}, kPlainFind}, 2, 0, 1, 0, "よしっ"});
    cases.push_back({kSea, 22, {1}, {}, 1501, {kHour, {9, d}, kMissFind}, 2, 0, 0, 0, "よしっ"});
  }
  // The fruit tree's table, draw by draw.
  const int fruits[12] = {237, 237, 238, 238, 239, 239, 240, 5, 340, 340, 306, 306};
  for (int32_t d = 0; d < 12; ++d)
    cases.push_back({kGrassland, 18, {1}, {}, kAsIs, {{5, kNonZero}, {12, d}}, 1, 0, 1, fruits[d], nullptr});
  cases.insert(cases.end(), {
                                {kCave, 18, {}, {}, kAsIs, {}, 1, -20, 0, 0, "穴に落ちてしまった...."},
                                {kCave, 21, {}, {}, kAsIs, {{20, kAnyDraw}}, 1, 0, 0, 0, "？…壁に何か書いてある…"},
                                {kCave, 22, {}, {}, kAsIs, {{3, 0}}, 1, 0, 0, 0, nullptr},  // the dragon: a battle
                                {kCave, 22, {}, {}, kAsIs, {{3, 1}}, 1, 0, 0, 0, "気のせいだったみたい"},
                                {kCave, 22, {}, {}, kAsIs, {{3, 2}}, 1, 0, 0, 0, "今朝見た夢のせいだったみたい"},
                            });

  const auto catalogue = g().item_def;
  tman& p = g().unit[kPlayer];
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "field " << c.field << " slot " << c.slot << " price " << c.price << " line "
                                    << (c.line ? c.line : ""));
    g().item_def = catalogue;
    g().my.item_count = {};
    for (int tool : c.tools) g().my.item_count[tool] = 1;
    if (c.price != kAsIs) FindOnly(c.field == kSea && c.slot == 18 ? kIsland : c.field, c.price);
    g().my.location = c.field;
    g().in_battle = 0;
    ClearLogLines();
    answers = c.answers;
    p.hp = 41, p.max_hp = 60, p.fullness = 80;
    const int32_t hours = g().my.hours_used, items = Owned();
    std::vector<Draw> draws = {{kSearchSlots, c.slot}, kHour};
    draws.insert(draws.end(), c.draws.begin(), c.draws.end());
    SteerDraws(g(), Expand(draws));
    SearchField(g());
    EXPECT_EQ(g().my.hours_used - hours, c.hours);
    const auto passes =
        1 + std::count_if(c.draws.begin(), c.draws.end(), [](Draw d) { return d.bound == kHour.bound; });
    EXPECT_EQ(p.fullness, 80 - 2 * passes);
    EXPECT_EQ(p.hp - 41, c.hp);
    EXPECT_EQ(Owned() - items, c.items);
    if (c.gained) {
      EXPECT_EQ(g().my.item_count[c.gained], 1);
    }
    EXPECT_TRUE(c.line == nullptr || Mentions(c.line));
    EXPECT_EQ(g().my.location, c.field);
    const bool dragon = c.field == kCave && c.slot == 22 && c.draws[0].value == 0;
    EXPECT_EQ(g().in_battle, dragon ? 1 : 0);
    if (dragon) {
      EXPECT_EQ(g().unit[1].map_kind, 35);
    }
    EXPECT_EQ(TakeReturns(), dragon ? 0 : 1);
    EXPECT_TRUE(answers.empty());
  }
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
  // clang-format off
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
  // clang-format on
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
