// Module state of the day, the shop and the night, kept in Game beside the shared records.
#pragma once

#include <cstdint>

struct DayState {};
