// SPDX-License-Identifier: GPL-3.0-or-later
// The autoplay's own parts: its invariants catch what they promise to catch,
// and its chart is a PNG any viewer reads.
#include <gtest/gtest.h>

#include <functional>

#include "tests/shell_fixture.h"
#include "tools/autoplay/autoplay.h"
#include "tools/autoplay/chart.h"
#include "tools/autoplay/invariants.h"
#include "tools/autoplay/png.h"
#include "town/character.h"

namespace {

TEST(AutoplayInvariants, EachBrokenRangeIsReported) {
  struct Case {
    const char* name;
    std::function<void(Game&)> spoil;
    const char* expected;  // a piece of the report, or "" when nothing is broken
  };
  const Case cases[] = {
      {"new game", [](Game&) {}, ""},
      {"fullness above 100", [](Game& g) { g.unit[kPlayer].fullness = 101; }, "fullness 101"},
      {"fullness below 0", [](Game& g) { g.unit[kPlayer].fullness = -1; }, "fullness -1"},
      {"hours past the day", [](Game& g) { g.my.hours_used = 11; }, "hours_used 11"},
      {"hours given back by an item", [](Game& g) { g.my.hours_used = -2; }, ""},
      {"count of 100", [](Game& g) { g.my.item_count[12] = 100; }, "item 12"},
      {"negative count", [](Game& g) { g.my.item_count[999] = -1; }, "item 999"},
      {"order in slot 0",
       [](Game& g) {
         g.my.orders[0] = {"a", 12, 1};
       },
       "slot 0"},
      {"order without customer", [](Game& g) { g.my.orders[3].item = 12; }, "slot 3"},
      {"order of no item",
       [](Game& g) {
         g.my.orders[10] = {"b", -1, 2};
       },
       "slot 10"},
      {"negative HP", [](Game& g) { g.unit[kPlayer].hp = -1; }, "HP"},
  };
  for (const Case& c : cases) {
    GameRun run;
    Game& g = *run.g;
    NewGame(g);
    g.item_def[12].name = "x";
    StepWatch watch;
    std::vector<std::string> broken;
    CheckStep(g, watch, 0, 1000, broken);  // the first step is the baseline
    ASSERT_TRUE(broken.empty()) << c.name;
    c.spoil(g);
    CheckStep(g, watch, 0, 1000, broken);
    if (*c.expected == '\0') {
      EXPECT_TRUE(broken.empty()) << c.name << ": " << (broken.empty() ? "" : broken[0]);
    } else {
      ASSERT_EQ(broken.size(), 1u) << c.name;
      EXPECT_NE(broken[0].find(c.expected), std::string::npos) << c.name << ": " << broken[0];
    }
  }
  std::vector<std::string> broken;
  StepWatch watch;
  GameRun run;
  CheckStep(*run.g, watch, 5000, 4096, broken);
  EXPECT_EQ(broken.size(), 1u) << "a stack deeper than the limit";
}

TEST(AutoplayInvariants, SaveReloadAgreesOnEveryValueAndTheFileIsWritten) {
  GameRun run;
  run.Start();
  Game& g = *run.g;
  NewGame(g);
  g.unit[kPlayer].name = "Mr Cake";
  g.my.orders[4] = {"c", 12, 3};
  g.my.money = -5;
  g.spare_time = 1.5;
  std::vector<std::string> broken;
  CheckSaveReload(g, broken);
  EXPECT_TRUE(broken.empty()) << broken[0];
  EXPECT_NE(run.SaveBytes().find("Mr Cake\r\n"), std::string::npos);
}

TEST(AutoplayChart, IsAValidPngWithTheExpectedChecksums) {
  const std::string check = "123456789";
  const auto* bytes = reinterpret_cast<const uint8_t*>(check.data());
  EXPECT_EQ(Crc32(bytes, check.size()), 0xCBF43926u);  // the published check values
  EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>("Wikipedia"), 9), 0x11E60398u);

  std::vector<DayRow> rows(3);
  for (int i = 0; i < 3; ++i) rows[i] = DayRow{i + 1, 300 * i, 50, 0, i, 0, 100};
  const IndexedImage img = DrawChart(rows);
  const std::vector<uint8_t> png = EncodePng(img);
  ASSERT_GT(png.size(), 8u + 25u);
  EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
  EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
  EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
  // Stored blocks: the picture's bytes plus one filter byte a row, in 65535-byte blocks.
  const size_t raw = static_cast<size_t>(img.height) * (img.width + 1);
  const size_t blocks = (raw + 65534) / 65535;
  EXPECT_EQ(png.size(), 8 + 25 + (12 + 3 * img.palette.size()) + (12 + 2 + raw + 5 * blocks + 4) + 12);
}

}  // namespace

