// SPDX-License-Identifier: GPL-3.0-or-later
// A stream straight on the PulseAudio server, through libpulse-simple loaded at
// run time. Qt 6.4's pulse engine gives up reconnecting a few seconds after
// its server went away, so once the server is back only a connection of our
// own can play; this is it. A thread pulls from the source and writes.
#pragma once

#include <QIODevice>

#include <memory>
#include <string>

#include "platform/qt/audio_backend.h"

// A stream on the pulse sink named `id` (empty: the server's default), or null
// when libpulse-simple is missing or the server cannot be reached.
std::unique_ptr<AudioStream> StartPulseStream(const std::string& id, int rate, QIODevice* source, std::string* error);
