// SPDX-License-Identifier: GPL-3.0-or-later
// Screen composition: surfaces, scene picture, enemy sprite, shake.
//
// Every drawing tick rebuilds cg from scratch: scene buffer, enemy, log and effects,
// status panel and choice buttons, then the overlay bak OR-combined on top (black is
// transparent there, colours brighten the scene), then the shake.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/state.h"
#include "platform/canvas.h"

struct Game;

inline constexpr int kScreenSize = 300;
inline constexpr int kWorkSlots = 50;      // 0..49 work pictures
inline constexpr int kMaskBase = 50;       // 50..99 the masks of 0..49
inline constexpr int kBackgroundSlot = 6;  // the current scene picture
inline constexpr int kSpriteBase = 100;    // set k: 100 + 6k .. 105 + 6k
inline constexpr int kSpriteFrames = 6;
inline constexpr int kSpriteSetsCut = 39;  // monsters 1..39 have strips
inline constexpr int kPictureSlotCount = kSpriteBase + kSpriteFrames * kMonsterCount;

struct ScreenState {
  Picture* cg = nullptr;   // the visible picture, rebuilt every tick
  Picture* bak = nullptr;  // overlay, cleared to black and OR-combined onto cg
  int ShakeCounter = 0;
  int EnemyBlinkCounter = 0;

  // Work pictures, masks and sprite frames; a null slot draws nothing.
  std::vector<std::unique_ptr<Picture>> PictureSlots = std::vector<std::unique_ptr<Picture>>(kPictureSlotCount);
  // The last scene file ShowCg loaded, as loaded; the title screen shows it.
  std::unique_ptr<Picture> haikei;
  // cg and bak when the window has no such widgets (tests, benchmarks).
  std::unique_ptr<Picture> own_cg, own_bak;
};

// The scene buffer (slot 6); null before CreateSurfaces.
Picture* Background(Game& g);

// Start-up: finds cg and bak (creating them when the window has none), creates the
// 50 work pictures and their 50 masks; slots 0 and 6 get cg/00.bmp and slot 0 its
// mask in slot 50 (white where slot 0 is black, black elsewhere). Unused slots start
// as empty 1 x 1 pictures.
void CreateSurfaces(Game& g);
// Start-up, after the monster catalogue is filled: cuts cg/man<n>.bmp of every named
// monster 1..39 into six square frames of side 2 * size (missing strips are skipped).
void CutSpriteFrames(Game& g);
// Makes cg/<name> the scene picture. A missing or unreadable file keeps the old
// scene, silently; a smaller picture leaves the rest of the old one visible.
void ShowCg(Game& g, const std::string& name);

// A drawing tick advances the animations first (StepFrame), then composes the
// picture from the state (DrawFrame). The floating effects and the shake still age
// and draw from the generator as they are drawn: their draws are part of the
// game's one random sequence, in the order the drawing makes them.
void StepFrame(Game& g);
// The per-tick composition (while playing, or while bp_box is shown).
void DrawFrame(Game& g);
// The title screen: the scene picture as it is, with an empty overlay.
void DrawTitle(Game& g);
// The enemy of the battle, centred, blinking while EnemyBlinkCounter runs down.
void DrawEnemy(Game& g);
