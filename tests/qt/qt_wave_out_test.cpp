// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt wave-out: blocks reported when heard however far the sink reads ahead,
// reset, the output by number and following the default, a dying output, and
// the real sink when the machine has one.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/pulse_stream.h"
#include "platform/qt/qt_wave_out.h"
#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"
#include "tests/mixer_test_wav.h"

namespace {

constexpr int kRate = 11025;

class FakeBackend;

// A stream that reads ahead the way QAudioSink does: it keeps its buffer full,
// pulling samples long before it plays them.
class FakeStream : public AudioStream {
 public:
  FakeStream(FakeBackend* backend, QIODevice* source, size_t buffer)
      : backend_(backend), source_(source), buffer_(buffer) {
    Pull();
  }
  ~FakeStream() override;
  int64_t PlayedUs() const override { return failed ? 0 : played_ * 1000000 / kRate; }
  bool Failed() const override { return failed; }

  // Plays n samples of what it holds, then fills its buffer again.
  void Play(int64_t n);
  size_t Held() const { return held_.size(); }
  bool failed = false;

 private:
  void Pull() {
    std::vector<char> bytes(buffer_ - held_.size());
    const qint64 got = source_->read(bytes.data(), static_cast<qint64>(bytes.size()));
    held_.insert(held_.end(), bytes.begin(), bytes.begin() + std::max<qint64>(got, 0));
  }
  FakeBackend* backend_;
  QIODevice* source_;
  size_t buffer_;
  std::vector<uint8_t> held_;
  int64_t played_ = 0;
};

class FakeBackend : public AudioBackend {
 public:
  std::vector<AudioOutput> outputs{{"a", "Speakers"}, {"b", "Headphones"}, {"c", "HDMI"}};
  bool down = false;           // the audio server is gone: no stream starts
  size_t buffer = 1024;        // what a stream reads ahead, about as much as QAudioSink here
  FakeStream* live = nullptr;  // the stream playing now
  std::string live_id;
  int starts = 0;
  std::vector<uint8_t> heard;  // everything any stream played, in order

  std::vector<AudioOutput> Outputs() const override { return outputs; }
  std::unique_ptr<AudioStream> Start(const std::string& id, int, QIODevice* source, std::string* error) override {
    if (down) {
      if (error) *error = "server gone";
      return nullptr;
    }
    ++starts;
    live_id = id;
    auto s = std::make_unique<FakeStream>(this, source, buffer);
    live = s.get();
    return s;
  }
};

FakeStream::~FakeStream() {
  if (backend_->live == this) backend_->live = nullptr;
}

void FakeStream::Play(int64_t n) {
  if (failed) return;
  const auto k = static_cast<size_t>(std::min<int64_t>(n, static_cast<int64_t>(held_.size())));
  backend_->heard.insert(backend_->heard.end(), held_.begin(), held_.begin() + static_cast<long>(k));
  held_.erase(held_.begin(), held_.begin() + static_cast<long>(k));
  played_ += static_cast<int64_t>(k);
  Pull();
}

struct Rig {
  int64_t now = 0;
  FakeBackend* backend;
  std::unique_ptr<QtWaveOut> out;
  std::vector<int> done;

  explicit Rig(int device = 0, size_t read_ahead = 1024) {
    auto b = std::make_unique<FakeBackend>();
    b->buffer = read_ahead;
    backend = b.get();
    out = std::make_unique<QtWaveOut>(std::move(b), [this] { return now; });
    out->SetDoneHandler([this](int id) { done.push_back(id); });
    std::string error;
    EXPECT_TRUE(out->Open(kRate, device, &error)) << error;
  }
  // Time passes in 10 ms steps: the live stream plays, then the output polls.
  void Advance(int64_t ms) {
    for (int64_t t = 0; t < ms; t += 10) {
      now += 10;
      if (backend->live) backend->live->Play(kRate / 100);
      out->Poll();
    }
  }
  // Advances until block `id` is reported (at most 5 s); the time it took.
  int64_t UntilDone(int id) {
    const int64_t from = now;
    while (std::find(done.begin(), done.end(), id) == done.end() && now - from < 5000) Advance(10);
    return now - from;
  }
  // Where in `heard` the first sample of value v is, or -1.
  long FirstHeard(uint8_t v, size_t from = 0) const {
    const auto& h = backend->heard;
    auto it = std::find(h.begin() + static_cast<long>(std::min(from, h.size())), h.end(), v);
    return it == h.end() ? -1 : static_cast<long>(it - h.begin());
  }
};

std::vector<uint8_t> Block(uint8_t v, size_t n = 2048) { return std::vector<uint8_t>(n, v); }

}  // namespace

