// SPDX-License-Identifier: GPL-3.0-or-later
// dat/my.dat, dat/name.dat and the play record: format, round trip, damage and
// failures, on the headless platform in a fresh folder per test.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <variant>
#include <vector>

#include "core/game.h"
#include "core/guest_names.h"
#include "core/play_record.h"
#include "core/save.h"
#include "platform/file_guard.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "shell/startup.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteFile(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
std::vector<std::string> Lines(const std::string& bytes) {  // CR LF lines
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t eol = bytes.find("\r\n", pos);
    if (eol == std::string::npos) eol = bytes.size();
    out.push_back(bytes.substr(pos, eol - pos));
    pos = eol + 2;
  }
  return out;
}

using Slot = std::variant<int32_t*, std::string*, double*>;

// Every saved value in the order of the file's lines, written from the format's
// block table independently of the code under test.
std::vector<Slot> FileOrder(GameState& s) {
  tmy& my = s.my;
  tman& p = s.unit[kPlayer];
  std::vector<Slot> v;
  auto add = [&v](std::initializer_list<int32_t*> xs) { v.insert(v.end(), xs.begin(), xs.end()); };
  for (int i = 0; i < 100; ++i) v.push_back(&my.flag[i]);
  for (int i = 0; i < 1000; ++i) v.push_back(&my.item_count[i]);
  for (int i = 0; i < 100; ++i) v.push_back(&my.spare_f[i]);
  add({&my.money, &my.fame, &my.flag[114], &my.flag[115], &my.week_sales, &my.flag[107], &my.day_count, &my.spare_a,
       &my.load_count, &my.play_count, &my.flag[100], &my.day_hours, &my.player_x, &my.player_y});
  for (int k = 0; k < 20; ++k) add({&my.spare_g[k], &my.spare_h[k]});
  for (int i = 0; i < 1000; ++i) v.push_back(&my.spare_seal[i]);
  add({&my.spare_c, &my.flag[102], &my.flag[103], &my.flag[101], &my.location, &my.flag[110], &my.spare_b,
       &my.draw_speed});
  for (int i = 0; i < 11; ++i) v.push_back(&my.spare_k[i]);
  for (int i = 0; i < 11; ++i) v.push_back(&my.spare_l[i]);
  v.push_back(&my.hours_used);
  v.push_back(&p.name);
  // clang-format off
  add({&p.bp, &p.fullness, &p.level_peak, &p.level, &p.exp, &p.max_hp, &p.hp, &p.mp, &p.max_mp, &p.tp, &p.spare_m});
  add({&p.map_x, &p.map_y, &p.defence, &p.spirit, &p.strength, &p.magic, &p.hit, &p.evasion});
  add({&p.extra_state_turns, &p.heal_state_turns, &p.mana_state_turns, &p.spirit_state_turns, &p.attack_up_turns,
       &p.phys_defence_up_turns, &p.magic_attack_up_turns, &p.magic_defence_up_turns, &p.find_boost,
       &p.full_state_turns, &p.reflect_turns, &p.guard_all, &p.stomachache_turns, &p.poison_turns,
       &p.paralysis_turns});
  add({&p.spare_n, &p.cook_skill, &p.spare_o, &p.spare_p, &p.spare_q, &p.spare_r, &p.infinite_state_turns,
       &p.spare_s, &p.lifespan_days, &p.age_days, &p.spare_t, &p.logic_attack_up_turns, &p.logic_defence_up_turns,
       &p.logic_armour_turns, &p.explore_skill, &p.sold_out[0], &p.sold_out[1], &p.sold_out[2], &p.sold_out[3],
       &p.sold_out[4], &p.guard_turns});
  // clang-format on
  v.push_back(&s.spare_time);
  for (int i = 0; i < 20; ++i) v.push_back(&my.spare_i[i]);
  for (int i = 0; i < 20; ++i) v.push_back(&my.spare_j[i]);
  add({&my.week_visitors, &my.total_visitors, &my.total_sales, &my.rank_progress, &my.shop_rank, &my.week_buyers});
  for (int slot = 1; slot <= 10; ++slot) {
    v.push_back(&my.orders[slot].customer);
    add({&my.orders[slot].item, &my.orders[slot].days});
  }
  return v;
}

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/pomurie_save_XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    fs::create_directories(dir_ / "dat");
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_ / "dat", fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  std::unique_ptr<Game> NewGame() {
    platforms_.push_back(std::make_unique<HeadlessPlatform>(dir_.string()));
    return std::make_unique<Game>(*platforms_.back());
  }
  HeadlessPlatform& Plat(Game& g) { return static_cast<HeadlessPlatform&>(g.plat); }
  fs::path MyDat() const { return dir_ / "dat" / "my.dat"; }
  fs::path Damaged() const { return dir_ / "dat" / "my.dat.damaged"; }

  fs::path dir_;
  std::vector<std::unique_ptr<HeadlessPlatform>> platforms_;
};

