#include "music.h"

#include <algorithm>
#include <cmath>

#include "image.h"
#include "mathx.h"

namespace assetgen {

const Scale kMajor{0, 2, 4, 5, 7, 9, 11}, kMinor{0, 2, 3, 5, 7, 8, 10}, kHarmonicMinor{0, 2, 3, 5, 7, 8, 11},
    kDorian{0, 2, 3, 5, 7, 9, 10}, kLydian{0, 2, 4, 6, 7, 9, 11};

namespace {

constexpr int kSection = 8;  // bars per phrase pair (4 + 4)

enum class Osc { Pulse, Triangle, Noise, MetalNoise };

// One sound: its gate in samples, then a release. Pitches glide from freq to
// freq_end over the gate (a kick's drop); noise clocks its shift register at freq.
struct Note {
  int64_t start = 0, len = 0;
  double freq = 0, freq_end = 0;
  Osc osc = Osc::Pulse;
  double duty = 0.5;
  double amp = 0;
  double attack = 0.005, decay = 0.15, sustain = 0.7, release = 0.04;  // seconds; sustain is a level
  bool vibrato = false;
  unsigned voice = 0;
};

struct Envelope {
  double attack, decay, sustain, release;
};
constexpr Envelope kLeadEnv{0.005, 0.15, 0.7, 0.04}, kSoftEnv{0.012, 0.3, 0.85, 0.07},
    kBassEnv{0.004, 0.2, 0.8, 0.03}, kArpEnv{0.003, 0.08, 0.4, 0.03}, kPadEnv{0.15, 0.5, 0.8, 0.2},
    kHitEnv{0.001, 0.0, 0.0, 0.01};

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

double MidiHz(int m) {
  // Equal temperament by repeated multiplication: no library call, the same bytes everywhere.
  constexpr double kSemitone = 1.0594630943592953;
  double f = 440.0;
  for (int k = m - 69; k > 0; --k) f *= kSemitone;
  for (int k = m - 69; k < 0; ++k) f /= kSemitone;
  return f;
}

int DegreeMidi(int tonic, const Scale& s, int degree) {
  const int n = static_cast<int>(s.size());
  const int octave = FloorDiv(degree, n);
  return tonic + 12 * octave + s[degree - n * octave];
}

bool ChordTone(int degree, int root) {
  const int k = ((degree - root) % 7 + 7) % 7;
  return k == 0 || k == 2 || k == 4;
}

// Band-limited step for the pulse wave (polyBLEP), so high notes do not alias into hiss.
double Blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

// Adds a note into a buffer that is read as a circle: what rings past the end
// sounds at the start, so the loop point is like any other moment of the tune.
void Render(std::vector<double>& buf, const Note& n) {
  const auto size = static_cast<int64_t>(buf.size());
  const int64_t rel = static_cast<int64_t>(n.release * kMusicRate);
  const int64_t total = n.len + rel;
  double phase = 0, level = 0;
  uint32_t lfsr = 1;
  for (int64_t i = 0; i < total; ++i) {
    const double t = static_cast<double>(i) / kMusicRate;
    if (i < n.len) {
      if (t < n.attack) {
        level = t / n.attack;
      } else if (n.decay > 0 && t < n.attack + n.decay) {
        level = 1 - (1 - n.sustain) * (t - n.attack) / n.decay;
      } else {
        level = n.decay > 0 ? n.sustain : std::max(0.0, 1 - (t - n.attack) / std::max(1e-3, n.len / double{kMusicRate}));
      }
    }
    const double env = i < n.len ? level : level * (1 - static_cast<double>(i - n.len) / std::max<int64_t>(rel, 1));
    double f = n.freq + (n.freq_end - n.freq) * std::min(1.0, static_cast<double>(i) / n.len);
    if (n.vibrato && t > 0.25) f *= 1 + 0.005 * Sine(2 * kPi * 5.5 * (t - 0.25));
    const double dt = f / kMusicRate;
    double v = 0;
    switch (n.osc) {
      case Osc::Pulse: {
        v = phase < n.duty ? 1.0 : -1.0;
        v += Blep(phase, dt);
        double down = phase + 1 - n.duty;
        down -= std::floor(down);
        v -= Blep(down, dt);
        v -= 2 * n.duty - 1;  // a narrow pulse is not centred; keep the mix on 128
        break;
      }
      case Osc::Triangle: v = 4 * std::fabs(phase - 0.5) - 1; break;
      case Osc::Noise:
      case Osc::MetalNoise: v = (lfsr & 1) ? 1.0 : -1.0; break;
    }
    phase += dt;
    while (phase >= 1) {
      phase -= 1;
      if (n.osc == Osc::Noise || n.osc == Osc::MetalNoise) {
        // The shift register of the era's noise channel; the short tap rings metallic.
        const uint32_t tap = n.osc == Osc::MetalNoise ? 6 : 1;
        const uint32_t bit = (lfsr ^ (lfsr >> tap)) & 1;
        lfsr = (lfsr >> 1) | (bit << 14);
      }
    }
    buf[static_cast<size_t>((n.start + i) % size)] += v * n.amp * env;
  }
}

// ---- writing the melody ------------------------------------------------------

struct MelNote {
  int step;  // 16th steps from the start of the section
  int len;
  int degree;
  bool rest;
};

using Rhythm = std::vector<int>;  // note lengths in 16th steps; negative is a rest

const std::vector<Rhythm>& RhythmBank(int beats, int notes_per_beat) {
  static const std::vector<Rhythm> b4[3] = {
      {{4, 4, 4, 4}, {8, 4, 4}, {4, 4, 8}, {6, 2, 8}, {4, -4, 4, 4}},
      {{2, 2, 4, 2, 2, 4}, {4, 2, 2, 4, 4}, {2, 2, 2, 2, 4, 4}, {6, 2, 4, 4}, {4, 4, 2, 2, 4}},
      {{2, 1, 1, 2, 2, 4, 4}, {1, 1, 1, 1, 2, 2, 4, 4}, {2, 2, 1, 1, 2, 4, 4}, {4, 1, 1, 2, 4, 4}, {2, 2, 2, 1, 1, 4, 4}}};
  static const std::vector<Rhythm> b3[3] = {{{4, 4, 4}, {8, 4}, {6, 2, 4}},
                                            {{2, 2, 4, 4}, {4, 2, 2, 4}, {2, 2, 2, 2, 4}, {6, 2, 4}},
                                            {{2, 1, 1, 4, 4}, {1, 1, 2, 4, 4}, {2, 2, 1, 1, 2, 4}}};
  const int k = notes_per_beat >= 4 ? 2 : notes_per_beat >= 2 ? 1 : 0;
  return beats == 3 ? b3[k] : b4[k];
}

// The chord tone nearest to `near` other than `avoid`, ties going the way the line is moving.
int NearestChordTone(int near, int root, int dir, int lo, int hi, int avoid) {
  for (int d = 0; d <= 7; ++d) {
    for (int s : {dir, -dir}) {
      const int c = near + s * d;
      if (c >= lo && c <= hi && c != avoid && ChordTone(c, root)) return c;
    }
  }
  return near;
}

// Eight bars over `chords`: a four-bar antecedent ending open on its chord and a
// consequent that repeats the opening motif and closes (on the tonic when `home`).
std::vector<MelNote> WriteMelody(const TuneSpec& s, const std::vector<int>& chords, bool home, int start, Prng& rng) {
  const int bar = s.beats * 4;
  const std::vector<Rhythm>& bank = RhythmBank(s.beats, s.notes_per_beat);
  const Rhythm& r1 = bank[static_cast<size_t>(rng.Below(static_cast<int>(bank.size())))];
  const Rhythm* r2 = &bank[static_cast<size_t>(rng.Below(static_cast<int>(bank.size())))];
  if (r2 == &r1) r2 = &bank[(static_cast<size_t>(r2 - bank.data()) + 1) % bank.size()];
  const Rhythm& r7 = bank[static_cast<size_t>(rng.Below(static_cast<int>(bank.size())))];
  const Rhythm cadence = s.beats == 3 ? Rhythm{4, 8} : Rhythm{4, 4, 8};
  const Rhythm* bars[kSection] = {&r1, r2, &r1, &cadence, &r1, r2, &r7, &cadence};
  const int lo = -2, hi = 9;

  std::vector<MelNote> out;
  int prev = start, dir = 1, run = 0;
  for (int b = 0; b < kSection; ++b) {
    const int root = chords[static_cast<size_t>(b)];
    // A motif comes back over the same harmony four bars later.
    if (b >= 4 && b <= 5 && chords[static_cast<size_t>(b - 4)] == root) {
      // By index over the notes written so far: the copies grow the vector.
      for (size_t i = 0, n = out.size(); i < n; ++i) {
        const MelNote m = out[i];
        if (m.step >= (b - 4) * bar && m.step < (b - 3) * bar) out.push_back({m.step + 4 * bar, m.len, m.degree, m.rest});
      }
      if (!out.empty()) prev = out.back().degree;
      continue;
    }
    int step = b * bar;
    const Rhythm& rh = *bars[b];
    for (size_t k = 0; k < rh.size(); ++k) {
      const int len = std::abs(rh[k]);
      if (rh[k] < 0) {
        out.push_back({step, len, prev, true});
        step += len;
        continue;
      }
      const bool last = k + 1 == rh.size() && (b == 3 || b == 7);
      const bool strong = (step % bar) % (s.beats == 3 ? bar : bar / 2) == 0;
      int d;
      if (out.empty()) {
        d = start;
      } else if (last && b == 7 && home) {
        d = prev >= 4 ? 7 : 0;  // home: the tonic
      } else if (last) {
        d = NearestChordTone(prev, root, dir, lo, hi, lo - 1);
      } else if (strong) {
        // A chord tone: by a step when one lies there, else held, else the next one along.
        if (ChordTone(prev + dir, root) && prev + dir >= lo && prev + dir <= hi) {
          d = prev + dir;
        } else if (ChordTone(prev, root) && rng.Below(100) < 40) {
          d = prev;
        } else {
          d = NearestChordTone(prev + dir, root, dir, lo, hi, prev);
        }
      } else {
        const int roll = rng.Below(100);
        const bool far = (prev >= 7 && dir > 0) || (prev <= 0 && dir < 0);  // the line comes back to the middle
        if (roll >= 80 || run >= 4 || (far && roll >= 40)) {
          dir = -dir;  // a line turns after a while, like a singer's
          run = 0;
        }
        d = prev + dir * (roll < 15 ? 2 : 1);
      }
      if (d > hi) d = prev - 1, dir = -1;
      if (d < lo) d = prev + 1, dir = 1;
      run = (d - prev) * dir > 0 ? run + 1 : 0;
      out.push_back({step, len, d, false});
      prev = d;
      step += len;
    }
  }
  // The closing tonic is the one nearest the line, reached by a step from above
  // or from the leading tone.
  const size_t n = out.size();
  if (home && n >= 3 && !out[n - 2].rest && !out[n - 3].rest) {
    const int from = out[n - 3].degree;
    out[n - 1].degree = std::abs(from) <= std::abs(from - 7) ? 0 : 7;
    out[n - 2].degree = out[n - 1].degree + (from > out[n - 1].degree ? 1 : -1);
  }
  return out;
}

// ---- the voices ----------------------------------------------------------------

class Score {
 public:
  Score(const TuneSpec& s) : s_(s), step_(StepLen(s)), bar_(s.beats * 4) {}
  static int64_t StepLen(const TuneSpec& s) { return RoundToInt(kMusicRate * 60.0 / s.bpm / 4); }

