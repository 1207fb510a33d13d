// SPDX-License-Identifier: GPL-3.0-or-later
#include "field/search.h"

#include "battle/battle.h"
#include "battle/hp.h"
#include "core/game.h"
#include "core/scene.h"
#include "field/field.h"
#include "field/finds.h"
#include "field/scenes.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "presentation/sound.h"
#include "town/clock.h"
#include "town/home.h"
#include "town/item_box.h"
#include "town/item_use.h"

namespace {

constexpr int kFoodKind = 4;
constexpr int kLookups = 900;

enum class Outcome { kSearch, kEncounter, kRest, kStumble, kNothing, kRecipe, kLost, kHunger, kMerchant, kScene };

constexpr Outcome kSlots[kSearchSlots] = {
    Outcome::kSearch,    Outcome::kSearch,    Outcome::kSearch,  Outcome::kSearch,   Outcome::kSearch,
    Outcome::kEncounter, Outcome::kRest,      Outcome::kStumble, Outcome::kNothing,  Outcome::kNothing,
    Outcome::kRecipe,    Outcome::kLost,      Outcome::kHunger,  Outcome::kMerchant, Outcome::kEncounter,
    Outcome::kSearch,    Outcome::kEncounter, Outcome::kScene,   Outcome::kScene,    Outcome::kSearch,
    Outcome::kEncounter, Outcome::kScene,     Outcome::kScene,   Outcome::kRecipe,
};

// The hungrier the player, the likelier a search comes to nothing; above 30 never.
void OrdinarySearch(Game& g) {
  const tman& p = g.unit[kPlayer];
  if (p.fullness <= 30 && g.rng.Random(p.fullness / 2 + 2) == 0) {
    LogColoured(g, J("お腹が減って探せなかった.."), "pink2");
  } else {
    ItemFind(g, p.explore_skill * 50 + 50);
  }
  PassTime(g, 1);
}

const std::string& NameOf(Game& g, int32_t item) {
  static const std::string kNone;
  return IsItemNumber(item) ? g.item_def[item].name : kNone;
}

// Shows the ingredients of a recipe within the cooking skill; the product stays secret.
void RecipeGlimpse(Game& g) {
  PassTime(g, 1);
  LogLineWait(g, J("何か落ちている...."));
  const int32_t limit = g.unit[kPlayer].cook_skill * 50 + 50;
  for (int i = 0; i < kLookups; ++i) {
    const titem& it = g.item_def[g.rng.Random(kItemCount - 1)];
    if (it.name.empty() || it.recipe == 0 || it.price > limit) continue;
    PlayWave(g, kChannelActs, "paper.wav");
    LogLine(g, "");
    LogLine(g, J("とあるレシピ.."));
    for (int32_t part : it.ingredient)
      if (!NameOf(g, part).empty()) LogLine(g, J("　★") + NameOf(g, part));
    return;
  }
  LogLineWait(g, J("気のせいだった...."));
}

// When hungry the player eats something carried; otherwise (or with nothing to eat)
// something found on the ground.
void Hunger(Game& g) {
  if (g.unit[kPlayer].fullness <= 30) {
    for (int i = 0; i < kLookups; ++i) {
      const int32_t n = g.rng.Random(kItemCount - 1);
      const titem& it = g.item_def[n];
      if (it.name.empty() || it.kind != kFoodKind || g.my.item_count[n] <= 0) continue;
      g.my.item_count[n] -= 1;
      PassTime(g, 1);
      LogLineWait(g, g.unit[kPlayer].name + J("はあまりの空腹に持ち物をあさった"));
      LogColoured(g, J("【") + it.name + J("】を食べた(残:") + Num(g.my.item_count[n]) + J(")"), "aqua");
      PlayWave(g, kChannelHits, "taberu.wav");
      ChangeFullness(g, kPlayer, it.power);
      WaitForClick(g);
      return;
    }
  }
  PlayWave(g, kChannelHits, "taberu.wav");
  PassTime(g, 1);
  LogLine(g, J("拾い食いをしてしまった...."));
  ChangeFullness(g, kPlayer, 5 + g.rng.Random(5));
}

void Merchant(Game& g) {
  PassTime(g, 1);
  ShowCg(g, "nazo.bmp");
  PlayWave(g, kChannelActs, "wa.wav");
  LogLineWait(g, J("謎の商人が現れた"));
  LogLineWait(g, J("「あれー、あんた何してるのー？」"));
  PlayWave(g, kChannelNews, "nani.wav");
  if (Widget* w = g.plat.FindWidget("l_btn10")) w->SetCaption(J("買う"));
  ShowItemList(g);
}

}  // namespace

int Ask(Game& g, const std::string& c1, const std::string& c2, const std::string& c3, const std::string& c4) {
  // A closing window leaves the preset answer: no scene acts on a stale pick.
  g.ChoiceResult = 0;
  AskChoice(g, c1, c2, c3, c4);
  return g.ChoiceResult;
}

bool RunSearchSlot(Game& g, int slot) {
  switch (kSlots[slot]) {
    case Outcome::kSearch: OrdinarySearch(g); return true;
    case Outcome::kEncounter:
      PassTime(g, 1);
      Encounter(g, 0);
      return false;
    case Outcome::kRest:
      PassTime(g, 1);
      ChangeHp(g, kPlayer, 1);
      LogLine(g, J("一人休みした....HP +1"));
      return true;
    case Outcome::kStumble:
      PassTime(g, 1);
      TakeDamage(g, kPlayer, 1);
      LogLine(g, J("転んでケガした....HP -1"));
      return true;
    case Outcome::kNothing:
      LogLine(g, J("何も無かった...."));
      PassTime(g, 1);
      return true;
    case Outcome::kRecipe: RecipeGlimpse(g); return true;
    case Outcome::kLost:
      LogLine(g, J("道に迷ってしまった...."));
      PassTime(g, 2);
      if (g.rng.Random(10) == 0) RaiseExploreSkill(g, 1);
      return true;
    case Outcome::kHunger: Hunger(g); return true;
    case Outcome::kMerchant: Merchant(g); return false;
    case Outcome::kScene: PassTime(g, 1); return RunFieldScene(g, slot);
  }
  return true;
}

void SearchField(Game& g) {
  if (RunSearchSlot(g, g.rng.Random(kSearchSlots))) Transfer(g, ReturnToPlace);
}