// A state in which every saved value differs from its neighbours and from 0.
void FillDistinct(GameState& s) {
  int32_t next = -1200;
  for (Slot& slot : FileOrder(s)) {
    if (auto* i = std::get_if<int32_t*>(&slot)) **i = next += 7;
  }
  s.my.flag[0] = 1;
  s.my.money = INT_MAX;
  s.my.fame = INT_MIN;
  s.unit[kPlayer].name = J("ﾍｯﾄﾞ  A-1 ソ表\\ ") + "\x81\x5c";  // spaces, ASCII, 0x5C trail bytes
  s.spare_time = 45123.375;
  for (int slot = 1; slot <= 10; ++slot) {
    s.my.orders[slot] = slot % 3 == 0 ? torder{} : torder{J("お客さん ") + Num(slot), 400 + slot, slot};
  }
}

TEST_F(SaveTest, FileHasEveryValueOnItsOwnLine) {
  auto g = NewGame();
  FillDistinct(*g);
  g->my.orders[0] = torder{"slot zero", 77, 5};
  ASSERT_TRUE(Save(*g));
  const std::string bytes = ReadFile(MyDat());
  ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  const std::vector<std::string> lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 2418u);
  std::vector<Slot> order = FileOrder(*g);
  ASSERT_EQ(order.size(), 2418u);
  for (size_t i = 0; i < order.size(); ++i) {
    std::string want;
    if (auto* n = std::get_if<int32_t*>(&order[i])) want = Num(**n);
    if (auto* t = std::get_if<std::string*>(&order[i])) want = **t;
    if (std::holds_alternative<double*>(order[i])) want = " 4.51233750000000E+0004";
    EXPECT_EQ(lines[i], want) << "line " << i + 1;
  }
  EXPECT_EQ(bytes.find("slot zero"), std::string::npos);
  EXPECT_EQ(lines[2388 + 3 * 2 + 1], "-1");  // slot 3's empty item: a minus sign and 1
}

TEST_F(SaveTest, RoundTripRestoresEverySavedValueAndCountsTheLoad) {
  auto a = NewGame();
  FillDistinct(*a);
  a->my.grade = 5;  // not saved
  a->my.flag[104] = 3;
  a->unit[kPlayer].faint_turns = 2;
  a->unit[kPlayer].power_state_turns = 4;
  ASSERT_TRUE(Save(*a));

  auto b = NewGame();
  Load(*b);
  std::vector<Slot> want = FileOrder(*a), got = FileOrder(*b);
  for (size_t i = 0; i < want.size(); ++i) {
    if (auto* n = std::get_if<int32_t*>(&want[i])) {
      const int32_t expected = *n == &a->my.load_count ? **n + 1 : **n;
      EXPECT_EQ(*std::get<int32_t*>(got[i]), expected) << "line " << i + 1;
    } else if (auto* t = std::get_if<std::string*>(&want[i])) {
      EXPECT_EQ(*std::get<std::string*>(got[i]), **t) << "line " << i + 1;
    } else {
      EXPECT_EQ(*std::get<double*>(got[i]), *std::get<double*>(want[i]));
    }
  }
  EXPECT_EQ(b->my.grade, 0);
  EXPECT_EQ(b->my.flag[104], 0);
  EXPECT_EQ(b->unit[kPlayer].faint_turns, 0);
  EXPECT_EQ(b->unit[kPlayer].power_state_turns, 0);
  EXPECT_EQ(b->my.orders[3].item, -1);
  EXPECT_EQ(b->my.orders[0].item, -1);
  EXPECT_TRUE(Plat(*b).messages.empty());
  // The load saved again and filled the catalogues.
  EXPECT_EQ(ReadFile(MyDat()), FormatSaveData(*b));
  EXPECT_FALSE(b->monster[1].name.empty());
  EXPECT_FALSE(b->item_def[1].name.empty());

  auto c = NewGame();
  Load(*c);
  EXPECT_EQ(c->my.load_count, a->my.load_count + 2);
}

