// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/autoplay/autoplay.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "core/action.h"
#include "core/game.h"
#include "core/save.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "shell/startup.h"
#include "tools/autoplay/invariants.h"
#include "tools/autoplay/screen_reader.h"
#include "tools/autoplay/strategy.h"
#include "town/character.h"

namespace fs = std::filesystem;

namespace {

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Shared memory when the machine has it: the nightly save must not wait for a disk.
fs::path FreshGameDir(uint32_t seed) {
  static std::atomic<int> serial{0};
  std::error_code ec;
  fs::path base = fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm")
                                                                                      : fs::temp_directory_path();
  return base / ("pomurie_autoplay_" + std::to_string(::getpid()) + "_" + std::to_string(seed) + "_" +
                 std::to_string(serial++));
}

// The game's folder: the build's pictures and sounds linked in, my.dat copied.
std::string PrepareGameDir(const AutoplayOptions& o, const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir / "dat", ec);
  if (ec) return "cannot create " + dir.string() + ": " + ec.message();
  if (!o.assets_dir.empty()) {
    const fs::path assets(o.assets_dir);
    if (fs::is_directory(assets / "cg", ec)) fs::create_directory_symlink(fs::absolute(assets / "cg"), dir / "cg", ec);
    for (const auto& e : fs::directory_iterator(assets / "dat", ec)) {
      const std::string name = e.path().filename().string();
      if (name.rfind("my.dat", 0) == 0) continue;  // never play on the build's own save
      fs::create_symlink(fs::absolute(e.path()), dir / "dat" / name, ec);
    }
  }
  if (!fs::exists(dir / "cg")) fs::create_directories(dir / "cg", ec);
  if (!o.save_file.empty()) {
    fs::copy_file(o.save_file, dir / "dat" / "my.dat", fs::copy_options::overwrite_existing, ec);
    if (ec) return "cannot read " + o.save_file + ": " + ec.message();
  } else if (o.lifespan > 0) {
    // A character made at the title already (bonus points still to spend) who
    // lives long enough for a long soak: years of play in one life.
    HeadlessPlatform scratch_plat(dir.string());
    auto scratch = std::make_unique<Game>(scratch_plat);
    NewGame(*scratch);
    scratch->my.flag[0] = 1;
    scratch->unit[kPlayer].name = J("ぽむりえ");
    scratch->unit[kPlayer].lifespan_days = o.lifespan;
    if (o.shape_character) o.shape_character(*scratch);
    std::ofstream(dir / "dat" / "my.dat", std::ios::binary) << FormatSaveData(*scratch);
  }
  return {};
}

class Session {
 public:
  Session(const AutoplayOptions& o, AutoplayResult& r, const fs::path& dir)
      : opt_(o),
        res_(r),
        plat_(dir.string()),
        g_(std::make_unique<Game>(plat_)),
        strategy_(MakeStrategy(o.strategy, o.seed ^ 0x5eedu)) {}

  void Run() {
    volatile char base = 0;
    stack_base_ = reinterpret_cast<uintptr_t>(&base);
    plat_.SetNowMs(opt_.seed);  // start-up seeds the game's generator from the clock
    plat_.idle_close_ticks = 1 << 30;
    plat_.SetIdleHandler([this] { Step(); });
    if (opt_.close_check_every > 0) g_->action.observer = [this](Game& g, ActionEdge edge) { OnAction(g, edge); };
    const double start = ThreadCpuSeconds();
    RunProgram(*g_);
    res_.seconds = ThreadCpuSeconds() - start;
    Finish();
  }

 private:
  void Step() {
    if (stopping_) return;
    volatile char marker = 0;
    const size_t depth = stack_base_ - reinterpret_cast<uintptr_t>(&marker);
    res_.deepest_stack = std::max(res_.deepest_stack, depth);
    Game& g = *g_;
    ReadNewLines();
    std::vector<std::string> broken;
    CheckStep(g, watch_, depth, opt_.stack_limit, broken);
    if (g.GamePhase == 0 && start_day_ < 0) start_day_ = last_day_ = g.my.day_count;
    if (start_day_ >= 0 && g.my.day_count != last_day_) {  // a night has passed
      if (opt_.save_each_night) CheckSaveReload(g, broken);
      last_day_ = g.my.day_count;
      inputs_today_ = 0;
      AddRow();
    }
    if (opt_.close_check_every > 0 && close_rng_() % static_cast<uint32_t>(opt_.close_check_every) == 0)
      CheckCloseHere(g, broken);
    for (std::string& what : broken) Fail(std::move(what));
    if (stopping_) return;
    if (start_day_ >= 0 && g.my.day_count - start_day_ >= opt_.days) return Stop();
    if (++inputs_today_ > opt_.max_inputs_per_day) {
      Fail("no night came in " + std::to_string(opt_.max_inputs_per_day) + " inputs");
      return;
    }
    const Screen screen = ReadScreen(g, plat_);
    if (screen.offers.empty()) {
      // Nothing to click, pick or press: a few ticks may bring a screen; many mean a dead end.
      if (++idle_steps_ > 200) {
        Fail("the game waits but offers no input");
        Stop();  // nothing more can happen
        return;
      }
      plat_.QueueTicks(1);
      return;
    }
    idle_steps_ = 0;
    const Input in = strategy_->Choose(g, screen);
    if (opt_.tick_every > 0 && res_.inputs % opt_.tick_every == 0) plat_.QueueTicks(1);
    Perform(plat_, in, strategy_->Name());
    ++res_.inputs;
  }

