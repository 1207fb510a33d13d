// SPDX-License-Identifier: GPL-3.0-or-later
// Simulated game days per second: the sensible player on the headless platform
// with the build's own pictures and sounds, a made character with a long life and
// a timer tick (so virtual time passes and sounds end) before every input.
// Target: 100 days a second.
#include <benchmark/benchmark.h>

#include "platform/paths.h"
#include "tools/autoplay/autoplay.h"

namespace {

void RunDays(benchmark::State& state, bool save_each_night) {
  int64_t days = 0;
  double seconds = 0;
  uint32_t seed = 1;
  for (auto _ : state) {
    AutoplayOptions o;
    o.seed = seed++;
    o.days = static_cast<int>(state.range(0));
    o.lifespan = o.days + 100;
    o.assets_dir = RunningExeDir();  // the build's cg/ and dat/ are beside it
    o.save_each_night = save_each_night;
    const AutoplayResult r = RunAutoplay(o);
    if (!r.error.empty() || !r.failures.empty()) {
      state.SkipWithError(r.error.empty() ? r.failures.front().what.c_str() : r.error.c_str());
      return;
    }
    days += r.days_played;
    seconds += r.seconds;
  }
  state.counters["days"] = static_cast<double>(days);
  state.counters["days_per_second"] = seconds > 0 ? static_cast<double>(days) / seconds : 0;
}

// The simulation alone, and with the save-and-reload check of every night.
void BM_SensibleDays(benchmark::State& state) { RunDays(state, false); }
void BM_SensibleDaysWithNightlySave(benchmark::State& state) { RunDays(state, true); }

BENCHMARK(BM_SensibleDays)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SensibleDaysWithNightlySave)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
