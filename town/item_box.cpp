#include "town/item_box.h"

#include "shell/game.h"

// Placeholder until the item box lands.
void ShowItemList(Game&) {}
void ShowItemDetail(Game&) {}
void ItemBoxLabelDown(Game&, int) {}
void ItemListClick(Game&) {}
void ItemListKeyDown(Game&, int) {}
