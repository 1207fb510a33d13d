// SPDX-License-Identifier: GPL-3.0-or-later
// Customer orders: the slots of my.orders and how long an order may wait.
#pragma once

#include <string>

#include "core/game.h"

// Slot 0 is never used (and not saved); orders live in slots 1..10.
inline constexpr int kFirstOrderSlot = 1;
inline constexpr int kLastOrderSlot = kOrderSlots - 1;
// An order is cancelled once it has waited this many nights.
inline constexpr int32_t kOrderDeadline = 10;

inline bool OrderInUse(const torder& o) { return !o.customer.empty(); }

// The ordered item's name; empty for a number a damaged save put out of range.
inline std::string OrderItemName(const Game& g, const torder& o) {
  return IsItemNumber(o.item) ? g.item_def[o.item].name : std::string();
}
