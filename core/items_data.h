// SPDX-License-Identifier: GPL-3.0-or-later
// Rows of the item catalogue, compiled in. Texts are UTF-8 here and become CP932
// when the catalogue is filled.
#pragma once

#include <cstddef>
#include <cstdint>

struct ItemRow {
  int16_t no;
  const char* name;
  const char* desc;  // nullptr: described from kind and power
  int32_t price;
  int32_t kind;
  int32_t power;
  int32_t area;
  int16_t ingredient[4];
  int8_t recipe;
  int8_t special;
};

// Finds, tools, medicines and keepsakes (the first group), then the cookable
// products (the second group). No number appears twice.
extern const ItemRow kItemFinds[];
extern const size_t kItemFindCount;
extern const ItemRow kItemProducts[];
extern const size_t kItemProductCount;
