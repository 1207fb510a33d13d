// SPDX-License-Identifier: GPL-3.0-or-later
// The software wave mixer: up to eight channels, each a queue of scheduled
// waves, summed sample by sample into blocks of 8-bit mono PCM that are handed
// to the wave-out device a few at a time and refilled as the device reports
// them played. Everything runs on the UI thread. One instance per process.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "platform/wave_out.h"
#include "presentation/mixer/mixer_error.h"
#include "presentation/mixer/mixer_settings.h"
#include "presentation/mixer/wave_file.h"

// A wave opened by the mixer, already in the output format.
struct MixerWave {
  WaveFormat format;          // as read from the file
  std::vector<uint8_t> data;  // 8-bit mono samples at the output rate
  std::string name;           // up to 15 characters of the file name
};

// Play flags.
inline constexpr int kPlayClearQueue = 1;  // drop the channel's queue first
inline constexpr int kPlayUseLru = 2;      // use the least recently used open channel
inline constexpr int kPlayNow = 4;         // start at the playing position, not after the queue
inline constexpr int kPlayWait = 8;        // hold until a later play without this flag
inline constexpr uint16_t kLoopForever = 65535;

struct MixerPlayRequest {
  int channel = 0;
  MixerWave* wave = nullptr;
  uint16_t loops = 0;  // extra repetitions; 65535 never ends
  int flags = 0;
  // Called once, with the channel and the wave, when the play has ended.
  std::function<void(int channel, MixerWave* wave)> notify;
};

class Mixer {
 public:
  static constexpr int kChannels = 8;
  static constexpr int64_t kNever = INT64_MAX;

  // `clock_ms` gives the current time in milliseconds. `settings` is MIXER.INI,
  // or null for the defaults; they pick the output by its number. Throws
  // "Initialization failed (MixerInit)" while another mixer exists, without a
  // wave output, or when the settings refuse the device; cause() says which.
  Mixer(WaveOut& device, std::function<int64_t()> clock_ms, const IniFile* settings = nullptr);
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Acquires (true) or releases (false) the device; setting the same value does nothing.
  void SetActivated(bool active);
  bool Activated() const { return active_; }
  // Bit k opens channel k; a cleared bit closes it and drops its queue.
  void SetChannels(uint8_t mask);
  uint8_t Channels() const { return mask_; }

  // Reads and converts a wave file. The mixer owns the wave until FreeWave.
  MixerWave* OpenWave(const std::string& path);
  // The same from the bytes of a file already in memory.
  MixerWave* OpenWaveFromMemory(std::span<const uint8_t> bytes, const std::string& name);
  // Drops every play of the wave, queued or waiting, and releases it.
  void FreeWave(MixerWave* wave);
  // True while a play of the wave is queued or waiting.
  bool WaveInUse(const MixerWave* wave) const;

  // Channel gain in percent, clamped to 0..100, for what is mixed from now on.
  void SetGain(int channel, int percent);
  // Moves the gain to `percent` in a straight line over the next `samples` mixed.
  void RampGain(int channel, int percent, int64_t samples);
  // Fades the channel to silence over the next `samples` and ends its plays
  // there; its gain stays 0 until set again.
  void FadeOut(int channel, int64_t samples);
  // The gain (percent) the channel has or is ramping to.
  int Gain(int channel) const;
  // Background channels (music) play on under the others. While nothing but
  // them sounds, the mixer keeps less audio ahead of the output, in shorter
  // blocks, so that a new sound on another channel starts about as soon as it
  // would on a silent mixer.
  void SetBackgroundChannels(uint8_t mask) { background_ = mask; }

  void Play(const MixerPlayRequest* request);
  void Play(int channel, MixerWave* wave, uint16_t loops = 0, int flags = 0) {
    MixerPlayRequest r{channel, wave, loops, flags, nullptr};
    Play(&r);
  }

  // Mixes the block that follows the last one mixed into `block` (resized to
  // `length`, the block length when 0) and advances the mix position. The
  // refill path writes it to the device; benchmarks call it directly.
  void MixNextBlock(std::vector<uint8_t>& block, int64_t length = 0);

  // Observations.
  const MixerSettings& settings() const { return settings_; }
  int64_t MixPosition() const { return mix_pos_; }
  int64_t PlayingPosition() const;
  size_t BlocksQueued() const { return queued_.size(); }
  // Samples mixed and handed to the device that it has not reported played.
  int64_t SamplesQueued() const { return queued_samples_; }
  size_t QueueLength(int channel) const;

 private:
  struct Record {
    MixerPlayRequest req;
    int64_t start = 0;
    int64_t end = 0;  // last sample, inclusive; kNever when looping forever
  };
  struct Channel {
    bool open = false;
    std::list<Record> queue;
    uint64_t stamp = 0;
    // Gain in 1/256: `from` before ramp_start, `to` from ramp_start + ramp_len on.
    int32_t gain_from = 256, gain_to = 256;
    int64_t ramp_start = 0, ramp_len = 0;
    int32_t GainAt(int64_t pos) const;
  };

  void Activate();
  void Deactivate();
  void OnBlockDone(int id);
  void FillBlocks();
  bool Scheduled(bool background_too = true) const;
  void ResetDevice();
  void RestartClock(int64_t position);
  bool IsWave(const MixerWave* wave) const;
  void Retire(std::vector<Record>& finished, int64_t position);

  WaveOut& out_;
  std::function<int64_t()> clock_;
  MixerSettings settings_;
  bool active_ = false;
  uint8_t mask_ = 0;
  std::array<Channel, kChannels> channels_;
  std::list<Record> pending_;
  uint64_t next_stamp_ = 0;
  std::vector<std::unique_ptr<MixerWave>> waves_;

  int64_t mix_pos_ = 0;
  // The playing position is counted from the moment the stream clock was set:
  // clock_base_ samples at clock_start_ms_, or device_base_ at device_played_base_.
  int64_t clock_base_ = 0;
  int64_t clock_start_ms_ = 0;
  int64_t device_base_ = 0;
  int64_t device_played_base_ = 0;

  uint8_t background_ = 0;

  struct Queued {
    int id;
    int64_t samples;
  };
  std::deque<Queued> queued_;  // the blocks at the device, in the order written
  int64_t queued_samples_ = 0;
  int next_block_id_ = 1;
  bool resetting_ = false;  // reports of blocks dropped by a reset are ignored
  std::vector<int32_t> sum_;
  std::vector<int32_t> ramp_;
};
