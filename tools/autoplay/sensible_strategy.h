// SPDX-License-Identifier: GPL-3.0-or-later
// The sensible player: what a careful player does with the menus of the day.
#pragma once

#include <cstdint>
#include <memory>

class Strategy;

std::unique_ptr<Strategy> MakeSensibleStrategy(uint32_t seed);
