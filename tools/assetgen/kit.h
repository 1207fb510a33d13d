// SPDX-License-Identifier: GPL-3.0-or-later
// The shared palette and the procedural drawing helpers every scene uses.
// Scenes are painted at 150 x 150 "art pixels" and doubled to 300 x 300, which
// gives all pictures the same chunky pixel-art grain.
#pragma once

#include "image.h"

namespace assetgen {

constexpr int kArt = 150;  // art resolution of a scene

namespace pal {
constexpr Rgb ink{38, 30, 52};
constexpr Rgb white{250, 248, 240};
constexpr Rgb cream{250, 234, 204};
constexpr Rgb skyTop{86, 132, 204}, skyLow{176, 214, 236};
constexpr Rgb cloud{246, 244, 238}, cloudShade{198, 208, 228};
constexpr Rgb grass{104, 172, 84}, grassDark{60, 124, 70}, grassLight{160, 206, 104};
constexpr Rgb leaf{72, 142, 74}, leafDark{40, 96, 64}, leafLight{128, 186, 92};
constexpr Rgb trunk{124, 84, 54}, trunkDark{84, 56, 44};
constexpr Rgb earth{156, 114, 74}, earthDark{106, 76, 56}, earthLight{196, 156, 104};
constexpr Rgb sand{232, 208, 150}, sandDark{196, 166, 112};
constexpr Rgb sea{58, 128, 192}, seaDark{32, 78, 140}, seaLight{118, 188, 222}, foam{226, 244, 250};
constexpr Rgb deep{18, 36, 84}, deepDark{10, 18, 46};
constexpr Rgb rock{132, 126, 144}, rockDark{84, 80, 102}, rockLight{180, 176, 188};
constexpr Rgb cave{46, 38, 60}, caveMid{74, 62, 88}, caveDark{24, 20, 34};
constexpr Rgb wood{176, 122, 76}, woodDark{122, 80, 54}, woodLight{212, 164, 106};
constexpr Rgb pink{242, 162, 184}, pinkDark{200, 108, 140}, red{214, 82, 84}, redDark{150, 50, 62};
constexpr Rgb orange{238, 150, 70}, yellow{250, 218, 102}, gold{242, 190, 64}, goldDark{178, 126, 42};
constexpr Rgb skin{248, 214, 182}, skinShade{222, 170, 142};
constexpr Rgb bear{150, 100, 66}, bearLight{200, 150, 102}, bearDark{104, 66, 48};
constexpr Rgb fox{232, 138, 62}, foxDark{184, 92, 44};
constexpr Rgb purple{128, 88, 162}, purpleDark{82, 54, 112}, lilac{186, 150, 214};
constexpr Rgb nightTop{20, 24, 58}, nightLow{64, 56, 116};
constexpr Rgb blush{246, 136, 150};
constexpr Rgb tear{140, 206, 250};
constexpr Rgb gray{160, 160, 168}, grayDark{100, 100, 112};
}  // namespace pal

// Sky from top colour to horizon colour over rows 0..horizon.
void Sky(Canvas& c, int horizon, Rgb top, Rgb low);
void Cloud(Canvas& c, int x, int y, int size);
void Sun(Canvas& c, int x, int y, int r, Rgb col, Rgb glow);
void Stars(Canvas& c, int seed, int count, int maxY);
// Rolling ground line y(x) = base + sum of gentle bumps; fills below it.
void Hills(Canvas& c, int base, int amp, int seed, Rgb fill, Rgb edge);
// Round broad-leaf tree, trunk base at (x, y).
void Tree(Canvas& c, int x, int y, int size, Rgb leafMid = pal::leaf);
void Pine(Canvas& c, int x, int y, int h, Rgb col = pal::leafDark);
void Bush(Canvas& c, int x, int y, int size);
void GrassTufts(Canvas& c, int y0, int y1, int seed, int count, Rgb col);
void Flowers(Canvas& c, int y0, int y1, int seed, int count);
void Waves(Canvas& c, int y0, int y1, int seed, Rgb line);
void Rock(Canvas& c, int x, int y, int w, int h, int seed);
void Bubbles(Canvas& c, int seed, int count, int x0, int x1, int y0, int y1);
// Soft shadow ellipse on the ground.
void GroundShadow(Canvas& c, int cx, int cy, int rx, int ry);
void Sparkle(Canvas& c, int x, int y, Rgb col);
// Japanese-style sweat / tear drops, hearts.
void TearDrop(Canvas& c, int x, int y);
void Heart(Canvas& c, int x, int y, Rgb col);

// Draws the game's name in pixel katakana, each stroke `scale` art pixels wide.
void DrawTitleText(Canvas& c, int x, int y, int scale, Rgb fill, Rgb shadow);
int TitleTextWidth(int scale);

// Calms the rows under the message log and the choice buttons and doubles the
// picture to the 300 x 300 screen size.
Canvas FinishScene(Canvas& art, bool calmBottom = true);

}  // namespace assetgen
