// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/soft/fake_wave_out.h"

#include <algorithm>

namespace {

int OutputIndex(int device, size_t count) { return device >= 0 && static_cast<size_t>(device) < count ? device : 0; }

}  // namespace

std::string FakeWaveOut::DeviceName(int device) const {
  return outputs.empty() ? std::string() : outputs[static_cast<size_t>(OutputIndex(device, outputs.size()))];
}

bool FakeWaveOut::Open(int samples_per_second, int device, std::string* error) {
  if (fail_open || open_ ||
      (samples_per_second != 11025 && samples_per_second != 22050 && samples_per_second != 44100)) {
    if (error) *error = fail_open ? "no audio output device" : open_ ? "device busy" : "unsupported rate";
    return false;
  }
  open_ = true;
  output = OutputIndex(device, outputs.size());
  rate = samples_per_second;
  played_samples_ = 0;
  carry_samples_ = 0;
  return true;
}

void FakeWaveOut::Close() {
  Reset();
  open_ = false;
}

void FakeWaveOut::Write(std::vector<uint8_t> block, int id) {
  if (!open_) return;
  queue_.push_back(Block{std::move(block), id, 0});
}

void FakeWaveOut::Reset() {
  std::deque<Block> dropped;
  dropped.swap(queue_);
  carry_samples_ = 0;
  for (const Block& b : dropped) {
    if (done_) done_(b.id);
  }
}

void FakeWaveOut::AdvanceTo(int64_t now_ms) {
  if (now_ms <= clock_ms_) return;
  const int64_t elapsed = now_ms - clock_ms_;
  clock_ms_ = now_ms;
  if (!open_ || queue_.empty()) {
    carry_samples_ = 0;  // an idle device plays nothing; the next block starts fresh
    return;
  }
  int64_t budget = elapsed * rate + carry_samples_;
  int64_t samples = budget / 1000;
  carry_samples_ = budget % 1000;
  while (samples > 0 && !queue_.empty()) {
    Block& b = queue_.front();
    const auto take = static_cast<size_t>(std::min<int64_t>(samples, static_cast<int64_t>(b.data.size() - b.pos)));
    if (played.size() < max_recorded) {
      const size_t keep = std::min(take, max_recorded - played.size());
      played.insert(played.end(), b.data.begin() + static_cast<long>(b.pos),
                    b.data.begin() + static_cast<long>(b.pos + keep));
    }
    b.pos += take;
    samples -= static_cast<int64_t>(take);
    played_samples_ += static_cast<int64_t>(take);
    if (b.pos >= b.data.size()) {
      const int id = b.id;
      queue_.pop_front();
      // The handler may write more blocks; they play on in the same stretch of time.
      if (done_) done_(id);
    }
  }
  if (queue_.empty()) carry_samples_ = 0;
}
