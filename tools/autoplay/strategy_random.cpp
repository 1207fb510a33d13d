// SPDX-License-Identifier: GPL-3.0-or-later
#include <random>

#include "platform/text.h"
#include "tools/autoplay/sensible_strategy.h"
#include "tools/autoplay/strategy.h"

namespace {

class RandomStrategy : public Strategy {
 public:
  explicit RandomStrategy(uint32_t seed) : rnd_(seed) {}
  Input Choose(Game&, const Screen& screen) override {
    return screen.offers[std::uniform_int_distribution<size_t>(0, screen.offers.size() - 1)(rnd_)];
  }
  // Empty, Japanese, ASCII with a space, and the longest a field may reasonably hold.
  std::string Name() override {
    static const std::string kNames[] = {"", J("ぽむりえ"), "Mr Cake", J("ああああああああああああああああ")};
    return kNames[rnd_() % 4];
  }

 private:
  std::mt19937 rnd_;
};

}  // namespace

std::unique_ptr<Strategy> MakeStrategy(std::string_view name, uint32_t seed) {
  if (name == "random") return std::make_unique<RandomStrategy>(seed);
  if (name == "sensible") return MakeSensibleStrategy(seed);
  return nullptr;
}
