// SPDX-License-Identifier: GPL-3.0-or-later
// The home: the hub every day returns to, the destination question, the kitchen's
// door and the camp.
#pragma once

struct Game;

// The home screen and its menus: たんけん / おかし作り / お店へ / アイテム.
void HomeMenu(Game& g);
// Shows the menu of the current location: a field's menu, or home.
void ReturnToPlace(Game& g);
// The field menu's キャンプ: rest two hours.
void Camp(Game& g);
// The home menu's おかし作り: the item box in cooking mode.
void OpenKitchen(Game& g);
