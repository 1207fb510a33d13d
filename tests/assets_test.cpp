// SPDX-License-Identifier: GPL-3.0-or-later
// The generated assets: every picture and sound the game code names exists, every
// file loads through the game's own loaders, and generation is deterministic.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "assets.h"
#include "core/monsters.h"
#include "platform/bmp.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "presentation/mixer/mixer_error.h"
#include "presentation/mixer/wave_file.h"

namespace fs = std::filesystem;

namespace {

#ifdef POMURIE_SOURCE_DIR
const fs::path kSourceDir = POMURIE_SOURCE_DIR;
#else
const fs::path kSourceDir = fs::path(__FILE__).parent_path().parent_path();
#endif
#ifdef POMURIE_BUILD_DIR
const fs::path kBuildDir = POMURIE_BUILD_DIR;
#else
const fs::path kBuildDir = kSourceDir / "build";
#endif

std::vector<uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<fs::path> FilesWithExtension(const fs::path& dir, const std::string& ext) {
  std::vector<fs::path> out;
  if (!fs::is_directory(dir)) return out;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == ext) out.push_back(e.path());
  std::sort(out.begin(), out.end());
  return out;
}

// Names of pictures and sounds written as string literals in the game code, with
// any folder part dropped ("cg/00.bmp" -> "00.bmp"). A bare ".bmp" (the tail of a
// name built at run time) is not a name.
std::set<std::string> NamesInGameCode(const std::string& ext, int* filesScanned) {
  std::set<std::string> names;
  const std::regex literal("\"((?:[^\"\\\\\\n]|\\\\.)*)\"");
  for (const char* sub : {"shell", "presentation", "town", "field", "battle"}) {
    const fs::path dir = kSourceDir / sub;
    if (!fs::is_directory(dir)) continue;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
      const std::string x = e.path().extension().string();
      if (!e.is_regular_file() || (x != ".cpp" && x != ".h")) continue;
      ++*filesScanned;
      std::ifstream in(e.path());
      const std::string text((std::istreambuf_iterator<char>(in)), {});
      for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it) {
        std::string s = (*it)[1].str();
        if (s.size() <= ext.size() || s.compare(s.size() - ext.size(), ext.size(), ext) != 0) continue;
        const size_t slash = s.find_last_of("/\\");
        if (slash != std::string::npos) s = s.substr(slash + 1);
        if (s.size() > ext.size()) names.insert(s);
      }
    }
  }
  return names;
}

// Scene pictures and sounds the game's rules name; the code scan above catches
// what the code uses, this list what it must be able to use.
const char* const kScenes[] = {"00",     "title",    "haikei01", "store",   "cook",    "camp",     "night",   "asa",
                               "forest", "kusa",     "sea",      "ana",     "battle",  "battle1",  "battle2", "battle3",
                               "takara", "takara1",  "scop",     "sakana",  "sakana1", "sakana2",  "iwa",     "kuma",
                               "kuma0",  "kuma_cry", "neko",     "neko2",   "fuku",    "fuku_cry", "tree",    "tree2",
                               "gake",   "gake1",    "gake2",    "kitune",  "kitune2", "kitune3",  "sounan",  "usa0",
                               "usa",    "sinkai",   "sinkai2",  "sinkai3", "sinkai4", "otosi",    "d_mes",   "nazo"};
const char* const kSounds[] = {
    "1",      "awa",     "back",     "bom",    "bp",          "buy",     "coin",    "hakai",    "hakkutu",     "holl",
    "in",     "item",    "item_use", "key",    "key2",        "neji",    "nigeru",  "no",       "nock",        "ok",
    "scop",   "skill",   "start",    "bom3",   "bougyo",      "bress",   "damage2", "damage3",  "gun",         "hit",
    "jump",   "kaifuku", "magic",    "nageru", "pan",         "sin2",    "stone",   "taberu",   "up",          "wana",
    "ya",     "change",  "down",     "enemy",  "gameover",    "hissatu", "ken",     "kyuusyuu", "m",           "make",
    "mondou", "paper",   "slow",     "takara", "turn",        "up2",     "wa",      "broke",    "capture",     "damage",
    "dragon", "made",    "made_no",  "meisei", "meisei_down", "nani",    "open",    "quest",    "quest_start", "save",
    "start2", "time",    "c"};
const std::map<std::string, std::pair<int, int>> kPanelSizes = {
    {"panel_back.bmp", {301, 273}}, {"panel_title.bmp", {295, 28}}, {"btn_stat.bmp", {77, 29}},
    {"btn_wide.bmp", {107, 29}},    {"btn_small.bmp", {89, 29}},    {"panel_detail.bmp", {113, 237}},
    {"panel_cook.bmp", {93, 209}},  {"icon.bmp", {64, 64}}};

