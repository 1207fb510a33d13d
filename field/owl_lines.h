// What the forest's owl doctor says, stage by stage.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// One conversation: lines, a question whose answer the doctor ignores, more lines,
// then something lies under his tree.
struct OwlStage {
  std::span<const char* const> before;    // UTF-8, one click each
  std::array<const char*, 3> captions;    // empty: no button
  std::span<const char* const> after;
  int32_t find_value;
};

inline constexpr int kOwlStages = 7;

// Stage 0..6 (UTF-8 text).
const OwlStage& OwlStageAt(int stage);
