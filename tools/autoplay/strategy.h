// SPDX-License-Identifier: GPL-3.0-or-later
// Players for the autoplay: each picks one of the inputs the screen offers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "tools/autoplay/screen_reader.h"

struct Game;

class Strategy {
 public:
  virtual ~Strategy() = default;
  // One of screen.offers (the screen offers at least one).
  virtual Input Choose(Game& g, const Screen& screen) = 0;
  // Every new line of the message log, oldest first (CP932).
  virtual void Observe(Game& /*g*/, const std::string& /*line*/) {}
  // The name typed at the name entry.
  virtual std::string Name() { return "autoplay"; }
};

// "random": uniform among the offered inputs. "sensible": searches, cooks the
// recipes it has seen, sells, advertises, rests before the night, spends its
// bonus points. Null for an unknown name. The strategy draws from its own
// generator, never from the game's.
std::unique_ptr<Strategy> MakeStrategy(std::string_view name, uint32_t seed);
