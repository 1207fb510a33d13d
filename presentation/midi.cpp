// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/midi.h"

namespace {
MidiStatus g_midi;
}

void MidiSetDevice(int device, int flags) {
  g_midi.device_selected = true;
  g_midi.device = device;
  g_midi.flags = flags;
  ++g_midi.set_calls;
}

void MidiFree() {
  g_midi.device_selected = false;
  ++g_midi.free_calls;
}

const MidiStatus& GetMidiStatus() { return g_midi; }
