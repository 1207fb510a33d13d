// SPDX-License-Identifier: GPL-3.0-or-later
// The item, monster and technique catalogues against the game's design lists.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/item_numbers.h"
#include "core/items.h"
#include "core/monsters.h"
#include "platform/text.h"
#include "tests/catalogue_lists.h"

namespace {

struct Catalogue : ::testing::Test {
  static void SetUpTestSuite() {
    state = new GameState;
    FillMonsterCatalogue(*state);  // fills the items too
  }
  static void TearDownTestSuite() { delete state; }
  static GameState* state;
  const titem& Item(int n) const { return state->item_def[n]; }
};
GameState* Catalogue::state = nullptr;

std::vector<std::string> Split(const std::string& s, const std::string& sep) {
  std::vector<std::string> out;
  size_t pos = 0;
  for (;;) {
    const size_t at = s.find(sep, pos);
    out.push_back(s.substr(pos, at - pos));
    if (at == std::string::npos) return out;
    pos = at + sep.size();
  }
}

bool IsProduct(int n) { return n == 65 || n == 294; }

TEST_F(Catalogue, NamesAreExactlyTheListedOnes) {
  std::map<int, std::string> listed;
  for (const std::string& entry : Split(kItemNamesList, "; ")) {
    const size_t space = entry.find(' ');
    listed[std::stoi(entry.substr(0, space))] = entry.substr(space + 1);
  }
  ASSERT_EQ(listed.size(), 344u);
  int named = 0;
  for (int n = 0; n < kItemCount; ++n) {
    if (Item(n).name.empty()) {
      EXPECT_EQ(listed.count(n), 0u) << n;
      EXPECT_TRUE(Item(n).desc.empty()) << n;
      EXPECT_EQ(Item(n).price, 0) << n;
      continue;
    }
    ++named;
    ASSERT_EQ(listed.count(n), 1u) << n;
    EXPECT_EQ(Item(n).name, J(listed[n])) << n;
  }
  EXPECT_EQ(named, 344);
  EXPECT_FALSE(ItemExists(*state, 0));
  for (int gap : {0, 8, 39, 45, 62, 100, 478, 852, 879, 999}) EXPECT_TRUE(Item(gap).name.empty()) << gap;
  EXPECT_FALSE(ItemExists(*state, -1));
  EXPECT_FALSE(ItemExists(*state, 1000));
  EXPECT_TRUE(ItemExists(*state, 878));
}

TEST_F(Catalogue, EveryNumberMatchesTheList) {
  int rows = 0;
  for (const std::string& entry : Split(kItemNumbersList, "; ")) {
    int n, price, kind, power, area;
    char s1, s2, s3;
    std::istringstream in(entry);
    in >> n >> price >> s1 >> kind >> s2 >> power >> s3 >> area;
    ASSERT_FALSE(in.fail()) << entry;
    EXPECT_EQ(Item(n).price, price) << n;
    EXPECT_EQ(Item(n).kind, kind) << n;
    EXPECT_EQ(Item(n).power, power) << n;
    EXPECT_EQ(Item(n).area, area) << n;
    ++rows;
  }
  EXPECT_EQ(rows, 344);
}

TEST_F(Catalogue, RecipesMatchTheListAndUseRealItems) {
  std::map<int, std::vector<int>> listed;
  for (const std::string& entry : Split(kRecipeList, "; ")) {
    const size_t colon = entry.find(':');
    std::istringstream in(entry.substr(colon + 1));
    std::vector<int> slots;
    for (int v; in >> v;) slots.push_back(v);
    slots.resize(4, 0);
    listed[std::stoi(entry.substr(0, colon))] = slots;
  }
  ASSERT_EQ(listed.size(), 193u);
  int recipes = 0;
  for (int n = 0; n < kItemCount; ++n) {
    const titem& it = Item(n);
    if (it.recipe == 1) {
      ++recipes;
      ASSERT_EQ(listed.count(n), 1u) << n;
      EXPECT_EQ(std::vector<int>(it.ingredient.begin(), it.ingredient.end()), listed[n]) << n;
    } else {
      EXPECT_EQ(it.recipe, 0) << n;
      EXPECT_EQ(listed.count(n), 0u) << n;
    }
    for (int ing : it.ingredient) {
      if (ing != 0) {
        EXPECT_TRUE(ItemExists(*state, ing)) << n << " uses " << ing;
      }
    }
  }
  EXPECT_EQ(recipes, 193);
  // じすたま keeps its ingredients but is no recipe; セドナスパイス has neither.
  EXPECT_EQ(Item(65).ingredient, (std::array<int32_t, 4>{334, 49, 0, 0}));
  EXPECT_EQ(Item(65).recipe, 0);
  EXPECT_EQ(Item(294).ingredient, (std::array<int32_t, 4>{}));
  // A hole before a used slot stays a hole.
  EXPECT_EQ(Item(33).ingredient, (std::array<int32_t, 4>{0, 13, 58, 0}));
}

TEST_F(Catalogue, TellingRowsWordForWord) {
  for (const TellingRow& r : kTellingRows) {
    const titem& it = Item(r.no);
    EXPECT_EQ(it.name, J(r.name)) << r.no;
    EXPECT_EQ(it.desc, J(r.desc)) << r.no;
    EXPECT_EQ(it.price, r.price) << r.no;
    EXPECT_EQ(it.kind, r.kind) << r.no;
    EXPECT_EQ(it.power, r.power) << r.no;
    EXPECT_EQ(it.area, r.area) << r.no;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(it.ingredient[i], r.ingredient[i]) << r.no << " slot " << i;
    EXPECT_EQ(it.recipe, r.recipe) << r.no;
    EXPECT_EQ(it.special, r.special) << r.no;
  }
}

TEST_F(Catalogue, FiguresOfTheWholeCatalogue) {
  std::map<int, int> kinds, first_areas;
  std::set<int> specials;
  for (int n = 1; n < kItemCount; ++n) {
    const titem& it = Item(n);
    if (it.name.empty()) continue;
    ++kinds[it.kind];
    if (it.special) specials.insert(n);
    if (it.recipe == 0 && !IsProduct(n)) {
      ++first_areas[it.area];
    } else {
      EXPECT_EQ(it.area, 0) << n;  // products are found by no search
    }
  }
  const std::map<int, int> want_kinds = {
      {0, 22}, {1, 24}, {2, 1},  {3, 1},  {4, 97}, {6, 3},   {7, 4},  {8, 2},  {9, 1},   {10, 3}, {11, 1},
      {12, 1}, {13, 2}, {14, 3}, {15, 1}, {16, 1}, {17, 14}, {23, 6}, {24, 1}, {25, 1},  {26, 1}, {27, 1},
      {28, 1}, {29, 2}, {30, 9}, {31, 2}, {32, 2}, {33, 2},  {34, 1}, {35, 3}, {36, 1},  {37, 2}, {38, 1},
      {46, 7}, {47, 4}, {48, 5}, {49, 1}, {50, 2}, {51, 1},  {52, 1}, {55, 2}, {56, 21}, {57, 1}, {99, 82}};
  EXPECT_EQ(kinds, want_kinds);
  EXPECT_EQ(first_areas, (std::map<int, int>{{0, 47}, {1, 25}, {2, 34}, {3, 35}, {4, 5}, {5, 2}, {6, 1}}));
  EXPECT_EQ(specials, (std::set<int>{66, 67, 118, 870, 871, 872, 873}));

  const titem& a = Item(408);
  const titem& b = Item(409);
  EXPECT_FALSE(a.name.empty());
  EXPECT_EQ(std::tie(a.name, a.desc, a.special, a.price, a.kind, a.power, a.area, a.ingredient, a.recipe),
            std::tie(b.name, b.desc, b.special, b.price, b.kind, b.power, b.area, b.ingredient, b.recipe));
}

TEST_F(Catalogue, EveryDescriptionIsOneCleanLine) {
  for (int n = 1; n < kItemCount; ++n) {
    const titem& it = Item(n);
    if (it.name.empty()) continue;
    EXPECT_FALSE(it.desc.empty()) << n;
    // '?' is what J leaves for a character CP932 cannot hold; it never is a trail byte.
    EXPECT_EQ(it.name.find_first_of("?\r\n"), std::string::npos) << n;
    EXPECT_EQ(it.desc.find_first_of("?\r\n"), std::string::npos) << n;
  }
  // Unlisted descriptions follow the effect.
  EXPECT_EQ(Item(4).desc, J("HP +2"));
  EXPECT_EQ(Item(36).desc, J("お腹 +30"));
  EXPECT_EQ(Item(60).desc, J("TP +15"));
  EXPECT_EQ(Item(181).desc, J("使うと時間が 4時間回復する"));
  EXPECT_EQ(Item(408).desc, J("年齢 -8"));
  EXPECT_EQ(Item(469).desc, J("敵のHPの1/5を消失させる"));
  EXPECT_EQ(Item(472).desc, J("敵のHPの1/2を消失させる"));
  EXPECT_EQ(Item(459).desc, J("敵に 5ダメージ"));
  EXPECT_EQ(Item(13).desc, J("おかし作りの材料になる"));
  EXPECT_EQ(ItemEffectText(0, 56, -30), J("年齢 +30"));
}

TEST_F(Catalogue, FillingTwiceGivesTheSameCatalogue) {
  GameState other;
  other.item_def[8].name = "stale";
  FillItemCatalogue(other);
  EXPECT_TRUE(other.item_def[8].name.empty());
  for (int n = 0; n < kItemCount; ++n) EXPECT_EQ(other.item_def[n].desc, Item(n).desc) << n;
}

struct MonsterRowWant {
  int no;
  const char* name;
  int area, tier, max_hp, max_mp, defence, spirit, strength, magic, hit, evasion;
  std::array<int32_t, 4> waza;
  int drop;
};

TEST_F(Catalogue, MonstersInFull) {
  const MonsterRowWant want[] = {
      {0, "パイナップルヘッド", 0, 0, 10, 1, 0, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0},
      {1, "森の虫", 0, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 220},
      {2, "森の野鳥", 0, 1, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 334},
      {3, "森の野獣", 0, 2, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 864},
      {4, "森の蛮族", 0, 3, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 313},
      {5, "森の亡霊", 0, 4, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 240},
      {10, "草原の紋白蝶", 1, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 50},
      {11, "草原のバッタ", 1, 2, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 49},
      {12, "草原のハムスター", 1, 3, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 853},
      {13, "草原の羊", 1, 4, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 1},
      {14, "草原の巨人", 1, 5, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 854},
      {20, "ヤドカリ", 2, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 855},
      {21, "かに", 2, 3, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 856},
      {22, "キラーフィッシュ", 2, 4, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 857},
      {23, "たこ", 2, 5, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 115},
      {24, "ノーチラス", 2, 6, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 858},
      {30, "闇のキノコ", 3, 0, 5, 1, 0, 0, 0, 0, 0, 0, {0, 1, 0, 0}, 332},
      {31, "闇のコウモリ", 3, 5, 5, 2, 0, 1, 1, 0, 1, 0, {0, 1, 2, 0}, 859},
      {32, "闇のうさぎ", 3, 6, 8, 1, 0, 2, 0, 0, 0, 1, {0, 1, 6, 0}, 860},
      {33, "闇の狼", 3, 7, 6, 1, 0, 0, 3, 0, 2, 0, {0, 1, 7, 0}, 861},
      {34, "闇の住民", 3, 8, 8, 2, 0, 0, 2, 3, 3, 0, {0, 1, 4, 0}, 862},
      {35, "ドラゴン", 99, 10, 100, 50, 10, 10, 10, 10, 10, 10, {0, 1, 12, 7}, 872},
  };
  std::set<int> seen;
  for (const MonsterRowWant& w : want) {
    const tman& m = state->monster[w.no];
    seen.insert(w.no);
    EXPECT_EQ(m.name, J(w.name)) << w.no;
    EXPECT_EQ(std::vector<int>({m.area, m.tier, m.max_hp, m.max_mp, m.defence, m.spirit, m.strength, m.magic, m.hit,
                                m.evasion, m.drop, m.size}),
              std::vector<int>({w.area, w.tier, w.max_hp, w.max_mp, w.defence, w.spirit, w.strength, w.magic, w.hit,
                                w.evasion, w.drop, 15}))
        << w.no;
    EXPECT_EQ(m.waza, w.waza) << w.no;
    EXPECT_EQ(m.hp, 0) << w.no;  // only the listed members are set
    if (m.drop != 0) {
      EXPECT_TRUE(ItemExists(*state, m.drop)) << w.no;
    }
    for (int t : m.waza) EXPECT_FALSE(state->waza_def[t].name.empty()) << w.no;
  }
  for (int n = 0; n < kMonsterCount; ++n) {
    if (!seen.count(n)) {
      EXPECT_TRUE(state->monster[n].name.empty()) << n;
    }
  }
}

TEST_F(Catalogue, TechniquesInFull) {
  const twaza want[] = {
      {"こうげき", "ぶつりこうげき", 0, 0},
      {"ぼうぎょ", "ぶつりぼうぎょ", 0, 0},
      {"ヒール", "回復魔法 MP-1", 0, 1},
      {"ひっさつ", "物理攻撃 TP=0", 100, 0},
      {"もんどう", "論理攻撃 INT-INT TP-2", 2, 0},
      {"ｲﾚｲｻｰｽｸﾘｰﾑ", "自分と相手のHPを半減させる TP-50", 50, 0},
      {"粘液", "相手を毒化させる MP-1", 0, 1},
      {"ためる", "次の物理攻撃ダメージを上昇させる TP-10", 10, 0},
      {"でこぴん", "相手の最大HPの1/10絶対ダメージ", 0, 0},
      {"ヴァハ", "魔法攻撃 MP-1", 0, 1},
      {"詠唱", "呪文を唱える", 0, 0},
      {"龍言語魔法", "ダメージ分の絶対ダメージ TP-30", 30, 0},
      {"体当たり", "相手を気絶させる TP-10", 10, 0},
      {"弓矢狼", "弓矢攻撃 TP-10", 10, 0},
      {"月光", "神格攻撃 MND-MND MP-1", 0, 1},
      {"吸血", "HPを吸収する INT-MND MP-2", 0, 2},
      {"暗黒剣", "物理攻撃+敵のMAXHP10% HP-10% TP-10", 10, 0},
      {"二刀", "物理攻撃x2 TP-20", 20, 0},
      {"手裏剣", "投擲攻撃 DEX-VIT TP-10", 10, 0},
      {"Ｍ法", "相手のHPを半減させる MP-5", 0, 5},
      {"真言", "相手を麻痺状態にさせる MP-3", 0, 3},
      {"トロッコ銃", "機工攻撃 DEX-AGI TP-10", 10, 0},
  };
  for (int w = 0; w < kWazaCount; ++w) {
    const twaza& t = state->waza_def[w];
    if (w >= 22) {
      EXPECT_TRUE(t.name.empty()) << w;
      continue;
    }
    EXPECT_EQ(t.name, J(want[w].name)) << w;
    EXPECT_EQ(t.desc, J(want[w].desc)) << w;
    EXPECT_EQ(t.tp_cost, want[w].tp_cost) << w;
    EXPECT_EQ(t.mp_cost, want[w].mp_cost) << w;
  }
}

std::set<int> Eligible(GameState& s, int level, int field) {
  s.unit[kPlayer].level = level;
  std::set<int> out;
  for (int n = -1; n <= 256; ++n) {
    if (MonsterMeetsEncounterRule(s, n, field)) out.insert(n);
  }
  return out;
}

TEST_F(Catalogue, EncounterEligibilityFollowsFieldAndTier) {
  GameState s = *state;
  for (int level = 0; level <= 4; ++level) EXPECT_EQ(Eligible(s, level, 0), (std::set<int>{1, 2, 3})) << level;
  EXPECT_EQ(Eligible(s, 5, 0), (std::set<int>{1, 2, 3, 4}));
  EXPECT_EQ(Eligible(s, 9, 0), (std::set<int>{1, 2, 3, 4}));
  EXPECT_EQ(Eligible(s, 10, 0), (std::set<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Eligible(s, 0, 1), (std::set<int>{10, 11}));
  EXPECT_EQ(Eligible(s, 30, 3), (std::set<int>{30, 31, 32, 33, 34}));
  EXPECT_EQ(Eligible(s, 14, 2), (std::set<int>{20, 21, 22}));  // 14 / 5 + 2 = 4
  EXPECT_EQ(Eligible(s, 15, 2), (std::set<int>{20, 21, 22, 23}));
  // The tier-0 monster of each field is always there, even at a negative level
  // (-4 / 5 is 0 when dividing toward zero).
  EXPECT_EQ(Eligible(s, -4, 2), (std::set<int>{20}));
  // Monster 0 is never met, nor the dragon, nor anything at home or in the shop.
  for (int level : {0, 1000}) {
    EXPECT_FALSE(Eligible(s, level, 0).count(0));
    EXPECT_FALSE(Eligible(s, level, 99).count(35));
    EXPECT_TRUE(Eligible(s, level, kHome).empty());
    EXPECT_TRUE(Eligible(s, level, kShop).empty());
  }
}

}  // namespace

// The numbers the rules test by name are those names in the catalogue; the ones the
// catalogue lacks stay without an entry, so only a save file can make them count.
TEST_F(Catalogue, NamedItemNumbersAreTheirItems) {
  const struct {
    int32_t item;
    const char* name;  // "" for a number without an entry
  } kNamed[] = {
      {kKey, "鍵"},
      {kRod, "釣竿"},
      {kBait, "イズミミズ"},
      {kShovel, "スコップ"},
      {kPickaxe, "つるはし"},
      {kEmpressStaff, "皇后の杖"},
      {kSaintStatue, "聖ペテロ像"},
      {kBatSword, "コウモリのけん"},
      {kMongooseSword, "マングースのけん"},
      {kCentipedeSword, "むかでのけん"},
      {kGnomeSword, "ノームのけん"},
      {kThornCloak, "いばらのマント"},
      {kWitchCloak, "魔女のマント"},
      {kPoisonHood, "毒使いのフード"},
      {kRarityCharmQuarter, "ｒｏｍｉ色チョコ"},
      {kRarityCharmHalf, "舞路色綿菓子"},
      {kSecondLife, ""},
      {kCourageSword, ""},
      {kDragonSword, ""},
      {kWiseWomanStaff, ""},
      {kEvasionHalver, ""},
      {kBoostDoubler, ""},
      {kCriticalHalver, ""},
      {kMpTickCharm, ""},
      {kHpTickCharm, ""},
      {kTpTickCharm, ""},
      {kResistCharm, ""},
      {kExpCharmPerCount, ""},
      {kPoisonGuard, ""},
  };
  for (const auto& row : kNamed) EXPECT_EQ(Item(row.item).name, J(row.name)) << row.item;
}
