// The main window's own widgets: the picture, its off-screen canvases and the four
// choice hit areas. The panels are laid out by the screen module.
#pragma once

struct Game;

inline constexpr int kClientSize = 300;
inline constexpr int kChoiceLeft = 200;
inline constexpr int kChoiceTops[4] = {199, 224, 249, 274};
inline constexpr int kChoiceWidth = 100;
inline constexpr int kChoiceHeight = 26;
inline constexpr int kTimerIntervalMs = 90;

// Picture file of the window icon, in the cg folder.
inline constexpr const char* kIconFile = "icon.bmp";

// Creates every widget of the main window, sets its title and icon.
void CreateMainWindow(Game& g);

// Shows or hides sel1..sel4.
void ShowChoiceAreas(Game& g, bool visible);
