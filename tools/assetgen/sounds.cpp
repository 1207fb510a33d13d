// SPDX-License-Identifier: GPL-3.0-or-later
// Sound effects: a tiny synthesiser (tones with glides and envelopes, filtered
// noise) and a RIFF PCM writer. The formats are mixed on purpose (8/16-bit,
// mono/stereo, 11025/22050/44100 Hz) so the game's mixer converts in real play.
#include <algorithm>
#include <cmath>

#include "assets.h"
#include "mathx.h"

namespace assetgen {

namespace {

enum class Wave { Sine, Square, Triangle, Saw };
enum class Env { Hold, Pluck, Snap };  // sustained, percussive, very short

struct Format {
  int rate;
  int bits;
  int channels;
};

constexpr Format k8m11{11025, 8, 1}, k8s11{11025, 8, 2}, k8m22{22050, 8, 1}, k8s22{22050, 8, 2}, k8m44{44100, 8, 1};
constexpr Format k16m11{11025, 16, 1}, k16s11{11025, 16, 2}, k16m22{22050, 16, 1}, k16s22{22050, 16, 2},
    k16m44{44100, 16, 1}, k16s44{44100, 16, 2};

double Osc(Wave w, double phase) {  // phase in cycles
  double p = phase - std::floor(phase);
  switch (w) {
    case Wave::Sine: return Sine(2 * kPi * p);
    case Wave::Square: return std::clamp(Sine(2 * kPi * p) * 3.0, -1.0, 1.0) * 0.7;  // soft-edged square
    case Wave::Triangle: return 4 * std::fabs(p - 0.5) - 1;
    case Wave::Saw: return (2 * p - 1) * 0.6;
  }
  return 0;
}

double Shape(Env e, double x) {  // x: 0..1 through the note
  double attack = e == Env::Snap ? 0.02 : 0.06;
  double a = x < attack ? x / attack : 1.0;
  double rest = 1 - x;
  switch (e) {
    case Env::Hold: return a * (x > 0.8 ? (1 - x) / 0.2 : 1.0);
    case Env::Pluck: return a * rest * rest;
    case Env::Snap: return a * rest * rest * rest * rest;
  }
  return 0;
}

class Synth {
 public:
  Synth(const Format& f, double seconds) : f_(f), n_(static_cast<int>(seconds * f.rate)), l_(n_, 0.0), r_(n_, 0.0) {}

  // A note from t for d seconds, its pitch gliding from f0 to f1 Hz.
  Synth& Tone(double t, double d, double f0, double f1, Wave w, double amp, Env e = Env::Pluck, double pan = 0,
              double vibrato = 0) {
    int s0 = static_cast<int>(t * f_.rate), len = static_cast<int>(d * f_.rate);
    double phase = 0;
    for (int i = 0; i < len && s0 + i < n_; ++i) {
      double x = static_cast<double>(i) / len;
      double f = f0 + (f1 - f0) * x;
      if (vibrato > 0) f *= 1 + vibrato * Sine(2 * kPi * 6 * i / f_.rate);
      phase += f / f_.rate;
      Add(s0 + i, Osc(w, phase) * amp * Shape(e, x), pan);
    }
    return *this;
  }

  // Noise through a one-pole low-pass (bright near 1, dull near 0.02) and,
  // when hp > 0, a high-pass that removes the rumble below it.
  Synth& Noise(double t, double d, double amp, double bright, Env e = Env::Pluck, double pan = 0, double hp = 0,
               uint32_t seed = 7) {
    int s0 = static_cast<int>(t * f_.rate), len = static_cast<int>(d * f_.rate);
    Prng rng(seed);
    double lp = 0, slow = 0;
    for (int i = 0; i < len && s0 + i < n_; ++i) {
      double x = static_cast<double>(i) / len;
      double v = static_cast<double>(rng.Next() % 2001) / 1000.0 - 1.0;
      lp += bright * (v - lp);
      slow += hp * (lp - slow);
      Add(s0 + i, (lp - (hp > 0 ? slow : 0)) * amp * Shape(e, x), pan);
    }
    return *this;
  }

  // Notes one after the other, each `step` seconds apart and `len` long.
  Synth& Melody(double t, const std::vector<double>& freqs, double step, double len, Wave w, double amp,
                Env e = Env::Pluck, double pan = 0) {
    for (size_t k = 0; k < freqs.size(); ++k)
      if (freqs[k] > 0) Tone(t + step * k, len, freqs[k], freqs[k], w, amp, e, pan);
    return *this;
  }