TEST_F(SaveTest, RealValueHasOneFixedWidth) {
  EXPECT_EQ(FormatSaveReal(0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatSaveReal(1.5e3), " 1.50000000000000E+0003");
  EXPECT_EQ(FormatSaveReal(-2.25e-10), "-2.25000000000000E-0010");
  EXPECT_EQ(FormatSaveReal(1e300).size(), 23u);
  GameState s;
  // Line 2286 is the name, a string: an empty line there keeps the positions.
  std::vector<std::string> lines(2418, "0");
  lines[2285] = "";
  lines[2341] = "12.5";
  std::string joined;
  for (auto& l : lines) joined += l + "\r\n";
  EXPECT_TRUE(ParseSaveData(s, joined));
  EXPECT_EQ(s.spare_time, 12.5);
}

// Every way a save can be not whole, or not a file at all: each is refused,
// kept aside whole under a name of its own, told, and replaced by a fresh game.
TEST_F(SaveTest, LoaderRefusesWhatIsNotAWholePlainSave) {
  auto a = NewGame();
  FillDistinct(*a);
  ASSERT_TRUE(Save(*a));
  const std::string whole = ReadFile(MyDat());
  const std::vector<std::string> lines = Lines(whole);
  auto first = [&](int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += lines[i] + "\r\n";
    return out;
  };
  const fs::path outside = dir_ / "outside.txt";
  enum class Kept { Bytes, Fifo, Link, Folder };
  struct Case {
    const char* what;
    std::function<void()> plant;
    Kept kept;
    std::string bytes;  // for Kept::Bytes: the copy's contents
  } cases[] = {
      {"short by a line", [&] { WriteFile(MyDat(), first(2417)); }, Kept::Bytes, first(2417)},
      {"5000 bytes", [&] { WriteFile(MyDat(), whole.substr(0, 5000)); }, Kept::Bytes, whole.substr(0, 5000)},
      {"a named pipe", [&] { ASSERT_EQ(::mkfifo(MyDat().c_str(), 0644), 0); }, Kept::Fifo, ""},
      {"a link to /dev/zero", [&] { fs::create_symlink("/dev/zero", MyDat()); }, Kept::Link, ""},
      {"far too large",
       [&] {
         WriteFile(MyDat(), whole);
         fs::resize_file(MyDat(), kMaxSaveBytes + 1);
       },
       Kept::Bytes, ""},
      {"a folder", [&] { fs::create_directories(MyDat() / "inside"); }, Kept::Folder, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_ / "dat");
    fs::create_directories(dir_ / "dat");
    c.plant();
    auto g = NewGame();
    Load(*g);
    EXPECT_EQ(g->my.flag[0], 0);  // no half character: creation comes next
    EXPECT_EQ(g->unit[kPlayer].lifespan_days, 0);
    ASSERT_EQ(Plat(*g).messages.size(), 1u);
    EXPECT_NE(Plat(*g).messages[0].find(Damaged().string()), std::string::npos);
    EXPECT_EQ(Lines(ReadFile(MyDat())).size(), 2418u);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(MyDat())));
    switch (c.kept) {
      case Kept::Bytes:
        if (!c.bytes.empty()) {
          EXPECT_EQ(ReadFile(Damaged()), c.bytes);
        }
        EXPECT_TRUE(fs::is_regular_file(Damaged()));
        break;
      case Kept::Fifo: EXPECT_TRUE(fs::is_fifo(Damaged())); break;
      case Kept::Link: EXPECT_EQ(fs::read_symlink(Damaged()), "/dev/zero"); break;
      case Kept::Folder: EXPECT_TRUE(fs::is_directory(Damaged() / "inside")); break;
    }
  }
  // Only what is short says so, with the lines it had.
  fs::remove_all(dir_ / "dat");
  fs::create_directories(dir_ / "dat");
  WriteFile(MyDat(), first(1300));
  auto g = NewGame();
  Load(*g);
  ASSERT_EQ(Plat(*g).messages.size(), 1u);
  EXPECT_NE(Plat(*g).messages[0].find(J("2418 行のうち 1300 行")), std::string::npos);
}

