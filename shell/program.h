// The program: builds the game on a platform, runs it until the window closes.
#pragma once

class Platform;

// Creates the game, runs FormCreate, then the scene loop until the window has
// closed; returns the exit code.
int RunGame(Platform& platform);
