// SPDX-License-Identifier: GPL-3.0-or-later
// The byte stream an audio sink pulls the game's blocks from. It never runs dry:
// past the last block it hands out silence, so the sink plays on steadily and
// its played time maps one to one onto the bytes handed out. Each block's place
// in that stream is remembered, so a block counts as played only once the
// sink's played time has passed its last byte, however far ahead it reads.
// The sink may read on any thread; every member is guarded by one lock.
#pragma once

#include <QIODevice>

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

class PcmStream : public QIODevice {
 public:
  // `silence_ahead` is what bytesAvailable() promises beyond the queued blocks.
  explicit PcmStream(qint64 silence_ahead = 4096);

  // Queues a block behind the others.
  void Push(std::vector<uint8_t> block, int id);
  // Hands out `n` bytes to nobody, as a sink would read them (for an output with no sink).
  void Skip(int64_t n);
  // The id of the oldest block if its last byte lies before stream byte `played`;
  // it is reported once, so the next call gives the one after it.
  std::optional<int> TakePlayed(int64_t played);
  // Drops every block, handed out or not; returns the ids not yet reported, in
  // order. What was played of them by stream byte `played` still counts as played.
  std::vector<int> DropAll(int64_t played);

  // Bytes handed out since the stream was opened, silence included.
  int64_t Handed() const;
  // Samples of blocks (silence not counted) played by stream byte `played`.
  int64_t BlockSamplesPlayed(int64_t played) const;
  // True while some block has not been reported.
  bool Pending() const;
  // The stream byte just past the oldest unreported block, once the stream has
  // handed out all of it; nothing before that (the sink has not pulled it yet).
  std::optional<int64_t> OldestBlockEnd() const;

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 max_size) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  struct Block {
    std::vector<uint8_t> data;
    int id = 0;
    size_t pos = 0;        // bytes handed out so far
    bool started = false;  // reached by the stream; `start` is known
    int64_t start = 0;     // stream byte of its first sample
  };
  // Copies (or, with a null `out`, skips) up to n bytes; the caller holds the lock.
  void TakeLocked(char* out, int64_t n);

  const qint64 silence_ahead_;
  mutable std::mutex mu_;
  std::deque<Block> blocks_;  // not yet reported, in stream order
  int64_t handed_ = 0;
  int64_t samples_reported_ = 0;  // sizes of the reported and dropped-after-play blocks
};
