// SPDX-License-Identifier: GPL-3.0-or-later
// Battle rules: HP changes, hit chances, damage, techniques, the turn flow and the
// end of a battle, on the headless platform with an autopilot answering the waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "battle/action.h"
#include "battle/attacks.h"
#include "battle/damage.h"
#include "battle/encounter.h"
#include "battle/hp.h"
#include "presentation/effects.h"
#include "presentation/screen.h"
#include "tests/battle_fixture.h"

namespace {

struct Popup {
  int kind;
  std::string text;
};
Popup LastPopup(Game& g) { return {g.fx.pop_kind[g.fx.PopCursor], g.pop_text[g.fx.PopCursor]}; }

TEST(BattleHp, ChangesClampShowTheirFigureAndShakeOrBlink) {
  enum Op { kChange, kTake, kLose };
  struct Case {
    Op op;
    int unit;
    int32_t guard_all, amount;
    int32_t hp_after;
    Popup shown;
    int shake, blink;
  };
  const Case cases[] = {
      {kChange, kPlayer, 0, 5, 20, {17, "5"}, 0, 0},  // heal stops at max_hp
      {kChange, kPlayer, 0, -4, 11, {16, "4"}, 5, 0},
      {kTake, kPlayer, 0, 30, 0, {16, "30"}, 5, 0},  // never below 0
      {kTake, kPlayer, 1, 6, 9, {16, "0"}, 5, 0},    // guard_all shows 0, the loss stays
      {kTake, kPlayer, 0, -3, 18, {17, "3"}, 0, 0},  // a negative hit heals
      {kLose, kPlayer, 0, 1, 14, {16, "1"}, 0, 0},   // hunger and poison: no shake
      {kLose, kPlayer, 1, 1, 14, {16, "0"}, 0, 0},
      {kTake, kFoe, 1, 6, 9, {16, "6"}, 0, 5},  // guard_all is the player's only
      {kChange, kFoe, 0, 2, 17, {17, "2"}, 0, 0},
      {kTake, kPlayer, 0, INT32_MIN, 20, {17, "2147483648"}, 0, 0},  // no wrap-around
      {kChange, kPlayer, 0, INT32_MAX, 20, {17, "2147483647"}, 0, 0},
  };
  for (const Case& c : cases) {
    BattleRun b;
    Game& g = b.g();
    b.Meet(20);
    tman& u = g.unit[c.unit];
    u.max_hp = 20;
    u.hp = 15;
    u.guard_all = c.guard_all;
    if (c.op == kChange) ChangeHp(g, c.unit, c.amount);
    if (c.op == kTake) TakeDamage(g, c.unit, c.amount);
    if (c.op == kLose) LoseHp(g, c.unit, c.amount);
    SCOPED_TRACE(testing::Message() << "op " << c.op << " unit " << c.unit << " amount " << c.amount);
    EXPECT_EQ(u.hp, c.hp_after);
    EXPECT_EQ(LastPopup(g).kind, c.shown.kind);
    EXPECT_EQ(LastPopup(g).text, c.shown.text);
    EXPECT_EQ(g.screen.ShakeCounter, c.shake);
    EXPECT_EQ(g.screen.EnemyBlinkCounter, c.blink);
  }
}

TEST(BattleDamage, HitChanceByGapAndLevels) {
  struct Case {
    int32_t hit, evasion, level_a, level_t, chance;
  };
  // clang-format off
  const Case cases[] = {
      {0, 16, 0, 0, 10},   {0, 15, 0, 0, 20},   {0, 10, 0, 0, 20},  {0, 9, 0, 0, 30},  {0, 6, 0, 0, 30},
      {0, 5, 0, 0, 50},    {0, 2, 0, 0, 50},    {0, 1, 0, 0, 66},   {1, 0, 0, 0, 66},  {2, 0, 0, 0, 70},
      {6, 0, 0, 0, 80},    {15, 0, 0, 0, 90},   {16, 0, 0, 0, 95},  {100, 0, 0, 0, 95}, {9999, 0, 0, 0, 95},
      {10000, 0, 0, 0, 100}, {0, 10000, 0, 0, 100},
      {5, 0, 0, 0, 70},    {9, 0, 0, 0, 80},    {10, 0, 0, 0, 90},
      {0, 0, 3, 0, 81},    // 3 levels above: +15
      {0, 0, 0, 3, 66},    // below gives nothing
      {100, 0, 4, 2, 105},
  };
  // clang-format on
  BattleRun b;
  Game& g = b.g();
  b.Meet(10);
  for (const Case& c : cases) {
    b.player().hit = c.hit;
    b.foe().evasion = c.evasion;
    b.player().level = c.level_a;
    b.foe().level = c.level_t;
    EXPECT_EQ(HitChance(g, kPlayer, kFoe), c.chance)
        << c.hit << " vs " << c.evasion << ", levels " << c.level_a << " and " << c.level_t;
  }
}

TEST(BattleDamage, FullnessLevelAndNegativeRolls) {
  struct Case {
    int32_t fullness, player_level, foe_level, x, lo, hi;
  };
  const Case cases[] = {
      {85, 0, 0, 40, 47, 48},  // +(x/10+1), then +(0..1 + x/20)
      {70, 0, 0, 40, 42, 43}, {50, 0, 0, 40, 40, 40}, {30, 0, 0, 40, 37, 38},
      {15, 0, 0, 40, 33, 34},  // -(0..1 + x/20), then -(x/10+1)
      {80, 0, 0, 40, 47, 48}, {79, 0, 0, 40, 42, 43}, {60, 0, 0, 40, 42, 43},
      {59, 0, 0, 40, 40, 40}, {41, 0, 0, 40, 40, 40}, {40, 0, 0, 40, 37, 38},
      {21, 0, 0, 40, 37, 38}, {20, 0, 0, 40, 33, 34}, {50, 5, 1, 40, 43, 43},  // 4 levels above: +4/2+1
      {50, 1, 5, 40, 40, 40}, {50, 0, 0, -3, 0, 1},                            // a negative roll becomes 0 or 1
  };
  BattleRun b;
  Game& g = b.g();
  for (const Case& c : cases) {
    std::set<int32_t> seen;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
      g.rng.Seed(seed);
      b.Meet(1000).level = c.foe_level;
      b.player().fullness = c.fullness;
      b.player().level = c.player_level;
      Damage(g, kPlayer, kFoe, c.x);
      const int32_t dealt = 1000 - b.foe().hp;
      seen.insert(dealt);
      // Only a real hit gives the target TP: 0..2 + 12 for a monster.
      if (dealt == 0) {
        EXPECT_EQ(b.foe().tp, 0);
      } else {
        EXPECT_GE(b.foe().tp, 12);
        EXPECT_LE(b.foe().tp, 14);
      }
    }
    EXPECT_EQ(*seen.begin(), c.lo) << "fullness " << c.fullness << " x " << c.x;
    EXPECT_EQ(*seen.rbegin(), c.hi) << "fullness " << c.fullness << " x " << c.x;
  }
}

