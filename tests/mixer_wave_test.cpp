// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and converting wave files: the conversions the game's assets go
// through, and every damaged file ending in its message without over-reading.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/soft/fake_wave_out.h"
#include "presentation/mixer/mixer.h"
#include "tests/mixer_test_wav.h"

using namespace testwav;

namespace {

const WaveFormat kOut{1, 11025, 8};

std::string ErrorOf(const Bytes& file, const WaveFormat& out = kOut) {
  try {
    DecodeWave(file, out);
  } catch (const EMixerError& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(MixerWave, SixteenBitStereo22050BecomesEightBitMonoAtHalfTheFrames) {
  // High bytes with the sign flipped: 0x10->0x90 (144), 0x30->0xB0 (176), so the
  // first frame is mono 160; -0x2000 -> 0xE0^0x80 = 0x60 (96) with 0x7F00 -> 0xFF gives 175.
  const std::vector<int16_t> frames = {0x1000,  0x3000,  -0x2000, 0x7F00, 0x0000, 0x0000,
                                       -0x8000, -0x8000, 0x0100,  0x0300, 0x7FFF, 0x7FFF};
  WaveFormat in;
  Bytes out = DecodeWave(Wav(2, 22050, 16, Pcm16(frames)), kOut, &in);
  EXPECT_EQ(in.channels, 2);
  EXPECT_EQ(in.samples_per_sec, 22050u);
  EXPECT_EQ(in.bits_per_sample, 16);
  // Mono frames: 160, 175, 128, 0, 130, 255 -> pairs averaged.
  EXPECT_EQ(out, (Bytes{(160 + 175) / 2, (128 + 0) / 2, (130 + 255) / 2}));
}

TEST(MixerWave, RateConversionUpAndDown) {
  // Up by 2: interpolate between neighbours, repeat the last frame.
  EXPECT_EQ(DecodeWave(Wav(1, 11025, 8, {0, 100, 50}), WaveFormat{1, 22050, 8}), (Bytes{0, 50, 100, 75, 50, 50}));
  // Up by 4 from 11025 to 44100.
  EXPECT_EQ(DecodeWave(Wav(1, 11025, 8, {0, 200}), WaveFormat{1, 44100, 8}),
            (Bytes{0, 50, 100, 150, 200, 200, 200, 200}));
  // Down by 4; a short last group is averaged over what it has.
  EXPECT_EQ(DecodeWave(Wav(1, 44100, 8, {0, 4, 8, 12, 100, 200}), kOut), (Bytes{6, 150}));
  // 48000 -> 11025 rounds the factor 4.35 to 4; 16000 rounds 1.45 to 1 and keeps every frame.
  EXPECT_EQ(DecodeWave(Wav(1, 48000, 8, {1, 2, 3, 4, 9}), kOut).size(), 2u);
  EXPECT_EQ(DecodeWave(Wav(1, 16000, 8, {1, 2, 3}), kOut), (Bytes{1, 2, 3}));
  // 8000 -> 11025: the integer factor is 1, the samples stay as they are.
  EXPECT_EQ(DecodeWave(Wav(1, 8000, 8, {7, 8}), kOut), (Bytes{7, 8}));
}

TEST(MixerWave, BitsAndChannelsTheOtherWay) {
  // 8 -> 16 is s * 256 - 32768; mono -> stereo duplicates.
  Bytes out = ConvertWave(WaveFormat{1, 11025, 8}, Bytes{0x80, 0x00, 0xFF}, WaveFormat{2, 11025, 16});
  EXPECT_EQ(out, Pcm16({0, 0, -32768, -32768, 32512, 32512}));
  // A trailing partial frame is ignored.
  EXPECT_EQ(ConvertWave(WaveFormat{2, 11025, 8}, Bytes{10, 20, 99}, kOut), (Bytes{15}));
}

TEST(MixerWave, ChunksAreWalkedWithPaddingAndLenientRiffSize) {
  const Bytes data{1, 2, 3};
  // An odd-sized chunk (with its pad byte) and a LIST chunk around the format.
  Bytes f = Riff({Chunk("LIST", {'x', 'y', 'z'}), Fmt(1, 11025, 8), Chunk("junk", {9}), Chunk("data", data)});
  EXPECT_EQ(DecodeWave(f, kOut), data);
  // A RIFF size that promises more than the file holds, as streaming writers leave it.
  EXPECT_EQ(DecodeWave(Riff({Fmt(1, 11025, 8), Chunk("data", data)}, 0xFFFFFFFF), kOut), data);
  // A format chunk longer than 16 bytes (extension bytes) is fine.
  const Bytes fmt = Fmt(1, 11025, 8);
  Bytes ext_body(fmt.begin() + 8, fmt.end());
  ext_body.insert(ext_body.end(), {0, 0});
  Bytes ext = Chunk("fmt ", ext_body);
  EXPECT_EQ(DecodeWave(Riff({ext, Chunk("data", data)}), kOut), data);
}

TEST(MixerWave, EveryDamageEndsInItsMessage) {
  const Bytes fmt = Fmt(1, 11025, 8);
  const Bytes data = Chunk("data", {1, 2, 3, 4});
  Bytes short_fmt_body(fmt.begin() + 8, fmt.begin() + 8 + 14);
  Bytes truncated_fmt = Riff({fmt});
  truncated_fmt.resize(12 + 8 + 10);
  Bytes data_past_end = Riff({fmt, Chunk("data", {1, 2, 3, 4}, 1000)});
  Bytes data_huge = Riff({fmt, Chunk("data", {1, 2, 3, 4}, 0xFFFFFFFF)});
  Bytes fmt_past_end = Riff({Chunk("fmt ", Bytes(fmt.begin() + 8, fmt.end()), 0xFFFFFFF0), data});
  Bytes skipped_chunk_past_end = Riff({Chunk("LIST", {1, 2}, 0x7FFFFFFF), fmt, data});

  struct Case {
    const char* what;
    Bytes file;
    std::string message;
  } cases[] = {
      {"empty", {}, "This is not a WAVE file"},
      {"too short", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}, "This is not a WAVE file"},
      {"not RIFF", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, "This is not a WAVE file"},
      {"RIFF of another form", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, "This is not a WAVE file"},
      {"no format chunk", Riff({data}), "WAVE file is corrupted"},
      {"a skipped chunk runs past the end", skipped_chunk_past_end, "WAVE file is corrupted"},
      {"format chunk past the end", fmt_past_end, "WAVE file is corrupted"},
      {"format shorter than 16", Riff({Chunk("fmt ", short_fmt_body), data}), "Failed to read format chunk"},
      {"format cut by the end of file", truncated_fmt, "Failed to read format chunk"},
      {"not PCM", Riff({Fmt(1, 11025, 8, 3), data}), "The file is not a PCM file"},
      {"no data chunk", Riff({fmt}), "WAVE file has no data chunk"},
      {"data before the format", Riff({data, fmt}), "WAVE file has no data chunk"},
      {"empty data", Riff({fmt, Chunk("data", {})}), "The data chunk has no data"},
      {"data past the end", data_past_end, "Failed to read data chunk"},
      {"data of 4 GiB", data_huge, "Failed to read data chunk"},
      {"24-bit", Riff({Fmt(1, 11025, 24), data}), "File format not supported"},
      {"0-bit", Riff({Fmt(1, 11025, 0), data}), "File format not supported"},
      {"no channels", Riff({Fmt(0, 11025, 8), data}), "Failed to convert wave format"},
      {"six channels", Riff({Fmt(6, 11025, 8), data}), "Failed to convert wave format"},
      {"rate 0", Riff({Fmt(1, 0, 8), data}), "Failed to convert wave format"},
      {"less than one 16-bit frame", Riff({Fmt(1, 11025, 16), Chunk("data", {7})}), "The data chunk has no data"},
      {"conversion too big to hold", Riff({Fmt(1, 1, 8), Chunk("data", Bytes(1000, 1))}),
       "Unable to allocate memory for waveform data.  Try making more memory available by closing other "
       "applications."},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.file), c.message) << c.what;
}

TEST(MixerWave, OpeningFromFiles) {
  const auto dir = std::filesystem::temp_directory_path() / "pomurie_mixer_wave_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "a_rather_long_name.wav").string();
  {
    Bytes b = Wav(1, 22050, 8, {10, 20, 30, 40});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<long>(b.size()));
  }
  int64_t now = 0;
  FakeWaveOut dev;
  Mixer mixer(dev, [&] { return now; });
  MixerWave* w = mixer.OpenWave(path);
  EXPECT_EQ(w->data, (Bytes{15, 35}));
  EXPECT_EQ(w->name, "a_rather_long_n");  // 15 characters

  for (const std::string& bad : {(dir / "missing.wav").string(), dir.string()}) {
    try {
      mixer.OpenWave(bad);
      ADD_FAILURE() << bad;
    } catch (const EMixerError& e) {
      EXPECT_EQ(std::string(e.what()), "Failed to open wave file " + bad);
    }
  }
  std::filesystem::remove_all(dir);
}
