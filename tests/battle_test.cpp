// Battle rules: HP changes, hit chances, damage, techniques, the turn flow and the
// end of a battle, on the headless platform with an autopilot answering the waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "battle/action.h"
#include "battle/attacks.h"
#include "battle/damage.h"
#include "battle/encounter.h"
#include "battle/hp.h"
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
      {kChange, kPlayer, 0, 5, 20, {17, "5"}, 0, 0},        // heal stops at max_hp
      {kChange, kPlayer, 0, -4, 11, {16, "4"}, 5, 0},
      {kTake, kPlayer, 0, 30, 0, {16, "30"}, 5, 0},         // never below 0
      {kTake, kPlayer, 1, 6, 9, {16, "0"}, 5, 0},           // guard_all shows 0, the loss stays
      {kTake, kPlayer, 0, -3, 18, {17, "3"}, 0, 0},         // a negative hit heals
      {kLose, kPlayer, 0, 1, 14, {16, "1"}, 0, 0},          // hunger and poison: no shake
      {kLose, kPlayer, 1, 1, 14, {16, "0"}, 0, 0},
      {kTake, kFoe, 1, 6, 9, {16, "6"}, 0, 5},              // guard_all is the player's only
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
  const Case cases[] = {
      {0, 16, 0, 0, 10},   {0, 15, 0, 0, 20},   {0, 10, 0, 0, 20},  {0, 9, 0, 0, 30},  {0, 6, 0, 0, 30},
      {0, 5, 0, 0, 50},    {0, 2, 0, 0, 50},    {0, 1, 0, 0, 66},   {1, 0, 0, 0, 66},  {2, 0, 0, 0, 70},
      {6, 0, 0, 0, 80},    {15, 0, 0, 0, 90},   {16, 0, 0, 0, 95},  {100, 0, 0, 0, 95}, {9999, 0, 0, 0, 95},
      {10000, 0, 0, 0, 100}, {0, 10000, 0, 0, 100},
      {0, 0, 3, 0, 81},    // 3 levels above: +15
      {0, 0, 0, 3, 66},    // below gives nothing
      {100, 0, 4, 2, 105},
  };
  BattleRun b;
  Game& g = b.g();
  b.Meet(10);
  for (const Case& c : cases) {
    b.player().hit = c.hit;
    b.foe().evasion = c.evasion;
    b.player().level = c.level_a;
    b.foe().level = c.level_t;
    EXPECT_EQ(HitChance(g, kPlayer, kFoe), c.chance) << c.hit << " vs " << c.evasion << ", levels " << c.level_a
                                                    << " and " << c.level_t;
  }
}

TEST(BattleDamage, FullnessLevelAndNegativeRolls) {
  struct Case {
    int32_t fullness, player_level, foe_level, x, lo, hi;
  };
  const Case cases[] = {
      {85, 0, 0, 40, 47, 48},  // +(x/10+1), then +(0..1 + x/20)
      {70, 0, 0, 40, 42, 43},
      {50, 0, 0, 40, 40, 40},
      {30, 0, 0, 40, 37, 38},
      {15, 0, 0, 40, 33, 34},  // -(0..1 + x/20), then -(x/10+1)
      {50, 5, 1, 40, 43, 43},  // 4 levels above: +4/2+1
      {50, 1, 5, 40, 40, 40},
      {50, 0, 0, -3, 0, 1},    // a negative roll becomes 0 or 1
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
  g.my.item_count[1] = 1;  // ミルク
  g.my.item_count[3] = 1;  // 石, thrown for 1 damage
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
  b.player().level = -40;  // a hand-edited save: nothing is within reach
  EXPECT_EQ(PickEncounterMonster(g), 30);  // the cave's lowest tier
  g.my.location = kHome;
  EXPECT_EQ(PickEncounterMonster(g), 0);
  Encounter(g, 0);  // nothing to meet at home: no battle
  EXPECT_EQ(g.in_battle, 0);

  g.my.location = 3;
  b.player().level = 12;
  PrepareMonster(g, 35);
  const tman& m = b.foe();
  EXPECT_GE(m.level, 4);
  EXPECT_LE(m.level, 8);
  EXPECT_EQ(m.max_hp, 100 + m.level);
  EXPECT_EQ(m.hp, m.max_hp);
  EXPECT_EQ(m.strength, 10 + 10 / 2 + m.level / 3);
  EXPECT_EQ(m.map_kind, 35);
  EXPECT_LT(m.tp, 100);
}

}  // namespace