TEST(BattleActions, ChargeTwiceStrengthensTheNextTwoBlows) {
  BattleRun b;
  Game& g = b.g();
  b.Meet(1000);
  b.player().strength = 0;
  b.player().hit = 20000;  // always hits
  b.player().tp = 20;
  Action(g, kPlayer, kPlayer, kCharge);
  Action(g, kPlayer, kPlayer, kCharge);
  EXPECT_EQ(b.player().power_state_turns, 2);
  EXPECT_EQ(b.player().tp, 0);
  Action(g, kPlayer, kPlayer, kCharge);  // no TP left: the turn is spent for nothing
  EXPECT_TRUE(b.Logged("tpが足りなかった...."));
  EXPECT_EQ(b.player().power_state_turns, 2);

  // 20 + 2 * 10 + 2, then 20 + 1 * 10 + 2; a critical adds half again.
  const int32_t expected[2][2] = {{42, 64}, {32, 49}};
  for (const auto& e : expected) {
    const int32_t before = b.foe().hp;
    PhysicalAttack(g, kPlayer, kFoe, 20);
    const int32_t dealt = before - b.foe().hp;
    EXPECT_TRUE(dealt == e[0] || dealt == e[1]) << dealt;
  }
  EXPECT_EQ(b.player().power_state_turns, 0);
}

TEST(BattleActions, SpecialAtFullTpForThePlayerAndForAMonster) {
  {
    BattleRun b;
    Game& g = b.g();
    b.Meet(1000);
    b.player().tp = 100;
    b.player().evasion = 50;
    b.foe().hit = 0;
    b.picks = {1};
    Transfer(g, CommandMenu);
    b.RunOne();
    ASSERT_FALSE(b.asked.empty());
    EXPECT_EQ(b.asked[0], J("ひっさつ"));
    EXPECT_TRUE(b.Logged("ぽむはひっさつのかまえ"));
    // At least a tenth of the monster's HP, however poor the roll; TP paid.
    EXPECT_LE(b.foe().hp, 1000 - 101);
    EXPECT_LT(b.player().tp, 100);
  }
  BattleRun b;
  Game& g = b.g();
  b.Meet(50).tp = 100;
  std::set<int32_t> picked;
  for (int i = 0; i < 40; ++i) picked.insert(PickEnemyTechnique(g, kFoe));
  EXPECT_EQ(picked, (std::set<int32_t>{kSpecial, kFlick}));  // never the plain attack

  b.foe().hit = 0;
  b.player().evasion = 9999;  // the special still hits
  b.player().max_hp = b.player().hp = 200;
  Action(g, kFoe, kPlayer, kSpecial);
  EXPECT_LE(b.player().hp, 200 - 21);
  EXPECT_LT(b.foe().tp, 100);
}

TEST(BattleActions, TechniqueDrawEndsWhenAMonsterHasNone) {
  BattleRun b;
  Game& g = b.g();
  b.Meet(50, {60, 99, -1, 4000});
  for (int i = 0; i < 50; ++i) {
    const int32_t t = PickEnemyTechnique(g, kFoe);
    EXPECT_TRUE(t == kAttack || t == kFlick) << t;
  }
  b.foe().waza = {60, 9, 60, 60};  // the one that exists
  for (int i = 0; i < 30; ++i) {
    const int32_t t = PickEnemyTechnique(g, kFoe);
    EXPECT_TRUE(t == kVaha || t == kFlick) << t;
  }
}

