// SPDX-License-Identifier: GPL-3.0-or-later
// The wave-out device: plays blocks of unsigned 8-bit mono PCM in order and
// reports each block once it has been played, on the UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class WaveOut {
 public:
  virtual ~WaveOut() = default;

  // Outputs are numbered among the system's outputs, its default one first; a
  // number past them (or below 0) means the default.

  // Whether the machine has any wave output at all.
  virtual bool DeviceAvailable() const { return true; }
  // The name of output `device`, or empty when it cannot tell (settings sections are named after it).
  virtual std::string DeviceName(int /*device*/) const { return {}; }

  // Opens output `device` for 8-bit mono at the rate (11025, 22050 or 44100).
  // On failure returns false and describes the reason in *error.
  virtual bool Open(int samples_per_second, int device, std::string* error) = 0;
  virtual bool IsOpen() const = 0;
  virtual void Close() = 0;

  // Queues a block; `id` comes back through the done handler when it has been played.
  virtual void Write(std::vector<uint8_t> block, int id) = 0;
  // Called on the UI thread, once per block, in the order written.
  virtual void SetDoneHandler(std::function<void(int id)> handler) = 0;
  // Drops every queued block; each dropped block is still reported done.
  virtual void Reset() = 0;
  // Samples played since Open, or -1 when the device cannot tell.
  virtual int64_t PlayedSamples() const = 0;
};
