// SPDX-License-Identifier: GPL-3.0-or-later
// The wave-out device of the page: Web Audio plays each block as a buffer at the
// open rate, back to back; the page reports a block done when it has ended, and
// the platform hands the reports to the game on its own loop. Until the player's
// first click or key the browser keeps the page silent: blocks then pass in
// silence at their own pace, so the game's sounds keep their timing.
#pragma once

#include <functional>

#include "platform/wave_out.h"

class WebWaveOut : public WaveOut {
 public:
  std::string DeviceName(int /*device*/) const override { return "Web Audio"; }
  bool Open(int samples_per_second, int device, std::string* error) override;
  bool IsOpen() const override { return open_; }
  void Close() override;
  void Write(std::vector<uint8_t> block, int id) override;
  void SetDoneHandler(std::function<void(int id)> handler) override { done_ = std::move(handler); }
  void Reset() override;
  int64_t PlayedSamples() const override;

  // Hands the blocks the page has finished to the done handler.
  void ReportDone();

 private:
  bool open_ = false;
  std::function<void(int)> done_;
};
