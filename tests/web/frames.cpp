// SPDX-License-Identifier: GPL-3.0-or-later
// The headless side of the browser test: plays the same script of inputs the test
// gives the page in lockstep, on the headless platform, and writes the picture at
// every "snap" (out/snapN.ppm), the save a hide of the page makes at every "hide"
// (out/hideN.dat) and the save file at the script's end (out/saved.dat), so the test
// can hold the page's canvas and saves against them. With --bench N it then times N ticks.
//
//   pomurie-webframes <game folder> <script> <out folder> [--bench N]
//
// Script lines: "ticks N", "click WIDGET X Y [right]" (X, Y within the widget),
// "key VK", "type WIDGET TEXT" (UTF-8), "snap", "hide"; '#' starts a comment.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/game.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "shell/program.h"

namespace {

// The player's files go to the output folder, never beside the build's game.
class ScriptPlatform : public HeadlessPlatform {
 public:
  ScriptPlatform(std::string game_dir, std::string user_dir)
      : HeadlessPlatform(std::move(game_dir)), user_dir_(std::move(user_dir)) {}
  std::string UserDir() const override { return user_dir_; }
  std::string ConfigDir() const override { return user_dir_; }
  void SetEvents(GameEvents* events) override {
    events_seen = events;
    HeadlessPlatform::SetEvents(events);
  }
  GameEvents* events_seen = nullptr;

 private:
  std::string user_dir_;
};

bool WritePpm(const std::string& path, const SoftPicture& pic) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << pic.Width() << ' ' << pic.Height() << "\n255\n";
  for (uint32_t p : pic.pixels()) {
    const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
    out.write(rgb, 3);
  }
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <game folder> <script> <out folder> [--bench N]\n", argv[0]);
    return 2;
  }
  const std::string out_dir = std::string(argv[3]) + "/";
  const int bench_ticks = argc >= 6 && std::string(argv[4]) == "--bench" ? std::stoi(argv[5]) : 0;
  std::ifstream script(argv[2]);
  if (!script) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 2;
  }
  ScriptPlatform p(argv[1], out_dir);
  int snaps = 0, hides = 0, line_no = 0;
  bool bad = false;
  for (std::string line; std::getline(script, line);) {
    ++line_no;
    if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream in(line);
    std::string op;
    if (!(in >> op)) continue;
    if (op == "ticks") {
      int n = 0;
      in >> n;
      p.QueueTicks(n);
    } else if (op == "click") {
      std::string widget, button;
      int x = 0, y = 0;
      in >> widget >> x >> y >> button;
      p.QueueMouseDown(widget, x, y, button == "right" ? MouseButton::Right : MouseButton::Left);
    } else if (op == "key") {
      int vk = 0;
      in >> vk;
      p.QueueKey(vk);
    } else if (op == "type") {
      std::string widget, text;
      in >> widget;
      std::getline(in >> std::ws, text);
      p.QueueText(widget, J(text));
    } else if (op == "snap") {
      const int k = snaps++;
      p.QueueAction([&p, k, out_dir, &bad] {
        if (!WritePpm(out_dir + "snap" + std::to_string(k) + ".ppm", *p.PictureOf("cg"))) bad = true;
      });
    } else if (op == "hide") {
      // The page saves on a hide as the desktop does on its close, in memory.
      const int k = hides++;
      p.QueueAction([&p, k, out_dir, &bad] {
        if (p.events_seen) p.events_seen->FormSuspend();
        std::error_code ec;
        std::filesystem::copy_file(p.UserDir() + "dat/my.dat", out_dir + "hide" + std::to_string(k) + ".dat",
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) bad = true;
      });
    } else {
      std::fprintf(stderr, "%s:%d: unknown step '%s'\n", argv[2], line_no, op.c_str());
      return 2;
    }
  }
  // The save as the script leaves it, written as a hide of the page writes it (the
  // page's export saves so first), before the close saves again.
  p.QueueAction([&p, out_dir] {
    if (p.events_seen) p.events_seen->FormSuspend();
    std::filesystem::copy_file(p.UserDir() + "dat/my.dat", out_dir + "saved.dat",
                               std::filesystem::copy_options::overwrite_existing);
  });
  double bench_ms = 0;
  if (bench_ticks > 0) {
    auto start = std::make_shared<std::chrono::steady_clock::time_point>();
    p.QueueAction([start] { *start = std::chrono::steady_clock::now(); });
    p.QueueTicks(bench_ticks);
    p.QueueAction([start, &bench_ms] {
      bench_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - *start).count();
    });
  }
  p.QueueClose();
  RunGame(p);
  if (bench_ticks > 0) std::printf("native tick: %.3f ms mean over %d ticks\n", bench_ms / bench_ticks, bench_ticks);
  std::printf("%d snapshots, %lld ticks\n", snaps, static_cast<long long>(p.ticks_fired));
  return bad ? 1 : 0;
}