  std::vector<uint8_t> Wav(double peak = 0.6) {
    // normalise, then fade the ends so no sound starts or stops with a click
    double m = 1e-9;
    for (int i = 0; i < n_; ++i) m = std::max({m, std::fabs(l_[i]), std::fabs(r_[i])});
    double g = peak / m;
    int fadeIn = f_.rate * 3 / 1000, fadeOut = f_.rate * 12 / 1000;
    for (int i = 0; i < n_; ++i) {
      double k = g;
      if (i < fadeIn) k *= static_cast<double>(i) / fadeIn;
      if (i >= n_ - fadeOut) k *= static_cast<double>(n_ - 1 - i) / fadeOut;
      l_[i] *= k;
      r_[i] *= k;
    }
    const int bytesPer = f_.bits / 8;
    const uint32_t data = static_cast<uint32_t>(n_) * f_.channels * bytesPer;
    std::vector<uint8_t> v;
    auto put = [&v](uint32_t x, int bytes) {
      for (int b = 0; b < bytes; ++b) v.push_back((x >> (8 * b)) & 0xFF);
    };
    v.insert(v.end(), {'R', 'I', 'F', 'F'});
    put(36 + data, 4);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);  // PCM
    put(f_.channels, 2);
    put(f_.rate, 4);
    put(f_.rate * f_.channels * bytesPer, 4);
    put(f_.channels * bytesPer, 2);
    put(f_.bits, 2);
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    put(data, 4);
    for (int i = 0; i < n_; ++i)
      for (int ch = 0; ch < f_.channels; ++ch) {
        double s = f_.channels == 1 ? (l_[i] + r_[i]) * 0.5 : (ch == 0 ? l_[i] : r_[i]);
        s = std::clamp(s, -1.0, 1.0);
        if (f_.bits == 8) v.push_back(static_cast<uint8_t>(std::clamp(128 + RoundToInt(s * 127), 0, 255)));
        else put(static_cast<uint16_t>(static_cast<int16_t>(RoundToInt(s * 32767))), 2);
      }
    return v;
  }

 private:
  void Add(int i, double v, double pan) {
    // equal-ish power pan; mono output sums both sides back
    l_[i] += v * (1 - pan) * 0.5 * 2;
    r_[i] += v * (1 + pan) * 0.5 * 2;
  }

  Format f_;
  int n_;
  std::vector<double> l_, r_;
};

// Note frequencies (equal temperament, A4 = 440).
constexpr double C4 = 261.63, D4 = 293.66, E4 = 329.63, F4 = 349.23, G4 = 392.00, A4 = 440.00, B4 = 493.88;
constexpr double C5 = 523.25, D5 = 587.33, E5 = 659.26, F5 = 698.46, G5 = 783.99, A5 = 880.00, B5 = 987.77;
constexpr double C6 = 1046.50, D6 = 1174.66, E6 = 1318.51, G6 = 1567.98, C7 = 2093.00;
constexpr double Fs4 = 369.99, Eb4 = 311.13, Bb3 = 233.08, G3 = 196.00, C3 = 130.81, Ab4 = 415.30;

using W = Wave;
using E = Env;

}  // namespace

