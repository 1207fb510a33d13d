// SPDX-License-Identifier: GPL-3.0-or-later
// The game's tunes, one per place, each a line of the table below: tempo,
// metre, key and mode, the chords of its A and B phrases (scale degrees, one
// a bar: 0 = I, 3 = IV, 4 = V, 5 = vi ...), its form and its voices.
#include "assets.h"
#include "music.h"

namespace assetgen {

const std::vector<TuneSpec>& TuneSpecs() {
  using L = Lead;
  using B = Bass;
  using A = Accomp;
  using D = Drums;
  // clang-format off
  static const std::vector<TuneSpec> specs = {
      // Title: a bright march in C major, the square lead over arpeggios.
      {"bgm_title.wav", 132, 4, 72, &kMajor, {0, 5, 3, 4, 0, 5, 4, 0}, {3, 4, 2, 5, 3, 4, 1, 4}, "ABA",
       L::Square25, B::RootFifth, A::Arp8, D::March, 2, 0.85, 11},
      // Home: calm, F major, a soft triangle tune over a slow bass and light hats.
      {"bgm_home.wav", 88, 4, 65, &kMajor, {0, 3, 0, 4, 0, 3, 4, 0}, {5, 2, 3, 0, 5, 2, 1, 4}, "AB",
       L::Triangle, B::RootFifth, A::Arp8, D::Soft, 2, 0.92, 23},
      // Shop: bright and light, G major, a thin square skipping in sixteenths over rim clicks.
      {"bgm_shop.wav", 150, 4, 79, &kMajor, {0, 5, 1, 4, 0, 5, 4, 0}, {3, 4, 0, 5, 3, 4, 1, 4}, "ABA",
       L::Square12, B::Octaves, A::Offbeat, D::Skip, 4, 0.6, 37},
      // Forest: a D dorian waltz, wooden and a little secret.
      {"bgm_forest.wav", 112, 3, 74, &kDorian, {0, 3, 0, 6, 0, 3, 6, 0}, {3, 6, 0, 4, 3, 6, 2, 4}, "ABA",
       L::Square25, B::Waltz, A::Waltz, D::Waltz, 2, 0.85, 41},
      // Grassland: open and striding, D major, the wide square over rippling arpeggios and a gallop.
      {"bgm_kusa.wav", 126, 4, 74, &kMajor, {0, 4, 5, 3, 0, 4, 3, 0}, {3, 0, 3, 4, 3, 0, 1, 4}, "ABA",
       L::Square50, B::RootFifth, A::Arp16, D::Stride, 2, 0.8, 53},
      // Sea: a swaying E-flat lydian waltz, the triangle over surf.
      {"bgm_sea.wav", 92, 3, 75, &kLydian, {0, 1, 0, 4, 0, 1, 4, 0}, {5, 1, 0, 4, 5, 1, 2, 4}, "ABA",
       L::Triangle, B::Waltz, A::Arp16, D::Surf, 2, 0.9, 67},
      // Cave: slow E minor, sparse square notes over a triangle drone and dripping water.
      {"bgm_ana.wav", 76, 4, 64, &kMinor, {0, 5, 3, 4, 0, 5, 6, 0}, {3, 0, 5, 6, 3, 0, 5, 4}, "AB",
       L::Square25, B::Held, A::Pad, D::Drip, 1, 0.7, 71},
      // Battle: tense and quick, A harmonic minor, driving bass and drums that stop dead before the loop.
      {"bgm_battle.wav", 168, 4, 69, &kHarmonicMinor, {0, 5, 3, 4, 0, 5, 4, 0}, {3, 4, 0, 5, 3, 4, 5, 4}, "AABB",
       L::Square25, B::Octaves, A::Offbeat, D::Drive, 4, 0.7, 83, 2},
      // Night and its report: a slow A-flat major lullaby in three.
      {"bgm_night.wav", 66, 3, 68, &kMajor, {0, 3, 0, 4, 0, 3, 4, 0}, {5, 3, 0, 4, 5, 3, 1, 4}, "AB",
       L::Triangle, B::Held, A::Arp8, D::None, 1, 0.95, 97},
      // Old age: D minor, slow and tender, a square that sings with vibrato over a pad.
      {"bgm_old.wav", 72, 4, 74, &kMinor, {0, 3, 6, 2, 0, 3, 4, 0}, {5, 2, 3, 0, 5, 2, 3, 4}, "AB",
       L::Square50, B::Held, A::Pad, D::None, 1, 0.95, 101},
  };
  // clang-format on
  return specs;
}

std::vector<NamedFile> MakeTunes() {
  std::vector<NamedFile> v;
  for (const TuneSpec& s : TuneSpecs()) v.push_back({s.file, ComposeTune(s)});
  return v;
}

}  // namespace assetgen
