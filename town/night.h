// SPDX-License-Identifier: GPL-3.0-or-later
// The night: orders age, rest, the weekly settlement, ageing, the morning and rent.
#pragma once

#include <string>

struct Game;

// Runs the night and the next morning when the day's hours are spent (true), which
// ends by handing over to the home menu; false while hours remain.
bool NightCheck(Game& g);
// The shop's title for its RANK (CP932).
std::string ShopTitle(Game& g);
