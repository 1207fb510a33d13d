// SPDX-License-Identifier: GPL-3.0-or-later
// Character creation and bonus points: the bp_box panel, the hover highlight of
// the label buttons, and the resets made at a new game and when play starts.
#pragma once

struct Game;

// Puts the whole game state at its new-game values (keeps what a new game does not name).
void NewGame(Game& g);
// Clears the battle and menu cancel flags and the level-up mark.
void ResetScreenState(Game& g);
// The reset made when play begins after the title.
void StartPlay(Game& g);

// Shows bp_box at the top left corner for a new character: name entry and RESET included.
void OpenCharacterCreation(Game& g);

// l_btn1..l_btn6: spend one point; l_btn7: RESET; l_btn8: OK.
void SpendBonusPoint(Game& g, int k);
void BonusReset(Game& g);
void BonusOk(Game& g);

// Press on label button k (1..13); the item box's labels (9..13) belong to the item box.
void LabelMouseDown(Game& g, int k);
// The hover highlight shared by every label button l_btn1..l_btn13.
void LabelMouseMove(Game& g, int k);
// Forgets the hovered label and turns every label button black.
void ClearLabelHover(Game& g);
