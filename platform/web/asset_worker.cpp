// SPDX-License-Identifier: GPL-3.0-or-later
// The page's asset maker: the game's own generator (tools/assetgen), compiled to
// WebAssembly and run in workers, makes every picture, sound and name file in the
// browser instead of the page downloading them (about 20 MB, against this
// program's few hundred KB). The page hands each worker one job at a time, in the
// order the game first reads the files (the game starts once the first are in, and
// waits for any other it reaches early); each file is posted as soon as it is made.
#include <emscripten.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "assets.h"
#include "music.h"

EM_JS(void, post_file, (const char* name, const uint8_t* bytes, int size), {
  const copy = HEAPU8.slice(bytes, bytes + size);
  postMessage({name : UTF8ToString(name), bytes : copy}, [copy.buffer]);
});
EM_JS(void, post_error, (const char* error), { postMessage({error : UTF8ToString(error)}); });

namespace {

void Post(const std::string& name, const std::vector<uint8_t>& bytes) {
  post_file(name.c_str(), bytes.data(), static_cast<int>(bytes.size()));
}

void PostPictures(const std::vector<assetgen::NamedPicture>& group) {
  for (const auto& p : group) Post("cg/" + p.name, assetgen::EncodeBmp(p.pic));
}

void PostTune(size_t k) {
  const assetgen::TuneSpec& spec = assetgen::TuneSpecs()[k];
  Post("dat/" + spec.file, assetgen::ComposeTune(spec));
}

// The start-up reads the splash, the panels' pictures, every monster's strip (cut
// into frames at once), a click's sound, the save's sound and the names, and the
// splash's first tick the title's tune; the town's other scenes come with the
// splash. Then the home's and the shop's tunes, the places out of town, the rest.
// Each job is false when it could not be done.
const std::vector<std::function<bool()>>& Jobs() {
  static const std::vector<std::function<bool()>> jobs = [] {
    std::vector<std::function<bool()>> v = {
        [] {
          PostPictures(assetgen::DrawTownScenes());
          return true;
        },
        [] {
          for (const auto& s : assetgen::MakeSounds()) Post("dat/" + s.name, s.bytes);
          return true;
        },
        [] {
          PostPictures(assetgen::DrawPanels());
          return true;
        },
        [] {
          PostPictures(assetgen::DrawMonsterStrips());
          return true;
        },
        [] {
          std::vector<uint8_t> names;
          std::string error;
          if (!assetgen::MakeNameFile(&names, &error)) {
            post_error(error.c_str());
            return false;
          }
          Post("dat/name.dat", names);
          return true;
        },
    };
    const size_t tunes = assetgen::TuneSpecs().size(), first_tunes = std::min<size_t>(3, tunes);
    auto tune = [](size_t k) {
      return [k] {
        PostTune(k);
        return true;
      };
    };
    for (size_t k = 0; k < first_tunes; ++k) v.push_back(tune(k));
    v.push_back([] {
      PostPictures(assetgen::DrawFieldScenes());
      return true;
    });
    v.push_back([] {
      PostPictures(assetgen::DrawEventScenes());
      return true;
    });
    for (size_t k = first_tunes; k < tunes; ++k) v.push_back(tune(k));
    return v;
  }();
  return jobs;
}

}  // namespace

extern "C" {

// How many jobs the page may hand out, numbered from 0.
EMSCRIPTEN_KEEPALIVE int pomurie_jobs() { return static_cast<int>(Jobs().size()); }

// Makes job k's files, posting each; 1 when done, 0 when it failed (with a message posted).
EMSCRIPTEN_KEEPALIVE int pomurie_make(int k) {
  if (k < 0 || k >= pomurie_jobs()) return 0;
  return Jobs()[static_cast<size_t>(k)]() ? 1 : 0;
}

}  // extern "C"

// The jobs come from the page (assets-pre.js).
int main() { return 0; }