  // Saves as a closing game would, loads the bytes into a fresh state and keeps
  // what it finds for the end of the action unless it is the action's start.
  void CheckCloseHere(Game& g, std::vector<std::string>& broken) {
    ++res_.close_checks;
    const std::string saved = WholeSaveData(g);
    auto fresh = std::make_unique<GameState>();
    if (!ParseSaveData(*fresh, saved)) broken.push_back("a save made at a close reads back as damaged");
    std::string loaded = FormatSaveData(*fresh);
    if (loaded != saved)
      broken.push_back("a save made at a close loads as another state at " + FirstDifference(saved, loaded));
    if (!g.action.running) {
      if (loaded != FormatWholeState(g))
        broken.push_back("a close between actions saves another state at " +
                         FirstDifference(FormatWholeState(g), loaded));
      return;
    }
    if (loaded == action_start_) return;
    if (closed_mid_action_.size() < 16) closed_mid_action_.push_back({std::move(loaded), WhereNow(g)});
  }

  void OnAction(Game& g, ActionEdge edge) {
    if (edge == ActionEdge::Begin) {
      action_start_ = g.action.start_bytes;  // formatted by the game as the action began
      closed_mid_action_.clear();
      return;
    }
    const std::string end = FormatWholeState(g);
    for (const auto& [saved, where] : closed_mid_action_) {
      if (saved != end)
        Fail("closing at " + where + " saves half an action: " + FirstDifference(action_start_, saved) +
             " differs from the start, " + FirstDifference(end, saved) + " from the end");
    }
    closed_mid_action_.clear();
  }

  std::string WhereNow(Game& g) {
    const Screen screen = ReadScreen(g, plat_);
    return "day " + std::to_string(g.my.day_count) + " [" + DescribeScreen(screen) + "] after \"" +
           (recent_.empty() ? std::string() : recent_.back()) + "\"";
  }

  // New log lines are at the front; the first shift that lines the old log up
  // with the new one tells how many arrived.
  void ReadNewLines() {
    const auto& log = g_->MessageLog;
    int fresh = kLogSize;
    for (int k = 0; k <= kLogSize; ++k) {
      bool same = true;
      for (int i = k; i < kLogSize && same; ++i)
        same = log[i].text == seen_[i - k].text && log[i].color == seen_[i - k].color;
      if (same) {
        fresh = k;
        break;
      }
    }
    for (int i = fresh - 1; i >= 0; --i) {
      const std::string& line = log[i].text;
      if (line.empty()) continue;
      strategy_->Observe(*g_, line);
      Count(line);
      recent_.push_back(Cp932ToUtf8(line));
      while (static_cast<int>(recent_.size()) > opt_.log_lines) recent_.pop_front();
    }
    seen_ = log;
  }

  void Count(const std::string& line) {
    static const std::string kWon = J("をやっつけた"), kLost = J("円失ってしまった.."), kCooked = J("が完成した☆"),
                             kSold = J("】が売れました!!");
    if (line.find(kWon) != std::string::npos) ++res_.battles_won;
    if (line.find(kLost) != std::string::npos) ++res_.battles_lost;
    if (line.find(kCooked) != std::string::npos) ++res_.cooked;
    if (line.find(kSold) != std::string::npos) ++res_.sales;
  }

  void AddRow() {
    const Game& g = *g_;
    DayRow r;
    r.day = g.my.day_count;
    r.money = g.my.money;
    r.fame = g.my.fame;
    r.rank = g.my.shop_rank;
    r.level = g.unit[kPlayer].level;
    r.age = g.unit[kPlayer].age_days;
    r.lifespan = g.unit[kPlayer].lifespan_days;
    r.sales = res_.sales;
    r.battles_won = res_.battles_won;
    r.battles_lost = res_.battles_lost;
    r.cooked = res_.cooked;
    res_.rows.push_back(r);
  }

  void Fail(std::string what) {
    Failure f;
    f.seed = opt_.seed;
    f.day = g_->my.day_count;
    f.what = std::move(what);
    f.last_lines.assign(recent_.begin(), recent_.end());
    f.screen = DescribeScreen(ReadScreen(*g_, plat_));
    res_.failures.push_back(std::move(f));
    if (!opt_.keep_going || res_.failures.size() >= 20) Stop();
  }