  void Add(int step, double steps, int midi, Osc osc, double duty, double amp, const Envelope& e, bool vib = false) {
    Note n;
    n.start = step * step_;
    n.len = std::max<int64_t>(1, static_cast<int64_t>(steps * static_cast<double>(step_)));
    n.freq = n.freq_end = MidiHz(midi);
    n.osc = osc;
    n.duty = duty;
    n.amp = amp;
    n.attack = e.attack, n.decay = e.decay, n.sustain = e.sustain, n.release = e.release;
    n.vibrato = vib;
    n.voice = voice_;
    notes_.push_back(n);
  }
  void Hit(int step, double seconds, double f0, double f1, Osc osc, double amp) {
    Note n;
    n.start = step * step_;
    n.len = static_cast<int64_t>(seconds * kMusicRate);
    n.freq = f0, n.freq_end = f1, n.osc = osc, n.amp = amp;
    n.attack = kHitEnv.attack, n.decay = 0, n.sustain = 0, n.release = kHitEnv.release;
    n.voice = voice_;
    notes_.push_back(n);
  }

  void Melody(const std::vector<MelNote>& mel, int at) {
    Osc osc = s_.lead == Lead::Triangle ? Osc::Triangle : Osc::Pulse;
    const double duty = s_.lead == Lead::Square12 ? 0.125 : s_.lead == Lead::Square25 ? 0.25 : 0.5;
    const double amp = osc == Osc::Triangle ? 0.42 : 0.24;
    for (const MelNote& m : mel) {
      if (m.rest) continue;
      Add(at + m.step, m.len * s_.gate, DegreeMidi(s_.tonic, *s_.scale, m.degree), osc, duty, amp,
          osc == Osc::Triangle ? kSoftEnv : kLeadEnv, m.len >= 8);
    }
  }

