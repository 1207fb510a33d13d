#include "platform/headless/fake_wave_out.h"

bool FakeWaveOut::Open(int samples_per_second, std::string* error) {
  if (fail_open) {
    if (error) *error = "no audio output device";
    return false;
  }
  rate = samples_per_second;
  open_ = true;
  played_samples_ = 0;
  clock_ms_ = -1;
  carry_samples_ = 0;
  return true;
}

void FakeWaveOut::Close() {
  Reset();
  open_ = false;
}

void FakeWaveOut::Write(std::vector<uint8_t> block, int id) { queue_.push_back(Block{std::move(block), id}); }

void FakeWaveOut::Reset() {
  std::deque<Block> dropped;
  dropped.swap(queue_);
  for (const Block& b : dropped) {
    if (done_) done_(b.id);
  }
}

void FakeWaveOut::AdvanceTo(int64_t now_ms) {
  if (!open_ || rate <= 0) return;
  if (clock_ms_ < 0 || now_ms < clock_ms_) clock_ms_ = now_ms;
  carry_samples_ += (now_ms - clock_ms_) * rate;
  clock_ms_ = now_ms;
  int64_t budget = carry_samples_ / 1000;
  // The device idles (and loses that time) when nothing is queued.
  while (budget > 0 && !queue_.empty()) {
    Block& b = queue_.front();
    const int64_t n = std::min<int64_t>(budget, static_cast<int64_t>(b.data.size()));
    played.insert(played.end(), b.data.begin(), b.data.begin() + n);
    b.data.erase(b.data.begin(), b.data.begin() + n);
    played_samples_ += n;
    budget -= n;
    if (b.data.empty()) {
      const int id = b.id;
      queue_.pop_front();
      if (done_) done_(id);
    }
  }
  carry_samples_ = queue_.empty() ? 0 : budget * 1000 + carry_samples_ % 1000;
}