TEST_F(SaveTest, DamagedCopiesNeverOverwriteEachOther) {
  const std::string copies[] = {"1\r\n2\r\n", "3\r\n", "abc\r\n"};
  for (const std::string& bytes : copies) {
    WriteFile(MyDat(), bytes);
    auto g = NewGame();
    Load(*g);
  }
  EXPECT_EQ(ReadFile(Damaged()), copies[0]);
  EXPECT_EQ(ReadFile(Damaged().string() + ".2"), copies[1]);
  EXPECT_EQ(ReadFile(Damaged().string() + ".3"), copies[2]);
  EXPECT_FALSE(fs::exists(Damaged().string() + ".4"));
}

// Whole saves in the shapes other tools and versions leave: each loads as it is.
TEST_F(SaveTest, WholeSavesLoadWhateverFollowsTheirLastLine) {
  auto a = NewGame();
  FillDistinct(*a);
  ASSERT_TRUE(Save(*a));
  const std::string whole = ReadFile(MyDat());
  std::string lf = whole;
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  const std::pair<const char*, std::string> cases[] = {
      {"lines of a later version after the last", whole + "7\r\nfrom a later version\r\n"},
      {"no line break after the last", whole.substr(0, whole.size() - 2)},
      {"LF line ends", lf},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    WriteFile(MyDat(), bytes);
    auto b = NewGame();
    Load(*b);
    EXPECT_TRUE(Plat(*b).messages.empty());
    EXPECT_EQ(b->unit[kPlayer].name, a->unit[kPlayer].name);
    EXPECT_EQ(b->my.orders[10].days, a->my.orders[10].days);
    EXPECT_FALSE(fs::exists(Damaged()));
  }
}

TEST_F(SaveTest, NumbersSkipBlankLinesAndTheRestOfTheirLine) {
  GameState s;
  EXPECT_EQ(ReadSaveData(s, "\r\n\r\n  5 trailing words\r\n-7\n+8\r\n"), SaveFault::CutShort);
  EXPECT_EQ(s.my.flag[0], 5);
  EXPECT_EQ(s.my.flag[1], -7);
  EXPECT_EQ(s.my.flag[2], 8);
  EXPECT_EQ(s.my.flag[3], 0);
}

