// Sound effects on the five mixer channels.
#pragma once

#include <string>

struct Game;

struct SoundState {};

// Plays a wave file of the dat folder on channel 0..4; failures are silent.
void PlayWave(Game& g, int channel, const std::string& file);
