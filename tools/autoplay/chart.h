// SPDX-License-Identifier: GPL-3.0-or-later
// The balance chart: money, fame and level over the days, one band each with
// its own scale, drawn into a palette picture for the PNG writer.
#pragma once

#include <string>
#include <vector>

#include "tools/autoplay/autoplay.h"
#include "tools/autoplay/png.h"

IndexedImage DrawChart(const std::vector<DayRow>& rows);
bool WriteChart(const std::string& path, const std::vector<DayRow>& rows);
