// SPDX-License-Identifier: GPL-3.0-or-later
// assetgen <output dir>: writes every picture, sound and the customer names
// the game loads into <output dir>/cg and <output dir>/dat.
#include <chrono>
#include <cstdio>
#include <string>

#include "assets.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output dir>\n", argv[0]);
    return 2;
  }
  auto t0 = std::chrono::steady_clock::now();
  assetgen::GenerateReport report;
  std::string error;
  if (!assetgen::GenerateAssets(argv[1], &report, &error)) {
    std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return 1;
  }
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
  std::printf("assetgen: %d pictures, %d sounds, %d tunes written to %s in %lld ms\n", report.pictures, report.sounds,
              report.tunes, argv[1], static_cast<long long>(ms));
  return 0;
}