TEST(BattleFlow, UnknownHealAndCancelShowTheCommandMenuAgain) {
  BattleRun b;
  Game& g = b.g();
  b.Meet(1000);
  b.player().mp = 1;
  // まほう, right-click cancel, まほう, ？？？？, then こうげき.
  b.picks = {2, 5, 2, 1, 1};
  Transfer(g, CommandMenu);
  b.RunOne();
  ASSERT_GE(b.asked.size(), 5u);
  EXPECT_EQ(b.asked[1], J("？？？？"));
  EXPECT_EQ(b.asked[2], J("こうげき"));
  EXPECT_EQ(b.asked[3], J("？？？？"));
  EXPECT_EQ(b.asked[4], J("こうげき"));
  EXPECT_TRUE(b.Logged("＞こうげき"));
  EXPECT_FALSE(b.Logged("＞ヒール"));
  EXPECT_EQ(b.player().mp, 1);
  EXPECT_EQ(g.cancel_allowed, 0);
}

TEST(BattleEnd, DeathPenalties) {
  struct Case {
    int32_t money, lifespan;
    int32_t money_after, lifespan_after;
  };
  const Case cases[] = {{0, 19, -1, 19}, {-5, 20, -6, 15}, {1, 100, 0, 95}};
  for (const Case& c : cases) {
    BattleRun b;
    Game& g = b.g();
    b.Meet(50);
    tman& p = b.player();
    g.my.money = c.money;
    p.lifespan_days = c.lifespan;
    p.hp = 0;
    p.mp = 3;
    p.exp = 41;
    p.poison_turns = 4;
    p.guard_all = 2;
    p.heal_state_turns = 3;
    p.power_state_turns = 2;
    const int32_t hours = g.my.hours_used;
    EXPECT_EQ(CheckBattleEnd(g), 1);
    EXPECT_EQ(g.my.money, c.money_after);
    EXPECT_EQ(p.lifespan_days, c.lifespan_after);
    EXPECT_EQ(p.hp, 2);  // 1, then a step of the regeneration as the day runs out
    EXPECT_EQ(p.mp, 0);
    EXPECT_EQ(p.exp, 20);
    EXPECT_EQ(p.poison_turns, 0);
    EXPECT_EQ(p.guard_all, 0);
    EXPECT_EQ(p.heal_state_turns, 2);  // regeneration stays, and the spent day ticks it once
    EXPECT_EQ(p.power_state_turns, 0);
    EXPECT_GE(g.my.hours_used, hours + 10);
    EXPECT_EQ(g.in_battle, 0);
  }
}

TEST(BattleEnd, RevivalItemsInOrderThenDeath) {
  BattleRun b;
  Game& g = b.g();
  b.Meet(50);
  tman& p = b.player();
  p.max_hp = 40;
  p.max_mp = 9;
  g.my.item_count[48] = 1;
  g.my.item_count[190] = 1;

  p.hp = 0;
  p.mp = 0;
  EXPECT_EQ(CheckBattleEnd(g), 0);
  EXPECT_EQ(g.my.item_count[48], 0);
  EXPECT_EQ(g.my.item_count[190], 1);
  EXPECT_EQ(p.hp, 40 / 10 + 1);
  EXPECT_EQ(p.mp, 9 / 10 + 1);
  EXPECT_EQ(g.in_battle, 1);

  p.hp = -3;  // poked below 0: the revival still brings the player back
  p.mp = 0;
  EXPECT_EQ(CheckBattleEnd(g), 0);
  EXPECT_EQ(g.my.item_count[190], 0);
  EXPECT_EQ(p.hp, 40 / 3 + 1);
  EXPECT_EQ(p.mp, 9 / 3 + 1);

  p.hp = 0;
  EXPECT_EQ(CheckBattleEnd(g), 1);
  EXPECT_EQ(g.in_battle, 0);
}

TEST(BattleEnd, LevelUpNeedsTheThresholdAndDropsTheSurplus) {
  struct Case {
    int32_t exp_before;
    bool levels;
  };
  for (const Case c : {Case{43, false}, Case{45, true}}) {
    BattleRun b;
    Game& g = b.g();
    b.Meet(50).hp = 0;  // level 0 against level 0: 5..6 experience
    tman& p = b.player();
    p.level = 0;
    p.exp = c.exp_before;
    p.bp = 0;
    p.spirit = 10;
    p.magic = 12;
    p.max_hp = 20;
    p.max_mp = 1;
    b.picks = {2};  // たべる
    EXPECT_EQ(CheckBattleEnd(g), 2);
    EXPECT_EQ(g.in_battle, 0);
    EXPECT_EQ(b.foe().map_active, 0);
    EXPECT_GT(g.my.money, 300);
    if (!c.levels) {
      EXPECT_EQ(p.level, 0);
      EXPECT_GE(p.exp, 48);
      EXPECT_FALSE(IsShown(g, "bp_box"));
      continue;
    }
    EXPECT_EQ(p.level, 1);
    EXPECT_EQ(p.exp, 0);
    EXPECT_EQ(p.bp, 1);
    EXPECT_EQ(p.max_hp, 24);
    EXPECT_EQ(p.hp, 24);
    EXPECT_EQ(p.max_mp, 3);  // 12 / 10 + 1
    EXPECT_EQ(p.fullness, 100);
    EXPECT_EQ(g.level_up_bp, 1);
    EXPECT_TRUE(IsShown(g, "bp_box"));
    EXPECT_FALSE(IsShown(g, "l_btn7"));
    EXPECT_FALSE(IsShown(g, "l_btn7_cg"));
  }
}

