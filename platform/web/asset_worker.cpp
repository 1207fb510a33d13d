// SPDX-License-Identifier: GPL-3.0-or-later
// The page's asset maker: the game's own generator (tools/assetgen), compiled to
// WebAssembly and run in a worker, makes every picture, sound and name file in the
// browser instead of the page downloading them (about 20 MB, against this
// program's few hundred KB). Each file is posted to the page as soon as it is made,
// the opening's first, then a message with no name says all are done.
#include <emscripten.h>

#include <string>
#include <vector>

#include "assets.h"

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

}  // namespace

int main() {
  // What the opening, the character panel and the title show comes first.
  PostPictures(assetgen::DrawTownScenes());
  PostPictures(assetgen::DrawPanels());
  for (const auto& s : assetgen::MakeSounds()) Post("dat/" + s.name, s.bytes);
  std::vector<uint8_t> names;
  std::string error;
  if (!assetgen::MakeNameFile(&names, &error)) {
    post_done(g_files, error.c_str());
    return 1;
  }
  Post("dat/name.dat", names);
  for (const auto& t : assetgen::MakeTunes()) Post("dat/" + t.name, t.bytes);
  PostPictures(assetgen::DrawEventScenes());
  PostPictures(assetgen::DrawFieldScenes());
  PostPictures(assetgen::DrawMonsterStrips());
  post_done(g_files, "");
  return 0;
}
