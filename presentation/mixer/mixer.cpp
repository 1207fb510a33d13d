// SPDX-License-Identifier: GPL-3.0-or-later
#include "presentation/mixer/mixer.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <new>

#include "platform/file_guard.h"

namespace {

std::atomic<bool> g_mixer_exists{false};

// While only background channels sound: blocks of an eighth of the usual length,
// at most this many ahead. At the defaults that keeps 140-160 ms ahead of the
// output, above the audio sink's own 100 ms buffer.
constexpr int64_t kBackgroundBlocks = 7;

int32_t GainQ8(int percent) { return std::clamp(percent, 0, 100) * 256 / 100; }

// The per-sample loops of a block, vectorised whatever the build's level: a
// block with music and five effects must mix in a few microseconds.
#define MIX_LOOP [[gnu::optimize("O3")]]

MIX_LOOP void AddPlain(int32_t* dst, const uint8_t* src, int64_t n) {
  for (int64_t k = 0; k < n; ++k) dst[k] += src[k] - 128;
}

MIX_LOOP void AddScaled(int32_t* dst, const uint8_t* src, int64_t n, int32_t gain) {
  for (int64_t k = 0; k < n; ++k) dst[k] += ((src[k] - 128) * gain + 128) >> 8;
}

MIX_LOOP void AddRamped(int32_t* dst, const uint8_t* src, int64_t n, const int32_t* gain) {
  for (int64_t k = 0; k < n; ++k) dst[k] += ((src[k] - 128) * gain[k] + 128) >> 8;
}

MIX_LOOP void ClampToBytes(uint8_t* out, const int32_t* sum, int64_t n) {
  for (int64_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(std::clamp(128 + sum[i], 0, 255));
}

[[noreturn]] void Fail(const std::string& message) { throw EMixerError(message); }

}  // namespace

Mixer::Mixer(WaveOut& device, std::function<int64_t()> clock_ms, const IniFile* settings)
    : out_(device), clock_(std::move(clock_ms)) {
  // The component reports any failure of the instance's initialisation as one;
  // the reason travels along as the error's cause.
  if (g_mixer_exists.exchange(true)) throw EMixerError(mixer_msg::kInitFailed, mixer_msg::kAlreadyInitialized);
  try {
    if (!out_.DeviceAvailable()) Fail(mixer_msg::kNoDevices);
    const std::string name = out_.DeviceName(ReadWaveOutDevice(settings));
    settings_ = ReadMixerSettings(settings, name.empty() ? kUnknownDevice : name);
  } catch (const EMixerError& e) {
    g_mixer_exists = false;
    throw EMixerError(mixer_msg::kInitFailed, e.what());
  } catch (...) {
    g_mixer_exists = false;
    throw;
  }
  for (Channel& c : channels_) c.open = false;
}

Mixer::~Mixer() {
  try {
    SetChannels(0);
    SetActivated(false);
  } catch (const EMixerError&) {
    // Closing never reports anything: the process is letting go of the sound.
  }
  g_mixer_exists = false;
}

void Mixer::SetActivated(bool active) {
  if (active == active_) return;
  if (active) {
    Activate();
  } else {
    Deactivate();
  }
}

void Mixer::Activate() {
  if (out_.IsOpen()) Fail(mixer_msg::kAlreadyAllocated);
  std::string reason;
  if (!out_.Open(settings_.samples_per_sec, settings_.wave_out_device, &reason)) {
    // The device gives a reason, not a number; 1 is the generic failure code.
    Fail(std::string(mixer_msg::kOpenDevice) + "1");
  }
  out_.SetDoneHandler([this](int id) { OnBlockDone(id); });
  active_ = true;
  queued_.clear();
  queued_samples_ = 0;
  RestartClock(mix_pos_);
  FillBlocks();
}

void Mixer::Deactivate() {
  mix_pos_ = PlayingPosition();
  ResetDevice();
  out_.SetDoneHandler(nullptr);
  out_.Close();
  active_ = false;
}

void Mixer::RestartClock(int64_t position) {
  clock_base_ = position;
  clock_start_ms_ = clock_();
  device_base_ = position;
  device_played_base_ = out_.PlayedSamples();
}

void Mixer::ResetDevice() {
  queued_.clear();
  queued_samples_ = 0;
  resetting_ = true;
  out_.Reset();
  resetting_ = false;
  // Whatever the device had not played is gone; its count goes on from here.
  device_base_ = mix_pos_;
  device_played_base_ = out_.PlayedSamples();
}

int64_t Mixer::PlayingPosition() const {
  const int64_t played = settings_.good_wave_pos == 1 && active_ ? out_.PlayedSamples() : -1;
  int64_t pos;
  if (played >= 0) {
    pos = device_base_ + (played - device_played_base_);
  } else {
    pos = clock_base_ + (clock_() - clock_start_ms_) * settings_.samples_per_sec / 1000;
  }
  // Playback is somewhere inside the queued blocks: never ahead of what was
  // mixed, never behind what was handed over. A clock that drifts from the
  // device cannot retire a sound before it has been mixed.
  const int64_t low = mix_pos_ - queued_samples_;
  return std::clamp(pos, low, mix_pos_);
}

void Mixer::SetChannels(uint8_t mask) {
  for (int k = 0; k < kChannels; ++k) {
    const bool want = (mask >> k) & 1;
    Channel& c = channels_[k];
    if (want == c.open) continue;
    c.open = want;
    if (!want) {
      c.queue.clear();
      pending_.remove_if([k](const Record& r) { return r.req.channel == k; });
    }
  }
  mask_ = mask;
}

int32_t Mixer::Channel::GainAt(int64_t pos) const {
  if (pos >= ramp_start + ramp_len) return gain_to;
  if (pos < ramp_start) return gain_from;
  return gain_from + static_cast<int32_t>((gain_to - gain_from) * (pos - ramp_start) / ramp_len);
}

void Mixer::SetGain(int channel, int percent) {
  if (channel < 0 || channel >= kChannels) return;
  Channel& c = channels_[channel];
  c.gain_from = c.gain_to = GainQ8(percent);
  c.ramp_len = 0;
}

void Mixer::RampGain(int channel, int percent, int64_t samples) {
  if (channel < 0 || channel >= kChannels) return;
  Channel& c = channels_[channel];
  c.gain_from = c.GainAt(mix_pos_);
  c.gain_to = GainQ8(percent);
  c.ramp_start = mix_pos_;
  c.ramp_len = std::max<int64_t>(samples, 0);
}

void Mixer::FadeOut(int channel, int64_t samples) {
  if (channel < 0 || channel >= kChannels) return;
  samples = std::max<int64_t>(samples, 1);
  RampGain(channel, 0, samples);
  const int64_t end = mix_pos_ + samples - 1;
  std::list<Record>& q = channels_[channel].queue;
  q.remove_if([end](const Record& r) { return r.start > end; });
  for (Record& r : q) r.end = std::min(r.end, end);
}

int Mixer::Gain(int channel) const {
  if (channel < 0 || channel >= kChannels) return 0;
  return (channels_[channel].gain_to * 100 + 255) / 256;
}

size_t Mixer::QueueLength(int channel) const {
  return channel >= 0 && channel < kChannels ? channels_[channel].queue.size() : 0;
}

bool Mixer::IsWave(const MixerWave* wave) const {
  return std::any_of(waves_.begin(), waves_.end(), [wave](const auto& w) { return w.get() == wave; });
}

MixerWave* Mixer::OpenWave(const std::string& path) {
  const int rate = settings_.samples_per_sec;
  if (rate != 11025 && rate != 22050 && rate != 44100) Fail(mixer_msg::kCantPlayFormat);
  // Only a regular file, read without blocking and never past the limit: a pipe
  // or a device there is a missing sound.
  std::vector<uint8_t> bytes;
  try {
    const int err = ReadPlainFile(path, kMaxWaveFileBytes, bytes);
    if (err == kFileTooLarge) Fail(mixer_msg::kOutOfMemory);
    if (err != 0) Fail(mixer_msg::kOpenFile + path);
  } catch (const std::bad_alloc&) {
    Fail(mixer_msg::kOutOfMemory);
  }
  return OpenWaveFromMemory(bytes, std::filesystem::path(path).filename().string());
}

MixerWave* Mixer::OpenWaveFromMemory(std::span<const uint8_t> bytes, const std::string& name) {
  const WaveFormat out{1, static_cast<uint32_t>(settings_.samples_per_sec), 8};
  try {
    auto wave = std::make_unique<MixerWave>();
    wave->data = DecodeWave(bytes, out, &wave->format);
    wave->name = name.substr(0, 15);
    waves_.push_back(std::move(wave));
    return waves_.back().get();
  } catch (const std::bad_alloc&) {
    Fail(mixer_msg::kOutOfMemory);
  }
}

bool Mixer::WaveInUse(const MixerWave* wave) const {
  auto uses = [wave](const Record& r) { return r.req.wave == wave; };
  if (std::any_of(pending_.begin(), pending_.end(), uses)) return true;
  return std::any_of(channels_.begin(), channels_.end(),
                     [&](const Channel& c) { return std::any_of(c.queue.begin(), c.queue.end(), uses); });
}

void Mixer::FreeWave(MixerWave* wave) {
  if (wave == nullptr || !IsWave(wave)) Fail(mixer_msg::kBadPointer);
  auto uses = [wave](const Record& r) { return r.req.wave == wave; };
  pending_.remove_if(uses);
  for (Channel& c : channels_) c.queue.remove_if(uses);
  std::erase_if(waves_, [wave](const auto& w) { return w.get() == wave; });
}

void Mixer::Play(const MixerPlayRequest* request) {
  if (request == nullptr) Fail(mixer_msg::kNilParams);
  if (request->wave == nullptr) Fail(mixer_msg::kNilWave);
  // A freed or foreign pointer would be read from; refuse it like FreeWave does.
  if (!IsWave(request->wave)) Fail(mixer_msg::kBadPointer);
  if (!active_) Fail(mixer_msg::kNotActive);
  if (mask_ == 0) Fail(mixer_msg::kNoChannel);

  int channel = request->channel;
  if (request->flags & kPlayUseLru) {
    // Least recently used open channel, preferring one with nothing queued.
    int best = -1;
    for (int k = 0; k < kChannels; ++k) {
      const Channel& c = channels_[k];
      if (!c.open) continue;
      if (best < 0) {
        best = k;
        continue;
      }
      const Channel& b = channels_[best];
      const bool ce = c.queue.empty(), be = b.queue.empty();
      if ((ce && !be) || (ce == be && c.stamp < b.stamp)) best = k;
    }
    channel = best;
  }
  if (channel < 0 || channel >= kChannels || !channels_[channel].open) Fail(mixer_msg::kChannelClosed);
  channels_[channel].stamp = ++next_stamp_;

  try {
    Record r;
    r.req = *request;
    r.req.channel = channel;
    pending_.push_back(std::move(r));
  } catch (const std::bad_alloc&) {
    Fail(mixer_msg::kNoMemory);
  }
  if (request->flags & kPlayWait) return;

  // On an idle mixer the stream starts over, so the sound is heard at once.
  const bool idle = queued_.empty() &&
                    std::all_of(channels_.begin(), channels_.end(), [](const Channel& c) { return c.queue.empty(); });
  if (idle) {
    mix_pos_ = 0;
    RestartClock(0);
    for (Channel& c : channels_) c.gain_from = c.gain_to, c.ramp_len = 0;  // ramps were on the old clock
  }

  const int64_t now = PlayingPosition();
  int64_t remix_from = mix_pos_;
  while (!pending_.empty()) {
    Channel& c = channels_[pending_.front().req.channel];
    c.queue.splice(c.queue.end(), pending_, pending_.begin());
    Record& r = c.queue.back();
    const int flags = r.req.flags;
    const int64_t here = (flags & kPlayNow) ? now : mix_pos_;
    if (flags & kPlayClearQueue) {
      c.queue.erase(c.queue.begin(), std::prev(c.queue.end()));
      r.start = here;
    } else if (c.queue.size() > 1) {
      const Record& last = *std::prev(c.queue.end(), 2);
      r.start = last.end == kNever ? kNever : last.end + 1;
      if (!(flags & kPlayNow)) r.start = std::max(r.start, mix_pos_);
    } else {
      r.start = here;
    }
    // Only "start now" can land inside audio already mixed and queued.
    if (r.start < mix_pos_) {
      if (settings_.remix == 2) {
        r.start = mix_pos_;  // wait behind the queued audio
      } else {
        remix_from = std::min(remix_from, r.start);  // mix again from here, heard at once
      }
    }
    const auto length = static_cast<int64_t>(r.req.wave->data.size());
    if (r.start == kNever || r.req.loops == kLoopForever) {
      r.end = kNever;
    } else {
      r.end = r.start + (int64_t{r.req.loops} + 1) * length - 1;
    }
  }
  if (remix_from < mix_pos_) {
    mix_pos_ = remix_from;
    ResetDevice();
  }
  FillBlocks();
}

bool Mixer::Scheduled(bool background_too) const {
  for (int k = 0; k < kChannels; ++k) {
    if (!background_too && ((background_ >> k) & 1)) continue;
    for (const Record& r : channels_[k].queue) {
      if (r.end >= mix_pos_ && r.start != kNever) return true;
    }
  }
  return false;
}

void Mixer::FillBlocks() {
  std::vector<uint8_t> block;
  const int64_t ahead = int64_t{settings_.wave_blocks} * settings_.block_len;
  const int64_t short_len = std::max<int64_t>(64, settings_.block_len / 8 / 4 * 4);
  while (active_ && Scheduled()) {
    const bool background_only = background_ != 0 && !Scheduled(false);
    const int64_t len = background_only ? short_len : settings_.block_len;
    const int64_t limit = background_only ? std::min(ahead, kBackgroundBlocks * short_len) : ahead;
    if (queued_samples_ + len > limit) break;
    MixNextBlock(block, len);
    if (!out_.IsOpen()) Fail(mixer_msg::kWriteBlock);
    const int id = next_block_id_++;
    queued_.push_back({id, len});
    queued_samples_ += len;
    out_.Write(std::move(block), id);
    block = {};
  }
}

void Mixer::MixNextBlock(std::vector<uint8_t>& block, int64_t length) {
  const int64_t n = length > 0 ? length : settings_.block_len;
  const int64_t first = mix_pos_, last = mix_pos_ + n - 1;
  sum_.assign(static_cast<size_t>(n), 0);
  int32_t* sum = sum_.data();
  for (const Channel& c : channels_) {
    if (!c.open) continue;
    // The channel's gain over this block: full (a plain sum), none, one level, or a ramp.
    const bool ramping = c.ramp_len > 0 && c.ramp_start <= last && c.ramp_start + c.ramp_len > first;
    const int32_t gain = c.GainAt(first);
    if (!ramping && gain == 0) continue;
    if (ramping) {
      ramp_.resize(static_cast<size_t>(n));
      for (int64_t i = 0; i < n; ++i) ramp_[static_cast<size_t>(i)] = c.GainAt(first + i);
    }
    for (const Record& r : c.queue) {
      if (r.end < first || r.start > last) continue;
      const uint8_t* data = r.req.wave->data.data();
      const auto length = static_cast<int64_t>(r.req.wave->data.size());
      const int64_t from = std::max(r.start, first), to = std::min(r.end, last);
      int64_t offset = (from - r.start) % length;  // a looping play reads its data round and round
      int64_t i = from - first, remaining = to - from + 1;
      while (remaining > 0) {
        const int64_t run = std::min(remaining, length - offset);
        const uint8_t* src = data + offset;
        int32_t* dst = sum + i;
        if (ramping) {
          AddRamped(dst, src, run, ramp_.data() + i);
        } else if (gain == 256) {
          AddPlain(dst, src, run);
        } else {
          AddScaled(dst, src, run, gain);
        }
        i += run;
        remaining -= run;
        offset = 0;
      }
    }
  }
  block.resize(static_cast<size_t>(n));
  ClampToBytes(block.data(), sum, n);
  mix_pos_ += n;
}

void Mixer::Retire(std::vector<Record>& finished, int64_t position) {
  for (Channel& c : channels_) {
    for (auto it = c.queue.begin(); it != c.queue.end();) {
      if (it->end != kNever && it->end < position) {
        if (it->req.notify) finished.push_back(*it);
        it = c.queue.erase(it);
      } else {
        ++it;
      }
    }
  }
}

void Mixer::OnBlockDone(int id) {
  if (resetting_) return;
  auto it = std::find_if(queued_.begin(), queued_.end(), [id](const Queued& q) { return q.id == id; });
  if (it == queued_.end()) return;  // a block dropped by an earlier reset
  for (auto k = queued_.begin(); k != it + 1; ++k) queued_samples_ -= k->samples;
  queued_.erase(queued_.begin(), it + 1);

  std::vector<Record> finished;
  Retire(finished, PlayingPosition());
  try {
    FillBlocks();
  } catch (const EMixerError&) {
    // Nobody to tell on a device report; the next play will report it.
  }
  for (Record& r : finished) r.req.notify(r.req.channel, r.req.wave);
}
