// SPDX-License-Identifier: GPL-3.0-or-later
// pomurie-autoplay: plays the game headless for many days and reports.
// Exit status: 0 all promises held, 1 some broke, 2 a usage or start-up error.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/paths.h"
#include "tools/autoplay/autoplay.h"
#include "tools/autoplay/chart.h"

namespace {

constexpr const char* kUsage =
    "usage: pomurie-autoplay [--days N] [--seed N] [--strategy sensible|random]\n"
    "                        [--load my.dat] [--assets DIR] [--csv FILE] [--chart FILE.png]\n"
    "                        [--lifespan N] [--tick-every N] [--no-night-save] [--keep-going]\n"
    "                        [--close-check N]\n"
    "  --days N        nights to play (default 1000); old age ends the game sooner\n"
    "  --seed N        seed of the game and of the player (default 1)\n"
    "  --load FILE     start from this save file instead of a new game\n"
    "  --lifespan N    start with a made character who lives N days (long soaks)\n"
    "  --assets DIR    folder with the build's cg/ and dat/ (default: beside this program)\n"
    "  --tick-every N  a timer tick (drawn frame, state clamp) every N inputs (default 1; 0 never)\n"
    "  --no-night-save skip the save-and-reload check at each night\n"
    "  --keep-going    go on after a broken promise (up to 20)\n"
    "  --close-check N at one wait in N (1: every wait), save as a closing game would\n"
    "                  and check that the file holds whole actions only\n";

bool ToInt(const char* s, long long& out) {
  char* end = nullptr;
  out = std::strtoll(s, &end, 10);
  return end != s && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
  AutoplayOptions o;
  o.assets_dir = RunningExeDir();
  std::string csv, chart;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool has_value = i + 1 < argc;
    long long n = 0;
    if (a == "--days" && has_value && ToInt(argv[i + 1], n) && n >= 0) {
      o.days = static_cast<int>(n), ++i;
    } else if (a == "--seed" && has_value && ToInt(argv[i + 1], n)) {
      o.seed = static_cast<uint32_t>(n), ++i;
    } else if (a == "--tick-every" && has_value && ToInt(argv[i + 1], n) && n >= 0) {
      o.tick_every = static_cast<int>(n), ++i;
    } else if (a == "--close-check" && has_value && ToInt(argv[i + 1], n) && n >= 0 && n < 1000000000) {
      o.close_check_every = static_cast<int>(n), ++i;
    } else if (a == "--lifespan" && has_value && ToInt(argv[i + 1], n) && n > 0 && n < 1000000) {
      o.lifespan = static_cast<int>(n), ++i;
    } else if (a == "--strategy" && has_value) {
      o.strategy = argv[++i];
    } else if (a == "--load" && has_value) {
      o.save_file = argv[++i];
    } else if (a == "--assets" && has_value) {
      o.assets_dir = argv[++i];
    } else if (a == "--csv" && has_value) {
      csv = argv[++i];
    } else if (a == "--chart" && has_value) {
      chart = argv[++i];
    } else if (a == "--no-night-save") {
      o.save_each_night = false;
    } else if (a == "--keep-going") {
      o.keep_going = true;
    } else {
      std::fprintf(stderr, "%s", kUsage);
      return a == "--help" || a == "-h" ? 0 : 2;
    }
  }

  const AutoplayResult r = RunAutoplay(o);
  if (!r.error.empty()) {
    std::fprintf(stderr, "pomurie-autoplay: %s\n", r.error.c_str());
    return 2;
  }
  std::printf("%s", Summary(o, r).c_str());
  for (const Failure& f : r.failures) std::printf("\nBROKEN: %s", Describe(f).c_str());
  int status = r.failures.empty() ? 0 : 1;
  if (!csv.empty() && !WriteCsv(csv, r)) {
    std::fprintf(stderr, "pomurie-autoplay: cannot write %s\n", csv.c_str());
    status = 2;
  }
  if (!chart.empty() && !WriteChart(chart, r.rows)) {
    std::fprintf(stderr, "pomurie-autoplay: cannot write %s\n", chart.c_str());
    status = 2;
  }
  return status;
}
