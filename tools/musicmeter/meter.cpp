// SPDX-License-Identifier: GPL-3.0-or-later
#include "meter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <limits>
#include <set>

#include "presentation/mixer/mixer_error.h"
#include "presentation/mixer/wave_file.h"
#include "presentation/music.h"

namespace musicmeter {

namespace {

constexpr double kFullScale = 128.0;  // a full-scale square on the 8-bit scale has this RMS
constexpr double kPi = 3.14159265358979323846;

void Fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> w = std::polar(1.0, -2 * kPi / static_cast<double>(len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> wk = 1;
      for (size_t k = 0; k < len / 2; ++k) {
        const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * wk;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
        wk *= w;
      }
    }
  }
}

double PowerMean(const std::vector<double>& p) {
  double sum = 0;
  for (double v : p) sum += v;
  return p.empty() ? 0 : sum / static_cast<double>(p.size());
}

// The mixer's channel gain at the default music volume (percent in 1/256 steps).
constexpr int kDefaultGainQ8 = kDefaultMusicVolume * 256 / 100;

// 5 ms blocks of the mix below this (against the loop's RMS) are silence.
constexpr double kSilenceDb = -30;
constexpr int kGapBlock = 55;

}  // namespace

double AWeight(double f) {
  const double f2 = f * f;
  const double ra =
      12194.0 * 12194.0 * f2 * f2 /
      ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) * (f2 + 12194.0 * 12194.0));
  const double g = ra * 1.2589254;  // +2.00 dB: unity at 1 kHz
  return g * g;
}

double Db(double power) { return 10 * std::log10(std::max(power, 1e-30)); }

Analysis Analyse(const std::vector<double>& x, int rate, bool loop) {
  Analysis out;
  const auto n = static_cast<int64_t>(x.size());
  if (n == 0) return out;
  std::vector<double> win(kFrame), weight(kFrame / 2 + 1);
  double win_sq = 0;
  for (int i = 0; i < kFrame; ++i) {
    const double s = std::sin(kPi * (i + 0.5) / kFrame);
    win[static_cast<size_t>(i)] = s * s;
    win_sq += s * s * s * s;
  }
  std::vector<int> pitch_class(kFrame / 2 + 1, -1), band(kFrame / 2 + 1, -1);
  for (int k = 0; k <= kFrame / 2; ++k) {
    const double f = static_cast<double>(k) * rate / kFrame;
    weight[static_cast<size_t>(k)] = AWeight(f);
    if (f >= 180 && f <= 3000) {
      const int midi = static_cast<int>(std::lround(69 + 12 * std::log2(f / 440)));
      pitch_class[static_cast<size_t>(k)] = midi % 12;
    }
    if (k > 0 && f <= 5512.5)
      band[static_cast<size_t>(k)] = std::clamp(static_cast<int>(std::floor(std::log2(f / 86.13))) + 1, 0, 6);
  }
  // A loop is covered by frames every kHop round the circle; a one-shot from
  // the frame whose end touches its start to the one whose start touches its end.
  const int64_t first = loop ? 0 : -kFrame / 2, last = loop ? n : n + kFrame / 2;
  std::array<double, 12> chroma{};
  std::array<double, 7> bands{};
  std::vector<std::complex<double>> buf(kFrame);
  for (int64_t c = first; c < last; c += kHop) {
    for (int i = 0; i < kFrame; ++i) {
      int64_t j = c - kFrame / 2 + i;
      double v = 0;
      if (loop) {
        v = x[static_cast<size_t>(((j % n) + n) % n)];
      } else if (j >= 0 && j < n) {
        v = x[static_cast<size_t>(j)];
      }
      buf[static_cast<size_t>(i)] = v / kFullScale * win[static_cast<size_t>(i)];
    }
    Fft(buf);
    double p = 0;
    for (int k = 0; k <= kFrame / 2; ++k) {
      const double e = std::norm(buf[static_cast<size_t>(k)]) * (k == 0 || k == kFrame / 2 ? 1 : 2);
      p += e * weight[static_cast<size_t>(k)];
      if (pitch_class[static_cast<size_t>(k)] >= 0)
        chroma[static_cast<size_t>(pitch_class[static_cast<size_t>(k)])] += e;
      if (band[static_cast<size_t>(k)] >= 0) bands[static_cast<size_t>(band[static_cast<size_t>(k)])] += e;
    }
    out.frame_power.push_back(p / (kFrame * win_sq));
  }
  double norm = 0, total = 0;
  for (double v : chroma) norm += v * v;
  for (size_t k = 0; k < 12; ++k) out.chroma[k] = norm > 0 ? chroma[k] / std::sqrt(norm) : 0;
  for (double v : bands) total += v;
  for (size_t k = 0; k < 7; ++k) out.bands[k] = Db(bands[k] / std::max(total, 1e-30));
  return out;
}

