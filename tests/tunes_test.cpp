// SPDX-License-Identifier: GPL-3.0-or-later
// The tunes as a listener measures them (tools/musicmeter): the meter itself on
// signals whose answers are known, then every generated tune against the marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <set>

#include "assets.h"
#include "meter.h"
#include "music.h"

namespace {

using musicmeter::Analyse;

std::vector<double> Tone(double hz, double amp, int samples) {
  std::vector<double> x(static_cast<size_t>(samples));
  for (size_t i = 0; i < x.size(); ++i)
    x[i] = amp * std::sin(2 * M_PI * hz * static_cast<double>(i) / assetgen::kMusicRate);
  return x;
}

TEST(TuneMeter, AWeightingAndLoudnessOfKnownTones) {
  // The curve's standard values (dB at the octave centres).
  const struct {
    double hz, db;
  } curve[] = {{31.62, -39.4}, {63, -26.2}, {125, -16.1}, {250, -8.6}, {500, -3.2},
               {1000, 0.0},    {2000, 1.2}, {4000, 1.0},  {8000, -1.1}};
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
      {0, false, 0, 0},                          // legato: no gap
      {30, false, 0, 0},                         // under one 5 ms block
      {110, false, 55 * 2 * 1000.0 / 11025, 1},  // two blocks before every beat
      {110, true, 55 * 2 * 1000.0 / 11025, 1},   // the rest's beat is left out, the others still count
      {0, true, 0, 0},                           // a written rest alone is no hole
  };
  for (const auto& c : cases) {
    const musicmeter::Gaps g = musicmeter::GapsBeforeBeats(Stuttering(c.gap, c.rest));
    EXPECT_NEAR(g.longest_ms, c.longest_ms, 0.01) << c.gap << " " << c.rest;
    EXPECT_NEAR(g.share, c.share, 1e-9) << c.gap << " " << c.rest;
  }
  // A rest that is not written: the same silence counts, and it is the longest.
  assetgen::TuneRender r = Stuttering(0, true);
  r.rests.clear();
  EXPECT_NEAR(musicmeter::GapsBeforeBeats(r).longest_ms, 7 * 55 * 1000.0 / 11025,
              0.01);  // whole blocks, up to the tone
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

TEST(TuneMeter, DistanceTellsTempoChromaAndTimbreApart) {
  musicmeter::TuneMeasure a, b;
  a.bpm = 120, a.analysis.chroma[0] = 1, a.analysis.bands = {-10, -10, -10, -10, -10, -10, -10};
  b = a;
  EXPECT_DOUBLE_EQ(musicmeter::TuneDistance(a, b).total, 0);
  b.bpm = 60;  // half the tempo is one octave of tempo
  EXPECT_DOUBLE_EQ(musicmeter::TuneDistance(a, b).tempo, 1);
  b.bpm = 120, b.analysis.chroma = {}, b.analysis.chroma[7] = 1;  // another pitch class entirely
  EXPECT_NEAR(musicmeter::TuneDistance(a, b).chroma, std::sqrt(2.0), 1e-12);
  b = a, b.analysis.bands[3] = -10 + 10 * std::sqrt(7.0);  // one band 26 dB apart: 1 in RMS over seven, / 10
  EXPECT_NEAR(musicmeter::TuneDistance(a, b).timbre, 1, 1e-12);
  EXPECT_NEAR(musicmeter::TuneDistance(a, b).total, 1, 1e-12);
}

// ---- the generated tunes -----------------------------------------------------

// The lead's onsets in bar `b` (16th steps from the bar's start).
std::vector<int> Onsets(const assetgen::TuneRender& r, int b) {
  std::vector<int> out;
  for (const assetgen::StepSpan& n : r.lead)
    if (n.step / r.bar_steps == b) out.push_back(n.step % r.bar_steps);
  return out;
}

std::vector<int> Lengths(const assetgen::TuneRender& r, int b) {
  std::vector<int> out;
  for (const assetgen::StepSpan& n : r.lead)
    if (n.step / r.bar_steps == b) out.push_back(n.len);
  return out;
}

TEST(TunesWritten, PhrasesReturnVaryAndCloseDifferently) {
  for (const assetgen::TuneSpec& s : assetgen::TuneSpecs()) {
    const assetgen::TuneRender r = assetgen::RenderTune(s);
    const int b_at = 8 * static_cast<int>(s.form.find('B'));
    ASSERT_GT(b_at, 0) << s.file;
    // The opening comes back four bars later; its varied repetition keeps the first half only.
    EXPECT_EQ(Onsets(r, 4), Onsets(r, 0)) << s.file;
    EXPECT_NE(Onsets(r, 2), Onsets(r, 0)) << s.file;
    EXPECT_EQ(Onsets(r, 2)[0], 0) << s.file;
    // The half close, the full close and B's closes are not one formula.
    EXPECT_NE(Lengths(r, 3), Lengths(r, 7)) << s.file;
    EXPECT_NE(Lengths(r, b_at + 7), Lengths(r, 7)) << s.file;
    // B opens with A's motif in other values: pushed an 8th late when busy, else twice as long.
    std::vector<int> expect;
    for (int on : Onsets(r, 0)) {
      const int moved = s.notes_per_beat >= 4 ? on + 2 : 2 * on;
      if (moved < r.bar_steps) expect.push_back(moved);
    }
    EXPECT_EQ(Onsets(r, b_at), expect) << s.file;
  }
}

// The steps of a phrase's first four bars where a drum hit begins: 25 ms after the
// step's start hold twice the energy of the 25 ms before it, and more than a
// ten-thousandth of the loudest step's.
std::set<int> DrumOnsets(const assetgen::TuneRender& d) {
  const int64_t win = assetgen::kMusicRate / 40, n = static_cast<int64_t>(d.signal.size());
  auto energy = [&](int64_t from) {
    double e = 0;
    for (int64_t i = from; i < from + win; ++i)
      e += d.signal[static_cast<size_t>(((i % n) + n) % n)] * d.signal[static_cast<size_t>(((i % n) + n) % n)];
    return e;
  };
  const int steps = 4 * d.bar_steps;
  double loudest = 0;
  for (int k = 0; k < steps; ++k) loudest = std::max(loudest, energy(k * d.step));
  std::set<int> out;
  for (int k = 0; k < steps; ++k)
    if (energy(k * d.step) > 1e-4 * loudest && energy(k * d.step) > 2 * energy(k * d.step - win)) out.insert(k);
  return out;
}

TEST(TunesWritten, TheLeadVoiceIsTheMelodyAndEachPlaceHasItsOwnDrums) {
  std::vector<std::pair<std::string, std::set<int>>> drums;
  for (const assetgen::TuneSpec& s : assetgen::TuneSpecs()) {
    const assetgen::TuneRender lead = assetgen::RenderTune(s, assetgen::kLeadVoice);
    // Outside the melody's notes (and their release), the lead voice is silent:
    // no other part is counted as the lead when the balance is measured.
    std::vector<bool> sounding(lead.signal.size(), false);
    for (const assetgen::StepSpan& n : lead.lead)
      for (int64_t i = n.step * lead.step; i < (n.step + n.len) * lead.step + assetgen::kMusicRate / 10; ++i)
        sounding[static_cast<size_t>(i % static_cast<int64_t>(sounding.size()))] = true;
    double stray = 0, total = 0;
    for (size_t i = 0; i < lead.signal.size(); ++i) {
      total += lead.signal[i] * lead.signal[i];
      if (!sounding[i]) stray += lead.signal[i] * lead.signal[i];
    }
    EXPECT_LT(stray, total * 1e-4) << s.file;
    if (s.drums != assetgen::Drums::None)
      drums.emplace_back(s.file, DrumOnsets(assetgen::RenderTune(s, assetgen::kDrumVoice)));
  }
  ASSERT_GE(drums.size(), 8u);
  for (size_t a = 0; a < drums.size(); ++a)
    for (size_t b = a + 1; b < drums.size(); ++b) {
      std::vector<int> both, either;
      std::set_intersection(drums[a].second.begin(), drums[a].second.end(), drums[b].second.begin(),
                            drums[b].second.end(), std::back_inserter(both));
      std::set_union(drums[a].second.begin(), drums[a].second.end(), drums[b].second.begin(), drums[b].second.end(),
                     std::back_inserter(either));
      EXPECT_LT(static_cast<double>(both.size()), 0.8 * static_cast<double>(either.size()))
          << drums[a].first << " and " << drums[b].first << " share a drum part";
    }
}

}  // namespace

