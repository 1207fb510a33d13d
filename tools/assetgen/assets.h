// SPDX-License-Identifier: GPL-3.0-or-later
// The asset generator's entry points: each group of assets is produced by
// its own module and written out by GenerateAssets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace assetgen {

struct NamedPicture {
  std::string name;  // file name inside cg/, with ".bmp"
  Canvas pic;
};

struct NamedFile {
  std::string name;  // file name inside dat/
  std::vector<uint8_t> bytes;
};

std::vector<NamedPicture> DrawTownScenes();     // scenes_town.cpp
std::vector<NamedPicture> DrawFieldScenes();    // scenes_field.cpp
std::vector<NamedPicture> DrawEventScenes();    // scenes_events.cpp
std::vector<NamedPicture> DrawMonsterStrips();  // sprites.cpp
std::vector<NamedPicture> DrawPanels();         // panels.cpp

// The application icon for the desktop's hicolor theme, one picture per size;
// pixels of kIconTransparent are see-through in the PNG files.
struct SizedIcon {
  int size;
  Canvas pic;
};
inline constexpr Rgb kIconTransparent{255, 0, 255};
std::vector<SizedIcon> DrawAppIcons();  // panels.cpp
std::vector<NamedFile> MakeSounds();    // sounds.cpp
std::vector<NamedFile> MakeTunes();     // tunes.cpp: the looping music of each place
// name.dat in CP932 with CR LF; false with a message when a name holds a
// character the converter does not know.
bool MakeNameFile(std::vector<uint8_t>* out, std::string* error);  // names.cpp
// The converter behind it: false when `utf8` holds a character it has no code for.
bool Utf8ToCp932(const std::string& utf8, std::string* cp932);

// Monster numbers that have a name in the catalogue, and so a sprite strip.
const std::vector<int>& MonsterNumbers();

struct GenerateReport {
  int pictures = 0;
  int sounds = 0;
  int tunes = 0;
  int icons = 0;
};

// Writes cg/*.bmp, dat/*.wav, dat/name.dat, contact_sheet.png and
// icons/hicolor/<n>x<n>/apps/pomurie.png under dir.
bool GenerateAssets(const std::string& dir, GenerateReport* report, std::string* error);

}  // namespace assetgen
