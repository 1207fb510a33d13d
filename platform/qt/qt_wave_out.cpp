#include "platform/qt/qt_wave_out.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QMetaObject>

#include <algorithm>
#include <cstring>

// ---------------------------------------------------------------------------------
// PcmBlockQueue

PcmBlockQueue::PcmBlockQueue(std::function<void()> on_block_finished)
    : on_block_finished_(std::move(on_block_finished)) {}

void PcmBlockQueue::Push(std::vector<uint8_t> block, int id) {
  bool finished_now = false;
  {
    std::lock_guard lock(mu_);
    if (block.empty()) {
      // Nothing to play: done as soon as everything before it has been read.
      if (blocks_.empty()) {
        finished_.push_back(id);
        finished_now = true;
      } else {
        blocks_.push_back(Block{{}, id});
      }
    } else {
      blocks_.push_back(Block{std::move(block), id});
    }
  }
  if (finished_now && on_block_finished_) on_block_finished_();
  emit readyRead();
}

std::vector<int> PcmBlockQueue::TakeFinished() {
  std::lock_guard lock(mu_);
  std::vector<int> out;
  out.swap(finished_);
  return out;
}

std::vector<int> PcmBlockQueue::DropAll() {
  std::lock_guard lock(mu_);
  std::vector<int> out;
  out.swap(finished_);
  for (const Block& b : blocks_) out.push_back(b.id);
  blocks_.clear();
  return out;
}

int64_t PcmBlockQueue::BytesRead() const {
  std::lock_guard lock(mu_);
  return bytes_read_;
}

qint64 PcmBlockQueue::bytesAvailable() const {
  std::lock_guard lock(mu_);
  qint64 n = 0;
  for (const Block& b : blocks_) n += static_cast<qint64>(b.data.size() - b.pos);
  return n + QIODevice::bytesAvailable();
}

qint64 PcmBlockQueue::readData(char* data, qint64 max_size) {
  bool finished_any = false;
  qint64 done = 0;
  {
    std::lock_guard lock(mu_);
    while (done < max_size && !blocks_.empty()) {
      Block& b = blocks_.front();
      const size_t n = std::min<size_t>(b.data.size() - b.pos, static_cast<size_t>(max_size - done));
      if (n > 0) std::memcpy(data + done, b.data.data() + b.pos, n);
      b.pos += n;
      done += static_cast<qint64>(n);
      if (b.pos == b.data.size()) {
        finished_.push_back(b.id);
        blocks_.pop_front();
        finished_any = true;
      }
    }
    // Empty blocks behind the last one read are finished too.
    while (!blocks_.empty() && blocks_.front().data.empty()) {
      finished_.push_back(blocks_.front().id);
      blocks_.pop_front();
      finished_any = true;
    }
    bytes_read_ += done;
  }
  if (finished_any && on_block_finished_) on_block_finished_();
  return done;
}

// ---------------------------------------------------------------------------------
// QtWaveOut

QtWaveOut::QtWaveOut() : context_(std::make_unique<QObject>()) {}

QtWaveOut::~QtWaveOut() {
  done_ = nullptr;  // whoever listened may be gone already
  Close();
}

bool QtWaveOut::DeviceAvailable() const { return !QMediaDevices::audioOutputs().isEmpty(); }

std::string QtWaveOut::DeviceName() const {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  return device.isNull() ? std::string() : device.description().toStdString();
}

bool QtWaveOut::Open(int samples_per_second, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  Close();
  if (samples_per_second != 11025 && samples_per_second != 22050 && samples_per_second != 44100) {
    return fail("Unsupported sample rate " + std::to_string(samples_per_second) +
                " (11025, 22050 or 44100 expected)");
  }
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return fail("No audio output device is available; sound is off");
  QAudioFormat format;
  format.setSampleRate(samples_per_second);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::UInt8);
  if (!device.isFormatSupported(format)) {
    return fail("The audio output device \"" + device.description().toStdString() +
                "\" cannot play 8-bit mono PCM at " + std::to_string(samples_per_second) + " Hz");
  }

  // Block ends are seen wherever the sink reads; the reports are posted to the UI thread.
  QObject* context = context_.get();
  queue_ = std::make_unique<PcmBlockQueue>([this, context] {
    QMetaObject::invokeMethod(context, [this] { ReportFinished(); }, Qt::QueuedConnection);
  });
  queue_->open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(device, format);
  // A fifth of a second of buffering, about one of the game's blocks: smaller buffers
  // make the sink's feeding fall behind real time.
  sink_->setBufferSize(samples_per_second / 5);
  sink_->start(queue_.get());
  if (sink_->error() == QAudio::OpenError || sink_->error() == QAudio::FatalError) {
    sink_.reset();
    queue_.reset();
    return fail("The audio output device \"" + device.description().toStdString() + "\" could not be opened");
  }
  rate_ = samples_per_second;
  return true;
}

void QtWaveOut::Close() {
  std::vector<int> dropped;
  if (queue_) dropped = queue_->DropAll();
  if (sink_) {
    sink_->stop();
    sink_.reset();
  }
  queue_.reset();
  rate_ = 0;
  for (int id : dropped) {
    if (done_) done_(id);
  }
}

void QtWaveOut::Write(std::vector<uint8_t> block, int id) {
  if (!queue_) return;  // not open: nothing plays and nothing comes back
  queue_->Push(std::move(block), id);
  // A sink that ran dry has gone idle; it picks up again on its own pull, but a
  // resume makes sure a suspended stream plays.
  if (sink_ && sink_->state() == QAudio::SuspendedState) sink_->resume();
}

void QtWaveOut::Reset() {
  if (!queue_) return;
  std::vector<int> dropped = queue_->DropAll();
  if (sink_) {
    // Drop what the sink still holds and start pulling afresh.
    sink_->reset();
    if (sink_->state() == QAudio::StoppedState) sink_->start(queue_.get());
  }
  for (int id : dropped) {
    if (done_) done_(id);
  }
}

int64_t QtWaveOut::PlayedSamples() const {
  if (!sink_ || rate_ == 0) return -1;
  return sink_->processedUSecs() * rate_ / 1000000;
}

void QtWaveOut::ReportFinished() {
  if (!queue_) return;
  for (int id : queue_->TakeFinished()) {
    if (done_) done_(id);
    if (!queue_) return;  // the handler closed the device
  }
}
