// SPDX-License-Identifier: GPL-3.0-or-later
#include "music.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "image.h"
#include "mathx.h"

namespace assetgen {

const Scale kMajor{0, 2, 4, 5, 7, 9, 11}, kMinor{0, 2, 3, 5, 7, 8, 10}, kHarmonicMinor{0, 2, 3, 5, 7, 8, 11},
    kDorian{0, 2, 3, 5, 7, 9, 10}, kLydian{0, 2, 4, 6, 7, 9, 11};

namespace {

constexpr int kSection = 8;  // bars per phrase pair (4 + 4)

// Hat: noise through a first difference, so its energy sits high and soft rather than all over.
enum class Osc { Pulse, Triangle, Noise, MetalNoise, Hat };

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
  bool curve = false;  // a percussive note dies away in a curve (cubed) rather than a straight line
  unsigned voice = 0;
};

struct Envelope {
  double attack, decay, sustain, release;
};
constexpr Envelope kLeadEnv{0.005, 0.15, 0.7, 0.04}, kSoftEnv{0.012, 0.3, 0.85, 0.07}, kBassEnv{0.004, 0.2, 0.8, 0.03},
    kArpEnv{0.003, 0.08, 0.4, 0.03}, kPadEnv{0.15, 0.5, 0.8, 0.2}, kHitEnv{0.001, 0.0, 0.0, 0.01};

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
  double phase = 0, level = 0, last_noise = 0;
  uint32_t lfsr = 1;
  auto at = static_cast<size_t>(n.start % size);
  for (int64_t i = 0; i < total; ++i) {
    const double t = static_cast<double>(i) / kMusicRate;
    if (i < n.len) {
      if (t < n.attack) {
        level = t / n.attack;
      } else if (n.decay > 0 && t < n.attack + n.decay) {
        level = 1 - (1 - n.sustain) * (t - n.attack) / n.decay;
      } else {
        level =
            n.decay > 0 ? n.sustain : std::max(0.0, 1 - (t - n.attack) / std::max(1e-3, n.len / double{kMusicRate}));
        if (n.decay <= 0 && n.curve) level = level * level * level;
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
      case Osc::Hat: {
        const double now = (lfsr & 1) ? 1.0 : -1.0;
        v = (now - last_noise) * 0.5;
        last_noise = now;
        break;
      }
    }
    phase += dt;
    while (phase >= 1) {
      phase -= 1;
      if (n.osc == Osc::Noise || n.osc == Osc::MetalNoise || n.osc == Osc::Hat) {
        // The shift register of the era's noise channel; the short tap rings metallic.
        const uint32_t tap = n.osc == Osc::MetalNoise ? 6 : 1;
        const uint32_t bit = (lfsr ^ (lfsr >> tap)) & 1;
        lfsr = (lfsr >> 1) | (bit << 14);
      }
    }
    buf[at] += v * n.amp * env;
    if (++at == buf.size()) at = 0;
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

int Span(const Rhythm& r) {
  int n = 0;
  for (int v : r) n += std::abs(v);
  return n;
}

// Cells a bar is built from, a beat or more each, by how busy the melody is.
struct Cell {
  Rhythm r;
  int weight;
};
const std::vector<Cell>& Cells(int notes_per_beat) {
  static const std::vector<Cell> slow = {{{4}, 5},  {{8}, 3},  {{6, 2}, 2}, {{2, 2}, 2},
                                         {{-4}, 1}, {{12}, 1}, {{3, 1}, 1}};
  static const std::vector<Cell> mid = {{{2, 2}, 5}, {{4}, 3},    {{3, 1}, 2},   {{-2, 2}, 1},
                                        {{8}, 1},    {{6, 2}, 2}, {{1, 1, 2}, 1}};
  static const std::vector<Cell> busy = {{{1, 1, 2}, 3}, {{2, 1, 1}, 2}, {{1, 1, 1, 1}, 2},  {{2, 2}, 3},
                                         {{4}, 2},       {{3, 1}, 1},    {{-1, 1, 1, 1}, 1}, {{6, 2}, 1}};
  return notes_per_beat >= 4 ? busy : notes_per_beat >= 2 ? mid : slow;
}

// Fills beats [from, beats) of a bar with cells; a bar's first beat never starts with a rest.
void FillBeats(Rhythm& r, int from, int beats, int notes_per_beat, Prng& rng) {
  const std::vector<Cell>& cells = Cells(notes_per_beat);
  int beat = from;
  while (beat < beats) {
    int total = 0;
    for (const Cell& c : cells)
      if (Span(c.r) <= 4 * (beats - beat) && !(beat == 0 && c.r[0] < 0)) total += c.weight;
    int pick = rng.Below(total);
    for (const Cell& c : cells) {
      if (Span(c.r) > 4 * (beats - beat) || (beat == 0 && c.r[0] < 0)) continue;
      if ((pick -= c.weight) < 0) {
        r.insert(r.end(), c.r.begin(), c.r.end());
        beat += Span(c.r) / 4;
        break;
      }
    }
  }
}

Rhythm NewBar(int beats, int notes_per_beat, Prng& rng) {
  Rhythm r;
  FillBeats(r, 0, beats, notes_per_beat, rng);
  return r;
}

// The same bar with its second half written again: a varied repetition.
Rhythm Vary(const Rhythm& r, int beats, int notes_per_beat, Prng& rng) {
  const int keep = beats == 3 ? 1 : 2;
  Rhythm head;
  for (int v : r) {
    if (Span(head) + std::abs(v) > 4 * keep) break;
    head.push_back(v);
  }
  if (Span(head) % 4) head.push_back(4 - Span(head) % 4);  // a cell cut through its beat closes on a note
  for (int tries = 0; tries < 8; ++tries) {
    Rhythm out = head;
    FillBeats(out, Span(head) / 4, beats, notes_per_beat, rng);
    if (out != r) return out;
  }
  return r;
}

// The motif in other values: twice as long (its first half fills the bar), or,
// when the bar is busy already, with its first beat pushed off the beat.
Rhythm Develop(const Rhythm& motif, int beats, int notes_per_beat) {
  const int bar = beats * 4;
  Rhythm out;
  if (notes_per_beat >= 4) {
    out.push_back(-2);
    for (int v : motif) {
      const int room = bar - Span(out);
      if (room <= 0) break;
      out.push_back(v < 0 ? -std::min(-v, room) : std::min(v, room));
    }
    return out;
  }
  for (int v : motif) {
    const int room = bar - Span(out);
    if (room <= 0) break;
    out.push_back(v < 0 ? -std::min(-2 * v, room) : std::min(2 * v, room));
  }
  if (Span(out) < bar) out.push_back(bar - Span(out));
  return out;
}

const std::vector<Rhythm>& Cadences(int beats) {
  static const std::vector<Rhythm> four = {{4, 4, 8}, {2, 2, 4, 8}, {6, 2, 8}, {4, 12}, {2, 2, 2, 2, 8}, {4, 4, 4, -4}};
  static const std::vector<Rhythm> three = {{4, 8}, {2, 2, 8}, {12}, {6, 2, 4}, {4, 4, -4}};
  return beats == 3 ? three : four;
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

// What a section is built from: the A section's opening bar (rhythm and the
// line's steps from its first note), which the B section develops.
struct Motif {
  Rhythm rhythm;
  std::vector<int> contour;
};

struct SectionPlan {
  const std::vector<int>* chords;
  bool home;       // the last cadence closes on the tonic
  int start;       // the first note's degree
  int shift;       // the register against A's (degrees)
  int cadence[2];  // indexes into Cadences(): the half and the full close
};

// Eight bars: a four-bar antecedent ending open and a consequent that brings the
// opening back and closes. Bar 0 states the motif (A) or develops A's (B); bar 2
// varies it, bar 4 returns to it, bar 5 varies bar 1.
std::vector<MelNote> WriteMelody(const TuneSpec& s, const SectionPlan& plan, Motif& motif, bool is_b, Prng& rng) {
  const int bar = s.beats * 4;
  const std::vector<int>& chords = *plan.chords;
  Rhythm opening = is_b ? Develop(motif.rhythm, s.beats, s.notes_per_beat) : NewBar(s.beats, s.notes_per_beat, rng);
  const Rhythm second = NewBar(s.beats, s.notes_per_beat, rng);
  Rhythm rhythms[kSection] = {opening,
                              second,
                              Vary(opening, s.beats, s.notes_per_beat, rng),
                              Cadences(s.beats)[static_cast<size_t>(plan.cadence[0])],
                              opening,
                              Vary(second, s.beats, s.notes_per_beat, rng),
                              NewBar(s.beats, s.notes_per_beat, rng),
                              Cadences(s.beats)[static_cast<size_t>(plan.cadence[1])]};
  const int lo = -2 + plan.shift, hi = 9 + plan.shift;

  std::vector<MelNote> out;
  std::vector<int> first_bar;  // the degrees of bar 0, for its return in bar 4
  int prev = plan.start, dir = 1, run = 0;
  for (int b = 0; b < kSection; ++b) {
    const int root = chords[static_cast<size_t>(b)];
    const Rhythm& rh = rhythms[b];
    const bool motif_bar = b == 0 || b == 4;
    const bool cadence = b == 3 || b == 7;
    int step = b * bar, k_note = 0;
    const int notes = static_cast<int>(std::count_if(rh.begin(), rh.end(), [](int v) { return v > 0; }));
    for (size_t k = 0; k < rh.size(); ++k) {
      const int len = std::abs(rh[k]);
      if (rh[k] < 0) {
        out.push_back({step, len, prev, true});
        step += len;
        continue;
      }
      const bool last = cadence && k_note == notes - 1, penult = cadence && k_note == notes - 2;
      const bool strong = (step % bar) % (s.beats == 3 ? bar : bar / 2) == 0;
      int d;
      if (b == 4 && chords[4] == chords[0] && k_note < static_cast<int>(first_bar.size())) {
        d = first_bar[static_cast<size_t>(k_note)];  // the opening comes back as it was
      } else if (motif_bar && is_b && k_note < static_cast<int>(motif.contour.size())) {
        // A's line, from this section's start and register, its strong notes moved onto the chord.
        d = (b == 0              ? plan.start
             : first_bar.empty() ? prev
                                 : first_bar[0]) +
            motif.contour[static_cast<size_t>(k_note)];
        if (strong && !ChordTone(d, root)) d = NearestChordTone(d, root, dir, lo, hi, lo - 1);
      } else if (out.empty()) {
        d = plan.start;
      } else if (last && b == 7 && plan.home) {
        d = std::abs(prev - 0) <= std::abs(prev - 7) ? 0 : 7;  // home: the nearer tonic
      } else if (last) {
        d = NearestChordTone(prev, root, dir, lo, hi, lo - 1);
      } else if (penult && b == 7 && plan.home) {
        // The approach to the close varies with the cadence: from above, from the leading tone, from the fifth.
        const int home = std::abs(prev) <= std::abs(prev - 7) ? 0 : 7;
        const int how = plan.cadence[1] % 3;
        d = how == 0 ? home + 1 : how == 1 ? home - 1 : home == 0 && prev < 2 ? -3 : 4;
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
        const bool far =
            (prev >= hi - 2 && dir > 0) || (prev <= lo + 2 && dir < 0);  // the line comes back to the middle
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
      if (b == 0) first_bar.push_back(d);
      prev = d;
      step += len;
      ++k_note;
    }
  }
  if (!is_b) {
    motif.rhythm = rhythms[0];
    motif.contour.clear();
    for (int d : first_bar) motif.contour.push_back(d - first_bar[0]);
  }
  return out;
}

// ---- the voices ----------------------------------------------------------------

class Score {
 public:
  explicit Score(const TuneSpec& s)
      : s_(s),
        step_(StepLen(s)),
        bar_(s.beats * 4),
        total_(static_cast<int>(s.form.size()) * kSection * s.beats * 4),
        stop_at_(total_ - s.stop) {}
  static int64_t StepLen(const TuneSpec& s) { return RoundToInt(kMusicRate * 60.0 / s.bpm / 4); }

  // How hard a note at `step` is played: an accent by its place in the bar (as
  // deep as `depth`), a swell over the four-bar phrase, and B a little apart from A.
  double Level(int step, double depth) const {
    static constexpr double kSwell[4] = {0.84, 0.93, 1.0, 0.88};
    const int in_bar = step % bar_, b = step / bar_;
    const double accent = in_bar == 0                           ? 1.0
                          : s_.beats == 4 && in_bar == bar_ / 2 ? 0.88
                          : in_bar % 4 == 0                     ? 0.78
                                                                : 0.66;
    const double section = s_.form[static_cast<size_t>(b / kSection) % s_.form.size()] == 'B' ? 1.1 : 1.0;
    return (1 - depth + depth * accent) * kSwell[b % 4] * section;
  }

  // A note; `tie` joins it to a note of the same pitch and voice that ends where it starts.
  void Add(int step, double steps, int midi, Osc osc, double duty, double amp, const Envelope& e, bool vib = false,
           bool tie = false) {
    if (step >= stop_at_) return;
    steps = std::min(steps, static_cast<double>(stop_at_ - step));
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
    if (tie) {
      for (size_t k = notes_.size(), seen = 0; k-- > 0 && seen < 16; ++seen) {
        Note& m = notes_[k];
        if (m.voice == n.voice && m.osc == n.osc && m.freq == n.freq && m.start + m.len == n.start) {
          m.len += n.len;
          return;
        }
      }
    }
    notes_.push_back(n);
  }
  void Hit(int step, double seconds, double f0, double f1, Osc osc, double amp, bool curve = false) {
    if (step >= stop_at_) return;
    Note n;
    n.start = step * step_;
    n.len = static_cast<int64_t>(seconds * kMusicRate);
    n.freq = f0, n.freq_end = f1, n.osc = osc, n.amp = amp * Level(step, 0.5);
    n.attack = kHitEnv.attack, n.decay = 0, n.sustain = 0, n.release = kHitEnv.release;
    n.curve = curve;
    n.voice = voice_;
    notes_.push_back(n);
  }

  void Melody(const std::vector<MelNote>& mel, int at) {
    Osc osc = s_.lead == Lead::Triangle ? Osc::Triangle : Osc::Pulse;
    const double duty = s_.lead == Lead::Square12 ? 0.125 : s_.lead == Lead::Square25 ? 0.25 : 0.5;
    const double amp = osc == Osc::Triangle ? 0.42 : 0.24;
    for (const MelNote& m : mel) {
      if (m.rest) continue;
      // Long notes are held to their end: the line sings through them.
      const double gate = m.len >= 8 ? std::max(s_.gate, 0.97) : s_.gate;
      Add(at + m.step, m.len * gate, DegreeMidi(s_.tonic, *s_.scale, m.degree), osc, duty,
          amp * Level(at + m.step, 0.6), osc == Osc::Triangle ? kSoftEnv : kLeadEnv, m.len >= 8);
    }
  }

  // The bass holds or walks through the bar and steps towards the next root at a phrase's end.
  void Bass(int at, int root, int next_root) {
    const int tonic = s_.tonic - 24;
    const auto low_of = [&](int r) { return DegreeMidi(tonic, *s_.scale, r > 4 ? r - 7 : r); };  // the root below
    const int low = low_of(root), fifth = DegreeMidi(tonic, *s_.scale, (root > 4 ? root - 7 : root) + 4);
    const int next = low_of(next_root);
    const bool turn = (at / bar_) % 4 == 3 && next != low;
    const int approach = next > low ? next - 1 : next + 1;  // a half step from below or above
    auto note = [&](int step, double len, int midi, bool tie = false) {
      Add(at + step, len, midi, Osc::Triangle, 0, 0.24 * Level(at + step, 0.4), kBassEnv, false, tie);
    };
    switch (s_.bass) {
      case Bass::Held:
        if (turn) {
          note(0, bar_ - 4, low, true);
          note(bar_ - 4, 4, approach);
        } else {
          note(0, bar_, low, true);
        }
        break;
      case Bass::RootFifth:
        for (int b = 0; b < s_.beats; ++b) note(b * 4, 4, turn && b == s_.beats - 1 ? approach : b % 2 ? fifth : low);
        break;
      case Bass::Eighths:
        for (int e = 0; e < bar_ / 2; ++e) note(e * 2, 2, e == bar_ / 2 - 1 ? (turn ? approach : fifth) : low);
        break;
      case Bass::Octaves:
        for (int e = 0; e < bar_ / 2; ++e)
          note(e * 2, 2, turn && e == bar_ / 2 - 1 ? approach : e % 2 ? low + 12 : low);
        break;
      case Bass::Waltz:
        note(0, 8, low);
        note(8, 4, turn ? approach : fifth);
        break;
    }
  }

  // The chord in the accompaniment's octave, in the inversion nearest the last one.
  std::array<int, 3> Voicing(int root) {
    const int base = s_.tonic - 12;
    const int m0 = DegreeMidi(base, *s_.scale, root), m1 = DegreeMidi(base, *s_.scale, root + 2),
              m2 = DegreeMidi(base, *s_.scale, root + 4);
    const std::array<int, 3> inv[3] = {{m0, m1, m2}, {m1, m2, m0 + 12}, {m2, m0 + 12, m1 + 12}};
    std::array<int, 3> best = inv[0];
    int best_cost = 1 << 30;
    for (const auto& v : inv)
      for (int oct : {-12, 0}) {
        std::array<int, 3> c{v[0] + oct, v[1] + oct, v[2] + oct};
        if (c[0] < base - 7 || c[2] > base + 19) continue;
        int cost = 0;
        for (int k = 0; k < 3; ++k)
          cost += voicing_[0] ? std::abs(c[static_cast<size_t>(k)] - voicing_[static_cast<size_t>(k)])
                              : std::abs(c[static_cast<size_t>(k)] - base - 4 * k);
        if (cost < best_cost) best_cost = cost, best = c;
      }
    voicing_ = best;
    return best;
  }

  // `mel` is the section's melody (from `sec_at`): a counter-line in B moves against it.
  void Accompany(int at, int root, bool b_section, const std::vector<MelNote>& mel, int sec_at) {
    const std::array<int, 3> v = Voicing(root);
    const int cad = (at / bar_) % 4 == 3;
    auto tone = [&](int k) { return k >= 3 ? v[static_cast<size_t>(k - 3)] + 12 : v[static_cast<size_t>(k)]; };
    auto arp = [&](int step, double len, int k, double duty, double amp) {
      Add(at + step, len, tone(k), Osc::Pulse, duty, amp * Level(at + step, 0.7), kArpEnv);
    };
    switch (s_.accomp) {
      case Accomp::None: break;
      case Accomp::Arp8: {
        // Broken chords: A goes low-high-middle-high, B falls, a cadence rises once.
        static constexpr int kA[4] = {0, 2, 1, 2}, kB[4] = {2, 1, 0, 1}, kCad[4] = {0, 1, 2, 3};
        const int* p = cad ? kCad : b_section ? kB : kA;
        for (int e = 0; e < bar_ / 2; ++e) arp(e * 2, 2, p[e % 4], 0.125, 0.1);
        break;
      }
      case Accomp::Arp16: {
        static constexpr int kA[6] = {0, 1, 2, 3, 2, 1}, kB[6] = {0, 2, 1, 3, 1, 2}, kCad[6] = {3, 2, 1, 0, 1, 2};
        const int* p = cad ? kCad : b_section ? kB : kA;
        for (int e = 0; e < bar_; ++e) arp(e, 1, p[e % 6], 0.125, 0.08);
        break;
      }
      case Accomp::Offbeat:
        for (int b = 0; b < s_.beats; ++b)
          for (int k = 0; k < 3; ++k) arp(b * 4 + 2, 1.4, k + (b_section && k == 2 && b % 2 ? 1 : 0), 0.25, 0.06);
        break;
      case Accomp::Pad:
        for (int k = 0; k < 3; ++k)
          Add(at, bar_, v[static_cast<size_t>(k)], Osc::Triangle, 0, 0.1 * Level(at, 0.3), kPadEnv, false, true);
        break;
      case Accomp::Waltz:
        for (int b = 1; b < s_.beats; ++b)
          for (int k = 0; k < 3; ++k) arp(b * 4, 2.6, k, 0.25, 0.06);
        break;
    }
    if (b_section && s_.accomp != Accomp::None) CounterLine(at, root, mel, sec_at);
  }

  // Half-bar notes on chord tones that move the other way from the lead.
  void CounterLine(int at, int root, const std::vector<MelNote>& mel, int sec_at) {
    const int half = s_.beats == 3 ? bar_ : bar_ / 2;
    for (int h = 0; h < bar_; h += half) {
      const int lead_now = LeadDegree(mel, at + h - sec_at), lead_next = LeadDegree(mel, at + h + half - sec_at);
      const int dir = lead_next > lead_now ? -1 : 1;
      if (counter_ == kNoCounter) counter_ = root + 2;
      counter_ = NearestChordTone(counter_ + dir, root, dir, -3, 6, counter_ + 7);
      Add(at + h, half, DegreeMidi(s_.tonic - 12, *s_.scale, counter_), Osc::Pulse, 0.5, 0.05 * Level(at + h, 0.3),
          kSoftEnv, false, true);
    }
  }

  void Drum(int at, int bar_index) {
    const bool fill = bar_index % 4 == 3;
    auto kick = [&](int st, double a = 1) {
      Hit(at + st, 0.09, 150, 45, Osc::Triangle, 0.3 * a);
      Hit(at + st, 0.015, 3000, 3000, Osc::Noise, 0.06 * a);
    };
    auto snare = [&](int st, double a = 1) {
      Hit(at + st, 0.12, 6000, 6000, Osc::Noise, 0.15 * a, true);
      Hit(at + st, 0.04, 230, 170, Osc::Triangle, 0.14 * a);
    };
    // Hats: the noise's highs only, dying away in a curve; open ones ring longer.
    auto hat = [&](int st, double a, double len = 0.04) { Hit(at + st, len, 11025, 11025, Osc::Hat, 0.07 * a, true); };
    auto rim = [&](int st, double a = 1) {
      Hit(at + st, 0.012, 7000, 7000, Osc::MetalNoise, 0.03 * a, true);
      Hit(at + st, 0.03, 1250, 1150, Osc::Triangle, 0.1 * a, true);
    };
    auto tom = [&](int st, double f, double a = 1) { Hit(at + st, 0.13, f, f * 0.7, Osc::Triangle, 0.3 * a, true); };
    switch (s_.drums) {
      case Drums::None: break;
      case Drums::Soft:
        for (int b = 1; b < s_.beats; b += 2) hat(b * 4, 0.8);
        if (fill) rim(bar_ - 2, 0.6);
        break;
      case Drums::March:
        kick(0), kick(8), snare(4);
        if (fill) {
          for (int k = 0; k < 4; ++k) snare(12 + k, 0.45 + 0.18 * k);  // a roll into the next phrase
        } else {
          snare(12);
        }
        for (int e = 0; e < 8; ++e) hat(e * 2, e % 2 ? 0.55 : 1.0);
        break;
      case Drums::Skip:
        // Light on its feet: kick on one and the and of three, rim clicks on two and four, hats off the beat.
        kick(0), kick(10, 0.7), rim(4), rim(12);
        for (int e = 0; e < 4; ++e) hat(e * 4 + 2, 0.9);
        hat(7, 0.35), hat(15, 0.35);
        if (fill) rim(14, 0.7), rim(15, 0.9);
        break;
      case Drums::Stride:
        // A gallop: kick, a low tom before the third beat, open hats on the beats.
        kick(0), tom(6, 110, 0.7), kick(8), snare(12);
        for (int b = 0; b < 4; ++b) hat(b * 4, b % 2 ? 0.6 : 0.8, 0.09);
        if (fill) tom(10, 196, 0.8), tom(13, 165, 0.9), tom(15, 131);
        break;
      case Drums::Drive:
        kick(0), kick(6), kick(8), snare(4);
        if (bar_index % 2) kick(14);
        if (fill) {
          for (int k = 0; k < 4; ++k) snare(12 + k, 0.5 + 0.15 * k);
        } else {
          snare(12);
        }
        for (int e = 0; e < 16; ++e) hat(e, e % 4 == 0 ? 1.0 : e % 2 ? 0.4 : 0.65);
        break;
      case Drums::Waltz:
        // On wood: a soft kick, rim clicks on two and three, a shaker between.
        kick(0, 0.8), rim(4), rim(8, 0.8), hat(10, 0.4);
        if (fill) tom(8, 175, 0.6), tom(10, 147, 0.7);
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
  static constexpr int kNoCounter = 1 << 20;
  // The lead's degree sounding at `step` of its section (the last note begun).
  static int LeadDegree(const std::vector<MelNote>& mel, int step) {
    int d = mel.empty() ? 0 : mel.front().degree;
    for (const MelNote& m : mel)
      if (m.step <= step && !m.rest) d = m.degree;
    return d;
  }

  const TuneSpec& s_;
  int64_t step_;
  int bar_;
  int total_, stop_at_;
  unsigned voice_ = kLeadVoice;
  std::array<int, 3> voicing_{};
  int counter_ = kNoCounter;
  std::vector<Note> notes_;
};

// ---- the mix -------------------------------------------------------------------

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

// A gentle low-pass takes the edge off the pulses at this low rate. Run round
// the circle twice so the filter's state at the start is the one at the end.
void Soften(std::vector<double>& x) {
  double y = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (double& v : x) {
      y += 0.7 * (v - y);
      if (pass == 1) v = y;
    }
}

// Mean square through the A curve: its four low poles (20.6, 20.6, 107.7 and
// 737.9 Hz) as bilinear high-passes, prewarped; the two at 12194 Hz lie past
// this rate's top and are left out. Relative to a full-scale square.
double AWeightedPower(const std::vector<double>& x) {
  constexpr double kPoles[4] = {20.6, 20.6, 107.7, 737.9};
  double b[4], c[4];
  for (int k = 0; k < 4; ++k) {
    const double half = kPi * kPoles[k] / kMusicRate;
    const double w = 2 * kMusicRate * Sine(half) / Cosine(half), two_fs = 2.0 * kMusicRate;
    b[k] = two_fs / (two_fs + w);
    c[k] = (two_fs - w) / (two_fs + w);
  }
  double hx[4] = {}, hy[4] = {}, sum = 0;
  // The loop's last second first: the slowest pole has settled long before its end.
  const size_t n = x.size(), warm = std::min<size_t>(n, kMusicRate);
  for (size_t i = n - warm; i < n + n; ++i) {
    double v = x[i < n ? i : i - n];
    for (int k = 0; k < 4; ++k) {
      hy[k] = b[k] * (v - hx[k]) + c[k] * hy[k];
      hx[k] = v;
      v = hy[k];
    }
    if (i >= n) sum += v * v;
  }
  // The curve is 0 dB at 1 kHz; these poles alone leave it 1.94 dB under there.
  return x.empty() ? 0 : sum / static_cast<double>(x.size()) / (128.0 * 128.0) * 1.564;
}

double FromDb(double db) {
  // 10^(db/10) by halving steps: the same bytes everywhere, no library call.
  double p = 1, base = db >= 0 ? 10 : 0.1;
  double e = std::fabs(db) / 10;
  for (int k = 0; k < 40 && e > 0; ++k) {
    if (e >= 1) {
      p *= base;
      e -= 1;
      continue;
    }
    base = std::sqrt(base);
    if (e >= 0.5) p *= base, e -= 0.5;
    e *= 2;
  }
  return p;
}

// Peaks past the knee bend towards full scale instead of clipping.
double Limit(double v) {
  constexpr double kKnee = 104, kRoom = 127 - kKnee;
  const double a = std::fabs(v);
  if (a <= kKnee) return v;
  const double over = a - kKnee;
  return (v < 0 ? -1 : 1) * (kKnee + over / (1 + over / kRoom));
}

// How far the lead stands over all the other voices together, in dB(A).
constexpr double kLeadMarginDb = 4.5;

}  // namespace

int64_t TuneSamples(const TuneSpec& s) {
  return static_cast<int64_t>(s.form.size()) * kSection * s.beats * 4 * Score::StepLen(s);
}

TuneRender RenderTune(const TuneSpec& s, unsigned voices) {
  Prng rng(s.seed);
  // The A section states the motif; B takes it to another register and rhythm, over its own chords.
  const int a_cad = rng.Below(static_cast<int>(Cadences(s.beats).size()));
  const int n_cad = static_cast<int>(Cadences(s.beats).size());
  SectionPlan pa{&s.a_chords, true, rng.Below(2) ? 4 : 2, 0, {a_cad, (a_cad + 1 + rng.Below(n_cad - 1)) % n_cad}};
  SectionPlan pb{&s.b_chords,
                 s.b_chords.back() == 0,
                 rng.Below(2) ? 7 : 4,
                 rng.Below(2) ? 3 : -2,
                 {(pa.cadence[1] + 1) % n_cad, (pa.cadence[1] + 2) % n_cad}};
  if (pb.shift < 0) pb.start -= 2;
  Motif motif;
  const std::vector<MelNote> a = WriteMelody(s, pa, motif, false, rng);
  const std::vector<MelNote> b = WriteMelody(s, pb, motif, true, rng);

  Score score(s);
  TuneRender out;
  const int bars = static_cast<int>(s.form.size()) * kSection;
  for (size_t sec = 0; sec < s.form.size(); ++sec) {
    const bool is_a = s.form[sec] == 'A';
    const int at = static_cast<int>(sec) * kSection * score.bar();
    const std::vector<MelNote>& mel = is_a ? a : b;
    score.SetVoice(kLeadVoice);
    score.Melody(mel, at);
    for (const MelNote& m : mel)
      if (!m.rest && at + m.step < bars * score.bar() - s.stop) out.lead.push_back({at + m.step, m.len});
    const std::vector<int>& chords = is_a ? s.a_chords : s.b_chords;
    for (int k = 0; k < kSection; ++k) {
      const int bar_at = at + k * score.bar();
      // The chord that follows: the next bar's, or the next section's first.
      const size_t next_sec = k + 1 < kSection ? sec : (sec + 1) % s.form.size();
      const std::vector<int>& next_chords = s.form[next_sec] == 'A' ? s.a_chords : s.b_chords;
      const int next_root = next_chords[static_cast<size_t>(k + 1 < kSection ? k + 1 : 0)];
      score.SetVoice(kBassVoice);
      score.Bass(bar_at, chords[static_cast<size_t>(k)], next_root);
      score.SetVoice(kAccompVoice);
      score.Accompany(bar_at, chords[static_cast<size_t>(k)], !is_a, mel, at);
      score.SetVoice(kDrumVoice);
      score.Drum(bar_at, static_cast<int>(sec) * kSection + k);
    }
  }
  out.step = score.step();
  out.bar_steps = score.bar();
  out.bars = bars;
  if (s.stop > 0) out.rests.push_back({bars * score.bar() - s.stop, s.stop});

  // Each voice on its own, so the accompaniment can step back under the lead.
  std::vector<double> lead = score.Mix(bars, kLeadVoice), rest = score.Mix(bars, kAllVoices & ~kLeadVoice);
  Soften(lead);
  Soften(rest);
  const double lead_power = AWeightedPower(lead), rest_power = AWeightedPower(rest);
  const double room = lead_power / FromDb(kLeadMarginDb);
  const double rest_gain = rest_power > room ? std::sqrt(room / rest_power) : 1.0;
  std::vector<double>& mix = rest;
  for (size_t i = 0; i < mix.size(); ++i) mix[i] = lead[i] + rest_gain * rest[i];
  // Every tune to the same loudness, not the same peak.
  const double gain = std::sqrt(FromDb(kTuneLoudness) / std::max(AWeightedPower(mix), 1e-12));
  out.pcm.resize(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) {
    mix[i] = Limit(mix[i] * gain);
    out.pcm[i] = static_cast<uint8_t>(std::clamp(128 + RoundToInt(mix[i]), 0, 255));
  }
  if (voices != kAllVoices) {
    // A part alone, at the gains of the whole (before the peaks' bend, which only the whole has).
    std::vector<double> part = score.Mix(bars, voices & ~kLeadVoice);
    Soften(part);
    for (size_t i = 0; i < mix.size(); ++i)
      mix[i] = (((voices & kLeadVoice) ? lead[i] : 0) + rest_gain * part[i]) * gain;
  }
  out.signal = std::move(mix);
  return out;
}

std::vector<uint8_t> ComposeTune(const TuneSpec& s) { return RiffMono8(RenderTune(s).pcm); }

}  // namespace assetgen
