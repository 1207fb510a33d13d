// SPDX-License-Identifier: GPL-3.0-or-later
// A game on the headless platform with its window and surfaces, in a folder of its
// own, for the log, choice and screen tests. Start-up's save-file and catalogue
// steps are left out: these tests set what they need.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/game.h"
#include "platform/bmp.h"
#include "platform/headless/headless_platform.h"
#include "presentation/log.h"
#include "presentation/screen.h"
#include "shell/events.h"
#include "shell/layout.h"

struct ScreenRun {
  ScreenRun() : dir(MakeDir()), plat(dir.string()), g(std::make_unique<Game>(plat)), events(*g) {
    plat.SetEvents(&events);
  }
  ~ScreenRun() {
    plat.SetEvents(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  // The window's widgets and the picture table, as start-up makes them.
  void Start() {
    CreateMainWindow(*g);
    CreateSurfaces(*g);
  }

  Widget& W(const char* name) {
    Widget* w = plat.FindWidget(name);
    if (!w) throw std::runtime_error(std::string("no widget ") + name);
    return *w;
  }
  SoftCanvas& Cg() { return static_cast<SoftPicture*>(g->screen.cg)->soft_canvas(); }

  void WritePicture(const std::string& name, const BmpImage& img) {
    std::vector<uint8_t> bytes = EncodeBmp24(img);
    std::ofstream(dir / "cg" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  void WritePicture(const std::string& name, Rgb colour, int w = 300, int h = 300) {
    BmpImage img;
    img.width = w;
    img.height = h;
    img.pixels.assign(static_cast<size_t>(w) * h, colour.Packed());
    WritePicture(name, img);
  }

  static std::filesystem::path MakeDir() {
    static std::atomic<int> serial{0};
    auto d = std::filesystem::temp_directory_path() /
             ("pomurie_screen_" + std::to_string(::getpid()) + "_" + std::to_string(serial++));
    std::filesystem::remove_all(d);
    std::filesystem::create_directories(d / "dat");
    std::filesystem::create_directories(d / "cg");
    return d;
  }

  std::filesystem::path dir;
  HeadlessPlatform plat;
  std::unique_ptr<Game> g;
  ShellEvents events;
};