TEST(BattleEnd, DarkSwordOfAMonsterEndsInVictory) {
  BattleRun b;
  Game& g = b.g();
  b.Meet(30).tp = 10;
  b.foe().drop = 220;
  b.player().max_hp = b.player().hp = 500;
  const int32_t drops = g.my.item_count[220];
  Action(g, kFoe, kPlayer, 16);
  EXPECT_EQ(b.foe().hp, 0);
  EXPECT_GT(b.player().hp, 0);
  b.picks = {3};  // はぎとる
  EXPECT_EQ(CheckBattleEnd(g), 2);
  EXPECT_EQ(g.my.item_count[220], drops + 1);
  EXPECT_EQ(g.in_battle, 0);
}

TEST(BattleFlow, PoisonThatFellsAMonsterEndsTheBattleBeforeItStrikes) {
  BattleRun b;
  Game& g = b.g();
  b.Meet(30).hp = 1;
  b.foe().poison_turns = 3;
  b.foe().strength = 500;
  b.player().max_hp = b.player().hp = 20;
  b.picks = {2};
  Transfer(g, EnemyTurn);
  b.RunScenes();
  EXPECT_EQ(g.in_battle, 0);
  EXPECT_EQ(b.player().hp, 20);
  EXPECT_TRUE(b.Logged("毒＞ 1ダメージ"));
  EXPECT_FALSE(b.Logged("＞"));  // no technique was used
}

TEST(BattleFlow, ItemUseSpendsTheTurnAndBackDoesNot) {
  BattleRun b;
  Game& g = b.g();
  auto& plat = b.run.plat;
  b.Meet(1000).waza = {10, 10, 10, 10};  // 詠唱: a line only
  g.my.item_count[1] = 1;                // ミルク
  g.my.item_count[3] = 1;                // 石, thrown for 1 damage
  // Picks the item's entry and presses 使う, as the player does.
  auto use = [&](int32_t item) {
    const std::vector<int32_t>& items = g.box.entry_items;
    const auto at = std::find(items.begin(), items.end(), item);
    ASSERT_NE(at, items.end()) << item;
    plat.QueueListSelect(static_cast<int>(at - items.begin()));
    plat.QueueMouseDown("l_btn10");
    plat.ProcessMessages();
    plat.ProcessMessages();
    EXPECT_FALSE(IsShown(g, "item_box"));
  };
  b.picks = {3};
  Transfer(g, CommandMenu);
  b.RunScenes();  // the item box takes over: no turn queued
  EXPECT_EQ(b.run.W("l_btn10").Caption(), J("使う"));
  EXPECT_TRUE(g.shell.scenes.empty());

  plat.QueueMouseDown("l_btn9");  // >BACK
  plat.ProcessMessages();
  EXPECT_FALSE(IsShown(g, "item_box"));
  ASSERT_EQ(g.shell.scenes.size(), 1u);
  b.picks = {3};
  b.RunScenes();
  EXPECT_EQ(b.asked.size(), 2u);  // the command menu again, nothing else ran

  use(1);  // the monster moves
  b.picks = {3};
  b.RunScenes();
  EXPECT_EQ(g.my.item_count[1], 0);
  EXPECT_TRUE(b.Logged("森の虫のこうげき"));
  EXPECT_EQ(b.asked.size(), 3u);

  // A thrown item that beat the monster: victory, no blow from 0 HP.
  b.foe().hp = 1;
  b.picks = {2};
  use(3);
  b.RunScenes();
  EXPECT_EQ(b.foe().hp, 0);
  EXPECT_EQ(g.in_battle, 0);
}

TEST(BattleFlow, ASearchMeetsAMonsterAndFightsToVictory) {
  BattleRun b;
  Game& g = b.g();
  b.run.WritePicture("battle.bmp", Rgb{10, 120, 10});
  g.my.location = 0;
  tman& p = b.player();
  p.strength = 40;
  p.hit = 60;
  p.exp = 0;
  Transfer(g, [](Game& g) { Encounter(g, 0); });
  b.RunOne();
  EXPECT_EQ(g.in_battle, 1);
  EXPECT_EQ(g.foe_index, kFoe);
  EXPECT_EQ(b.foe().map_active, 1);
  EXPECT_GE(b.foe().map_kind, 1);
  EXPECT_LE(b.foe().map_kind, 3);
  EXPECT_EQ(static_cast<SoftPicture*>(Background(g))->Pixel(5, 5), Rgb(10, 120, 10));
  b.RunScenes();
  EXPECT_EQ(g.in_battle, 0);
  EXPECT_EQ(g.foe_index, -1);
  EXPECT_EQ(b.foe().map_active, 0);
  EXPECT_GE(p.exp, 5);
  EXPECT_GT(g.my.money, 300);
  EXPECT_NE(std::find(b.asked.begin(), b.asked.end(), std::string()), b.asked.end());  // たべる / はぎとる
}