namespace {

// Long lives played by the autoplay on a thread of a small stack, every promise
// checked after every input and a save-and-reload at every night. The sanitizer
// build is many times slower, so it plays shorter lives of the same seeds.
struct Soak {
  const char* strategy;
  uint32_t seed;
  int days;           // 0: a new game to old age (cut short in the sanitizer build)
  bool rich = false;  // a made character with late-game stats, money, skills and five of every item
};

// A character who can reach every field, fight in the cave and sell anything.
void MakeRich(Game& g) {
  g.my.money = 50000;
  g.my.fame = 80;
  for (int i = 1; i < kItemCount; ++i)
    if (!g.item_def[i].name.empty()) g.my.item_count[i] = 5;
  tman& me = g.unit[kPlayer];
  me.level = me.level_peak = 30;
  me.max_hp = me.hp = 300;
  me.max_mp = me.mp = 50;
  me.strength = me.defence = me.hit = me.evasion = me.magic = me.spirit = 30;
  me.cook_skill = 10;
  me.explore_skill = 20;
}
#if defined(__SANITIZE_ADDRESS__)
constexpr int kSoakDivisor = 20;
constexpr size_t kSoakStack = 512 * 1024;  // sanitizer frames are larger
#else
constexpr int kSoakDivisor = 1;
constexpr size_t kSoakStack = 256 * 1024;
#endif

class AutoplaySoak : public ::testing::TestWithParam<Soak> {};

TEST_P(AutoplaySoak, PlaysOnWithEveryPromiseKept) {
  const Soak& s = GetParam();
  AutoplayOptions o;
  o.strategy = s.strategy;
  o.seed = s.seed;
  o.days = s.days > 0 ? s.days / kSoakDivisor : kSoakDivisor == 1 ? 100000 : 1000 / kSoakDivisor;
  o.lifespan = s.days > 0 ? o.days + 100 : 0;
  o.assets_dir = POMURIE_BUILD_DIR;
  o.stack_bytes = kSoakStack;
  if (s.rich) o.shape_character = MakeRich;
  o.close_check_every = 7;  // a close tried at one wait in seven: saves hold whole actions only
  const AutoplayResult r = RunAutoplay(o);
  ASSERT_EQ(r.error, "");
  for (const Failure& f : r.failures) ADD_FAILURE() << Describe(f);
  // Items that age the player may end a long life early; nothing else may.
  EXPECT_TRUE(r.old_age || r.days_played == o.days) << r.days_played << " days";
  EXPECT_GT(r.inputs, r.days_played) << "every day takes inputs";
  EXPECT_GT(r.close_checks, r.inputs / 10);
}

INSTANTIATE_TEST_SUITE_P(Lives, AutoplaySoak,
                         ::testing::Values(Soak{"sensible", 1, 1000}, Soak{"sensible", 2, 1000},
                                           Soak{"sensible", 3, 1000}, Soak{"random", 1, 1000}, Soak{"sensible", 4, 0},
                                           Soak{"random", 5, 0}, Soak{"sensible", 6, 500, true},
                                           Soak{"random", 7, 60, true}),
                         [](const auto& info) {
                           return std::string(info.param.strategy) + (info.param.rich ? "_rich" : "") + "_seed" +
                                  std::to_string(info.param.seed);
                         });

}  // namespace
