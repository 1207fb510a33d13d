// SPDX-License-Identifier: GPL-3.0-or-later
// The play record "きろく.txt" beside the save folder dat/: nine CP932 lines, CR LF,
// rewritten at every save.
#pragma once

#include <string>

#include "core/state.h"

// The shop's title for a RANK (CP932): 0..27 each their own, 28..99999
// "ポムリエ", anything else empty.
std::string ShopTitleForRank(int32_t rank);

// The whole file as written.
std::string PlayRecordText(const GameState& s);

// Path of the record (UTF-8 file name) in the player's folder.
std::string PlayRecordPath(const std::string& user_dir);
