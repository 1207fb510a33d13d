// SPDX-License-Identifier: GPL-3.0-or-later
// The customer names of dat/name.dat: 226 lines, read only.
#pragma once

#include <string>
#include <string_view>

#include "core/state.h"

struct Game;

// Fills guest_names from the file's bytes, one name per line (CR LF or LF);
// names past the end of the file stay empty, lines past 226 are ignored.
void ParseGuestNames(GameState& s, std::string_view bytes);

// Reads ExeDir()/dat/name.dat. A missing or unreadable file is not fatal: the
// names stay empty and GuestName stands in. Returns false when it could not be read.
bool LoadGuestNames(Game& g);

// Name `index` (0..225) for a customer. An empty name would leave an order slot
// looking unused, so a missing name, or an index out of range, gives a stand-in.
const std::string& GuestName(const GameState& s, int index);
