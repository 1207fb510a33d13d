// SPDX-License-Identifier: GPL-3.0-or-later
// Module state of the item box and cooking, kept in Game beside the shared records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct ItemBoxState {
  // The list as shown (CP932) and the item behind each entry. Entries keep their item
  // number even when blanked, so two items of the same name never get mixed up.
  std::vector<std::string> entries;
  std::vector<int32_t> entry_items;
  // Item number of the entry last shown in detail; -1 before any selection.
  int32_t selected = -1;
  // A press handed a script to the scene loop that has not run yet: further presses
  // wait for it, so one click can never act twice (a second use in one battle turn).
  bool script_queued = false;

  // Cooking: the four recipe slots (items already taken out of item_count), the slots
  // of the last attempt and its product (0 after a failure or before any cooking).
  std::array<int32_t, 4> recipe{};
  std::array<int32_t, 4> previous{};
  int32_t last_product = 0;
  // l_btn13 offers 前回のやつ (after a success) instead of RESET.
  bool offer_previous = false;
};