std::vector<NamedFile> MakeSounds() {
  std::vector<NamedFile> v;
  auto add = [&v](const char* name, std::vector<uint8_t> bytes) { v.push_back({name, std::move(bytes)}); };

  // clang-format off
  // ---- interface --------------------------------------------------------------
  add("1.wav", Synth(k8m11, 0.08).Tone(0, 0.08, 880, 880, W::Sine, 1, E::Pluck).Wav(0.4));
  add("key.wav", Synth(k8m11, 0.04).Tone(0, 0.04, 1320, 1250, W::Square, 1, E::Snap).Wav(0.3));
  add("key2.wav", Synth(k8m44, 0.05).Tone(0, 0.05, 990, 1040, W::Triangle, 1, E::Snap).Wav(0.35));
  add("c.wav", Synth(k16m22, 0.09).Tone(0, 0.04, 660, 700, W::Square, 1, E::Snap).Tone(0.035, 0.055, 990, 990, W::Square, 1, E::Pluck).Wav(0.45));
  add("back.wav", Synth(k8m11, 0.12).Tone(0, 0.12, 720, 380, W::Triangle, 1, E::Pluck).Wav(0.45));
  add("ok.wav", Synth(k16m22, 0.2).Melody(0, {C6, E6}, 0.07, 0.13, W::Square, 1).Wav(0.5));
  add("no.wav", Synth(k8m11, 0.28).Melody(0, {220, 196}, 0.12, 0.14, W::Square, 1, E::Hold).Wav(0.5));
  add("in.wav", Synth(k16m11, 0.14).Tone(0, 0.12, 520, 200, W::Sine, 1).Noise(0, 0.03, 0.3, 0.4, E::Snap).Wav(0.5));
  add("bp.wav", Synth(k16s44, 0.36).Melody(0, {C6, E6, G6, C7}, 0.06, 0.16, W::Triangle, 1, E::Pluck, -0.4)
                    .Melody(0.03, {E6, G6, C7}, 0.06, 0.12, W::Sine, 0.5, E::Pluck, 0.5).Wav(0.55));
  add("start.wav", Synth(k16s22, 0.62).Melody(0, {G4, C5, E5, G5}, 0.07, 0.2, W::Square, 0.8, E::Pluck, -0.3)
                       .Tone(0.28, 0.34, C6, C6, W::Sine, 1, E::Pluck, 0.3).Tone(0.28, 0.34, G5, G5, W::Triangle, 0.5).Wav(0.6));
  add("start2.wav", Synth(k16s44, 0.95).Melody(0, {C5, E5, G5, C6, 0, G5, C6}, 0.09, 0.16, W::Square, 0.7, E::Pluck, -0.3)
                        .Tone(0.54, 0.4, E5, E5, W::Triangle, 0.6, E::Pluck, 0.4).Tone(0.54, 0.4, C5, C5, W::Triangle, 0.6, E::Pluck, 0.4)
                        .Tone(0.54, 0.4, C6, C6, W::Sine, 0.8, E::Pluck, -0.2).Wav(0.6));
  add("save.wav", Synth(k8m22, 0.36).Tone(0, 0.18, G5, G5, W::Sine, 1).Tone(0.12, 0.24, C6, C6, W::Sine, 1).Wav(0.45));
  add("coin.wav", Synth(k8m22, 0.32).Tone(0, 0.06, B5, B5, W::Square, 1, E::Hold).Tone(0.06, 0.26, E6, E6, W::Square, 1).Wav(0.45));
  add("buy.wav", Synth(k16m22, 0.45).Noise(0, 0.08, 0.8, 0.6, E::Snap).Tone(0.05, 0.38, 1568, 1568, W::Sine, 1)
                     .Tone(0.05, 0.38, 2093, 2093, W::Sine, 0.6).Tone(0.05, 0.2, 3136, 3136, W::Sine, 0.3).Wav(0.55));
  add("item.wav", Synth(k16m22, 0.34).Melody(0, {G5, A5, B5, D6}, 0.05, 0.14, W::Triangle, 1).Wav(0.5));
  add("item_use.wav", Synth(k8m22, 0.22).Tone(0, 0.22, 400, 1200, W::Sine, 1, E::Hold).Wav(0.45));
  add("skill.wav", Synth(k16s22, 0.42).Melody(0, {C6, D6, E6, G6, C7, G6, C7}, 0.045, 0.1, W::Sine, 1, E::Pluck, 0.3)
                       .Melody(0.02, {E6, G6, C7}, 0.1, 0.12, W::Triangle, 0.4, E::Pluck, -0.3).Wav(0.5));
  add("scop.wav", Synth(k8m11, 0.38).Noise(0, 0.14, 1, 0.25, E::Pluck, 0, 0, 11).Noise(0.18, 0.18, 1, 0.2, E::Pluck, 0, 0, 12)
                      .Tone(0, 0.1, 140, 90, W::Sine, 0.6).Wav(0.55));
  add("hakkutu.wav", Synth(k16m22, 0.42).Noise(0, 0.04, 1, 0.9, E::Snap).Tone(0, 0.18, 2480, 2450, W::Sine, 0.7)
                         .Noise(0.2, 0.04, 1, 0.9, E::Snap, 0, 0, 9).Tone(0.2, 0.2, 2750, 2700, W::Sine, 0.6)
                         .Noise(0, 0.3, 0.3, 0.08, E::Pluck, 0, 0, 5).Wav(0.55));
  {
    Synth s(k8m22, 0.42);  // a reel ratchet
    for (int k = 0; k < 12; ++k) s.Noise(k * 0.033, 0.012, 1, 0.8, E::Snap, 0, 0.3, 20 + k).Tone(k * 0.033, 0.012, 3000, 2600, W::Triangle, 0.3, E::Snap);
    add("neji.wav", s.Wav(0.45));
  }
  {
    Synth s(k8m11, 0.42);  // a whoosh and scurrying feet
    s.Noise(0, 0.2, 0.6, 0.3, E::Pluck, 0, 0.05);
    for (int k = 0; k < 5; ++k) s.Tone(0.1 + k * 0.06, 0.04, 200 - k * 10, 120, W::Sine, 1, E::Snap);
    add("nigeru.wav", s.Wav(0.5));
  }
  {
    Synth s(k16m11, 0.45);  // knock knock on a wooden door
    for (double t : {0.0, 0.18}) s.Tone(t, 0.12, 170, 120, W::Sine, 1, E::Snap).Noise(t, 0.03, 0.5, 0.35, E::Snap).Tone(t, 0.05, 420, 380, W::Triangle, 0.4, E::Snap);
    add("nock.wav", s.Wav(0.6));
  }
  add("holl.wav", Synth(k8m22, 0.7).Tone(0, 0.62, 1200, 150, W::Sine, 1, E::Hold).Noise(0.6, 0.1, 0.8, 0.2, E::Snap).Wav(0.5));
  {
    Synth s(k16m22, 0.5);  // bubbles rising
    Prng rng(3);
    for (int k = 0; k < 7; ++k) {
      double f = 300 + rng.Below(500);
      s.Tone(k * 0.06 + rng.Below(20) / 1000.0, 0.07, f, f * 2.2, W::Sine, 1, E::Pluck);
    }
    add("awa.wav", s.Wav(0.5));
  }
  add("bom.wav", Synth(k8m11, 0.36).Noise(0, 0.34, 1, 0.35).Tone(0, 0.2, 120, 50, W::Sine, 0.8).Wav(0.6));
  add("hakai.wav", Synth(k16m22, 0.55).Noise(0, 0.25, 1, 0.6, E::Pluck, 0, 0, 4).Tone(0.02, 0.5, 600, 80, W::Square, 0.6)
                       .Noise(0.15, 0.35, 0.5, 0.15).Wav(0.6));

  // ---- exploration and battle, channel 1 --------------------------------------
  add("bom3.wav", Synth(k16s22, 0.7).Noise(0, 0.25, 0.8, 0.5, E::Pluck, -0.3).Tone(0, 0.15, 150, 60, W::Sine, 0.7)
                      .Melody(0.12, {C5, E5, G5, C6}, 0.08, 0.28, W::Square, 0.7, E::Pluck, 0.3).Wav(0.6));
  add("bougyo.wav", Synth(k16m22, 0.34).Tone(0, 0.32, 1760, 1740, W::Triangle, 0.8).Tone(0, 0.32, 2637, 2600, W::Sine, 0.5)
                        .Noise(0, 0.03, 0.6, 0.9, E::Snap).Wav(0.5));
  add("bress.wav", Synth(k8s22, 0.72).Noise(0, 0.7, 1, 0.15, E::Hold, -0.5, 0.02, 2).Noise(0, 0.7, 1, 0.12, E::Hold, 0.5, 0.02, 3)
                       .Tone(0, 0.7, 90, 60, W::Saw, 0.4, E::Hold).Wav(0.55));
  add("damage2.wav", Synth(k8m11, 0.26).Tone(0, 0.2, 160, 60, W::Square, 1).Noise(0, 0.1, 0.8, 0.5, E::Snap).Wav(0.6));
  add("damage3.wav", Synth(k16m11, 0.32).Tone(0, 0.3, 110, 40, W::Sine, 1).Noise(0, 0.12, 0.7, 0.25).Wav(0.65));
  add("gun.wav", Synth(k16m44, 0.3).Noise(0, 0.02, 1, 1, E::Hold, 0, 0, 13).Noise(0.01, 0.28, 0.7, 0.25, E::Snap, 0, 0, 14)
                     .Tone(0, 0.08, 300, 80, W::Sine, 0.6).Wav(0.65));
  add("hit.wav", Synth(k16m22, 0.45).Noise(0, 0.25, 0.8, 0.4, E::Pluck, 0, 0.02).Melody(0.08, {A5, E6}, 0.08, 0.25, W::Square, 0.6).Wav(0.55));
  add("jump.wav", Synth(k8m22, 0.22).Tone(0, 0.22, 300, 900, W::Square, 1, E::Pluck).Wav(0.45));
  add("kaifuku.wav", Synth(k16s22, 0.65).Melody(0, {C5, E5, G5, C6, E6}, 0.08, 0.3, W::Sine, 1, E::Pluck, -0.4)
                         .Melody(0.04, {G5, C6, E6, G6}, 0.1, 0.25, W::Triangle, 0.4, E::Pluck, 0.4).Wav(0.5));
  add("magic.wav", Synth(k16s44, 0.5).Tone(0, 0.45, 300, 1400, W::Saw, 0.4, E::Hold, -0.5, 0.02)
                       .Tone(0, 0.45, 450, 2100, W::Triangle, 0.5, E::Hold, 0.5).Noise(0.3, 0.2, 0.3, 0.9, E::Pluck, 0, 0.4).Wav(0.5));
  add("nageru.wav", Synth(k8m11, 0.3).Noise(0, 0.28, 1, 0.35, E::Hold, 0, 0.08).Tone(0, 0.28, 500, 300, W::Sine, 0.2).Wav(0.5));
  add("pan.wav", Synth(k16m44, 0.16).Noise(0, 0.15, 1, 0.9, E::Snap, 0, 0, 21).Tone(0, 0.03, 900, 400, W::Sine, 0.6, E::Snap).Wav(0.7));
  add("sin2.wav", Synth(k16s22, 0.72).Tone(0, 0.7, C6, C6, W::Sine, 1, E::Pluck, -0.3).Tone(0.05, 0.65, E6, E6, W::Sine, 0.8, E::Pluck, 0.3)
                      .Tone(0.1, 0.6, G6, G6, W::Sine, 0.6).Tone(0, 0.7, C5, C5, W::Triangle, 0.4).Wav(0.5));
  add("stone.wav", Synth(k8m11, 0.3).Noise(0, 0.15, 0.6, 0.3, E::Hold, 0, 0.08).Noise(0.17, 0.05, 1, 0.7, E::Snap, 0, 0, 8)
                       .Tone(0.17, 0.06, 900, 700, W::Triangle, 0.7, E::Snap).Wav(0.55));
  {
    Synth s(k8m11, 0.5);  // munch, munch, munch
    for (int k = 0; k < 3; ++k) s.Noise(k * 0.15, 0.1, 1, 0.3, E::Pluck, 0, 0.05, 30 + k).Tone(k * 0.15, 0.06, 180, 120, W::Sine, 0.5);
    add("taberu.wav", s.Wav(0.55));
  }
  add("up.wav", Synth(k8m22, 0.36).Tone(0, 0.34, 400, 1000, W::Triangle, 1, E::Hold, 0, 0.02).Wav(0.45));
  add("wana.wav", Synth(k16m22, 0.42).Noise(0, 0.04, 1, 0.9, E::Snap).Tone(0, 0.05, 1800, 1200, W::Square, 0.6, E::Snap)
                      .Tone(0.04, 0.36, 220, 330, W::Sine, 0.8, E::Pluck, 0, 0.15).Wav(0.55));
  add("ya.wav", Synth(k8m22, 0.3).Noise(0, 0.18, 0.7, 0.5, E::Hold, 0, 0.2).Tone(0.18, 0.1, 180, 100, W::Sine, 1, E::Snap)
                    .Noise(0.18, 0.04, 0.6, 0.4, E::Snap).Wav(0.55));

  // ---- events and battle, channel 2 --------------------------------------------
  add("change.wav", Synth(k8s11, 0.42).Tone(0, 0.4, 500, 500, W::Triangle, 1, E::Hold, -0.6, 0.15).Tone(0, 0.4, 750, 750, W::Sine, 0.6, E::Hold, 0.6, 0.2).Wav(0.45));
  add("down.wav", Synth(k16m11, 0.42).Melody(0, {G4, Eb4, C4}, 0.12, 0.16, W::Square, 1).Wav(0.5));
  add("enemy.wav", Synth(k16m22, 0.55).Tone(0, 0.5, C3, C3, W::Square, 0.7).Tone(0, 0.5, Eb4 / 2, Eb4 / 2, W::Square, 0.5)
                       .Tone(0.1, 0.4, Fs4, Fs4, W::Saw, 0.4, E::Pluck, 0, 0.03).Noise(0, 0.06, 0.4, 0.4, E::Snap).Wav(0.55));
  add("gameover.wav", Synth(k16m11, 1.5).Melody(0, {G4, Fs4, F4, E4}, 0.26, 0.3, W::Triangle, 1, E::Hold)
                          .Tone(1.04, 0.45, Eb4, C4, W::Triangle, 1, E::Pluck).Melody(0, {Bb3, A4 / 2, Ab4 / 2, G3}, 0.26, 0.3, W::Sine, 0.5, E::Hold).Wav(0.55));
  add("hissatu.wav", Synth(k16s22, 0.62).Noise(0, 0.42, 0.7, 0.2, E::Hold, -0.4, 0.02).Tone(0, 0.42, 200, 900, W::Saw, 0.5, E::Hold, 0.4)
                         .Noise(0.42, 0.2, 1, 0.6, E::Pluck, 0, 0, 6).Tone(0.42, 0.2, 120, 50, W::Sine, 0.8).Wav(0.6));
  add("ken.wav", Synth(k16m22, 0.26).Noise(0, 0.22, 1, 0.7, E::Pluck, 0, 0.3).Tone(0, 0.2, 3000, 1200, W::Sine, 0.3).Wav(0.55));
  add("kyuusyuu.wav", Synth(k8m22, 0.52).Tone(0, 0.5, 900, 250, W::Sine, 1, E::Hold, 0, 0.1).Wav(0.5));
  add("m.wav", Synth(k8m11, 0.52).Tone(0, 0.5, 110, 110, W::Square, 0.7, E::Hold, 0, 0.05).Tone(0, 0.5, 155.6, 155.6, W::Square, 0.5, E::Hold).Wav(0.5));
  {
    Synth s(k8m22, 0.62);  // whisking in a bowl
    for (int k = 0; k < 5; ++k) s.Noise(k * 0.12, 0.1, 1, 0.5, E::Pluck, 0, 0.2, 40 + k);
    s.Tone(0.5, 0.1, 1320, 1320, W::Sine, 0.4);
    add("make.wav", s.Wav(0.5));
  }
  add("mondou.wav", Synth(k8m11, 0.3).Tone(0, 0.12, 500, 500, W::Square, 1, E::Hold).Tone(0.13, 0.16, 500, 800, W::Square, 1, E::Pluck).Wav(0.45));
  {
    Synth s(k8m22, 0.36);  // paper unfolding
    for (int k = 0; k < 4; ++k) s.Noise(k * 0.07, 0.1, 1, 0.8, E::Pluck, 0, 0.5, 50 + k);
    add("paper.wav", s.Wav(0.4));
  }
  add("slow.wav", Synth(k16m11, 0.62).Tone(0, 0.6, 600, 150, W::Triangle, 1, E::Hold, 0, 0.12).Wav(0.5));
  add("takara.wav", Synth(k16s44, 0.7).Melody(0, {C5, E5, G5, C6, E6}, 0.07, 0.22, W::Square, 0.7, E::Pluck, -0.3)
                        .Tone(0.35, 0.34, G6, G6, W::Sine, 0.6, E::Pluck, 0.5).Tone(0.35, 0.34, C6, C6, W::Triangle, 0.6, E::Pluck, 0.2).Wav(0.6));
  add("turn.wav", Synth(k8m11, 0.16).Melody(0, {A5, D6}, 0.06, 0.09, W::Square, 1).Wav(0.45));
  add("up2.wav", Synth(k16s22, 0.62).Melody(0, {C5, E5, G5}, 0.08, 0.12, W::Square, 0.8, E::Pluck, -0.3)
                     .Melody(0.24, {C6, C6}, 0.12, 0.2, W::Square, 0.8, E::Pluck, 0.3).Tone(0.36, 0.26, E6, E6, W::Sine, 0.6).Wav(0.6));
  add("wa.wav", Synth(k8m22, 0.36).Tone(0, 0.34, 300, 700, W::Sine, 1, E::Pluck, 0, 0.2).Wav(0.5));

  // ---- results, channel 3 ------------------------------------------------------
  add("broke.wav", Synth(k8m22, 0.32).Noise(0, 0.05, 1, 0.95, E::Snap, 0, 0, 60).Noise(0.05, 0.25, 0.6, 0.7, E::Pluck, 0, 0.4, 61)
                       .Tone(0, 0.1, 1800, 900, W::Triangle, 0.4, E::Snap).Wav(0.55));
  add("capture.wav", Synth(k16s22, 0.82).Melody(0, {G4, C5, E5, G5, 0, E5, G5}, 0.08, 0.16, W::Square, 0.7, E::Pluck, -0.3)
                         .Tone(0.48, 0.34, C6, C6, W::Triangle, 0.8, E::Pluck, 0.3).Tone(0.48, 0.34, G5, G5, W::Sine, 0.5).Wav(0.6));
  add("damage.wav", Synth(k8m11, 0.25).Noise(0, 0.12, 1, 0.4, E::Snap).Tone(0, 0.18, 220, 90, W::Square, 0.8).Wav(0.6));
  add("dragon.wav", Synth(k16s11, 0.95).Noise(0, 0.9, 1, 0.1, E::Hold, 0, 0.01, 70).Tone(0, 0.9, 80, 55, W::Saw, 0.8, E::Hold, 0, 0.08)
                        .Tone(0, 0.9, 120, 70, W::Square, 0.3, E::Hold).Wav(0.65));
  add("made.wav", Synth(k16s22, 0.95).Melody(0, {C5, E5, G5}, 0.09, 0.7, W::Triangle, 0.7, E::Pluck, -0.3)
                      .Tone(0.27, 0.65, C6, C6, W::Sine, 0.9, E::Pluck, 0.3).Tone(0.27, 0.65, E6, E6, W::Sine, 0.4, E::Pluck, 0.3).Wav(0.55));
  add("made_no.wav", Synth(k8m11, 0.62).Noise(0, 0.6, 1, 0.3, E::Pluck, 0, 0, 80).Tone(0, 0.4, 140, 40, W::Square, 0.8).Wav(0.65));
  add("meisei.wav", Synth(k8s22, 0.4).Tone(0, 0.18, E5, E5, W::Sine, 1, E::Pluck, -0.5).Tone(0.12, 0.28, A5, A5, W::Sine, 1, E::Pluck, 0.5).Wav(0.5));
  add("meisei_down.wav", Synth(k8m22, 0.42).Tone(0, 0.2, A4, A4, W::Triangle, 1, E::Pluck).Tone(0.14, 0.28, Eb4, Eb4, W::Triangle, 1, E::Pluck).Wav(0.5));
  add("nani.wav", Synth(k16m22, 0.32).Tone(0, 0.3, 400, 760, W::Triangle, 1, E::Hold, 0, 0.03).Wav(0.45));
  add("open.wav", Synth(k8m11, 0.52).Tone(0, 0.32, 160, 260, W::Saw, 0.7, E::Hold, 0, 0.12).Noise(0.32, 0.18, 1, 0.3, E::Snap)
                      .Tone(0.32, 0.12, 130, 90, W::Sine, 0.8, E::Snap).Wav(0.55));
  add("quest.wav", Synth(k16m22, 0.46).Melody(0, {E5, G5, C6}, 0.08, 0.28, W::Sine, 1).Melody(0, {C5, E5, G5}, 0.08, 0.28, W::Triangle, 0.4).Wav(0.5));
  add("quest_start.wav", Synth(k16m22, 0.46).Tone(0, 0.25, B5, B5, W::Sine, 1).Tone(0.16, 0.3, G5, G5, W::Sine, 1).Wav(0.5));
  {
    Synth s(k8m22, 0.62);  // clock ticks under a rewinding sweep
    for (int k = 0; k < 6; ++k) s.Noise(k * 0.1, 0.015, 1, 0.9, E::Snap, 0, 0.3, 90 + k).Tone(k * 0.1, 0.02, 2400, 2400, W::Sine, 0.4, E::Snap);
    s.Tone(0, 0.6, 1200, 300, W::Sine, 0.4, E::Hold, 0, 0.05);
    add("time.wav", s.Wav(0.45));
  }
  // clang-format on
  return v;
}

}  // namespace assetgen
