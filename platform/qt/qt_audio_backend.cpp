// SPDX-License-Identifier: GPL-3.0-or-later
// The audio system through Qt Multimedia: QMediaDevices for the outputs and a
// QAudioSink in pull mode for the stream, or a stream straight on the pulse
// server once Qt's own connection to it is lost for good.
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

#include "platform/qt/audio_backend.h"
#include "platform/qt/pulse_stream.h"

namespace {

// The sink's own buffer, in milliseconds of audio. Everything in it is heard
// this much after it was pulled, so it adds to every sound's delay (about 40 to
// 70 ms in all on PulseAudio). At 50 ms Qt 6.4's pulse sink stops pulling in
// time and the stream falls seconds behind.
constexpr int kSinkBufferMs = 100;

class QtAudioStream : public AudioStream {
 public:
  explicit QtAudioStream(std::unique_ptr<QAudioSink> sink) : sink_(std::move(sink)) {}
  ~QtAudioStream() override { sink_->stop(); }
  int64_t PlayedUs() const override { return sink_->processedUSecs(); }
  bool Failed() const override { return sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError; }

 private:
  std::unique_ptr<QAudioSink> sink_;
};

class QtAudioBackend : public AudioBackend {
 public:
  std::vector<AudioOutput> Outputs() const override {
    std::vector<AudioOutput> out;
    const QAudioDevice fallback = QMediaDevices::defaultAudioOutput();
    if (!fallback.isNull()) out.push_back(Describe(fallback));
    for (const QAudioDevice& d : QMediaDevices::audioOutputs()) {
      if (fallback.isNull() || d.id() != fallback.id()) out.push_back(Describe(d));
    }
    return out;
  }

  std::unique_ptr<AudioStream> Start(const std::string& id, int rate, QIODevice* source, std::string* error) override {
    if (auto s = StartQt(id, rate, source, error)) return s;
    // Qt's pulse engine may have lost its server for good; a connection of our
    // own reaches it once it is back. Pulse names its outputs by these ids.
    if (auto s = StartPulseStream(id, rate, source, nullptr)) return s;
    if (!id.empty()) return StartPulseStream({}, rate, source, nullptr);
    return nullptr;
  }

 private:
  static std::unique_ptr<AudioStream> StartQt(const std::string& id, int rate, QIODevice* source, std::string* error) {
    auto fail = [&](const std::string& why) -> std::unique_ptr<AudioStream> {
      if (error) *error = why;
      return nullptr;
    };
    QAudioDevice device = id.empty() ? QMediaDevices::defaultAudioOutput() : QAudioDevice();
    for (const QAudioDevice& d : QMediaDevices::audioOutputs()) {
      if (!id.empty() && d.id().toStdString() == id) device = d;
    }
    if (device.isNull()) return fail("The audio output \"" + id + "\" is gone");
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    const std::string name = device.description().toStdString();
    if (!device.isFormatSupported(format)) {
      return fail("The audio output \"" + name + "\" cannot play 8-bit mono PCM at " + std::to_string(rate) + " Hz");
    }
    auto sink = std::make_unique<QAudioSink>(device, format);
    sink->setBufferSize(static_cast<qsizetype>(rate) * kSinkBufferMs / 1000);
    sink->start(source);
    if (sink->state() == QAudio::StoppedState) return fail("The audio output \"" + name + "\" could not be opened");
    return std::make_unique<QtAudioStream>(std::move(sink));
  }

  static AudioOutput Describe(const QAudioDevice& d) {
    return AudioOutput{d.id().toStdString(), d.description().toStdString()};
  }
};

}  // namespace

std::unique_ptr<AudioBackend> MakeQtAudioBackend() { return std::make_unique<QtAudioBackend>(); }
