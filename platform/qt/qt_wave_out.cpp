// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_wave_out.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

constexpr int kBusyPollMs = 10;   // while blocks are queued: how late a report may come
constexpr int kIdlePollMs = 250;  // otherwise
constexpr int kWatchMs = 1000;    // how often a missing or changed output is looked for

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

QtWaveOut::QtWaveOut() : QtWaveOut(MakeQtAudioBackend(), SteadyMs) {}

QtWaveOut::QtWaveOut(std::unique_ptr<AudioBackend> backend, std::function<int64_t()> clock_ms)
    : backend_(std::move(backend)), clock_(std::move(clock_ms)) {
  poll_timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&poll_timer_, &QTimer::timeout, [this] { Poll(); });
}

QtWaveOut::~QtWaveOut() {
  done_ = nullptr;  // whoever listened may be gone already
  Close();
}

bool QtWaveOut::DeviceAvailable() const { return !backend_->Outputs().empty(); }

std::string QtWaveOut::DeviceName(int device) const {
  const std::vector<AudioOutput> outs = backend_->Outputs();
  if (outs.empty()) return {};
  return outs[device >= 0 && device < static_cast<int>(outs.size()) ? device : 0].name;
}

bool QtWaveOut::Open(int samples_per_second, int device, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  Close();
  if (samples_per_second != 11025 && samples_per_second != 22050 && samples_per_second != 44100) {
    return fail("Unsupported sample rate " + std::to_string(samples_per_second) + " (11025, 22050 or 44100 expected)");
  }
  const std::vector<AudioOutput> outs = backend_->Outputs();
  if (outs.empty()) return fail("No audio output device is available; sound is off");
  // Number 0 is the default, which is then followed; a number past the end means it too.
  pinned_ = device >= 1 && device < static_cast<int>(outs.size()) ? outs[device].id : std::string();

  pcm_ = std::make_unique<PcmStream>(samples_per_second / 2);
  pcm_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  rate_ = samples_per_second;
  base_ = played_ = 0;
  if (!StartStream(WantedOutput(), error)) {
    pcm_.reset();
    rate_ = 0;
    return false;
  }
  last_watch_ms_ = clock_();
  poll_timer_.start(kIdlePollMs);
  return true;
}

void QtWaveOut::Close() {
  if (!IsOpen()) return;
  poll_timer_.stop();
  restart_on_.clear();
  if (!stream_) CatchUp();
  std::vector<int> dropped = pcm_->DropAll(Played());
  stream_.reset();
  stream_output_.clear();
  pcm_.reset();
  rate_ = 0;
  ReportDropped(std::move(dropped));
}

void QtWaveOut::Write(std::vector<uint8_t> block, int id) {
  if (!IsOpen() || silenced_) return;  // nothing plays and nothing comes back
  if (!stream_) CatchUp();             // silent: the block starts now, not where the clock left the stream
  pcm_->Push(std::move(block), id);
  ScheduleNextPoll();
}

void QtWaveOut::Reset() {
  if (!IsOpen() || silenced_) return;
  if (!stream_) CatchUp();
  std::vector<int> dropped = pcm_->DropAll(Played());
  if (stream_) {
    // The old stream's buffer, already pulled from us, goes with it. The fresh
    // one starts at the next poll, once the blocks that follow the reset are
    // queued, so that it does not pull silence ahead of them.
    restart_on_ = stream_output_;
    GoSilent();
  }
  ReportDropped(std::move(dropped));
}

int64_t QtWaveOut::PlayedSamples() const {
  if (!IsOpen()) return -1;
  return pcm_->BlockSamplesPlayed(Played());
}

void QtWaveOut::Poll() {
  if (!IsOpen()) return;
  if (stream_ && stream_->Failed()) GoSilent();
  if (!restart_on_.empty()) SwitchTo(std::exchange(restart_on_, {}));
  const int64_t now = clock_();
  if (now - last_watch_ms_ >= kWatchMs) {
    last_watch_ms_ = now;
    // While silent any output will do: "" asks for the system's default.
    const std::string wanted = WantedOutput();
    if (!stream_ || (!wanted.empty() && wanted != stream_output_)) SwitchTo(wanted);
  }
  if (!stream_) CatchUp();
  played_ = std::max(played_, Played());
  while (IsOpen()) {
    const std::optional<int> id = pcm_->TakePlayed(played_);
    if (!id) break;
    if (done_) done_(*id);  // may write, reset or close
  }
  ScheduleNextPoll();
}

std::string QtWaveOut::WantedOutput() const {
  const std::vector<AudioOutput> outs = backend_->Outputs();
  if (!pinned_.empty() &&
      std::any_of(outs.begin(), outs.end(), [&](const AudioOutput& o) { return o.id == pinned_; })) {
    return pinned_;
  }
  return outs.empty() ? std::string() : outs.front().id;
}

void QtWaveOut::SwitchTo(const std::string& id) {
  // What the old stream had pulled but not played is lost with it.
  if (stream_) GoSilent();
  CatchUp();
  if (!StartStream(id, nullptr)) GoSilent();
}

bool QtWaveOut::StartStream(const std::string& id, std::string* error) {
  // The new stream pulls from where the stream stands now; its time counts from there.
  base_ = pcm_->Handed();
  played_ = std::max(played_, base_);
  stream_ = backend_->Start(id, rate_, pcm_.get(), error);
  stream_output_ = stream_ ? id : std::string();
  return stream_ != nullptr;
}

void QtWaveOut::GoSilent() {
  if (stream_) played_ = std::max(played_, Played());
  stream_.reset();
  stream_output_.clear();
  // What the dead stream had pulled but not played plays on the clock from here.
  base_ = played_;
  silent_since_ms_ = clock_();
}

int64_t QtWaveOut::Played() const {
  int64_t p;
  if (stream_) {
    p = base_ + stream_->PlayedUs() * rate_ / 1000000;
  } else {
    p = base_ + (clock_() - silent_since_ms_) * rate_ / 1000;
  }
  // Nothing plays before it was pulled, and time does not go back.
  return std::clamp(p, played_, std::max(played_, pcm_->Handed()));
}

void QtWaveOut::CatchUp() {
  const int64_t target = base_ + (clock_() - silent_since_ms_) * rate_ / 1000;
  pcm_->Skip(target - pcm_->Handed());
}

void QtWaveOut::ReportDropped(std::vector<int> ids) {
  for (int id : ids) {
    if (done_) done_(id);
  }
}

void QtWaveOut::ScheduleNextPoll() {
  if (!IsOpen()) return;
  int interval = pcm_->Pending() ? kBusyPollMs : kIdlePollMs;
  // The oldest block cannot be reported before its end has played: sleep until then
  // rather than waking every few milliseconds (music keeps blocks queued all the time).
  if (const std::optional<int64_t> end = pcm_->OldestBlockEnd()) {
    const int64_t ms_left = (*end - Played()) * 1000 / rate_;
    interval = static_cast<int>(std::clamp<int64_t>(ms_left + 1, kBusyPollMs, kIdlePollMs));
  }
  if (poll_timer_.interval() != interval || !poll_timer_.isActive()) poll_timer_.start(interval);
}
