// SPDX-License-Identifier: GPL-3.0-or-later
// The autoplay: the real game on the headless platform, played through the
// platform's scripted events only, from a new game or a given my.dat, with the
// promises of the rules checked after every step and a save-reload at every night.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Game;

struct AutoplayOptions {
  uint32_t seed = 1;
  int days = 1000;  // stops after this many nights (or at old age)
  std::string strategy = "sensible";
  std::string save_file;                       // a my.dat to start from; empty: a new game
  int lifespan = 0;                            // > 0: start with a made character who lives this many days
  std::function<void(Game&)> shape_character;  // with `lifespan`: changes the made character before play
  std::string assets_dir;                      // folder holding cg/ and dat/ of a build; empty: none
  std::string game_dir;                        // where the game's files go; empty: a fresh temporary folder
  // A timer tick (a drawn frame, the state clamp) every N inputs; 0 never. Virtual
  // time passes only with ticks, and sounds end only as it passes: without ticks
  // every sound played stays queued, as if the player clicked faster than light.
  int tick_every = 1;
  bool save_each_night = true;         // the save-reload check at every night
  size_t stack_bytes = 1024 * 1024;    // stack of the thread the game runs on
  size_t stack_limit = 256 * 1024;     // deepest stack allowed at a step
  int64_t max_inputs_per_day = 20000;  // more without a night is a loop that does not end
  int log_lines = 12;                  // log lines kept for a failure report
  bool keep_going = false;             // go on after a broken promise
  // The close-anywhere check at one wait in N, drawn from the seed (1: every wait;
  // 0: never): what a closing game would save, loaded back, must be the state at
  // the start or at the end of the running action.
  int close_check_every = 0;
};

struct DayRow {
  int32_t day = 0;  // day_count after the night
  int32_t money = 0, fame = 0, rank = 0, level = 0, age = 0, lifespan = 0;
  int64_t sales = 0, battles_won = 0, battles_lost = 0, cooked = 0;
};

struct Failure {
  uint32_t seed = 0;
  int32_t day = 0;
  std::string what;
  std::vector<std::string> last_lines;  // UTF-8, oldest first
  std::string screen;                   // what the screen offered then
};

struct AutoplayResult {
  int days_played = 0;
  bool old_age = false;
  double seconds = 0;  // processor time of the play
  int64_t inputs = 0;
  int64_t close_checks = 0;  // waits at which a close was tried
  size_t deepest_stack = 0;
  int32_t money = 0, fame = 0, rank = 0, level = 0;
  int64_t sales = 0, battles_won = 0, battles_lost = 0, cooked = 0;
  std::vector<DayRow> rows;
  std::vector<Failure> failures;
  std::string error;  // could not start at all
};

AutoplayResult RunAutoplay(const AutoplayOptions& options);

// The summary printed at the end, one figure a line.
std::string Summary(const AutoplayOptions& options, const AutoplayResult& result);
// A failure with its seed, day and last log lines.
std::string Describe(const Failure& f);
// One row per day, with a header line. False when the file cannot be written.
bool WriteCsv(const std::string& path, const AutoplayResult& result);
