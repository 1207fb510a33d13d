// SPDX-License-Identifier: GPL-3.0-or-later
// A battle of a thousand turns on a thread with a small stack: the turns hand each
// other to the scene loop, so every command menu opens at the same stack depth.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "shell/scene_loop.h"
#include "tests/battle_fixture.h"
#include "tests/small_stack.h"

namespace {

constexpr int32_t kMilk = 1;

struct LongBattle {
  BattleRun b;
  std::mt19937 rnd{99};
  StackSpan stack;
  int menus = 0, magic = 0, items_used = 0, items_back = 0, specials = 0;
  std::string failure;

  void Input() {
    Game& g = b.g();
    auto& p = b.run.plat;
    if (g.in_battle != 1 && failure.empty()) failure = "the battle ended";
    if (g.ChoicePending == 1) {
      const std::string& first = g.ChoiceCaption[1];
      if (first == J("こうげき") || first == J("ひっさつ")) {
        stack.Mark();
        if (++menus >= 1000) {
          p.QueueClose();
          return;
        }
        if (first == J("ひっさつ")) ++specials;
        // Keep both sides standing: the battle must go on for the whole run.
        for (tman* u : {&b.player(), &b.foe()}) u->hp = u->max_hp;
        b.player().mp = 1;
        items_used += g.my.item_count[kMilk] < 9;  // drunk since the last menu
        g.my.item_count[kMilk] = 9;
        const int r = static_cast<int>(rnd() % 10);
        const int k = r < 6 ? 1 : r < 8 ? 2 : 3;
        if (k == 2) ++magic;
        p.QueueMouseDown("sel" + std::to_string(k), 5, 5);
      } else if (rnd() % 4 == 0) {
        p.QueueMouseDown("cg", 10, 10, MouseButton::Right);  // cancel the magic list
      } else {
        p.QueueMouseDown("sel" + std::to_string(1 + rnd() % 3), 5, 5);
      }
    } else if (g.WaitState == 0) {
      p.QueueMouseDown("cg", 10, 10);
    } else if (g.shell.scenes.empty()) {
      // The item box is open: ミルク used (the box closes, the turn is spent), or >BACK.
      const std::vector<int32_t>& items = g.box.entry_items;
      const auto milk = std::find(items.begin(), items.end(), kMilk);
      if (milk != items.end() && rnd() % 2) {
        p.QueueListSelect(static_cast<int>(milk - items.begin()));
        p.QueueMouseDown("l_btn10");
      } else {
        ++items_back;
        p.QueueMouseDown("l_btn9");
      }
    }
  }
};

TEST(BattleSession, AThousandTurnsOnASmallStack) {
  auto lb = std::make_unique<LongBattle>();
  tman& foe = lb->b.Meet(1000000, {0, 1, 7, 10});
  foe.strength = 5;
  foe.hit = 5;
  tman& p = lb->b.player();
  p.max_hp = p.hp = 1000000;
  p.max_mp = 1;
  p.strength = 3;
  lb->b.g().my.item_count[kMilk] = 9;

  ASSERT_TRUE(RunOnSmallStack([&lb] {
    Game& g = lb->b.g();
    lb->b.run.plat.SetIdleHandler([&lb] { lb->Input(); });
    Transfer(g, PlayerTurn);
    RunSceneLoop(g);
  }));

  EXPECT_EQ(lb->failure, "");
  EXPECT_EQ(lb->menus, 1000);
  EXPECT_GT(lb->magic, 50);
  EXPECT_GT(lb->items_used, 20);
  EXPECT_GT(lb->items_back, 20);
  EXPECT_GT(lb->specials, 1);
  EXPECT_LE(lb->stack.Spread(), 256u) << "stack grew by " << lb->stack.Spread() << " bytes";
}

}  // namespace