double PlainLoudness(const Analysis& a) { return Db(PowerMean(a.frame_power)); }

double Loudness(const Analysis& a) {
  const double gate = PowerMean(a.frame_power) * 0.1;
  std::vector<double> kept;
  for (double p : a.frame_power)
    if (p >= gate) kept.push_back(p);
  return Db(PowerMean(kept));
}

double EffectLoudness(const std::vector<uint8_t>& wav) {
  std::vector<uint8_t> pcm;
  try {
    pcm = DecodeWave(wav, WaveFormat{1, assetgen::kMusicRate, 8});
  } catch (const EMixerError&) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  std::vector<double> x(pcm.size());
  for (size_t i = 0; i < pcm.size(); ++i) x[i] = pcm[i] - 128.0;
  return Loudness(Analyse(x, assetgen::kMusicRate, false));
}

Distance TuneDistance(const TuneMeasure& a, const TuneMeasure& b) {
  Distance d{};
  double c = 0, t = 0;
  for (size_t k = 0; k < 12; ++k)
    c += (a.analysis.chroma[k] - b.analysis.chroma[k]) * (a.analysis.chroma[k] - b.analysis.chroma[k]);
  for (size_t k = 0; k < 7; ++k)
    t += (a.analysis.bands[k] - b.analysis.bands[k]) * (a.analysis.bands[k] - b.analysis.bands[k]);
  d.chroma = std::sqrt(c);
  d.tempo = std::fabs(std::log2(static_cast<double>(a.bpm) / b.bpm));
  d.timbre = std::sqrt(t / 7) / 10;
  d.total = std::sqrt(d.chroma * d.chroma + d.tempo * d.tempo + d.timbre * d.timbre);
  return d;
}

namespace {

std::vector<double> Signal(const assetgen::TuneSpec& s, unsigned voices) {
  return assetgen::RenderTune(s, voices).signal;
}

}  // namespace

Gaps GapsBeforeBeats(const assetgen::TuneRender& r) {
  Gaps g;
  const std::vector<double>& x = r.signal;
  const auto n = static_cast<int64_t>(x.size());
  if (n == 0 || r.step <= 0) return g;
  double ms = 0;
  for (double v : x) ms += v * v;
  const double threshold = ms / static_cast<double>(n) * std::pow(10.0, kSilenceDb / 10);
  auto silent = [&](int64_t end) {  // the 5 ms block that ends at `end`
    double e = 0;
    for (int64_t i = end - kGapBlock; i < end; ++i) {
      const double v = x[static_cast<size_t>(((i % n) + n) % n)];
      e += v * v;
    }
    return e / kGapBlock < threshold;
  };
  int beats = 0, after_gap = 0;
  // Round the circle: the loop's first beat is the one after its last bar.
  for (int step = 4; step <= r.bars * r.bar_steps; step += 4) {
    const int64_t at = step * r.step;
    int blocks = 0;
    while (blocks * kGapBlock < r.step * 4 && silent(at - blocks * kGapBlock)) ++blocks;
    const int64_t gap_start = at - blocks * kGapBlock;
    bool written = false;
    for (const assetgen::StepSpan& rest : r.rests)
      written = written ||
                (blocks > 0 && rest.step * r.step <= gap_start + kGapBlock && (rest.step + rest.len) * r.step >= at);
    if (written) continue;
    ++beats;
    if (blocks >= 2) ++after_gap;
    g.longest_ms = std::max(g.longest_ms, blocks * kGapBlock * 1000.0 / assetgen::kMusicRate);
  }
  g.share = beats ? static_cast<double>(after_gap) / beats : 0;
  return g;
}

int BarRhythms(const assetgen::TuneRender& r) {
  std::set<uint64_t> rhythms;
  std::vector<uint64_t> onsets(static_cast<size_t>(std::max(r.bars, 0)), 0);
  for (const assetgen::StepSpan& note : r.lead) {
    const int b = note.step / r.bar_steps;
    if (b >= 0 && b < r.bars) onsets[static_cast<size_t>(b)] |= uint64_t{1} << (note.step % r.bar_steps);
  }
  for (uint64_t o : onsets) rhythms.insert(o);
  return static_cast<int>(rhythms.size());
}

namespace {

void MeasureBars(const assetgen::TuneRender& r, TuneMeasure& m) {
  const int64_t bar = r.step * r.bar_steps;
  std::vector<double> levels;
  for (int b = 0; b < r.bars; ++b) {
    std::vector<double> p;
    for (size_t k = 0; k < m.analysis.frame_power.size(); ++k) {
      const int64_t centre = static_cast<int64_t>(k) * kHop;
      if (centre >= b * bar && centre < (b + 1) * bar) p.push_back(m.analysis.frame_power[k]);
    }
    levels.push_back(Db(PowerMean(p)));
  }
  double mean = 0, var = 0;
  for (double l : levels) mean += l / static_cast<double>(levels.size());
  for (double l : levels) var += (l - mean) * (l - mean) / static_cast<double>(levels.size());
  m.bar_spread = std::sqrt(var);
}

}  // namespace

