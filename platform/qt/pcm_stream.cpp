// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/pcm_stream.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t kSilence = 128;  // unsigned 8-bit samples centre on 128
}

PcmStream::PcmStream(qint64 silence_ahead) : silence_ahead_(silence_ahead) {}

void PcmStream::Push(std::vector<uint8_t> block, int id) {
  {
    std::lock_guard lock(mu_);
    blocks_.push_back(Block{std::move(block), id});
  }
  emit readyRead();
}

void PcmStream::TakeLocked(char* out, int64_t n) {
  for (Block& b : blocks_) {
    if (b.started && b.pos == b.data.size()) continue;
    if (!b.started) {
      if (n == 0 && !b.data.empty()) return;
      b.started = true;
      b.start = handed_;
    }
    const auto c = static_cast<int64_t>(std::min<size_t>(b.data.size() - b.pos, static_cast<size_t>(n)));
    if (out && c > 0) {
      std::memcpy(out, b.data.data() + b.pos, static_cast<size_t>(c));
      out += c;
    }
    b.pos += static_cast<size_t>(c);
    handed_ += c;
    n -= c;
    if (b.pos < b.data.size()) return;  // the request ended inside this block
  }
  // Past the last block: silence, so that the sink never runs dry.
  if (out && n > 0) std::memset(out, kSilence, static_cast<size_t>(n));
  handed_ += n;
}

qint64 PcmStream::readData(char* data, qint64 max_size) {
  if (max_size <= 0) return 0;
  std::lock_guard lock(mu_);
  TakeLocked(data, max_size);
  return max_size;
}

void PcmStream::Skip(int64_t n) {
  if (n <= 0) return;
  std::lock_guard lock(mu_);
  TakeLocked(nullptr, n);
}

qint64 PcmStream::bytesAvailable() const {
  std::lock_guard lock(mu_);
  qint64 n = silence_ahead_;
  for (const Block& b : blocks_) n += static_cast<qint64>(b.data.size() - b.pos);
  return n;
}

std::optional<int> PcmStream::TakePlayed(int64_t played) {
  std::lock_guard lock(mu_);
  if (blocks_.empty()) return std::nullopt;
  const Block& b = blocks_.front();
  const auto size = static_cast<int64_t>(b.data.size());
  if (!b.started || b.pos < b.data.size() || b.start + size > played) return std::nullopt;
  const int id = b.id;
  samples_reported_ += size;
  blocks_.pop_front();
  return id;
}

std::vector<int> PcmStream::DropAll(int64_t played) {
  std::lock_guard lock(mu_);
  std::vector<int> out;
  for (const Block& b : blocks_) {
    out.push_back(b.id);
    if (b.started) samples_reported_ += std::clamp<int64_t>(played - b.start, 0, static_cast<int64_t>(b.pos));
  }
  blocks_.clear();
  return out;
}

int64_t PcmStream::Handed() const {
  std::lock_guard lock(mu_);
  return handed_;
}

int64_t PcmStream::BlockSamplesPlayed(int64_t played) const {
  std::lock_guard lock(mu_);
  int64_t n = samples_reported_;
  for (const Block& b : blocks_) {
    if (!b.started) break;
    n += std::clamp<int64_t>(played - b.start, 0, static_cast<int64_t>(b.pos));
  }
  return n;
}

std::optional<int64_t> PcmStream::OldestBlockEnd() const {
  std::lock_guard lock(mu_);
  if (blocks_.empty()) return std::nullopt;
  const Block& b = blocks_.front();
  if (!b.started || b.pos < b.data.size()) return std::nullopt;
  return b.start + static_cast<int64_t>(b.data.size());
}

bool PcmStream::Pending() const {
  std::lock_guard lock(mu_);
  return !blocks_.empty();
}
