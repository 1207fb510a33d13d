// SPDX-License-Identifier: GPL-3.0-or-later
// A wave-out device that plays on virtual time: each block lasts its sample count
// at the open rate, and is reported done once the clock has passed its end.
// Blocks play back to back; while nothing is queued the device is idle and
// time passes without playing. Dropped blocks (Reset) are reported at once.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/wave_out.h"

class FakeWaveOut : public WaveOut {
 public:
  bool Open(int samples_per_second, int device, std::string* error) override;
  bool IsOpen() const override { return open_; }
  void Close() override;
  void Write(std::vector<uint8_t> block, int id) override;
  void SetDoneHandler(std::function<void(int id)> handler) override { done_ = std::move(handler); }
  void Reset() override;
  int64_t PlayedSamples() const override { return played_samples_; }

  // Plays on to the virtual time (ms) and reports the finished blocks.
  void AdvanceTo(int64_t now_ms);

  // Test knobs and observations.
  bool DeviceAvailable() const override { return !no_device && !outputs.empty(); }
  std::string DeviceName(int device) const override;
  bool no_device = false;                // the machine has no wave output at all
  std::vector<std::string> outputs{""};  // the outputs' names, the default first; "": cannot tell
  int output = -1;                       // the output opened, by its place in `outputs`
  bool fail_open = false;                // Open fails as on a machine without audio output
  int rate = 0;
  std::vector<uint8_t> played;             // every sample played so far, in order (up to max_recorded)
  size_t max_recorded = size_t{16} << 20;  // long simulations stop recording, not playing
  size_t Queued() const { return queue_.size(); }

 private:
  struct Block {
    std::vector<uint8_t> data;
    int id;
    size_t pos = 0;  // samples of it already played
  };
  bool open_ = false;
  std::deque<Block> queue_;
  std::function<void(int)> done_;
  int64_t played_samples_ = 0;
  int64_t clock_ms_ = 0;
  int64_t carry_samples_ = 0;  // fraction of time not yet turned into samples, in samples*1000
};