Report Measure(const std::vector<assetgen::TuneSpec>& specs, const std::vector<std::vector<uint8_t>>& effects) {
  Report rep;
  int counted = 0;
  for (const auto& e : effects) {
    const double l = EffectLoudness(e);
    if (std::isnan(l)) continue;
    rep.effects_mean += l;
    ++counted;
  }
  rep.effects_mean /= std::max(counted, 1);
  const double gain = kDefaultGainQ8 / 256.0;

  for (const assetgen::TuneSpec& s : specs) {
    TuneMeasure m;
    m.file = s.file;
    m.bpm = s.bpm;
    const assetgen::TuneRender r = assetgen::RenderTune(s);
    std::vector<double> file(r.pcm.size());
    for (size_t i = 0; i < r.pcm.size(); ++i) file[i] = r.pcm[i] - 128.0;
    m.analysis = Analyse(file, assetgen::kMusicRate, true);
    m.loudness = Loudness(m.analysis);
    m.vs_effects = m.loudness + Db(gain * gain) - rep.effects_mean;
    m.loop_jump = std::fabs(file.back() - file.front());

    const double lead = Loudness(Analyse(Signal(s, assetgen::kLeadVoice), assetgen::kMusicRate, true));
    const double rest =
        Loudness(Analyse(Signal(s, assetgen::kAllVoices & ~assetgen::kLeadVoice), assetgen::kMusicRate, true));
    const double bass = Loudness(Analyse(Signal(s, assetgen::kBassVoice), assetgen::kMusicRate, true));
    m.lead_margin = lead - rest;
    m.lead_over_bass = lead - bass;

    const Gaps gaps = GapsBeforeBeats(r);
    m.longest_gap_ms = gaps.longest_ms;
    m.beats_after_gap = gaps.share;
    MeasureBars(r, m);
    m.bar_rhythms = BarRhythms(r);

    // The rounding noise at the output: the mixer scales the file's samples by
    // the channel gain and rounds; against the unrounded music at that gain.
    std::vector<double> ideal(file.size()), noise(file.size());
    for (size_t i = 0; i < file.size(); ++i) {
      const int q = r.pcm[i] - 128;
      const int out = (q * kDefaultGainQ8 + 128) >> 8;
      ideal[i] = r.signal[i] * gain;
      noise[i] = out - ideal[i];
    }
    m.noise_floor = PlainLoudness(Analyse(ideal, assetgen::kMusicRate, true)) -
                    PlainLoudness(Analyse(noise, assetgen::kMusicRate, true));
    rep.tunes.push_back(std::move(m));
  }
  for (TuneMeasure& a : rep.tunes) {
    a.distance = std::numeric_limits<double>::infinity();
    for (const TuneMeasure& b : rep.tunes) {
      if (&a == &b) continue;
      const Distance d = TuneDistance(a, b);
      if (d.total < a.distance) {
        a.distance = d.total, a.chroma_distance = d.chroma, a.tempo_distance = d.tempo, a.timbre_distance = d.timbre;
        a.nearest = b.file;
      }
    }
  }
  return rep;
}

std::string FormatReport(const Report& r) {
  double lo = 1e9, hi = -1e9;
  for (const TuneMeasure& m : r.tunes) lo = std::min(lo, m.loudness), hi = std::max(hi, m.loudness);
  std::string out;
  char line[512];
  std::snprintf(line, sizeof line, "effects' mean %.1f dB(A); tunes' loudness spread %.2f dB (%.1f .. %.1f)\n\n",
                r.effects_mean, hi - lo, lo, hi);
  out += line;
  out +=
      "| tune | dB(A) | vs effects | lead margin | lead/bass | longest gap ms | beats after gap | bar spread dB | bar "
      "rhythms | noise floor dB | nearest (chroma, tempo, timbre) |\n";
  out += "|---|---|---|---|---|---|---|---|---|---|---|\n";
  for (const TuneMeasure& m : r.tunes) {
    std::snprintf(
        line, sizeof line,
        "| %s | %.1f | %.1f | %.1f | %.1f | %.0f | %.0f%% | %.2f | %d | %.1f | %s %.2f (%.2f, %.2f, %.2f) |\n",
        m.file.c_str(), m.loudness, m.vs_effects, m.lead_margin, m.lead_over_bass, m.longest_gap_ms,
        100 * m.beats_after_gap, m.bar_spread, m.bar_rhythms, m.noise_floor, m.nearest.c_str(), m.distance,
        m.chroma_distance, m.tempo_distance, m.timbre_distance);
    out += line;
  }
  return out;
}

}  // namespace musicmeter