  void Bass(int at, int root) {
    const int tonic = s_.tonic - 24;
    const int r = root > 4 ? root - 7 : root;  // the root below rather than far above
    const int low = DegreeMidi(tonic, *s_.scale, r), fifth = DegreeMidi(tonic, *s_.scale, r + 4);
    auto note = [&](int step, double len, int midi) { Add(at + step, len, midi, Osc::Triangle, 0, 0.5, kBassEnv); };
    switch (s_.bass) {
      case Bass::Held: note(0, bar_ * 0.95, low); break;
      case Bass::RootFifth:
        for (int b = 0; b < s_.beats; ++b) note(b * 4, 3.4, b % 2 ? fifth : low);
        break;
      case Bass::Eighths:
        for (int e = 0; e < bar_ / 2; ++e) note(e * 2, 1.6, e == bar_ / 2 - 1 ? fifth : low);
        break;
      case Bass::Octaves:
        for (int e = 0; e < bar_ / 2; ++e) note(e * 2, 1.5, e % 2 ? low + 12 : low);
        break;
      case Bass::Waltz: note(0, 3.6, low); break;
    }
  }

  void Accompany(int at, int root) {
    const int tonic = s_.tonic - 12;
    const int chord[4] = {root, root + 2, root + 4, root + 7};
    auto midi = [&](int k) { return DegreeMidi(tonic, *s_.scale, chord[k]); };
    switch (s_.accomp) {
      case Accomp::None: break;
      case Accomp::Arp8:
        for (int e = 0; e < bar_ / 2; ++e) Add(at + e * 2, 1.6, midi(e % 4), Osc::Pulse, 0.125, 0.1, kArpEnv);
        break;
      case Accomp::Arp16: {
        static constexpr int kUpDown[6] = {0, 1, 2, 3, 2, 1};
        for (int e = 0; e < bar_; ++e) Add(at + e, 0.8, midi(kUpDown[e % 6]), Osc::Pulse, 0.125, 0.08, kArpEnv);
        break;
      }
      case Accomp::Offbeat:
        for (int b = 0; b < s_.beats; ++b)
          for (int k = 0; k < 3; ++k) Add(at + b * 4 + 2, 1.2, midi(k), Osc::Pulse, 0.25, 0.06, kArpEnv);
        break;
      case Accomp::Pad:
        for (int k = 0; k < 3; ++k) Add(at, bar_ * 0.9, midi(k), Osc::Triangle, 0, 0.13, kPadEnv);
        break;
      case Accomp::Waltz:
        for (int b = 1; b < s_.beats; ++b)
          for (int k = 0; k < 3; ++k) Add(at + b * 4, 2.2, midi(k), Osc::Pulse, 0.25, 0.06, kArpEnv);
        break;
    }
  }

