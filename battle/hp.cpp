// SPDX-License-Identifier: GPL-3.0-or-later
#include "battle/hp.h"

#include <algorithm>

#include "core/game.h"
#include "platform/text.h"
#include "presentation/effects.h"
#include "presentation/screen.h"
#include "presentation/sound.h"

namespace {

constexpr int kPanelHpX = 227;
constexpr int kPanelHpY = 38;
constexpr int kShakeTicks = 5;

// Adds in 64 bits so a huge heal or hit saturates instead of wrapping round.
void AddClamped(tman& u, int64_t amount) {
  const int64_t hp = static_cast<int64_t>(u.hp) + amount;
  u.hp = static_cast<int32_t>(std::clamp<int64_t>(hp, 0, std::max<int32_t>(u.max_hp, 0)));
}

void ShowGain(Game& g, int unit, int64_t amount) {
  PopTextAt(g, unit, 140, "");
  if (unit == kPlayer) {
    PopText(g, kPanelHpX, kPanelHpY, 17, Num(amount));
  } else {
    PopTextAt(g, unit, 17, Num(amount));
  }
}

// A loss of `shown` (>= 0); `felt` adds the shake or blink and the sound of a blow.
void ShowLoss(Game& g, int unit, int64_t shown, bool felt) {
  if (unit == kPlayer) {
    if (felt) {
      g.screen.ShakeCounter = kShakeTicks;
      PlayWave(g, kChannelHits, "damage2.wav");
    }
    PopText(g, kPanelHpX, kPanelHpY, 16, Num(shown));
  } else {
    if (felt) {
      g.screen.EnemyBlinkCounter = kShakeTicks;
      PlayWave(g, kChannelNews, "damage.wav");
    }
    PopTextAt(g, unit, 16, Num(shown));
  }
}

void Hurt(Game& g, int unit, int32_t amount, bool felt) {
  if (unit < 0 || unit >= kUnitCount) return;
  tman& u = g.unit[unit];
  AddClamped(u, -static_cast<int64_t>(amount));
  int64_t shown = amount;
  if (unit == kPlayer && u.guard_all > 0) shown = 0;
  if (shown >= 0) {
    ShowLoss(g, unit, shown, felt);
  } else {
    ShowGain(g, unit, -shown);
  }
}

}  // namespace

void ChangeHp(Game& g, int unit, int32_t amount) {
  if (unit < 0 || unit >= kUnitCount) return;
  AddClamped(g.unit[unit], amount);
  if (amount >= 0) {
    ShowGain(g, unit, amount);
  } else {
    ShowLoss(g, unit, -static_cast<int64_t>(amount), true);
  }
}

void TakeDamage(Game& g, int unit, int32_t amount) { Hurt(g, unit, amount, true); }

void LoseHp(Game& g, int unit, int32_t amount) { Hurt(g, unit, amount, false); }
