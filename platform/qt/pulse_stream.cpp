// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/pulse_stream.h"

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

// The few declarations of <pulse/simple.h> used here, so that building needs no pulse headers.
struct pa_simple;
struct PaSampleSpec {
  int format;
  uint32_t rate;
  uint8_t channels;
};
struct PaBufferAttr {
  uint32_t maxlength, tlength, prebuf, minreq, fragsize;
};
constexpr int kPaSampleU8 = 0;
constexpr int kPaStreamPlayback = 1;

struct PulseSimple {
  pa_simple* (*create)(const char*, const char*, int, const char*, const char*, const PaSampleSpec*, const void*,
                       const PaBufferAttr*, int*) = nullptr;
  int (*write)(pa_simple*, const void*, size_t, int*) = nullptr;
  uint64_t (*latency)(pa_simple*, int*) = nullptr;
  void (*destroy)(pa_simple*) = nullptr;

  // Loaded once; null when the library is not there.
  static const PulseSimple* Get() {
    static const PulseSimple* lib = []() -> const PulseSimple* {
      void* h = dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
      if (!h) return nullptr;
      static PulseSimple p;
      p.create = reinterpret_cast<decltype(p.create)>(dlsym(h, "pa_simple_new"));
      p.write = reinterpret_cast<decltype(p.write)>(dlsym(h, "pa_simple_write"));
      p.latency = reinterpret_cast<decltype(p.latency)>(dlsym(h, "pa_simple_get_latency"));
      p.destroy = reinterpret_cast<decltype(p.destroy)>(dlsym(h, "pa_simple_free"));
      return p.create && p.write && p.latency && p.destroy ? &p : nullptr;
    }();
    return lib;
  }
};

int64_t NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

class PulseStream : public AudioStream {
 public:
  PulseStream(const PulseSimple* lib, pa_simple* s, int rate, QIODevice* source)
      : lib_(lib), s_(s), rate_(rate), source_(source), thread_([this] { Run(); }) {}
  ~PulseStream() override {
    stop_ = true;
    thread_.join();
    lib_->destroy(s_);
  }
  int64_t PlayedUs() const override {
    // Played as of the last write, moved on by the time since, never past what was written.
    const int64_t at = played_us_.load(), when = stamp_us_.load(), written = written_us_.load();
    return when == 0 ? 0 : std::min(written, at + (NowUs() - when));
  }
  bool Failed() const override { return failed_; }

 private:
  void Run() {
    // 10 ms at a time: the played time is sampled after every write.
    std::vector<char> chunk(static_cast<size_t>(rate_ / 100));
    int64_t written = 0;
    while (!stop_) {
      const qint64 n = source_->read(chunk.data(), static_cast<qint64>(chunk.size()));
      int err = 0;
      if (n <= 0 || lib_->write(s_, chunk.data(), static_cast<size_t>(n), &err) < 0) {
        failed_ = true;
        return;
      }
      written += n;
      const uint64_t latency = lib_->latency(s_, &err);
      const int64_t written_us = written * 1000000 / rate_;
      written_us_ = written_us;
      played_us_ = std::max<int64_t>(0, written_us - static_cast<int64_t>(latency));
      stamp_us_ = NowUs();
    }
  }

  const PulseSimple* lib_;
  pa_simple* s_;
  const int rate_;
  QIODevice* source_;
  std::atomic<bool> stop_{false}, failed_{false};
  std::atomic<int64_t> played_us_{0}, stamp_us_{0}, written_us_{0};
  std::thread thread_;  // last: starts once everything above is set
};

}  // namespace

std::unique_ptr<AudioStream> StartPulseStream(const std::string& id, int rate, QIODevice* source, std::string* error) {
  const PulseSimple* lib = PulseSimple::Get();
  if (!lib) {
    if (error) *error = "libpulse-simple is not available";
    return nullptr;
  }
  const PaSampleSpec format{kPaSampleU8, static_cast<uint32_t>(rate), 1};
  // About 100 ms in the server's buffer, as with the Qt sink.
  const auto tlength = static_cast<uint32_t>(rate / 10);
  const PaBufferAttr attr{UINT32_MAX, tlength, UINT32_MAX, UINT32_MAX, UINT32_MAX};
  int err = 0;
  pa_simple* s = lib->create(nullptr, "pomurie", kPaStreamPlayback, id.empty() ? nullptr : id.c_str(), "sound effects",
                             &format, nullptr, &attr, &err);
  if (!s) {
    if (error) *error = "The pulse server cannot be reached (error " + std::to_string(err) + ")";
    return nullptr;
  }
  return std::make_unique<PulseStream>(lib, s, rate, source);
}
