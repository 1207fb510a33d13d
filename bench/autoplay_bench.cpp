// Simulated game days per second: the sensible player on the headless platform,
// a made character with a long life, no drawing between inputs (the timer's
// picture is the drawing benchmarks' business). Target: 100 days a second.
#include <benchmark/benchmark.h>

#include "tools/autoplay/autoplay.h"

namespace {

void RunDays(benchmark::State& state, int tick_every) {
  int64_t days = 0;
  double seconds = 0;
  uint32_t seed = 1;
  for (auto _ : state) {
    AutoplayOptions o;
    o.seed = seed++;
    o.days = static_cast<int>(state.range(0));
    o.lifespan = o.days + 100;
    o.tick_every = tick_every;
    o.save_each_night = false;
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

void BM_SensibleDays(benchmark::State& state) { RunDays(state, 0); }
// The same with a timer tick (a drawn frame, the state clamp) every fourth input.
void BM_SensibleDaysDrawn(benchmark::State& state) { RunDays(state, 4); }

BENCHMARK(BM_SensibleDays)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SensibleDaysDrawn)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace
