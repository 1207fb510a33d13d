// SPDX-License-Identifier: GPL-3.0-or-later
// A bare game with its two drawing surfaces, for the panel and effect tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/game.h"
#include "platform/headless/headless_platform.h"
#include "platform/text.h"
#include "presentation/screen.h"

struct FxGame {
  FxGame() : g(plat) {
    cg_pic = plat.CreatePicture(300, 300);
    bak_pic = plat.CreatePicture(300, 300);
    g.screen.cg = cg_pic.get();
    g.screen.bak = bak_pic.get();
    g.rng.Seed(1234);
  }
  SoftPicture& cg() { return static_cast<SoftPicture&>(*cg_pic); }
  SoftPicture& bak() { return static_cast<SoftPicture&>(*bak_pic); }
  std::vector<TextRecord>& texts() { return bak().soft_canvas().texts; }

  // Black surfaces and an empty text record, as DrawFrame leaves them before the layers.
  void Clear() {
    for (SoftPicture* p : {&cg(), &bak()}) std::fill(p->pixels().begin(), p->pixels().end(), 0u);
    bak().soft_canvas().ClearRecord();
    cg().soft_canvas().ClearRecord();
  }
  // The recorded text that starts with the given CP932 prefix, or nullptr.
  const TextRecord* Find(const std::string& prefix) {
    for (const TextRecord& t : texts()) {
      if (t.text.rfind(prefix, 0) == 0) return &t;
    }
    return nullptr;
  }
  const TextRecord* AtY(int y) {
    for (const TextRecord& t : texts()) {
      if (t.y == y) return &t;
    }
    return nullptr;
  }
  bool AnyLit(SoftPicture& p) {
    for (uint32_t v : p.pixels()) {
      if (v != 0) return true;
    }
    return false;
  }

  HeadlessPlatform plat;
  Game g;
  std::unique_ptr<Picture> cg_pic, bak_pic;
};
