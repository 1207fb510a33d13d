// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's widgets: the picture, its off-screen canvases, the four choice
// hit areas and the two panels (character creation and the item box).
#pragma once

struct Game;

inline constexpr int kClientSize = 300;
inline constexpr int kChoiceLeft = 200;
inline constexpr int kChoiceTops[4] = {199, 224, 249, 274};
inline constexpr int kChoiceWidth = 100;
inline constexpr int kChoiceHeight = 26;
inline constexpr int kTimerIntervalMs = 90;

// Panel pictures in the cg folder.
inline constexpr const char* kPanelBackPicture = "panel_back.bmp";
inline constexpr const char* kTitleBarPicture = "panel_title.bmp";
inline constexpr const char* kStatButtonPicture = "btn_stat.bmp";
inline constexpr const char* kWideButtonPicture = "btn_wide.bmp";
inline constexpr const char* kSmallButtonPicture = "btn_small.bmp";
inline constexpr const char* kDetailPicture = "panel_detail.bmp";
inline constexpr const char* kCookColumnPicture = "panel_cook.bmp";

// Picture file of the window icon, in the cg folder.
inline constexpr const char* kIconFile = "icon.bmp";

// Creates every widget of the main window, sets its title and icon.
void CreateMainWindow(Game& g);

// Shows or hides sel1..sel4.
void ShowChoiceAreas(Game& g, bool visible);