TEST(BattleEncounter, DrawStaysWithinTheFieldAndTierAndAlwaysEnds) {
  BattleRun b;
  Game& g = b.g();
  g.my.location = 0;
  b.player().level = 0;  // tier up to 2 in the forest: monsters 1..3
  std::set<int32_t> met;
  for (int i = 0; i < 200; ++i) met.insert(PickEncounterMonster(g));
  EXPECT_EQ(met, (std::set<int32_t>{1, 2, 3}));

  g.my.location = 3;
  b.player().level = -40;                  // a hand-edited save: nothing is within reach
  EXPECT_EQ(PickEncounterMonster(g), 30);  // the cave's lowest tier
  g.my.location = kHome;
  EXPECT_EQ(PickEncounterMonster(g), 0);
  Encounter(g, 0);  // nothing to meet at home: no battle
  EXPECT_EQ(g.in_battle, 0);

  // Level: the first draw 0..2 less the second, + 12 / 2; TP 0..99; then the first turn
  // goes to the monster on a draw 0..9 of 0.
  g.my.location = 3;
  b.player().level = 12;
  struct Met {
    std::vector<Draw> draws;
    int32_t level, tp;
    void (*turn)(Game&);
  };
  for (const Met& c : {Met{{{3, 0}, {3, 2}, {100, 0}, {10, 1}}, 4, 0, PlayerTurn},
                       Met{{{3, 2}, {3, 0}, {100, 99}, {10, 0}}, 8, 99, EnemyTurn}}) {
    g.shell.scenes.clear();
    SteerDraws(g, c.draws);
    Encounter(g, 35);
    const tman& m = b.foe();
    EXPECT_EQ(m.level, c.level);
    EXPECT_EQ(m.max_hp, 100 + m.level);
    EXPECT_EQ(m.max_mp, g.monster[35].max_mp + m.level / 8);
    EXPECT_EQ(m.hp, m.max_hp);
    EXPECT_EQ(m.strength, 10 + 10 / 2 + m.level / 3);
    EXPECT_EQ(m.map_kind, 35);
    EXPECT_EQ(m.tp, c.tp);
    ASSERT_EQ(g.shell.scenes.size(), 1u);
    EXPECT_EQ(*g.shell.scenes.front().target<void (*)(Game&)>(), c.turn);
    EXPECT_EQ(b.Logged("ドラゴンが先に攻撃してきたよ"), c.turn == EnemyTurn);
  }
}

// Every owned item that acts in a battle, alone, on draws steered in the order the rules
// make them: what it does to the turn, and that a 0 from its own one-in-k break draw
// breaks one copy. Draw letters: b/B the charm's break draw comes up 0 / not 0; h the hit
// roll at `edge` (hit charms against a chance of 66), H a sure hit; x a 1-in-`edge`
// critical, boost or resist comes up, n one of 20 does not; t the TP of the unit hit;
// p/P a figure's place over the monster / the player; f a one-in-five chance comes up;
// 3 three blows; z a tick of 1 in 20 comes up; o a 0..1 draw gives 1; a any 0..1; q a
// 0..3 draw gives 3.
enum CharmUse { kBlow, kBlowTaken, kMagic, kMagicTaken, kDebate, kDebateTaken, kChant, kTurn, kWin, kSpell };
struct CharmCase {
  int32_t item;
  CharmUse use;
  const char* draws;
  int32_t one_in, edge;
  int32_t swing;  // HP the monster lost and the player gained, +100 per point of the monster's
                  // defence lost, + its poison turns; MP and TP count at a turn's start, money on a win
};

