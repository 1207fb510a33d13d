// SPDX-License-Identifier: GPL-3.0-or-later
// The page's asset maker: the game's own generator (tools/assetgen), compiled to
// WebAssembly and run in a worker, makes every picture, sound and name file in the
// browser instead of the page downloading them (about 20 MB, against this
// program's few hundred KB). Each file is posted to the page as soon as it is made,
// in the order the game first reads them (the game starts once the first are in and
// waits for any other it reaches early), then a message with no name says all are done.
#include <emscripten.h>

#include <string>
#include <vector>

#include "assets.h"
#include "music.h"

EM_JS(void, post_file, (const char* name, const uint8_t* bytes, int size), {
  const copy = HEAPU8.slice(bytes, bytes + size);
  postMessage({ name: UTF8ToString(name), bytes: copy }, [copy.buffer]);
});
EM_JS(void, post_done, (int files, const char* error), {
  postMessage({ done: files, error: UTF8ToString(error) });
});

namespace {

int g_files = 0;

void Post(const std::string& name, const std::vector<uint8_t>& bytes) {
  post_file(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
  ++g_files;
}

void PostPictures(const std::vector<assetgen::NamedPicture>& group) {
  for (const auto& p : group) Post("cg/" + p.name, assetgen::EncodeBmp(p.pic));
}

// The tunes from `first` to before `last` in the table's order (title, home, shop, ...).
void PostTunes(size_t first, size_t last) {
  const auto& specs = assetgen::TuneSpecs();
  for (size_t k = first; k < last && k < specs.size(); ++k) Post("dat/" + specs[k].file, assetgen::ComposeTune(specs[k]));
}

}  // namespace

int main() {
  // The start-up reads the splash, the panels' pictures, every monster's strip (cut
  // into frames at once), a click's sound, the save's sound and the names; the
  // splash's first tick the title's tune. The town's other scenes come with the splash.
  PostPictures(assetgen::DrawTownScenes());
  PostPictures(assetgen::DrawPanels());
  PostPictures(assetgen::DrawMonsterStrips());
  for (const auto& s : assetgen::MakeSounds()) Post("dat/" + s.name, s.bytes);
  std::vector<uint8_t> names;
  std::string error;
  if (!assetgen::MakeNameFile(&names, &error)) {
    post_done(g_files, error.c_str());
    return 1;
  }
  Post("dat/name.dat", names);
  // Then the home's and the shop's tunes, the places out of town, the other tunes.
  PostTunes(0, 3);
  PostPictures(assetgen::DrawFieldScenes());
  PostPictures(assetgen::DrawEventScenes());
  PostTunes(3, assetgen::TuneSpecs().size());
  post_done(g_files, "");
  return 0;
}