int Luma(Rgb c) { return (c.r * 3 + c.g * 6 + c.b) / 10; }

}  // namespace

TEST(Assets, EveryNameTheGameCodeUsesIsGenerated) {
  int scanned = 0;
  const std::set<std::string> pictures = NamesInGameCode(".bmp", &scanned);
  const std::set<std::string> sounds = NamesInGameCode(".wav", &scanned);
  ASSERT_GT(scanned, 10) << "game sources not found under " << kSourceDir;
  ASSERT_FALSE(pictures.empty());
  ASSERT_FALSE(sounds.empty());
  for (const auto& n : pictures) EXPECT_TRUE(fs::is_regular_file(kBuildDir / "cg" / n)) << "cg/" << n;
  for (const auto& n : sounds) EXPECT_TRUE(fs::is_regular_file(kBuildDir / "dat" / n)) << "dat/" << n;
}

TEST(Assets, EveryRuleNamedSceneSoundAndMonsterStripIsGenerated) {
  for (const char* n : kScenes) EXPECT_TRUE(fs::is_regular_file(kBuildDir / "cg" / (std::string(n) + ".bmp"))) << n;
  for (const char* n : kSounds) EXPECT_TRUE(fs::is_regular_file(kBuildDir / "dat" / (std::string(n) + ".wav"))) << n;

  // Start-up cuts a strip for every named monster 1..39, frames of side 2 * size.
  GameState s;
  FillMonsterCatalogue(s);
  HeadlessPlatform plat((kBuildDir / "").string());
  int strips = 0;
  for (int n = 1; n <= 39; ++n) {
    if (s.monster[n].name.empty()) continue;
    ++strips;
    auto pic = plat.LoadPicture((kBuildDir / "cg" / ("man" + std::to_string(n) + ".bmp")).string());
    ASSERT_TRUE(pic) << "man" << n;
    const int side = 2 * s.monster[n].size;
    EXPECT_EQ(pic->Width(), 6 * side) << "man" << n;
    EXPECT_EQ(pic->Height(), side) << "man" << n;
  }
  EXPECT_EQ(strips, 21);
  EXPECT_EQ(assetgen::MonsterNumbers().size(), 21u);
}

TEST(Assets, PicturesLoadWithTheirSizesAndKeepTheTextAreasCalm) {
  HeadlessPlatform plat((kBuildDir / "").string());
  const auto files = FilesWithExtension(kBuildDir / "cg", ".bmp");
  ASSERT_GT(files.size(), 70u);
  const std::set<std::string> scenes = [] {
    std::set<std::string> s;
    for (const char* n : kScenes) s.insert(std::string(n) + ".bmp");
    return s;
  }();
  for (const auto& f : files) {
    const std::string name = f.filename().string();
    auto pic = plat.LoadPicture(f.string());
    ASSERT_TRUE(pic) << name;
    if (scenes.count(name)) {
      EXPECT_EQ(pic->Width(), 300) << name;
      EXPECT_EQ(pic->Height(), 300) << name;
      if (name == "00.bmp" || name == "title.bmp") continue;
      // The button column and the log rows carry white text: keep them dark.
      long sum = 0, count = 0;
      for (int y = 200; y < 300; ++y)
        for (int x = 0; x < 300; ++x, ++count) sum += Luma(pic->Pixel(x, y));
      EXPECT_LT(sum / count, 110) << name << " is too bright under the log and the buttons";
    } else if (name.rfind("man", 0) == 0) {
      // Six frames; each shows a creature on the transparent black, and they animate.
      std::vector<std::vector<uint32_t>> frames(6);
      for (int i = 0; i < 6; ++i) {
        int opaque = 0;
        for (int y = 0; y < 30; ++y)
          for (int x = 0; x < 30; ++x) {
            const Rgb c = pic->Pixel(30 * i + x, y);
            frames[i].push_back(static_cast<uint32_t>(c.r << 16 | c.g << 8 | c.b));
            opaque += !(c.r == 0 && c.g == 0 && c.b == 0);
          }
        EXPECT_GT(opaque, 80) << name << " frame " << i;
        EXPECT_LT(opaque, 30 * 30 - 60) << name << " frame " << i << " leaves no transparent edge";
      }
      EXPECT_NE(frames[0], frames[2]) << name << " does not breathe";
      EXPECT_NE(frames[0], frames[4]) << name << " does not blink";
    } else {
      auto it = kPanelSizes.find(name);
      if (it == kPanelSizes.end()) continue;  // left over from an older generator
      EXPECT_EQ(pic->Width(), it->second.first) << name;
      EXPECT_EQ(pic->Height(), it->second.second) << name;
    }
  }
  for (const auto& [name, size] : kPanelSizes) EXPECT_TRUE(fs::is_regular_file(kBuildDir / "cg" / name)) << name;
}

