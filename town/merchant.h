// SPDX-License-Identifier: GPL-3.0-or-later
// The travelling merchant's stock, drawn afresh each time the buy list is built.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Game;

// The offers in list order (an item may be offered twice). Everything but the four
// basic ingredients is offered only when the player can afford it.
std::vector<int32_t> MerchantStock(Game& g);
// Index 0..4 in sold_out of a one-off merchant item; -1 for any other item.
int OneOffIndex(Game& g, int32_t item);
// The highest item number 0..999 with exactly this name (CP932); 0 when none.
int32_t ItemByName(Game& g, const std::string& cp932);