  void Stop() {
    stopping_ = true;
    plat_.QueueClose();
  }

  void Finish() {
    const Game& g = *g_;
    const tman& me = g.unit[kPlayer];
    res_.days_played = start_day_ < 0 ? 0 : last_day_ - start_day_;
    res_.old_age = g.my.flag[0] == 1 && me.lifespan_days > 0 && me.age_days >= me.lifespan_days;
    res_.money = g.my.money;
    res_.fame = g.my.fame;
    res_.rank = g.my.shop_rank;
    res_.level = me.level;
  }

  const AutoplayOptions& opt_;
  AutoplayResult& res_;
  HeadlessPlatform plat_;
  std::unique_ptr<Game> g_;
  std::unique_ptr<Strategy> strategy_;
  StepWatch watch_;
  std::array<tmoji_efe, kLogSize> seen_{};
  std::deque<std::string> recent_;
  uintptr_t stack_base_ = 0;
  int32_t start_day_ = -1;
  int32_t last_day_ = 0;
  int64_t inputs_today_ = 0;
  int idle_steps_ = 0;
  bool stopping_ = false;
  std::minstd_rand close_rng_{opt_.seed * 2654435761u + 1};
  std::string action_start_;
  std::vector<std::pair<std::string, std::string>> closed_mid_action_;  // saved bytes, where
};

struct ThreadArgs {
  Session* session;
};

void* RunSession(void* arg) {
  static_cast<ThreadArgs*>(arg)->session->Run();
  return nullptr;
}

}  // namespace

AutoplayResult RunAutoplay(const AutoplayOptions& o) {
  AutoplayResult res;
  if (!MakeStrategy(o.strategy, 0)) {
    res.error = "unknown strategy \"" + o.strategy + "\" (random, sensible)";
    return res;
  }
  const bool own_dir = o.game_dir.empty();
  const fs::path dir = own_dir ? FreshGameDir(o.seed) : fs::path(o.game_dir);
  res.error = PrepareGameDir(o, dir);
  if (res.error.empty()) {
    // The game runs on a thread of a known, small stack: a session that grows
    // the stack with every menu would end in a crash here, not in a year of play.
    auto session = std::make_unique<Session>(o, res, dir);
    ThreadArgs args{session.get()};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, o.stack_bytes);
    pthread_t thread;
    if (pthread_create(&thread, &attr, RunSession, &args) == 0) {
      pthread_join(thread, nullptr);
    } else {
      res.error = "cannot start the game thread";
    }
    pthread_attr_destroy(&attr);
  }
  if (own_dir) {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  return res;
}

std::string Summary(const AutoplayOptions& o, const AutoplayResult& r) {
  char buf[2048];
  const double per_second = r.seconds > 0 ? r.days_played / r.seconds : 0;
  std::snprintf(buf, sizeof buf,
                "strategy          %s\n"
                "seed              %u\n"
                "days played       %d%s\n"
                "days per second   %.1f (%.2f s of processor time, %lld inputs)\n"
                "money             %d\n"
                "fame              %d\n"
                "RANK              %d\n"
                "level             %d\n"
                "sales             %lld\n"
                "battles won/lost  %lld/%lld\n"
                "recipes cooked    %lld\n"
                "close checks      %lld\n"
                "deepest stack     %zu bytes\n"
                "broken promises   %zu\n",
                o.strategy.c_str(), o.seed, r.days_played, r.old_age ? " (old age)" : "", per_second, r.seconds,
                static_cast<long long>(r.inputs), r.money, r.fame, r.rank, r.level, static_cast<long long>(r.sales),
                static_cast<long long>(r.battles_won), static_cast<long long>(r.battles_lost),
                static_cast<long long>(r.cooked), static_cast<long long>(r.close_checks), r.deepest_stack,
                r.failures.size());
  return buf;
}

std::string Describe(const Failure& f) {
  std::string s = "seed " + std::to_string(f.seed) + ", day " + std::to_string(f.day) + ": " + f.what + "\n";
  if (!f.screen.empty()) s += "  screen: " + f.screen + "\n";
  for (const std::string& line : f.last_lines) s += "    | " + line + "\n";
  return s;
}

bool WriteCsv(const std::string& path, const AutoplayResult& r) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << "day,money,fame,rank,level,age,lifespan,sales,battles_won,battles_lost,cooked\n";
  for (const DayRow& d : r.rows) {
    out << d.day << ',' << d.money << ',' << d.fame << ',' << d.rank << ',' << d.level << ',' << d.age << ','
        << d.lifespan << ',' << d.sales << ',' << d.battles_won << ',' << d.battles_lost << ',' << d.cooked << '\n';
  }
  return static_cast<bool>(out.flush());
}
