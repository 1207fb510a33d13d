// SPDX-License-Identifier: GPL-3.0-or-later
// What the forest's owl doctor says, stage by stage.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

// One conversation: lines, a question whose answer the doctor ignores, more lines,
// then something lies under his tree. A list ends at its first null.
struct OwlStage {
  std::array<const char*, 2> before;    // UTF-8, one click each
  std::array<const char*, 3> captions;  // empty: no button
  std::array<const char*, 6> after;
  int32_t find_value;
};

inline constexpr int kOwlStages = 7;

// Stage 0..6 (UTF-8 text).
const OwlStage& OwlStageAt(int stage);

// The lines of a stage's list, up to its first null.
template <size_t N>
std::span<const char* const> OwlLines(const std::array<const char*, N>& lines) {
  return {lines.data(), static_cast<size_t>(std::find(lines.begin(), lines.end(), nullptr) - lines.begin())};
}
