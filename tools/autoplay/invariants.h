// SPDX-License-Identifier: GPL-3.0-or-later
// The promises of the rules that the autoplay checks after every step and at
// every night. Each check appends a description of what it found broken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Game;

// What the previous step saw, to tell a time step from a rest.
struct StepWatch {
  bool started = false;
  int32_t hours_used = 0;
  int32_t day_count = 0;
};

// Ranges after a step: fullness 0..100, hours within the day after time passed,
// item counts 0..99, order slots consistent, HP/MP/TP not negative, and the
// stack no deeper than `stack_limit` bytes.
// "line N: A / B" for the first line where two save files differ.
std::string FirstDifference(const std::string& a, const std::string& b);

void CheckStep(const Game& g, StepWatch& watch, size_t stack_depth, size_t stack_limit,
               std::vector<std::string>& broken);

// Saves through the game's own Save, reads the file back into a fresh state and
// writes that again: the file, the reloaded state and the game must agree byte
// for byte, and saving must not change the game.
void CheckSaveReload(Game& g, std::vector<std::string>& broken);
