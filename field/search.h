// SPDX-License-Identifier: GPL-3.0-or-later
// The search's table of 24 equally likely slots and what each one does.
#pragma once

#include <string>

struct Game;

inline constexpr int kSearchSlots = 24;

// Runs the outcome of slot 0..23 in the current field. True when the player stays in
// the field (the caller returns to its menu); false when a battle or the merchant
// has taken over.
bool RunSearchSlot(Game& g, int slot);

// Shared by the outcomes and the scenes: asks a question and returns the pick, 0 when
// the window closed before one was made.
int Ask(Game& g, const std::string& c1, const std::string& c2, const std::string& c3 = "", const std::string& c4 = "");