TEST_F(SaveTest, GarbageLoadsAsZeroKeepsACopyAndTellsThePlayerOnce) {
  auto a = NewGame();
  FillDistinct(*a);
  ASSERT_TRUE(Save(*a));
  std::vector<std::string> lines = Lines(ReadFile(MyDat()));
  lines[0] = "abc";                   // flag[0]
  lines[1] = "12x";                   // flag[1]
  lines[2] = "2147483648";            // flag[2]: out of range
  lines[1200] = "\x83\x5c\xff\x00z";  // money
  lines[2341] = "1.0E+9999";          // the real
  std::string damaged;
  for (auto& l : lines) damaged += l + "\r\n";
  WriteFile(MyDat(), damaged);

  auto b = NewGame();
  Load(*b);
  EXPECT_EQ(b->my.flag[0], 0);
  EXPECT_EQ(b->my.flag[1], 0);
  EXPECT_EQ(b->my.flag[2], 0);
  EXPECT_EQ(b->my.money, 0);
  EXPECT_EQ(b->spare_time, 0);
  // Everything around the damage keeps its place.
  EXPECT_EQ(b->my.flag[3], a->my.flag[3]);
  EXPECT_EQ(b->my.fame, a->my.fame);
  EXPECT_EQ(b->unit[kPlayer].name, a->unit[kPlayer].name);
  EXPECT_EQ(b->my.orders[10].days, a->my.orders[10].days);
  EXPECT_EQ(ReadFile(Damaged()), damaged);
  ASSERT_EQ(Plat(*b).messages.size(), 1u);
  // The whole path: an installed game keeps it in the user's folder, not beside the program.
  EXPECT_NE(Plat(*b).messages[0].find(Damaged().string()), std::string::npos);
  EXPECT_EQ(Lines(ReadFile(MyDat())).size(), 2418u);  // and a clean file replaced it

  auto c = NewGame();
  Load(*c);  // now clean: no second message
  EXPECT_TRUE(Plat(*c).messages.empty());
}

TEST_F(SaveTest, BinaryJunkLoadsWithoutCrashing) {
  std::string junk;
  for (int i = 0; i < 70000; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  WriteFile(MyDat(), junk);
  auto g = NewGame();
  Load(*g);
  EXPECT_EQ(Plat(*g).messages.size(), 1u);
  EXPECT_EQ(ReadFile(Damaged()), junk);
  EXPECT_FALSE(g->item_def[1].name.empty());
}

TEST_F(SaveTest, MissingSaveStartsWithoutCharacterAndWritesAFreshFile) {
  auto g = NewGame();
  Load(*g);
  EXPECT_EQ(g->my.flag[0], 0);  // the title then runs character creation
  EXPECT_EQ(g->my.load_count, 1);
  for (const torder& o : g->my.orders) EXPECT_EQ(o.item, -1);
  EXPECT_TRUE(Plat(*g).messages.empty());
  ASSERT_TRUE(fs::exists(MyDat()));
  EXPECT_EQ(Lines(ReadFile(MyDat())).size(), 2418u);
  EXPECT_FALSE(g->monster[35].name.empty());
  EXPECT_EQ(g->item_def[878].name, J("ピンクの小麦"));
}

TEST_F(SaveTest, InterruptedSaveLeavesThePreviousFileLoadable) {
  auto a = NewGame();
  FillDistinct(*a);
  ASSERT_TRUE(Save(*a));
  const std::string before = ReadFile(MyDat());
  a->my.money = 5;
  SaveOptions crash;
  crash.stop_before_rename = true;
  EXPECT_FALSE(Save(*a, crash));
  EXPECT_EQ(ReadFile(MyDat()), before);
  EXPECT_TRUE(fs::exists(dir_ / "dat" / "my.dat.tmp"));

  auto b = NewGame();
  Load(*b);
  EXPECT_EQ(b->my.money, INT_MAX);
  EXPECT_TRUE(Plat(*b).messages.empty());
  EXPECT_FALSE(fs::exists(dir_ / "dat" / "my.dat.tmp"));  // the next save used and renamed it
}

TEST_F(SaveTest, FailedSaveReportsTheSystemErrorAndKeepsTheOldFile) {
  auto g = NewGame();
  FillDistinct(*g);
  ASSERT_TRUE(Save(*g));
  const std::string before = ReadFile(MyDat());
  fs::create_directory(dir_ / "dat" / "my.dat.tmp");  // the new file cannot be created
  g->my.money = 1;
  EXPECT_FALSE(Save(*g));
  EXPECT_EQ(ReadFile(MyDat()), before);
  ASSERT_EQ(Plat(*g).messages.size(), 1u);
  EXPECT_NE(Plat(*g).messages[0].find(std::strerror(EISDIR)), std::string::npos);
  EXPECT_NE(Plat(*g).messages[0].find(J("セーブできませんでした")), std::string::npos);
}

// The save writes its own files and nothing a planted name points at; a save
// kept elsewhere through a link stays there.
TEST_F(SaveTest, SaveWritesThroughItsLinkButNeverThroughAPlantedOne) {
  const fs::path elsewhere = dir_ / "synced";
  fs::create_directories(elsewhere);
  const fs::path outside = dir_ / "outside.txt";
  struct Case {
    const char* what;
    std::function<void()> plant;
    fs::path written;  // where the whole save must end up
    bool my_dat_is_link;
  } cases[] = {
      {"a temporary file linked outside", [&] { fs::create_symlink(outside, dir_ / "dat" / "my.dat.tmp"); }, MyDat(),
       false},
      {"my.dat linked to a synced file",
       [&] {
         WriteFile(elsewhere / "my.dat", "old\r\n");
         fs::create_symlink(elsewhere / "my.dat", MyDat());
       },
       elsewhere / "my.dat", true},
      {"my.dat linked to nothing", [&] { fs::create_symlink(dir_ / "gone.dat", MyDat()); }, MyDat(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_ / "dat");
    fs::create_directories(dir_ / "dat");
    WriteFile(outside, "keep me");
    c.plant();
    auto g = NewGame();
    FillDistinct(*g);
    ASSERT_TRUE(Save(*g));
    EXPECT_EQ(ReadFile(c.written), FormatSaveData(*g));
    EXPECT_EQ(fs::is_symlink(MyDat()), c.my_dat_is_link);
    EXPECT_EQ(ReadFile(outside), "keep me");
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "dat" / "my.dat.tmp")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(elsewhere / "my.dat.tmp")));
  }
}