TEST(Assets, SoundsAreCleanRiffPcmThatTheMixerDecodes) {
  const auto files = FilesWithExtension(kBuildDir / "dat", ".wav");
  ASSERT_GE(files.size(), std::size(kSounds));
  std::set<int> bits, channels, rates;
  for (const auto& f : files) {
    const std::string name = f.filename().string();
    const std::vector<uint8_t> b = ReadAll(f);
    ASSERT_GE(b.size(), 44u) << name;
    auto u32 = [&b](size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24; };
    auto u16 = [&b](size_t at) { return b[at] | b[at + 1] << 8; };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << name;
    EXPECT_EQ(u32(4), b.size() - 8) << name;
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ") << name;
    EXPECT_EQ(u16(20), 1u) << name << " is not PCM";
    const int ch = u16(22), rate = static_cast<int>(u32(24)), align = u16(32), bps = u16(34);
    EXPECT_EQ(align, ch * bps / 8) << name;
    EXPECT_EQ(u32(28), static_cast<uint32_t>(rate * align)) << name;
    EXPECT_EQ(u32(40), b.size() - 44) << name;
    EXPECT_EQ((b.size() - 44) % align, 0u) << name;
    // Short, and silent at both ends so the sound neither starts nor stops with a click
    // (the looping tunes are long and play on through their seam, which has a test of
    // its own; the music channel fades them in and out).
    const double seconds = double(b.size() - 44) / (rate * align);
    auto sample = [&](size_t frame) {
      return bps == 8 ? (b[44 + frame * align] - 128) * 256 : int16_t(u16(44 + frame * align));
    };
    const size_t frames = (b.size() - 44) / align;
    if (name.rfind("bgm_", 0) != 0) {
      EXPECT_LT(seconds, 1.6) << name;
      EXPECT_LT(std::abs(sample(0)), 600) << name;
      EXPECT_LT(std::abs(sample(frames - 1)), 600) << name;
    }
    bits.insert(bps);
    channels.insert(ch);
    rates.insert(rate);

    WaveFormat in;
    std::vector<uint8_t> out;
    ASSERT_NO_THROW(out = DecodeWave(b, WaveFormat{}, &in)) << name;
    EXPECT_EQ(in.bits_per_sample, bps) << name;
    EXPECT_EQ(in.channels, ch) << name;
    EXPECT_EQ(static_cast<int>(in.samples_per_sec), rate) << name;
    // Converted to the device's 8-bit mono 11025 Hz the length follows the rate.
    EXPECT_NEAR(double(out.size()), seconds * 11025, 2.0) << name;
  }
  EXPECT_EQ(bits, (std::set<int>{8, 16}));
  EXPECT_EQ(channels, (std::set<int>{1, 2}));
  EXPECT_EQ(rates, (std::set<int>{11025, 22050, 44100}));
}

TEST(Assets, NameConverterAgreesWithTheGameOnAllKana) {
  // Every hiragana and katakana, plus the long vowel mark, through both converters.
  auto utf8 = [](uint32_t cp) {
    std::string s;
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
    return s;
  };
  std::string got;
  for (uint32_t cp = 0x3041; cp <= 0x30F6; ++cp) {
    if (cp > 0x3093 && cp < 0x30A1) continue;  // marks that no name uses
    ASSERT_TRUE(assetgen::Utf8ToCp932(utf8(cp), &got)) << std::hex << cp;
    EXPECT_EQ(got, J(utf8(cp))) << std::hex << cp;
  }
  ASSERT_TRUE(assetgen::Utf8ToCp932("ルーシー", &got));
  EXPECT_EQ(got, J("ルーシー"));
  // Characters outside the table, and broken UTF-8, are refused rather than garbled.
  EXPECT_FALSE(assetgen::Utf8ToCp932("龍", &got));
  EXPECT_FALSE(assetgen::Utf8ToCp932("\xE3\x81", &got));
}

