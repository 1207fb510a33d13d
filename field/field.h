// SPDX-License-Identifier: GPL-3.0-or-later
// The four fields: their menus and the search.
#pragma once

struct Game;

inline constexpr int kForest = 0;
inline constexpr int kGrassland = 1;
inline constexpr int kSea = 2;
inline constexpr int kCave = 3;
inline constexpr int kFieldCount = 4;

// The menu of a field (0..3): さがす / キャンプ / アイテム / 帰る.
void FieldMenu(Game& g, int field);
// さがす: spends hours and draws one of the 24 outcomes.
void SearchField(Game& g);
