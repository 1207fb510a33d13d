// SPDX-License-Identifier: GPL-3.0-or-later
// Listening measurements over the generated tunes: how loud each is (A-weighted),
// how it sits against the sound effects, how its voices balance, where it falls
// silent, how its bars vary, how far it is from the nearest other tune, and how
// far its rounding noise lies under it. The tests hold the tunes to these
// numbers; `musicmeter` prints them as a table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "music.h"

namespace musicmeter {

inline constexpr int kFrame = 1024;  // 93 ms at 11025 Hz: fine enough in pitch for the bass
inline constexpr int kHop = kFrame / 4;

// Power gain of the A-weighting curve at f Hz (1 at 1 kHz).
double AWeight(double f);
double Db(double power);

// What one pass of short-time spectra gives. Samples are on the 8-bit scale
// (±128 is full scale); powers are relative to a full-scale square wave.
struct Analysis {
  std::vector<double> frame_power;  // A-weighted mean square of each frame (centre at k * kHop)
  std::array<double, 12> chroma{};  // energy per pitch class (C = 0), unit length
  std::array<double, 7> bands{};    // energy per octave band up to 5.5 kHz, dB relative to the total
};
// `loop`: the signal is read as a circle (a tune); otherwise it is padded with silence (an effect).
Analysis Analyse(const std::vector<double>& x, int rate, bool loop);

// A-weighted loudness in dB: the power mean of the frames no more than 10 dB under
// the mean of all frames (so an effect's silent tail does not count).
double Loudness(const Analysis& a);
// The same without the gate: what an evenly present noise is compared with.
double PlainLoudness(const Analysis& a);

// The loudness of a sound effect as the mixer plays it (converted to 8-bit mono
// at the output rate); NaN for bytes that are not a playable wave.
double EffectLoudness(const std::vector<uint8_t>& wav);

// Silence before the beats of a tune's signal: 5 ms blocks 30 dB under the
// loop's RMS, counted back from each beat; gaps inside the score's written
// rests do not count. `share`: the beats after 10 ms of silence or more.
struct Gaps {
  double longest_ms = 0, share = 0;
};
Gaps GapsBeforeBeats(const assetgen::TuneRender& r);
// Distinct onset patterns among the lead's bars.
int BarRhythms(const assetgen::TuneRender& r);

struct TuneMeasure {
  std::string file;
  int bpm = 0;
  double loudness = 0;         // dB(A), the loop
  double vs_effects = 0;       // dB against the effects' mean, at the default music volume
  double lead_margin = 0;      // dB(A): the lead against every other voice together
  double lead_over_bass = 0;   // dB(A)
  double longest_gap_ms = 0;   // the longest silence before a beat outside written rests
  double beats_after_gap = 0;  // share of those beats that follow 10 ms or more of silence
  double bar_spread = 0;       // standard deviation of the bars' loudness, dB
  int bar_rhythms = 0;         // distinct onset patterns of the lead's bars
  double noise_floor = 0;      // dB(A) the rounding noise lies under the music at the default volume
  double loop_jump = 0;        // |last sample - first sample| of the file, in 8-bit steps
  Analysis analysis;
  // Nearest other tune and the distances to it.
  std::string nearest;
  double distance = 0, chroma_distance = 0, tempo_distance = 0, timbre_distance = 0;
};

struct Report {
  double effects_mean = 0;  // dB(A), the mean of every effect's loudness
  std::vector<TuneMeasure> tunes;
};

// Measures every tune against the effects given (RIFF images).
Report Measure(const std::vector<assetgen::TuneSpec>& specs, const std::vector<std::vector<uint8_t>>& effects);

// The distance between two measured tunes: chroma (unit vectors apart, 0..1.41),
// tempo (octaves of tempo apart) and timbre (octave-band balance, RMS dB / 10).
struct Distance {
  double chroma, tempo, timbre, total;
};
Distance TuneDistance(const TuneMeasure& a, const TuneMeasure& b);

// The report as a Markdown table.
std::string FormatReport(const Report& r);

}  // namespace musicmeter
