// SPDX-License-Identifier: GPL-3.0-or-later
// A game on the headless platform in a folder of its own (dat/ for the save file).
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/game.h"
#include "platform/bmp.h"
#include "platform/headless/headless_platform.h"
#include "shell/events.h"
#include "shell/layout.h"
#include "shell/startup.h"

inline std::filesystem::path MakeGameDir() {
  static std::atomic<int> serial{0};
  auto dir = std::filesystem::temp_directory_path() /
             ("pomurie_shell_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "dat");
  std::filesystem::create_directories(dir / "cg");
  return dir;
}

// Whether a line the log keeps starts with `cp932`.
inline bool LogHasLine(const Game& g, const std::string& cp932) {
  for (const tmoji_efe& e : g.MessageLog)
    if (e.text.compare(0, cp932.size(), cp932) == 0) return true;
  return false;
}

// Whether the log keeps the line `cp932` whole (an odd-length line is padded with a space).
inline bool LogHasWholeLine(const Game& g, const std::string& cp932) {
  for (const tmoji_efe& e : g.MessageLog)
    if (e.text == cp932 || e.text == cp932 + ' ') return true;
  return false;
}

// One draw of a steered generator: Random(bound) must give `value` (kNonZero: anything
// but 0; kAnyDraw: anything, the draw is only used up; kOnlyZero: 0, where a bound one,
// two or ten either side would not, so a chance of 1 in a neighbouring bound is told apart).
struct Draw {
  int32_t bound, value;
};
inline constexpr int32_t kNonZero = -1, kAnyDraw = -2, kOnlyZero = -3;

// Seeds the game's one generator so that its next draws are `draws`, in that order.
inline void SteerDraws(Game& g, const std::vector<Draw>& draws) {
  for (uint32_t seed = 1; seed < 5'000'000; ++seed) {
    Rng r;
    r.Seed(seed);
    bool fits = true;
    for (const Draw& d : draws) {
      for (const int32_t other : {d.bound - 10, d.bound - 2, d.bound - 1, d.bound + 1, d.bound + 2, d.bound + 10}) {
        Rng o = r;
        // (a bound that divides this one gives 0 with it: no draw tells those apart)
        if (d.value == kOnlyZero && other > 1 && d.bound % other != 0 && o.Random(other) == 0) fits = false;
      }
      const int32_t v = r.Random(d.bound);
      if (!fits || (d.value == kNonZero    ? v == 0
                    : d.value == kOnlyZero ? v != 0
                                           : d.value != kAnyDraw && v != d.value)) {
        fits = false;
        break;
      }
    }
    if (fits) return g.rng.Seed(seed);
  }
  throw std::runtime_error("no seed gives those draws");
}

struct GameRun {
  GameRun() : dir(MakeGameDir()), plat(dir.string()), g(std::make_unique<Game>(plat)), events(*g) {}
  ~GameRun() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  // Window and start-up without the scene loop, for handler-level tests.
  void Start() {
    plat.SetEvents(&events);
    CreateMainWindow(*g);
    events.FormCreate();
    plat.ShowWindow();
  }
  // The whole program: the queued script runs until the window closes.
  void Run() { RunProgram(*g); }

  Widget& W(const char* name) {
    Widget* w = plat.FindWidget(name);
    if (!w) throw std::runtime_error(std::string("no widget ") + name);
    return *w;
  }
  // A plain picture of one colour in the cg folder.
  void WritePicture(const std::string& name, Rgb colour, int size = 300) {
    BmpImage img;
    img.width = img.height = size;
    img.pixels.assign(static_cast<size_t>(size) * size, colour.Packed());
    std::vector<uint8_t> bytes = EncodeBmp24(img);
    std::ofstream(dir / "cg" / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  std::string SaveBytes() const {
    std::ifstream in(dir / "dat" / "my.dat", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  std::filesystem::path dir;
  HeadlessPlatform plat;
  std::unique_ptr<Game> g;
  ShellEvents events;
};