TEST(BattleCharms, EachItemActsAndBreaksByItsNumbers) {
  // clang-format off
  const CharmCase cases[] = {
      // Blows: +x/k+1 (the x of 90 makes every k tell), hit steps, criticals, follow-ups.
      {88, kBlow, "bHn", 90, 0, 100}, {89, kBlow, "bHn", 80, 0, 101}, {90, kBlow, "bHn", 70, 0, 102},
      {91, kBlow, "bHn", 60, 0, 103}, {92, kBlow, "bHn", 50, 0, 106}, {93, kBlow, "bHn", 40, 0, 109},
      {94, kBlow, "bHn", 30, 0, 113}, {95, kBlow, "bHn", 20, 0, 121}, {96, kBlow, "bHn", 90, 0, 100},
      {142, kBlow, "bHn", 80, 0, 100},
      {151, kBlow, "bhn", 80, 76, 90}, {151, kBlow, "Bh", 80, 77, 0}, {152, kBlow, "bhn", 70, 86, 90},
      {152, kBlow, "Bh", 70, 87, 0}, {153, kBlow, "bhn", 60, 96, 90}, {153, kBlow, "Bh", 60, 97, 0},
      {154, kBlow, "bhn", 50, 100, 90},
      {163, kBlow, "Hbx", 80, 18, 136}, {164, kBlow, "Hbx", 70, 16, 136}, {165, kBlow, "Hbx", 60, 14, 136},
      {123, kBlow, "Hbx", 90, 10, 136},
      {160, kBlow, "Hnptfptb", 30, 0, 136}, {210, kBlow, "Hnptfptb", 30, 0, 136},
      {161, kBlow, "Hnptf3ptbptBptB", 30, 0, 228}, {159, kBlow, "HnptPb", 70, 0, 92}, {167, kBlow, "Hnptb", 60, 0, 189},
      {182, kBlow, "HnptPb", 40, 0, 91}, {226, kBlow, "Hnptfpb", 30, 0, 110},
      // Blows taken: -x/k-1, evasion steps, the thorn cloak's return.
      {78, kBlowTaken, "bHn", 70, 0, -80}, {79, kBlowTaken, "bHn", 60, 0, -79}, {80, kBlowTaken, "bHn", 50, 0, -78},
      {81, kBlowTaken, "bHn", 40, 0, -77}, {82, kBlowTaken, "bHn", 30, 0, -74}, {83, kBlowTaken, "bHn", 20, 0, -71},
      {139, kBlowTaken, "bHn", 70, 0, -80},
      {171, kBlowTaken, "bhn", 70, 56, -90}, {171, kBlowTaken, "Bh", 70, 57, 0}, {172, kBlowTaken, "bhn", 60, 46, -90},
      {172, kBlowTaken, "Bh", 60, 47, 0}, {173, kBlowTaken, "bhn", 50, 36, -90}, {173, kBlowTaken, "Bh", 50, 37, 0},
      {121, kBlowTaken, "bhn", 40, 33, -90}, {121, kBlowTaken, "Bh", 40, 34, 0},
      {174, kBlowTaken, "Hntpb", 40, 0, -45},
      // Magic, cast and taken.
      {143, kMagic, "bHnn", 70, 0, 100}, {144, kMagic, "bHnn", 60, 0, 101}, {145, kMagic, "bHnn", 50, 0, 102},
      {146, kMagic, "bHnn", 40, 0, 103},
      {155, kMagic, "bhnn", 50, 76, 90}, {155, kMagic, "Bh", 50, 77, 0}, {156, kMagic, "bhnn", 40, 86, 90},
      {156, kMagic, "Bh", 40, 87, 0}, {157, kMagic, "bhnn", 30, 96, 90}, {157, kMagic, "Bh", 30, 97, 0},
      {158, kMagic, "bhnn", 20, 100, 90},
      {122, kMagic, "Hbxn", 30, 10, 136}, {241, kMagic, "Hnnptb", 30, 0, 190},
      {84, kMagicTaken, "bHnn", 70, 0, -80}, {85, kMagicTaken, "bHnn", 60, 0, -78}, {86, kMagicTaken, "bHnn", 50, 0, -74},
      {87, kMagicTaken, "bHnn", 40, 0, -67}, {140, kMagicTaken, "bHnn", 70, 0, -80}, {141, kMagicTaken, "bHnn", 60, 0, -79},
      {168, kMagicTaken, "Hnbx", 60, 18, -45}, {169, kMagicTaken, "Hnbx", 50, 16, -45},
      {170, kMagicTaken, "Hnbx", 40, 14, -45}, {175, kMagicTaken, "Hnntpb", 30, 0, -45},
      // Debate, the amulets against a monster's other techniques, the turn's ticks, the purses.
      {71, kDebateTaken, "bH", 50, 0, -80}, {72, kDebateTaken, "bH", 50, 0, -71}, {73, kDebate, "bH", 40, 0, 100},
      {74, kDebateTaken, "bH", 40, 0, -80},
      {147, kChant, "Pb", 30, 0, 1}, {148, kChant, "Pb", 20, 0, 2}, {149, kChant, "Pb", 10, 0, 3},
      {124, kTurn, "zb", 100, 0, 1}, {125, kTurn, "nzPb", 100, 0, 1}, {126, kTurn, "nnzb", 100, 0, 1},
      {9, kWin, "aqb", 10, 0, 24}, {11, kWin, "aqb", 20, 0, 14}, {111, kWin, "aqb", 30, 0, 14},
      // Techniques that wear out the item behind them (edge: the technique).
      {46, kSpell, "oPb", 30, kHeal, 7}, {120, kSpell, "Ppb", 20, 5, 4950}, {240, kSpell, "poHnnptb", 30, kVaha, 1},
      {242, kSpell, "pptb", 20, 11, 50},
  };
  // clang-format on
  for (const CharmCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "item " << c.item << " draws " << c.draws);
    BattleRun b;
    Game& g = b.g();
    tman& foe = b.Meet(10000);
    tman& p = b.player();
    p.defence = p.spirit = p.strength = p.magic = p.hit = p.evasion = p.level = 0;
    p.max_hp = 150;
    p.hp = 100;
    p.max_mp = 10;
    p.mp = c.use == kTurn ? 0 : 5;
    p.tp = c.use == kTurn ? 0 : 100;
    const bool foe_acts = c.use == kBlowTaken || c.use == kMagicTaken || c.use == kDebateTaken;
    (foe_acts ? foe : p).hit = std::strchr(c.draws, 'h') ? 0 : 20000;
    foe.defence = c.item == 167 || c.item == 241;  // something to lower
    if (c.item == 46) p.spirit = 3, p.level = 12;
    if (c.use == kWin) foe.hp = 0, b.default_pick = 3;  // はぎとる: nothing to draw
    const int32_t money = g.my.money;
    g.my.item_count[c.item] = 2;

    const std::map<char, std::vector<Draw>> letters = {{'b', {{c.one_in, kOnlyZero}}},
                                                       {'B', {{c.one_in, kNonZero}}},
                                                       {'h', {{101, c.edge}}},
                                                       {'H', {{101, kAnyDraw}}},
                                                       {'x', {{c.edge, kOnlyZero}}},
                                                       {'n', {{20, kNonZero}}},
                                                       {'t', {{3, kAnyDraw}}},
                                                       {'f', {{5, kOnlyZero}}},
                                                       {'3', {{3, 2}}},
                                                       {'z', {{20, kOnlyZero}}},
                                                       {'o', {{2, 1}}},
                                                       {'a', {{2, kAnyDraw}}},
                                                       {'q', {{4, 3}}},
                                                       {'p', {{21, kAnyDraw}, {30, kAnyDraw}}},
                                                       {'P', {{21, kAnyDraw}, {20, kAnyDraw}}}};
    std::vector<Draw> draws;
    for (const char* d = c.draws; *d; ++d) draws.insert(draws.end(), letters.at(*d).begin(), letters.at(*d).end());
    SteerDraws(g, draws);
    switch (c.use) {
      case kBlow: PhysicalAttack(g, kPlayer, kFoe, 90); break;
      case kBlowTaken: PhysicalAttack(g, kFoe, kPlayer, 90); break;
      case kMagic: MagicAttack(g, kPlayer, kFoe, 90); break;
      case kMagicTaken: MagicAttack(g, kFoe, kPlayer, 90); break;
      case kDebate: DebateAttack(g, kPlayer, kFoe, 90); break;
      case kDebateTaken: DebateAttack(g, kFoe, kPlayer, 90); break;
      case kChant: Action(g, kFoe, kPlayer, 10); break;
      case kTurn: PlayerTurn(g); break;
      case kWin: CheckBattleEnd(g); break;
      case kSpell: Action(g, kPlayer, c.edge == kHeal ? kPlayer : kFoe, c.edge); break;
    }
    int32_t swing =
        10000 - foe.hp + p.hp - 100 + 100 * ((c.item == 167 || c.item == 241) - foe.defence) + foe.poison_turns;
    if (c.use == kTurn) swing += p.mp + p.tp;
    if (c.use == kWin) swing = g.my.money - money;
    EXPECT_EQ(swing, c.swing);
    EXPECT_EQ(g.my.item_count[c.item], std::strchr(c.draws, 'b') ? 1 : 2);
  }
}