TEST(QtWaveOut, ReportsABlockWhenHeardNotWhenPulled) {
  Rig r(0, 4096);
  r.Advance(100);  // silence, so the stream is well under way
  const size_t before = r.backend->heard.size();
  for (int id = 1; id <= 3; ++id) r.out->Write(Block(static_cast<uint8_t>(10 * id)), id);
  r.Advance(10);
  EXPECT_EQ(r.backend->live->Held(), 4096u);  // two blocks pulled at once...
  EXPECT_TRUE(r.done.empty());                // ...and none of them heard yet

  // Each is reported within a poll of its last sample being heard, in order.
  std::vector<std::pair<int, size_t>> reports;  // id, samples heard when reported
  while (r.done.size() < 3 && r.now < 5000) {
    const size_t n = r.done.size();
    r.Advance(10);
    for (size_t k = n; k < r.done.size(); ++k) reports.emplace_back(r.done[k], r.backend->heard.size());
  }
  ASSERT_EQ(r.done, (std::vector<int>{1, 2, 3}));
  const long start = r.FirstHeard(10, before);
  ASSERT_GE(start, 0);
  EXPECT_LE(static_cast<size_t>(start) - before, 4096u + 110);  // behind the silence already pulled
  for (const auto& [id, heard] : reports) {
    const size_t end = static_cast<size_t>(start) + 2048 * static_cast<size_t>(id);
    EXPECT_GE(heard, end) << id;
    EXPECT_LE(heard, end + 2 * 110) << id;
  }
  EXPECT_EQ(r.out->PlayedSamples(), 3 * 2048);  // the silence in between is not counted
}

TEST(QtWaveOut, ResetDropsWhatTheSinkHoldsAndReportsEveryBlockAtOnce) {
  Rig r;
  for (int id = 1; id <= 3; ++id) r.out->Write(Block(static_cast<uint8_t>(10 * id)), id);
  r.Advance(50);
  r.out->Reset();
  EXPECT_EQ(r.done, (std::vector<int>{1, 2, 3}));
  r.out->Write(Block(200, 500), 4);
  const size_t at_reset = r.backend->heard.size();
  r.Advance(100);
  // The new block comes first on a fresh stream; nothing of the old blocks plays after the reset.
  EXPECT_EQ(r.backend->starts, 2);
  EXPECT_EQ(r.FirstHeard(200, at_reset), static_cast<long>(at_reset));
  EXPECT_EQ(r.FirstHeard(10), -1);
  EXPECT_EQ(r.FirstHeard(20), -1);
  EXPECT_EQ(r.FirstHeard(30), -1);
  r.Advance(100);
  EXPECT_EQ(r.done.back(), 4);
  EXPECT_EQ(r.done.size(), 4u);
}