namespace {

double PowerOver(const std::vector<double>& x, int64_t from, int64_t len) {
  double e = 0;
  for (int64_t i = from; i < from + len; ++i) e += x[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
  return e / static_cast<double>(len);
}

TEST(TunesWritten, AccentsOnTheBeatAPhraseThatSwellsAndPeaksThatSeldomBend) {
  double swell_db = 0;
  int phrases = 0;
  for (const assetgen::TuneSpec& s : assetgen::TuneSpecs()) {
    // In a bar, the lead's note on the first beat starts louder than its notes off the beat.
    const assetgen::TuneRender lead = assetgen::RenderTune(s, assetgen::kLeadVoice);
    const int64_t attack = assetgen::kMusicRate * 30 / 1000;
    std::vector<double> ratios;
    for (int b = 0; b < lead.bars; ++b) {
      double down = 0, off = 0;
      int n_off = 0;
      for (const assetgen::StepSpan& n : lead.lead) {
        if (n.step / lead.bar_steps != b) continue;
        const double p = PowerOver(lead.signal, n.step * lead.step, attack);
        if (n.step % lead.bar_steps == 0) down = p;
        if (n.step % 4 != 0) off += p, ++n_off;
      }
      if (down > 0 && n_off > 0) ratios.push_back(down / (off / n_off));
    }
    ASSERT_FALSE(ratios.empty()) << s.file;
    std::nth_element(ratios.begin(), ratios.begin() + static_cast<long>(ratios.size() / 2), ratios.end());
    EXPECT_GT(ratios[ratios.size() / 2], 1.2) << s.file;

    // The bass and chords play one figure a bar; over a four-bar phrase they grow to its third bar.
    const assetgen::TuneRender acc = assetgen::RenderTune(s, assetgen::kBassVoice | assetgen::kAccompVoice);
    const int64_t bar = acc.step * acc.bar_steps;
    for (int b = 0; b + 3 < acc.bars; b += 4) {
      swell_db += 10 * std::log10(PowerOver(acc.signal, (b + 2) * bar, bar) / PowerOver(acc.signal, b * bar, bar));
      ++phrases;
    }

    // Loudness, not peaks, sets the level: nothing clips, and the soft knee bends a rare peak only.
    const assetgen::TuneRender r = assetgen::RenderTune(s);
    const auto [lo, hi] = std::minmax_element(r.pcm.begin(), r.pcm.end());
    EXPECT_GT(*lo, 0) << s.file;
    EXPECT_LT(*hi, 255) << s.file;
    const auto bent = std::count_if(r.pcm.begin(), r.pcm.end(), [](uint8_t v) { return std::abs(v - 128) > 104; });
    EXPECT_LT(static_cast<double>(bent), 2e-3 * static_cast<double>(r.pcm.size())) << s.file;  // one sample in 500
  }
  EXPECT_GT(swell_db / phrases, 1.0);
}

}  // namespace