// The five formulas besides the blow, from a monster (no charms, no hunger), each on its
// own draws: the stat roll at its top and the hit roll at the top of its range, which hits
// a chance of exactly that and misses one a level (5) lower.
TEST(BattleDamage, FormulasAtTheEdgesOfTheirDraws) {
  struct Case {
    void (*attack)(Game&, int, int, int32_t);
    std::vector<Draw> draws;
    int32_t range, dealt;
  };
  // A chance of 95 + 5 per level above; damage + levels/2 + 1. Stats as set below.
  const Case cases[] = {
      {MagicAttack, {{5, 4}, {101, 100}, {20, kNonZero}, {20, kNonZero}}, 100, 4 + 10 - 4 + 1},
      {DebateAttack, {{5, 4}, {101, 100}}, 100, 4 + 10 - 5 + 1},
      {ArrowAttack, {{201, 200}, {4, 3}}, 200, 3 + 2 * 8 - 2 + 11},
      {ThrowAttack, {{151, 150}, {10, 9}}, 150, 9 + 20 - 3 + 6},
      {GunAttack, {{10, 9}, {151, 150}, {5, kNonZero}}, 150, 9 + 20 - 2 + 6},
      {GunAttack, {{10, 9}, {151, 150}, {5, 0}}, 150, 27 + 14 + 6},  // the gun's critical
      {HolyAttack, {{101, 100}, {3, 2}}, 100, 2 + 6 - 4 + 1},
  };
  for (const Case& c : cases) {
    for (const bool lands : {true, false}) {
      BattleRun b;
      Game& g = b.g();
      tman& foe = b.Meet(1000);
      foe.hit = 20, foe.evasion = 8, foe.magic = 10, foe.spirit = 6;
      foe.level = (c.range - 95) / 5 - !lands;
      tman& p = b.player();
      p.evasion = 2, p.defence = 3, p.spirit = 4, p.magic = 5, p.level = 0;
      p.max_hp = p.hp = 1000;
      SteerDraws(g, c.draws);
      c.attack(g, kFoe, kPlayer, 0);
      SCOPED_TRACE(testing::Message() << "range " << c.range << " dealt " << c.dealt << (lands ? "" : " missing"));
      EXPECT_EQ(1000 - p.hp, lands ? c.dealt : 0);
      EXPECT_EQ(b.Logged("Miss...."), !lands);
    }
  }
}

