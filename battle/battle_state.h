// SPDX-License-Identifier: GPL-3.0-or-later
// Module state of the battle, kept in Game beside the shared records.
#pragma once

#include <cstdint>

struct BattleState {
  // The technique being carried out; ひっさつ (3) changes the physical attack.
  int32_t current_action = 0;
};
