// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "assets.h"
#include "kit.h"

namespace assetgen {

namespace fs = std::filesystem;

const std::vector<int>& MonsterNumbers() {
  static const std::vector<int> numbers = {1,  2,  3,  4,  5,  10, 11, 12, 13, 14, 20,
                                           21, 22, 23, 24, 30, 31, 32, 33, 34, 35};
  return numbers;
}

static bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    *error = "cannot write " + path.string();
    return false;
  }
  return true;
}

// One review sheet: scenes at half size, then the sprite strips doubled on a
// checkerboard (so the transparent black shows), then the panel pictures.
static Canvas ContactSheet(const std::vector<NamedPicture>& scenes, const std::vector<NamedPicture>& sprites,
                           const std::vector<NamedPicture>& panels) {
  const int cols = 8, cell = 150, gap = 4;
  const int sceneRows = static_cast<int>((scenes.size() + cols - 1) / cols);
  const int spriteCols = 3, spriteW = 360, spriteH = 60;
  const int spriteRows = static_cast<int>((sprites.size() + spriteCols - 1) / spriteCols);
  int panelH = 0, px = gap, rowH = 0;
  const int width = cols * (cell + gap) + gap;
  for (const auto& p : panels) {
    if (px + p.pic.width() + gap > width) {
      panelH += rowH + gap;
      px = gap;
      rowH = 0;
    }
    px += p.pic.width() + gap;
    rowH = std::max(rowH, p.pic.height());
  }
  panelH += rowH + gap;
  const int height = gap + sceneRows * (cell + gap) + spriteRows * (spriteH + gap) + panelH + gap;
  Canvas sheet(width, height, Rgb(58, 54, 70));

  for (size_t i = 0; i < scenes.size(); ++i) {
    const Canvas& s = scenes[i].pic;
    int ox = gap + static_cast<int>(i % cols) * (cell + gap), oy = gap + static_cast<int>(i / cols) * (cell + gap);
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) sheet.Set(ox + x, oy + y, s.Get(x * s.width() / cell, y * s.height() / cell));
  }
  int y0 = gap + sceneRows * (cell + gap);
  for (size_t i = 0; i < sprites.size(); ++i) {
    const Canvas& s = sprites[i].pic;
    int ox = gap + static_cast<int>(i % spriteCols) * (spriteW + gap * 4);
    int oy = y0 + static_cast<int>(i / spriteCols) * (spriteH + gap);
    for (int y = 0; y < spriteH; ++y)
      for (int x = 0; x < spriteW; ++x) {
        Rgb c = s.Get(x / 2, y / 2);
        if (c == Rgb()) c = (((x / 6) + (y / 6)) & 1) ? Rgb(200, 200, 208) : Rgb(170, 170, 182);
        sheet.Set(ox + x, oy + y, c);
      }
  }
  int py = y0 + spriteRows * (spriteH + gap);
  px = gap;
  rowH = 0;
  for (const auto& p : panels) {
    if (px + p.pic.width() + gap > width) {
      py += rowH + gap;
      px = gap;
      rowH = 0;
    }
    sheet.Blit(p.pic, px, py);
    px += p.pic.width() + gap;
    rowH = std::max(rowH, p.pic.height());
  }
  return sheet;
}

// Removes pictures and sounds an older generator wrote under names no longer
// used, so the folders hold exactly what the game is given. Other files (the
// save file, the settings) are never touched.
static void RemoveStale(const fs::path& dir, const std::string& ext, const std::set<std::string>& keep) {
  std::error_code ec;
  std::vector<fs::path> stale;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.is_regular_file() && e.path().extension() == ext && !keep.count(e.path().filename().string()))
      stale.push_back(e.path());
  for (const auto& p : stale) fs::remove(p, ec);
}

bool GenerateAssets(const std::string& dir, GenerateReport* report, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  const fs::path root(dir), cg = root / "cg", dat = root / "dat";
  std::error_code ec;
  fs::create_directories(cg, ec);
  fs::create_directories(dat, ec);
  if (!fs::is_directory(cg) || !fs::is_directory(dat)) {
    *error = "cannot create " + cg.string() + " or " + dat.string();
    return false;
  }

  std::vector<NamedPicture> scenes = DrawTownScenes();
  for (auto& group : {DrawFieldScenes(), DrawEventScenes()})
    for (auto& p : group) scenes.push_back(p);
  std::vector<NamedPicture> sprites = DrawMonsterStrips();
  std::vector<NamedPicture> panels = DrawPanels();

  int pictures = 0;
  std::set<std::string> written;
  for (const auto* group : {&scenes, &sprites, &panels})
    for (const auto& p : *group) {
      if (!WriteFile(cg / p.name, EncodeBmp(p.pic), error)) return false;
      written.insert(p.name);
      ++pictures;
    }
  RemoveStale(cg, ".bmp", written);

  std::vector<NamedFile> sounds = MakeSounds();
  const size_t effects = sounds.size();
  for (NamedFile& tune : MakeTunes()) sounds.push_back(std::move(tune));
  written.clear();
  for (const auto& s : sounds) {
    if (!WriteFile(dat / s.name, s.bytes, error)) return false;
    written.insert(s.name);
  }
  RemoveStale(dat, ".wav", written);

  std::vector<uint8_t> names;
  if (!MakeNameFile(&names, error)) return false;
  if (!WriteFile(dat / "name.dat", names, error)) return false;

  if (!WriteFile(root / "contact_sheet.png", EncodePng(ContactSheet(scenes, sprites, panels)), error)) return false;

  const std::vector<SizedIcon> icons = DrawAppIcons();
  for (const SizedIcon& icon : icons) {
    const std::string size = std::to_string(icon.size);
    const fs::path apps = root / "icons" / "hicolor" / (size + "x" + size) / "apps";
    fs::create_directories(apps, ec);
    if (!WriteFile(apps / "pomurie.png", EncodePng(icon.pic, &kIconTransparent), error)) return false;
  }

  if (report) {
    report->pictures = pictures;
    report->sounds = static_cast<int>(effects);
    report->tunes = static_cast<int>(sounds.size() - effects);
    report->icons = static_cast<int>(icons.size());
  }
  return true;
}

}  // namespace assetgen