// Poison and paralysis of 10..19 turns, the one-in-three lost action, ぼうぎょ halving
// the next blow only, 体当たり's faint that costs the next turn, and PoisonTick's steps.
TEST(BattleActions, AfflictionsGuardFaintAndTheTurnsTick) {
  BattleRun b;
  Game& g = b.g();
  tman& foe = b.Meet(1000);
  tman& p = b.player();
  p.max_hp = p.hp = 1000;
  p.defence = p.evasion = p.strength = 0;
  foe.mp = 10;
  foe.tp = 10;
  const Draw over_player[] = {{21, kAnyDraw}, {20, kAnyDraw}};  // a figure's place
  SteerDraws(g, {over_player[0], over_player[1], {10, 9}});
  Action(g, kFoe, kPlayer, 20);
  EXPECT_EQ(p.paralysis_turns, 19);
  SteerDraws(g, {over_player[0], over_player[1], {10, 0}});
  Action(g, kFoe, kPlayer, 6);
  EXPECT_EQ(p.poison_turns, 10);
  SteerDraws(g, {{3, 0}});
  Action(g, kPlayer, kPlayer, 1);
  EXPECT_TRUE(b.Logged("麻痺で動けなかった....."));
  EXPECT_EQ(p.guard_turns, 0);
  SteerDraws(g, {{3, 2}});
  Action(g, kPlayer, kPlayer, 1);
  EXPECT_TRUE(b.Logged("ぽむはぼうぎょのかまえ"));
  EXPECT_EQ(p.guard_turns, 1);
  foe.hit = 20000;
  for (const int32_t loss : {20, 41}) {
    const int32_t hp = p.hp;
    SteerDraws(g, {{101, kAnyDraw}, {20, kNonZero}});
    PhysicalAttack(g, kFoe, kPlayer, 41);
    EXPECT_EQ(hp - p.hp, loss);
    EXPECT_EQ(p.guard_turns, 0);
  }
  // 吸血 takes at least 2, でこぴん a tenth and Ｍ法 half and one more of the player's HP.
  foe.mp = 10;
  for (const auto& [technique, loss] : {std::pair{15, 2}, {8, 100}, {19, 501}}) {
    p.hp = 1000;
    foe.hp = 500;
    Action(g, kFoe, kPlayer, technique);
    EXPECT_EQ(1000 - p.hp, loss) << technique;
    EXPECT_EQ(foe.hp, technique == 15 ? 502 : 500) << technique;
  }
  foe.hit = 0;
  p.evasion = 20;  // a chance of 10: the draw of 100 misses, and the faint comes all the same
  SteerDraws(g, {over_player[0], over_player[1], {101, 100}, over_player[0], over_player[1], {2, 0}});
  Action(g, kFoe, kPlayer, 12);
  EXPECT_EQ(p.faint_turns, 1);
  EXPECT_TRUE(b.Logged("ぽむは気絶してしまった"));
  g.shell.scenes.clear();
  PlayerTurn(g);
  EXPECT_EQ(p.faint_turns, 0);
  EXPECT_TRUE(b.Logged("ぽむは気絶して動けなかった"));
  ASSERT_EQ(g.shell.scenes.size(), 1u);
  EXPECT_EQ(*g.shell.scenes.front().target<void (*)(Game&)>(), &EnemyTurn);

  struct Tick {
    int32_t tman::*counter;
    int32_t hp, mp, tp, left;
  };
  const Tick ticks[] = {{&tman::heal_state_turns, 1, 0, 0, 1},   {&tman::mana_state_turns, 0, 1, 0, 1},
                        {&tman::spirit_state_turns, 0, 0, 1, 1}, {&tman::poison_turns, -1, 0, 0, 0},
                        {&tman::guard_all, 0, 0, 0, 0},          {&tman::extra_state_turns, 0, 0, 0, 0},
                        {&tman::reflect_turns, 0, 0, 0, 0}};
  for (const int unit : {kPlayer, kFoe}) {
    for (const Tick& t : ticks) {
      tman& u = g.unit[unit];
      u = tman{};
      u.max_hp = u.max_mp = 20;
      u.hp = u.mp = u.tp = 10;
      u.*t.counter = 1;
      PoisonTick(g, unit);
      EXPECT_EQ(u.hp, 10 + t.hp);
      EXPECT_EQ(u.mp, 10 + t.mp);
      EXPECT_EQ(u.tp, 10 + t.tp);
      EXPECT_EQ(u.*t.counter, t.left);
    }
  }
}

}  // namespace