  void Drum(int at, int bar_index) {
    auto kick = [&](int st) {
      Hit(at + st, 0.09, 150, 45, Osc::Triangle, 0.6);
      Hit(at + st, 0.02, 3000, 3000, Osc::Noise, 0.15);
    };
    auto snare = [&](int st) { Hit(at + st, 0.11, 9000, 9000, Osc::Noise, 0.26); };
    auto hat = [&](int st, double amp) { Hit(at + st, 0.03, 11025, 11025, Osc::Noise, amp); };
    switch (s_.drums) {
      case Drums::None: break;
      case Drums::Soft:
        for (int b = 1; b < s_.beats; b += 2) hat(b * 4, 0.07);
        break;
      case Drums::March:
        kick(0), kick(8), snare(4), snare(12);
        for (int e = 0; e < 8; ++e) hat(e * 2, 0.06);
        break;
      case Drums::Drive:
        kick(0), kick(6), kick(8), snare(4), snare(12);
        if (bar_index % 2) kick(14);
        for (int e = 0; e < 16; ++e) hat(e, e % 2 ? 0.03 : 0.06);
        break;
      case Drums::Waltz:
        kick(0), hat(4, 0.06), hat(8, 0.06);
        break;
      case Drums::Drip: {
        // Water falling from the roof: a bright drop now and then, never on the same beat twice running.
        static constexpr int kWhere[4] = {0, 10, 6, 14};
        Hit(at + kWhere[bar_index % 4], 0.05, 1900 - 150 * (bar_index % 3), 1100, Osc::Triangle, 0.16);
        if (bar_index % 2) Hit(at + 11, 0.015, 7000, 7000, Osc::MetalNoise, 0.04);
        break;
      }
      case Drums::Surf:
        // A wave washes in over two bars: slow noise swelling and ebbing.
        if (bar_index % 2 == 0) {
          Note n;
          n.start = at * step_;
          n.len = 2 * bar_ * step_ * 7 / 10;
          n.freq = n.freq_end = 2600, n.osc = Osc::Noise, n.amp = 0.09;
          n.attack = 0.9, n.decay = 0.6, n.sustain = 0.5, n.release = 0.9;
          n.voice = voice_;
          notes_.push_back(n);
        }
        break;
    }
  }

