// A game on the headless platform in a folder of its own (dat/ for the save file).
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "platform/bmp.h"
#include "platform/headless/headless_platform.h"
#include "shell/events.h"
#include "shell/game.h"
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
