// Module state of the battle, kept in Game beside the shared records.
#pragma once

#include <cstdint>

struct BattleState {};
