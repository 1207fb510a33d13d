// Screen composition: surfaces, scene picture, enemy sprite, shake.
#pragma once

class Picture;
struct Game;

struct ScreenState {
  Picture* cg = nullptr;   // the visible picture, rebuilt every tick
  Picture* bak = nullptr;  // overlay, cleared to black and OR-combined onto cg
  int ShakeCounter = 0;
  int EnemyBlinkCounter = 0;
};
