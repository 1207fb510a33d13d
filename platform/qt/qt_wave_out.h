// SPDX-License-Identifier: GPL-3.0-or-later
// The wave-out device on the machine's audio system. Blocks go into a stream
// that the audio sink pulls; a block is reported done once the sink's played
// time has passed its last sample, so the mixer stays no further ahead of what
// is heard than its blocks in flight, whatever the sink reads ahead.
//
// The output may die under the game (audio server stopped, device unplugged).
// Then it goes on in silence on the clock, reporting blocks as if heard, so
// nothing piles up, and tries the output again every second. An output chosen
// by number stays chosen while it exists; otherwise the system's default is
// followed when it changes.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/audio_backend.h"
#include "platform/qt/pcm_stream.h"
#include "platform/wave_out.h"

class QtWaveOut : public WaveOut {
 public:
  // On Qt Multimedia and the steady clock.
  QtWaveOut();
  // `clock_ms` gives the current time in milliseconds.
  QtWaveOut(std::unique_ptr<AudioBackend> backend, std::function<int64_t()> clock_ms);
  ~QtWaveOut() override;

  bool DeviceAvailable() const override;
  std::string DeviceName(int device) const override;
  bool Open(int samples_per_second, int device, std::string* error) override;
  bool IsOpen() const override { return rate_ != 0; }
  // Stops at once; blocks still queued are dropped and reported done, as by Reset.
  void Close() override;
  void Write(std::vector<uint8_t> block, int id) override;
  // From here on blocks are dropped unheard and nothing of the sink is touched:
  // the program is ending where Qt's objects may be gone already.
  void Silence() { silenced_ = true; }
  void SetDoneHandler(std::function<void(int id)> handler) override { done_ = std::move(handler); }
  // Drops the queued blocks and what the sink holds, reporting each block done before returning.
  void Reset() override;
  int64_t PlayedSamples() const override;

  // Reports the blocks played, notices a dead output and moves to the wanted
  // one. A timer calls it while open: often while blocks are queued, else a
  // few times a second. Tests call it directly.
  void Poll();
  // True while a live stream plays (false: silent on the clock, retrying).
  bool Audible() const { return stream_ != nullptr; }
  // The output the stream plays on, empty while silent.
  const std::string& OutputId() const { return stream_output_; }

 private:
  std::string WantedOutput() const;
  bool StartStream(const std::string& id, std::string* error);
  // Plays on output `id` from here, or goes silent when it cannot be started.
  void SwitchTo(const std::string& id);
  void GoSilent();
  int64_t Played() const;  // stream bytes played by now
  void CatchUp();          // while silent: the stream moves on with the clock
  void ReportDropped(std::vector<int> ids);
  void ScheduleNextPoll();

  std::unique_ptr<AudioBackend> backend_;
  std::function<int64_t()> clock_;
  std::function<void(int)> done_;
  QTimer poll_timer_;
  std::unique_ptr<PcmStream> pcm_;
  std::unique_ptr<AudioStream> stream_;
  std::string stream_output_;
  std::string pinned_;      // the output chosen by number; empty: the default
  std::string restart_on_;  // after a reset: the output to start a fresh stream on
  int rate_ = 0;
  int64_t base_ = 0;  // stream byte where the current stream, or the silence, began
  int64_t silent_since_ms_ = 0;
  int64_t played_ = 0;  // the furthest stream byte known played
  int64_t last_watch_ms_ = 0;
  bool silenced_ = false;
};
