// SPDX-License-Identifier: GPL-3.0-or-later
// web-icons <folder>: the page's icons for its manifest, drawn by the game's own
// generator: 192 and 512 px as the desktop's icon is, and a maskable 512 px one
// whose art keeps inside the circle a launcher may cut it to.
#include <cstdio>
#include <fstream>
#include <string>

#include "assets.h"

namespace {

constexpr assetgen::Rgb kBackground{58, 54, 70};  // the page's theme colour, #3a3646

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const std::vector<assetgen::SizedIcon> icons = assetgen::DrawAppIcons();
  const assetgen::Canvas& art = icons.back().pic;  // the largest
  bool ok = Write(dir + "icon-192.png", assetgen::EncodePng(art.Resized(192, 192), &assetgen::kIconTransparent)) &&
            Write(dir + "icon-512.png", assetgen::EncodePng(art.Resized(512, 512), &assetgen::kIconTransparent));
  // The safe zone of a maskable icon is the middle circle of 80% of its side: the
  // art's square, 352 px, stands inside it on the theme colour.
  assetgen::Canvas mask(512, 512, kBackground);
  mask.Blit(art.Resized(352, 352), 80, 80, true, assetgen::kIconTransparent);
  ok = ok && Write(dir + "icon-maskable-512.png", assetgen::EncodePng(mask));
  if (!ok) std::fprintf(stderr, "web-icons: cannot write into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