TEST(QtWaveOut, DeviceNumberPicksTheOutputAndTheDefaultIsFollowed) {
  const struct {
    int number;
    const char* id;
    const char* name;
  } cases[] = {
      {0, "a", "Speakers"}, {1, "b", "Headphones"}, {2, "c", "HDMI"}, {3, "a", "Speakers"}, {-1, "a", "Speakers"}};
  for (const auto& c : cases) {
    Rig r(c.number);
    EXPECT_EQ(r.out->OutputId(), c.id) << c.number;
    EXPECT_EQ(r.out->DeviceName(c.number), c.name) << c.number;
  }

  // The default: headphones plugged in become the default, and the sound moves there.
  Rig d(0);
  d.backend->outputs.insert(d.backend->outputs.begin(), AudioOutput{"h", "USB"});
  d.Advance(1000);
  EXPECT_EQ(d.out->OutputId(), "h");

  // A chosen output stays chosen; unplugged, the default plays until it is back.
  Rig p(1);
  p.backend->outputs.insert(p.backend->outputs.begin(), AudioOutput{"h", "USB"});
  p.Advance(1000);
  EXPECT_EQ(p.out->OutputId(), "b");
  auto b = p.backend->outputs[2];
  p.backend->outputs.erase(p.backend->outputs.begin() + 2);
  p.Advance(1000);
  EXPECT_EQ(p.out->OutputId(), "h");
  p.backend->outputs.push_back(b);
  p.Advance(1000);
  EXPECT_EQ(p.out->OutputId(), "b");
}