TEST_F(SaveTest, OnlyThePlayRecordFailingIsToldAsThat) {
  fs::create_directories(dir_ / "きろく.txt" / "inside");
  auto g = NewGame();
  FillDistinct(*g);
  EXPECT_TRUE(Save(*g));
  EXPECT_EQ(ReadFile(MyDat()), FormatSaveData(*g));
  ASSERT_EQ(Plat(*g).messages.size(), 1u);
  EXPECT_EQ(Plat(*g).messages[0].find(J("セーブできませんでした")), std::string::npos);
  EXPECT_NE(Plat(*g).messages[0].find(J("プレー記録")), std::string::npos);
}

// A save beside a program the player may not write to is loaded, its new home
// told once, and saved there; the old file is left as it was.
TEST_F(SaveTest, ReadOnlySaveMovesToTheUsersFolderOnce) {
  const fs::path old_dir = dir_ / "medium";
  fs::create_directories(old_dir / "dat");
  auto a = NewGame();
  FillDistinct(*a);
  WriteFile(old_dir / "dat" / "my.dat", FormatSaveData(*a));
  const std::string old_bytes = ReadFile(old_dir / "dat" / "my.dat");
  for (int start = 0; start < 2; ++start) {
    auto b = NewGame();
    Plat(*b).read_only_save_dir = old_dir.string() + "/";
    Load(*b);
    EXPECT_EQ(b->my.money, INT_MAX);
    EXPECT_EQ(b->my.load_count, a->my.load_count + 1 + start);
    if (start == 0) {
      ASSERT_EQ(Plat(*b).messages.size(), 1u);
      EXPECT_NE(Plat(*b).messages[0].find(MyDat().string()), std::string::npos);
    } else {
      EXPECT_TRUE(Plat(*b).messages.empty());
    }
  }
  EXPECT_EQ(ReadFile(old_dir / "dat" / "my.dat"), old_bytes);
}