  std::vector<double> Mix(int bars, unsigned voices) const {
    std::vector<double> buf(static_cast<size_t>(bars * bar_ * step_), 0.0);
    for (const Note& n : notes_)
      if (n.voice & voices) Render(buf, n);
    return buf;
  }
  int bar() const { return bar_; }
  int64_t step() const { return step_; }
  void SetVoice(unsigned v) { voice_ = v; }

 private:
  const TuneSpec& s_;
  int64_t step_;
  int bar_;
  unsigned voice_ = kLeadVoice;
  std::vector<Note> notes_;
};

std::vector<uint8_t> RiffMono8(const std::vector<uint8_t>& samples) {
  const auto data = static_cast<uint32_t>(samples.size());
  std::vector<uint8_t> v;
  auto put = [&v](uint32_t x, int bytes) {
    for (int b = 0; b < bytes; ++b) v.push_back(static_cast<uint8_t>((x >> (8 * b)) & 0xFF));
  };
  v.insert(v.end(), {'R', 'I', 'F', 'F'});
  put(36 + data, 4);
  v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  put(16, 4);
  put(1, 2);  // PCM
  put(1, 2);  // mono
  put(kMusicRate, 4);
  put(kMusicRate, 4);
  put(1, 2);
  put(8, 2);
  v.insert(v.end(), {'d', 'a', 't', 'a'});
  put(data, 4);
  v.insert(v.end(), samples.begin(), samples.end());
  return v;
}

}  // namespace

int64_t TuneSamples(const TuneSpec& s) {
  return static_cast<int64_t>(s.form.size()) * kSection * s.beats * 4 * Score::StepLen(s);
}

TuneRender RenderTune(const TuneSpec& s, unsigned voices) {
  Prng rng(s.seed);
  const std::vector<MelNote> a = WriteMelody(s, s.a_chords, true, rng.Below(2) ? 4 : 2, rng);
  const std::vector<MelNote> b = WriteMelody(s, s.b_chords, s.b_chords.back() == 0, rng.Below(2) ? 7 : 4, rng);
  Score score(s);
  TuneRender out;
  const int bars = static_cast<int>(s.form.size()) * kSection;
  for (size_t sec = 0; sec < s.form.size(); ++sec) {
    const bool is_a = s.form[sec] == 'A';
    const int at = static_cast<int>(sec) * kSection * score.bar();
    score.SetVoice(kLeadVoice);
    score.Melody(is_a ? a : b, at);
    for (const MelNote& m : is_a ? a : b)
      if (!m.rest) out.lead.push_back({at + m.step, m.len});
    const std::vector<int>& chords = is_a ? s.a_chords : s.b_chords;
    for (int k = 0; k < kSection; ++k) {
      const int bar_at = at + k * score.bar();
      score.SetVoice(kBassVoice);
      score.Bass(bar_at, chords[static_cast<size_t>(k)]);
      score.SetVoice(kAccompVoice);
      score.Accompany(bar_at, chords[static_cast<size_t>(k)]);
      score.SetVoice(kDrumVoice);
      score.Drum(bar_at, static_cast<int>(sec) * kSection + k);
    }
  }
  out.step = score.step();
  out.bar_steps = score.bar();
  out.bars = bars;

  // A gentle low-pass takes the edge off the pulses at this low rate. Run round
  // the circle twice so the filter's state at the start is the one at the end.
  auto filter = [](std::vector<double>& mix) {
    double y = 0;
    for (int pass = 0; pass < 2; ++pass)
      for (double& x : mix) {
        y += 0.7 * (x - y);
        if (pass == 1) x = y;
      }
  };
  std::vector<double> mix = score.Mix(bars, kAllVoices);
  filter(mix);
  double peak = 1e-9;
  for (double x : mix) peak = std::max(peak, std::fabs(x));
  const double gain = 110 / peak;
  out.pcm.resize(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) out.pcm[i] = static_cast<uint8_t>(std::clamp(128 + RoundToInt(mix[i] * gain), 0, 255));
  if (voices != kAllVoices) {
    mix = score.Mix(bars, voices);
    filter(mix);
  }
  for (double& x : mix) x *= gain;
  out.signal = std::move(mix);
  return out;
}

std::vector<uint8_t> ComposeTune(const TuneSpec& s) { return RiffMono8(RenderTune(s).pcm); }

}  // namespace assetgen
