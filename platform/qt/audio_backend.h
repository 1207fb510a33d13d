// SPDX-License-Identifier: GPL-3.0-or-later
// What the Qt wave-out needs of the machine's audio system: its outputs, and a
// stream on one of them that pulls 8-bit mono samples and tells how much it has
// played. The real one is QAudioSink; tests put a scripted one in its place.
#pragma once

#include <QIODevice>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AudioOutput {
  std::string id;    // stable while the output exists
  std::string name;  // what the system calls it
};

class AudioStream {
 public:
  virtual ~AudioStream() = default;
  // Microseconds of audio played since the stream started.
  virtual int64_t PlayedUs() const = 0;
  // True once the output has died (server gone, device unplugged): nothing more plays.
  virtual bool Failed() const = 0;
};

class AudioBackend {
 public:
  virtual ~AudioBackend() = default;
  // The outputs, the system's default first. Empty when there is none.
  virtual std::vector<AudioOutput> Outputs() const = 0;
  // Starts a stream on output `id` at `rate` pulling from `source` (which it
  // may read on any thread). Null with a reason in *error when it cannot.
  virtual std::unique_ptr<AudioStream> Start(const std::string& id, int rate, QIODevice* source,
                                             std::string* error) = 0;
};

// The audio system through Qt Multimedia.
std::unique_ptr<AudioBackend> MakeQtAudioBackend();
