// SPDX-License-Identifier: GPL-3.0-or-later
#include "field/finds.h"

#include <algorithm>
#include <limits>

#include "core/game.h"
#include "core/item_numbers.h"
#include "platform/text.h"
#include "presentation/log.h"
#include "presentation/sound.h"

namespace {

constexpr int kFindDraws = 900;

// Lucky finds: each multiplier is drawn on its own, so they can stack.
struct Multiplier {
  int32_t one_in;
  int32_t factor;
};
constexpr Multiplier kMultipliers[] = {{3, 2}, {5, 3}, {10, 5}, {20, 10}, {40, 20}, {80, 50}, {160, 100}};

struct ExpCharm {
  int32_t item;
  int32_t bonus;
  int32_t break_one_in;
};
constexpr ExpCharm kExpCharms[] = {{97, 2, 70}, {98, 4, 60}, {99, 6, 50}, {100, 8, 40}};

}  // namespace

void CapItemCounts(Game& g) {
  for (int32_t& n : g.my.item_count) n = std::min(n, kMaxOwned);
}

int32_t FindBudget(Game& g, int32_t budget) {
  // Every multiplier at once would overflow 32 bits and turn a jackpot into nothing.
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  int64_t b = budget;
  for (const Multiplier& m : kMultipliers)
    if (g.rng.Random(m.one_in) == 0) b = std::min(b * m.factor, kMax);
  if (g.my.item_count[kRarityCharmQuarter] > 0) b += b / 4 + 1;
  if (g.my.item_count[kRarityCharmHalf] > 0) b += b / 2 + 1;
  if (g.unit[kPlayer].find_boost > 0) b *= 2;
  return static_cast<int32_t>(std::min(b, kMax));
}

void ItemFindIn(Game& g, int32_t budget, int area) {
  budget = FindBudget(g, budget);
  for (int i = 0; i < kFindDraws; ++i) {
    const int32_t n = g.rng.Random(kItemCount - 1);
    const titem& it = g.item_def[n];
    if (it.name.empty() || it.price > budget || it.recipe != 0 || it.special != 0 || it.area != area) continue;
    PlayWave(g, kChannelNews, "item.wav");
    g.my.item_count[n] += 1;
    CapItemCounts(g);  // before the message: it tells what the bag holds
    LogColoured(g, J("【") + it.name + J("】を") + Num(1) + J("個入手(所持:") + Num(g.my.item_count[n]) + J("個)"),
                "green");
    return;
  }
}

void ItemFind(Game& g, int32_t budget) { ItemFindIn(g, budget, std::max(g.my.location, 0)); }

void GainItem(Game& g, int32_t item) {
  if (!IsItemNumber(item) || g.item_def[item].name.empty()) return;
  PlayWave(g, kChannelNews, "item.wav");
  g.my.item_count[item] += 1;
  CapItemCounts(g);
  LogColoured(g,
              J("Item【") + g.item_def[item].name + J("】を 1個入手した(所持:") + Num(g.my.item_count[item]) + J("個)"),
              "green");
}

void BreakItem(Game& g, int32_t item) {
  if (!IsItemNumber(item) || g.my.item_count[item] <= 0) return;
  g.my.item_count[item] -= 1;
  PlayWave(g, kChannelNews, "broke.wav");
  LogColoured(
      g, J("【") + g.item_def[item].name + J("】が壊れてしまった....!(残:") + Num(g.my.item_count[item]) + J("個)"),
      "red");
  WaitForClick(g);
}

void GainExp(Game& g, int32_t amount) {
  if (amount == 0) return;
  for (const ExpCharm& c : kExpCharms) {
    if (g.my.item_count[c.item] <= 0) continue;
    amount += c.bonus;
    if (g.rng.Random(c.break_one_in) == 0) BreakItem(g, c.item);
  }
  if (g.my.item_count[kExpCharmPerCount] > 0) {
    amount += 2 * g.my.item_count[kExpCharmPerCount];
    if (g.rng.Random(40) == 0) BreakItem(g, kExpCharmPerCount);
  }
  g.unit[kPlayer].exp += amount;
  LogColoured(g, J("経験値が ") + Num(amount) + J("も増えた"), "yellow2");
}

void ChangeFullnessQuiet(Game& g, int unit, int32_t amount) {
  tman& u = g.unit[unit];
  u.fullness = std::clamp(u.fullness + amount, 0, 100);
}

void GiveGift(Game& g, int32_t value) {
  LogLineWait(g, J("何かくれた"));
  ItemFind(g, value);
  WaitForClick(g);
}
