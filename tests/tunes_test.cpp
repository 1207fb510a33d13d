// The tunes as a listener measures them (tools/musicmeter): the meter itself on
// signals whose answers are known, then every generated tune against the marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "assets.h"
#include "meter.h"
#include "music.h"

namespace {

using musicmeter::Analyse;

std::vector<double> Tone(double hz, double amp, int samples) {
  std::vector<double> x(static_cast<size_t>(samples));
  for (size_t i = 0; i < x.size(); ++i) x[i] = amp * std::sin(2 * M_PI * hz * static_cast<double>(i) / assetgen::kMusicRate);
  return x;
}

TEST(TuneMeter, AWeightingAndLoudnessOfKnownTones) {
  // The curve's standard values (dB at the octave centres).
  const struct {
    double hz, db;
  } curve[] = {{31.62, -39.4}, {63, -26.2}, {125, -16.1}, {250, -8.6}, {500, -3.2},
               {1000, 0.0},   {2000, 1.2}, {4000, 1.0},  {8000, -1.1}};
  for (const auto& c : curve) EXPECT_NEAR(musicmeter::Db(musicmeter::AWeight(c.hz)), c.db, 0.1) << c.hz;

  // Loops of whole cycles: a full-scale sine is 3 dB under a full-scale square.
  const struct {
    double hz, amp, db;
  } tones[] = {{1000, 128, -3.01}, {1000, 64, -9.03}, {250, 128, -3.01 - 8.6}, {4000, 32, -15.05 + 1.0}};
  for (const auto& t : tones) {
    const std::vector<double> x = Tone(t.hz, t.amp, assetgen::kMusicRate);
    EXPECT_NEAR(musicmeter::Loudness(Analyse(x, assetgen::kMusicRate, true)), t.db, 0.2) << t.hz << " " << t.amp;
  }
}

TEST(TuneMeter, AnEffectIsMeasuredWhileItSoundsNotOverItsSilence) {
  std::vector<double> x = Tone(1000, 64, assetgen::kMusicRate / 4);
  const double alone = musicmeter::Loudness(Analyse(x, assetgen::kMusicRate, false));
  x.resize(x.size() * 6, 0.0);  // the same sound in a file five times longer
  EXPECT_NEAR(musicmeter::Loudness(Analyse(x, assetgen::kMusicRate, false)), alone, 0.5);
  EXPECT_LT(musicmeter::PlainLoudness(Analyse(x, assetgen::kMusicRate, false)), alone - 5);
  EXPECT_NEAR(alone, -9.03, 1.0);
}

// A tune of four 4/4 bars at 16th steps of 100 samples whose tone stops
// `gap` samples before every beat; the last bar's last beat is a written rest.
assetgen::TuneRender Stuttering(int gap, bool written_rest) {
  assetgen::TuneRender r;
  r.step = 100, r.bar_steps = 16, r.bars = 4;
  r.signal = Tone(440, 60, 4 * 16 * 100);
  for (size_t i = 0; i < r.signal.size(); ++i)
    if (static_cast<int>(i % 400) >= 400 - gap) r.signal[i] = 0;
  if (written_rest) {
    r.rests.push_back({60, 4});
    for (size_t i = 6000; i < r.signal.size(); ++i) r.signal[i] = 0;
  }
  return r;
}

TEST(TuneMeter, GapsBeforeBeatsCountOnlySilenceOutsideWrittenRests) {
  const struct {
    int gap;
    bool rest;
    double longest_ms, share;
  } cases[] = {
      {0, false, 0, 0},                     // legato: no gap
      {30, false, 0, 0},                    // under one 5 ms block
      {110, false, 55 * 2 * 1000.0 / 11025, 1},  // two blocks before every beat
      {110, true, 55 * 2 * 1000.0 / 11025, 1},   // the rest's beat is left out, the others still count
      {0, true, 0, 0},                      // a written rest alone is no hole
  };
  for (const auto& c : cases) {
    const musicmeter::Gaps g = musicmeter::GapsBeforeBeats(Stuttering(c.gap, c.rest));
    EXPECT_NEAR(g.longest_ms, c.longest_ms, 0.01) << c.gap << " " << c.rest;
    EXPECT_NEAR(g.share, c.share, 1e-9) << c.gap << " " << c.rest;
  }
  // A rest that is not written: the same silence counts, and it is the longest.
  assetgen::TuneRender r = Stuttering(0, true);
  r.rests.clear();
  EXPECT_NEAR(musicmeter::GapsBeforeBeats(r).longest_ms, 7 * 55 * 1000.0 / 11025, 0.01);  // whole blocks, up to the tone
}

TEST(TuneMeter, BarRhythmsAreTheLeadsOnsetPatterns) {
  assetgen::TuneRender r;
  r.step = 100, r.bar_steps = 12, r.bars = 3;
  r.lead = {{0, 4}, {4, 8}, {12, 4}, {16, 8}, {24, 2}, {26, 10}};  // bars 0 and 1 alike, bar 2 apart
  EXPECT_EQ(musicmeter::BarRhythms(r), 2);
  r.lead[3].step = 17;  // one 16th later
  EXPECT_EQ(musicmeter::BarRhythms(r), 3);
  r.lead.erase(r.lead.begin() + 4, r.lead.end());  // a silent bar is a rhythm of its own
  EXPECT_EQ(musicmeter::BarRhythms(r), 3);
}

// ---- the generated tunes -----------------------------------------------------

const musicmeter::Report& Tunes() {
  static const musicmeter::Report r = [] {
    std::vector<std::vector<uint8_t>> effects;
    for (assetgen::NamedFile& f : assetgen::MakeSounds()) effects.push_back(std::move(f.bytes));
    return musicmeter::Measure(assetgen::TuneSpecs(), effects);
  }();
  return r;
}

TEST(TunesMeasured, EveryTuneMeetsTheMarks) {
  using M = musicmeter::TuneMeasure;
  const struct {
    const char* what;
    std::function<double(const M&)> get;
    double lo, hi;
  } marks[] = {
      {"dB against the effects at the default volume", [](const M& m) { return m.vs_effects; }, -7.5, -4.5},
      {"lead over the other voices, dB(A)", [](const M& m) { return m.lead_margin; }, 3, 30},
      {"lead over the bass, dB(A)", [](const M& m) { return m.lead_over_bass; }, 3, 40},
      {"longest gap before a beat, ms", [](const M& m) { return m.longest_gap_ms; }, 0, 5},
      {"spread of the bars' loudness, dB", [](const M& m) { return m.bar_spread; }, 0.6, 3},
      {"distinct bar rhythms of the lead", [](const M& m) { return m.bar_rhythms; }, 9, 32},
      {"rounding noise under the music, dB(A)", [](const M& m) { return m.noise_floor; }, 26, 99},
      {"distance to the nearest other tune", [](const M& m) { return m.distance; }, 0.5, 9},
  };
  ASSERT_EQ(Tunes().tunes.size(), assetgen::TuneSpecs().size());
  for (const M& m : Tunes().tunes)
    for (const auto& mark : marks) {
      EXPECT_GE(mark.get(m), mark.lo) << m.file << ": " << mark.what;
      EXPECT_LE(mark.get(m), mark.hi) << m.file << ": " << mark.what;
    }
  double lo = 1e9, hi = -1e9;
  for (const M& m : Tunes().tunes) lo = std::min(lo, m.loudness), hi = std::max(hi, m.loudness);
  EXPECT_LE(hi - lo, 0.75) << "loudness spread between the tunes";
}

TEST(TunesMeasured, EachTuneIsInItsKeyAndItsBreakIsSilent) {
  const std::vector<assetgen::TuneSpec>& specs = assetgen::TuneSpecs();
  for (size_t k = 0; k < specs.size(); ++k) {
    const assetgen::TuneSpec& s = specs[k];
    const musicmeter::TuneMeasure& m = Tunes().tunes[k];
    // The four strongest pitch classes are all in the key's scale.
    std::vector<int> order(12);
    for (int p = 0; p < 12; ++p) order[static_cast<size_t>(p)] = p;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return m.analysis.chroma[static_cast<size_t>(a)] > m.analysis.chroma[static_cast<size_t>(b)]; });
    for (int i = 0; i < 4; ++i) {
      const int above_tonic = ((order[static_cast<size_t>(i)] - s.tonic) % 12 + 12) % 12;
      EXPECT_NE(std::find(s.scale->begin(), s.scale->end(), above_tonic), s.scale->end())
          << s.file << ": pitch class " << order[static_cast<size_t>(i)];
    }
    if (s.stop == 0) continue;
    // Every voice stops for the break; what rings on dies within 60 ms.
    const assetgen::TuneRender r = assetgen::RenderTune(s);
    const int64_t from = static_cast<int64_t>(r.pcm.size()) - s.stop * r.step + assetgen::kMusicRate * 60 / 1000;
    ASSERT_LT(from, static_cast<int64_t>(r.pcm.size())) << s.file;
    for (int64_t i = from; i < static_cast<int64_t>(r.pcm.size()); ++i)
      ASSERT_NEAR(r.pcm[static_cast<size_t>(i)], 128, 1) << s.file << " at " << i;
  }
}

}  // namespace