TEST(Assets, BmpWriterRoundTripsThroughTheGameDecoder) {
  // Odd widths need row padding; rows are stored bottom-up and as BGR.
  for (int w : {1, 2, 3, 5, 8}) {
    assetgen::Canvas c(w, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) c.Set(x, y, assetgen::Rgb(x * 40 + 1, y * 70 + 2, 200 - x - y));
    const std::vector<uint8_t> bytes = assetgen::EncodeBmp(c);
    auto img = DecodeBmp(bytes.data(), bytes.size());
    ASSERT_TRUE(img) << w;
    ASSERT_EQ(img->width, w);
    ASSERT_EQ(img->height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < w; ++x) {
        const assetgen::Rgb p = c.Get(x, y);
        EXPECT_EQ(img->pixels[y * w + x], uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b) << w << ":" << x << "," << y;
      }
  }
}

TEST(Assets, CustomerNamesAre226Cp932Lines) {
  const std::vector<uint8_t> b = ReadAll(kBuildDir / "dat" / "name.dat");
  ASSERT_FALSE(b.empty());
  std::vector<std::string> lines;
  std::string cur;
  for (size_t i = 0; i < b.size(); ++i) {
    if (b[i] == '\r') {
      ASSERT_TRUE(i + 1 < b.size() && b[i + 1] == '\n') << "bare CR at byte " << i;
      lines.push_back(cur);
      cur.clear();
      ++i;
      continue;
    }
    ASSERT_NE(b[i], '\n') << "bare LF at byte " << i;
    cur.push_back(static_cast<char>(b[i]));
    // a lead byte is always followed by its trail byte on the same line
    if (IsCp932Lead(b[i])) {
      ASSERT_TRUE(i + 1 < b.size() && b[i + 1] >= 0x40 && b[i + 1] != 0x7F) << "broken character at " << i;
      cur.push_back(static_cast<char>(b[++i]));
    }
  }
  EXPECT_TRUE(cur.empty()) << "last line lacks CR LF";
  ASSERT_EQ(lines.size(), 226u);
  EXPECT_EQ(lines.front(), J("はなこ"));
  EXPECT_EQ(lines[40], J("ケンタ"));
  EXPECT_EQ(lines[78], J("山田花子"));
  std::set<std::string> distinct(lines.begin(), lines.end());
  EXPECT_EQ(distinct.size(), lines.size());
  for (const auto& l : lines) {
    EXPECT_FALSE(l.empty());
    EXPECT_LE(l.size(), 16u);
    EXPECT_EQ(J(Cp932ToUtf8(l)), l) << "does not round-trip: " << Cp932ToUtf8(l);
  }
}

TEST(Assets, GenerationIsByteIdenticalAndMatchesTheBuild) {
  // per process, so a sanitizer build's tests may run at the same time
  const fs::path base = fs::temp_directory_path() / ("pomurie_assets_" + std::to_string(::getpid()));
  const fs::path a = base / "a", b = base / "b";
  fs::remove_all(base);
  // A picture and a sound an older generator left behind go; the save file stays.
  fs::create_directories(a / "cg");
  fs::create_directories(a / "dat");
  for (const char* f : {"cg/old.bmp", "dat/old.wav", "dat/my.dat"}) std::ofstream(a / f) << "x";
  std::string error;
  assetgen::GenerateReport ra, rb;
  ASSERT_TRUE(assetgen::GenerateAssets(a.string(), &ra, &error)) << error;
  EXPECT_FALSE(fs::exists(a / "cg/old.bmp"));
  EXPECT_FALSE(fs::exists(a / "dat/old.wav"));
  EXPECT_TRUE(fs::exists(a / "dat/my.dat"));
  fs::remove(a / "dat/my.dat");
  ASSERT_TRUE(assetgen::GenerateAssets(b.string(), &rb, &error)) << error;
  EXPECT_EQ(ra.pictures, rb.pictures);
  EXPECT_EQ(ra.sounds, static_cast<int>(std::size(kSounds)));

  int compared = 0;
  for (const auto& e : fs::recursive_directory_iterator(a)) {
    if (!e.is_regular_file()) continue;
    const fs::path rel = fs::relative(e.path(), a);
    const auto bytes = ReadAll(e.path());
    EXPECT_EQ(bytes, ReadAll(b / rel)) << rel << " differs between two runs";
    // The build's copy was written by the same generator: a stale file means the
    // assets target did not re-run.
    EXPECT_EQ(bytes, ReadAll(kBuildDir / rel)) << rel << " in the build is stale";
    ++compared;
  }
  EXPECT_EQ(ra.tunes, 10);
  EXPECT_EQ(compared, ra.pictures + ra.sounds + ra.tunes + 2 + ra.icons);  // + name.dat + contact sheet + icons
  const auto png = ReadAll(a / "contact_sheet.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");
  fs::remove_all(base);
}
