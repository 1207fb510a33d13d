// The wave-out device on QAudioSink: 8-bit mono PCM blocks queued in order, each
// reported done on the UI thread once the sink has taken all of its bytes.
#pragma once

#include <QIODevice>
#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wave_out.h"

class QAudioSink;

// The queue the sink pulls its samples from. The sink may read on another thread,
// so everything here is guarded.
class PcmBlockQueue : public QIODevice {
 public:
  explicit PcmBlockQueue(std::function<void()> on_block_finished);
  void Push(std::vector<uint8_t> block, int id);
  // Ids of the blocks read to their end since the last call, in order.
  std::vector<int> TakeFinished();
  // Every block not yet reported, finished first, then the unplayed ones; the queue empties.
  std::vector<int> DropAll();
  int64_t BytesRead() const;
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 max_size) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  struct Block {
    std::vector<uint8_t> data;
    int id;
    size_t pos = 0;
  };
  mutable std::mutex mu_;
  std::deque<Block> blocks_;
  std::vector<int> finished_;
  int64_t bytes_read_ = 0;
  std::function<void()> on_block_finished_;
};

class QtWaveOut : public WaveOut {
 public:
  QtWaveOut();
  ~QtWaveOut() override;
  bool DeviceAvailable() const override;
  std::string DeviceName() const override;
  bool Open(int samples_per_second, std::string* error) override;
  bool IsOpen() const override { return sink_ != nullptr; }
  // Stops at once; blocks still queued are dropped and reported done, as by Reset.
  void Close() override;
  void Write(std::vector<uint8_t> block, int id) override;
  void SetDoneHandler(std::function<void(int id)> handler) override { done_ = std::move(handler); }
  // Drops the queued blocks and reports each of them done before returning.
  void Reset() override;
  int64_t PlayedSamples() const override;

 private:
  void ReportFinished();

  std::unique_ptr<QObject> context_;  // lives on the UI thread; done reports are posted to it
  std::unique_ptr<PcmBlockQueue> queue_;
  std::unique_ptr<QAudioSink> sink_;
  std::function<void(int)> done_;
  int rate_ = 0;
};