TEST_F(SaveTest, SaveCreatesAMissingDatFolder) {
  fs::remove_all(dir_ / "dat");
  auto g = NewGame();
  EXPECT_TRUE(Save(*g));
  EXPECT_TRUE(fs::exists(MyDat()));
}

TEST_F(SaveTest, PlayRecordHasNineLinesRewrittenEachSave) {
  auto g = NewGame();
  g->my.play_count = 3;
  g->my.day_count = 12;
  g->my.money = -40;
  g->unit[kPlayer].level = 7;
  g->my.fame = 55;
  g->my.shop_rank = 2;
  g->my.total_visitors = 9;
  g->my.total_sales = 1234;
  ASSERT_TRUE(Save(*g));
  ASSERT_TRUE(Save(*g));
  const std::string want =
      J("★ポムリエ ver2.0\r\nプレー回数: 3回\r\n日数: 12\r\n所持金: -40円\r\nLV: 7\r\n"
        "お店の名声: 55\r\nお店のRANK: 2 最近ちょっとだけ商品のあるお菓子屋さん\r\n"
        "これまでの総来客数: 9人\r\nこれまでの総売り上げ: 1234円\r\n");
  EXPECT_EQ(ReadFile(dir_ / "きろく.txt"), want);
}

TEST_F(SaveTest, ShopTitlesByRank) {
  EXPECT_EQ(ShopTitleForRank(0), J("いつも商品の無いお菓子屋さん"));
  EXPECT_EQ(ShopTitleForRank(27), J("神そのものなお菓子屋さん"));
  EXPECT_EQ(ShopTitleForRank(28), J("ポムリエ"));
  EXPECT_EQ(ShopTitleForRank(99999), J("ポムリエ"));
  EXPECT_EQ(ShopTitleForRank(100000), "");
  EXPECT_EQ(ShopTitleForRank(-1), "");
}

TEST_F(SaveTest, GuestNamesAndTheirStandIn) {
  auto g = NewGame();
  LoadGuestNames(*g);  // no file: not fatal
  EXPECT_FALSE(GuestName(*g, 0).empty());
  EXPECT_FALSE(GuestName(*g, 225).empty());

  std::string file;
  for (int i = 0; i < 230; ++i) file += J("なまえ") + Num(i) + (i % 2 ? "\r\n" : "\n");
  WriteFile(dir_ / "dat" / "name.dat", file);
  ASSERT_TRUE(LoadGuestNames(*g));
  EXPECT_EQ(GuestName(*g, 0), J("なまえ0"));
  EXPECT_EQ(GuestName(*g, 1), J("なまえ1"));
  EXPECT_EQ(GuestName(*g, 225), J("なまえ225"));
  EXPECT_FALSE(GuestName(*g, 226).empty());
  EXPECT_FALSE(GuestName(*g, -1).empty());

  WriteFile(dir_ / "dat" / "name.dat", "A\r\n\r\nC");  // short, with an empty line
  ASSERT_TRUE(LoadGuestNames(*g));
  EXPECT_EQ(g->guest_names[0], "A");
  EXPECT_EQ(g->guest_names[1], "");
  EXPECT_EQ(g->guest_names[2], "C");
  EXPECT_EQ(g->guest_names[3], "");
  EXPECT_FALSE(GuestName(*g, 1).empty());
  EXPECT_EQ(GuestName(*g, 1), GuestName(*g, 200));
}

}  // namespace

namespace {

TEST(SaveParse, StringAtTheVeryEndWithoutLineBreak) {
  // The player's name is the last line of a file cut without its line break:
  // read whole, and the numbers after it read as 0 in a file that is short.
  std::string bytes;
  for (int i = 0; i < 2285; ++i) bytes += "1\r\n";
  bytes += "Name";
  GameState s;
  EXPECT_EQ(ReadSaveData(s, bytes), SaveFault::CutShort);
  EXPECT_EQ(s.unit[kPlayer].name, "Name");
  EXPECT_EQ(s.unit[kPlayer].bp, 0);
  EXPECT_EQ(s.my.orders[10].customer, "");
}

}  // namespace
