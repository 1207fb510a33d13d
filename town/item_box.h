// The item box: the list of items in use, cooking and buy mode, the detail text,
// the action button and >BACK.
#pragma once

#include <cstdint>

struct Game;

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