TEST(QtWaveOut, DeadOutputGoesOnSilentlyOnTheClockAndSoundComesBack) {
  // 2048 samples take 186 ms; the stream had pulled 1024 samples (93 ms) of silence first.
  Rig r;
  for (int id = 1; id <= 3; ++id) r.out->Write(Block(static_cast<uint8_t>(id)), id);
  r.Advance(100);
  r.backend->live->failed = true;  // the server is killed
  r.backend->down = true;
  r.Advance(10);
  EXPECT_FALSE(r.out->Audible());
  EXPECT_TRUE(r.out->IsOpen());
  // Blocks are still reported, at the pace they would have played: no sooner, and not never.
  const int64_t expected[] = {279 - 110, 186, 186};
  for (int id = 1; id <= 3; ++id) {
    const int64_t took = r.UntilDone(id);
    EXPECT_GE(took, expected[id - 1] - 10) << id;
    EXPECT_LE(took, expected[id - 1] + 20) << id;
  }
  // A block written later takes its own time from then.
  r.Advance(500);
  r.out->Write(Block(4), 4);
  const int64_t took = r.UntilDone(4);
  EXPECT_GE(took, 180);
  EXPECT_LE(took, 210);
  EXPECT_EQ(r.out->PlayedSamples(), 4 * 2048);

  // The server is back: within a second a new stream plays what comes next.
  r.backend->down = false;
  r.Advance(1000);
  ASSERT_TRUE(r.out->Audible());
  const size_t back = r.backend->heard.size();
  r.out->Write(Block(5), 5);
  r.Advance(500);
  EXPECT_GE(r.FirstHeard(5, back), 0);
  EXPECT_EQ(r.done, (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(QtWaveOut, MixerStaysWithinItsBlocksOfWhatIsHeardEvenWhenTheOutputDies) {
  using namespace testwav;
  auto b = std::make_unique<FakeBackend>();
  FakeBackend* backend = b.get();
  int64_t now = 0;
  QtWaveOut out(std::move(b), [&now] { return now; });
  Mixer mixer(out, [&now] { return now; });
  mixer.SetChannels(31);
  mixer.SetActivated(true);
  auto advance = [&](int64_t ms) {
    for (int64_t t = 0; t < ms; t += 10) {
      now += 10;
      if (backend->live) backend->live->Play(kRate / 100);
      out.Poll();
    }
  };
  auto wave = [&](uint8_t v, size_t n) { return mixer.OpenWaveFromMemory(Wav(1, kRate, 8, Bytes(n, v)), "t"); };
  advance(200);

  // On an idle mixer a sound starts behind no more than the sink's read-ahead.
  size_t click = backend->heard.size();
  mixer.Play(0, wave(60, 30000));  // 2.7 s
  advance(1000);
  const auto first = [&](uint8_t v, size_t from) {
    auto it = std::find(backend->heard.begin() + static_cast<long>(from), backend->heard.end(), v);
    return static_cast<size_t>(it - backend->heard.begin());
  };
  EXPECT_LE(first(60, click) - click, backend->buffer);

  // While it plays, a play without flags on another channel is heard at most
  // the configured blocks (3 x 2048) behind the click, read-ahead included.
  click = backend->heard.size();
  mixer.Play(1, wave(200, 500));
  advance(1000);
  EXPECT_LE(first(60 + 200 - 128, click) - click, 3u * 2048);

  // The output dies: plays go on retiring on the clock, nothing piles up
  // (a channel holds what starts within the queued blocks, about six of these).
  backend->live->failed = true;
  backend->down = true;
  for (int k = 0; k < 100; ++k) {
    MixerWave* w = wave(90, 1000);
    mixer.Play(2, w);
    advance(100);
    EXPECT_LE(mixer.QueueLength(2), 8u) << k;
  }
  advance(1000);
  EXPECT_EQ(mixer.QueueLength(0) + mixer.QueueLength(2), 0u);
  EXPECT_EQ(mixer.BlocksQueued(), 0u);
}

TEST(QtWaveOut, PlaysBlocksInOrderOrFailsCleanlyWithoutADevice) {
  QtWaveOut out;
  std::string error;
  EXPECT_FALSE(out.Open(8000, 0, &error));
  EXPECT_NE(error.find("8000"), std::string::npos);

  std::vector<int> done;
  out.SetDoneHandler([&](int id) { done.push_back(id); });
  error.clear();
  if (!out.Open(11025, 0, &error)) {
    // No sound card here: the reason is given and writes go nowhere.
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(out.IsOpen());
    out.Write(std::vector<uint8_t>(512, 128), 1);
    out.Reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(done.empty());
    EXPECT_EQ(out.PlayedSamples(), -1);
    return;
  }
  ASSERT_TRUE(out.IsOpen());
  QElapsedTimer clock;
  clock.start();
  for (int id = 1; id <= 3; ++id) out.Write(std::vector<uint8_t>(1024, 128), id);
  while (done.size() < 3 && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(done, (std::vector<int>{1, 2, 3}));
  // Reported as heard: not before the three blocks' own playing time.
  EXPECT_GE(clock.elapsed(), 3 * 1024 * 1000 / 11025);
  EXPECT_GE(out.PlayedSamples(), 3 * 1024);

  // Reset reports what was still queued, in order, before it returns.
  done.clear();
  for (int id = 4; id <= 6; ++id) out.Write(std::vector<uint8_t>(11025, 128), id);
  out.Reset();
  EXPECT_EQ(done, (std::vector<int>{4, 5, 6}));
  QCoreApplication::processEvents();
  EXPECT_EQ(done.size(), 3u);  // and nothing twice

  // Closing drops and reports the same way.
  out.Write(std::vector<uint8_t>(11025, 128), 7);
  out.Close();
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(done.back(), 7);
}

TEST(QtWaveOut, OwnPulseConnectionPlaysWhenThereIsAServer) {
  PcmStream pcm(kRate / 2);
  pcm.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  std::unique_ptr<AudioStream> s = StartPulseStream({}, kRate, &pcm, nullptr);
  if (!s) GTEST_SKIP() << "no pulse server here";
  pcm.Push(std::vector<uint8_t>(2048, 140), 1);
  QElapsedTimer clock;
  clock.start();
  bool heard = false;
  while (!(heard = pcm.TakePlayed(s->PlayedUs() * kRate / 1000000).has_value()) && clock.elapsed() < 5000) {
    QThread::msleep(5);
  }
  // Heard, and no sooner than its own length (a fresh stream on a null sink may
  // first stand still for a second or two).
  EXPECT_TRUE(heard);
  EXPECT_GE(clock.elapsed(), 2048 * 1000 / kRate - 5);
  EXPECT_FALSE(s->Failed());
  s.reset();  // the writer thread stops
}
