// Module state of the fields, kept in Game beside the shared records.
#pragma once

#include <cstdint>

struct FieldState {};
