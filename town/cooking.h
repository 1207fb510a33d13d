// SPDX-License-Identifier: GPL-3.0-or-later
// Cooking: four recipe slots filled from the item box in cooking mode, a product found
// by matching its four ingredients, the explosion when nothing matches.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct Game;
struct GameState;

// The product of the four slots: the highest-numbered catalogue item whose four
// ingredients (zeros take empty slots) equal the slots as a multiset; 0 when none.
int32_t FindProduct(const GameState& s, const std::array<int32_t, 4>& slots);

// l_btn11 レシピ追加: the selected item goes into the first empty slot.
void AddToRecipe(Game& g);
// l_btn13: RESET gives the slots back; 前回のやつ refills them with the last recipe.
void RecipeResetOrPrevious(Game& g);
// l_btn12 調理開始: true when the slots hold something to cook; with all four empty
// it answers no.wav and false.
bool StartCooking(Game& g);
// The cooking script: result, skill, the hour spent, the night check, the box again.
void Cook(Game& g);

// item_l2 and item_l3 (CP932) for the current slots and the last attempt.
std::string RecipeText(Game& g);
std::string PreviousRecipeText(Game& g);
// Fills item_l2 and item_l3 while the box is shown; the timer calls it every redraw.
void RefreshRecipeTexts(Game& g);
// Puts every slotted item back into the inventory (RESET, and before the game saves
// on closing, so nothing in the pot is lost).
void ReturnRecipeSlots(Game& g);
