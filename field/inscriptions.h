// SPDX-License-Identifier: GPL-3.0-or-later
// The scribbles on the cave walls.
#pragma once

#include <span>

inline constexpr int kInscriptionCount = 20;

// Inscription 0..19: one to five lines of UTF-8 text.
std::span<const char* const> InscriptionAt(int k);
