// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI side of the sound: the game selects an output device at start-up and
// releases the library at shutdown, and plays no music. No MIDI library exists on
// this platform, so these two calls stand in for it and load nothing.
#pragma once

// Selects the MIDI output device (-1: the default one). Called once at start-up.
void MidiSetDevice(int device, int flags);
// Releases the MIDI side. Called once at shutdown, before the waves are released.
void MidiFree();

// What the calls above recorded, for tests.
struct MidiStatus {
  bool device_selected = false;
  int device = 0;
  int flags = 0;
  int set_calls = 0;
  int free_calls = 0;
};
const MidiStatus& GetMidiStatus();
