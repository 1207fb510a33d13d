// SPDX-License-Identifier: GPL-3.0-or-later
// The item box: the list of items in use, cooking and buy mode, the detail text,
// the action button and >BACK.
#pragma once

#include <cstdint>
#include <string>

struct Game;

// The mode is the caption of l_btn10: 使う (use), 使っちゃう (cooking), 買う (buy).
enum class BoxMode { Use, Cook, Buy };
BoxMode ItemBoxMode(Game& g);
// Sets l_btn10's caption for the mode and builds the list.
void OpenItemBox(Game& g, BoxMode mode);

// Builds the list for the mode named by l_btn10's caption (使う / 使っちゃう / 買う)
// and shows the box.
void ShowItemList(Game& g);
// Shows the selected entry's item in item_l.
void ShowItemDetail(Game& g);
// Presses on the box's label buttons: l_btn9 >BACK, l_btn10 the action, l_btn11..13
// the cooking column. A press that starts a script hands it to the scene loop.
void ItemBoxLabelDown(Game& g, int k);
// item_list events: a click or a key (selection changes) show the detail.
void ItemListClick(Game& g);
void ItemListKeyDown(Game& g, int key);

// The entry text of an owned item: a three-character count prefix and the name.
std::string ItemEntryText(const std::string& name, int32_t count);
// The selected entry of `item`, rewritten with its count; blank once none is left.
void RewriteSelectedEntry(Game& g, int32_t item);
// The selected entry's item, or 0 when no entry is selected or it is blank.
int32_t SelectedEntryItem(Game& g);
