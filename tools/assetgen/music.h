// SPDX-License-Identifier: GPL-3.0-or-later
// A small composer for looping chiptune music: a tune is described by its
// tempo, key, mode, chord progressions and voices; the melody is written from
// those by simple rules (chord tones on strong beats, steps between them, a
// motif that returns and that the B phrase develops, cadences that vary) and
// rendered with square, triangle and noise voices into 8-bit mono PCM whose end
// joins its start seamlessly. The mix is balanced so the lead sings over the
// rest, and every tune is brought to the same A-weighted loudness.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

inline constexpr int kMusicRate = 11025;  // the mixer's default output: no conversion at play

// Scales as semitone steps above the tonic.
using Scale = std::vector<int>;
extern const Scale kMajor, kMinor, kHarmonicMinor, kDorian, kLydian;

// What each voice does in a bar.
enum class Lead { Square12, Square25, Square50, Triangle };
enum class Bass { Held, RootFifth, Eighths, Waltz, Octaves };
enum class Accomp { None, Arp8, Arp16, Offbeat, Pad, Waltz };
// Each place with drums has its own part: a march, a skipping shop beat, a striding
// gallop, a driving battle beat, a waltz on wood, soft hats, water drops, surf.
enum class Drums { None, Soft, March, Skip, Stride, Drive, Waltz, Drip, Surf };

struct TuneSpec {
  std::string file;  // dat/<file>
  int bpm;
  int beats;  // per bar: 3 or 4
  int tonic;  // MIDI note of the key's tonic in the melody's octave (60 = C4)
  const Scale* scale;
  // Chords as scale degrees (0 = I), one per bar, for the A and B phrases (8 bars each).
  std::vector<int> a_chords, b_chords;
  std::string form;  // sections in order: 'A', 'B'; each 8 bars
  Lead lead;
  Bass bass;
  Accomp accomp;
  Drums drums;
  int notes_per_beat;  // the melody's busiest subdivision: 1, 2 or 4
  double gate;         // how much of its length a melody note sounds: 0.5 crisp .. 0.95 legato
  uint32_t seed;
  int stop = 0;  // 16th steps at the end of the loop where every voice stops (a break), 0 none
};

// The A-weighted loudness every tune is brought to, in dB against a full-scale
// square: about 5 dB under the sound effects at the default music volume.
inline constexpr double kTuneLoudness = -17.0;

// The voices of a tune, to render them apart.
enum Voice : unsigned { kLeadVoice = 1, kBassVoice = 2, kAccompVoice = 4, kDrumVoice = 8, kAllVoices = 15 };

struct StepSpan {
  int step, len;  // in 16th steps from the loop's start
};

// A tune as samples, with what a listener's measurements need from its score.
// Nothing here touches files: the game's web page can compose the tunes itself.
struct TuneRender {
  std::vector<uint8_t> pcm;    // all voices, unsigned 8-bit mono at kMusicRate: the file's samples
  std::vector<double> signal;  // the voices asked for, before rounding, on pcm's scale (0 = 128);
                               // a part alone is before the limiter that bends the whole's peaks
  int64_t step = 0;            // samples per 16th note
  int bar_steps = 0, bars = 0;
  std::vector<StepSpan> lead;   // the melody's notes
  std::vector<StepSpan> rests;  // general pauses the score writes (every voice silent)
};
TuneRender RenderTune(const TuneSpec& spec, unsigned voices = kAllVoices);

// Renders a tune to a RIFF file (8-bit mono at kMusicRate).
std::vector<uint8_t> ComposeTune(const TuneSpec& spec);

// The game's tunes, one for each place (tunes.cpp).
const std::vector<TuneSpec>& TuneSpecs();

// Length of a tune in samples as ComposeTune lays it out (whole 16th-note grid).
int64_t TuneSamples(const TuneSpec& spec);

}  // namespace assetgen
