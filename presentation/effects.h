// Floating texts and effects.
#pragma once

struct Game;

struct EffectsState {
  int PopCursor = 0;
};
