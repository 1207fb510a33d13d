// Module state of the item box and cooking, kept in Game beside the shared records.
#pragma once

#include <cstdint>

struct ItemBoxState {};
