// SPDX-License-Identifier: GPL-3.0-or-later
// Floating texts and effects: damage figures, "Miss....", spell and victory
// animations, kept in one ring of 100 slots. Game code spawns and forgets; every
// drawing tick each living effect moves, draws itself and ages.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/state.h"
#include "platform/canvas.h"

struct Game;

inline constexpr int kPopScratch = 120;

struct EffectsState {
  // Parallel arrays of the ring; pop_age <= 0 marks a free slot. The texts live
  // in GameState::pop_text.
  std::array<int32_t, kPopSlots> pop_age{};
  std::array<int32_t, kPopSlots> pop_x{};
  std::array<int32_t, kPopSlots> pop_y{};
  std::array<int32_t, kPopSlots> pop_x0{};
  std::array<int32_t, kPopSlots> pop_y0{};
  std::array<int32_t, kPopSlots> pop_ax{};
  std::array<int32_t, kPopSlots> pop_ay{};
  std::array<int32_t, kPopSlots> pop_kind{};
  // Particles of an effect; [0] is 0 until the effect has made them.
  std::array<std::array<int32_t, kPopScratch>, kPopSlots> pop_scratch{};
  // The slot used last; the next spawn takes the one after it, living or not.
  int32_t PopCursor = 0;

  // Work pictures of the victory flash, made on first use.
  std::unique_ptr<Picture> work[2];
};

// Text kinds: 16 damage or loss, 17 healing or gain, 18 "Miss....", 19 fullness gain.
// Every other kind of the table is an animation.
void PopText(Game& g, int x, int y, int kind, const std::string& text);
// Over the enemy (who != 0, its unit number) or over the player's HP figure (who 0).
void PopTextAt(Game& g, int who, int kind, const std::string& text);
// An effect travelling from (x0, y0) to (x1, y1).
void PopMove(Game& g, int x0, int y0, int x1, int y1, int kind);
// The per-tick pass: draws into the overlay (a few kinds onto cg) and ages.
void DrawEffects(Game& g);
// Frees every slot, for the reset at the start of play.
void ClearEffects(Game& g);

// Life of a kind in ticks of age (text kinds age twice per tick).
int EffectLife(int kind);
// Vertical bounce of the text kinds by age.
int BounceOffset(int age);
